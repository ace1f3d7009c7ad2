#pragma once
// THERM Configuration: the low THERM threshold, the THERM1 and THERM2 timer windows and
// enables, which channels assert each THERM output, and the four THERM hysteresis values.
// Nothing is written until Apply; the THERM limits themselves live in the Limits window.

#include <array>

#include "widgets/DialogWindow.h"
#include "widgets/RegisterBinding.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kestrum {

class UpDown;

class frmTherm : public DialogWindow {
    Q_OBJECT
public:
    explicit frmTherm(QWidget* parent = nullptr);

    void Form_Load() override;
    void cmdApply_Click() override;
    // Opens the Limits / Interrupts window, or brings it forward, at its THERM Limits tab.
    void cmdSetlimits_Click();

    QTabWidget* SSTab1;

    // "THERM Timer"
    std::array<QLabel*, 2> windowLabel{};
    std::array<QComboBox*, 2> cmbWindow{};
    std::array<QCheckBox*, 2> chkEnTH{};
    QCheckBox* chkThermThreshold;

    // "THERM Interrupt": 0..3 assert THERM1, 4..7 THERM2; Local, Remote1, Remote2, Remote3
    std::array<QCheckBox*, 8> chkTHAssert{};

    // "THERM Hysteresis/Limits": Local, Remote1, Remote2, Remote3
    std::array<QLabel*, 4> hystLabel{};
    std::array<QLineEdit*, 4> txtHyst{};
    std::array<UpDown*, 4> hystSpinner{};  // UpDown1 .. UpDown4
    QPushButton* cmdSetlimits;

private:
    QWidget* BuildTimerTab();
    QWidget* BuildInterruptTab();
    QWidget* BuildHysteresisTab();
    void Bind();

    RegisterBinding config3_{0x03};
    RegisterBinding thermConfig_{0x0D};
    RegisterBinding therm1Config_{0x0E};
    RegisterBinding therm2Config_{0x0F};
    RegisterBinding localRemote1Hyst_{0x54};
    RegisterBinding remote2Remote3Hyst_{0x55};
};

}  // namespace kestrum
