// The Limits/Interrupts window's half-second refresh on the simulated adapter: the
// master timer's Limits task with the window open, the readings standing still (steady
// state). Heap allocations are counted by replacing the global operator new, and the
// chip transfers of one refresh by the board's recording.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "monitor/frmLimits.h"
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"
#include "sim/SimulatedBoard.h"
#include "widgets/WindowManager.h"

namespace {
std::atomic<int64_t> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace kestrum {
namespace {

class BenchClock final : public Clock {
public:
    float now = 100.0f;
    float SecondsSinceMidnight() override { return now; }
    void Nap() override {}
    std::string DateText() override { return {}; }
    std::string TimeText() override { return {}; }
};

class AbortingEnd final : public ProgramEnd {
public:
    [[noreturn]] void Exit(int) override { std::abort(); }
};

// The program after start-up with the Limits window open; only its task runs.
struct Rig {
    sim::SimulatedBoard board;
    BenchClock clock;
    AbortingEnd end;
    QMainWindow frame;
    QMdiArea* area = new QMdiArea(&frame);  // owned by the frame
    WindowManager windows{*area};

    Rig() {
        InstallSeams({nullptr, nullptr, &clock, &end, nullptr});
        board.SetFirmwareLoaded(true);
        InstallUsbBackend(&board);
        gInterfaceType = kInterfaceUsb;
        gDeviceAddress = sim::SimulatedBoard::kDefaultChipAddress;
        ResetSchedulerState();
        InitDefaults();
        gMeasureEnabled = false;
        InitBoardIO();
        InitVoltageNames();
        ReadPinConfig();
        UpdateBoardSwitches();
        frame.setCentralWidget(area);
        windows.Open<frmLimits>();
    }
    ~Rig() {
        windows.UnloadAll();
        InstallUsbBackend(nullptr);
        InstallSeams({});
    }
    void Tick() {
        clock.now += 0.6f;
        if (clock.now >= 86400.0f) clock.now -= 86400.0f;
        RunMasterTick();
    }
};

void BM_LimitsRefresh(benchmark::State& state) {
    Rig rig;
    rig.Tick();  // the first refresh formats the captions
    rig.board.ClearRecording();
    rig.board.SetRecording(true);
    rig.Tick();
    rig.board.SetRecording(false);
    state.counters["transfers_per_refresh"] = static_cast<double>(rig.board.Transfers().size());
    const int64_t before = allocations.load();
    for (auto _ : state) rig.Tick();
    state.counters["allocs_per_iter"] =
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LimitsRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
