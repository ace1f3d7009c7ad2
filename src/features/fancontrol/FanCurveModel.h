#pragma once
// The fan curve of each PWM output, rebuilt from the Automatic Control window's settings
// (never from the chip): the channels that control the output and, for each, where the
// fan starts, how fast its duty rises, where a THERM limit forces full speed and the
// Tmin hysteresis. The window hands over its controls' texts and states and the chart's
// visible x range; the model hands back the points and labels to plot.
//
// The texts are held in strings the window refills in place, and the plot in fixed
// arrays, so that the 0.3 s refresh allocates nothing once it has run.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

// What the window's controls show, and the shared state the model reads.
struct CurveControls {
    std::string txtMaxPWM;
    bool chkThermFS1 = false;
    bool chkThermFS2 = false;
    // By PWM output 0..3.
    std::array<std::string, 4> cmbControl;
    std::array<std::string, 4> txtMinPWM;
    std::array<bool, 4> chkMinSpeed{};
    // By temperature channel 0 Local .. 3 Remote3.
    std::array<std::string, 4> txtTmin;
    std::array<std::string, 4> cmbTrange;
    std::array<std::string, 4> txtTminHyst;
    std::array<std::string, 4> txtTH1;
    std::array<std::string, 4> txtTH2;
    std::array<std::string, 4> txtHyst;
    // The shared measurements: the Tmin registers (gTmin), the temperatures (gTemperature)
    // and the PWM duties (gPWMDuty).
    std::array<int16_t, 4> tmin{};
    std::array<float, 4> temperature{};
    std::array<int16_t, 4> pwmDuty{};
};

// cmbTrange's items (index = field); cmbControl's are the PWM sources' captions.
inline constexpr std::array<const char*, 16> kTrangeItems{"2°C",  "2.5°C", "3.3°C",  "4°C",  "5°C",  "6.7°C",
                                                          "8°C",  "10°C",  "13.3°C", "16°C", "20°C", "26.7°C",
                                                          "32°C", "40°C",  "53.3°C", "80°C"};

// The chart and the window state one drawing depends on.
struct CurveView {
    int pwm = 0;           // the output selected in tbPWM
    std::string title;     // the chart's title (label 0)
    bool ready = false;    // the window's mReady
    double xSpan = 150.0;  // the chart's visible x range, read back from it
    double xMaximum = 150.0;
};

// Points and legend captions for the chart: for channel slot j, a curve, its live point
// and its Tmin-hysteresis segment; label 0 the title, then a legend for each slot.
struct CurvePlot {
    static constexpr int kSlots = 4;
    static constexpr int CurveTrace(int slot) { return slot; }
    static constexpr int LivePointTrace(int slot) { return kSlots + slot; }
    static constexpr int HysteresisTrace(int slot) { return 2 * kSlots + slot; }
    static constexpr int kTitleLabel = 0;
    static constexpr int LegendLabel(int slot) { return 1 + slot; }
    static constexpr int kTraceCount = 3 * kSlots;
    static constexpr int kMaxPoints = 11;
    struct Point {
        double x = 0.0;
        double y = 0.0;
    };
    struct Trace {
        std::array<Point, kMaxPoints> points{};
        int count = 0;
        void Add(double x, double y);
    };
    std::array<Trace, kTraceCount> traces{};
    std::array<std::string, kSlots + 1> labels;
    Trace& TraceAt(int trace) { return traces[trace]; }
    std::string& LabelAt(int label) { return labels[label]; }
    void Clear();
};

class FanCurveModel {
public:
    struct CurveChannel {
        int16_t Channel = 0;  // 1 Local, 2 Remote1, 3 Remote2, 4 Remote3; 0 none
        std::string_view Name;
        int16_t Tmin = 0;
        int16_t TminHyst = 0;
        int16_t Trange = 0;
        int16_t Therm1Limit = 0;
        int16_t Therm2Limit = 0;
        int16_t ThermHyst = 0;  // held, not drawn
    };
    struct PwmCurve {
        int16_t ChannelCount = 0;
        std::array<CurveChannel, 4> Channels{};
        int16_t MinPWM = 0;
        bool AlwaysOn = false;
    };

    // An x that ends a line of points.
    static constexpr int16_t kEndOfLine = -1000;
    // The THERM limit of a curve that no THERM limit cuts short.
    static constexpr int16_t kNoLimit = 1000;
    // A table of points for one drawing: slot, point, coordinate (0 x, 1 y).
    using PointTable = std::array<std::array<std::array<int16_t, 2>, 11>, 4>;

    void BuildCurveModel(const CurveControls& controls);
    void ClearCurveModel();
    void MapControlSource(const CurveControls& controls, int p);
    void LoadCurveChannel(const CurveControls& controls, int p, int j);

    float RampSpan(int p, int j) const;
    int16_t ThermLimit(int p, int j) const;
    float DutyAtThermLimit(int p, int j) const;

    // The curves of the selected output, as DrawCurves leaves them on a cleared chart.
    void DrawCurves(const CurveView& view, CurvePlot& plot);
    void PlotCurves(const PointTable& curvePts, const PointTable& hystPts, const PwmCurve& curve,
                    const CurveView& view, CurvePlot& plot) const;
    void LabelGraphChannels(int p, const std::string& title, CurvePlot& plot) const;
    // The curves and each controlling channel's live operating point.
    void PlotAFCTemps(const CurveControls& controls, const CurveView& view, CurvePlot& plot);

    int16_t mMaxPWM = 0;
    bool mThermFS1 = false;
    bool mThermFS2 = false;
    std::array<PwmCurve, 4> mCurve{};
};

// The number at the start of a text, rounded half to even ("2.5°C" gives 2, "" gives 0).
int16_t CurveNumber(std::string_view text);

}  // namespace kestrum
