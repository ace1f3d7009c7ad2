#include "features/config/frmPinConfig.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <tuple>
#include <vector>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "features/config/frmGPIO.h"
#include "monitor/frmLimits.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/Controls.h"

namespace kestrum {
namespace {

using test::Access;
using test::B;
using test::R;
using test::SwitchWrite;
using test::W;

// Stands in for the GPIO window: loaded, it sets gGPIOFormOpen and installs its status
// refresh as the master timer's GPIO task, and notes how much traffic preceded each refresh.
class GpioStandIn final : public ChildWindow {
public:
    GpioStandIn() {
        SetFormOpenFlag(gGPIOFormOpen);
        KeepTimerTask(
            TaskAttachment::Window(WindowTask::Gpio, [this] { refreshedAfter.push_back(traffic()); }));
    }
    std::function<size_t()> traffic;
    std::vector<size_t> refreshedAfter;
};

struct Registers {
    int32_t config1, config2, config3, config4, easy;
};

class PinConfigWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        InitBoardIO();  // the switches' start state, as start-up leaves them
    }

    frmPinConfig& OpenWith(const Registers& regs) {
        DecodePinConfig(static_cast<uint8_t>(regs.config1), static_cast<uint8_t>(regs.config2),
                        static_cast<uint8_t>(regs.config3), static_cast<uint8_t>(regs.config4));
        Chip().Poke(0x14, static_cast<uint8_t>(regs.easy));
        StartRecording();
        window = &Open<frmPinConfig>();
        return *window;
    }

    // What a pin-configuration write brings with it: the decode and both switch devices.
    std::vector<Access> WriteAndFollow(int32_t reg, int32_t value) const {
        return {W(reg, value), B(0x10, 4), SwitchWrite(0x4A, PackBoardFlags(0)),
                SwitchWrite(0x48, PackBoardFlags(1))};
    }
    std::vector<Access> ApplyTraffic(int32_t c1, int32_t c2, int32_t c3, int32_t c4) const {
        std::vector<Access> all;
        for (const auto& [reg, value] : {std::pair{0x10, c1}, {0x11, c2}, {0x12, c3}, {0x13, c4}}) {
            std::vector<Access> one = WriteAndFollow(reg, value);
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    }
    std::vector<int32_t> WrittenPinConfig() const {
        std::vector<int32_t> values;
        for (const Access& write : test::WritesOnly(Traffic())) values.push_back(write.value);
        return values;
    }

    std::vector<QComboBox*> AllLists() const {
        const frmPinConfig& w = *window;
        return {w.cmbPins1234_31_32, w.cmbPins1516, w.cmbPins1920, w.cmbPin1,  w.cmbPin2,  w.cmbPin3,
                w.cmbPin4,           w.cmbPin7,     w.cmbPin8,     w.cmbPin13, w.cmbPin15, w.cmbPin20,
                w.cmbPin21,          w.cmbPin22,    w.cmbPin23,    w.cmbPin24, w.cmbPin25, w.cmbPin26,
                w.cmbPin27,          w.cmbPin28,    w.cmbPin29,    w.cmbPin31, w.cmbPin32};
    }
    // The indexes of the details lists the user can see (on the Easy Configuration tab).
    std::vector<int> ShownDetails() const {
        std::vector<int> shown;
        for (int i = 0; i < 5; ++i)
            if (!window->List1[i]->isHidden()) shown.push_back(i);
        return shown;
    }
    std::vector<int> SelectedOptions() const {
        std::vector<int> selected;
        for (int i = 0; i < 5; ++i)
            if (window->optEasy[i]->isChecked()) selected.push_back(i);
        return selected;
    }

    frmPinConfig* window = nullptr;
};

constexpr Registers kAllZero{0x00, 0x00, 0x00, 0x00, 0x00};

TEST_F(PinConfigWindowTest, OpensOnTheEasyTabWithItsOddTextsAndOnlyReadsTheChip) {
    frmPinConfig& w = OpenWith(kAllZero);
    ExpectTraffic({B(0x10, 5)});
    EXPECT_EQ(w.windowTitle(), "Pin Configuration");
    EXPECT_EQ(w.parentWidget()->size(), QSize(520, 474));  // 7800 x 7110 twips
    EXPECT_EQ(w.SSTab1->tabText(1), "Individual Pin Configuration");
    EXPECT_EQ(w.SSTab1->currentIndex(), 0);
    for (const char* name : {"optEasy_0", "optEasy_4", "List1_0", "List1_4", "cmdEasyApply", "cmdClose_0",
                             "cmdApply", "cmdClose_1", "lblPin_10", "lblPin_23"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(w.findChild<QLabel*>("lblPin_11"), nullptr);
    EXPECT_EQ(w.optEasy[4]->text(), "Easy Option5");
    EXPECT_EQ(Items(*w.List1[2]).join('|'),
              "2 Thermal Channels (Remote + Local)|3 PWM Drive Channels|4 Tach Inputs|15 Voltage Inputs|"
              "2 SCSI Termination Inputs|Chassis Intrusion Detecttion");
    EXPECT_EQ(w.List1[3]->item(1)->text(), "4 PWM Drive Channels");
    EXPECT_EQ(w.List1[4]->item(1)->text(), "3 PWM Drive Channels");

    // Labels with and without a blank; lists whose last two items are the same.
    const std::vector<std::tuple<int, QString, QString>> lists{
        {0, "Pin1", "GPIO1|Tach1 I/P"},
        {10, "VID Enable", "VIDs Enabled|VIDs Disabled"},
        {12, "Pin 19", "+1.25V|+0.9V"},
        {17, "Pin 25", "+3.3V|+1.2V1 Gbit|VR_Hot1|VR_Hot1"},
        {20, "Pin 28", "GPIO 7|+1.5V2 (ICH)|THERM 1|THERM 1"},
    };
    for (const auto& [index, caption, items] : lists) {
        const QLabel& label = Control<QLabel>(w, ElementName("lblPin", index));
        EXPECT_EQ(label.text(), caption);
        const auto* list = qobject_cast<const QComboBox*>(label.buddy());
        ASSERT_NE(list, nullptr) << caption.toStdString();
        EXPECT_EQ(Items(*list).join('|'), items) << caption.toStdString();
    }
}

TEST_F(PinConfigWindowTest, GroupListsLockTheirPinsYetApplyStillWritesTheLockedLists) {
    // VIDs on pins 1-4, 31 and 32, whose own lists still say tach and PWM.
    frmPinConfig& w = OpenWith({0x9E, 0x00, 0x00, 0x0C, 0x00});
    const std::vector<QWidget*> vidPins{w.cmbPin1,   w.cmbPin2,   w.cmbPin3,    w.cmbPin4,
                                        w.cmbPin31,  w.cmbPin32,  w.lblPin[0],  w.lblPin[1],
                                        w.lblPin[2], w.lblPin[3], w.lblPin[22], w.lblPin[23]};
    auto enabled = [](const std::vector<QWidget*>& controls) {
        std::vector<bool> states;
        for (const QWidget* control : controls) states.push_back(control->isEnabled());
        return states;
    };
    EXPECT_EQ(w.cmbPins1234_31_32->currentText(), "VIDs Enabled");
    EXPECT_EQ(enabled(vidPins), std::vector<bool>(12, false));
    EXPECT_TRUE(w.cmbPin7->isEnabled());
    EXPECT_TRUE(w.cmbPin15->isEnabled());

    StartRecording();
    w.cmdApply->click();
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x9E, 0x00, 0x00, 0x0C}));
    EXPECT_NE(Find<frmPinConfig>(), nullptr) << "Apply leaves the dialog open";

    StartRecording();
    Pick(*w.cmbPins1234_31_32, 1);
    EXPECT_EQ(w.cmbPins1234_31_32->currentText(), "VIDs Disabled");
    EXPECT_EQ(enabled(vidPins), std::vector<bool>(12, true));
    Pick(*w.cmbPin3, 0);
    Pick(*w.cmbPins1234_31_32, 0);
    EXPECT_EQ(enabled(vidPins), std::vector<bool>(12, false));
    Pick(*w.cmbPin4, 0);
    EXPECT_EQ(w.cmbPin4->currentText(), "Tach4 I/P") << "a locked list takes no pick";
    EXPECT_TRUE(Traffic().empty()) << "picking writes nothing";
    w.cmdApply->click();
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x9A, 0x00, 0x00, 0x0C}));

    // Each remote diode locks its pin's voltage list and its label.
    Close(w);
    OpenWith({0x40, 0x30, 0x00, 0x00, 0x00});
    EXPECT_EQ(
        enabled({window->cmbPin15, window->lblPin[7], window->cmbPin20, window->lblPin[12], window->cmbPin1}),
        (std::vector<bool>{false, false, true, true, true}));
    Pick(*window->cmbPins1516, 1);
    Pick(*window->cmbPins1920, 0);
    EXPECT_EQ(enabled({window->cmbPin15, window->lblPin[7], window->cmbPin20, window->lblPin[12]}),
              (std::vector<bool>{true, true, false, false}));
    StartRecording();
    window->cmdApply->click();
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x20, 0x30, 0x00, 0x00}))
        << "the locked pin 20 list keeps its 0.9 V";

    // A reload brings the locks in line with the chip.
    Chip().Poke(0x10, 0xE0);  // VIDs and both diodes
    window->cmdEasyApply->click();
    EXPECT_EQ(enabled({window->cmbPin1, window->cmbPin15, window->cmbPin20}), std::vector<bool>(3, false));
    Chip().Poke(0x10, 0x00);
    window->cmdEasyApply->click();
    EXPECT_EQ(enabled({window->cmbPin1, window->cmbPin15, window->cmbPin20}), std::vector<bool>(3, true));
}

TEST_F(PinConfigWindowTest, SharedTextsWriteBothFieldBitsAndUnlistedBitsAreWrittenZero) {
    // Pin 25 at field 2, pin 23 at +1.5V; 0x12 bit 0 and 0x13 bits 1:0 belong to no list.
    frmPinConfig& w = OpenWith({0x00, 0x03, 0x21, 0x03, 0x00});
    EXPECT_EQ(w.cmbPin25->currentText(), "VR_Hot1");
    EXPECT_EQ(w.cmbPin23->currentText(), "+1.5V");
    StartRecording();
    w.cmdApply->click();
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x00, 0x03, 0x30, 0x00}));

    // Whichever of the two the user picks, both bits are written.
    Pick(*w.cmbPin26, 2);
    Pick(*w.cmbPin28, 3);
    Pick(*w.cmbPin29, 2);
    Pick(*w.cmbPin24, 2);
    Pick(*w.cmbPin27, 1);
    Pick(*w.cmbPin32, 1);
    EXPECT_EQ(w.cmbPin26->currentText(), "VR_Hot2");
    StartRecording();
    w.cmdApply->click();
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x00, 0x03, 0xBE, 0xF4}));
    EXPECT_EQ(Chip().Peek(0x12), 0xBE);
}

TEST_F(PinConfigWindowTest, EachListWritesItsOwnBitOrField) {
    frmPinConfig& w = OpenWith({0x00, 0x00, 0x00, 0x00, 0x00});
    // The one bit or field value each list's other item sets, with every other bit 0; the
    // group lists set theirs for item 0 (VIDs, diodes).
    const std::vector<std::tuple<QComboBox*, int32_t, int32_t>> bits{
        {w.cmbPin1, 0x10, 0x10},     {w.cmbPin2, 0x10, 0x08},    {w.cmbPin3, 0x10, 0x04},
        {w.cmbPin4, 0x10, 0x02},     {w.cmbPin7, 0x10, 0x01},    {w.cmbPin8, 0x11, 0x80},
        {w.cmbPin13, 0x11, 0x40},    {w.cmbPin15, 0x11, 0x20},   {w.cmbPin20, 0x11, 0x10},
        {w.cmbPin21, 0x11, 0x08},    {w.cmbPin22, 0x11, 0x04},   {w.cmbPin23, 0x11, 0x01},
        {w.cmbPin24, 0x12, 0x40},    {w.cmbPin25, 0x12, 0x10},   {w.cmbPin26, 0x12, 0x04},
        {w.cmbPin27, 0x12, 0x02},    {w.cmbPin28, 0x13, 0x40},   {w.cmbPin29, 0x13, 0x10},
        {w.cmbPin31, 0x13, 0x08},    {w.cmbPin32, 0x13, 0x04},   {w.cmbPins1234_31_32, 0x10, 0x80},
        {w.cmbPins1516, 0x10, 0x40}, {w.cmbPins1920, 0x10, 0x20}};
    for (const auto& [list, reg, value] : bits) {
        const int before = list->currentIndex();
        Pick(*list, 1 - before);
        StartRecording();
        w.cmdApply->click();
        std::vector<int32_t> written(4, 0);
        written[reg - 0x10] = value;
        EXPECT_EQ(WrittenPinConfig(), written) << list->objectName().toStdString();
        Pick(*list, before);
    }
}

TEST_F(PinConfigWindowTest, TheSelectedOptionAloneShowsItsDetails) {
    frmPinConfig& w = OpenWith({0x00, 0x00, 0x00, 0x00, 0x05});
    EXPECT_EQ(SelectedOptions(), std::vector<int>{2}) << "the highest set bit stays selected";
    EXPECT_EQ(ShownDetails(), std::vector<int>{2});
    for (int i : {4, 0, 3, 1}) {
        w.optEasy[i]->click();
        EXPECT_EQ(SelectedOptions(), std::vector<int>{i});
        EXPECT_EQ(ShownDetails(), std::vector<int>{i});
    }
    ExpectTraffic({B(0x10, 5)});  // choosing an option writes nothing
}

TEST_F(PinConfigWindowTest, EasyApplyWritesTheOptionAndReloadsWhatTheChipReports) {
    frmPinConfig& w = OpenWith({0x00, 0x00, 0x00, 0x00, 0x00});
    Pick(*w.cmbPin13, 1);  // a change the user does not apply
    w.optEasy[3]->click();
    // The chip answers Easy Config with its own layout.
    DecodePinConfig(0x7F, 0xCE, 0x42, 0xFC);
    StartRecording();
    w.cmdEasyApply->click();
    std::vector<Access> expected = WriteAndFollow(0x14, 0x08);
    expected.push_back(B(0x10, 5));
    ExpectTraffic(expected);
    EXPECT_EQ(w.cmbPin13->currentText(), "PWM4");
    EXPECT_EQ(w.cmbPins1234_31_32->currentText(), "VIDs Disabled");
    EXPECT_EQ(w.cmbPin23->currentText(), "+1.8V");
    EXPECT_EQ(w.cmbPin28->currentText(), "THERM 1");
    EXPECT_EQ(SelectedOptions(), std::vector<int>{3});
    EXPECT_EQ(ShownDetails(), std::vector<int>{3});
    EXPECT_EQ(gPinFunction[28], 2) << "the write's hook decoded the chip's layout";

    // With no option selected, Easy Config is written 0.
    Close(w);
    OpenWith(kAllZero);
    StartRecording();
    window->cmdEasyApply->click();
    expected = WriteAndFollow(0x14, 0x00);
    expected.push_back(B(0x10, 5));
    ExpectTraffic(expected);
    EXPECT_TRUE(SelectedOptions().empty());
    EXPECT_TRUE(ShownDetails().empty()) << "no option, no details";
}

// Apply refreshes the Limits window and the GPIO window, Easy apply only the Limits
// window, and only those that are open; neither is ever opened here.
TEST_F(PinConfigWindowTest, TheOpenLimitsAndGpioWindowsAreRefreshedAfterTheWrites) {
    for (const bool limitsOpen : {false, true}) {
        for (const bool gpioOpen : {false, true}) {
            for (const bool easy : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "limits " << limitsOpen << " gpio " << gpioOpen << " easy " << easy);
                frmLimits* limits = limitsOpen ? &Open<frmLimits>() : nullptr;
                GpioStandIn* gpio = gpioOpen ? &Open<GpioStandIn>() : nullptr;
                if (gpio != nullptr) gpio->traffic = [this] { return Traffic().size(); };
                frmPinConfig& w = OpenWith({0x00, 0x00, 0x00, 0x00, 0x00});
                Pick(*w.cmbPin23, 2);

                // What the Limits window reads when it loads for the new pins, found by loading it.
                std::vector<Access> limitsLoad;
                if (limits != nullptr) {
                    if (!easy) ChipWrite(0x11, 0x02);
                    StartRecording();
                    limits->Form_Load();
                    limitsLoad = Traffic();
                    ChipWrite(0x11, 0x00);
                }

                StartRecording();
                std::vector<Access> expected;
                if (easy) {
                    w.cmdEasyApply->click();
                    expected = WriteAndFollow(0x14, 0x00);
                    expected.push_back(B(0x10, 5));
                } else {
                    w.cmdApply->click();
                    expected = ApplyTraffic(0x00, 0x02, 0x00, 0x00);
                }
                const size_t ownTraffic = expected.size();
                expected.insert(expected.end(), limitsLoad.begin(), limitsLoad.end());
                ExpectTraffic(expected);
                if (limits != nullptr && !easy) {
                    EXPECT_TRUE(limits->lblVolt[7]->text().startsWith("1.8V"))
                        << "rebuilt for the new pin 23";
                }

                EXPECT_EQ(Find<frmLimits>() != nullptr, limitsOpen) << "never opened here";
                if (gpio != nullptr) {
                    const std::vector<size_t> refreshes =
                        easy ? std::vector<size_t>{} : std::vector<size_t>{ownTraffic + limitsLoad.size()};
                    EXPECT_EQ(gpio->refreshedAfter, refreshes)
                        << "once, after the writes and the Limits load";
                }
                EXPECT_EQ(Find<GpioStandIn>() != nullptr, gpioOpen);
                manager->UnloadAll();
                QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
        }
    }
}

// With the real GPIO window: Apply shows at once which lines the new pins route.
TEST_F(PinConfigWindowTest, ApplyShowsTheNewRoutingInTheOpenGpioWindowAtOnce) {
    DecodePinConfig(0x00, 0x00, 0x00, 0x00);  // every GPIO line on its pin
    const frmGPIO& gpio = Open<frmGPIO>();
    auto routed = [&] {
        std::vector<bool> ticked;
        for (const QCheckBox* box : gpio.chkPinEn) ticked.push_back(box->isChecked());
        return ticked;
    };
    ASSERT_EQ(routed(), std::vector<bool>(8, true));

    frmPinConfig& w = OpenWith(kAllZero);
    w.SSTab1->setCurrentIndex(1);
    Pick(*w.cmbPin1, "Tach1 I/P");
    Pick(*w.cmbPin28, "THERM 1");
    StartRecording();
    w.cmdApply->click();
    // Tach 1 moves a switch of device 0x48 at the first write, THERM 1 one of 0x4A at the
    // last; then the GPIO window reads its lines.
    std::vector<Access> expected;
    for (const auto& [reg, value, bank0] :
         {std::tuple{0x10, 0x10, 0x03}, {0x11, 0x00, 0x03}, {0x12, 0x00, 0x03}, {0x13, 0xC0, 0x07}})
        for (const Access& access :
             {W(reg, value), B(0x10, 4), SwitchWrite(0x4A, bank0), SwitchWrite(0x48, 0xF1)})
            expected.push_back(access);
    for (const Access& refresh : {B(0x09, 2), R(0xBF)}) expected.push_back(refresh);
    ExpectTraffic(expected);
    EXPECT_EQ(routed(), (std::vector<bool>{false, true, true, true, true, true, false, true}));
}

TEST_F(PinConfigWindowTest, AfterApplyTheDecodeAndBoardSwitchesFollowTheNewPins) {
    frmPinConfig& w = OpenWith(kAllZero);
    ASSERT_TRUE(gVoltageInUse[0]);
    Pick(*w.cmbPin7, 1);   // Tach 5 instead of 12V1
    Pick(*w.cmbPin1, 1);   // Tach 1: switch bank 1 bit 0
    Pick(*w.cmbPin28, 2);  // THERM 1: switch bank 0 bit 2
    Pick(*w.cmbPin31, 1);  // PWM 1: switch bank 0 bit 4
    Pick(*w.cmbPins1516, 0);
    StartRecording();
    w.cmdApply->click();
    EXPECT_FALSE(gVoltageInUse[0]);
    EXPECT_FALSE(gVoltageInUse[3]) << "pin 15 carries the Remote 1 diode";
    EXPECT_TRUE(gRemote1Enabled);
    EXPECT_EQ(gPinFunction[28], 2);
    EXPECT_EQ(gLogChannel[4].Available, 1.0f);
    EXPECT_EQ(gLogChannel[8].Available, 1.0f);
    // The last write (0x13) brought pin 28 and pin 31 onto switch device 0x4A.
    const std::vector<Access> traffic = Traffic();
    ASSERT_GE(traffic.size(), 2u);
    EXPECT_EQ(traffic[traffic.size() - 2], SwitchWrite(0x4A, 0x03 | 0x04 | 0x10));
    EXPECT_EQ(traffic.back(), SwitchWrite(0x48, 0xF0 | 0x01));
    EXPECT_EQ(WrittenPinConfig(), (std::vector<int32_t>{0x51, 0x00, 0x00, 0xC8}))
        << "THERM 1 is written as field 3";
}

TEST_F(PinConfigWindowTest, EitherCloseButtonClosesWithoutWriting) {
    for (int i : {0, 1}) {
        frmPinConfig& w = OpenWith(kAllZero);
        w.optEasy[1]->click();
        Pick(*w.cmbPin8, 1);
        w.SSTab1->setCurrentIndex(i);
        w.cmdClose[i]->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(Find<frmPinConfig>(), nullptr);
        ExpectTraffic({B(0x10, 5)});
    }
}

TEST_F(PinConfigWindowTest, AFailedWriteDuringApplyEndsTheProgram) {
    frmPinConfig& w = OpenWith(kAllZero);
    ExpectFailedTransferEnds([&] { w.cmdApply_Click(); });
}

TEST_F(PinConfigWindowTest, BothTabsAreTidyAtTheWindowsOwnSize) {
    frmPinConfig& w = OpenWith({0x80, 0x00, 0x00, 0x00, 0x08});
    test::ExpectTidy(w, "pin-config");
    // The longest details list shows every item whole, with no scroll bar.
    w.SSTab1->setCurrentIndex(0);
    QApplication::processEvents();
    const QListWidget& details = *w.List1[3];
    EXPECT_FALSE(details.verticalScrollBar()->isVisible());
    EXPECT_FALSE(details.horizontalScrollBar()->isVisible());
    for (QComboBox* list : AllLists())
        EXPECT_GE(list->width(), list->sizeHint().width()) << list->objectName().toStdString();
}

}  // namespace
}  // namespace kestrum
