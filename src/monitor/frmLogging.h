#pragma once
// The "Data Logging" window: which log channels go into the CSV log, at what interval,
// and starting and stopping the log. Logging, once started, goes on when the window closes.

#include <array>

#include "core/Declarations.h"
#include "widgets/WindowManager.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrum {

class UpDown;

class frmLogging final : public ChildWindow {
    Q_OBJECT
public:
    // The interval spinner's range and step, in ms: up to an hour.
    static constexpr int kMinimumIntervalMs = 10;
    static constexpr int kMaximumIntervalMs = 3600000;
    static constexpr int kIntervalStepMs = 10;

    explicit frmLogging(QWidget* parent = nullptr);

    void Form_Load() override;

    // Starts logging when it is off, stops it when it runs.
    void cmdLogData_Click();
    void cmdSelectAll_Click();
    void cmdDeselectAll_Click();
    void cmdClose_Click();

    QGroupBox* fraTemperature = nullptr;
    QGroupBox* fraFan = nullptr;
    QGroupBox* fraVoltage = nullptr;
    std::array<QCheckBox*, kLogChannelCount> chkLog{};  // index = log channel
    QLabel* lblLogInt = nullptr;
    QLineEdit* txtLogInt = nullptr;
    UpDown* UpDown1 = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdDeselectAll = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdLogData = nullptr;

private:
    void BuildChannelFrames();
    void StartLog();
    void StopLog();
};

}  // namespace kestrum
