#pragma once
// The quick-start window: on OK it runs the ticked first settings in order (a pin layout by
// Easy Config option, tachs on, setup complete, full PWM limits, the Graphs window, fans at
// full speed, comparator ALERT mode) and keeps whether start-up shows it again.

#include <array>

#include "widgets/WindowManager.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kestrum {

class UpDown;

class frmEasySetup final : public ChildWindow {
    Q_OBJECT
public:
    // chkOption's steps, by index: the order in which OK runs them.
    enum Option {
        kEasyConfig,
        kEnableTachs,
        kSetupComplete,
        kGraphs,
        kMaxPwm,
        kFansAtMax,
        kComparatorAlert,
        kOptionCount
    };

    explicit frmEasySetup(QWidget* parent = nullptr);

    void Form_Load() override;
    // Runs the ticked steps in index order, keeps the start-up choice and closes; an option
    // number out of range stops it before anything is written.
    void cmdApply_Click();
    void cmdClose_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, kOptionCount> chkOption{};
    QLineEdit* txtOption = nullptr;
    UpDown* UpDown1 = nullptr;
    QCheckBox* chkStartUp = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void BuildOptions();
    // One step of OK; false when the option number fails its check.
    bool RunStep(Option option);
};

}  // namespace kestrum
