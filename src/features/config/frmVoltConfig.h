#pragma once
// Voltage Configuration: one "Disable" box per attenuator-enable bit of Attenuators 1 and 2
// En, so a ticked box stands for a clear bit. Both registers are rebuilt on Apply.

#include <array>

#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"

class QCheckBox;
class QGroupBox;

namespace kestrum {

class frmVoltConfig : public DialogWindow {
    Q_OBJECT
public:
    explicit frmVoltConfig(QWidget* parent = nullptr);

    void Form_Load() override;
    // Writes 0x18, then 0x19, rebuilt from zero: bits without a box go out as 0.
    void cmdApply_Click() override;

    QGroupBox* Frame1;
    std::array<QCheckBox*, 13> chkDisAtten{};

private:
    RegisterBinding attenuators1_{0x18};
    RegisterBinding attenuators2_{0x19};
};

}  // namespace kestrum
