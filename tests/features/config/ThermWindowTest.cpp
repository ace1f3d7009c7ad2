#include "features/config/frmTherm.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "monitor/frmLimits.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

class ThermWindowTest : public test::WindowTest {
protected:
    frmTherm& OpenDialog() {
        window = &Open<frmTherm>();
        return *window;
    }
    // The chip's hysteresis bytes after the user types these four values and applies.
    std::vector<int32_t> HysteresisWritten(const std::vector<QString>& values) {
        for (size_t i = 0; i < values.size(); ++i) Type(*window->txtHyst[i], values[i]);
        StartRecording();
        window->cmdApply->click();
        const auto writes = test::WritesOnly(Traffic());
        EXPECT_EQ(writes.size(), 6u);
        if (writes.size() != 6u) return {};
        EXPECT_EQ(writes[4].reg, 0x54);
        EXPECT_EQ(writes[5].reg, 0x55);
        return {writes[4].value, writes[5].value};
    }
    QString CurrentTab(const frmLimits& limits) const {
        return limits.SSTab1->tabText(limits.SSTab1->currentIndex());
    }
    frmTherm* window = nullptr;
};

TEST_F(ThermWindowTest, OpensOnThreeTabsWithItsOddTextsAndReadsItsRegisters) {
    StartRecording();
    frmTherm& w = OpenDialog();
    ExpectTraffic({R(0x03), B(0x0D, 3), B(0x54, 2)});
    EXPECT_EQ(w.windowTitle(), "THERM Configuration");
    EXPECT_EQ(w.parentWidget()->size(), QSize(545, 398));  // 8175 x 5970 twips

    EXPECT_EQ(w.SSTab1->tabText(2), "THERM Hysteresis/Limits");
    for (const char* name : {"chkEnTH_1", "chkThermThreshold", "chkTHAssert_7", "cmbWindow_1", "txtHyst_3"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    // The assert boxes end in a blank; the last two timer windows are both "8".
    EXPECT_EQ(Control<QCheckBox>(w, "chkTHAssert_3").text(),
              "Assert THERM1 when Remote3 Temp exceeds Remote3 THERM Limit ");
    EXPECT_EQ(Control<QCheckBox>(w, "chkTHAssert_5").text(),
              "Assert THERM2 when Remote1 Temp exceeds Remote1 THERM Limit ");
    EXPECT_EQ(Items(*w.cmbWindow[1]), (QStringList{"0.25", "0.5", "1", "2", "4", "8", "8", "8"}));
    EXPECT_TRUE(w.SSTab1->widget(2)->isAncestorOf(w.cmdSetlimits));
    EXPECT_FALSE(w.SSTab1->isAncestorOf(w.cmdApply));
    EXPECT_EQ(&Control<UpDown>(w, "UpDown4").Buddy(), w.txtHyst[3]);
}

TEST_F(ThermWindowTest, LoadShowsTheChipAndApplyWithoutChangesWritesItBack) {
    for (const auto& [reg, value] :
         {std::pair{0x03, 0x10}, {0x0D, 0xFF}, {0x0E, 0xFF}, {0x0F, 0x4A}, {0x54, 0x53}, {0x55, 0xF0}})
        Chip().Poke(static_cast<uint8_t>(reg), static_cast<uint8_t>(value));
    frmTherm& w = OpenDialog();
    EXPECT_TRUE(w.chkThermThreshold->isChecked());
    EXPECT_EQ(w.cmbWindow[0]->currentText(), "8");
    EXPECT_EQ(w.cmbWindow[1]->currentText(), "8");
    EXPECT_TRUE(w.chkEnTH[0]->isChecked());
    EXPECT_FALSE(w.chkEnTH[1]->isChecked());
    std::vector<bool> asserts;
    for (const QCheckBox* box : w.chkTHAssert) asserts.push_back(box->isChecked());
    EXPECT_EQ(asserts, (std::vector<bool>{true, true, true, true, true, false, true, false}));
    std::vector<QString> hysteresis;
    for (const QLineEdit* box : w.txtHyst) hysteresis.push_back(box->text());
    EXPECT_EQ(hysteresis, (std::vector<QString>{"3", "5", "0", "15"}));

    // 0x03 and 0x0D are read afresh at Apply; 0x0E and 0x0F are rebuilt, their bits 7:5 written 0.
    Chip().Poke(0x03, 0x1F);
    StartRecording();
    w.cmdApply->click();
    ExpectTraffic({R(0x03), W(0x03, 0x1F), R(0x0D), W(0x0D, 0xFF), W(0x0E, 0x1F), W(0x0F, 0x0A),
                   W(0x54, 0x53), W(0x55, 0xF0)});

    // Unticking the threshold clears only its bit; 0x0D keeps bits 1:0 around the two windows.
    Chip().Poke(0x0D, 0x01);
    w.chkThermThreshold->click();
    Pick(*w.cmbWindow[0], 2);
    Pick(*w.cmbWindow[1], 0);
    StartRecording();
    w.cmdOK->click();
    const auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[0], W(0x03, 0x0F));
    EXPECT_EQ(writes[1], W(0x0D, 0x09));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Find<frmTherm>(), nullptr);
}

TEST_F(ThermWindowTest, EveryMatchingTimerWindowIsOredInSoEightWritesSeven) {
    Chip().Poke(0x0D, 0x00);
    frmTherm& w = OpenDialog();
    const auto written0D = [&] {
        StartRecording();
        w.cmdApply->click();
        return test::WritesOnly(Traffic())[1].value;
    };
    Pick(*w.cmbWindow[0], 5);  // the first "8"
    EXPECT_EQ(written0D(), 7 << 2);
    Pick(*w.cmbWindow[0], 4);
    Pick(*w.cmbWindow[1], 7);  // the last "8"
    EXPECT_EQ(written0D(), (4 << 2) | (7 << 5));
    // The lists take keys only as a choice of an item: none holds a text of its own.
    QTest::keyClicks(w.cmbWindow[0], "16");
    QTest::keyClicks(w.cmbWindow[1], "0.5");
    EXPECT_EQ(w.cmbWindow[0]->currentText(), "1");
    EXPECT_EQ(w.cmbWindow[1]->currentText(), "0.5");
    EXPECT_EQ(written0D(), (2 << 2) | (1 << 5));
}

TEST_F(ThermWindowTest, EachHysteresisIsRoundedAndKeptToItsOwnNibble) {
    Chip().Poke(0x54, 0x00);
    Chip().Poke(0x55, 0x00);
    OpenDialog();
    EXPECT_EQ(HysteresisWritten({"3", "5", "4", "6"}), (std::vector<int32_t>{0x53, 0x64}));
    EXPECT_EQ(HysteresisWritten({"", "x", "15", "15"}), (std::vector<int32_t>{0x00, 0xFF}));
    // Halves round to even before the value is put in its four bits.
    EXPECT_EQ(HysteresisWritten({"3.5", "2.5", "0.5", "1.5"}), (std::vector<int32_t>{0x24, 0x20}));
    // A value past 15 keeps its low four bits and leaves the neighbour alone.
    EXPECT_EQ(HysteresisWritten({"20", "1", "2", "16"}), (std::vector<int32_t>{0x14, 0x02}));
    EXPECT_EQ(HysteresisWritten({"0", "31", "255", "0"}), (std::vector<int32_t>{0xF0, 0x0F}));
    EXPECT_EQ(HysteresisWritten({"1e12", "0", "0", "0"}), (std::vector<int32_t>{0x0F, 0x00}))
        << "saturated first";

    // The spinners stay within 0..15 and count as typing.
    Type(*window->txtHyst[0], "14");
    window->hystSpinner[0]->StepAsUser(1);
    window->hystSpinner[0]->StepAsUser(1);
    EXPECT_EQ(window->txtHyst[0]->text(), "15");
    window->hystSpinner[3]->StepAsUser(-1);
    EXPECT_EQ(window->txtHyst[3]->text(), "0");
}

TEST_F(ThermWindowTest, AssertBoxesAndTimerEnablesBuildTheirRegistersFromZero) {
    Chip().Poke(0x0E, 0xE0);
    Chip().Poke(0x0F, 0x00);
    frmTherm& w = OpenDialog();
    w.chkEnTH[1]->click();
    w.chkTHAssert[2]->click();
    w.chkTHAssert[7]->click();
    StartRecording();
    w.cmdApply->click();
    const auto writes = test::WritesOnly(Traffic());
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[2], W(0x0E, 0x08));
    EXPECT_EQ(writes[3], W(0x0F, 0x11));
}

TEST_F(ThermWindowTest, CancelWritesNothing) {
    frmTherm& w = OpenDialog();
    w.chkThermThreshold->click();
    Type(*w.txtHyst[1], "9");
    StartRecording();
    w.cmdCancel->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ExpectTraffic({});
    EXPECT_EQ(Find<frmTherm>(), nullptr);
}

TEST_F(ThermWindowTest, SetThermLimitsOpensTheLimitsWindowOrBringsItForwardOnItsThermLimitsTab) {
    frmTherm& w = OpenDialog();
    ASSERT_EQ(Find<frmLimits>(), nullptr);
    StartRecording();
    w.cmdSetlimits->click();
    QApplication::processEvents();
    frmLimits* limits = Find<frmLimits>();
    ASSERT_NE(limits, nullptr);
    EXPECT_TRUE(test::WritesOnly(Traffic()).empty()) << "opening the Limits window only reads";
    EXPECT_FALSE(Traffic().empty()) << "a closed Limits window loads";
    EXPECT_EQ(CurrentTab(*limits), "THERM Limits");
    EXPECT_EQ(area->activeSubWindow(), limits->parentWidget());
    EXPECT_NE(Find<frmTherm>(), nullptr) << "the THERM dialog stays open";

    // Open on another tab and behind the THERM dialog: brought forward, not loaded again.
    limits->SelectTab(frmLimits::kFanTab);
    manager->Activate(w);
    ASSERT_EQ(area->activeSubWindow(), w.parentWidget());
    StartRecording();
    w.cmdSetlimits->click();
    QApplication::processEvents();
    ExpectTraffic({});
    EXPECT_EQ(Find<frmLimits>(), limits);
    EXPECT_EQ(CurrentTab(*limits), "THERM Limits");
    EXPECT_EQ(area->activeSubWindow(), limits->parentWidget());
}

TEST_F(ThermWindowTest, AFailedTransferInLoadEndsTheProgram) {
    OpenDialog();
    ExpectFailedTransferEnds([&] { window->Form_Load(); });
}

TEST_F(ThermWindowTest, EachTabIsTidyAtTheDialogsOwnSize) {
    frmTherm& w = OpenDialog();
    test::ExpectTidy(w, "therm-config");
}

}  // namespace
}  // namespace kestrum
