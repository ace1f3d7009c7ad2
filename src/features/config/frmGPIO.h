#pragma once
// The GPIO Configuration window: the GPIO enable bit and, for each of the eight lines, its
// direction, polarity and status, with whether the pin configuration routes the line to a
// pin. Every choice is written at once; the master timer re-reads the lines every half
// second while the window is open.

#include <array>

#include "widgets/RegisterBinding.h"
#include "widgets/WriteAtOnceWindow.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kestrum {

class frmGPIO final : public WriteAtOnceWindow {
    Q_OBJECT
public:
    static constexpr int kLines = 8;
    // The chip pin of each line, GPIO 1..8: the line reaches its pin when that pin's
    // function code is 0.
    static constexpr std::array<int, kLines> kLinePins{1, 2, 3, 4, 31, 32, 28, 29};

    explicit frmGPIO(QWidget* parent = nullptr);

    void Form_Load() override;
    // Re-reads the lines' direction, polarity and status and the pin functions into the
    // controls. Writes nothing, and leaves a list the user has open as it is.
    void UpdateGPIOStatus();

    void chkEnGPIO_Click();
    // A line's list chosen: all three line registers are written, whichever line it was.
    void cmbDir_Click(int index);
    void cmbPolarity_Click(int index);
    void cmbStatus_Click(int index);
    void cmdCancel_Click();

    QCheckBox* chkEnGPIO = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    std::array<QLabel*, kLines> Label3{};
    std::array<QComboBox*, kLines> cmbDir{};
    std::array<QComboBox*, kLines> cmbPolarity{};
    std::array<QComboBox*, kLines> cmbStatus{};
    std::array<QLabel*, kLines> lblStatus{};
    std::array<QCheckBox*, kLines> chkPinEn{};
    QPushButton* cmdCancel = nullptr;

private:
    void BuildGrid();
    // The three line registers rebuilt from the lists, whichever list changed.
    void WriteGPIOSettings();

    // The register of a line's polarity and direction.
    RegisterBinding& Behaviour(int line);

    // The line registers are reloaded every half second, around the lists the user has open.
    RegisterBinding config3_{0x03};
    RegisterBinding behaviour1_{0x09, Reload::AroundOpenLists};  // GPIO 1-4
    RegisterBinding behaviour2_{0x0A, Reload::AroundOpenLists};  // GPIO 5-8
    RegisterBinding status_{0xBF, Reload::AroundOpenLists};
};

}  // namespace kestrum
