#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <string>

#include "features/config/frmVoltConfig.h"
#include "regmap/RegMapStuff.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::B;
using test::W;

class VoltConfigWindowTest : public test::WindowTest {
protected:
    void SetChip(int32_t attenuators1, int32_t attenuators2) {
        Chip().Poke(0x18, static_cast<uint8_t>(attenuators1));
        Chip().Poke(0x19, static_cast<uint8_t>(attenuators2));
    }
    int TickedCount(const frmVoltConfig& dialog) {
        int ticked = 0;
        for (const QCheckBox* box : dialog.chkDisAtten) ticked += box->isChecked() ? 1 : 0;
        return ticked;
    }
};

TEST_F(VoltConfigWindowTest, ThirteenNamedBoxesOnePerPinTidily) {
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    EXPECT_EQ(dialog.windowTitle(), "Voltage Configuration");
    EXPECT_EQ(dialog.WidthTwips(), 7140);
    EXPECT_EQ(dialog.HeightTwips(), 4830);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(Control<QCheckBox>(dialog, QString("chkDisAtten_%1").arg(i)).parentWidget(), dialog.Frame1)
            << i;
    EXPECT_EQ(dialog.chkDisAtten[0]->text(), "Disable Attenuators on Pin7");
    EXPECT_EQ(dialog.Frame1->findChildren<QCheckBox*>().size(), 13);
    test::ExpectTidy(dialog, "voltage-configuration");
}

TEST_F(VoltConfigWindowTest, AtTheRegisterDefaultsOnlyPin26IsTickedAndOkWritesTheSpareBitsAsZero) {
    // The chip as it powers up, at the register table's defaults.
    ASSERT_EQ(gRegisters[FindRegisterByAddress(0x18)].Default, 0xFF);
    ASSERT_EQ(gRegisters[FindRegisterByAddress(0x19)].Default, 0x37);
    StartRecording();
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    ExpectTraffic({B(0x18, 2)});
    EXPECT_EQ(TickedCount(dialog), 1);
    EXPECT_TRUE(dialog.chkDisAtten[10]->isChecked());
    EXPECT_EQ(dialog.chkDisAtten[10]->text(), "Disable Attenuators on Pin26");

    StartRecording();
    dialog.cmdOK->click();
    ExpectTraffic({W(0x18, 0xFE), W(0x19, 0x37)});  // rebuilt: nothing is read first
    EXPECT_EQ(Find<frmVoltConfig>(), nullptr);
}

TEST_F(VoltConfigWindowTest, BitsWithoutABoxTickNothingAndAreWrittenZero) {
    SetChip(0x01, 0xC0);
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    EXPECT_EQ(TickedCount(dialog), 13) << "every attenuator bit clear";
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic({W(0x18, 0x00), W(0x19, 0x00)});
    EXPECT_EQ(Find<frmVoltConfig>(), &dialog);
}

TEST_F(VoltConfigWindowTest, TickingABoxClearsItsOwnAttenuatorBit) {
    // From every attenuator on, each box in turn, as the pin table lays them out.
    const std::array<int32_t, 13> first{0xFC, 0xFA, 0xF6, 0xEE, 0xDE, 0xBE, 0x7E,
                                        0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE};
    const std::array<int32_t, 13> second{0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F,
                                         0x3E, 0x3D, 0x3B, 0x37, 0x2F, 0x1F};
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    for (size_t i = 0; i < first.size(); ++i) {
        SetChip(0xFF, 0xFF);
        dialog.Form_Load();
        EXPECT_EQ(TickedCount(dialog), 0) << i;
        dialog.chkDisAtten[i]->click();
        StartRecording();
        dialog.cmdApply->click();
        ExpectTraffic({W(0x18, first[i]), W(0x19, second[i])});
        // Loading what was written ticks the same box alone.
        dialog.Form_Load();
        EXPECT_EQ(TickedCount(dialog), 1) << i;
        EXPECT_TRUE(dialog.chkDisAtten[i]->isChecked()) << i;
    }
}

TEST_F(VoltConfigWindowTest, CancelWritesNothing) {
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    dialog.chkDisAtten[0]->click();
    StartRecording();
    dialog.cmdCancel->click();
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Find<frmVoltConfig>(), nullptr);
}

TEST_F(VoltConfigWindowTest, AFailedTransferInApplyEndsTheProgram) {
    frmVoltConfig& dialog = Open<frmVoltConfig>();
    ExpectFailedTransferEnds([&] { dialog.cmdApply_Click(); });
    EXPECT_EQ(Find<frmVoltConfig>(), nullptr);
}

}  // namespace
}  // namespace kestrum
