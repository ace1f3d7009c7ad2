#include "features/board/frmSwitches.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/PinDefinitions.h"
#include "core/USBStuff.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 5550;
constexpr int kHeightTwips = 4125;

// Boxes 0-5 are bits 0-5 of device 0x4A, boxes 6-13 bits 0-7 of device 0x48. Device 0x4A
// fills the first column, 0x48 the next two (its tach inputs, then pins 23-26).
constexpr int kFirstOf48 = 6;
constexpr int kRowsOf48 = 4;

constexpr std::array<const char*, frmSwitches::kSwitches> kCaptions{
    "D2+ ( Pin17)", "D2- ( Pin18)", "THERM1 (Pin28)", "THERM2 (Pin29)", "PWM1 (Pin31)",
    "PWM2 (Pin32)", "Tach1 (Pin1)", "Tach2 (Pin2)",   "Tach3 (Pin3)",   "Tach4 (Pin4)",
    "Pin23",        "Pin24",        "Pin25",          "Pin26"};

}  // namespace

frmSwitches::frmSwitches(QWidget* parent)
    : ChildWindow(parent), device4A_(kSwitchDevice0), device48_(kSwitchDevice1) {
    setObjectName("frmSwitches");
    setWindowTitle("Corvane Switch Control ");

    Frame1 = NewFrame(this, "Frame1", "Switch Control");
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(kInnerMargins);
    for (int i = 0; i < kSwitches; ++i) {
        chkSwitch[i] = NewCheckBox(Frame1, ElementName("chkSwitch", i), kCaptions[i]);
        if (i < kFirstOf48) {
            grid->addWidget(chkSwitch[i], i, 0);
            device4A_.Bit(chkSwitch[i], i);
        } else {
            const int bit = i - kFirstOf48;
            grid->addWidget(chkSwitch[i], bit % kRowsOf48, 1 + bit / kRowsOf48);
            device48_.Bit(chkSwitch[i], bit);
        }
    }

    cmdRefresh = NewButton(this, "cmdRefresh", "Read");
    cmbApply = NewButton(this, "cmbApply", "Apply");
    cmdCancel = NewButton(this, "cmdCancel", "Close");
    connect(cmdRefresh, &QPushButton::clicked, this, &frmSwitches::cmdRefresh_Click);
    connect(cmbApply, &QPushButton::clicked, this, &frmSwitches::cmbApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSwitches::cmdCancel_Click);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addWidget(Frame1, 1);
    window->addLayout(RightAlignedRow({cmdRefresh, cmbApply, cmdCancel}));
}

void frmSwitches::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    device4A_.Load(ReadBoardPort(kSwitchDevice0));
    device48_.Load(ReadBoardPort(kSwitchDevice1));
}

void frmSwitches::cmbApply_Click() {
    // The switch devices hang off the adapter; on the PC SMBus link Apply does nothing.
    if (gInterfaceType != kInterfaceUsb) return;
    // Rebuilt from the boxes: bits 6 and 7 of device 0x4A, which have none, are written 0.
    SendBoardPort(kSwitchDevice0, device4A_.Encode(0));
    SendBoardPort(kSwitchDevice1, device48_.Encode(0));
    Form_Load();
}

void frmSwitches::cmdRefresh_Click() { Form_Load(); }

void frmSwitches::cmdCancel_Click() { Unload(); }

}  // namespace kestrum
