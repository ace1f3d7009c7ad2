#include "features/fancontrol/frmManualControl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "widgets/Controls.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 6840;
constexpr int kHeightTwips = 6315;

const QColor kEnabledColour(0, 127, 0);
const QColor kDisabledColour(255, 0, 0);

// The text and colour change together: an unchanged text means there is nothing to redo.
void ShowStatus(QLabel& label, bool enabled) {
    const QString text = enabled ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
    if (label.text() == text) return;
    label.setText(text);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, enabled ? kEnabledColour : kDisabledColour);
    label.setPalette(palette);
}

}  // namespace

frmManualControl::frmManualControl(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmManualControl");
    setWindowTitle("Manual Fan Control");
    SetFormOpenFlag(gManualControlFormOpen);
    KeepTimerTask(
        TaskAttachment::ManualControl([this] { UpdateManualStatus(); }, [this] { UpdateManualSliders(); }));

    Frame1 = NewFrame(this, "Frame1", "Set Fan PWM");
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(kInnerMargins);
    for (int i = 0; i < kOutputs; ++i) {
        lblPWM[i] = NewLabel(Frame1, ElementName("lblPWM", i), QString("PWM%1").arg(i + 1));
        sldManual[i] = Named(new Slider(Qt::Vertical, Frame1), ElementName("sldManual", i));
        lblManual[i] = NewLabel(Frame1, ElementName("lblManual", i), QString());
        ShowStatus(*lblManual[i], false);
        sldManual[i]->setEnabled(false);
        grid->addWidget(lblPWM[i], 0, i, Qt::AlignHCenter);
        grid->addWidget(sldManual[i], 1, i, Qt::AlignHCenter);
        grid->addWidget(lblManual[i], 2, i, Qt::AlignHCenter);

        connect(sldManual[i], &Slider::valueChanged, this, [this, i] { sldManual_Change(i); });
        connect(sldManual[i], &Slider::mouseDown, this, [this, i] { sldManual_MouseDown(i); });
        connect(sldManual[i], &Slider::mouseUp, this, [this, i] { sldManual_MouseUp(i); });
    }
    grid->setRowStretch(1, 1);

    cmdClose = NewButton(this, "cmdClose", "Close");
    connect(cmdClose, &QPushButton::clicked, this, &frmManualControl::cmdClose_Click);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addWidget(Frame1, 1);
    window->addLayout(RightAlignedRow({cmdClose}));
}

void frmManualControl::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    // A press still counted from a window that closed under it would stop the sliders for good.
    gManualSliderHeld = false;
    UpdateManualStatus();
    UpdateManualSliders();
}

void frmManualControl::Form_Unload() { gManualSliderHeld = false; }

void frmManualControl::UpdateManualStatus() {
    for (int i = 0; i < kOutputs; ++i) {
        const bool enabled = ManualControlEnabled(i);
        ShowStatus(*lblManual[i], enabled);
        sldManual[i]->setEnabled(enabled);
    }
}

void frmManualControl::UpdateManualSliders() {
    for (int i = 0; i < kOutputs; ++i) sldManual[i]->SetValue(ManualSliderPercent(i));
}

void frmManualControl::sldManual_Change(int index) {
    ChipWrite(kPWMValueRegister + index, ManualDutyRegister(sldManual[index]->Value()));
}

void frmManualControl::sldManual_MouseDown(int /*index*/) { gManualSliderHeld = true; }

void frmManualControl::sldManual_MouseUp(int /*index*/) { gManualSliderHeld = false; }

void frmManualControl::cmdClose_Click() { Unload(); }

}  // namespace kestrum
