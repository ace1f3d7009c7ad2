#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <array>

#include "features/config/frmEDO.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

class EDOWindowTest : public test::WindowTest {
protected:
    void SetChip(int32_t enable, int32_t mask1, int32_t mask2) {
        Chip().Poke(0x16, static_cast<uint8_t>(enable));
        Chip().Poke(0x37, static_cast<uint8_t>(mask1));
        Chip().Poke(0x38, static_cast<uint8_t>(mask2));
    }
};

TEST_F(EDOWindowTest, TwoFramesOfNamedBoxesWithTheReservedBoxHiddenAndEveryCaptionWhole) {
    frmEDO& dialog = Open<frmEDO>();
    EXPECT_EQ(dialog.windowTitle(), "EDO Settings");
    EXPECT_EQ(dialog.WidthTwips(), 6810);
    EXPECT_EQ(dialog.HeightTwips(), 5325);
    EXPECT_EQ(dialog.Frame1->title(), "EDO 1");
    EXPECT_EQ(dialog.Frame2->title(), "EDO 2");
    EXPECT_EQ(Control<QCheckBox>(dialog, "chkEDOEnable_0").text(), "Enable EDO 1");
    EXPECT_EQ(Control<QCheckBox>(dialog, "chkEDOEnable_1").text(), "Enable EDO 2");
    EXPECT_EQ(dialog.chkEDOEnable[0]->parentWidget(), dialog.Frame1);
    EXPECT_EQ(dialog.chkEDOEnable[1]->parentWidget(), dialog.Frame2);

    const std::array<const char*, 8> events{"GPIO1", "GPIO2",      "GPIO3", "GPIO4",
                                            nullptr, "Fan Status", "THERM", "Voltage"};
    for (int edo = 1; edo <= 2; ++edo) {
        const QGroupBox* frame = edo == 1 ? dialog.Frame1 : dialog.Frame2;
        for (int bit = 0; bit < 8; ++bit) {
            const auto& box = Control<QCheckBox>(dialog, QString("chkEDO%1Mask_%2").arg(edo).arg(bit));
            EXPECT_EQ(box.parentWidget(), frame) << edo << " " << bit;
            if (events[static_cast<size_t>(bit)] == nullptr) {
                EXPECT_FALSE(box.isVisible()) << edo;
                continue;
            }
            EXPECT_TRUE(box.isVisible()) << edo << " " << bit;
            EXPECT_EQ(box.text(),
                      QString("Mask %1 EDO%2 Event").arg(events[static_cast<size_t>(bit)]).arg(edo));
        }
    }
    test::ExpectTidy(dialog, "edo-settings");
}

TEST_F(EDOWindowTest, ApplyUntouchedWritesBackWhatWasReadTheReservedBitIncluded) {
    SetChip(0xA5, 0x91, 0x5E);
    StartRecording();
    frmEDO& dialog = Open<frmEDO>();
    ExpectTraffic({R(0x16), B(0x37, 2)});
    EXPECT_TRUE(dialog.chkEDOEnable[0]->isChecked());
    EXPECT_FALSE(dialog.chkEDOEnable[1]->isChecked());
    EXPECT_TRUE(dialog.chkEDO1Mask[7]->isChecked());
    EXPECT_FALSE(dialog.chkEDO1Mask[3]->isChecked());

    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic({R(0x16), W(0x16, 0xA5), W(0x37, 0x91), W(0x38, 0x5E)});

    // The masks are rebuilt from the boxes, not read: a reserved bit that appeared on the
    // chip since loading is not carried, one present at loading is.
    SetChip(0xFC, 0x00, 0x10);
    StartRecording();
    dialog.cmdOK->click();
    ExpectTraffic({R(0x16), W(0x16, 0xFD), W(0x37, 0x91), W(0x38, 0x5E)});
    EXPECT_EQ(Find<frmEDO>(), nullptr);
}

TEST_F(EDOWindowTest, EachBoxSetsItsOwnBit) {
    SetChip(0x00, 0x00, 0x00);
    frmEDO& dialog = Open<frmEDO>();
    Control<QCheckBox>(dialog, "chkEDO2Mask_5").click();  // "Mask Fan Status EDO2 Event"
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic({R(0x16), W(0x16, 0x00), W(0x37, 0x00), W(0x38, 0x20)});

    // Enable EDO 2 alone, keeping the upper bits of EDO Enable; mask GPIO1 and Voltage on EDO 1.
    Chip().Poke(0x16, 0xF1);
    dialog.chkEDOEnable[1]->click();
    dialog.chkEDO1Mask[0]->click();
    dialog.chkEDO1Mask[7]->click();
    dialog.chkEDO2Mask[5]->click();
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic({R(0x16), W(0x16, 0xF2), W(0x37, 0x81), W(0x38, 0x00)});
}

TEST_F(EDOWindowTest, CancelWritesNothingAndTheNextOpeningReadsAfresh) {
    SetChip(0x00, 0x00, 0x00);
    frmEDO& dialog = Open<frmEDO>();
    dialog.chkEDOEnable[0]->click();
    dialog.chkEDO1Mask[6]->click();
    StartRecording();
    dialog.cmdCancel->click();
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Find<frmEDO>(), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    SetChip(0x02, 0x40, 0x01);
    frmEDO& again = Open<frmEDO>();
    EXPECT_FALSE(again.chkEDOEnable[0]->isChecked());
    EXPECT_TRUE(again.chkEDOEnable[1]->isChecked());
    EXPECT_TRUE(again.chkEDO1Mask[6]->isChecked());
    EXPECT_TRUE(again.chkEDO2Mask[0]->isChecked());
}

TEST_F(EDOWindowTest, AFailedTransferInLoadEndsTheProgram) {
    frmEDO& dialog = Open<frmEDO>();
    ExpectFailedTransferEnds([&] { dialog.Form_Load(); });
    EXPECT_EQ(Find<frmEDO>(), nullptr);
}

}  // namespace
}  // namespace kestrum
