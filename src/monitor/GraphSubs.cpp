#include "monitor/GraphSubs.h"

#include <QLatin1StringView>
#include <QString>
#include <array>
#include <charconv>
#include <initializer_list>
#include <string>

#include "core/Channels.h"
#include "core/Conversions.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "platform/Seams.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {

namespace {

struct LegendLabel {
    StripChart* chart;
    int label;
};

// A legend text rewritten on every update, in two buffers: the charts hold one while the
// next text is written into the other. Writing into a buffer a chart shares would copy it
// first, so this way a steady update reuses storage and allocates nothing.
class LegendText {
public:
    QString& Begin() {
        QString& text = buffers_[1 - held_];
        text.truncate(0);
        return text;
    }
    // Gives the text to every label whose caption differs.
    void ShowOn(std::initializer_list<LegendLabel> labels) {
        const QString& text = buffers_[1 - held_];
        bool given = false;
        for (const LegendLabel& l : labels) {
            if (l.chart->labelCaption(l.label) == text) continue;
            l.chart->SetLabelCaption(l.label, text);
            given = true;
        }
        if (given) held_ = 1 - held_;
    }

private:
    std::array<QString, 2> buffers_;
    int held_ = 0;
};

std::array<LegendText, 4> temperatureLegend;
std::array<LegendText, 8> tachLegend;
std::array<LegendText, 4> pwmLegend;

void AppendInteger(QString& text, int32_t value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(QLatin1StringView(digits, end - digits));
}

// "Local = 25.25°C"; the number's text is short enough to need no heap.
void AppendTemperature(QString& text, int i) {
    const std::string number = SingleText(gTemperature[i]);
    text.append(QLatin1StringView(kTempChannelNames[i]));
    text.append(QLatin1StringView(" = "));
    text.append(QLatin1StringView(number.data(), static_cast<qsizetype>(number.size())));
    text.append(QChar(0x00B0));
    text.append(QLatin1Char('C'));
}

// "Tach3=2450", "PWM2=40%"
void AppendNumbered(QString& text, QLatin1StringView name, int n, int32_t value) {
    text.append(name);
    AppendInteger(text, n);
    text.append(QLatin1Char('='));
    AppendInteger(text, value);
}

}  // namespace

void UpdateLiveGraphs(const GraphCharts& chart) {
    using L = GraphLayout;
    StripChart* temperatures = chart[L::kTemperatureChart];
    StripChart* temperatureTach = chart[L::kTemperatureTachChart];
    StripChart* temperaturePwm = chart[L::kTemperaturePwmChart];
    // Every sample of this update at one reading of the clock.
    const double now = SystemClock().SecondsSinceMidnight();

    for (int i = 0; i < 4; ++i) {
        for (StripChart* c : {temperatures, temperatureTach, temperaturePwm})
            c->AddSample(i, gTemperature[i], now);
        AppendTemperature(temperatureLegend[i].Begin(), i);
        temperatureLegend[i].ShowOn(
            {{temperatures, L::Label(i)}, {temperatureTach, L::Label(i)}, {temperaturePwm, L::Label(i)}});
    }
    for (int i = 0; i < 8; ++i) {
        chart[L::kTachChart]->AddSample(i, gFanRPM[i], now);
        temperatureTach->AddSample(L::SecondAxisTrace(i), gFanRPM[i], now);
        AppendNumbered(tachLegend[i].Begin(), QLatin1StringView("Tach"), i + 1, gFanRPM[i]);
        tachLegend[i].ShowOn({{chart[L::kTachChart], L::Label(i)}, {temperatureTach, L::SecondAxisLabel(i)}});
    }
    for (int i = 0; i < 4; ++i) {
        chart[L::kPwmChart]->AddSample(i, gPWMDuty[i], now);
        temperaturePwm->AddSample(L::SecondAxisTrace(i), gPWMDuty[i], now);
        QString& text = pwmLegend[i].Begin();
        AppendNumbered(text, QLatin1StringView("PWM"), i + 1, gPWMDuty[i]);
        text.append(QLatin1Char('%'));
        pwmLegend[i].ShowOn({{chart[L::kPwmChart], L::Label(i)}, {temperaturePwm, L::SecondAxisLabel(i)}});
    }
    int trace = 0;
    for (int channel = 0; channel < kVoltageChannelCount; ++channel)
        if (gVoltageInUse[channel]) chart[L::kVoltageChart]->AddSample(trace++, gVoltage[channel], now);
    chart[L::kThermChart]->AddSample(0, gThermPercent[1], now);
    chart[L::kThermChart]->AddSample(1, gThermPercent[2], now);
}

}  // namespace kestrum
