#include "monitor/frmGraph.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/Channels.h"
#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "monitor/GraphSubs.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 10335;
constexpr int kHeightTwips = 8325;
constexpr int kVoltageLabelCount = 14;
using L = GraphLayout;

const QString kDegreesTitle = QStringLiteral("Temperature (\u00B0C)");
const QString kFanTitle = QStringLiteral("Fan Speed (RPM)");
const QString kPwmTitle = QStringLiteral("PWM Drive (% Duty)");
const QString kToolTip = QStringLiteral("Drag the arrows at the edges of this graph to zoom in and out");

// The legends of items 0 .. count - 1 read prefix1, prefix2, ..., at label(item).
void NameLabels(StripChart& chart, int (*label)(int), const char* prefix, int count) {
    for (int n = 0; n < count; ++n) chart.SetLabelCaption(label(n), QString("%1%2").arg(prefix).arg(n + 1));
}

void NameTemperatureLabels(StripChart& chart) {
    for (int i = 0; i < 4; ++i) chart.SetLabelCaption(L::Label(i), kTempChannelNames[i]);
}

// The tachs or PWM outputs of a combined chart on the second axis, with its title.
void UseSecondAxis(StripChart& chart, const QString& title, const char* prefix, int count) {
    chart.SetLabelCaption(L::kSecondAxisTitleLabel, title);
    chart.SetAxisTitleLabel(1, L::kSecondAxisTitleLabel);
    for (int k = 0; k < count; ++k) {
        chart.SetTraceAxis(L::SecondAxisTrace(k), 1);
        chart.SetLabelTrace(L::SecondAxisLabel(k), L::SecondAxisTrace(k));
    }
    NameLabels(chart, &L::SecondAxisLabel, prefix, count);
}

}  // namespace

frmGraph::frmGraph(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmGraph");
    setWindowTitle("Graphing");

    lblGraph = NewLabel(this, "lblGraph", "Select Graph");
    cmbGraph = NewList(this, "cmbGraph",
                       {"Temperature Only", "Tach Only", "PWM Only", "Temperature and Tach",
                        "Temperature and PWM", "Voltage", "THERM"});
    lblGraph->setBuddy(cmbGraph);
    lblUpdate = NewLabel(this, "lblUpdate", "Update Rate(ms)");
    const SpinnerBox period =
        NewSpinnerBox(this, "txtUpdate", "UpDown1", kMinimumPeriodMs, kMaximumPeriodMs, kPeriodStepMs);
    txtUpdate = period.text;
    UpDown1 = period.spinner;
    lblUpdate->setBuddy(txtUpdate);
    BuildCharts();

    auto* controls = new QHBoxLayout;
    controls->addWidget(lblGraph);
    controls->addWidget(cmbGraph);
    controls->addSpacing(24);
    controls->addWidget(lblUpdate);
    controls->addWidget(period.box);
    controls->addStretch();
    // One place for all seven: only the shown chart takes it.
    auto* charts = new QGridLayout;
    for (StripChart* chart : stpGraph) charts->addWidget(chart, 0, 0);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addLayout(controls);
    window->addLayout(charts, 1);

    connect(cmbGraph, &QComboBox::activated, this, [this] { cmbGraph_Click(); });
    connect(txtUpdate, &QLineEdit::textEdited, this, [this] { txtUpdate_Change(); });
    SetFormOpenFlag(gGraphFormOpen);
    KeepTimerTask(TaskAttachment::Window(WindowTask::Graphs, [this] { UpdateLiveGraphs(stpGraph); }));
}

void frmGraph::BuildCharts() {
    for (StripChart*& chart : stpGraph) {
        chart = new StripChart(this);
        chart->setToolTip(kToolTip);
        chart->hide();
    }
    NameArray(stpGraph, "stpGraph");

    stpGraph[kTemperatureChart]->SetLabelCaption(L::kTitleLabel, kDegreesTitle);
    NameTemperatureLabels(*stpGraph[kTemperatureChart]);

    stpGraph[kTachChart]->SetLabelCaption(L::kTitleLabel, kFanTitle);
    NameLabels(*stpGraph[kTachChart], &L::Label, "Tach", 8);

    stpGraph[kPwmChart]->SetLabelCaption(L::kTitleLabel, kPwmTitle);
    NameLabels(*stpGraph[kPwmChart], &L::Label, "PWM", 4);

    StripChart& temperatureTach = *stpGraph[kTemperatureTachChart];
    temperatureTach.SetLabelCaption(L::kTitleLabel, kDegreesTitle);
    NameTemperatureLabels(temperatureTach);
    UseSecondAxis(temperatureTach, kFanTitle, "Tach", 8);

    StripChart& temperaturePwm = *stpGraph[kTemperaturePwmChart];
    temperaturePwm.SetLabelCaption(L::kTitleLabel, kDegreesTitle);
    NameTemperatureLabels(temperaturePwm);
    UseSecondAxis(temperaturePwm, kPwmTitle, "PWM", 4);

    stpGraph[kVoltageChart]->SetLabelCaption(L::kTitleLabel, "Voltage");

    stpGraph[kThermChart]->SetLabelCaption(L::kTitleLabel, "THERM Timer %");
    NameLabels(*stpGraph[kThermChart], &L::Label, "THERM", 2);
}

void frmGraph::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    // Chosen from code: the list's click handler does not run.
    cmbGraph->setCurrentIndex(kTemperatureTachChart);
    ShowGraph(kTemperatureTachChart);
    txtUpdate->setText(QString::number(gGraphPeriodMs));
    SetUpVoltageGraphLabels();
    SetUpTempGraphLabels();
}

void frmGraph::ShowGraph(int index) {
    for (StripChart* chart : stpGraph) chart->setVisible(false);
    stpGraph[index]->setVisible(true);
}

void frmGraph::cmbGraph_Click() {
    for (int i = 0; i < cmbGraph->count(); ++i)
        if (cmbGraph->itemText(i) == cmbGraph->currentText()) ShowGraph(i);
}

void frmGraph::txtUpdate_Change() {
    const double period = LeadingNumber(txtUpdate->text().toStdString());
    // Saturates: the 16-bit period cannot hold more than 32767 ms.
    if (period > 0) gGraphPeriodMs = RoundToInt16(period);
}

void frmGraph::SetUpVoltageGraphLabels() {
    StripChart& chart = *stpGraph[kVoltageChart];
    for (int label = 1; label <= kVoltageLabelCount; ++label) chart.SetLabelCaption(label, QString());
    int label = 1;
    for (int channel = 0; channel < kVoltageChannelCount && label <= kVoltageLabelCount; ++channel)
        if (gVoltageInUse[channel])
            chart.SetLabelCaption(label++, QString::fromStdString(gVoltageName[channel]));
}

}  // namespace kestrum
