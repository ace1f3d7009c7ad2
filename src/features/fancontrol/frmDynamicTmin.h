#pragma once
// The Dynamic Tmin window: the dynamic Tmin calibration of the two remote channels, each
// change written at once, with a live chart per channel of its temperature against the
// operating point, Tmin, the limits and the duty of the fans it controls, fed by the
// master timer every 0.1 s. Its demonstration button sets the chip up for a dynamic
// Tmin demonstration on Remote2 and raises gDemoRunning.

#include <QString>
#include <array>

#include "widgets/RegisterBinding.h"
#include "widgets/WriteAtOnceWindow.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestrum {

class StripChart;

class frmDynamicTmin final : public WriteAtOnceWindow {
    Q_OBJECT
public:
    // Traces 0..4 are the temperature and the settings, each with its legend in label
    // trace + 1; traces 5..8 the duty of the fans the channel controls, with their labels
    // (which sit below the plot's top).
    static constexpr int kFirstDutyTrace = 5;
    static constexpr std::array<int, 4> kDutyLabels{6, 7, 8, 11};
    static constexpr int kDutyAxisLabel = 10;  // "% Duty", the second axis's title
    static constexpr int kHysteresisTrace = 9;

    explicit frmDynamicTmin(QWidget* parent = nullptr);

    void Form_Load() override;
    // One sample on every trace of both charts, the duty legends rebuilt from the PWM
    // configuration (the only chip access).
    void UpdateDynTminGraph();

    void cmdDemo_Click();
    void SSTab1_Click();
    void Form_Resize();
    void Strip2_LayoutChange(int index);

    QTabWidget* SSTab1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkEnDynR1 = nullptr;
    QCheckBox* chkEnDynR2 = nullptr;
    QCheckBox* chkLoadOp1Th1 = nullptr;
    QCheckBox* chkLoadOp2Th1 = nullptr;
    QCheckBox* chkLoadOp1Th2 = nullptr;
    QCheckBox* chkLoadOp2Th2 = nullptr;
    QCheckBox* chkConLoop = nullptr;
    std::array<QComboBox*, 2> cmbCycle{};
    QLineEdit* txtR1OpPoint = nullptr;
    QLineEdit* txtR2OpPoint = nullptr;
    std::array<QLineEdit*, 2> txtTmin{};
    std::array<QLineEdit*, 2> txtLowLim{};
    std::array<QLineEdit*, 2> txtHighLim{};
    QLineEdit* txtOpPointHyst = nullptr;
    QPushButton* cmdDemo = nullptr;
    QPushButton* cmdCancel = nullptr;
    std::array<StripChart*, 2> Strip2{};

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The PWM outputs (0..3) whose control source is a remote channel, in ascending order.
    struct DutyList {
        std::array<int, 4> pwm{};
        int count = 0;
    };
    // The controls of one remote channel's tab.
    struct ChannelBoxes {
        QCheckBox* enable;
        QCheckBox* loadOnTherm1;
        QCheckBox* loadOnTherm2;
        QString opPointName;
        QLineEdit*& opPoint;
    };
    QGroupBox* BuildChannelFrame(int channel, const ChannelBoxes& boxes);
    QWidget* BuildPanel();
    void BuildCharts();
    void BindRegisters();
    void WireUserSignals();
    void ShowChart(int index);
    // The samples at `now`, the update's one reading of the clock.
    void FeedChart(int strip, double now);
    void SetUpDutyChannels();
    void PositionChannelLabel(int strip, int channel, int value);

    QWidget* panel_ = nullptr;
    double hysteresisShown_ = 0.0;  // the number in txtOpPointHyst

    RegisterBinding tminCal1_{0x0B};
    RegisterBinding tminCal2_{0x0C};
    std::array<RegisterBinding, 2> opPoint_{RegisterBinding{0x5A}, RegisterBinding{0x5B}};
    std::array<RegisterBinding, 2> tmin_{RegisterBinding{0x5D}, RegisterBinding{0x5E}};
    std::array<RegisterBinding, 2> lowLimit_{RegisterBinding{0x45}, RegisterBinding{0x46}};
    std::array<RegisterBinding, 2> highLimit_{RegisterBinding{0x49}, RegisterBinding{0x4A}};
    RegisterBinding hysteresis_{0x64};

    std::array<DutyList, 2> duties_{};
};

}  // namespace kestrum
