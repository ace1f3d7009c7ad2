#pragma once
// The "Heater Control" window: a slider per heater of the evaluation board sets its duty;
// beside each, the remote temperature that heater warms, refreshed by the master timer.

#include <array>
#include <string>

#include "widgets/WindowManager.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace kestrum {

class Slider;

class frmHeaters final : public ChildWindow {
    Q_OBJECT
public:
    static constexpr int kHeaters = 2;

    explicit frmHeaters(QWidget* parent = nullptr);

    void Form_Load() override;

    void sldHeater_Change(int index);
    void cmdClose_Click();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<Slider*, kHeaters> sldHeater{};
    std::array<QLabel*, kHeaters> lblTemp{};
    QPushButton* cmdClose = nullptr;

private:
    void ShowTemperatures(const std::string& remote1Text, const std::string& remote2Text);
};

}  // namespace kestrum
