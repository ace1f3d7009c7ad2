// The strip chart's costs: one sample added, the Graphs window's seven charts fed for an
// hour, and one full paint. Every heap allocation is counted.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Seams.h"
#include "support/BenchSupport.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {
namespace {

struct ClockInstalled {
    BenchClock clock;
    ClockInstalled() { InstallSeams({nullptr, nullptr, &clock, nullptr, nullptr}); }
    ~ClockInstalled() { InstallSeams({}); }
};

double Value(int trace, int tick) { return 25.0 + 3.0 * trace + 2.0 * std::sin(tick / 40.0 + trace); }

// One sample into a chart whose buffers are full (steady state), hidden or shown.
void BM_AddSample(benchmark::State& state) {
    ClockInstalled installed;
    StripChart chart;
    chart.resize(1000, 500);
    if (state.range(0) != 0) chart.show();
    for (int i = 0; i < static_cast<int>(StripChart::kSampleCapacity) + 10; ++i) {
        installed.clock.now = 36000.0 + i * 0.05;
        chart.AddSample(0, Value(0, i));
    }
    // Values worked out beforehand, so that only the chart's work is timed.
    std::array<double, 128> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = Value(0, static_cast<int>(i));
    std::size_t tick = 0;
    const int64_t before = AllocationCount();
    for (auto _ : state) {
        chart.AddSample(0, values[++tick % values.size()]);
    }
    ReportAllocations(state, before);
    state.SetLabel(state.range(0) != 0 ? "visible" : "hidden");
}
BENCHMARK(BM_AddSample)->Arg(0)->Arg(1);

// The Graphs window's seven charts (4, 8, 4, 12, 8, 14 and 2 traces) fed at 20 Hz for
// an hour of clock time, one shown.
void BM_SevenChartsAnHourAt20Hz(benchmark::State& state) {
    static constexpr int kTraces[7] = {4, 8, 4, 12, 8, 14, 2};
    static constexpr int kTicks = 3600 * 20;
    std::size_t bytes = 0;
    for (auto _ : state) {
        ClockInstalled installed;
        std::vector<std::unique_ptr<StripChart>> charts;
        for (int c = 0; c < 7; ++c) {
            charts.push_back(std::make_unique<StripChart>());
            charts.back()->resize(690, 480);
        }
        charts[3]->show();
        for (int tick = 0; tick < kTicks; ++tick) {
            installed.clock.now = 36000.0 + tick * 0.05;
            for (int c = 0; c < 7; ++c)
                for (int trace = 0; trace < kTraces[c]; ++trace)
                    charts[c]->AddSample(trace, Value(trace, tick));
        }
        bytes = 0;
        for (const auto& chart : charts) bytes += chart->BytesHeld();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes_held"] = static_cast<double>(bytes);
    state.counters["samples_per_iter"] = 52.0 * kTicks;
}
BENCHMARK(BM_SevenChartsAnHourAt20Hz)->Unit(benchmark::kMillisecond)->Iterations(2);

// A full paint of a visible 1000 x 500 chart with 14 traces, a minute of 20 Hz samples
// each, into an image.
void BM_PaintFullChart(benchmark::State& state) {
    ClockInstalled installed;
    StripChart chart;
    chart.resize(1000, 500);
    chart.SetLabelCaption(0, QStringLiteral("Voltage"));
    for (int trace = 0; trace < 14; ++trace)
        chart.SetLabelCaption(trace + 1, QStringLiteral("Channel %1 = %2 V").arg(trace).arg(3.3));
    chart.SetTimeSpan(static_cast<double>(state.range(0)));
    const int ticks = static_cast<int>(state.range(0)) * 20;
    for (int tick = 0; tick < ticks; ++tick) {
        installed.clock.now = 36000.0 + tick * 0.05;
        for (int trace = 0; trace < 14; ++trace) chart.AddSample(trace, Value(trace, tick));
    }
    chart.show();
    QApplication::processEvents();
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        chart.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["samples_shown"] = 14.0 * ticks;
}
BENCHMARK(BM_PaintFullChart)->Arg(60)->Arg(600)->Unit(benchmark::kMicrosecond);

// One frame of a visible chart fed at 20 Hz, as the frame clock runs it: a sample for
// each of 14 traces, the repaint it asks for, and the paint into the window's buffer.
void BM_FedChartFrame(benchmark::State& state) {
    ClockInstalled installed;
    StripChart chart;
    chart.resize(1000, 500);
    for (int trace = 0; trace < 14; ++trace)
        chart.SetLabelCaption(trace + 1, QStringLiteral("Channel %1").arg(trace));
    chart.SetTimeSpan(60.0);
    int tick = 0;
    const auto feed = [&] {
        installed.clock.now = 36000.0 + tick * 0.05;
        for (int trace = 0; trace < 14; ++trace) chart.AddSample(trace, Value(trace, tick));
        ++tick;
    };
    while (tick < 1200) feed();
    chart.show();
    QApplication::processEvents();
    for (auto _ : state) {
        feed();
        chart.RepaintDue();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FedChartFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrum
