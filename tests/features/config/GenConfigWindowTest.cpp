#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <string>
#include <utility>
#include <vector>

#include "features/config/frmGenConfig.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::B;
using test::R;
using test::W;

class GenConfigWindowTest : public test::WindowTest {
protected:
    void SetChip(int32_t config1, int32_t config2, int32_t config3, int32_t tminCal2) {
        Chip().Poke(0x01, static_cast<uint8_t>(config1));
        Chip().Poke(0x02, static_cast<uint8_t>(config2));
        Chip().Poke(0x03, static_cast<uint8_t>(config3));
        Chip().Poke(0x0C, static_cast<uint8_t>(tminCal2));
    }
    QCheckBox& Box(const frmGenConfig& dialog, const char* name) { return Control<QCheckBox>(dialog, name); }
    // The names of the ticked boxes, in the dialog's order.
    std::vector<std::string> Ticked(const frmGenConfig& dialog) {
        std::vector<std::string> ticked;
        for (const QCheckBox* box : dialog.Frame1->findChildren<QCheckBox*>())
            if (box->isChecked()) ticked.push_back(box->objectName().toStdString());
        return ticked;
    }
};

TEST_F(GenConfigWindowTest, ShowsElevenNamedBoxesAtItsSizeTidily) {
    frmGenConfig& dialog = Open<frmGenConfig>();
    EXPECT_EQ(dialog.windowTitle(), "General Configuration");
    EXPECT_EQ(dialog.WidthTwips(), 6990);
    EXPECT_EQ(dialog.HeightTwips(), 4260);
    EXPECT_EQ(dialog.Frame1->findChildren<QCheckBox*>().size(), 11);
    for (const char* name :
         {"chkEnableMonitoring", "chkEnVoltAve", "chkEnTempAve", "chkAlertMode", "chkSetupComplete",
          "chkShutDown", "chkEnSCLTmout", "chkEnSDATmout", "chkVIDThreshold", "chkVcore", "chkConLoop"})
        EXPECT_EQ(Box(dialog, name).parentWidget(), dialog.Frame1) << name;
    EXPECT_EQ(Box(dialog, "chkAlertMode").text(), "ALERT mode = SMBus ");
    EXPECT_EQ(Box(dialog, "chkShutDown").text(), "Shutdown the Kestrum");
    EXPECT_EQ(Box(dialog, "chkConLoop").text(), "Enable Backwards Compatible Control Loop");
    EXPECT_EQ(dialog.Frame1->objectName(), "Frame1");
    EXPECT_TRUE(dialog.Frame1->title().isEmpty());
    test::ExpectTidy(dialog, "general-configuration");
}

TEST_F(GenConfigWindowTest, LoadsEachBoxFromItsBitDirectOrInverted) {
    SetChip(0x00, 0x00, 0x00, 0x00);
    StartRecording();
    frmGenConfig& cleared = Open<frmGenConfig>();
    ExpectTraffic({B(0x01, 3), R(0x0C)});
    EXPECT_EQ(Ticked(cleared), (std::vector<std::string>{"chkAlertMode", "chkConLoop"}))
        << "the inverted boxes are ticked while their bits are clear";
    Close(cleared);

    SetChip(0x08, 0x00, 0x00, 0x40);
    EXPECT_TRUE(Ticked(Open<frmGenConfig>()).empty());
    Close(*Find<frmGenConfig>());

    // Bits that belong to other dialogs tick nothing.
    SetChip(0xD8, 0xFD, 0x71, 0xBF);
    EXPECT_EQ(Ticked(Open<frmGenConfig>()), (std::vector<std::string>{"chkConLoop"}));
}

TEST_F(GenConfigWindowTest, OkUntouchedReadsEachRegisterAfreshAndKeepsWhatNoBoxOwns) {
    SetChip(0x35, 0x02, 0x8A, 0x40);
    frmGenConfig& dialog = Open<frmGenConfig>();
    // Other windows change bits this dialog does not own while it is open.
    SetChip(0x15 | 0xC0, 0x02 | 0xF0, 0x8A | 0x71, 0x40 | 0x85);
    StartRecording();
    dialog.cmdOK->click();
    ExpectTraffic(
        {R(0x01), W(0x01, 0xF5), R(0x02), W(0x02, 0xF2), R(0x03), W(0x03, 0xFB), R(0x0C), W(0x0C, 0xC5)});
    EXPECT_EQ(Find<frmGenConfig>(), nullptr);
}

TEST_F(GenConfigWindowTest, EachTickChangesOnlyItsOwnBitOnApply) {
    SetChip(0x10, 0x00, 0x00, 0x40);  // bit 4 of 0x01 belongs to fan configuration
    frmGenConfig& dialog = Open<frmGenConfig>();
    StartRecording();
    for (QCheckBox* box : dialog.Frame1->findChildren<QCheckBox*>()) box->click();
    EXPECT_TRUE(test::WritesOnly(Traffic()).empty()) << "ticking writes nothing until Apply";
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic(
        {R(0x01), W(0x01, 0x3F), R(0x02), W(0x02, 0x02), R(0x03), W(0x03, 0x8E), R(0x0C), W(0x0C, 0x00)});
    EXPECT_EQ(Find<frmGenConfig>(), &dialog) << "Apply leaves the dialog open";

    // The inverted boxes again: ALERT mode ticked clears bit 3, the loop box cleared sets bit 6.
    Box(dialog, "chkAlertMode").click();
    Box(dialog, "chkConLoop").click();
    SetChip(0x00, 0x00, 0x00, 0x00);
    StartRecording();
    dialog.cmdApply->click();
    ExpectTraffic(
        {R(0x01), W(0x01, 0x27), R(0x02), W(0x02, 0x02), R(0x03), W(0x03, 0x8E), R(0x0C), W(0x0C, 0x40)});
}

TEST_F(GenConfigWindowTest, OpeningAgainOnlyBringsItForwardAndCancelWritesNothing) {
    SetChip(0x01, 0x00, 0x00, 0x00);
    frmGenConfig& dialog = Open<frmGenConfig>();
    Box(dialog, "chkShutDown").click();
    StartRecording();
    EXPECT_EQ(&Open<frmGenConfig>(), &dialog);
    EXPECT_TRUE(Box(dialog, "chkShutDown").isChecked()) << "not loaded again";
    dialog.cmdCancel->click();
    EXPECT_TRUE(Traffic().empty());
    EXPECT_EQ(Find<frmGenConfig>(), nullptr);
}

TEST_F(GenConfigWindowTest, AFailedTransferInApplyEndsTheProgram) {
    frmGenConfig& dialog = Open<frmGenConfig>();
    ExpectFailedTransferEnds([&] { dialog.cmdApply_Click(); });
    EXPECT_EQ(Find<frmGenConfig>(), nullptr);
}

}  // namespace
}  // namespace kestrum
