#include "features/config/frmGPIO.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/ChipAccess.h"
#include "core/Declarations.h"
#include "core/PinDefinitions.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 7050;
constexpr int kHeightTwips = 5595;

constexpr int32_t kEnableBit = 0;
constexpr int kLinesPerRegister = 4;
// Two bits a line in its behaviour register, GPIO 1-4 then 5-8: polarity, then direction.
constexpr std::array<int, frmGPIO::kLines> kPolarityBit{0, 2, 4, 6, 0, 2, 4, 6};
constexpr std::array<int, frmGPIO::kLines> kDirectionBit{1, 3, 5, 7, 1, 3, 5, 7};
constexpr int32_t kOutput = 1;  // the direction bit of an output: "O/P"

enum Column { kNameColumn, kDirColumn, kPolarityColumn, kStatusColumn, kPinColumn };

}  // namespace

frmGPIO::frmGPIO(QWidget* parent) : WriteAtOnceWindow(parent) {
    setObjectName("frmGPIO");
    setWindowTitle("GPIO Configuration");
    chkEnGPIO = NewCheckBox(this, "chkEnGPIO", "Enable GPIO");
    BuildGrid();
    cmdCancel = NewButton(this, "cmdCancel", "Close");

    config3_.Bit(chkEnGPIO, kEnableBit);
    for (int i = 0; i < kLines; ++i) {
        Behaviour(i)
            .BitList(cmbPolarity[i], kPolarityBit[i], Sense::Direct)
            .BitList(cmbDir[i], kDirectionBit[i], Sense::Direct);
        status_.BitList(cmbStatus[i], i, Sense::Direct);
    }

    OnUserClick(chkEnGPIO, [this] { chkEnGPIO_Click(); });
    for (int i = 0; i < kLines; ++i) {
        OnUserChoice(cmbDir[i], [this, i] { cmbDir_Click(i); });
        OnUserChoice(cmbPolarity[i], [this, i] { cmbPolarity_Click(i); });
        OnUserChoice(cmbStatus[i], [this, i] { cmbStatus_Click(i); });
    }
    connect(cmdCancel, &QPushButton::clicked, this, &frmGPIO::cmdCancel_Click);
    SetFormOpenFlag(gGPIOFormOpen);
    KeepTimerTask(TaskAttachment::Window(WindowTask::Gpio, [this] { UpdateGPIOStatus(); }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(chkEnGPIO);
    layout->addWidget(Frame1, 1);
    layout->addLayout(RightAlignedRow({cmdCancel}));
}

void frmGPIO::BuildGrid() {
    Frame1 = NewFrame(this, "Frame1");
    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(kInnerMargins);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    Label1 = NewLabel(Frame1, "Label1", "Direction");
    Label2 = NewLabel(Frame1, "Label2", "Polarity");
    Label4 = NewLabel(Frame1, "Label4", "Status");
    Label5 = NewLabel(Frame1, "Label5", "Pin Enabled");
    grid->addWidget(Label1, 0, kDirColumn);
    grid->addWidget(Label2, 0, kPolarityColumn);
    grid->addWidget(Label4, 0, kStatusColumn);
    grid->addWidget(Label5, 0, kPinColumn, Qt::AlignHCenter);
    for (int i = 0; i < kLines; ++i) {
        Label3[i] = NewLabel(Frame1, ElementName("Label3", i), QString("GPIO %1").arg(i + 1));
        cmbDir[i] = NewList(Frame1, ElementName("cmbDir", i), {"I/P", "O/P"});
        cmbPolarity[i] = NewList(Frame1, ElementName("cmbPolarity", i), {"Active Low", "Active High"});
        cmbStatus[i] = NewList(Frame1, ElementName("cmbStatus", i), {"Active", "Inactive"});
        lblStatus[i] = NewLabel(Frame1, ElementName("lblStatus", i), QString());
        chkPinEn[i] = NewCheckBox(Frame1, ElementName("chkPinEn", i), QString());
        // The label takes the list's place while the list is hidden: as wide, its text
        // where the list shows its own.
        lblStatus[i]->setMinimumWidth(cmbStatus[i]->sizeHint().width());
        lblStatus[i]->setIndent(4);
        // Shows the routing; only the program sets it.
        chkPinEn[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        chkPinEn[i]->setFocusPolicy(Qt::NoFocus);
        const int row = i + 1;
        grid->addWidget(Label3[i], row, kNameColumn);
        grid->addWidget(cmbDir[i], row, kDirColumn);
        grid->addWidget(cmbPolarity[i], row, kPolarityColumn);
        grid->addWidget(lblStatus[i], row, kStatusColumn);
        grid->addWidget(cmbStatus[i], row, kStatusColumn);
        grid->addWidget(chkPinEn[i], row, kPinColumn, Qt::AlignHCenter);
    }
    grid->setRowStretch(kLines + 1, 1);
}

void frmGPIO::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    config3_.LoadFromChip();
    UpdateGPIOStatus();
}

RegisterBinding& frmGPIO::Behaviour(int line) { return line < kLinesPerRegister ? behaviour1_ : behaviour2_; }

void frmGPIO::UpdateGPIOStatus() {
    const RegisterBlock block = LoadBlock(behaviour1_, behaviour2_);
    for (int i = 0; i < kLines; ++i) {
        if (IsListOpen(cmbStatus[i])) continue;
        // An output's status is the user's to set; an input's is only shown.
        const bool output = Behaviour(i).FieldIn(block, cmbDir[i]) == kOutput;
        cmbStatus[i]->setVisible(output);
        lblStatus[i]->setVisible(!output);
    }
    status_.LoadFromChip();
    for (int i = 0; i < kLines; ++i) {
        lblStatus[i]->setText(cmbStatus[i]->currentText());
        chkPinEn[i]->setChecked(gPinFunction[kLinePins[i]] == 0);
    }
}

void frmGPIO::chkEnGPIO_Click() { config3_.WriteModified(chkEnGPIO); }

void frmGPIO::cmbDir_Click(int /*index*/) { WriteGPIOSettings(); }
void frmGPIO::cmbPolarity_Click(int /*index*/) { WriteGPIOSettings(); }
void frmGPIO::cmbStatus_Click(int /*index*/) { WriteGPIOSettings(); }

void frmGPIO::WriteGPIOSettings() {
    behaviour1_.WriteRebuilt();
    behaviour2_.WriteRebuilt();
    status_.WriteRebuilt();
}

void frmGPIO::cmdCancel_Click() { Unload(); }

}  // namespace kestrum
