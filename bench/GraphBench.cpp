// The Graphs window's feed: one UpdateLiveGraphs (52 samples, 16 legend texts) with the
// charts' histories full, one chart shown. Every heap allocation is counted, the
// toolkit's strings' too.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdint>

#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "monitor/GraphSubs.h"
#include "monitor/frmGraph.h"
#include "platform/Seams.h"
#include "support/BenchSupport.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {
namespace {

// Measurements that move at every tick, as on a live board: every legend text changes.
void Measure(int tick) {
    for (int i = 0; i < 4; ++i)
        gTemperature[i] =
            static_cast<float>(std::round((30.0 + 5 * i + 4 * std::sin(tick / 30.0 + i)) * 4) / 4);
    for (int i = 0; i < 8; ++i) gFanRPM[i] = 1000 + 100 * i + tick % 97;
    for (int i = 0; i < 4; ++i) gPWMDuty[i] = static_cast<int16_t>(20 + 10 * i + tick % 13);
    for (float& volts : gVoltage) volts = static_cast<float>(1.0 + 0.01 * (tick % 50));
    gThermPercent[1] = static_cast<float>(tick % 100);
    gThermPercent[2] = static_cast<float>(tick % 7);
}

void BM_UpdateLiveGraphs(benchmark::State& state) {
    BenchClock clock;
    InstallSeams({nullptr, nullptr, &clock, nullptr, nullptr});
    InitVoltageNames();
    gVoltageInUse.fill(false);
    for (int channel : {0, 1, 2, 7, 8, 9, 13, 17, 19, 20, 21, 22}) gVoltageInUse[channel] = true;
    {
        frmGraph window;
        window.Form_Load();
        window.show();
        QApplication::processEvents();
        // Past the histories' capacity, so that every trace's ring buffer is full.
        int tick = 0;
        const int64_t start = AllocationCount();
        Measure(tick);
        UpdateLiveGraphs(window.stpGraph);  // the first: histories and legend texts take their storage
        state.counters["allocs_first_update"] = static_cast<double>(AllocationCount() - start);
        for (++tick; tick < static_cast<int>(StripChart::kSampleCapacity) + 10; ++tick) {
            clock.now = 36000.0 + tick * 0.05;
            Measure(tick);
            UpdateLiveGraphs(window.stpGraph);
        }
        const int64_t before = AllocationCount();
        for (auto _ : state) {
            ++tick;
            clock.now = 36000.0 + tick * 0.05;
            Measure(tick);
            UpdateLiveGraphs(window.stpGraph);
        }
        ReportAllocations(state, before);
    }
    InstallSeams({});
}
BENCHMARK(BM_UpdateLiveGraphs)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
