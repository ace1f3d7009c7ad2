// The program as a user runs it hardest: the main window with every periodic window open
// (Limits/Interrupts, Graphs, Register Map reading continuously, Heaters, Manual,
// Automatic, Dynamic Tmin, GPIO) and logging every 100 ms to a file, on the simulated
// board, with the program's own clock. Each iteration waits for the next 50 ms master
// tick, runs it, then handles the events it left (the charts' repaints, the status bar).
//
// Counters: tick_cpu_us and allocs_per_tick, the master tick alone; events_cpu_us and
// allocs_per_events, the event handling after it; the benchmark's CPU time is both.
//
// The simulated board's readings move (noise on every temperature, voltage and fan speed),
// so every refresh shows new texts. Run "steady" holds every register the board's model
// drives at the value it has when the windows are open: the same program, on a chip whose
// readings do not change, where a tick must allocate nothing.

#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <chrono>
#include <cstdint>
#include <thread>

#include "app/QtSeams.h"
#include "app/frmMain.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Scheduler.h"
#include "features/board/frmHeaters.h"
#include "features/config/frmGPIO.h"
#include "features/fancontrol/frmAutoGraph.h"
#include "features/fancontrol/frmDynamicTmin.h"
#include "features/fancontrol/frmManualControl.h"
#include "monitor/frmGraph.h"
#include "monitor/frmLimits.h"
#include "regmap/RegMapStuff.h"
#include "regmap/frmRegMap.h"
#include "support/BenchSupport.h"

namespace kestrum {
namespace {

using Ticks = std::chrono::steady_clock;
constexpr auto kTickPeriod = std::chrono::milliseconds(50);

double ThreadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The program's clock in place of the benchmark's, before the main window reads it.
struct RealClockInstalled {
    QtClock clock;
    explicit RealClockInstalled(ProgramEnd& end) { InstallSeams({nullptr, nullptr, &clock, &end, nullptr}); }
};

struct AllWindowsRig : BoardRig {
    RealClockInstalled real{end};
    QTemporaryDir folder;
    frmMain main;

    AllWindowsRig() {
        InitRegisterTable();
        main.resize(1280, 1000);
        main.show();
        WindowManager& windows = main.Windows();
        windows.Open<frmLimits>();
        windows.Open<frmGraph>();
        windows.Open<frmRegMap>().chkContRead->click();
        windows.Open<frmHeaters>();
        windows.Open<frmManualControl>();
        windows.Open<frmAutoGraph>();
        windows.Open<frmDynamicTmin>();
        windows.Open<frmGPIO>();
        for (LogChannel& channel : gLogChannel) channel.Selected = channel.Available;
        gLogFileName = folder.filePath("all-windows.log").toStdString();
        AppendLogBlockHead(gLogFileName);
        StartLogging(100);
        QApplication::processEvents();
    }
    ~AllWindowsRig() {
        StopLogging();
        main.Windows().UnloadAll();
    }
};

struct TickCost {
    double tickCpu = 0.0;
    double eventsCpu = 0.0;
    int64_t tickAllocations = 0;
    int64_t eventAllocations = 0;
};

// Waits for the tick's time, runs the tick, then the events it left.
void RunTick(Ticks::time_point& due, TickCost& cost) {
    std::this_thread::sleep_until(due);
    due += kTickPeriod;
    const double start = ThreadCpuMicroseconds();
    const int64_t allocations = AllocationCount();
    RunMasterTick();
    const double ticked = ThreadCpuMicroseconds();
    const int64_t tickAllocations = AllocationCount();
    QApplication::processEvents();
    cost.tickCpu += ticked - start;
    cost.eventsCpu += ThreadCpuMicroseconds() - ticked;
    cost.tickAllocations += tickAllocations - allocations;
    cost.eventAllocations += AllocationCount() - tickAllocations;
}

// Every register the board's model drives stays at its present value.
void HoldReadings(sim::SimulatedBoard& board) {
    sim::SimulatedChip& chip = *board.AdapterChip(sim::SimulatedBoard::kDefaultChipAddress);
    for (int reg = 0; reg <= 0xFF; ++reg)
        chip.Poke(static_cast<uint8_t>(reg), chip.Peek(static_cast<uint8_t>(reg)));
}

void BM_AllWindowsTick(benchmark::State& state) {
    AllWindowsRig rig;
    const bool steady = state.range(0) != 0;
    if (steady) HoldReadings(rig.board);
    Ticks::time_point due = Ticks::now();
    TickCost warmUp;
    for (int tick = 0; tick < 60; ++tick) RunTick(due, warmUp);  // every task has run, texts sized
    TickCost cost;
    for (auto _ : state) RunTick(due, cost);
    const auto ticks = static_cast<double>(state.iterations());
    state.counters["tick_cpu_us"] = cost.tickCpu / ticks;
    state.counters["events_cpu_us"] = cost.eventsCpu / ticks;
    state.counters["allocs_per_tick"] = static_cast<double>(cost.tickAllocations) / ticks;
    state.counters["allocs_per_events"] = static_cast<double>(cost.eventAllocations) / ticks;
    state.counters["log_lines"] = gLogLineCount;
    state.SetLabel(steady ? "steady" : "moving");
}
BENCHMARK(BM_AllWindowsTick)->Arg(0)->Arg(1)->Iterations(400)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
