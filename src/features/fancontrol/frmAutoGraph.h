#pragma once
// The Automatic Control window: each PWM output's control source, minimum duty and
// behaviour below Tmin, each temperature channel's Tmin, range, hysteresis and THERM
// limits, and the common maximum duty, every one written the moment the user changes it.
// After each write, and every 0.3 s from the master timer, the fan curve of the selected
// output is drawn on the chart with the live operating points.

#include <array>
#include <string>

#include "features/fancontrol/FanCurveModel.h"
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
class UpDown;

class frmAutoGraph final : public WriteAtOnceWindow {
    Q_OBJECT
public:
    explicit frmAutoGraph(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Unload() override;

    // The master timer's refresh: the model rebuilt, the curves and live points drawn.
    void PlotAFCTemps();

    void BuildCurveModel();
    void DrawCurves();
    void tbPWM_Click(int previousTab);

    void cmdCancel_Click();
    void cmbControl_Click(int index);
    void cmbTrange_Click(int index);
    void chkMinSpeed_Click(int index);
    void chkThermFS1_Click();
    void chkThermFS2_Click();
    void txtMaxPWM_Change();
    void txtMinPWM_Change(int index);
    void txtTmin_Change(int index);
    void txtTminHyst_Change(int index);
    void txtTH1_Change(int index);
    void txtTH2_Change(int index);
    void txtHyst_Change(int index);

    bool Ready() const { return mReady; }

    QTabWidget* tbTemp = nullptr;
    std::array<QLineEdit*, 4> txtTmin{};
    std::array<QComboBox*, 4> cmbTrange{};
    std::array<QLineEdit*, 4> txtTminHyst{};
    std::array<QLineEdit*, 4> txtTH1{};
    std::array<QLineEdit*, 4> txtTH2{};
    std::array<QLineEdit*, 4> txtHyst{};

    QTabWidget* tbPWM = nullptr;
    std::array<QComboBox*, 4> cmbControl{};
    std::array<QLineEdit*, 4> txtMinPWM{};
    std::array<QCheckBox*, 4> chkMinSpeed{};

    QGroupBox* fraAllFans = nullptr;
    QLineEdit* txtMaxPWM = nullptr;
    QCheckBox* chkThermFS1 = nullptr;
    QCheckBox* chkThermFS2 = nullptr;

    StripChart* stpGraph = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The spinner of each text box.
    UpDown* updMaxPWM = nullptr;
    std::array<UpDown*, 4> updMinPWM{};
    std::array<UpDown*, 4> updTmin{};
    std::array<UpDown*, 4> updTminHyst{};
    std::array<UpDown*, 4> updTH1{};
    std::array<UpDown*, 4> updTH2{};
    std::array<UpDown*, 4> updHyst{};

private:
    QWidget* BuildTempTabs();
    QWidget* BuildPwmTabs();
    QWidget* BuildAllFans();
    void BindRegisters();
    void WireUserSignals();

    void LoadThermAndMaxPwm();
    void LoadPwmSettings();
    void LoadTempSettings();

    // Everything the model reads, refilled in place.
    void GatherControls();
    void GatherView();
    // Puts the model's plot on the chart: cleared, the changed labels, every point.
    void ShowPlot();
    // The write's follow-up shared by most handlers.
    void Redraw();
    // A change handler's write and redraw; false (nothing done) until the window is ready.
    bool WriteOnly(const RegisterBinding& binding, const QWidget* control);
    bool WriteWhole(const RegisterBinding& binding);

    bool mReady = false;
    FanCurveModel model_;
    CurveControls controls_;
    CurveView view_;
    CurvePlot plot_;
    std::string title_;
    std::array<std::string, 5> shownLabels_;
    // Says, over the empty chart, that the selected output follows no temperature.
    QLabel* lblNoCurve_ = nullptr;

    RegisterBinding thermConfig_{0x0D};
    RegisterBinding maxPwm_{0x2C};
    std::array<RegisterBinding, 4> pwmConfig_{RegisterBinding{0x21}, RegisterBinding{0x22},
                                              RegisterBinding{0x23}, RegisterBinding{0x24}};
    std::array<RegisterBinding, 2> minSpeed_{RegisterBinding{0x25}, RegisterBinding{0x26}};
    std::array<RegisterBinding, 4> minPwm_{RegisterBinding{0x28}, RegisterBinding{0x29},
                                           RegisterBinding{0x2A}, RegisterBinding{0x2B}};
    std::array<RegisterBinding, 4> tmin_{RegisterBinding{0x5C}, RegisterBinding{0x5D}, RegisterBinding{0x5E},
                                         RegisterBinding{0x5F}};
    std::array<RegisterBinding, 4> trange_{RegisterBinding{0x60}, RegisterBinding{0x61},
                                           RegisterBinding{0x62}, RegisterBinding{0x63}};
    std::array<RegisterBinding, 2> thermHyst_{RegisterBinding{0x54}, RegisterBinding{0x55}};
    std::array<RegisterBinding, 4> therm1_{RegisterBinding{0x4C}, RegisterBinding{0x4D},
                                           RegisterBinding{0x4E}, RegisterBinding{0x4F}};
    std::array<RegisterBinding, 4> therm2_{RegisterBinding{0x50}, RegisterBinding{0x51},
                                           RegisterBinding{0x52}, RegisterBinding{0x53}};
};

}  // namespace kestrum
