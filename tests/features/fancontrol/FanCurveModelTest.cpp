#include "features/fancontrol/FanCurveModel.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kestrum {
namespace {

using Points = std::vector<std::pair<double, double>>;

// The window's settings at their plainest: every output on Local, Tmin 40, Trange "10°C",
// min duty 20 %, max duty 100 %, no THERM box ticked, the default chart view (0..150).
class FanCurveModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        controls.txtMaxPWM = "100";
        for (int i = 0; i < 4; ++i) {
            controls.cmbControl[i] = "Local";
            controls.txtMinPWM[i] = "20";
            controls.txtTmin[i] = "40";
            controls.cmbTrange[i] = "10°C";
            controls.txtTminHyst[i] = "4";
            controls.txtTH1[i] = "90";
            controls.txtTH2[i] = "95";
            controls.txtHyst[i] = "4";
            controls.tmin[i] = 40;
        }
        view.title = "PWM1";
        view.ready = true;
    }

    void Draw() {
        model.BuildCurveModel(controls);
        model.DrawCurves(view, plot);
    }

    Points Trace(int trace) const {
        Points points;
        const CurvePlot::Trace& t = plot.traces[trace];
        for (int k = 0; k < t.count; ++k) points.emplace_back(t.points[k].x, t.points[k].y);
        return points;
    }

    CurveControls controls;
    CurveView view;
    CurvePlot plot;
    FanCurveModel model;
};

TEST_F(FanCurveModelTest, CaseARampsFromTminToTheMaximumBeforeAnyLimit) {
    Draw();
    EXPECT_FLOAT_EQ(model.RampSpan(0, 0), 12.5f);
    EXPECT_EQ(model.ThermLimit(0, 0), FanCurveModel::kNoLimit);
    // The two points at the absent limit (x 1000) lie beyond the chart and are left out.
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {52, 100}, {149, 100}}));
    EXPECT_EQ(Trace(8), (Points{{36, 0}, {36, 20}, {40, 20}})) << "the Tmin hysteresis";
    EXPECT_EQ(std::vector(plot.labels.begin(), plot.labels.begin() + 3),
              (std::vector<std::string>{"PWM1", "Local", ""}));

    // Always On: the fan idles at the minimum below Tmin, and there is no hysteresis.
    controls.chkMinSpeed[0] = true;
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 20}, {40, 20}, {40, 20}, {52, 100}, {149, 100}}));
    EXPECT_TRUE(Trace(8).empty());

    // A limit on the chart beyond the ramp's end steps to full speed there.
    controls.chkMinSpeed[0] = false;
    controls.chkThermFS1 = true;
    controls.txtTH1[0] = "70";
    controls.txtMaxPWM = "80";  // ramp of (80 - 20) x 10 / 64 = 9.375
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {49, 80}, {70, 80}, {70, 100}, {149, 100}}));
}

TEST_F(FanCurveModelTest, CaseBCutsTheRampAtTheThermLimit) {
    controls.chkThermFS1 = true;
    controls.txtTH1[0] = "50";
    Draw();
    EXPECT_FLOAT_EQ(model.DutyAtThermLimit(0, 0), 84.0f);  // 20 + 10 x 6.4
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 20}, {50, 84}, {50, 100}, {149, 100}}));
    EXPECT_EQ(Trace(8), (Points{{36, 0}, {36, 20}, {40, 20}}));
}

TEST_F(FanCurveModelTest, TheLowerOfBothTickedLimitsCounts) {
    const auto limit = [&](bool therm1, bool therm2, const char* th2) {
        controls.txtTH1[0] = "70";
        controls.txtTH2[0] = th2;
        controls.chkThermFS1 = therm1;
        controls.chkThermFS2 = therm2;
        model.BuildCurveModel(controls);
        return model.ThermLimit(0, 0);
    };
    EXPECT_EQ(limit(true, true, "60"), 60);
    EXPECT_EQ(limit(false, true, "60"), 60);
    EXPECT_EQ(limit(true, false, "60"), 70);
    EXPECT_EQ(limit(true, true, "80"), 70) << "THERM2 above THERM1 changes nothing";
}

TEST_F(FanCurveModelTest, CaseCStepsToFullSpeedAtALimitBelowTmin) {
    controls.chkThermFS2 = true;
    controls.txtTH2[0] = "30";
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {30, 0}, {30, 100}, {149, 100}}));
    EXPECT_TRUE(Trace(8).empty()) << "no hysteresis segment";
    controls.txtTH2[0] = "40";  // at Tmin, the ramp still ends beyond it: case C as well
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 100}, {149, 100}}));
}

TEST_F(FanCurveModelTest, MaxDutyNotAboveMinDutyLowersTheMinimumAndStepsAtTmin) {
    controls.txtMaxPWM = "50";
    controls.txtMinPWM[0] = "60";
    controls.chkMinSpeed[0] = true;
    Draw();
    EXPECT_EQ(model.RampSpan(0, 0), 0.0f);
    EXPECT_EQ(model.mCurve[0].MinPWM, 50) << "lowered to the maximum";
    EXPECT_EQ(Trace(0), (Points{{0, 50}, {40, 50}, {40, 50}, {40, 50}, {149, 50}}));

    controls.txtMinPWM[0] = "50";  // equal: the same step
    controls.chkMinSpeed[0] = false;
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {40, 0}, {40, 50}, {40, 50}, {149, 50}}));
    EXPECT_EQ(Trace(8), (Points{{36, 0}, {36, 50}, {40, 50}}));
}

TEST_F(FanCurveModelTest, TrangeItemsCountAsTheirNumberRoundedHalfToEven) {
    const std::vector<int> expected{2, 2, 3, 4, 5, 7, 8, 10, 13, 16, 20, 27, 32, 40, 53, 80};
    for (std::size_t i = 0; i < kTrangeItems.size(); ++i) {
        controls.cmbTrange[0] = kTrangeItems[i];
        model.BuildCurveModel(controls);
        EXPECT_EQ(model.mCurve[0].Channels[0].Trange, expected[i]) << kTrangeItems[i];
    }
    controls.cmbTrange[0] = "2.5°C";
    Draw();
    EXPECT_FLOAT_EQ(model.RampSpan(0, 0), 2.5f) << "(100 - 20) x 2 / 64";
    EXPECT_EQ(Trace(0)[3], (std::pair<double, double>{42, 100})) << "40 + 2.5 rounds to 42";
    controls.cmbTrange[0] = "6.7°C";
    Draw();
    EXPECT_FLOAT_EQ(model.RampSpan(0, 0), 8.75f) << "(100 - 20) x 7 / 64";
}

TEST_F(FanCurveModelTest, TextsCountAsTheNumberTheyStartWith) {
    controls.txtMaxPWM = "";
    controls.txtMinPWM[1] = "abc";
    controls.txtTmin[0] = " 35.5x";
    controls.txtTminHyst[0] = "2.5";
    model.BuildCurveModel(controls);
    EXPECT_EQ(model.mMaxPWM, 0);
    EXPECT_EQ(model.mCurve[1].MinPWM, 0);
    EXPECT_EQ(model.mCurve[0].Channels[0].Tmin, 36);
    EXPECT_EQ(model.mCurve[0].Channels[0].TminHyst, 2);
}

TEST_F(FanCurveModelTest, OffAndManualModeDrawNothingAndSaySo) {
    for (const char* source : {"Off", "Manual Mode"}) {
        controls.cmbControl[1] = source;
        view.pwm = 1;
        view.title = "PWM2";
        model.PlotAFCTemps(controls, view, plot);
        EXPECT_EQ(model.mCurve[1].ChannelCount, 0) << source;
        EXPECT_EQ(plot.labels[1], "PWM2 is not under automatic control") << source;
        for (int trace = 0; trace < CurvePlot::kTraceCount; ++trace)
            EXPECT_TRUE(Trace(trace).empty()) << source << " trace " << trace;
    }
    // A text that is no item leaves the curve empty too, and a rebuild starts from nothing.
    controls.cmbControl[1] = "Remote";
    controls.cmbControl[0] = "Max of 4 Channels";
    controls.chkThermFS1 = true;
    model.BuildCurveModel(controls);
    EXPECT_EQ(model.mCurve[1].ChannelCount, 0);
    controls.cmbControl[0] = "Off";
    controls.chkThermFS1 = false;
    model.BuildCurveModel(controls);
    EXPECT_EQ(model.mCurve[0].ChannelCount, 0);
    EXPECT_EQ(model.mCurve[0].Channels[3].Channel, 0);
    EXPECT_TRUE(model.mCurve[0].Channels[3].Name.empty());
    EXPECT_FALSE(model.mThermFS1);
}

TEST_F(FanCurveModelTest, SourcesMapOntoTheirChannelsInSlotOrder) {
    controls.cmbControl = {"Remote3", "Max of Local/Remote3", "Max of 4 Channels", "Remote2"};
    model.BuildCurveModel(controls);
    auto channels = [&](int p) {
        std::vector<int> result;
        const auto& curve = model.mCurve[p];
        for (int j = 0; j < curve.ChannelCount; ++j) result.push_back(curve.Channels[j].Channel);
        return result;
    };
    EXPECT_EQ(channels(0), (std::vector<int>{4}));
    EXPECT_EQ(channels(1), (std::vector<int>{1, 4}));
    EXPECT_EQ(channels(2), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(channels(3), (std::vector<int>{3}));
    EXPECT_EQ(model.mCurve[2].Channels[3].Name, "Remote3");
}

TEST_F(FanCurveModelTest, EachChannelTakesItsOwnTabsSettings) {
    controls.cmbControl[0] = "Max of 4 Channels";
    controls.txtTmin = {"30", "31", "32", "33"};
    controls.tmin = {50, 51, 52, 53};  // the chip's Tmin, moved by dynamic control
    controls.cmbTrange = {"2°C", "4°C", "8°C", "16°C"};
    controls.txtTminHyst = {"1", "2", "3", "4"};
    controls.txtTH1 = {"60", "61", "62", "63"};
    controls.txtTH2 = {"70", "71", "72", "73"};
    controls.txtHyst = {"5", "6", "7", "8"};
    model.BuildCurveModel(controls);
    const auto& slots = model.mCurve[0].Channels;
    // Local and Remote3 from their boxes, Remote1 and Remote2 from the chip.
    EXPECT_EQ(slots[0].Tmin, 30);
    EXPECT_EQ(slots[1].Tmin, 51);
    EXPECT_EQ(slots[2].Tmin, 52);
    EXPECT_EQ(slots[3].Tmin, 33);
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(slots[j].Trange, 2 << j) << j;
        EXPECT_EQ(slots[j].TminHyst, 1 + static_cast<int>(j)) << j;
        EXPECT_EQ(slots[j].Therm1Limit, 60 + static_cast<int>(j)) << j;
        EXPECT_EQ(slots[j].Therm2Limit, 70 + static_cast<int>(j)) << j;
        EXPECT_EQ(slots[j].ThermHyst, 5 + static_cast<int>(j)) << j;
    }
}

TEST_F(FanCurveModelTest, TwoChannelSourceDrawsTwoCurvesWithLivePoints) {
    controls.cmbControl[2] = "Max of Local/Remote3";
    controls.txtTmin[3] = "60";
    controls.temperature = {45.25f, 30.0f, 31.0f, 62.5f};
    controls.pwmDuty = {10, 11, 47, 13};
    view.pwm = 2;
    view.title = "PWM3";
    model.PlotAFCTemps(controls, view, plot);
    EXPECT_EQ(std::vector(plot.labels.begin() + 1, plot.labels.begin() + 4),
              (std::vector<std::string>{"Local", "Remote3", ""}));
    EXPECT_EQ(Trace(1), (Points{{0, 0}, {60, 0}, {60, 20}, {72, 100}, {149, 100}}));
    EXPECT_EQ(Trace(5), (Points{{62.5, 47}}));
    EXPECT_TRUE(Trace(2).empty() && Trace(6).empty());
    EXPECT_EQ(Trace(9), (Points{{56, 0}, {56, 20}, {60, 20}}));
}

TEST_F(FanCurveModelTest, NotReadyLabelsButDrawsNoCurve) {
    view.ready = false;
    controls.temperature[0] = 41.0f;
    controls.pwmDuty[0] = 25;
    model.PlotAFCTemps(controls, view, plot);
    EXPECT_EQ(plot.labels[1], "Local");
    EXPECT_TRUE(Trace(0).empty());
    EXPECT_TRUE(Trace(8).empty());
    EXPECT_EQ(Trace(4), (Points{{41, 25}})) << "the live point does not wait for the window";
}

TEST_F(FanCurveModelTest, ZoomedInPointsBeyondTheEdgeAreLeftOutButHysteresisIsClamped) {
    // Visible x 0..45: with Tmin at 50 the whole hysteresis segment (46..50) is drawn at the edge.
    view.xSpan = 45.0;
    view.xMaximum = 45.0;
    controls.txtTmin[0] = "50";
    Draw();
    EXPECT_EQ(Trace(0), (Points{{0, 0}, {44, 100}})) << "only x0 and xe remain";
    EXPECT_EQ(Trace(8), (Points{{45, 0}, {45, 20}, {45, 20}}));
}

}  // namespace
}  // namespace kestrum
