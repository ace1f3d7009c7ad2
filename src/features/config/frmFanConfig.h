#pragma once
// Fan Configuration: tach inputs, fan-wide settings and each PWM output's set-up. Every
// register is read when the dialog loads and all are written on Apply, in one fixed order.

#include <array>

#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kestrum {

class UpDown;

class frmFanConfig : public DialogWindow {
    Q_OBJECT
public:
    explicit frmFanConfig(QWidget* parent = nullptr);

    void Form_Load() override;
    void cmdApply_Click() override;
    void cmdEnableAll_Click();
    void cmdDisableAll_Click();

    QTabWidget* SSTab1;

    // "All Fans"
    QGroupBox* Frame1;
    QCheckBox* chkFastMeasure;
    QCheckBox* chkDisFastSpin;
    QCheckBox* chkPWMMode;
    QCheckBox* chkVRD1;
    QCheckBox* chkVRD2;
    QCheckBox* chkFullSpeed;
    QCheckBox* chkThermFS1;
    QCheckBox* chkThermFS2;
    QLabel* Label1;
    QComboBox* cmbTachPulses;
    QLabel* Label7;
    QLineEdit* txtMaxPWM;
    UpDown* UpDown1;

    // "PWM1" to "PWM4", indexed by PWM output - 1
    std::array<QGroupBox*, 4> Frame2{};
    std::array<QCheckBox*, 4> chkEnCont{};
    std::array<QCheckBox*, 4> chkEnEnhance{};
    std::array<QLabel*, 4> Label2{};
    std::array<QComboBox*, 4> cmbRampRate{};
    std::array<QLabel*, 4> Label4{};
    std::array<QComboBox*, 4> cmbSpinup{};
    std::array<QCheckBox*, 4> chk4xRampRate{};
    std::array<QCheckBox*, 4> chkEnActiveLow{};
    std::array<QLabel*, 4> Label5{};
    std::array<QComboBox*, 4> cmbControl{};
    std::array<QCheckBox*, 4> chkMinSpeed{};
    std::array<QLabel*, 4> Label6{};
    std::array<QComboBox*, 4> cmbLowFreq{};
    std::array<QLabel*, 4> Label8{};
    std::array<QLineEdit*, 4> txtMinPWM{};
    std::array<UpDown*, 4> minPwmSpinner{};  // UpDown2 .. UpDown5

    // "Tachs"
    QGroupBox* Frame6;
    std::array<QCheckBox*, 8> chkEnTach{};
    QPushButton* cmdEnableAll;
    QPushButton* cmdDisableAll;

private:
    QWidget* BuildAllFansTab();
    QWidget* BuildPwmTab(int i);
    QWidget* BuildTachsTab();
    void Bind();

    RegisterBinding tachEnable_{0x07};
    RegisterBinding tachConfig_{0x08};
    RegisterBinding config1_{0x01};
    RegisterBinding config2_{0x02};
    RegisterBinding maxPwm_{0x2C};
    RegisterBinding thermConfig_{0x0D};
    // Each register of a pair serves two outputs: PWM1 and 2, then PWM3 and 4.
    std::array<RegisterBinding, 2> acoustics_{RegisterBinding{0x1A}, RegisterBinding{0x1B}};
    std::array<RegisterBinding, 4> pwmConfig_{RegisterBinding{0x21}, RegisterBinding{0x22},
                                              RegisterBinding{0x23}, RegisterBinding{0x24}};
    std::array<RegisterBinding, 2> pwmFreq_{RegisterBinding{0x25}, RegisterBinding{0x26}};
    std::array<RegisterBinding, 4> minPwm_{RegisterBinding{0x28}, RegisterBinding{0x29},
                                           RegisterBinding{0x2A}, RegisterBinding{0x2B}};
};

}  // namespace kestrum
