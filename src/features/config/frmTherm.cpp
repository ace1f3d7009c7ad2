#include "features/config/frmTherm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <span>

#include "core/Channels.h"
#include "monitor/frmLimits.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 8175;
constexpr int kHeightTwips = 5970;

QWidget* NewPage(QTabWidget* tabs) { return new QWidget(tabs); }

}  // namespace

frmTherm::frmTherm(QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmTherm");
    setWindowTitle("THERM Configuration");
    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    SSTab1->addTab(BuildTimerTab(), "THERM Timer");
    SSTab1->addTab(BuildInterruptTab(), "THERM Interrupt");
    SSTab1->addTab(BuildHysteresisTab(), "THERM Hysteresis/Limits");
    Bind();
    connect(cmdSetlimits, &QPushButton::clicked, this, &frmTherm::cmdSetlimits_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(SSTab1);
    layout->addLayout(ButtonRow());
}

QWidget* frmTherm::BuildTimerTab() {
    QWidget* page = NewPage(SSTab1);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(40);
    grid->setVerticalSpacing(6);
    for (int t = 0; t < 2; ++t) {
        const QString therm = QString("THERM%1").arg(t + 1);
        windowLabel[t] = new QLabel(therm + " Timer Window", page);
        cmbWindow[t] =
            NewList(page, ElementName("cmbWindow", t), {"0.25", "0.5", "1", "2", "4", "8", "8", "8"});
        chkEnTH[t] = NewCheckBox(page, ElementName("chkEnTH", t), "Enable " + therm + " Timer");
        grid->addWidget(windowLabel[t], 0, t);
        grid->addWidget(cmbWindow[t], 1, t, Qt::AlignLeft);
        grid->addWidget(chkEnTH[t], 2, t);
    }
    chkThermThreshold = NewCheckBox(page, "chkThermThreshold", "Enable Low THERM Threshold");
    grid->addWidget(chkThermThreshold, 4, 0, 1, 2);
    grid->setRowMinimumHeight(3, 12);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget* frmTherm::BuildInterruptTab() {
    QWidget* page = NewPage(SSTab1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kInnerMargins);
    for (int i = 0; i < 8; ++i) {
        const int therm = i / 4 + 1;
        const char* channel = kTempChannelNames[i % 4];
        chkTHAssert[i] = NewCheckBox(
            page, ElementName("chkTHAssert", i),
            QString("Assert THERM%1 when %2 Temp exceeds %2 THERM Limit ").arg(therm).arg(channel));
        if (i == 4) layout->addSpacing(12);
        layout->addWidget(chkTHAssert[i]);
    }
    layout->addStretch(1);
    return page;
}

QWidget* frmTherm::BuildHysteresisTab() {
    QWidget* page = NewPage(SSTab1);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(16);
    for (int i = 0; i < 4; ++i) {
        hystLabel[i] = new QLabel(QString("%1 THERM Hysteresis").arg(kTempChannelNames[i]), page);
        const SpinnerBox box =
            NewSpinnerBox(page, ElementName("txtHyst", i), QString("UpDown%1").arg(i + 1), 0, 15);
        txtHyst[i] = box.text;
        hystSpinner[i] = box.spinner;
        grid->addWidget(hystLabel[i], i, 0);
        grid->addWidget(box.box, i, 1, Qt::AlignLeft);
    }
    cmdSetlimits = NewButton(page, "cmdSetlimits", "Set THERM Limits");
    grid->setRowMinimumHeight(4, 12);
    grid->addWidget(cmdSetlimits, 5, 0, Qt::AlignLeft);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

void frmTherm::Bind() {
    config3_.Bit(chkThermThreshold, 4);
    thermConfig_.Field(cmbWindow[0], 2, 3).Field(cmbWindow[1], 5, 3);
    const std::span asserts(chkTHAssert);
    therm1Config_.Bit(chkEnTH[0], 0).Bits(asserts.first(4), 1);
    therm2Config_.Bit(chkEnTH[1], 0).Bits(asserts.subspan(4), 1);
    localRemote1Hyst_.NumberField(txtHyst[0], 0, 4).NumberField(txtHyst[1], 4, 4);
    remote2Remote3Hyst_.NumberField(txtHyst[2], 0, 4).NumberField(txtHyst[3], 4, 4);
}

void frmTherm::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    config3_.LoadFromChip();
    LoadBlock(thermConfig_, therm1Config_, therm2Config_);
    LoadBlock(localRemote1Hyst_, remote2Remote3Hyst_);
}

// Each hysteresis value is rounded and kept to its own four bits, so a value above 15
// cannot spill into its neighbour's nibble.
void frmTherm::cmdApply_Click() {
    config3_.WriteModified();
    thermConfig_.WriteModified();
    therm1Config_.WriteRebuilt();
    therm2Config_.WriteRebuilt();
    localRemote1Hyst_.WriteRebuilt();
    remote2Remote3Hyst_.WriteRebuilt();
}

void frmTherm::cmdSetlimits_Click() {
    frmLimits& limits = Manager().Open<frmLimits>();
    limits.SelectTab(frmLimits::kThermPinTab);
}

}  // namespace kestrum
