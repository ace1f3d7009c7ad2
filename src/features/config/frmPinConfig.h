#pragma once
// The "Pin Configuration" dialog: the function of each multi-function pin (Pin Config 1-4,
// 0x10-0x13), one list per pin or pin group, and the five ready-made layouts of Easy Config
// (0x14). Nothing is written until one of the two Apply buttons; the write primitive's hook
// re-decodes the pins and resets the board switches, and the dialog then refreshes the
// Limits and GPIO windows when they are open.

#include <array>

#include "widgets/RegisterBinding.h"
#include "widgets/WindowManager.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kestrum {

class frmPinConfig final : public ChildWindow {
    Q_OBJECT
public:
    explicit frmPinConfig(QWidget* parent = nullptr);

    // Sizes the window, reads 0x10-0x14 and shows them, with the interlocks and the details
    // list following the loaded values.
    void Form_Load() override;

    // A group list moves its pins between their own functions and the group's.
    void cmbPins1234_31_32_Click();
    void cmbPins1516_Click();
    void cmbPins1920_Click();
    // Pin Config 1-4 rebuilt from the lists, in register order.
    void cmdApply_Click();
    // Easy Config from the selected option, then a reload of what the chip now reports.
    void cmdEasyApply_Click();
    void optEasy_Click(int index);
    void cmdClose_Click(int index);

    QTabWidget* SSTab1 = nullptr;

    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 5> optEasy{};
    QLabel* Label1 = nullptr;
    std::array<QListWidget*, 5> List1{};
    QPushButton* cmdEasyApply = nullptr;

    QGroupBox* Frame1 = nullptr;
    QComboBox* cmbPins1234_31_32 = nullptr;
    QComboBox* cmbPins1516 = nullptr;
    QComboBox* cmbPins1920 = nullptr;
    QComboBox* cmbPin1 = nullptr;
    QComboBox* cmbPin2 = nullptr;
    QComboBox* cmbPin3 = nullptr;
    QComboBox* cmbPin4 = nullptr;
    QComboBox* cmbPin7 = nullptr;
    QComboBox* cmbPin8 = nullptr;
    QComboBox* cmbPin13 = nullptr;
    QComboBox* cmbPin15 = nullptr;
    QComboBox* cmbPin20 = nullptr;
    QComboBox* cmbPin21 = nullptr;
    QComboBox* cmbPin22 = nullptr;
    QComboBox* cmbPin23 = nullptr;
    QComboBox* cmbPin24 = nullptr;
    QComboBox* cmbPin25 = nullptr;
    QComboBox* cmbPin26 = nullptr;
    QComboBox* cmbPin27 = nullptr;
    QComboBox* cmbPin28 = nullptr;
    QComboBox* cmbPin29 = nullptr;
    QComboBox* cmbPin31 = nullptr;
    QComboBox* cmbPin32 = nullptr;
    // Element 11 does not exist.
    std::array<QLabel*, 24> lblPin{};
    QPushButton* cmdApply = nullptr;

    // Element 0 on the Easy Configuration tab, 1 on the Individual Pin Configuration tab.
    std::array<QPushButton*, 2> cmdClose{};

private:
    QWidget* BuildEasyTab();
    QWidget* BuildPinTab();
    void BindRegisters();
    void ShowEasyOptionDetails();
    // Form_Load of the Limits window, only while it is open.
    void RefreshLimits();

    RegisterBinding pinConfig1_{0x10};
    RegisterBinding pinConfig2_{0x11};
    RegisterBinding pinConfig3_{0x12};
    RegisterBinding pinConfig4_{0x13};
    RegisterBinding easyConfig_{0x14};  // one option button a bit
};

}  // namespace kestrum
