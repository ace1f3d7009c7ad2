#include "regmap/frmSave.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/General.h"
#include "core/USBStuff.h"
#include "platform/ByteSource.h"
#include "regmap/SettingsFile.h"
#include "widgets/Controls.h"
#include "widgets/WrappingCheckBox.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 4350;
constexpr int kHeightTwips = 5880;

// Holds the master timer off while the chip's registers travel to or from a file, so
// that no periodic read interleaves with them; it runs again on every way out.
class MasterTimerPause {
public:
    MasterTimerPause() { Switch(false); }
    ~MasterTimerPause() { Switch(true); }
    MasterTimerPause(const MasterTimerPause&) = delete;
    MasterTimerPause& operator=(const MasterTimerPause&) = delete;

private:
    static void Switch(bool on) {
        if (gMasterTimer != nullptr) gMasterTimer->SetEnabled(on);
    }
};

void ShowProblem(const std::string& text) {
    Messages().Show(text, MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

}  // namespace

frmSave::frmSave(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmSave");
    setWindowTitle("Save/Recall Settings");
    fraFileIO = NewFrame(this, "fraFileIO", "File I/O");
    lblComment = NewLabel(fraFileIO, "lblComment", "Add Comment");
    txtComment = NewTextBox(fraFileIO, "txtComment");
    lblComment->setBuddy(txtComment);
    chkNotDefaults =
        Named(new WrappingCheckBox("Only save registers that differ from their defaults ", fraFileIO),
              "chkNotDefaults");
    cmdsave = NewButton(fraFileIO, "cmdsave", "Save  Current Configuration");
    cmdRecall = NewButton(fraFileIO, "cmdRecall", "Recall Previous Configuration");
    cmdClose = NewButton(this, "cmdClose", "Close");

    auto* frame = new QVBoxLayout(fraFileIO);
    frame->setContentsMargins(kInnerMargins);
    frame->addWidget(lblComment);
    frame->addWidget(txtComment);
    frame->addSpacing(6);
    frame->addWidget(chkNotDefaults);
    frame->addStretch();
    frame->addWidget(cmdsave);
    frame->addWidget(cmdRecall);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdClose);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addWidget(fraFileIO, 1);
    window->addLayout(closeRow);

    connect(cmdsave, &QPushButton::clicked, this, &frmSave::cmdsave_Click);
    connect(cmdRecall, &QPushButton::clicked, this, &frmSave::cmdRecall_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSave::cmdClose_Click);
}

void frmSave::Form_Load() { SetSizeTwips(kWidthTwips, kHeightTwips); }

void frmSave::cmdsave_Click() {
    std::string text = SettingsFileHeader(txtComment->text().toStdString());
    {
        // Only while the chip is read: logging goes on while the user picks a name.
        MasterTimerPause pause;
        text += SettingsFileRegisters(chkNotDefaults->isChecked());
    }
    const auto path = Dialogs().SaveFile(SettingsFileRequest(true));
    if (!path || path->empty()) return;
    if (!WriteSettingsFile(*path, text)) {
        ShowProblem(SaveFailedText(*path));
        return;
    }
    Unload();
}

void frmSave::cmdRecall_Click() {
    const auto path = Dialogs().OpenFile(SettingsFileRequest(false));
    if (!path || path->empty()) return;
    const FileDescriptor file = OpenRegularFile(*path);
    if (!file.IsOpen()) {
        ShowProblem(ReadFailedText(*path));
        return;
    }
    FileDescriptorSource source(file.Get());
    RecallResult result;
    {
        MasterTimerPause pause;
        result = RecallSettings(
            source, [](int32_t reg, int32_t value) { WriteRegister(gDeviceAddress, reg, value); });
    }
    // The lines before the failure were written, but the file's end is not known.
    if (source.Failed()) {
        ShowProblem(ReadFailedText(*path));
        return;
    }
    if (const std::string report = RecallReport(result); !report.empty()) ShowProblem(report);
}

void frmSave::cmdClose_Click() { Unload(); }

}  // namespace kestrum
