#include "monitor/frmLimits.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "monitor/LimitFormSubs.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/instruments/Lamp.h"
#include "widgets/instruments/LinearGauge.h"

namespace kestrum {
namespace {

using test::R;
using test::W;

constexpr int kLow = LinearGauge::kLowMarker;
constexpr int kHigh = LinearGauge::kHighMarker;

// Pin configurations, as Pin Config 1-4 (0x10-0x13).
struct Pins {
    int32_t config1;
    int32_t config2;
    int32_t config3;
    int32_t config4;
};
// The chip's power-on configuration: both remote diodes, eight tachs, pin 23 at 1.8 V,
// pins 24-26 at 2.5 V, 3.3 V and the battery, THERM on pins 28 and 29.
constexpr Pins kPowerOn{0x7F, 0xCE, 0x42, 0xFC};
// Every voltage input that can be one: no diodes, no tachs, pins 28 and 29 at 1.5 V.
constexpr Pins kVoltages{0x00, 0x01, 0x42, 0x50};

class LimitsWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        gTachClockHz = 90000;
    }

    // Writes the pin configuration as the Pin Configuration dialog does; the write
    // primitive's hook decodes it.
    void ConfigurePins(const Pins& pins) {
        ChipWrite(0x10, pins.config1);
        ChipWrite(0x11, pins.config2);
        ChipWrite(0x12, pins.config3);
        ChipWrite(0x13, pins.config4);
    }

    frmLimits& OpenWith(const Pins& pins) {
        ConfigurePins(pins);
        window = &Open<frmLimits>();
        return *window;
    }

    // The master timer's tick once the Limits task is due.
    void TickLimitsTask() {
        clock.step = 0.0;
        TickAfter(1.0);
    }

    template <size_t N>
    static std::vector<bool> Lit(const std::array<Lamp*, N>& lamps) {
        std::vector<bool> values;
        for (const Lamp* lamp : lamps) values.push_back(lamp->Value());
        return values;
    }

    frmLimits* window = nullptr;
};

TEST_F(LimitsWindowTest, OpensWithItsTabsTablesAndTipsAndLoadingWritesNothing) {
    ConfigurePins(kPowerOn);
    StartRecording();
    frmLimits& w = Open<frmLimits>();
    // Every limit and mask once, tab by tab, and nothing written.
    ExpectTraffic({R(0x44), R(0x48), R(0x30),           // Temperature, Local
                   R(0x78), R(0x34), R(0x07),           // Fans, Fan1; Tach Enable
                   R(0x72), R(0x69), R(0x32), R(0x33),  // Voltage, 1.8V (pin23)
                   R(0x80), R(0x31),                    // THERM Timer, THERM1
                   R(0x4C),                             // THERM Limits, Local THERM1
                   R(0x35)});                           // Digital mask
    EXPECT_TRUE(gLimitsFormOpen);
    EXPECT_EQ(w.windowTitle(), "Limits / Interrupts");
    EXPECT_EQ(w.parentWidget()->size(), QSize(452, 474));

    std::vector<QString> tabs;
    for (int i = 0; i < w.SSTab1->count(); ++i) tabs.push_back(w.SSTab1->tabText(i));
    EXPECT_EQ(tabs, (std::vector<QString>{"Temperature", "Fans", "Voltage", "THERM Timer", "THERM Limits",
                                          "Digital/VRD"}));
    EXPECT_EQ(Control<QLabel>(w, "lblVolt_6").text(), "12V3  (pin22)");
    EXPECT_EQ(Control<QLabel>(w, "lblVolt_11").text(), "1.5V2 (pin28)");
    EXPECT_EQ(Control<QLabel>(w, "lblTherm_0").text(), "THERM1% Over Limit");
    EXPECT_EQ(Control<QLabel>(w, "lblTherm_12").text(), "Remote2 THERM2");
    EXPECT_EQ(Control<QLabel>(w, "lblTherm_20").text(), "VRD2");
    EXPECT_EQ(Control<LinearGauge>(w, "ggeFan").toolTip(), "Drag the sliders to change the limits");
    EXPECT_EQ(Control<Lamp>(w, "tglDigAlert_6").toolTip(),
              "Interrupt Status: Green=OK, Red=Bad, Invisible=Disabled");
    EXPECT_EQ(w.findChildren<QCheckBox*>().size(), 7 + 8 + 13 + 6 + 7);
    EXPECT_EQ(w.findChildren<Lamp*>().size(), 7 + 8 + 13 + 6 + 8 + 7);
    EXPECT_EQ(Items(*w.cmbTemp), (QStringList{"Local", "Remote1", "Remote2", "Remote3"}));
    EXPECT_EQ(Items(*w.cmbThermTimer), (QStringList{"THERM1", "THERM2"}));
    // Only the temperature and voltage gauges carry a low limit.
    EXPECT_TRUE(w.ggeTemp->IsMarkerVisible(kLow));
    EXPECT_TRUE(w.ggeVolt->IsMarkerVisible(kLow));
    for (LinearGauge* gauge : {w.ggeFan, w.ggeThermTimer, w.ggeTHERMPin}) {
        EXPECT_FALSE(gauge->IsMarkerVisible(kLow)) << gauge->objectName().toStdString();
        EXPECT_TRUE(gauge->IsMarkerVisible(kHigh));
    }

    w.SelectTab(frmLimits::kThermPinTab);
    EXPECT_EQ(w.SSTab1->tabText(w.SSTab1->currentIndex()), "THERM Limits");

    w.cmdClose->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(gLimitsFormOpen);
    EXPECT_EQ(Find<frmLimits>(), nullptr);
}

TEST_F(LimitsWindowTest, AMaskClickReadsOnceAndWritesOnlyItsBit) {
    ChipWrite(0x30, 0x01);
    ChipWrite(0x31, 0x15);
    ChipWrite(0x32, 0x41);
    ChipWrite(0x33, 0x08);
    ChipWrite(0x35, 0x80);
    OpenWith(kPowerOn);
    EXPECT_TRUE(window->chkVoltMask[5]->isChecked()) << "0x40 is row 5's bit";
    EXPECT_TRUE(window->chkTHERMMask[2]->isChecked());
    EXPECT_FALSE(window->chkDigMask[5]->isChecked());
    EXPECT_TRUE(window->chkDigMask[4]->isChecked());

    StartRecording();
    window->chkVoltMask[6]->click();  // "12V3  (pin22)" is 0x04, out of line
    window->chkVoltMask[2]->click();
    window->chkTempMask[0]->click();  // bit 0 of Thermal Mask 1 is no box's
    window->chkDigMask[5]->click();   // VRD1 lives in Thermal Mask 2, beside the THERM bits
    window->chkDigMask[5]->click();
    window->chkDigMask[0]->click();
    window->chkVoltMask[12]->click();
    ExpectTraffic({R(0x32), W(0x32, 0x45), R(0x32), W(0x32, 0x4D), R(0x30), W(0x30, 0x03), R(0x31),
                   W(0x31, 0x55), R(0x31), W(0x31, 0x15), R(0x35), W(0x35, 0x88), R(0x33), W(0x33, 0x88)});
}

TEST_F(LimitsWindowTest, TheHalfSecondRefreshReadsTheSevenStatusCopiesAndLightsTheLamps) {
    OpenWith(kPowerOn);
    gTemperature = {45.25f, 30.0f, 31.5f, 40.0f};
    gFanRPM[0] = 2410;
    gVoltage[11] = 1.83f;
    gThermPercent[1] = 20.0f;
    Chip().Poke(0xC0, 0x01);  // bit 0 has no lamp
    Chip().Poke(0xC1, 0x81);
    Chip().Poke(0xBA, 0x40);
    Chip().Poke(0xC3, 0x04);
    Chip().Poke(0xC4, 0x08);
    Chip().Poke(0xC5, 0x80);
    Chip().Poke(0xC6, 0x0F);  // bits 0..2 have no lamp

    StartRecording();
    TickLimitsTask();
    ExpectTraffic({R(0xC0), R(0xC1), R(0xBA), R(0xC3), R(0xC4), R(0xC5), R(0xC6)});
    EXPECT_EQ(window->ggeTemp->Caption(), "45.25°C");
    EXPECT_DOUBLE_EQ(window->ggeTemp->needleValue(1), 45.25);
    EXPECT_EQ(window->ggeFan->Caption(), "2410rpm");
    EXPECT_EQ(window->ggeVolt->Caption(), "1.83V");
    EXPECT_EQ(window->ggeThermTimer->Caption(), "20%");
    EXPECT_EQ(window->ggeTHERMPin->Caption(), "45.25°C");

    EXPECT_EQ(Lit(window->tglTempAlert), std::vector<bool>(7, false));
    EXPECT_EQ(Lit(window->tglTHERMAlert), (std::vector<bool>{true, false, false, false, false, false}));
    EXPECT_EQ(Lit(window->tglDigAlert), (std::vector<bool>{true, false, false, false, false, false, true}));
    EXPECT_EQ(Lit(window->tglTHERMPinAlert),
              (std::vector<bool>{false, false, false, false, false, false, true, false}));
    std::vector<bool> volts(13, false);
    volts[6] = volts[8] = true;
    EXPECT_EQ(Lit(window->tglVoltAlert), volts);
    EXPECT_EQ(Lit(window->tglFanAlert),
              (std::vector<bool>{false, false, false, false, false, false, false, true}));

    // The lamps follow the chip, and a closed window is not refreshed.
    Chip().Poke(0xC1, 0x00);
    TickLimitsTask();
    EXPECT_FALSE(window->tglTHERMAlert[0]->Value());
    Close(*window);
    StartRecording();
    TickLimitsTask();
    ExpectTraffic({});
}

TEST_F(LimitsWindowTest, RemoteRowsLiveOnlyWithTheirDiodes) {
    OpenWith({0x20, 0xCE, 0x42, 0xFC});  // Remote 3's diode only
    EXPECT_EQ(Items(*window->cmbTemp), (QStringList{"Local", "Remote2", "Remote3"}));
    for (int row : {1, 4}) {
        EXPECT_FALSE(window->lblTemp[row]->isEnabled()) << row;
        EXPECT_FALSE(window->chkTempMask[row]->isEnabled()) << row;
        EXPECT_FALSE(window->tglTempAlert[row]->isEnabled()) << row;  // drawn absent
    }
    for (int row : {0, 2, 3, 5, 6}) EXPECT_TRUE(window->tglTempAlert[row]->isEnabled()) << row;
    // A disabled lamp is still set from its status bit.
    Chip().Poke(0xC0, 0x04);
    TickLimitsTask();
    EXPECT_TRUE(window->tglTempAlert[1]->Value());
}

TEST_F(LimitsWindowTest, TemperatureAndThermLimitsAreDegreesPlus64AndSnapToWholeDegrees) {
    ChipWrite(0x44, 0x40);
    OpenWith(kPowerOn);
    EXPECT_DOUBLE_EQ(window->ggeTemp->markerValue(kLow), 0.0);

    StartRecording();
    window->ggeTemp->moveMarkerAsUser(kHigh, 85.6);
    ExpectTraffic({W(0x44, 0x40), W(0x48, 150), R(0x44), R(0x48)});
    EXPECT_DOUBLE_EQ(window->ggeTemp->markerValue(kHigh), 86.0);

    gTemperature[2] = 52.5f;
    StartRecording();
    Pick(*window->cmbTHERMPin, "Remote2 THERM2");
    window->ggeTHERMPin->moveMarkerAsUser(kHigh, 85.6);
    ExpectTraffic({R(0x52), W(0x52, 150), R(0x52)});
    EXPECT_DOUBLE_EQ(window->ggeTHERMPin->markerValue(kHigh), 86.0);
    TickLimitsTask();
    EXPECT_EQ(window->ggeTHERMPin->Caption(), "52.5°C");
}

TEST_F(LimitsWindowTest, ThermTimerLimitsArePercentWrittenTimes255Hundredths) {
    ChipWrite(0x81, 128);
    OpenWith(kPowerOn);
    StartRecording();
    Pick(*window->cmbThermTimer, "THERM2");
    EXPECT_DOUBLE_EQ(window->ggeThermTimer->markerValue(kHigh), 50.0);
    for (double percent : {50.0, 30.0, 10.0}) window->ggeThermTimer->moveMarkerAsUser(kHigh, percent);
    ExpectTraffic({R(0x81), W(0x81, 127), R(0x81), W(0x81, 76), R(0x81), W(0x81, 26), R(0x81)});
}

TEST_F(LimitsWindowTest, WithoutThermInputsTheTimerTabIsDisabledAndWritesNothing) {
    OpenWith(kVoltages);
    EXPECT_FALSE(window->cmbThermTimer->isEnabled());
    EXPECT_EQ(window->cmbThermTimer->count(), 0);
    EXPECT_DOUBLE_EQ(window->ggeThermTimer->markerValue(kHigh), 0.0);
    TickLimitsTask();
    EXPECT_EQ(window->ggeThermTimer->Caption(), "Disabled");
    StartRecording();
    window->ggeThermTimer->moveMarkerAsUser(kHigh, 40.0);
    ExpectTraffic({});
}

TEST_F(LimitsWindowTest, FanLimitsAreTachCountsAndRowsFollowTachEnable) {
    ChipWrite(0x07, 0xFB);  // every tach but Fan3's
    ChipWrite(0x7A, 0);
    OpenWith(kPowerOn);
    EXPECT_EQ(window->cmbFan->count(), 8) << "Fan3 is still offered";
    EXPECT_FALSE(window->lblFan[2]->isEnabled());
    EXPECT_FALSE(window->chkFanMask[2]->isEnabled());
    EXPECT_FALSE(window->tglFanAlert[2]->isEnabled());
    EXPECT_TRUE(window->tglFanAlert[3]->isEnabled());

    StartRecording();
    Pick(*window->cmbFan, "Fan3");
    EXPECT_DOUBLE_EQ(window->ggeFan->markerValue(kHigh), 12000.0);
    window->ggeFan->moveMarkerAsUser(kHigh, 1000.0);
    EXPECT_NEAR(window->ggeFan->markerValue(kHigh), 958.98, 0.005);
    window->ggeFan->moveMarkerAsUser(kHigh, 0.0);
    EXPECT_DOUBLE_EQ(window->ggeFan->markerValue(kHigh), 0.0);
    ExpectTraffic({R(0x7A), W(0x7A, 21), R(0x7A), W(0x7A, 255), R(0x7A)});

    // Pins 21 and 22 back to voltage inputs: Fan7 and Fan8 are no longer offered.
    OpenWith({0x7F, 0xC2, 0x42, 0xFC});
    window->Form_Load();
    EXPECT_EQ(window->cmbFan->count(), 6);
    EXPECT_FALSE(window->lblFan[6]->isEnabled());
}

TEST_F(LimitsWindowTest, VoltageLimitsAreCodesOf192PerNominalAndClamped) {
    ChipWrite(0x6D, 192);
    ChipWrite(0x7C, 200);
    ChipWrite(0x75, 150);
    OpenWith(kVoltages);
    LinearGauge& gauge = *window->ggeVolt;
    EXPECT_EQ(window->cmbVolt->currentText(), "12V1 (pin7)");
    EXPECT_DOUBLE_EQ(gauge.ScaleMinimum(), 0.0);
    EXPECT_DOUBLE_EQ(gauge.ScaleMaximum(), 15.94);
    EXPECT_DOUBLE_EQ(gauge.needleValue(0), 15.94);
    EXPECT_DOUBLE_EQ(gauge.needleValue(1), 7.97);
    EXPECT_FLOAT_EQ(static_cast<float>(gauge.markerValue(kLow)), 12.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(gauge.markerValue(kHigh)), 12.5f);

    StartRecording();
    gauge.moveMarkerAsUser(kHigh, 13.2);
    gauge.moveMarkerAsUser(kHigh, 99.0);  // the scale stops the marker at 15.94
    gauge.moveMarkerAsUser(kLow, -3.0);
    ExpectTraffic({W(0x6D, 192), W(0x7C, 211), R(0x6D), R(0x7C), W(0x6D, 192), W(0x7C, 255), R(0x6D), R(0x7C),
                   W(0x6D, 0), W(0x7C, 255), R(0x6D), R(0x7C)});

    Pick(*window->cmbVolt, "Vbatt (pin26)");
    EXPECT_FLOAT_EQ(static_cast<float>(gauge.markerValue(kLow)), 3.12f) << "3.125 rounds to even";
    EXPECT_DOUBLE_EQ(gauge.ScaleMaximum(), 5.31);
}

TEST_F(LimitsWindowTest, TheOnePointFiveVoltEntriesFollowThePinDecodesPairing) {
    OpenWith(kVoltages);
    gVoltage[21] = 1.49f;
    gVoltage[22] = 1.52f;
    StartRecording();
    Pick(*window->cmbVolt, "1.5V (pin28)");
    TickLimitsTask();
    EXPECT_EQ(window->ggeVolt->Caption(), "1.52V");
    Pick(*window->cmbVolt, "1.5V (pin29)");
    TickLimitsTask();
    EXPECT_EQ(window->ggeVolt->Caption(), "1.49V");
    const std::vector<test::Access> traffic = Traffic();
    ASSERT_GE(traffic.size(), 2u);
    EXPECT_EQ(std::vector<test::Access>(traffic.begin(), traffic.begin() + 2),
              (std::vector<test::Access>{R(0x76), R(0x4C)}));
    EXPECT_EQ(std::vector<test::Access>(traffic.begin() + 9, traffic.begin() + 11),
              (std::vector<test::Access>{R(0x77), R(0x50)}));
}

TEST_F(LimitsWindowTest, WithNoVoltageEntryTheScaleIsEmptyAndNothingIsWritten) {
    OpenWith(kVoltages);
    window->cmbVolt->clear();
    LimitFormSubs::LimitTab volt(window->cmbVolt, window->ggeVolt);
    LimitFormSubs::ShowVoltLimits(volt);
    EXPECT_DOUBLE_EQ(window->ggeVolt->ScaleMaximum(), 0.0);
    EXPECT_DOUBLE_EQ(window->ggeVolt->markerValue(kHigh), 0.0);
    StartRecording();
    LimitFormSubs::WriteVoltLimits(volt);
    ExpectTraffic({});
    EXPECT_FALSE(window->grab().isNull());  // painting an empty scale divides by nothing
}

TEST_F(LimitsWindowTest, AReloadAfterAPinChangeRenamesRowsAndLeavesNoDuplicate) {
    OpenWith({0x00, 0x02, 0x42, 0x00});  // no THERM input: the timer combo is disabled
    ASSERT_FALSE(window->cmbThermTimer->isEnabled());
    EXPECT_EQ(window->lblVolt[7]->text(), "1.8V (pin23)");
    EXPECT_EQ(window->lblVolt[3]->text(), "2.5V (pin15)");

    ConfigurePins({0x00, 0x03, 0x42, 0x80});  // pin 23 at 1.5 V, pin 28 THERM1
    window->Form_Load();
    EXPECT_EQ(window->lblVolt[7]->text(), "1.5V (pin23)");
    EXPECT_TRUE(window->cmbThermTimer->isEnabled());
    EXPECT_EQ(Items(*window->cmbThermTimer), (QStringList{"THERM1"}));
    EXPECT_EQ(window->findChildren<QLabel*>("lblVolt_7").size(), 1);
    EXPECT_EQ(window->cmbVolt->findText("1.8V (pin23)"), -1);
    EXPECT_TRUE(gLimitsFormOpen);

    // A reload of the open window is a load like the first: boxes that change write nothing.
    ChipWrite(0x30, 0xFE);
    ChipWrite(0x34, 0xFF);
    StartRecording();
    window->Form_Load();
    EXPECT_TRUE(window->chkTempMask[6]->isChecked());
    EXPECT_TRUE(window->chkFanMask[0]->isChecked());
    EXPECT_TRUE(test::WritesOnly(Traffic()).empty());
}

TEST_F(LimitsWindowTest, AFailedTransferDuringLoadEndsTheProgram) {
    OpenWith(kPowerOn);
    ExpectFailedTransferEnds([&] { window->Form_Load(); });
}

TEST_F(LimitsWindowTest, EachTabIsTidyAtTheWindowsOwnSize) {
    gTemperature = {45.25f, 30.0f, 31.5f, 40.0f};
    gFanRPM[0] = 2410;
    gVoltage[11] = 1.83f;
    gThermPercent[1] = 20.0f;
    ChipWrite(0x07, 0xFB);
    OpenWith(kPowerOn);
    Chip().Poke(0xC1, 0x81);
    TickLimitsTask();
    test::ExpectTidy(*window, "limits");
}

}  // namespace
}  // namespace kestrum
