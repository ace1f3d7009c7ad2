#include "features/config/frmEasySetup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ChipAccess.h"
#include "core/General.h"
#include "core/Settings.h"
#include "features/config/EasyConfigOption.h"
#include "monitor/frmGraph.h"
#include "platform/Seams.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 5100;
constexpr int kHeightTwips = 5850;
constexpr int kTopTwips = 1000;
constexpr int kGraphsLeftTwips = 500;
constexpr int kGraphsTopTwips = 500;

constexpr int kFirstOption = 1;
constexpr int kLastOption = 5;

const char* const kStartUpKey = "OpenEasySetup";
const char* const kOptionRangeMessage = "Option value must be in range 1-5";

struct OptionBox {
    const char* caption;
    bool ticked;
};
constexpr std::array<OptionBox, frmEasySetup::kOptionCount> kOptionBoxes{{
    {"Set Easy Configuration Option", true},
    {"Enable Tachs 1-4 ", true},
    {"Enable 'Setup Complete' configuration bit", true},
    {"Load Graphing Window", true},
    {"Set Max PWM1-4 to 100%", true},
    {"Set fans to run at Max PWM", false},
    {"Set ALERT to Comparator mode ", false},
}};
// The boxes from top to bottom.
constexpr std::array<frmEasySetup::Option, frmEasySetup::kOptionCount> kScreenOrder{
    frmEasySetup::kEasyConfig, frmEasySetup::kEnableTachs,     frmEasySetup::kMaxPwm,
    frmEasySetup::kFansAtMax,  frmEasySetup::kComparatorAlert, frmEasySetup::kSetupComplete,
    frmEasySetup::kGraphs};

}  // namespace

frmEasySetup::frmEasySetup(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmEasySetup");
    setWindowTitle("Setup");
    BuildOptions();
    chkStartUp = NewCheckBox(this, "chkStartUp", "Show at start-up");
    cmdApply = NewButton(this, "cmdApply", "OK");
    cmdClose = NewButton(this, "cmdClose", "Cancel");
    connect(cmdApply, &QPushButton::clicked, this, &frmEasySetup::cmdApply_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmEasySetup::cmdClose_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(Frame1);
    layout->addSpacing(6);
    layout->addWidget(chkStartUp);
    layout->addStretch(1);
    layout->addLayout(RightAlignedRow({cmdApply, cmdClose}));
}

void frmEasySetup::BuildOptions() {
    Frame1 = NewFrame(this, "Frame1", "Initialisation options : ");
    for (int i = 0; i < kOptionCount; ++i) {
        chkOption[i] = NewCheckBox(Frame1, ElementName("chkOption", i), kOptionBoxes[i].caption);
        chkOption[i]->setChecked(kOptionBoxes[i].ticked);
    }
    const SpinnerBox option = NewSpinnerBox(Frame1, "txtOption", "UpDown1", kFirstOption, kLastOption);
    txtOption = option.text;
    UpDown1 = option.spinner;
    txtOption->setText(QString::number(kFirstOption));

    auto* rows = new QVBoxLayout(Frame1);
    rows->setContentsMargins(kInnerMargins);
    rows->setSpacing(10);
    for (const Option index : kScreenOrder) {
        if (index != kEasyConfig) {
            rows->addWidget(chkOption[index]);
            continue;
        }
        auto* first = new QHBoxLayout;
        first->addWidget(chkOption[index]);
        first->addSpacing(8);
        first->addWidget(option.box);
        first->addStretch(1);
        rows->addLayout(first);
    }
}

void frmEasySetup::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    // Centred across the main window.
    SetPositionTwips(Manager().MainWidthTwips() / 2 - WidthTwips() / 2, kTopTwips);
    chkStartUp->setChecked(ShouldOpenEasySetup());
}

bool frmEasySetup::RunStep(Option option) {
    switch (option) {
        case kEasyConfig: {
            const std::optional<int32_t> code = EasyConfigCode(txtOption->text().toStdString());
            if (!code) {
                Messages().Show(kOptionRangeMessage, MsgButtons::OK, MsgIcon::None, kAppTitle);
                return false;
            }
            ChipWrite(0x14, *code);
            break;
        }
        case kEnableTachs: ChipWriteField(0x07, 0, 4, 0x0F); break;
        case kSetupComplete: ChipWriteBit(0x01, 5, true); break;
        case kGraphs: Manager().Open<frmGraph>().SetPositionTwips(kGraphsLeftTwips, kGraphsTopTwips); break;
        case kMaxPwm: ChipWrite(0x2C, 0xFF); break;
        case kFansAtMax: ChipWriteBit(0x02, 5, true); break;
        case kComparatorAlert: ChipWriteBit(0x01, 3, true); break;
        case kOptionCount: break;
    }
    return true;
}

void frmEasySetup::cmdApply_Click() {
    for (int i = 0; i < kOptionCount; ++i)
        if (chkOption[i]->isChecked() && !RunStep(static_cast<Option>(i))) return;
    SaveSetting(kStartUpKey, chkStartUp->isChecked() ? "True" : "False");
    Unload();
}

void frmEasySetup::cmdClose_Click() { Unload(); }

}  // namespace kestrum
