#include "features/config/frmPinConfig.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <initializer_list>

#include "core/Declarations.h"
#include "core/Scheduler.h"
#include "monitor/frmLimits.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 7800;
constexpr int kHeightTwips = 7110;

struct PinList {
    QComboBox* frmPinConfig::*list;
    const char* name;
    int label;
    const char* caption;
    std::array<const char*, 4> items;  // nullptr past the last item
};

// In the order they load; the first twelve make the left column, the rest the right.
constexpr int kLeftColumnRows = 12;
constexpr std::array<PinList, 23> kPinLists{{
    {&frmPinConfig::cmbPins1234_31_32,
     "cmbPins1234_31_32",
     10,
     "VID Enable",
     {"VIDs Enabled", "VIDs Disabled"}},
    {&frmPinConfig::cmbPins1516, "cmbPins1516", 8, "Pins 15/16", {"D1+, D1-", "Vin, SCSI"}},
    {&frmPinConfig::cmbPins1920, "cmbPins1920", 9, "Pins 19/20", {"D3+, D3-", "SCSI, Vin"}},
    {&frmPinConfig::cmbPin1, "cmbPin1", 0, "Pin1", {"GPIO1", "Tach1 I/P"}},
    {&frmPinConfig::cmbPin2, "cmbPin2", 1, "Pin2", {"GPIO2", "Tach2 I/P"}},
    {&frmPinConfig::cmbPin3, "cmbPin3", 2, "Pin3", {"GPIO3", "Tach3 I/P"}},
    {&frmPinConfig::cmbPin4, "cmbPin4", 3, "Pin4", {"GPIO4", "Tach4 I/P"}},
    {&frmPinConfig::cmbPin7, "cmbPin7", 4, "Pin7", {"+12V1", "Tach5 I/P"}},
    {&frmPinConfig::cmbPin8, "cmbPin8", 5, "Pin8", {"+12V2", "Tach6 I/P"}},
    {&frmPinConfig::cmbPin13, "cmbPin13", 6, "Pin13", {"+3.3V", "PWM4"}},
    {&frmPinConfig::cmbPin15, "cmbPin15", 7, "Pin15", {"+2.5V", "+1.8V"}},
    {&frmPinConfig::cmbPin20, "cmbPin20", 12, "Pin 19", {"+1.25V", "+0.9V"}},
    {&frmPinConfig::cmbPin21, "cmbPin21", 13, "Pin 21", {"+5V", "Tach 7"}},
    {&frmPinConfig::cmbPin22, "cmbPin22", 14, "Pin 22", {"+12V3", "Tach 8"}},
    {&frmPinConfig::cmbPin23, "cmbPin23", 15, "Pin 23", {"+Vccp1", "+2.5V", "+1.8V", "+1.5V"}},
    {&frmPinConfig::cmbPin24, "cmbPin24", 16, "Pin 24", {"+Vccp2", "+2.5V", "+1.8V", "+1.5V"}},
    // Field values 2 and 3 both make the pin a VR_Hot or THERM input.
    {&frmPinConfig::cmbPin25, "cmbPin25", 17, "Pin 25", {"+3.3V", "+1.2V1 Gbit", "VR_Hot1", "VR_Hot1"}},
    {&frmPinConfig::cmbPin26, "cmbPin26", 18, "Pin 26", {"Vbatt", "+1.2V2(FSB_Vtt)", "VR_Hot2", "VR_Hot2"}},
    {&frmPinConfig::cmbPin27, "cmbPin27", 19, "Pin 27", {"FAN1MAX", "Chassis Intrusion"}},
    {&frmPinConfig::cmbPin28, "cmbPin28", 20, "Pin 28", {"GPIO 7", "+1.5V2 (ICH)", "THERM 1", "THERM 1"}},
    {&frmPinConfig::cmbPin29, "cmbPin29", 21, "Pin 29", {"GPIO 8", "+1.5V1 (3GIO)", "THERM 2", "THERM 2"}},
    {&frmPinConfig::cmbPin31, "cmbPin31", 22, "Pin 31", {"GPIO 5", "PWM 1"}},
    {&frmPinConfig::cmbPin32, "cmbPin32", 23, "Pin 32", {"GPIO 6", "PWM 2"}},
}};

using Details = std::initializer_list<const char*>;
const std::array<Details, 5> kEasyDetails{{
    {"4 Thermal Channels (3 Remote + Local)", "4 PWM Drive Channels", "8 Tach Inputs", "4 Voltage Inputs",
     "2 THERM I/O pins", "Chassis Intrusion Detection"},
    {"4 Thermal Channels (3 Remote + Local)", "4 PWM Drive Channels", "8 Tach Inputs", "2 Vccp Inputs",
     "2 VRD Inputs", "2 THERM I/O pins", "Fan2Max function"},
    {"2 Thermal Channels (Remote + Local)", "3 PWM Drive Channels", "4 Tach Inputs", "15 Voltage Inputs",
     "2 SCSI Termination Inputs", "Chassis Intrusion Detecttion"},
    {"3 Thermal Channels (2 Remote + Local)", "4 PWM Drive Channels", "6 Tach Inputs", "7 Voltage Inputs",
     "THERM I/O pin", "SCSI Termination Input", "Fan2Max function", "VR_Hot Input"},
    {"3 Thermal Channels (2 Remote + Local)", "3 PWM Drive Channels", "6 Tach Inputs", "7 Voltage Inputs",
     "THERM I/O pin", "SCSI Termination Input", "Fan2Max function", "VR_Hot Input"},
}};

void EnableAll(bool enabled, std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) control->setEnabled(enabled);
}

}  // namespace

frmPinConfig::frmPinConfig(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmPinConfig");
    setWindowTitle("Pin Configuration");
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    SSTab1->addTab(BuildEasyTab(), "Easy Configuration");
    SSTab1->addTab(BuildPinTab(), "Individual Pin Configuration");
    SSTab1->setCurrentIndex(0);
    BindRegisters();

    connect(cmbPins1234_31_32, &QComboBox::activated, this, [this] { cmbPins1234_31_32_Click(); });
    connect(cmbPins1516, &QComboBox::activated, this, [this] { cmbPins1516_Click(); });
    connect(cmbPins1920, &QComboBox::activated, this, [this] { cmbPins1920_Click(); });
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdEasyApply, &QPushButton::clicked, this, [this] { cmdEasyApply_Click(); });
    for (int i = 0; i < static_cast<int>(optEasy.size()); ++i)
        connect(optEasy[i], &QRadioButton::clicked, this, [this, i] { optEasy_Click(i); });
    for (int i = 0; i < static_cast<int>(cmdClose.size()); ++i)
        connect(cmdClose[i], &QPushButton::clicked, this, [this, i] { cmdClose_Click(i); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(SSTab1);
}

QWidget* frmPinConfig::BuildEasyTab() {
    auto* page = new QWidget(SSTab1);
    Frame2 = NewFrame(page, "Frame2");
    auto* options = new QVBoxLayout;
    for (int i = 0; i < static_cast<int>(optEasy.size()); ++i) {
        optEasy[i] = NewOptionButton(Frame2, ElementName("optEasy", i), QString("Easy Option%1").arg(i + 1));
        options->addWidget(optEasy[i]);
    }
    options->addStretch();

    Label1 = NewLabel(Frame2, "Label1", "Option Details (defaults)");
    // The five details lists share one place; only the selected option's is shown.
    auto* details = new QGridLayout;
    for (int i = 0; i < static_cast<int>(List1.size()); ++i) {
        List1[i] = Named(new QListWidget(Frame2), ElementName("List1", i));
        for (const char* item : kEasyDetails[i]) List1[i]->addItem(item);
        details->addWidget(List1[i], 0, 0);
    }
    auto* right = new QVBoxLayout;
    right->addWidget(Label1);
    right->addLayout(details, 1);

    auto* frame = new QHBoxLayout(Frame2);
    frame->setContentsMargins(kInnerMargins);
    frame->setSpacing(18);
    frame->addLayout(options);
    frame->addLayout(right, 1);

    cmdEasyApply = NewButton(page, "cmdEasyApply", "Apply");
    cmdClose[0] = NewButton(page, ElementName("cmdClose", 0), "Close");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    layout->addWidget(Frame2, 1);
    layout->addLayout(RightAlignedRow({cmdEasyApply, cmdClose[0]}));
    return page;
}

QWidget* frmPinConfig::BuildPinTab() {
    auto* page = new QWidget(SSTab1);
    Frame1 = NewFrame(page, "Frame1");
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(kInnerMargins);
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(8);
    grid->setColumnMinimumWidth(2, 12);
    for (size_t i = 0; i < kPinLists.size(); ++i) {
        const PinList& pin = kPinLists[i];
        QComboBox* list = NewList(Frame1, pin.name, {});
        for (const char* item : pin.items)
            if (item != nullptr) list->addItem(item);
        this->*pin.list = list;
        lblPin[pin.label] = NewLabel(Frame1, ElementName("lblPin", pin.label), pin.caption);
        lblPin[pin.label]->setBuddy(list);

        const bool left = static_cast<int>(i) < kLeftColumnRows;
        const int row = left ? static_cast<int>(i) : static_cast<int>(i) - kLeftColumnRows;
        const int column = left ? 0 : 3;
        grid->addWidget(lblPin[pin.label], row, column);
        grid->addWidget(list, row, column + 1);
    }
    grid->setRowStretch(kLeftColumnRows, 1);
    grid->setColumnStretch(2, 1);

    cmdApply = NewButton(page, "cmdApply", "Apply");
    cmdClose[1] = NewButton(page, ElementName("cmdClose", 1), "Close");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    layout->addWidget(Frame1, 1);
    layout->addLayout(RightAlignedRow({cmdApply, cmdClose[1]}));
    return page;
}

void frmPinConfig::BindRegisters() {
    // The group lists show item 0 for a set bit.
    pinConfig1_.BitList(cmbPins1234_31_32, 7, Sense::Inverted)
        .BitList(cmbPins1516, 6, Sense::Inverted)
        .BitList(cmbPins1920, 5, Sense::Inverted)
        .Field(cmbPin1, 4, 1)
        .Field(cmbPin2, 3, 1)
        .Field(cmbPin3, 2, 1)
        .Field(cmbPin4, 1, 1)
        .Field(cmbPin7, 0, 1);
    pinConfig2_.Field(cmbPin8, 7, 1)
        .Field(cmbPin13, 6, 1)
        .Field(cmbPin15, 5, 1)
        .Field(cmbPin20, 4, 1)
        .Field(cmbPin21, 3, 1)
        .Field(cmbPin22, 2, 1)
        .Field(cmbPin23, 0, 2);
    pinConfig3_.Field(cmbPin24, 6, 2).Field(cmbPin25, 4, 2).Field(cmbPin26, 2, 2).Field(cmbPin27, 1, 1);
    pinConfig4_.Field(cmbPin28, 6, 2).Field(cmbPin29, 4, 2).Field(cmbPin31, 3, 1).Field(cmbPin32, 2, 1);
    easyConfig_.Bits(optEasy, 0);
}

void frmPinConfig::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    // With several bits set the highest option stays selected, as the exclusive set leaves it.
    ClearOptionButtons(optEasy);
    LoadBlock(pinConfig1_, pinConfig2_, pinConfig3_, pinConfig4_, easyConfig_);

    // Selections made here raise no handler: bring the interlocks and details in line.
    cmbPins1234_31_32_Click();
    cmbPins1516_Click();
    cmbPins1920_Click();
    ShowEasyOptionDetails();
}

void frmPinConfig::cmbPins1234_31_32_Click() {
    const bool vidsEnabled = cmbPins1234_31_32->currentText() == cmbPins1234_31_32->itemText(0);
    EnableAll(!vidsEnabled, {cmbPin1, cmbPin2, cmbPin3, cmbPin4, cmbPin31, cmbPin32, lblPin[0], lblPin[1],
                             lblPin[2], lblPin[3], lblPin[22], lblPin[23]});
}

void frmPinConfig::cmbPins1516_Click() {
    const bool remoteDiode = cmbPins1516->currentText() == cmbPins1516->itemText(0);
    EnableAll(!remoteDiode, {cmbPin15, lblPin[7]});
}

void frmPinConfig::cmbPins1920_Click() {
    const bool remoteDiode = cmbPins1920->currentText() == cmbPins1920->itemText(0);
    EnableAll(!remoteDiode, {cmbPin20, lblPin[12]});
}

void frmPinConfig::cmdApply_Click() {
    // Disabled lists are written too: they keep the pin's function for when the group frees it.
    for (const RegisterBinding* config : {&pinConfig1_, &pinConfig2_, &pinConfig3_, &pinConfig4_})
        config->WriteRebuilt();
    RefreshLimits();
    if (gGPIOFormOpen) RunWindowTask(WindowTask::Gpio);
}

void frmPinConfig::cmdEasyApply_Click() {
    easyConfig_.WriteRebuilt();
    Form_Load();
    RefreshLimits();
}

void frmPinConfig::optEasy_Click(int) { ShowEasyOptionDetails(); }

void frmPinConfig::ShowEasyOptionDetails() {
    for (size_t i = 0; i < optEasy.size(); ++i) {
        List1[i]->hide();
        if (optEasy[i]->isChecked()) List1[i]->show();
    }
}

void frmPinConfig::cmdClose_Click(int) { Unload(); }

void frmPinConfig::RefreshLimits() {
    if (!gLimitsFormOpen) return;
    if (frmLimits* limits = Manager().Find<frmLimits>()) limits->Form_Load();
}

}  // namespace kestrum
