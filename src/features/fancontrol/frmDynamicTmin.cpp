#include "features/fancontrol/frmDynamicTmin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Channels.h"
#include "core/ChipAccess.h"
#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/PinDefinitions.h"
#include "core/Twips.h"
#include "features/fancontrol/ChannelLabel.h"
#include "features/fancontrol/DynTminDemo.h"
#include "platform/Seams.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"
#include "widgets/WrappingCheckBox.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 13965;
constexpr int kHeightTwips = 9165;
constexpr int kChartBottomGapTwips = 600;
constexpr int kPanelWidthTwips = 4800;

constexpr int kOpPointMinimum = 0;
constexpr int kTemperatureMinimum = -20;
constexpr int kTemperatureMaximum = 120;
constexpr int kHysteresisMaximum = 15;

constexpr int kRemote1Tab = 0;
constexpr int kRemote2Tab = 1;

constexpr std::array<double, 4> kDutyLabelOffsets{0.04, 0.06, 0.08, 0.10};

const QString kRunDemo = QStringLiteral("Run Demo");
const QString kStopDemo = QStringLiteral("Stop...");
const std::array<QString, 4> kPwmNames{QStringLiteral("PWM1"), QStringLiteral("PWM2"), QStringLiteral("PWM3"),
                                       QStringLiteral("PWM4")};
// Legend texts of traces 0..4, labels 1..5.
const std::array<const char*, 5> kTraceLabels{"Temp", "Op-Point", "Tmin", "High Limit", "Low Limit"};

// The channel of each tab and chart.
const char* ChannelName(int tab) { return TempChannelName(kDynamicTminChannels[tab]); }

QString Caption(int tab, const char* what) { return QString("%1 %2").arg(ChannelName(tab), what); }

const std::array<QString, 2> kNoFans{QString("No fans controlled by %1").arg(ChannelName(0)),
                                     QString("No fans controlled by %1").arg(ChannelName(1))};

}  // namespace

frmDynamicTmin::frmDynamicTmin(QWidget* parent) : WriteAtOnceWindow(parent) {
    setObjectName("frmDynamicTmin");
    setWindowTitle("Dynamic Tmin Settings");
    panel_ = BuildPanel();
    BuildCharts();
    BindRegisters();
    WireUserSignals();
    SetFormOpenFlag(gDynTminFormOpen);
    KeepTimerTask(TaskAttachment::Window(WindowTask::DynamicTmin, [this] { UpdateDynTminGraph(); }));
}

QGroupBox* frmDynamicTmin::BuildChannelFrame(int channel, const ChannelBoxes& boxes) {
    QGroupBox* frame = NewFrame(this, channel == 0 ? "Frame1" : "Frame2");
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(kInnerMargins);
    grid->setVerticalSpacing(6);
    int row = 0;
    for (QCheckBox* box : {boxes.enable, boxes.loadOnTherm1, boxes.loadOnTherm2}) {
        box->setParent(frame);
        grid->addWidget(box, row++, 0, 1, 3);
    }
    const auto addRow = [&](const char* what, QWidget* field, QWidget* buddy) {
        QLabel* label = NewLabel(frame, QString(), Caption(channel, what));
        label->setBuddy(buddy);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1, Qt::AlignLeft);
    };
    const auto addSpinner = [&](const char* what, const QString& name, int minimum, QLineEdit*& text) {
        const SpinnerBox box =
            NewSpinnerBox(frame, name, "UpDown" + name.mid(3), minimum, kTemperatureMaximum);
        text = box.text;
        addRow(what, box.box, text);
    };
    cmbCycle[channel] =
        NewList(frame, ElementName("cmbCycle", channel),
                {"0.5 Sec", "1 Sec", "2 Sec", "4 Sec", "8 Sec", "16 Sec", "32 Sec", "64 Sec"});
    addRow("Cycle Time", cmbCycle[channel], cmbCycle[channel]);
    addSpinner("Op-Point", boxes.opPointName, kOpPointMinimum, boxes.opPoint);
    addSpinner("Tmin", ElementName("txtTmin", channel), kTemperatureMinimum, txtTmin[channel]);
    addSpinner("Low Limit", ElementName("txtLowLim", channel), kTemperatureMinimum, txtLowLim[channel]);
    addSpinner("High Limit", ElementName("txtHighLim", channel), kTemperatureMinimum, txtHighLim[channel]);
    grid->setColumnStretch(2, 1);
    return frame;
}

QWidget* frmDynamicTmin::BuildPanel() {
    auto* panel = new QWidget(this);
    chkEnDynR1 = NewCheckBox(this, "chkEnDynR1", "Enable Dynamic Tmin for Remote1");
    chkEnDynR2 = NewCheckBox(this, "chkEnDynR2", "Enable Dynamic Tmin for Remote2");
    // The long captions wrap, leaving the charts room for their legends.
    const auto wrapping = [this](const char* name, const char* caption) -> QCheckBox* {
        return Named(new WrappingCheckBox(caption, this), name);
    };
    chkLoadOp1Th1 = wrapping("chkLoadOp1Th1", "Load Remote1 Op-Point with Remote1 Value on THERM1 event");
    chkLoadOp2Th1 = wrapping("chkLoadOp2Th1", "Load Remote2 Op-Point with Remote2 Value on THERM1 event");
    chkLoadOp1Th2 = wrapping("chkLoadOp1Th2", "Load Remote1 Op-Point with Remote1 Value on THERM2 event");
    chkLoadOp2Th2 = wrapping("chkLoadOp2Th2", "Load Remote2 Op-Point with Remote2 Value on THERM2 event");

    SSTab1 = Named(new QTabWidget(panel), "SSTab1");
    const auto addTab = [this](QGroupBox* frame, int channel) {
        auto* page = new QWidget(SSTab1);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(kInnerMargins);
        frame->setParent(page);
        layout->addWidget(frame);
        layout->addStretch(1);
        SSTab1->addTab(page, ChannelName(channel));
    };
    Frame1 = BuildChannelFrame(0, {chkEnDynR1, chkLoadOp1Th1, chkLoadOp1Th2, "txtR1OpPoint", txtR1OpPoint});
    addTab(Frame1, 0);
    Frame2 = BuildChannelFrame(1, {chkEnDynR2, chkLoadOp2Th1, chkLoadOp2Th2, "txtR2OpPoint", txtR2OpPoint});
    addTab(Frame2, 1);

    chkConLoop = NewCheckBox(panel, "chkConLoop", "Backwards Compatible Control Loop");
    QLabel* hysteresisLabel = NewLabel(panel, QString(), "Operating Point Hysteresis ");
    const SpinnerBox hysteresis =
        NewSpinnerBox(panel, "txtOpPointHyst", "UpDownOpPointHyst", 0, kHysteresisMaximum);
    txtOpPointHyst = hysteresis.text;
    hysteresisLabel->setBuddy(txtOpPointHyst);
    cmdDemo = NewButton(panel, "cmdDemo", kRunDemo);
    cmdCancel = NewButton(panel, "cmdCancel", "Close");

    auto* hysteresisRow = new QHBoxLayout;
    hysteresisRow->addWidget(hysteresisLabel);
    hysteresisRow->addWidget(hysteresis.box);
    hysteresisRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDemo);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kNoMargins);
    layout->addWidget(SSTab1);
    layout->addSpacing(4);
    layout->addWidget(chkConLoop);
    layout->addLayout(hysteresisRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addStretch(1);
    panel->move(kWindowMargins.left(), kWindowMargins.top());
    panel->setFixedWidth(TwipsToPixels(kPanelWidthTwips));
    panel->adjustSize();
    return panel;
}

// The charts stand beside the controls, a window margin from them; Form_Resize gives them
// the rest of the window.
void frmDynamicTmin::BuildCharts() {
    for (int i = 0; i < 2; ++i) {
        auto* chart = new StripChart(this);
        Strip2[i] = chart;
        chart->SetLabelCaption(0, ChannelName(i));
        for (int label = 1; label <= 5; ++label) chart->SetLabelCaption(label, kTraceLabels[label - 1]);
        chart->SetLabelCaption(kDutyAxisLabel, "% Duty");
        chart->SetAxisTitleLabel(1, kDutyAxisLabel);
        for (size_t k = 0; k < kDutyLabels.size(); ++k) {
            const int trace = kFirstDutyTrace + static_cast<int>(k);
            chart->SetTraceAxis(trace, 1);
            chart->SetLabelTrace(kDutyLabels[k], trace);
        }
        chart->SetAxisRange(1, 0.0, 100.0);
        chart->move(panel_->geometry().right() + 1 + kWindowMargins.right(), kWindowMargins.top());
        chart->setVisible(i == 0);
        connect(chart, &StripChart::layoutChanged, this, [this, i] { Strip2_LayoutChange(i); });
    }
    NameArray(Strip2, "Strip2");
}

void frmDynamicTmin::BindRegisters() {
    tminCal1_.Bit(chkEnDynR1, 0)
        .Bit(chkEnDynR2, 1)
        .Bit(chkLoadOp1Th1, 2)
        .Bit(chkLoadOp2Th1, 3)
        .Bit(chkLoadOp1Th2, 4)
        .Bit(chkLoadOp2Th2, 5);
    tminCal2_.Field(cmbCycle[0], 0, 3).Field(cmbCycle[1], 3, 3).Bit(chkConLoop, 6, Sense::Inverted);
    opPoint_[0].Celsius(txtR1OpPoint);
    opPoint_[1].Celsius(txtR2OpPoint);
    for (int i = 0; i < 2; ++i) {
        tmin_[i].Celsius(txtTmin[i]);
        lowLimit_[i].Celsius(txtLowLim[i]);
        highLimit_[i].Celsius(txtHighLim[i]);
    }
    hysteresis_.NumberField(txtOpPointHyst, 4, 4);
}

void frmDynamicTmin::WireUserSignals() {
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Unload(); });
    connect(cmdDemo, &QPushButton::clicked, this, [this] { cmdDemo_Click(); });
    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { SSTab1_Click(); });
    // The charts subtract the number in the box, whoever put it there.
    connect(txtOpPointHyst, &QLineEdit::textChanged, this,
            [this](const QString& text) { hysteresisShown_ = LeadingNumber(text.toStdString()); });

    for (QCheckBox* box :
         {chkEnDynR1, chkEnDynR2, chkLoadOp1Th1, chkLoadOp2Th1, chkLoadOp1Th2, chkLoadOp2Th2})
        OnUserClick(box, [this, box] { tminCal1_.WriteModified(box); });
    OnUserClick(chkConLoop, [this] { tminCal2_.WriteModified(chkConLoop); });
    for (QComboBox* list : cmbCycle) OnUserChoice(list, [this, list] { tminCal2_.WriteModified(list); });

    // A temperature is written whole, with no read, on every change of its text.
    const auto writeWhole = [this](QLineEdit* box, const RegisterBinding& binding) {
        OnUserEdit(box, [&binding] { binding.WriteRebuilt(); });
    };
    writeWhole(txtR1OpPoint, opPoint_[0]);
    writeWhole(txtR2OpPoint, opPoint_[1]);
    for (int i = 0; i < 2; ++i) {
        writeWhole(txtTmin[i], tmin_[i]);
        writeWhole(txtLowLim[i], lowLimit_[i]);
        writeWhole(txtHighLim[i], highLimit_[i]);
    }
    // Bits 3:0 of the register have no control and are written 0.
    writeWhole(txtOpPointHyst, hysteresis_);
}

void frmDynamicTmin::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LoadBlock(tminCal1_, tminCal2_);
    LoadBlock(opPoint_);
    LoadBlock(tmin_);
    LoadBlock(lowLimit_);
    LoadBlock(highLimit_);
    LoadBlock(hysteresis_);

    if (!gRemote1Enabled) {
        SSTab1->setCurrentIndex(kRemote2Tab);
        SSTab1->setTabEnabled(kRemote1Tab, false);
        SSTab1->setTabText(kRemote1Tab, "R1 not enabled");
        ShowChart(kRemote2Tab);
    }
    if (gDemoRunning) cmdDemo->setText(kStopDemo);
}

void frmDynamicTmin::cmdDemo_Click() {
    if (gDemoRunning) {
        cmdDemo->setText(kRunDemo);
        gDemoRunning = false;
        return;
    }
    WriteDemoConfiguration();
    cmdDemo->setText(kStopDemo);
    // Refilled from code: nothing is written back.
    Form_Load();
    SSTab1->setCurrentIndex(kRemote2Tab);
    ShowChart(kRemote2Tab);  // also when the tab was already in front
    Strip2[kRemote2Tab]->Clear();
    gDemoRunning = true;
}

void frmDynamicTmin::ShowChart(int index) {
    for (StripChart* chart : Strip2) chart->setVisible(false);
    Strip2.at(index)->setVisible(true);
}

void frmDynamicTmin::SSTab1_Click() {
    if (SSTab1->currentIndex() >= 0) ShowChart(SSTab1->currentIndex());
}

void frmDynamicTmin::resizeEvent(QResizeEvent* event) {
    WriteAtOnceWindow::resizeEvent(event);
    Form_Resize();
}

// A window smaller than a chart's place leaves the chart at no size, not a negative one.
void frmDynamicTmin::Form_Resize() {
    const int bottomGap = TwipsToPixels(kChartBottomGapTwips);
    for (StripChart* chart : Strip2)
        chart->resize(std::max(0, width() - chart->x()), std::max(0, height() - chart->y() - bottomGap));
}

void frmDynamicTmin::Strip2_LayoutChange(int index) {
    StripChart& chart = *Strip2.at(index);
    const double reference = chart.ReferenceHeight();
    for (size_t i = 0; i < kDutyLabels.size(); ++i)
        chart.SetLabelPosition(kDutyLabels[i], reference + kDutyLabelOffsets[i]);
}

void frmDynamicTmin::UpdateDynTminGraph() {
    // Every sample of this update at one reading of the clock.
    const double now = SystemClock().SecondsSinceMidnight();
    FeedChart(0, now);
    FeedChart(1, now);
    SetUpDutyChannels();
    for (size_t strip = 0; strip < Strip2.size(); ++strip) {
        const DutyList& list = duties_[strip];
        for (int i = 0; i < 4; ++i)
            Strip2[strip]->AddSample(kFirstDutyTrace + i, i < list.count ? gPWMDuty[list.pwm[i]] : 0, now);
    }
}

// Traces 0..4 with their labels at their values, then the operating point less the
// hysteresis shown in the window.
void frmDynamicTmin::FeedChart(int strip, double now) {
    StripChart& chart = *Strip2.at(strip);
    const auto c = static_cast<size_t>(kDynamicTminChannels[strip]);
    chart.AddSample(0, gTemperature[c], now);
    PositionChannelLabel(strip, 0, RoundToInt16(gTemperature[c]));
    const std::array<int16_t, 4> settings{gOpPoint[c], gTmin[c], gTempHighLimit[c], gTempLowLimit[c]};
    for (int i = 0; i < 4; ++i) {
        chart.AddSample(i + 1, settings[i], now);
        PositionChannelLabel(strip, i + 1, settings[i]);
    }
    chart.AddSample(kHysteresisTrace, gOpPoint[c] - hysteresisShown_, now);
}

void frmDynamicTmin::SetUpDutyChannels() {
    const RegisterBlock config = ChipReadBlock(kPwmConfig1, kPwmOutputCount);
    duties_ = {};
    for (int pwm = 0; pwm < kPwmOutputCount; ++pwm) {
        const FollowedChannels followed = ChannelsFollowed(PwmSourceOf(config[pwm]));
        for (size_t strip = 0; strip < duties_.size(); ++strip)
            if (followed.Includes(kDynamicTminChannels[strip]))
                duties_[strip].pwm[duties_[strip].count++] = pwm;
    }
    // Each legend entry is set once to what it ends as: an unchanged legend costs nothing.
    for (size_t strip = 0; strip < Strip2.size(); ++strip) {
        StripChart& chart = *Strip2[strip];
        const DutyList& list = duties_[strip];
        for (int k = 0; k < 4; ++k) {
            const int label = kDutyLabels[k];
            const bool listed = k < list.count;
            if (listed) {
                chart.SetLabelCaption(label, kPwmNames[list.pwm[k]]);
            } else {
                chart.SetLabelCaption(label, k == 0 ? kNoFans[strip] : QString());
            }
            // The note that no fan follows the channel is shown, not only set.
            chart.SetLabelShown(label, listed || (k == 0 && list.count == 0));
        }
    }
}

// Label channel + 1 at the height of value on the temperature axis.
void frmDynamicTmin::PositionChannelLabel(int strip, int channel, int value) {
    StripChart& chart = *Strip2.at(strip);
    const double position =
        ChannelLabelFraction(value, chart.PlotLowerEdge(), chart.AxisMinimum(0), chart.AxisMaximum(0));
    chart.SetLabelPosition(channel + 1, position);
}

}  // namespace kestrum
