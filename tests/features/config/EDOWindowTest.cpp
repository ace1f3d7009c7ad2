#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

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

TEST_F(EDOWindowTest, TwoFramesOfNamedBoxesWithTheReservedBoxHiddenAndTidy) {
    frmEDO& dialog = Open<frmEDO>();
    EXPECT_EQ(dialog.windowTitle(), "EDO Settings");
    EXPECT_EQ(dialog.WidthTwips(), 6810);
    EXPECT_EQ(dialog.HeightTwips(), 5325);
    EXPECT_EQ(Control<QCheckBox>(dialog, "chkEDOEnable_0").parentWidget(), dialog.Frame1);
    EXPECT_EQ(Control<QCheckBox>(dialog, "chkEDOEnable_1").parentWidget(), dialog.Frame2);

    // Bit 4 is reserved: its box exists, hidden, in each frame.
    for (int edo = 1; edo <= 2; ++edo)
        for (int bit = 0; bit < 8; ++bit) {
            const auto& box = Control<QCheckBox>(dialog, QString("chkEDO%1Mask_%2").arg(edo).arg(bit));
            EXPECT_EQ(box.parentWidget(), edo == 1 ? dialog.Frame1 : dialog.Frame2) << edo << " " << bit;
            EXPECT_EQ(box.isVisible(), bit != 4) << edo << " " << bit;
        }
    EXPECT_EQ(dialog.chkEDO2Mask[5]->text(), "Mask Fan Status EDO2 Event");
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

TEST_F(EDOWindowTest, CancelWritesNothing) {
    frmEDO& dialog = Open<frmEDO>();
    dialog.chkEDOEnable[0]->click();
    dialog.chkEDO1Mask[6]->click();
    StartRecording();
    dialog.cmdCancel->click();
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Find<frmEDO>(), nullptr);
}

TEST_F(EDOWindowTest, AFailedTransferInLoadEndsTheProgram) {
    frmEDO& dialog = Open<frmEDO>();
    ExpectFailedTransferEnds([&] { dialog.Form_Load(); });
    EXPECT_EQ(Find<frmEDO>(), nullptr);
}

}  // namespace
}  // namespace kestrum
