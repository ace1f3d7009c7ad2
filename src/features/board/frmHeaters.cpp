#include "features/board/frmHeaters.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/USBStuff.h"
#include "widgets/Controls.h"
#include "widgets/instruments/Slider.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 2970;
constexpr int kHeightTwips = 4395;

}  // namespace

frmHeaters::frmHeaters(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmHeaters");
    setWindowTitle("Heater Control");
    SetFormOpenFlag(gHeatersFormOpen);
    KeepTimerTask(
        TaskAttachment::HeaterLabels([this](const std::string& remote1, const std::string& remote2) {
            ShowTemperatures(remote1, remote2);
        }));

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (int i = 0; i < kHeaters; ++i) {
        QGroupBox*& frame = i == 0 ? Frame1 : Frame2;
        QLabel*& caption = i == 0 ? Label1 : Label2;
        frame = NewFrame(this, QString("Frame%1").arg(i + 1));
        caption = NewLabel(frame, QString("Label%1").arg(i + 1), QString("Heater%1 PWM").arg(i + 1));
        sldHeater[i] = Named(new Slider(Qt::Vertical, frame), ElementName("sldHeater", i));
        lblTemp[i] = NewLabel(frame, ElementName("lblTemp", i), QString("Remote%1 = ").arg(i + 1));
        // The window is narrow: "Remote1 = 41.75°C" breaks after the equals sign, and two
        // lines are kept for it from the start so the first reading does not shift the slider.
        for (QLabel* label : {caption, lblTemp[i]}) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        lblTemp[i]->setMinimumHeight(2 * lblTemp[i]->fontMetrics().lineSpacing());

        auto* column = new QVBoxLayout(frame);
        column->setContentsMargins(kNarrowMargins);
        column->setSpacing(2);
        column->addWidget(caption);
        column->addWidget(sldHeater[i], 1, Qt::AlignHCenter);
        column->addWidget(lblTemp[i]);
        row->addWidget(frame, 1);  // the two halves stay equal whatever their labels read

        connect(sldHeater[i], &Slider::valueChanged, this, [this, i] { sldHeater_Change(i); });
    }

    cmdClose = NewButton(this, "cmdClose", "Close");
    connect(cmdClose, &QPushButton::clicked, this, &frmHeaters::cmdClose_Click);
    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdClose);
    closeRow->addStretch();

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kNarrowMargins);
    window->addLayout(row, 1);
    window->addLayout(closeRow);
}

void frmHeaters::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    // The heater module hangs off the adapter: on the PC SMBus link there is no reading to
    // show and nothing a slider could set.
    const bool reachable = gInterfaceType == kInterfaceUsb;
    if (reachable) ReadHeaters();
    for (int i = 0; i < kHeaters; ++i) {
        sldHeater[i]->SetValue(reachable ? HeaterPercentOfByte(gRegBuffer[i]) : 0.0);
        sldHeater[i]->setEnabled(reachable);
    }
}

void frmHeaters::sldHeater_Change(int index) {
    SetHeater(index + 1, RoundToInt32(sldHeater[index]->Value()));
}

void frmHeaters::cmdClose_Click() { Unload(); }

void frmHeaters::ShowTemperatures(const std::string& remote1Text, const std::string& remote2Text) {
    ShowText(*lblTemp[0], remote1Text);
    ShowText(*lblTemp[1], remote2Text);
}

}  // namespace kestrum
