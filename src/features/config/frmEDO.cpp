#include "features/config/frmEDO.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "widgets/Controls.h"
#include "widgets/WrappingCheckBox.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 6810;
constexpr int kHeightTwips = 5325;

// The event each mask bit stands for; bit 4 is reserved and has no caption.
constexpr std::array<const char*, 8> kMaskedEvents{"GPIO1", "GPIO2",      "GPIO3", "GPIO4",
                                                   nullptr, "Fan Status", "THERM", "Voltage"};

}  // namespace

frmEDO::frmEDO(QWidget* parent) : DialogWindow(parent) {
    setObjectName("frmEDO");
    setWindowTitle("EDO Settings");
    Frame1 = BuildOutput(0, chkEDO1Mask);
    Frame2 = BuildOutput(1, chkEDO2Mask);

    edoEnable_.Bit(chkEDOEnable[0], 0).Bit(chkEDOEnable[1], 1);
    edoMask1_.Bits(chkEDO1Mask, 0);
    edoMask2_.Bits(chkEDO2Mask, 0);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame1);
    frames->addWidget(Frame2);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addLayout(frames, 1);
    window->addLayout(ButtonRow());
}

QGroupBox* frmEDO::BuildOutput(int output, std::array<QCheckBox*, 8>& masks) {
    const int edo = output + 1;
    QGroupBox* frame = NewFrame(this, QString("Frame%1").arg(edo), QString("EDO %1").arg(edo));
    auto* boxes = new QVBoxLayout(frame);
    boxes->setContentsMargins(kInnerMargins);
    chkEDOEnable[output] =
        NewCheckBox(frame, ElementName("chkEDOEnable", output), QString("Enable EDO %1").arg(edo));
    boxes->addWidget(chkEDOEnable[output]);
    const QString arrayName = QString("chkEDO%1Mask").arg(edo);
    for (size_t bit = 0; bit < masks.size(); ++bit) {
        const char* event = kMaskedEvents[bit];
        // The longer captions wrap rather than widen the frames past the dialog's width.
        masks[bit] = Named(
            new WrappingCheckBox(
                event == nullptr ? QString() : QString("Mask %1 EDO%2 Event").arg(event).arg(edo), frame),
            ElementName(arrayName.toUtf8().constData(), static_cast<int>(bit)));
        if (event == nullptr)
            masks[bit]->hide();
        else
            boxes->addWidget(masks[bit]);
    }
    boxes->addStretch();
    return frame;
}

void frmEDO::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    edoEnable_.LoadFromChip();
    LoadBlock(edoMask1_, edoMask2_);
}

void frmEDO::cmdApply_Click() {
    edoEnable_.WriteModified();
    edoMask1_.WriteRebuilt();
    edoMask2_.WriteRebuilt();
}

}  // namespace kestrum
