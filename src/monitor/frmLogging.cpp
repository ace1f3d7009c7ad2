#include "monitor/frmLogging.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "core/Conversions.h"
#include "core/Folders.h"
#include "core/General.h"
#include "core/Scheduler.h"
#include "platform/Seams.h"
#include "widgets/Controls.h"
#include "widgets/UpDown.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 8925;
constexpr int kHeightTwips = 7980;
const QString kStartCaption = QStringLiteral("Start Logging");
const QString kStopCaption = QStringLiteral("Stop logging...");

// The log channels of each frame, top to bottom; the voltages in two columns.
constexpr std::array<int, 10> kTemperatureChannels = {0, 1, 2, 3, 39, 40, 41, 42, 43, 44};
constexpr int kFanFirst = 4;
constexpr int kFanLast = 15;
constexpr int kVoltageFirst = 16;
constexpr int kVoltageLast = 38;
constexpr int kVoltageRows = 12;

// Logging appends, so choosing an existing file asks nothing; the log is the path chosen,
// so a name without an extension gets none.
FileDialogRequest LogFileRequest() { return {DefaultFileFolder(), "Log Files (*.csv)|*.csv", "", false}; }

void Warn(const std::string& text, MsgIcon icon) { Messages().Show(text, MsgButtons::OK, icon, kAppTitle); }

}  // namespace

frmLogging::frmLogging(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmLogging");
    setWindowTitle("Data Logging");
    // The log task stops logging by itself when the file cannot be written.
    KeepTimerTask(TaskAttachment::LoggingStopped([this] { cmdLogData->setText(kStartCaption); }));
    BuildChannelFrames();

    lblLogInt = NewLabel(this, "lblLogInt", "Interval (ms)");
    const SpinnerBox interval =
        NewSpinnerBox(this, "txtLogInt", "UpDown1", kMinimumIntervalMs, kMaximumIntervalMs, kIntervalStepMs);
    txtLogInt = interval.text;
    UpDown1 = interval.spinner;
    lblLogInt->setBuddy(txtLogInt);
    cmdSelectAll = NewButton(this, "cmdSelectAll", "Select  All");
    cmdDeselectAll = NewButton(this, "cmdDeselectAll", "Deselect All");
    cmdLogData = NewButton(this, "cmdLogData", kStartCaption);
    cmdClose = NewButton(this, "cmdClose", "Close");

    auto* frames = new QHBoxLayout;
    frames->addWidget(fraTemperature);
    frames->addWidget(fraFan);
    frames->addWidget(fraVoltage, 1);
    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(lblLogInt);
    intervalRow->addWidget(interval.box);
    intervalRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSelectAll);
    buttons->addWidget(cmdDeselectAll);
    buttons->addStretch();
    buttons->addWidget(cmdLogData);
    buttons->addWidget(cmdClose);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(kWindowMargins);
    window->addLayout(frames, 1);
    window->addLayout(intervalRow);
    window->addLayout(buttons);

    connect(cmdLogData, &QPushButton::clicked, this, [this] { cmdLogData_Click(); });
    connect(cmdSelectAll, &QPushButton::clicked, this, [this] { cmdSelectAll_Click(); });
    connect(cmdDeselectAll, &QPushButton::clicked, this, [this] { cmdDeselectAll_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void frmLogging::BuildChannelFrames() {
    fraTemperature = NewFrame(this, "fraTemperature", "Temperature Values");
    fraFan = NewFrame(this, "fraFan", "Fan Values");
    fraVoltage = NewFrame(this, "fraVoltage", "Voltage Values");
    auto box = [this](QGroupBox* frame, int i) {
        chkLog[i] = NewCheckBox(frame, QString(), kLogChannelCaption[i]);
        return chkLog[i];
    };

    auto* temperatures = new QVBoxLayout(fraTemperature);
    temperatures->setContentsMargins(kInnerMargins);
    for (int i : kTemperatureChannels) temperatures->addWidget(box(fraTemperature, i));
    temperatures->addStretch();

    auto* fans = new QVBoxLayout(fraFan);
    fans->setContentsMargins(kInnerMargins);
    for (int i = kFanFirst; i <= kFanLast; ++i) fans->addWidget(box(fraFan, i));
    fans->addStretch();

    auto* voltages = new QGridLayout(fraVoltage);
    voltages->setContentsMargins(kInnerMargins);
    for (int i = kVoltageFirst; i <= kVoltageLast; ++i) {
        const int row = (i - kVoltageFirst) % kVoltageRows;
        const int column = (i - kVoltageFirst) / kVoltageRows;
        voltages->addWidget(box(fraVoltage, i), row, column);
    }
    voltages->setRowStretch(kVoltageRows, 1);
    NameArray(chkLog, "chkLog");
}

void frmLogging::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    txtLogInt->setText(QString::number(gLogIntervalMs));
    if (gLoggingOn) cmdLogData->setText(kStopCaption);
    for (int i = 0; i < kLogChannelCount; ++i) {
        const bool available = gLogChannel[i].Available == 1.0f;
        chkLog[i]->setEnabled(available);
        chkLog[i]->setChecked(available && gLogChannel[i].Selected == 1.0f);
    }
}

void frmLogging::cmdLogData_Click() {
    if (gLoggingOn) {
        StopLog();
    } else {
        StartLog();
    }
}

void frmLogging::StartLog() {
    gLogFileName.clear();
    const auto path = Dialogs().SaveFile(LogFileRequest());
    if (!path || path->empty()) return;
    gLogFileName = *path;

    bool anySelected = false;
    for (int i = 0; i < kLogChannelCount; ++i) {
        gLogChannel[i].Selected = chkLog[i]->isChecked() ? 1.0f : 0.0f;
        anySelected = anySelected || chkLog[i]->isChecked();
    }
    if (!anySelected) {
        Warn("At least one item must be selected for logging", MsgIcon::Exclamation);
        return;
    }
    // An interval of 0 or less would stamp every line with time 0.
    const int32_t intervalMs = RoundToInt32(LeadingNumber(txtLogInt->text().toStdString()));
    if (intervalMs <= 0) {
        Warn("The logging interval must be a positive number of milliseconds.", MsgIcon::Exclamation);
        return;
    }
    if (!AppendLogBlockHead(gLogFileName)) {
        Warn("The log file \"" + gLogFileName + "\" could not be opened.", MsgIcon::Critical);
        return;
    }
    cmdLogData->setText(kStopCaption);
    StartLogging(intervalMs);
}

void frmLogging::StopLog() {
    StopLogging();
    cmdLogData->setText(kStartCaption);
}

void frmLogging::cmdSelectAll_Click() {
    for (QCheckBox* box : chkLog)
        if (box->isEnabled()) box->setChecked(true);
}

void frmLogging::cmdDeselectAll_Click() {
    for (QCheckBox* box : chkLog) box->setChecked(false);
}

void frmLogging::cmdClose_Click() { Unload(); }

}  // namespace kestrum
