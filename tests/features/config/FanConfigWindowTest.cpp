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
#include <array>
#include <string>
#include <utility>
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
    // The dialog's eighteen registers, in the order it writes them.
    void Poke(const std::vector<int>& values) {
        static constexpr std::array<uint8_t, 18> kRegisters{0x07, 0x08, 0x01, 0x02, 0x0D, 0x2C,
                                                            0x1A, 0x1B, 0x21, 0x22, 0x23, 0x24,
                                                            0x25, 0x26, 0x28, 0x29, 0x2A, 0x2B};
        for (size_t i = 0; i < values.size(); ++i)
            Chip().Poke(kRegisters[i], static_cast<uint8_t>(values[i]));
    }
    void Poke(std::initializer_list<std::pair<int, int>> registers) {
        for (const auto& [reg, value] : registers)
            Chip().Poke(static_cast<uint8_t>(reg), static_cast<uint8_t>(value));
    }
    template <typename Box>
    static std::vector<bool> Ticked(const Box& boxes) {
        std::vector<bool> ticked;
        for (const QCheckBox* box : boxes) ticked.push_back(box->isChecked());
        return ticked;
    }
    frmFanConfig* window = nullptr;
};

TEST_F(FanConfigWindowTest, OpensOnSixTabsWithItsOddTextsAndReadsTheChipInBlocks) {
    StartRecording();
    frmFanConfig& w = OpenDialog();
    ExpectTraffic({B(0x07, 2), B(0x01, 2), R(0x0D), R(0x2C), B(0x1A, 2), B(0x21, 4), B(0x25, 2), B(0x28, 4)});
    EXPECT_EQ(w.windowTitle(), "Fan Configuration");
    EXPECT_EQ(w.parentWidget()->size(), QSize(514, 416));  // 7710 x 6240 twips
    EXPECT_EQ(w.SSTab1->count(), 6);
    EXPECT_EQ(w.SSTab1->tabText(5), "Tachs");
    for (const char* name :
         {"Frame1", "Frame2_3", "Frame6", "chkEnCont_3", "chkEnEnhance_3", "Label2_3", "Label4_3",
          "chk4xRampRate_3", "chkEnActiveLow_3", "Label5_3", "chkMinSpeed_3", "Label6_3", "Label8_3",
          "chkEnTach_7", "cmdEnableAll", "cmdDisableAll", "UpDown5"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    // Blanks at the end and doubled inside are kept.
    EXPECT_EQ(w.chkFastMeasure->text(), "Fast Fan Speed Measurement ");
    EXPECT_EQ(w.chkVRD2->text(), "Enable VRD2  Boost");
    EXPECT_EQ(Control<QLabel>(w, "Label6_0").text(), "Low  Frequency Selection");
    EXPECT_EQ(w.chkEnCont[3]->text(), "Enable Continuous Readings on Tach4/Tach8 (Low Freq. Mode)");
    EXPECT_EQ(Items(*w.cmbRampRate[3]), (QStringList{"35 sec", "17.6  sec", "11.8  sec", "7 sec", "4.4 sec",
                                                     "3 sec", "1.6 sec", "0.8 sec"}));
    // Each PWM tab holds its own output's controls.
    EXPECT_TRUE(w.SSTab1->widget(3)->isAncestorOf(w.cmbControl[2]));
    EXPECT_TRUE(w.SSTab1->widget(4)->isAncestorOf(w.txtMinPWM[3]));
    EXPECT_EQ(&Control<UpDown>(w, "UpDown5").Buddy(), w.txtMinPWM[3]);
}

TEST_F(FanConfigWindowTest, LoadShowsEveryFieldDirectInvertedOrAsListItemAndPercent) {
    Poke({0xA5, 0xF6, 0x10, 0x99, 0xFE, 0xC0, 0xE9, 0x36, 0x11, 0x31, 0x51, 0x71, 0x90, 0xFF, 0x80, 0x00,
          0xFF, 0x01});
    frmFanConfig& w = OpenDialog();
    EXPECT_EQ(Ticked(w.chkEnTach), (std::vector<bool>{true, false, true, false, false, true, false, true}));
    EXPECT_EQ(Ticked(w.chkEnCont), (std::vector<bool>{false, true, true, false}))
        << "bits 4-7 of 0x08 show nowhere";
    EXPECT_TRUE(w.chkDisFastSpin->isChecked());
    // 0x02 = 0x99: bits 0, 3, 4, 7 set; the VRD boxes are ticked while their bits are clear.
    EXPECT_EQ(Ticked(std::vector<QCheckBox*>{w.chkFastMeasure, w.chkPWMMode, w.chkVRD1, w.chkVRD2,
                                             w.chkFullSpeed, w.chkThermFS1, w.chkThermFS2}),
              (std::vector<bool>{true, false, false, false, false, true, false}))
        << "0x0D bit 0 clear ticks THERM1 full speed";
    EXPECT_EQ(w.cmbTachPulses->currentText(), "3");
    EXPECT_EQ(w.txtMaxPWM->text(), "75");

    // 0x1A = 0xE9: bit 0, ramp 2 (bits 4:2), ramp 7 (bits 7:5); 0x1B = 0x36: bit 1, ramp 5, ramp 1.
    EXPECT_EQ(Ticked(w.chkEnEnhance), (std::vector<bool>{true, false, false, true}));
    std::vector<QString> shown;
    for (int i = 0; i < 4; ++i) shown.push_back(w.cmbRampRate[i]->currentText());
    EXPECT_EQ(shown, (std::vector<QString>{"11.8  sec", "0.8 sec", "3 sec", "17.6  sec"}));
    const std::vector<QString> sources{"Local", "Remote1", "Remote2", "Remote3"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.cmbControl[i]->currentText(), sources[i]);
        EXPECT_EQ(w.cmbSpinup[i]->currentText(), "100ms");
    }
    EXPECT_EQ(Ticked(w.chkEnActiveLow), std::vector<bool>(4, false)) << "bit 4 set is active high";
    EXPECT_EQ(Ticked(w.chk4xRampRate), std::vector<bool>(4, false));
    EXPECT_EQ(w.cmbLowFreq[0]->currentText(), "35.3Hz");
    EXPECT_EQ(w.cmbLowFreq[1]->currentText(), "35.3Hz");
    EXPECT_EQ(w.cmbLowFreq[2]->currentText(), "88.2Hz");
    EXPECT_EQ(Ticked(w.chkMinSpeed), (std::vector<bool>{false, false, true, true}));
    shown.clear();
    for (const QLineEdit* box : w.txtMinPWM) shown.push_back(box->text());
    EXPECT_EQ(shown, (std::vector<QString>{"50", "0", "100", "0"}));
}

TEST_F(FanConfigWindowTest, OkWritesTheEighteenRegistersInOrderKeepingOnlyBitsOfOtherDialogs) {
    Poke({0x5A, 0xF3, 0x00, 0xDB, 0x00, 0xC0, 0x6B, 0xFF, 0xF8, 0x04, 0x97, 0x60, 0x1D, 0xE2, 0x80, 0xFF,
          0x01, 0x33});
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
    Poke({{0x01, 0x00}, {0x02, 0x02}, {0x0D, 0x00}, {0x1A, 0x00}, {0x21, 0x00}});
    Poke({{0x25, 0x00}, {0x26, 0x00}, {0x28, 0x00}, {0x29, 0x00}});
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

TEST_F(FanConfigWindowTest, KeysOnAListPickOnlyItsItemsAndPercentBoxesStayWithinTheRegister) {
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
    EXPECT_EQ(w.cmbControl[0]->count(), 8) << "typing adds no item";

    StartRecording();
    w.cmdApply->click();
    auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 18u);
    EXPECT_EQ(writes[3].value & 0xC0, 0x40);
    EXPECT_EQ(writes[8], W(0x21, 0xE3)) << "Manual Mode, 400ms";
    EXPECT_EQ(writes[12].value & 0xE0, 0xE0);

    // The percent boxes write their leading number, kept within the register.
    Type(*w.txtMaxPWM, "");
    Type(*w.txtMinPWM[0], "fifty");
    Type(*w.txtMinPWM[1], " 40.2 %");
    Type(*w.txtMinPWM[2], "-10");
    Type(*w.txtMinPWM[3], "150");
    StartRecording();
    w.cmdApply->click();
    writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 18u);
    EXPECT_EQ(writes[4], W(0x2C, 0));
    EXPECT_EQ(writes[14], W(0x28, 0));
    EXPECT_EQ(writes[15], W(0x29, 103)) << "40.2 % is 102.51";
    EXPECT_EQ(writes[16], W(0x2A, 0)) << "below 0 % is no duty";
    EXPECT_EQ(writes[17], W(0x2B, 255)) << "above 100 % is full duty";
}

TEST_F(FanConfigWindowTest, EnableAllAndDisableAllOnlyTickTheBoxesUntilApplyAndCancelWritesNothing) {
    Chip().Poke(0x07, 0x3C);
    frmFanConfig& w = OpenDialog();
    StartRecording();
    w.cmdDisableAll->click();
    EXPECT_EQ(Ticked(w.chkEnTach), std::vector<bool>(8, false));
    ExpectTraffic({});
    w.cmdApply->click();
    EXPECT_EQ(test::WritesOnly(Traffic()).front(), W(0x07, 0x00));

    w.cmdEnableAll->click();
    EXPECT_EQ(Ticked(w.chkEnTach), std::vector<bool>(8, true));
    w.chkEnTach[6]->click();
    StartRecording();
    w.cmdApply->click();
    EXPECT_EQ(test::WritesOnly(Traffic()).front(), W(0x07, 0xBF));

    w.cmdDisableAll->click();
    StartRecording();
    w.cmdCancel->click();
    ExpectTraffic({});
    EXPECT_EQ(Find<frmFanConfig>(), nullptr);
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
