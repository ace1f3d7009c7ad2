#include "features/fancontrol/frmAutoGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/Channels.h"
#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/Scheduler.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 10620;
constexpr int kHeightTwips = 7275;

constexpr std::array<const char*, 4> kPwmTabs{"PWM1", "PWM2", "PWM3", "PWM4"};
const char* const kChartTip = "Drag the arrows at the edges of this graph to zoom in and out";
// The first slot's legend, which says instead that the output follows no temperature.
constexpr int kFirstLegend = CurvePlot::LegendLabel(0);

// The spinners' ranges.
constexpr int kPercentMaximum = 100;
constexpr int kTminMinimum = -20;
constexpr int kTemperatureMaximum = 120;
constexpr int kHysteresisMaximum = 15;

// A control's text as UTF-8 in a string that keeps its storage: the refresh reads every
// box three times a second and should not allocate to do it.
void AssignText(std::string& out, const QString& text) {
    QStringEncoder encoder(QStringEncoder::Utf8);
    out.resize(encoder.requiredSpace(text.size()));
    char* end = encoder.appendToBuffer(out.data(), text);
    out.resize(end - out.data());
}

// A text box with its spinner on a form row.
QLineEdit* AddSpinnerRow(QFormLayout& form, QWidget* parent, const char* caption, const QString& textName,
                         const QString& spinnerName, UpDown*& spinner, int minimum, int maximum) {
    SpinnerBox box = NewSpinnerBox(parent, textName, spinnerName, minimum, maximum);
    spinner = box.spinner;
    form.addRow(caption, box.box);
    return box.text;
}

QFormLayout* NewForm(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setContentsMargins(kInnerMargins);
    form->setVerticalSpacing(4);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    return form;
}

}  // namespace

frmAutoGraph::frmAutoGraph(QWidget* parent) : WriteAtOnceWindow(parent) {
    setObjectName("frmAutoGraph");
    setWindowTitle("Automatic Control");

    QWidget* temps = BuildTempTabs();
    QWidget* pwms = BuildPwmTabs();
    QWidget* allFans = BuildAllFans();
    stpGraph = Named(new StripChart(this), "stpGraph");
    stpGraph->SetMode(StripChart::Mode::XY);
    // A channel's live point and Tmin hysteresis belong to its curve: the same hue, the
    // hysteresis paler.
    for (int j = 0; j < CurvePlot::kSlots; ++j) {
        const QColor curve = StripChart::TraceColour(CurvePlot::CurveTrace(j));
        stpGraph->SetTraceColour(CurvePlot::LivePointTrace(j), curve);
        stpGraph->SetTraceColour(CurvePlot::HysteresisTrace(j), curve.lighter(150));
    }
    stpGraph->setToolTip(kChartTip);
    // The legend column is too narrow for the sentence that says an output has no curve:
    // it is shown across the empty plot instead, where it can wrap.
    lblNoCurve_ = Named(new QLabel(stpGraph), "lblNoCurve");
    lblNoCurve_->setAlignment(Qt::AlignCenter);
    lblNoCurve_->setWordWrap(true);
    lblNoCurve_->setAttribute(Qt::WA_TransparentForMouseEvents);  // the zoom arrows stay usable
    lblNoCurve_->hide();
    auto* overlay = new QVBoxLayout(stpGraph);
    overlay->setContentsMargins(40, 30, 20, 30);
    overlay->addWidget(lblNoCurve_);
    cmdCancel = NewButton(this, "cmdCancel", "Close");

    auto* controls = new QVBoxLayout;
    controls->setSpacing(6);
    controls->addWidget(temps);
    controls->addWidget(pwms);
    controls->addWidget(allFans);
    controls->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(stpGraph, 1);
    right->addLayout(RightAlignedRow({cmdCancel}));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addLayout(controls);
    layout->addLayout(right, 1);

    BindRegisters();
    WireUserSignals();
    SetFormOpenFlag(gAutoGraphFormOpen);
    KeepTimerTask(TaskAttachment::Window(WindowTask::AutoControl, [this] { PlotAFCTemps(); }));
}

QWidget* frmAutoGraph::BuildTempTabs() {
    tbTemp = Named(new QTabWidget(this), "tbTemp");
    tbTemp->tabBar()->setUsesScrollButtons(false);  // every channel's tab in view
    for (int t = 0; t < 4; ++t) {
        auto* page = new QWidget(tbTemp);
        QFormLayout* form = NewForm(page);
        txtTmin[t] = AddSpinnerRow(*form, page, "Tmin", ElementName("txtTmin", t), ElementName("updTmin", t),
                                   updTmin[t], kTminMinimum, kTemperatureMaximum);
        cmbTrange[t] = NewList(page, ElementName("cmbTrange", t), kTrangeItems);
        form->addRow("Trange", cmbTrange[t]);
        txtTminHyst[t] = AddSpinnerRow(*form, page, "Tmin Hyst", ElementName("txtTminHyst", t),
                                       ElementName("updTminHyst", t), updTminHyst[t], 0, kHysteresisMaximum);
        txtTH1[t] = AddSpinnerRow(*form, page, "THERM1 Limit", ElementName("txtTH1", t),
                                  ElementName("updTH1", t), updTH1[t], 0, kTemperatureMaximum);
        txtTH2[t] = AddSpinnerRow(*form, page, "THERM2 Limit", ElementName("txtTH2", t),
                                  ElementName("updTH2", t), updTH2[t], 0, kTemperatureMaximum);
        txtHyst[t] = AddSpinnerRow(*form, page, "THERM Hyst", ElementName("txtHyst", t),
                                   ElementName("updHyst", t), updHyst[t], 0, kHysteresisMaximum);
        tbTemp->addTab(page, kTempChannelNames[t]);
    }
    return tbTemp;
}

QWidget* frmAutoGraph::BuildPwmTabs() {
    tbPWM = Named(new QTabWidget(this), "tbPWM");
    tbPWM->tabBar()->setUsesScrollButtons(false);
    for (int p = 0; p < 4; ++p) {
        auto* page = new QWidget(tbPWM);
        QFormLayout* form = NewForm(page);
        cmbControl[p] = NewList(page, ElementName("cmbControl", p), kPwmSourceCaptions);
        form->addRow("Control", cmbControl[p]);
        txtMinPWM[p] = AddSpinnerRow(*form, page, "Min Duty", ElementName("txtMinPWM", p),
                                     ElementName("updMinPWM", p), updMinPWM[p], 0, kPercentMaximum);
        chkMinSpeed[p] = NewCheckBox(page, ElementName("chkMinSpeed", p), "Always On");
        form->addRow(QString(), chkMinSpeed[p]);
        tbPWM->addTab(page, kPwmTabs[p]);
    }
    return tbPWM;
}

QWidget* frmAutoGraph::BuildAllFans() {
    fraAllFans = NewFrame(this, "fraAllFans", "All Fans");
    QFormLayout* form = NewForm(fraAllFans);
    txtMaxPWM = AddSpinnerRow(*form, fraAllFans, "Max PWM 1-4", "txtMaxPWM", "updMaxPWM", updMaxPWM, 0,
                              kPercentMaximum);
    chkThermFS1 = NewCheckBox(fraAllFans, "chkThermFS1", "Full Speed on THERM1");
    chkThermFS2 = NewCheckBox(fraAllFans, "chkThermFS2", "Full Speed on THERM2");
    form->addRow(chkThermFS1);
    form->addRow(chkThermFS2);
    return fraAllFans;
}

void frmAutoGraph::BindRegisters() {
    thermConfig_.Bit(chkThermFS1, 0, Sense::Inverted).Bit(chkThermFS2, 1, Sense::Inverted);
    maxPwm_.Percent(txtMaxPWM);
    for (std::size_t i = 0; i < 4; ++i) {
        pwmConfig_[i].Field(cmbControl[i], kPwmSourceLowBit, kPwmSourceWidth);
        minPwm_[i].Percent(txtMinPWM[i]);
        tmin_[i].Celsius(txtTmin[i]);
        trange_[i].Field(cmbTrange[i], 4, 4).NumberField(txtTminHyst[i], 0, 4);
        therm1_[i].Celsius(txtTH1[i]);
        therm2_[i].Celsius(txtTH2[i]);
    }
    // Two to a register: PWM1 and 2, PWM3 and 4; Local and Remote1, Remote2 and Remote3.
    minSpeed_[0].Bit(chkMinSpeed[0], 0).Bit(chkMinSpeed[1], 1);
    minSpeed_[1].Bit(chkMinSpeed[2], 0).Bit(chkMinSpeed[3], 1);
    thermHyst_[0].NumberField(txtHyst[0], 0, 4).NumberField(txtHyst[1], 4, 4);
    thermHyst_[1].NumberField(txtHyst[2], 0, 4).NumberField(txtHyst[3], 4, 4);
}

void frmAutoGraph::WireUserSignals() {
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(tbPWM, &QTabWidget::currentChanged, this, [this, previous = 0](int tab) mutable {
        tbPWM_Click(previous);
        previous = tab;
    });
    OnUserClick(chkThermFS1, [this] { chkThermFS1_Click(); });
    OnUserClick(chkThermFS2, [this] { chkThermFS2_Click(); });
    OnUserEdit(txtMaxPWM, [this] { txtMaxPWM_Change(); });
    for (int i = 0; i < 4; ++i) {
        OnUserChoice(cmbControl[i], [this, i] { cmbControl_Click(i); });
        OnUserChoice(cmbTrange[i], [this, i] { cmbTrange_Click(i); });
        OnUserClick(chkMinSpeed[i], [this, i] { chkMinSpeed_Click(i); });
        OnUserEdit(txtMinPWM[i], [this, i] { txtMinPWM_Change(i); });
        OnUserEdit(txtTmin[i], [this, i] { txtTmin_Change(i); });
        OnUserEdit(txtTminHyst[i], [this, i] { txtTminHyst_Change(i); });
        OnUserEdit(txtTH1[i], [this, i] { txtTH1_Change(i); });
        OnUserEdit(txtTH2[i], [this, i] { txtTH2_Change(i); });
        OnUserEdit(txtHyst[i], [this, i] { txtHyst_Change(i); });
    }
}

void frmAutoGraph::Form_Load() {
    mReady = false;
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LoadThermAndMaxPwm();
    LoadPwmSettings();
    LoadTempSettings();
    BuildCurveModel();
    mReady = true;
    tbPWM_Click(0);
}

void frmAutoGraph::Form_Unload() { mReady = false; }

void frmAutoGraph::cmdCancel_Click() { Unload(); }

void frmAutoGraph::LoadThermAndMaxPwm() {
    thermConfig_.LoadFromChip();
    maxPwm_.LoadFromChip();
}

void frmAutoGraph::LoadPwmSettings() {
    LoadBlock(pwmConfig_);
    LoadBlock(minSpeed_);
    LoadBlock(minPwm_);
}

void frmAutoGraph::LoadTempSettings() {
    LoadBlock(tmin_);
    LoadBlock(trange_);
    LoadBlock(thermHyst_);
    LoadBlock(therm1_, therm2_);
}

void frmAutoGraph::GatherControls() {
    AssignText(controls_.txtMaxPWM, txtMaxPWM->text());
    controls_.chkThermFS1 = chkThermFS1->isChecked();
    controls_.chkThermFS2 = chkThermFS2->isChecked();
    for (std::size_t i = 0; i < 4; ++i) {
        AssignText(controls_.cmbControl[i], cmbControl[i]->currentText());
        AssignText(controls_.txtMinPWM[i], txtMinPWM[i]->text());
        controls_.chkMinSpeed[i] = chkMinSpeed[i]->isChecked();
        AssignText(controls_.txtTmin[i], txtTmin[i]->text());
        AssignText(controls_.cmbTrange[i], cmbTrange[i]->currentText());
        AssignText(controls_.txtTminHyst[i], txtTminHyst[i]->text());
        AssignText(controls_.txtTH1[i], txtTH1[i]->text());
        AssignText(controls_.txtTH2[i], txtTH2[i]->text());
        AssignText(controls_.txtHyst[i], txtHyst[i]->text());
        controls_.tmin[i] = gTmin[i];
        controls_.temperature[i] = gTemperature[i];
        controls_.pwmDuty[i] = gPWMDuty[i];
    }
}

void frmAutoGraph::GatherView() {
    view_.pwm = tbPWM->currentIndex();
    view_.title = title_;
    view_.ready = mReady;
    view_.xSpan = stpGraph->XSpan();
    view_.xMaximum = stpGraph->XMaximum();
}

void frmAutoGraph::ShowPlot() {
    stpGraph->Clear();
    for (std::size_t n = 0; n < plot_.labels.size(); ++n) {
        if (shownLabels_[n] == plot_.labels[n]) continue;
        shownLabels_[n] = plot_.labels[n];
        stpGraph->SetLabelCaption(static_cast<int>(n), QString::fromStdString(plot_.labels[n]));
        if (n == kFirstLegend) lblNoCurve_->setText(QString::fromStdString(plot_.labels[n]));
    }
    const bool noCurve = model_.mCurve[view_.pwm].ChannelCount == 0;
    if (noCurve != lblNoCurve_->isVisibleTo(stpGraph)) {
        stpGraph->SetLabelShown(kFirstLegend, !noCurve);
        lblNoCurve_->setVisible(noCurve);
    }
    for (int trace = 0; trace < CurvePlot::kTraceCount; ++trace) {
        const CurvePlot::Trace& points = plot_.traces[trace];
        for (int k = 0; k < points.count; ++k) {
            const CurvePlot::Point& point = points.points[k];
            stpGraph->PlotPoint(trace, point.x, point.y);
        }
    }
}

void frmAutoGraph::BuildCurveModel() {
    GatherControls();
    model_.BuildCurveModel(controls_);
}

void frmAutoGraph::DrawCurves() {
    GatherView();
    model_.DrawCurves(view_, plot_);
    ShowPlot();
}

void frmAutoGraph::PlotAFCTemps() {
    GatherControls();
    GatherView();
    model_.PlotAFCTemps(controls_, view_, plot_);
    ShowPlot();
}

void frmAutoGraph::tbPWM_Click(int /*previousTab*/) {
    const int p = tbPWM->currentIndex();
    const FanCurveModel::PwmCurve& curve = model_.mCurve[p];
    // The settings that shape the curve are those of its first controlling channel.
    if (curve.ChannelCount > 0) tbTemp->setCurrentIndex(curve.Channels[0].Channel - 1);
    title_ = kPwmTabs[p];
    DrawCurves();
}

void frmAutoGraph::Redraw() {
    BuildCurveModel();
    DrawCurves();
}

// Read afresh with only this control's bits changed, or, for a box that owns its whole
// register, written outright; then the curve is drawn anew.
bool frmAutoGraph::WriteOnly(const RegisterBinding& binding, const QWidget* control) {
    if (!mReady) return false;
    binding.WriteModified(control);
    Redraw();
    return true;
}

bool frmAutoGraph::WriteWhole(const RegisterBinding& binding) {
    if (!mReady) return false;
    binding.WriteRebuilt();
    Redraw();
    return true;
}

void frmAutoGraph::chkMinSpeed_Click(int index) { WriteOnly(minSpeed_[index / 2], chkMinSpeed[index]); }

void frmAutoGraph::chkThermFS1_Click() { WriteOnly(thermConfig_, chkThermFS1); }

void frmAutoGraph::chkThermFS2_Click() { WriteOnly(thermConfig_, chkThermFS2); }

void frmAutoGraph::cmbControl_Click(int index) {
    if (WriteOnly(pwmConfig_[index], cmbControl[index])) tbPWM_Click(0);
}

void frmAutoGraph::cmbTrange_Click(int index) { WriteOnly(trange_[index], cmbTrange[index]); }

void frmAutoGraph::txtMaxPWM_Change() { WriteWhole(maxPwm_); }

void frmAutoGraph::txtMinPWM_Change(int index) {
    if (!mReady) return;
    minPwm_[index].WriteRebuilt();
    BuildCurveModel();
    tbPWM_Click(0);
}

void frmAutoGraph::txtTmin_Change(int index) { WriteWhole(tmin_[index]); }

void frmAutoGraph::txtTH1_Change(int index) { WriteWhole(therm1_[index]); }

void frmAutoGraph::txtTH2_Change(int index) { WriteWhole(therm2_[index]); }

void frmAutoGraph::txtTminHyst_Change(int index) { WriteOnly(trange_[index], txtTminHyst[index]); }

void frmAutoGraph::txtHyst_Change(int index) { WriteOnly(thermHyst_[index / 2], txtHyst[index]); }

}  // namespace kestrum
