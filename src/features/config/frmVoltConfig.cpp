#include "features/config/frmVoltConfig.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>
#include <span>

#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 7140;
constexpr int kHeightTwips = 4830;

// The voltage pins with an attenuator, in box order.
constexpr std::array<int, 13> kAttenuatedPins{7, 8, 13, 15, 19, 21, 22, 23, 24, 25, 26, 28, 29};
// Boxes 0-6 sit on Attenuators 1 En, the rest on Attenuators 2 En.
constexpr size_t kBoxesOnFirstRegister = 7;

}  // namespace

frmVoltConfig::frmVoltConfig(QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmVoltConfig");
    setWindowTitle("Voltage Configuration");
    Frame1 = NewFrame(this, "Frame1");
    auto* boxes = new QGridLayout(Frame1);
    boxes->setContentsMargins(kInnerMargins);
    for (size_t i = 0; i < chkDisAtten.size(); ++i) {
        const int index = static_cast<int>(i);
        chkDisAtten[i] = NewCheckBox(Frame1, ElementName("chkDisAtten", index),
                                     QString("Disable Attenuators on Pin%1").arg(kAttenuatedPins[i]));
        // One column per register.
        const bool first = i < kBoxesOnFirstRegister;
        boxes->addWidget(chkDisAtten[i], first ? index : index - static_cast<int>(kBoxesOnFirstRegister),
                         first ? 0 : 1);
    }

    // Ticked = bit clear (attenuator off). 0x18 bit 0 and 0x19 bits 6-7 have no box.
    const std::span all(chkDisAtten);
    attenuators1_.Bits(all.first(kBoxesOnFirstRegister), 1, Sense::Inverted);
    attenuators2_.Bits(all.subspan(kBoxesOnFirstRegister), 0, Sense::Inverted);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addWidget(Frame1, 1);
    window->addLayout(ButtonRow());
}

void frmVoltConfig::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    LoadBlock(attenuators1_, attenuators2_);
}

void frmVoltConfig::cmdApply_Click() {
    attenuators1_.WriteRebuilt();
    attenuators2_.WriteRebuilt();
}

}  // namespace kestrum
