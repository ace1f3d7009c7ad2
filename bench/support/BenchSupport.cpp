#include "support/BenchSupport.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"
#include "platform/LinkLibraries.h"

namespace {
std::atomic<int64_t> allocations{0};
}  // namespace

// The C library's own entry points, under the names it keeps for programs that wrap them.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);

void* malloc(std::size_t size) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(block, size);
}
}

namespace kestrum {

int64_t AllocationCount() { return allocations.load(std::memory_order_relaxed); }

double ReportAllocations(benchmark::State& state, int64_t before) {
    const double perIteration =
        static_cast<double>(AllocationCount() - before) / static_cast<double>(state.iterations());
    state.counters["allocs_per_iter"] = perIteration;
    return perIteration;
}

void AbortingEnd::Exit(int) { std::abort(); }

BoardRig::BoardRig() {
    InstallSeams({nullptr, nullptr, &clock, &end, nullptr});
    board.SetFirmwareLoaded(true);
    InstallUsbBackend(&board);
    gInterfaceType = kInterfaceUsb;
    gDeviceAddress = sim::SimulatedBoard::kDefaultChipAddress;
    ResetSchedulerState();
    InitDefaults();
    InitBoardIO();
    InitVoltageNames();
    ReadPinConfig();
    UpdateBoardSwitches();
}

void BoardRig::TickAfter(double seconds) {
    clock.now += seconds;
    if (clock.now >= 86400.0) clock.now -= 86400.0;
    RunMasterTick();
}

SteadyState MeasureSteadyState(benchmark::State& state, BoardRig& rig, const std::function<void()>& run) {
    run();  // the first run sizes what it keeps
    rig.board.ClearRecording();
    rig.board.SetRecording(true);
    run();
    rig.board.SetRecording(false);
    SteadyState result;
    result.transfers = static_cast<double>(rig.board.Transfers().size());
    const int64_t before = AllocationCount();
    for (auto _ : state) run();
    result.allocations = ReportAllocations(state, before);
    state.counters["transfers_per_refresh"] = result.transfers;
    return result;
}

BoardRig::~BoardRig() {
    InstallUsbBackend(nullptr);
    InstallSeams({});
}

}  // namespace kestrum
