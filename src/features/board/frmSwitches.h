#pragma once
// The "Corvane Switch Control " window: the evaluation board's two analog-switch devices,
// one box per switch (ticked = closed), read from the devices and written on Apply.

#include <array>

#include "widgets/RegisterBinding.h"
#include "widgets/WindowManager.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace kestrum {

class frmSwitches final : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kSwitches = 14;

    explicit frmSwitches(QWidget* parent = nullptr);

    void Form_Load() override;

    void cmbApply_Click();
    void cmdRefresh_Click();
    void cmdCancel_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, kSwitches> chkSwitch{};
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmbApply = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    // Each device's switch byte maps onto its boxes as a register's bits do.
    RegisterBinding device4A_;
    RegisterBinding device48_;
};

}  // namespace kestrum
