// The cost of the periodic work over the simulated adapter: a full cycle of the six
// measurement groups, the pin-configuration decode, and master-timer ticks. Heap
// allocations are all counted.

#include <benchmark/benchmark.h>

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
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"
#include "sim/SimulatedBoard.h"
#include "support/BenchSupport.h"

namespace kestrum {
namespace {

using Rig = BoardRig;

void BM_SixGroupCycle(benchmark::State& state) {
    Rig rig;
    const int64_t before = AllocationCount();
    for (auto _ : state) {
        for (int16_t group = 1; group <= 6; ++group) ReadMeasurementGroup(group);
        benchmark::DoNotOptimize(gLogChannel.data());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_SixGroupCycle);

void BM_ReadPinConfig(benchmark::State& state) {
    Rig rig;
    const int64_t before = AllocationCount();
    for (auto _ : state) {
        ReadPinConfig();
        benchmark::DoNotOptimize(gVoltageInUse.data());
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_ReadPinConfig);

// Every task has just run and the clock stands still: nothing is due.
void BM_TickNothingDue(benchmark::State& state) {
    Rig rig;
    gLimitsFormOpen = gGPIOFormOpen = true;
    SetTaskAction(WindowTask::Limits, [] {});
    SetTaskAction(WindowTask::Gpio, [] {});
    RunMasterTick();
    const int64_t before = AllocationCount();
    for (auto _ : state) RunMasterTick();
    ReportAllocations(state, before);
    gLimitsFormOpen = gGPIOFormOpen = false;
}
BENCHMARK(BM_TickNothingDue);

// The clock moves on 1.1 s per tick: a measurement group and the heater labels each tick.
void BM_TickWithMeasurementDue(benchmark::State& state) {
    Rig rig;
    gHeatersFormOpen = true;
    SetHeaterLabelSink([](const std::string& remote1, const std::string& remote2) {
        benchmark::DoNotOptimize(remote1.data());
        benchmark::DoNotOptimize(remote2.data());
    });
    for (int i = 0; i < 6; ++i) {  // the first run sizes the label texts
        rig.clock.now += 1.1f;
        RunMasterTick();
    }
    const int64_t before = AllocationCount();
    for (auto _ : state) {
        rig.clock.now += 1.1f;
        if (rig.clock.now >= 86400.0f) rig.clock.now -= 86400.0f;
        RunMasterTick();
    }
    ReportAllocations(state, before);
    gHeatersFormOpen = false;
}
BENCHMARK(BM_TickWithMeasurementDue);

}  // namespace
}  // namespace kestrum

BENCHMARK_MAIN();
