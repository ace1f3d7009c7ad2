#include "features/fancontrol/FanCurveModel.h"

#include <algorithm>

#include "core/Channels.h"
#include "core/Conversions.h"

namespace kestrum {

namespace {

constexpr std::string_view kNotUnderControl = " is not under automatic control";
constexpr int16_t kFullDuty = 100;

// A slot's channel number: 1 Local .. 4 Remote3.
int16_t SlotChannel(TempChannel channel) { return static_cast<int16_t>(static_cast<int>(channel) + 1); }
TempChannel ChannelOfSlot(int16_t slotChannel) { return static_cast<TempChannel>(slotChannel - 1); }

// Slope of the ramp in percent per degree.
float Slope(int16_t trange) { return 64.0f / static_cast<float>(trange); }

// Fills one line of a point table and ends it.
class LineWriter {
public:
    explicit LineWriter(std::array<std::array<int16_t, 2>, 11>& line) : line_(line) {}
    LineWriter& operator()(int16_t x, int16_t y) {
        line_[k_++] = {x, y};
        return *this;
    }
    void End() { line_[k_] = {FanCurveModel::kEndOfLine, 0}; }

private:
    std::array<std::array<int16_t, 2>, 11>& line_;
    std::size_t k_ = 0;
};

}  // namespace

int16_t CurveNumber(std::string_view text) { return RoundToInt16(LeadingNumber(text)); }

void CurvePlot::Trace::Add(double x, double y) {
    if (count >= kMaxPoints) return;
    points[count++] = {x, y};
}

void CurvePlot::Clear() {
    for (Trace& trace : traces) trace.count = 0;
}

void FanCurveModel::ClearCurveModel() {
    mMaxPWM = 0;
    mThermFS1 = false;
    mThermFS2 = false;
    for (PwmCurve& curve : mCurve) curve = PwmCurve{};
}

void FanCurveModel::BuildCurveModel(const CurveControls& controls) {
    ClearCurveModel();
    mMaxPWM = CurveNumber(controls.txtMaxPWM);
    mThermFS1 = controls.chkThermFS1;
    mThermFS2 = controls.chkThermFS2;
    for (int p = 0; p < 4; ++p) {
        PwmCurve& curve = mCurve[p];
        curve.AlwaysOn = controls.chkMinSpeed[p];
        curve.MinPWM = CurveNumber(controls.txtMinPWM[p]);
        MapControlSource(controls, p);
    }
}

void FanCurveModel::MapControlSource(const CurveControls& controls, int p) {
    const std::string& text = controls.cmbControl[p];
    const auto item = std::find(kPwmSourceCaptions.begin(), kPwmSourceCaptions.end(), std::string_view(text));
    if (item == kPwmSourceCaptions.end()) return;
    const FollowedChannels followed =
        ChannelsFollowed(static_cast<PwmSource>(item - kPwmSourceCaptions.begin()));
    PwmCurve& curve = mCurve[p];
    curve.ChannelCount = static_cast<int16_t>(followed.count);
    for (int j = 0; j < followed.count; ++j) {
        CurveChannel& slot = curve.Channels[j];
        const TempChannel channel = followed.channels[j];
        slot.Channel = SlotChannel(channel);
        slot.Name = TempChannelName(channel);
        LoadCurveChannel(controls, p, j);
    }
}

void FanCurveModel::LoadCurveChannel(const CurveControls& controls, int p, int j) {
    CurveChannel& slot = mCurve[p].Channels[j];
    const int t = slot.Channel - 1;
    slot.Therm1Limit = CurveNumber(controls.txtTH1[t]);
    slot.Therm2Limit = CurveNumber(controls.txtTH2[t]);
    slot.ThermHyst = CurveNumber(controls.txtHyst[t]);
    slot.TminHyst = CurveNumber(controls.txtTminHyst[t]);
    slot.Trange = CurveNumber(controls.cmbTrange[t]);
    // The dynamic Tmin control may move a channel's Tmin: the chip's own value counts for
    // such a channel, not what the box showed when the window loaded.
    const bool dynamic = HasDynamicTmin(ChannelOfSlot(slot.Channel));
    slot.Tmin = dynamic ? controls.tmin[t] : CurveNumber(controls.txtTmin[t]);
}

float FanCurveModel::RampSpan(int p, int j) const {
    const PwmCurve& curve = mCurve[p];
    const CurveChannel& slot = curve.Channels[j];
    // A zero range would be a vertical ramp: the duty reaches its maximum at Tmin.
    if (mMaxPWM <= curve.MinPWM || slot.Trange <= 0) return 0.0f;
    const float s = Slope(slot.Trange);
    const float b = static_cast<float>(curve.MinPWM) - static_cast<float>(slot.Tmin) * s;
    return (static_cast<float>(mMaxPWM) - b) / s - static_cast<float>(slot.Tmin);
}

int16_t FanCurveModel::ThermLimit(int p, int j) const {
    const CurveChannel& slot = mCurve[p].Channels[j];
    int16_t limit = kNoLimit;
    if (mThermFS1) limit = slot.Therm1Limit;
    if (mThermFS2 && slot.Therm2Limit < limit) limit = slot.Therm2Limit;
    return limit;
}

float FanCurveModel::DutyAtThermLimit(int p, int j) const {
    const PwmCurve& curve = mCurve[p];
    const CurveChannel& slot = curve.Channels[j];
    if (mMaxPWM <= curve.MinPWM || slot.Trange <= 0) return static_cast<float>(mMaxPWM);
    const float s = Slope(slot.Trange);
    const float b = static_cast<float>(curve.MinPWM) - static_cast<float>(slot.Tmin) * s;
    return static_cast<float>(ThermLimit(p, j)) * s + b;
}

void FanCurveModel::LabelGraphChannels(int p, const std::string& title, CurvePlot& plot) const {
    const PwmCurve& curve = mCurve[p];
    plot.labels[CurvePlot::kTitleLabel].assign(title);
    for (int j = 0; j < CurvePlot::kSlots; ++j) plot.LabelAt(CurvePlot::LegendLabel(j)).clear();
    if (curve.ChannelCount == 0) {
        plot.LabelAt(CurvePlot::LegendLabel(0)).assign(title).append(kNotUnderControl);
        return;
    }
    for (int j = 0; j < curve.ChannelCount; ++j)
        plot.LabelAt(CurvePlot::LegendLabel(j)).assign(curve.Channels[j].Name);
}

void FanCurveModel::DrawCurves(const CurveView& view, CurvePlot& plot) {
    const int p = std::clamp(view.pwm, 0, 3);
    LabelGraphChannels(p, view.title, plot);
    plot.Clear();
    if (!view.ready) return;

    PwmCurve& curve = mCurve[p];
    PointTable curvePts{};
    PointTable hystPts{};
    const int16_t x0 = RoundToInt16(view.xMaximum - view.xSpan);
    const int16_t xe = RoundToInt16(view.xMaximum - 1.0);
    for (int j = 0; j < curve.ChannelCount; ++j) {
        const CurveChannel& slot = curve.Channels[j];
        const float r = RampSpan(p, j);
        const int16_t l = ThermLimit(p, j);
        const int16_t t = slot.Tmin;
        const float rampEnd = static_cast<float>(t) + r;
        const char caseOf = rampEnd <= static_cast<float>(l) ? 'A' : (l > t ? 'B' : 'C');

        if (mMaxPWM <= curve.MinPWM) curve.MinPWM = mMaxPWM;
        const int16_t lo = curve.AlwaysOn ? curve.MinPWM : 0;

        LineWriter line(curvePts[j]);
        if (caseOf == 'A') {
            line(x0, lo)(t, lo)(t, curve.MinPWM)(RoundToInt16(rampEnd), mMaxPWM)(l, mMaxPWM)(l, kFullDuty)(
                xe, l != kNoLimit ? kFullDuty : mMaxPWM);
        } else if (caseOf == 'B') {
            line(x0, lo)(t, lo)(t, curve.MinPWM)(l, RoundToInt16(DutyAtThermLimit(p, j)))(l, kFullDuty)(
                xe, kFullDuty);
        } else {
            line(x0, lo)(l, lo)(l, kFullDuty)(xe, kFullDuty);
        }
        line.End();

        LineWriter hysteresis(hystPts[j]);
        if (caseOf != 'C' && !curve.AlwaysOn) {
            const auto start = static_cast<int16_t>(t - slot.TminHyst);
            hysteresis(start, 0)(start, curve.MinPWM)(t, curve.MinPWM);
        }
        hysteresis.End();
    }
    PlotCurves(curvePts, hystPts, curve, view, plot);
}

void FanCurveModel::PlotCurves(const PointTable& curvePts, const PointTable& hystPts, const PwmCurve& curve,
                               const CurveView& view, CurvePlot& plot) const {
    const int16_t edge = RoundToInt16(view.xMaximum);
    for (int j = 0; j < curve.ChannelCount; ++j) {
        CurvePlot::Trace& trace = plot.TraceAt(CurvePlot::CurveTrace(j));
        for (const auto& point : curvePts[j]) {
            if (point[0] == kEndOfLine) break;
            // A point beyond the zoomed chart is left out; the line goes on to the next.
            if (point[0] <= view.xMaximum) trace.Add(point[0], point[1]);
        }
        CurvePlot::Trace& segment = plot.TraceAt(CurvePlot::HysteresisTrace(j));
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& point = hystPts[j][k];
            if (point[0] == kEndOfLine) break;
            segment.Add(point[0] > view.xMaximum ? edge : point[0], point[1]);
        }
    }
}

void FanCurveModel::PlotAFCTemps(const CurveControls& controls, const CurveView& view, CurvePlot& plot) {
    const int p = std::clamp(view.pwm, 0, 3);
    BuildCurveModel(controls);
    DrawCurves(view, plot);
    const PwmCurve& curve = mCurve[p];
    for (int j = 0; j < curve.ChannelCount; ++j) {
        const int16_t channel = curve.Channels[j].Channel;
        if (channel < 1 || channel > 4) continue;
        plot.TraceAt(CurvePlot::LivePointTrace(j))
            .Add(controls.temperature[channel - 1], controls.pwmDuty[p]);
    }
}

}  // namespace kestrum
