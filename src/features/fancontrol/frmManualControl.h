#pragma once
// The "Manual Fan Control" window: one slider per PWM output writes its duty at once; the
// master timer shows which outputs are in manual mode and moves the sliders to the
// measured duty, except while the user holds a slider.

#include <array>

#include "widgets/WindowManager.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace kestrum {

class Slider;

class frmManualControl final : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kOutputs = 4;

    explicit frmManualControl(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Unload() override;

    // Each output's status label and whether its slider can be moved.
    void UpdateManualStatus();
    // Each slider to its output's measured duty; sets values only, so nothing is written.
    void UpdateManualSliders();

    void sldManual_Change(int index);
    void sldManual_MouseDown(int index);
    void sldManual_MouseUp(int index);
    void cmdClose_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, kOutputs> lblPWM{};
    std::array<Slider*, kOutputs> sldManual{};
    std::array<QLabel*, kOutputs> lblManual{};
    QPushButton* cmdClose = nullptr;
};

}  // namespace kestrum
