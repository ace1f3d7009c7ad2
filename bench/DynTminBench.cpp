// The Dynamic Tmin window's chart task on the simulated adapter: the master timer's
// dynamic Tmin task with the window open and the charts' histories full, readings moving
// at every tick. Counted: the chip transfers of one task run (the PWM configuration's one
// block read) and every heap allocation in steady state.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "features/fancontrol/frmDynamicTmin.h"
#include "support/BenchSupport.h"
#include "support/WindowRig.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {
namespace {

// The Dynamic Tmin window open; only its task runs.
struct Rig : WindowRig<frmDynamicTmin> {
    int tick = 0;

    // Readings that move, as on a live board: labels move and the axis follows.
    void Measure() {
        for (size_t channel = 1; channel <= 2; ++channel) {
            gTemperature[channel] =
                static_cast<float>(std::round((40.0 + 6 * std::sin(tick / 40.0)) * 4) / 4);
            gOpPoint[channel] = static_cast<int16_t>(50 + tick % 5);
            gTmin[channel] = static_cast<int16_t>(35 + tick % 3);
            gTempHighLimit[channel] = 70;
            gTempLowLimit[channel] = 20;
        }
        for (size_t pwm = 0; pwm < 4; ++pwm) gPWMDuty[pwm] = static_cast<int16_t>(20 + 10 * pwm + tick % 13);
    }
    // One master-timer tick late enough for the task to be due (the clock is single precision).
    void Tick() {
        ++tick;
        clock.now += 0.12;
        if (clock.now >= 86400.0) clock.now -= 86400.0;
        Measure();
        RunMasterTick();
    }
};

void BM_DynTminChartTask(benchmark::State& state) {
    Rig rig;
    rig.Tick();
    rig.board.ClearRecording();
    rig.board.SetRecording(true);
    rig.Tick();
    rig.board.SetRecording(false);
    state.counters["transfers_per_update"] = static_cast<double>(rig.board.Transfers().size());
    // Past the histories' capacity, so that every trace's ring buffer is full.
    while (rig.tick < static_cast<int>(StripChart::kSampleCapacity) + 10) rig.Tick();
    const int64_t before = AllocationCount();
    for (auto _ : state) rig.Tick();
    const StripChart* chart = rig.window->Strip2[0];
    state.counters["samples_held"] = static_cast<double>(chart->sampleCount(0));
    ReportAllocations(state, before);
}
BENCHMARK(BM_DynTminChartTask)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
