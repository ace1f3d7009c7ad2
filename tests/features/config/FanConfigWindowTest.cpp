#include "features/config/frmFanConfig.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <map>
#include <string>
#include <vector>

#include "core/USBStuff.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

class FanConfigWindowTest : public test::WindowTest {
protected:
    frmFanConfig& OpenDialog() {
        window = &Open<frmFanConfig>();
        return *window;
    }
    void Poke(const std::map<int, int>& registers) {
        for (const auto& [reg, value] : registers)
            Chip().Poke(static_cast<uint8_t>(reg), static_cast<uint8_t>(value));
    }
    frmFanConfig* window = nullptr;
};

TEST_F(FanConfigWindowTest, OpensOnSixTabsWithEveryCaptionAndReadsTheChipInBlocks) {
    StartRecording();
    frmFanConfig& w = OpenDialog();
    ExpectTraffic({B(0x07, 2), B(0x01, 2), R(0x0D), R(0x2C), B(0x1A, 2), B(0x21, 4), B(0x25, 2), B(0x28, 4)});
    EXPECT_EQ(w.windowTitle(), "Fan Configuration");
    EXPECT_EQ(w.parentWidget()->size(), QSize(514, 416));  // 7710 x 6240 twips

    std::vector<QString> tabs;
    for (int i = 0; i < w.SSTab1->count(); ++i) tabs.push_back(w.SSTab1->tabText(i));
    EXPECT_EQ(tabs, (std::vector<QString>{"All Fans", "PWM1", "PWM2", "PWM3", "PWM4", "Tachs"}));

    const std::map<QString, QString> captions{
        {"Frame1", "Settings for all fans"},
        {"chkFastMeasure", "Fast Fan Speed Measurement "},
        {"chkDisFastSpin", "Disable Fast Spin-up"},
        {"chkPWMMode", "Enable High Frequency PWM"},
        {"chkVRD1", "Enable VRD1  Boost"},
        {"chkVRD2", "Enable VRD2  Boost"},
        {"chkFullSpeed", "Run Fans at Full Speed"},
        {"chkThermFS1", "Fans go to Full Speed on THERM1 Assertion"},
        {"chkThermFS2", "Fans go to Full Speed on THERM2 Assertion"},
        {"Label1", "No. Tach Pulses"},
        {"Label7", "Max PWM 1-4"},
        {"Frame2_2", "PWM3 Configuration"},
        {"chkEnCont_0", "Enable Continuous Readings on Tach1/Tach5 (Low Freq. Mode)"},
        {"chkEnCont_3", "Enable Continuous Readings on Tach4/Tach8 (Low Freq. Mode)"},
        {"chkEnEnhance_1", "Enable Enhanced Acoustics on PWM2"},
        {"Label2_3", "Enhance Acoustics Ramp Rate"},
        {"Label4_0", "Spin-up Timeout"},
        {"chk4xRampRate_2", "4 x Acoustic Ramp Rate"},
        {"chkEnActiveLow_3", "PWM4 is Active Low"},
        {"Label5_1", "Control Source"},
        {"chkMinSpeed_2", "Hold PWM3 at PWMmin at temperatures below Tmin"},
        {"Label6_0", "Low  Frequency Selection"},
        {"Label8_3", "PWM4 Min Duty Cycle"},
        {"Frame6", "Enable Tachs"},
        {"chkEnTach_0", "Enable Tach1"},
        {"chkEnTach_7", "Enable Tach8"},
        {"cmdEnableAll", "Enable All"},
        {"cmdDisableAll", "Disable All"},
        {"cmdApply", "Apply"},
        {"cmdOK", "OK"},
        {"cmdCancel", "Cancel"},
    };
    for (const auto& [name, caption] : captions) {
        QWidget& control = Control<QWidget>(w, name);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(&control)) text = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(&control)) text = button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(&control)) text = frame->title();
        EXPECT_EQ(text, caption) << name.toStdString();
    }
    // Each PWM tab holds its own output's controls.
    EXPECT_TRUE(w.SSTab1->widget(3)->isAncestorOf(&Control<QComboBox>(w, "cmbControl_2")));
    EXPECT_TRUE(w.SSTab1->widget(4)->isAncestorOf(&Control<QLineEdit>(w, "txtMinPWM_3")));

    using Strings = QStringList;
    EXPECT_EQ(Items(*w.cmbTachPulses), (Strings{"1", "2", "3", "4"}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Items(*w.cmbRampRate[i]), (Strings{"35 sec", "17.6  sec", "11.8  sec", "7 sec", "4.4 sec",
                                                     "3 sec", "1.6 sec", "0.8 sec"}));
        EXPECT_EQ(Items(*w.cmbSpinup[i]),
                  (Strings{"None", "100ms", "250ms", "400ms", "667ms", "1 sec", "2 sec", "4 sec"}));
        EXPECT_EQ(Items(*w.cmbControl[i]),
                  (Strings{"Local", "Remote1", "Remote2", "Remote3", "Off", "Max of Local/Remote3",
                           "Max of 4 Channels", "Manual Mode"}));
        EXPECT_EQ(Items(*w.cmbLowFreq[i]),
                  (Strings{"11Hz", "14.7Hz", "22.1Hz", "29.4Hz", "35.3Hz", "44.1Hz", "58.8Hz", "88.2Hz"}));
    }
    for (const char* name : {"UpDown1", "UpDown2", "UpDown3", "UpDown4", "UpDown5"}) {
        const UpDown& spinner = Control<UpDown>(w, name);
        EXPECT_EQ(spinner.Minimum(), 0) << name;
        EXPECT_EQ(spinner.Maximum(), 100) << name;
    }
    EXPECT_EQ(&Control<UpDown>(w, "UpDown1").Buddy(), w.txtMaxPWM);
    EXPECT_EQ(&Control<UpDown>(w, "UpDown5").Buddy(), w.txtMinPWM[3]);
}

TEST_F(FanConfigWindowTest, LoadShowsEveryFieldDirectInvertedOrAsListItemAndPercent) {
    Poke({{0x07, 0xA5},
          {0x08, 0xF6},
          {0x01, 0x10},
          {0x02, 0x99},
          {0x0D, 0xFE},
          {0x2C, 0xC0},
          {0x1A, 0xE9},
          {0x1B, 0x36},
          {0x21, 0x11},
          {0x22, 0x31},
          {0x23, 0x51},
          {0x24, 0x71},
          {0x25, 0x90},
          {0x26, 0xFF},
          {0x28, 0x80},
          {0x29, 0x00},
          {0x2A, 0xFF},
          {0x2B, 0x01}});
    frmFanConfig& w = OpenDialog();

    std::vector<bool> tachs;
    for (const QCheckBox* box : w.chkEnTach) tachs.push_back(box->isChecked());
    EXPECT_EQ(tachs, (std::vector<bool>{true, false, true, false, false, true, false, true}));
    std::vector<bool> continuous;
    for (const QCheckBox* box : w.chkEnCont) continuous.push_back(box->isChecked());
    EXPECT_EQ(continuous, (std::vector<bool>{false, true, true, false})) << "bits 4-7 of 0x08 show nowhere";

    EXPECT_TRUE(w.chkDisFastSpin->isChecked());
    // 0x02 = 0x99: bits 0, 3, 4, 7 set.
    EXPECT_TRUE(w.chkFastMeasure->isChecked());
    EXPECT_FALSE(w.chkPWMMode->isChecked());
    EXPECT_FALSE(w.chkVRD1->isChecked()) << "ticked while its bit is clear";
    EXPECT_FALSE(w.chkVRD2->isChecked());
    EXPECT_FALSE(w.chkFullSpeed->isChecked());
    EXPECT_EQ(w.cmbTachPulses->currentText(), "3");
    EXPECT_TRUE(w.chkThermFS1->isChecked()) << "0x0D bit 0 clear";
    EXPECT_FALSE(w.chkThermFS2->isChecked());
    EXPECT_EQ(w.txtMaxPWM->text(), "75");

    // 0x1A = 0xE9: bit 0, ramp 2 (bits 4:2), ramp 7 (bits 7:5); 0x1B = 0x36: bit 1, ramp 5, ramp 1.
    EXPECT_TRUE(w.chkEnEnhance[0]->isChecked());
    EXPECT_FALSE(w.chkEnEnhance[1]->isChecked());
    EXPECT_FALSE(w.chkEnEnhance[2]->isChecked());
    EXPECT_TRUE(w.chkEnEnhance[3]->isChecked());
    EXPECT_EQ(w.cmbRampRate[0]->currentText(), "11.8  sec");
    EXPECT_EQ(w.cmbRampRate[1]->currentText(), "0.8 sec");
    EXPECT_EQ(w.cmbRampRate[2]->currentText(), "3 sec");
    EXPECT_EQ(w.cmbRampRate[3]->currentText(), "17.6  sec");

    const std::vector<QString> sources{"Local", "Remote1", "Remote2", "Remote3"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.cmbControl[i]->currentText(), sources[i]);
        EXPECT_EQ(w.cmbSpinup[i]->currentText(), "100ms");
        EXPECT_FALSE(w.chkEnActiveLow[i]->isChecked()) << "bit 4 set is active high";
        EXPECT_FALSE(w.chk4xRampRate[i]->isChecked());
    }

    EXPECT_EQ(w.cmbLowFreq[0]->currentText(), "35.3Hz");
    EXPECT_EQ(w.cmbLowFreq[1]->currentText(), "35.3Hz");
    EXPECT_FALSE(w.chkMinSpeed[0]->isChecked());
    EXPECT_FALSE(w.chkMinSpeed[1]->isChecked());
    EXPECT_EQ(w.cmbLowFreq[2]->currentText(), "88.2Hz");
    EXPECT_TRUE(w.chkMinSpeed[3]->isChecked());

    std::vector<QString> minimums;
    for (const QLineEdit* box : w.txtMinPWM) minimums.push_back(box->text());
    EXPECT_EQ(minimums, (std::vector<QString>{"50", "0", "100", "0"}));
}

TEST_F(FanConfigWindowTest, OkWritesTheEighteenRegistersInOrderKeepingOnlyBitsOfOtherDialogs) {
    Poke({{0x07, 0x5A},
          {0x08, 0xF3},
          {0x01, 0x00},
          {0x02, 0xDB},
          {0x0D, 0x00},
          {0x2C, 0xC0},
          {0x1A, 0x6B},
          {0x1B, 0xFF},
          {0x21, 0xF8},
          {0x22, 0x04},
          {0x23, 0x97},
          {0x24, 0x60},
          {0x25, 0x1D},
          {0x26, 0xE2},
          {0x28, 0x80},
          {0x29, 0xFF},
          {0x2A, 0x01},
          {0x2B, 0x33}});
    OpenDialog();
    // Another window changes bits this dialog does not own while it is open: Apply reads
    // them afresh.
    Chip().Poke(0x01, 0xEF);
    Chip().Poke(0x0D, 0xFC);
    StartRecording();
    window->cmdOK->click();
    ExpectTraffic({W(0x07, 0x5A), W(0x08, 0x03),  // bits 4-7 belong to no box: written 0
                   R(0x01),       W(0x01, 0xEF), R(0x02),
                   W(0x02, 0xDB), W(0x2C, 0xBF),  // 0xC0 shows 75 %, and 75 % is 191.25
                   R(0x0D),       W(0x0D, 0xFC), W(0x1A, 0x6B),
                   W(0x1B, 0xFF), W(0x21, 0xF8), R(0x21),  // the post-write hook follows manual mode
                   W(0x22, 0x04), R(0x22),       W(0x23, 0x97),
                   R(0x23),       W(0x24, 0x60), R(0x24),
                   W(0x25, 0x1D), W(0x26, 0xE2), W(0x28, 0x80),  // 50 % is 127.5: to even, back to 128
                   W(0x29, 0xFF), W(0x2A, 0x00), W(0x2B, 0x33)});
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Find<frmFanConfig>(), nullptr);
    EXPECT_TRUE(gPWMManual[1]) << "0x21 = 0xF8 is manual mode";
    EXPECT_FALSE(gPWMManual[2]);
}

TEST_F(FanConfigWindowTest, TheUsersChangesLandInTheirBitsAndFields) {
    Poke({{0x01, 0x00},
          {0x02, 0x02},
          {0x0D, 0x00},
          {0x1A, 0x00},
          {0x21, 0x00},
          {0x25, 0x00},
          {0x26, 0x00},
          {0x28, 0x00},
          {0x29, 0x00}});
    frmFanConfig& w = OpenDialog();
    w.chkDisFastSpin->click();
    w.chkFastMeasure->click();
    w.chkVRD1->click();  // ticked means bit 3 clear
    Pick(*w.cmbTachPulses, 3);
    w.chkThermFS1->click();  // 0x0D bit 0 clear, so ticked: unticking sets it
    w.chkEnEnhance[1]->click();
    Pick(*w.cmbRampRate[0], 6);
    Pick(*w.cmbRampRate[1], 2);
    Pick(*w.cmbSpinup[0], 5);
    w.chk4xRampRate[0]->click();
    w.chkEnActiveLow[0]->click();  // ticked at load (bit 4 clear): unticking sets it
    Pick(*w.cmbControl[0], 7);
    w.chkMinSpeed[1]->click();
    Pick(*w.cmbLowFreq[1], 3);
    Pick(*w.cmbLowFreq[2], 1);
    Type(*w.txtMaxPWM, "80");
    w.minPwmSpinner[0]->StepAsUser(1);
    w.minPwmSpinner[1]->StepAsUser(-1);  // stays at 0

    StartRecording();
    w.cmdApply->click();
    const auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 18u);
    EXPECT_EQ(writes[2], W(0x01, 0x10));
    EXPECT_EQ(writes[3], W(0x02, 0xCB)) << "bit 1 kept; VRD2 still ticked: bit 4 clear";
    EXPECT_EQ(writes[4], W(0x2C, 204));
    EXPECT_EQ(writes[5], W(0x0D, 0x01)) << "unticking THERM1 full speed sets bit 0";
    EXPECT_EQ(writes[6], W(0x1A, 0x5A));
    EXPECT_EQ(writes[8], W(0x21, 0xFD));
    EXPECT_EQ(writes[12], W(0x25, 0x62));
    EXPECT_EQ(writes[13], W(0x26, 0x04));
    EXPECT_EQ(writes[14], W(0x28, 3)) << "1 % is 2.55";
    EXPECT_EQ(writes[15], W(0x29, 0));
    EXPECT_TRUE(gPWMManual[1]) << "Manual Mode is seen at once";
    EXPECT_NE(Find<frmFanConfig>(), nullptr) << "Apply leaves the dialog open";
}

TEST_F(FanConfigWindowTest, KeysOnAListOnlyEverPickOneOfItsItems) {
    Poke({{0x02, 0x40}, {0x21, 0x00}, {0x25, 0x00}});
    frmFanConfig& w = OpenDialog();
    // A typo cannot leave a text that matches no item, which would write the field as 0.
    QTest::keyClicks(w.cmbTachPulses, "5");
    EXPECT_EQ(w.cmbTachPulses->currentText(), "2") << "no item starts with 5";
    QTest::keyClicks(w.cmbControl[0], "Man");
    EXPECT_EQ(w.cmbControl[0]->currentText(), "Manual Mode");
    QTest::keyClicks(w.cmbSpinup[0], "4");
    EXPECT_EQ(w.cmbSpinup[0]->currentText(), "400ms");
    QTest::keyClicks(w.cmbLowFreq[1], "8");
    EXPECT_EQ(w.cmbLowFreq[1]->currentText(), "88.2Hz");
    for (const QComboBox* list : {w.cmbTachPulses, w.cmbControl[0], w.cmbSpinup[0], w.cmbLowFreq[1]})
        EXPECT_EQ(list->count(), list == w.cmbTachPulses ? 4 : 8) << "typing adds no item";

    StartRecording();
    w.cmdApply->click();
    const auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 18u);
    EXPECT_EQ(writes[3].value & 0xC0, 0x40);
    EXPECT_EQ(writes[8], W(0x21, 0xE3)) << "Manual Mode, 400ms";
    EXPECT_EQ(writes[12].value & 0xE0, 0xE0);
}

TEST_F(FanConfigWindowTest, PercentBoxesWriteTheirLeadingNumberWithinTheRegister) {
    frmFanConfig& w = OpenDialog();
    Type(*w.txtMaxPWM, "");
    Type(*w.txtMinPWM[0], "fifty");
    Type(*w.txtMinPWM[1], " 40.2 %");
    Type(*w.txtMinPWM[2], "-10");
    Type(*w.txtMinPWM[3], "150");

    StartRecording();
    w.cmdApply->click();
    const auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 18u);
    EXPECT_EQ(writes[4], W(0x2C, 0));
    EXPECT_EQ(writes[14], W(0x28, 0));
    EXPECT_EQ(writes[15], W(0x29, 103)) << "40.2 % is 102.51";
    EXPECT_EQ(writes[16], W(0x2A, 0)) << "below 0 % is no duty";
    EXPECT_EQ(writes[17], W(0x2B, 255)) << "above 100 % is full duty";
}

TEST_F(FanConfigWindowTest, EnableAllAndDisableAllOnlyTickTheBoxesUntilApply) {
    Chip().Poke(0x07, 0x3C);
    frmFanConfig& w = OpenDialog();
    StartRecording();
    w.cmdDisableAll->click();
    for (const QCheckBox* box : w.chkEnTach) EXPECT_FALSE(box->isChecked());
    w.cmdCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ExpectTraffic({});
    EXPECT_EQ(Find<frmFanConfig>(), nullptr);

    OpenDialog();
    EXPECT_TRUE(window->chkEnTach[2]->isChecked()) << "the next opening reads the chip afresh";
    window->cmdDisableAll->click();
    StartRecording();
    window->cmdApply->click();
    EXPECT_EQ(test::WritesOnly(Traffic()).front(), W(0x07, 0x00));

    window->cmdEnableAll->click();
    for (const QCheckBox* box : window->chkEnTach) EXPECT_TRUE(box->isChecked());
    window->chkEnTach[6]->click();
    StartRecording();
    window->cmdApply->click();
    EXPECT_EQ(test::WritesOnly(Traffic()).front(), W(0x07, 0xBF));
}

TEST_F(FanConfigWindowTest, AFailedTransferInApplyEndsTheProgram) {
    OpenDialog();
    ExpectFailedTransferEnds([&] { window->cmdApply_Click(); });
}

TEST_F(FanConfigWindowTest, EachTabIsTidyAtTheDialogsOwnSize) {
    frmFanConfig& w = OpenDialog();
    test::ExpectTidy(w, "fan-config");
}

}  // namespace
}  // namespace kestrum
