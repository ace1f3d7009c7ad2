#include "features/config/frmGenConfig.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <array>

#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 6990;
constexpr int kHeightTwips = 4260;

}  // namespace

frmGenConfig::frmGenConfig(QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmGenConfig");
    setWindowTitle("General Configuration");
    Frame1 = NewFrame(this, "Frame1");
    chkEnableMonitoring = NewCheckBox(Frame1, "chkEnableMonitoring", "Enable Temp/Voltage Monitoring");
    chkEnVoltAve = NewCheckBox(Frame1, "chkEnVoltAve", "Enable Voltage Averaging");
    chkEnTempAve = NewCheckBox(Frame1, "chkEnTempAve", "Enable Temperature Averaging");
    chkAlertMode = NewCheckBox(Frame1, "chkAlertMode", "ALERT mode = SMBus ");
    chkSetupComplete = NewCheckBox(Frame1, "chkSetupComplete", "Setup Complete");
    chkShutDown = NewCheckBox(Frame1, "chkShutDown", "Shutdown the Kestrum");
    chkEnSCLTmout = NewCheckBox(Frame1, "chkEnSCLTmout", "Enable SCL Timeout");
    chkEnSDATmout = NewCheckBox(Frame1, "chkEnSDATmout", "Enable SDA Timeout");
    chkVIDThreshold = NewCheckBox(Frame1, "chkVIDThreshold", "Enable Low VID Threshold");
    chkVcore = NewCheckBox(Frame1, "chkVcore", "Enable Vcore_Low");
    chkConLoop = NewCheckBox(Frame1, "chkConLoop", "Enable Backwards Compatible Control Loop");

    configuration1_.Bit(chkEnableMonitoring, 0)
        .Bit(chkEnVoltAve, 1)
        .Bit(chkEnTempAve, 2)
        .Bit(chkAlertMode, 3, Sense::Inverted)
        .Bit(chkSetupComplete, 5);
    configuration2_.Bit(chkShutDown, 1);
    configuration3_.Bit(chkEnSCLTmout, 1).Bit(chkEnSDATmout, 2).Bit(chkVIDThreshold, 3).Bit(chkVcore, 7);
    tminCal2_.Bit(chkConLoop, 6, Sense::Inverted);

    // Configuration 1 down the left, the bus and voltage switches down the right, the
    // long control-loop caption across both.
    auto* boxes = new QGridLayout(Frame1);
    boxes->setContentsMargins(kInnerMargins);
    const std::array left{chkEnableMonitoring, chkEnVoltAve, chkEnTempAve, chkAlertMode, chkSetupComplete};
    const std::array right{chkShutDown, chkEnSCLTmout, chkEnSDATmout, chkVIDThreshold, chkVcore};
    for (int row = 0; row < static_cast<int>(left.size()); ++row) {
        boxes->addWidget(left[row], row, 0);
        boxes->addWidget(right[row], row, 1);
    }
    boxes->addWidget(chkConLoop, static_cast<int>(left.size()), 0, 1, 2);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addWidget(Frame1, 1);
    window->addLayout(ButtonRow());
}

void frmGenConfig::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LoadBlock(configuration1_, configuration2_, configuration3_);
    tminCal2_.LoadFromChip();
}

void frmGenConfig::cmdApply_Click() {
    configuration1_.WriteModified();
    configuration2_.WriteModified();
    configuration3_.WriteModified();
    tminCal2_.WriteModified();
}

}  // namespace kestrum
