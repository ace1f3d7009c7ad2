#pragma once
// Feeding the Graphs window: one sample of every live measurement to every trace of all
// seven charts, shown or not, and the legends rewritten with the newest values.

#include <array>

namespace kestrum {

class StripChart;

// The Graphs window's charts, in the order of its list, and where each keeps what: label 0
// is the title; item n of a chart (temperature channel, tach, PWM output, THERM) is trace n
// with its legend in label n + 1. The two combined charts put the tachs or PWM outputs
// after the four temperatures, on the second axis, titled by label 5: tach or output n is
// trace 4 + n with its legend in label 6 + n.
struct GraphLayout {
    enum Chart {
        kTemperatureChart,
        kTachChart,
        kPwmChart,
        kTemperatureTachChart,
        kTemperaturePwmChart,
        kVoltageChart,
        kThermChart,
        kChartCount
    };
    static constexpr int kTitleLabel = 0;
    static constexpr int kSecondAxisTitleLabel = 5;
    static constexpr int Label(int item) { return item + 1; }
    static constexpr int SecondAxisTrace(int item) { return 4 + item; }
    static constexpr int SecondAxisLabel(int item) { return kSecondAxisTitleLabel + 1 + item; }
};
using GraphCharts = std::array<StripChart*, GraphLayout::kChartCount>;

// The master timer's graph task, every gGraphPeriodMs while gGraphFormOpen: the open
// window hands in its charts. Allocates nothing once the charts' histories and the legend
// texts have their storage.
void UpdateLiveGraphs(const GraphCharts& chart);

}  // namespace kestrum
