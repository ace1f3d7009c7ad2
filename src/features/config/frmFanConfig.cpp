#include "features/config/frmFanConfig.h"

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

#include "core/Channels.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 7710;
constexpr int kHeightTwips = 6240;

// Acoustics and frequency registers serve two outputs each, PWM1 and 2, then PWM3 and 4:
// the first output of a pair has bit 0 and bits 4:2, the second bit 1 and bits 7:5.
constexpr std::array<int, 4> kPairBit{0, 1, 0, 1};
constexpr std::array<int, 4> kPairFieldLowBit{2, 5, 2, 5};

QString PerPwm(const char* format, int i) { return QString(format).arg(i + 1); }

// A caption over its control, as one cell of a grid.
QVBoxLayout* Captioned(QLabel* label, QWidget* control) {
    auto* cell = new QVBoxLayout;
    cell->setSpacing(2);
    cell->addWidget(label);
    cell->addWidget(control);
    return cell;
}

QGroupBox* FrameOnPage(QTabWidget* tabs, QGroupBox*& frame, const QString& name, const QString& caption) {
    auto* page = new QWidget(tabs);
    frame = NewFrame(page, name, caption);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    layout->addWidget(frame);
    layout->addStretch(1);
    return frame;
}

}  // namespace

frmFanConfig::frmFanConfig(QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmFanConfig");
    setWindowTitle("Fan Configuration");
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    SSTab1->addTab(BuildAllFansTab(), "All Fans");
    for (int i = 0; i < 4; ++i) SSTab1->addTab(BuildPwmTab(i), PerPwm("PWM%1", i));
    SSTab1->addTab(BuildTachsTab(), "Tachs");
    Bind();

    connect(cmdEnableAll, &QPushButton::clicked, this, &frmFanConfig::cmdEnableAll_Click);
    connect(cmdDisableAll, &QPushButton::clicked, this, &frmFanConfig::cmdDisableAll_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(SSTab1);
    layout->addLayout(ButtonRow());
}

QWidget* frmFanConfig::BuildAllFansTab() {
    QGroupBox* frame = FrameOnPage(SSTab1, Frame1, "Frame1", "Settings for all fans");
    chkFastMeasure = NewCheckBox(frame, "chkFastMeasure", "Fast Fan Speed Measurement ");
    chkDisFastSpin = NewCheckBox(frame, "chkDisFastSpin", "Disable Fast Spin-up");
    chkPWMMode = NewCheckBox(frame, "chkPWMMode", "Enable High Frequency PWM");
    chkVRD1 = NewCheckBox(frame, "chkVRD1", "Enable VRD1  Boost");
    chkVRD2 = NewCheckBox(frame, "chkVRD2", "Enable VRD2  Boost");
    chkFullSpeed = NewCheckBox(frame, "chkFullSpeed", "Run Fans at Full Speed");
    chkThermFS1 = NewCheckBox(frame, "chkThermFS1", "Fans go to Full Speed on THERM1 Assertion");
    chkThermFS2 = NewCheckBox(frame, "chkThermFS2", "Fans go to Full Speed on THERM2 Assertion");
    Label1 = NewLabel(frame, "Label1", "No. Tach Pulses");
    cmbTachPulses = NewList(frame, "cmbTachPulses", {"1", "2", "3", "4"});
    Label7 = NewLabel(frame, "Label7", "Max PWM 1-4");
    const SpinnerBox maxBox = NewSpinnerBox(frame, "txtMaxPWM", "UpDown1", 0, 100);
    txtMaxPWM = maxBox.text;
    UpDown1 = maxBox.spinner;

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(24);
    int row = 0;
    for (QCheckBox* box : {chkFastMeasure, chkDisFastSpin, chkPWMMode, chkVRD1, chkVRD2, chkFullSpeed,
                           chkThermFS1, chkThermFS2})
        grid->addWidget(box, row++, 0);
    auto* right = new QVBoxLayout;
    right->setSpacing(16);
    right->addLayout(Captioned(Label1, cmbTachPulses));
    right->addLayout(Captioned(Label7, maxBox.box));
    right->addStretch(1);
    grid->addLayout(right, 0, 1, row, 1);
    grid->setColumnStretch(2, 1);
    return frame->parentWidget();
}

QWidget* frmFanConfig::BuildPwmTab(int i) {
    QGroupBox* frame =
        FrameOnPage(SSTab1, Frame2[i], ElementName("Frame2", i), PerPwm("PWM%1 Configuration", i));
    const int tach = i + 1;
    chkEnCont[i] = NewCheckBox(
        frame, ElementName("chkEnCont", i),
        QString("Enable Continuous Readings on Tach%1/Tach%2 (Low Freq. Mode)").arg(tach).arg(tach + 4));
    chkEnEnhance[i] =
        NewCheckBox(frame, ElementName("chkEnEnhance", i), PerPwm("Enable Enhanced Acoustics on PWM%1", i));
    chkMinSpeed[i] = NewCheckBox(frame, ElementName("chkMinSpeed", i),
                                 PerPwm("Hold PWM%1 at PWMmin at temperatures below Tmin", i));
    chk4xRampRate[i] = NewCheckBox(frame, ElementName("chk4xRampRate", i), "4 x Acoustic Ramp Rate");
    chkEnActiveLow[i] =
        NewCheckBox(frame, ElementName("chkEnActiveLow", i), PerPwm("PWM%1 is Active Low", i));
    Label2[i] = NewLabel(frame, ElementName("Label2", i), "Enhance Acoustics Ramp Rate");
    cmbRampRate[i] =
        NewList(frame, ElementName("cmbRampRate", i),
                {"35 sec", "17.6  sec", "11.8  sec", "7 sec", "4.4 sec", "3 sec", "1.6 sec", "0.8 sec"});
    Label4[i] = NewLabel(frame, ElementName("Label4", i), "Spin-up Timeout");
    cmbSpinup[i] = NewList(frame, ElementName("cmbSpinup", i),
                           {"None", "100ms", "250ms", "400ms", "667ms", "1 sec", "2 sec", "4 sec"});
    Label5[i] = NewLabel(frame, ElementName("Label5", i), "Control Source");
    cmbControl[i] = NewList(frame, ElementName("cmbControl", i), kPwmSourceCaptions);
    Label6[i] = NewLabel(frame, ElementName("Label6", i), "Low  Frequency Selection");
    cmbLowFreq[i] = NewList(frame, ElementName("cmbLowFreq", i),
                            {"11Hz", "14.7Hz", "22.1Hz", "29.4Hz", "35.3Hz", "44.1Hz", "58.8Hz", "88.2Hz"});
    Label8[i] = NewLabel(frame, ElementName("Label8", i), PerPwm("PWM%1 Min Duty Cycle", i));
    const SpinnerBox minBox =
        NewSpinnerBox(frame, ElementName("txtMinPWM", i), QString("UpDown%1").arg(i + 2), 0, 100);
    txtMinPWM[i] = minBox.text;
    minPwmSpinner[i] = minBox.spinner;

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(24);
    grid->addWidget(chkEnCont[i], 0, 0, 1, 2);
    grid->addWidget(chkMinSpeed[i], 1, 0, 1, 2);
    grid->addWidget(chkEnEnhance[i], 2, 0);
    grid->addWidget(chkEnActiveLow[i], 2, 1);
    grid->addWidget(chk4xRampRate[i], 3, 0);
    grid->addLayout(Captioned(Label2[i], cmbRampRate[i]), 4, 0);
    grid->addLayout(Captioned(Label5[i], cmbControl[i]), 4, 1);
    grid->addLayout(Captioned(Label4[i], cmbSpinup[i]), 5, 0);
    grid->addLayout(Captioned(Label6[i], cmbLowFreq[i]), 5, 1);
    grid->addLayout(Captioned(Label8[i], minBox.box), 6, 0);
    grid->setColumnStretch(2, 1);
    return frame->parentWidget();
}

QWidget* frmFanConfig::BuildTachsTab() {
    QGroupBox* frame = FrameOnPage(SSTab1, Frame6, "Frame6", "Enable Tachs");
    for (int i = 0; i < 8; ++i)
        chkEnTach[i] = NewCheckBox(frame, ElementName("chkEnTach", i), QString("Enable Tach%1").arg(i + 1));
    cmdEnableAll = NewButton(frame, "cmdEnableAll", "Enable All");
    cmdDisableAll = NewButton(frame, "cmdDisableAll", "Disable All");

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(32);
    for (int i = 0; i < 8; ++i) grid->addWidget(chkEnTach[i], i % 4, i / 4);
    grid->addWidget(cmdEnableAll, 0, 2);
    grid->addWidget(cmdDisableAll, 1, 2);
    grid->setColumnStretch(3, 1);
    return frame->parentWidget();
}

void frmFanConfig::Bind() {
    tachEnable_.Bits(chkEnTach, 0);
    tachConfig_.Bits(chkEnCont, 0);
    config1_.Bit(chkDisFastSpin, 4);
    config2_.Bit(chkFastMeasure, 0)
        .Bit(chkPWMMode, 2)
        .Bit(chkVRD1, 3, Sense::Inverted)
        .Bit(chkVRD2, 4, Sense::Inverted)
        .Bit(chkFullSpeed, 5)
        .Field(cmbTachPulses, 6, 2);
    maxPwm_.Percent(txtMaxPWM);
    thermConfig_.Bit(chkThermFS1, 0, Sense::Inverted).Bit(chkThermFS2, 1, Sense::Inverted);
    for (int i = 0; i < 4; ++i) {
        pwmConfig_[i]
            .Field(cmbSpinup[i], 0, 3)
            .Bit(chk4xRampRate[i], 3)
            .Bit(chkEnActiveLow[i], 4, Sense::Inverted)
            .Field(cmbControl[i], kPwmSourceLowBit, kPwmSourceWidth);
        acoustics_[i / 2].Bit(chkEnEnhance[i], kPairBit[i]).Field(cmbRampRate[i], kPairFieldLowBit[i], 3);
        pwmFreq_[i / 2].Bit(chkMinSpeed[i], kPairBit[i]).Field(cmbLowFreq[i], kPairFieldLowBit[i], 3);
        minPwm_[i].Percent(txtMinPWM[i]);
    }
}

void frmFanConfig::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LoadBlock(tachEnable_, tachConfig_);
    LoadBlock(config1_, config2_);
    thermConfig_.LoadFromChip();
    maxPwm_.LoadFromChip();
    LoadBlock(acoustics_);
    LoadBlock(pwmConfig_);
    LoadBlock(pwmFreq_);
    LoadBlock(minPwm_);
}

void frmFanConfig::cmdApply_Click() {
    tachEnable_.WriteRebuilt();
    tachConfig_.WriteRebuilt();
    config1_.WriteModified();
    config2_.WriteModified();
    maxPwm_.WriteRebuilt();
    thermConfig_.WriteModified();
    for (const RegisterBinding& binding : acoustics_) binding.WriteRebuilt();
    for (const RegisterBinding& binding : pwmConfig_) binding.WriteRebuilt();
    for (const RegisterBinding& binding : pwmFreq_) binding.WriteRebuilt();
    for (const RegisterBinding& binding : minPwm_) binding.WriteRebuilt();
}

void frmFanConfig::cmdEnableAll_Click() {
    for (QCheckBox* box : chkEnTach) box->setChecked(true);
}

void frmFanConfig::cmdDisableAll_Click() {
    for (QCheckBox* box : chkEnTach) box->setChecked(false);
}

}  // namespace kestrum
