#pragma once
// General Configuration: the chip's general operating switches, one box per bit of
// Configuration 1-3 and Tmin_Cal2, read when the dialog opens and written on Apply.

#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"

class QCheckBox;
class QGroupBox;

namespace kestrum {

class frmGenConfig : public DialogWindow {
    Q_OBJECT
public:
    explicit frmGenConfig(QWidget* parent = nullptr);

    void Form_Load() override;
    // Read, modify and write 0x01, 0x02, 0x03, then 0x0C: bits without a box keep their value.
    void cmdApply_Click() override;

    QGroupBox* Frame1;
    QCheckBox* chkEnableMonitoring;
    QCheckBox* chkEnVoltAve;
    QCheckBox* chkEnTempAve;
    QCheckBox* chkAlertMode;
    QCheckBox* chkSetupComplete;
    QCheckBox* chkShutDown;
    QCheckBox* chkEnSCLTmout;
    QCheckBox* chkEnSDATmout;
    QCheckBox* chkVIDThreshold;
    QCheckBox* chkVcore;
    QCheckBox* chkConLoop;

private:
    RegisterBinding configuration1_{0x01};
    RegisterBinding configuration2_{0x02};
    RegisterBinding configuration3_{0x03};
    RegisterBinding tminCal2_{0x0C};
};

}  // namespace kestrum
