#include "monitor/frmLimits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "core/Declarations.h"
#include "monitor/LimitFormSubs.h"
#include "widgets/Controls.h"
#include "widgets/instruments/Lamp.h"
#include "widgets/instruments/LinearGauge.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 6780;
constexpr int kHeightTwips = 7110;

const char* const kGaugeTip = "Drag the sliders to change the limits";
const char* const kLampTip = "Interrupt Status: Green=OK, Red=Bad, Invisible=Disabled";

constexpr std::array<const char*, 7> kTempRows{"Local Temp",    "Remote 1 Temp", "Remote 2 Temp",
                                               "Remote 3 Temp", "Diode1 Error",  "Diode2 Error",
                                               "Diode3 Error"};
constexpr std::array<const char*, 8> kFanRows{"Fan1", "Fan2", "Fan3", "Fan4", "Fan5", "Fan6", "Fan7", "Fan8"};
// Design captions; the rows of pins with several ranges are renamed when the tab loads.
constexpr std::array<const char*, 13> kVoltRows{
    "12V1 (pin7)", "12V2 (pin8)", "3.3V (pin13)", "Pin15", "Pin19",         "5V (pin21)",   "12V3  (pin22)",
    "Pin23",       "Pin24",       "Pin25",        "Pin26", "1.5V2 (pin28)", "1.5V1 (pin29)"};
constexpr std::array<const char*, 6> kThermTimerRows{"THERM1% Over Limit", "THERM1% Assert", "THERM1% State",
                                                     "THERM2% Over Limit", "THERM2% Assert", "THERM2% State"};
constexpr std::array<const char*, 7> kDigitalRows{
    "Fan2Max", "SCSI Term1", "SCSI Term2", "VID Comparison", "Chassis Intrusion", "VRD1", "VRD2"};
constexpr int kThermLimitsFirstLabel = 6;
constexpr int kDigitalFirstLabel = 14;

// The bit of each voltage row in Voltage Mask and Status 1 (rows 0..7) and 2 (rows 8..12).
constexpr std::array<int, 13> kVoltRowBit{0, 1, 3, 4, 5, 6, 2, 7, 3, 4, 5, 6, 7};
constexpr size_t kVoltRowsInFirstRegister = 8;

constexpr double kTempScaleMinimum = -64.0;
constexpr double kTempScaleMaximum = 191.0;

// Six tabs share the window's narrow width: closer tab padding keeps every tab in view
// without scroll arrows.
class NarrowTabsStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(value, 8) : value;
    }
};

QLabel* Heading(QWidget* parent, const char* text) {
    auto* heading = new QLabel(text, parent);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

}  // namespace

frmLimits::frmLimits(QWidget* parent) : WriteAtOnceWindow(parent) {
    setObjectName("frmLimits");
    setWindowTitle("Limits / Interrupts");
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    auto* tabStyle = new NarrowTabsStyle;
    tabStyle->setParent(SSTab1);
    SSTab1->tabBar()->setStyle(tabStyle);
    SSTab1->tabBar()->setUsesScrollButtons(false);
    BuildTempTab();
    BuildFanTab();
    BuildVoltTab();
    BuildThermTimerTab();
    BuildThermPinTab();
    BuildDigitalTab();
    cmdClose = NewButton(this, "cmdClose", "Close");
    tabs_[kTempTab] = {cmbTemp, ggeTemp};
    tabs_[kFanTab] = {cmbFan, ggeFan};
    tabs_[kVoltTab] = {cmbVolt, ggeVolt};
    tabs_[kThermTimerTab] = {cmbThermTimer, ggeThermTimer};
    tabs_[kThermPinTab] = {cmbTHERMPin, ggeTHERMPin};
    BindMasksAndLamps();
    WireUserSignals();
    SetFormOpenFlag(gLimitsFormOpen);
    KeepTimerTask(TaskAttachment::Window(WindowTask::Limits, [this] { RefreshReadings(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(SSTab1);
    layout->addLayout(RightAlignedRow({cmdClose}));
}

frmLimits::Row frmLimits::NewRow(QLabel*& label, const char* labelName, int labelIndex, const char* caption,
                                 QCheckBox** box, const char* boxName, int index, Lamp*& lamp,
                                 const char* lampName) {
    label = NewLabel(this, ElementName(labelName, labelIndex), caption);
    if (box != nullptr) *box = NewCheckBox(this, ElementName(boxName, index), QString());
    lamp = Named(new Lamp(this), ElementName(lampName, index));
    lamp->setToolTip(kLampTip);
    return {label, box == nullptr ? nullptr : *box, lamp};
}

// Channel, mask box and lamp in columns under their headings, rows packed at the top.
QWidget* frmLimits::BuildTable(const std::vector<Row>& rows, bool interruptHeading) {
    auto* table = new QWidget(this);
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(kNoMargins);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(3);
    const bool hasMasks = rows.front().box != nullptr;
    const int maskColumn = 1;
    const int lampColumn = hasMasks ? 2 : 1;
    int line = 0;
    if (interruptHeading) {
        grid->addWidget(Heading(table, "Interrupt"), line, maskColumn, 1, lampColumn - maskColumn + 1,
                        Qt::AlignHCenter);
        ++line;
    }
    grid->addWidget(Heading(table, "Channel"), line, 0);
    if (hasMasks) grid->addWidget(Heading(table, "Mask"), line, maskColumn, Qt::AlignHCenter);
    grid->addWidget(Heading(table, "Status"), line, lampColumn, Qt::AlignHCenter);
    ++line;
    for (const Row& row : rows) {
        row.label->setParent(table);
        grid->addWidget(row.label, line, 0);
        if (row.box != nullptr) {
            row.box->setParent(table);
            grid->addWidget(row.box, line, maskColumn, Qt::AlignHCenter);
        }
        row.lamp->setParent(table);
        grid->addWidget(row.lamp, line, lampColumn, Qt::AlignHCenter);
        ++line;
    }
    grid->setRowStretch(line, 1);
    return table;
}

// The combo over the gauge on the left, the table on the right.
QWidget* frmLimits::BuildLimitTab(QComboBox*& combo, LinearGauge*& gauge, const char* comboName,
                                  const char* gaugeName, QWidget* table) {
    auto* page = new QWidget(SSTab1);
    combo = NewList(page, comboName, {});
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    gauge = Named(new LinearGauge(page), gaugeName);
    gauge->setToolTip(kGaugeTip);
    gauge->SetMarkerVisible(LinearGauge::kLowMarker, false);  // the tabs with a low limit show it

    auto* left = new QVBoxLayout;
    left->addWidget(combo);
    left->addWidget(gauge, 1);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    layout->setSpacing(24);
    layout->addLayout(left);
    table->setParent(page);
    layout->addWidget(table);
    layout->addStretch(1);
    return page;
}

void frmLimits::BuildTempTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 7; ++i)
        rows.push_back(NewRow(lblTemp[i], "lblTemp", i, kTempRows[i], &chkTempMask[i], "chkTempMask", i,
                              tglTempAlert[i], "tglTempAlert"));
    QWidget* page = BuildLimitTab(cmbTemp, ggeTemp, "cmbTemp", "ggeTemp", BuildTable(rows, false));
    ggeTemp->SetScale(kTempScaleMinimum, kTempScaleMaximum);
    ggeTemp->SetMarkerVisible(LinearGauge::kLowMarker, true);
    SSTab1->addTab(page, "Temperature");
}

void frmLimits::BuildFanTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 8; ++i)
        rows.push_back(NewRow(lblFan[i], "lblFan", i, kFanRows[i], &chkFanMask[i], "chkFanMask", i,
                              tglFanAlert[i], "tglFanAlert"));
    QWidget* page = BuildLimitTab(cmbFan, ggeFan, "cmbFan", "ggeFan", BuildTable(rows, false));
    ggeFan->SetScale(0.0, LimitFormSubs::kFanScaleRpm);
    SSTab1->addTab(page, "Fans");
}

void frmLimits::BuildVoltTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 13; ++i)
        rows.push_back(NewRow(lblVolt[i], "lblVolt", i, kVoltRows[i], &chkVoltMask[i], "chkVoltMask", i,
                              tglVoltAlert[i], "tglVoltAlert"));
    QWidget* page = BuildLimitTab(cmbVolt, ggeVolt, "cmbVolt", "ggeVolt", BuildTable(rows, false));
    ggeVolt->SetMarkerVisible(LinearGauge::kLowMarker, true);
    SSTab1->addTab(page, "Voltage");
}

void frmLimits::BuildThermTimerTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 6; ++i)
        rows.push_back(NewRow(lblTherm[i], "lblTherm", i, kThermTimerRows[i], &chkTHERMMask[i],
                              "chkTHERMMask", i, tglTHERMAlert[i], "tglTHERMAlert"));
    QWidget* page =
        BuildLimitTab(cmbThermTimer, ggeThermTimer, "cmbThermTimer", "ggeThermTimer", BuildTable(rows, true));
    ggeThermTimer->SetScale(0.0, 100.0);
    SSTab1->addTab(page, "THERM Timer");
}

void frmLimits::BuildThermPinTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 8; ++i) {
        const int label = kThermLimitsFirstLabel + i;
        rows.push_back(NewRow(lblTherm[label], "lblTherm", label, LimitFormSubs::kThermPinItems[i], nullptr,
                              nullptr, i, tglTHERMPinAlert[i], "tglTHERMPinAlert"));
    }
    QWidget* page =
        BuildLimitTab(cmbTHERMPin, ggeTHERMPin, "cmbTHERMPin", "ggeTHERMPin", BuildTable(rows, true));
    for (const char* item : LimitFormSubs::kThermPinItems) cmbTHERMPin->addItem(item);
    ggeTHERMPin->SetScale(kTempScaleMinimum, kTempScaleMaximum);
    SSTab1->addTab(page, "THERM Limits");
}

void frmLimits::BuildDigitalTab() {
    std::vector<Row> rows;
    for (int i = 0; i < 7; ++i) {
        const int label = kDigitalFirstLabel + i;
        rows.push_back(NewRow(lblTherm[label], "lblTherm", label, kDigitalRows[i], &chkDigMask[i],
                              "chkDigMask", i, tglDigAlert[i], "tglDigAlert"));
    }
    auto* page = new QWidget(SSTab1);
    QWidget* table = BuildTable(rows, true);
    table->setParent(page);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    layout->addWidget(table);
    layout->addStretch(1);
    SSTab1->addTab(page, "Digital/VRD");
}

void frmLimits::BindMasksAndLamps() {
    // A box's click reads its mask register, changes only its bit and writes it back; the
    // lamp beside it shows the same bit of the status register.
    const auto bind = [this](RegisterBinding& mask, RegisterBinding& status, QCheckBox* box, Lamp* lamp,
                             int bit) {
        mask.Bit(box, bit);
        status.StatusLamp(lamp, bit);
        OnUserClick(box, [box, &mask] { mask.WriteModified(box); });
    };
    for (int i = 0; i < 7; ++i) bind(thermalMask1_, thermalStatus1_, chkTempMask[i], tglTempAlert[i], i + 1);
    for (int i = 0; i < 6; ++i) bind(thermalMask2_, thermalStatus2_, chkTHERMMask[i], tglTHERMAlert[i], i);
    bind(thermalMask2_, thermalStatus2_, chkDigMask[5], tglDigAlert[5], 6);  // VRD1
    bind(thermalMask2_, thermalStatus2_, chkDigMask[6], tglDigAlert[6], 7);  // VRD2
    for (size_t row = 0; row < chkVoltMask.size(); ++row) {
        const bool first = row < kVoltRowsInFirstRegister;
        bind(first ? voltageMask1_ : voltageMask2_, first ? voltageStatus1_ : voltageStatus2_,
             chkVoltMask[row], tglVoltAlert[row], kVoltRowBit[row]);
    }
    for (int i = 0; i < 8; ++i) bind(fanMask_, fanStatus_, chkFanMask[i], tglFanAlert[i], i);
    for (int i = 0; i < 5; ++i) bind(digitalMask_, digitalStatus_, chkDigMask[i], tglDigAlert[i], i + 3);
    for (int i = 0; i < 8; ++i) thermPinStatus_.StatusLamp(tglTHERMPinAlert[i], i);  // no masks
}

void frmLimits::WireUserSignals() {
    connect(cmdClose, &QPushButton::clicked, this, [this] { Unload(); });

    using Procedure = void (*)(LimitFormSubs::LimitTab&);
    const auto wireTab = [this](Tab which, Procedure show, Procedure write) {
        LimitFormSubs::LimitTab& tab = tabs_[which];
        OnUserChoice(&tab.List(), [&tab, show] { show(tab); });
        // The gauge reports a marker once, when the user has finished moving it.
        connect(&tab.Gauge(), &LinearGauge::markerMoved, this, [this, &tab, write] {
            if (IsLoaded()) write(tab);
        });
    };
    wireTab(kTempTab, &LimitFormSubs::ShowTempLimits, &LimitFormSubs::WriteTempLimits);
    wireTab(kFanTab, &LimitFormSubs::ShowFanLimit, &LimitFormSubs::WriteFanLimit);
    wireTab(kVoltTab, &LimitFormSubs::ShowVoltLimits, &LimitFormSubs::WriteVoltLimits);
    wireTab(kThermTimerTab, &LimitFormSubs::ShowThermTimerLimit, &LimitFormSubs::WriteThermTimerLimit);
    wireTab(kThermPinTab, &LimitFormSubs::ShowThermPinLimit, &LimitFormSubs::WriteThermPinLimit);
}

void frmLimits::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LimitFormSubs::InitTempTab(tabs_[kTempTab], {lblTemp, chkTempMask, tglTempAlert}, thermalMask1_);
    LimitFormSubs::InitFanTab(tabs_[kFanTab], {lblFan, chkFanMask, tglFanAlert}, fanMask_);
    LimitFormSubs::InitVoltTab(tabs_[kVoltTab], lblVolt, voltageMask1_, voltageMask2_);
    LimitFormSubs::InitThermTimerTab(tabs_[kThermTimerTab], thermalMask2_);
    LimitFormSubs::InitThermPinTab(tabs_[kThermPinTab]);
    LimitFormSubs::InitDigitalMasks(digitalMask_);
}

void frmLimits::SelectTab(Tab tab) { SSTab1->setCurrentIndex(tab); }

void frmLimits::RefreshReadings() {
    LimitFormSubs::ShowTempReading(tabs_[kTempTab]);
    LimitFormSubs::ShowFanReading(tabs_[kFanTab]);
    LimitFormSubs::ShowVoltReading(tabs_[kVoltTab]);
    LimitFormSubs::ShowThermTimerReading(tabs_[kThermTimerTab]);
    LimitFormSubs::ShowThermPinReading(tabs_[kThermPinTab]);
    LimitFormSubs::UpdateAlertToggles({&thermalStatus1_, &thermalStatus2_, &thermPinStatus_, &voltageStatus1_,
                                       &voltageStatus2_, &fanStatus_, &digitalStatus_});
}

}  // namespace kestrum
