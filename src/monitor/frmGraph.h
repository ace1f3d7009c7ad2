#pragma once
// The Graphs window: seven strip charts of the live measurements, one shown at a time and
// chosen from a list, fed by the master timer through UpdateLiveGraphs (GraphSubs) while
// the window is loaded.

#include <array>

#include "monitor/GraphSubs.h"
#include "widgets/WindowManager.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace kestrum {

class StripChart;
class UpDown;

class frmGraph final : public ChildWindow {
    Q_OBJECT
public:
    // The charts, in the order of the list.
    using Chart = GraphLayout::Chart;
    using enum GraphLayout::Chart;
    // The period box and its spinner: a period is a 16-bit number of milliseconds.
    static constexpr int kMinimumPeriodMs = 10;
    static constexpr int kMaximumPeriodMs = 32767;
    static constexpr int kPeriodStepMs = 10;

    explicit frmGraph(QWidget* parent = nullptr);

    void Form_Load() override;

    // Names the voltage chart's legend after the voltage channels in use, in channel order.
    void SetUpVoltageGraphLabels();
    // Nothing to do: the temperature legends are rewritten with every sample.
    void SetUpTempGraphLabels() {}

    void cmbGraph_Click();
    void txtUpdate_Change();

    QLabel* lblGraph = nullptr;
    QComboBox* cmbGraph = nullptr;
    QLabel* lblUpdate = nullptr;
    QLineEdit* txtUpdate = nullptr;
    UpDown* UpDown1 = nullptr;
    GraphCharts stpGraph{};

private:
    void BuildCharts();
    void ShowGraph(int index);
};

}  // namespace kestrum
