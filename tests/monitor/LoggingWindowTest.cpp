// The data logger as a user drives it: ticking channels, choosing the file, starting and
// stopping, and the file the program wrote, read back byte for byte.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Scheduler.h"
#include "monitor/frmLogging.h"
#include "support/Fifo.h"
#include "support/FileText.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"
#include "widgets/UpDown.h"

namespace kestrum {
namespace {

const std::string kBlockHead = "\r\nKestrum Log File\r\n\r\n";

class LoggingWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        clock.step = 0.0;
        clock.SetTime(100.0);
        gLogIntervalMs = 100;
        for (LogChannel& channel : gLogChannel) channel.Available = 1.0f;
        SetStatusTextSink([this](const std::string& text) { statusTexts.push_back(text); });
    }

    frmLogging& Open() { return WindowTest::Open<frmLogging>(); }
    QCheckBox& Box(frmLogging& window, int channel) {
        return Control<QCheckBox>(window, QString("chkLog_%1").arg(channel));
    }
    QPushButton& Button(frmLogging& window, const char* name) { return Control<QPushButton>(window, name); }
    void Tick(const std::vector<int>& channels, frmLogging& window) {
        for (int channel : channels) Box(window, channel).click();
    }
    void TypeInterval(frmLogging& window, const QString& text) {
        QLineEdit& box = Control<QLineEdit>(window, "txtLogInt");
        box.clear();
        QTest::keyClicks(&box, text);
    }
    // The user presses the start/stop button and, when asked, picks this file.
    void PressStartChoosing(frmLogging& window, const std::string& path) {
        fileDialogs.saveAnswers.push_back(path);
        Button(window, "cmdLogData").click();
    }
    // Master-timer ticks a second apart: one log line each.
    void LogTicks(int count) {
        for (int k = 0; k < count; ++k) TickAfter(1.0);
    }
    void ExpectOneMessage(const std::string& text, MsgIcon icon) {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].icon, icon);
        EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
        EXPECT_EQ(messages.shown[0].caption, "Kestrum Evaluation Software");
        messages.shown.clear();
    }
    void ExpectOff(frmLogging& window) {
        EXPECT_FALSE(gLoggingOn);
        EXPECT_EQ(Button(window, "cmdLogData").text(), "Start Logging");
        EXPECT_TRUE(statusTexts.empty());
    }
    static bool Exists(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0;
    }

    std::vector<std::string> statusTexts;
};

TEST_F(LoggingWindowTest, WindowAsTheUserSeesIt) {
    frmLogging& window = Open();
    EXPECT_EQ(window.windowTitle(), "Data Logging");
    EXPECT_EQ(window.parentWidget()->size(), QSize(595, 532));  // 8925 x 7980 twips

    const std::vector<std::string> captions = {
        "Local Temp", "Remote1 Temp", "Remote2 Temp", "Remote3 Temp", "Tach1", "Tach2", "Tach3", "Tach4",
        "Tach5", "Tach6", "Tach7", "Tach8", "PWM1%", "PWM2%", "PWM3%", "PWM4%", "12V1", "12V2", "3.3V-Pin13",
        "2.5V-Pin15", "1.8V-Pin15", "1.25V-Pin20", "0.9V-Pin20", "5V", "12V3", "Vccp1", "1.5V-Pin23",
        "1.8-Pin23", "2.5V-Pin23", "Vccp2", "1.5V-Pin24", "1.8V-Pin24", "2.5V-Pin24", "1.2V-Pin25",
        "3.3V-Pin25", "1.2V-Pin26", "VBatt",
        // Named as acquisition names the voltage channels 21 and 22 they carry.
        "1.5V1", "1.5V2", "Local Tmin", "Remote1 Tmin", "Remote2 Tmin", "Remote3 Tmin", "Remote1 Op-Point",
        "Remote2 Op-Point"};
    ASSERT_EQ(captions.size(), 45u);
    for (int i = 0; i < kLogChannelCount; ++i) {
        const QCheckBox& box = Box(window, i);
        EXPECT_EQ(box.text().toStdString(), captions[i]) << i;
        const bool temperature = i <= 3 || i >= 39;
        const bool fan = i >= 4 && i <= 15;
        const auto* frame = qobject_cast<const QGroupBox*>(box.parentWidget());
        ASSERT_NE(frame, nullptr) << i;
        EXPECT_EQ(frame->title(), temperature ? "Temperature Values"
                                  : fan       ? "Fan Values"
                                              : "Voltage Values")
            << i;
        EXPECT_TRUE(box.isVisible()) << i;
        EXPECT_TRUE(frame->contentsRect().contains(box.geometry())) << i << " fits its frame";
    }
    EXPECT_EQ(window.lblLogInt->text(), "Interval (ms)");
    EXPECT_EQ(Control<QLineEdit>(window, "txtLogInt").text(), "100");
    EXPECT_EQ(Button(window, "cmdSelectAll").text(), "Select  All");
    test::ExpectTidy(window, "logging-window");

    // The interval spinner steps by 10 from whatever is typed, within 10 ms to an hour.
    UpDown& spinner = Control<UpDown>(window, "UpDown1");
    TypeInterval(window, "105");
    spinner.upButton->click();
    EXPECT_EQ(window.txtLogInt->text(), "115");
    TypeInterval(window, "15");
    spinner.downButton->click();
    EXPECT_EQ(window.txtLogInt->text(), "10");
    TypeInterval(window, "3599995");
    spinner.upButton->click();
    EXPECT_EQ(window.txtLogInt->text(), "3600000");
    EXPECT_EQ(gLogIntervalMs, 100) << "nothing counts until the next start";

    Button(window, "cmdClose").click();
    EXPECT_EQ(Find<frmLogging>(), nullptr);
    ExpectTraffic({});
}

TEST_F(LoggingWindowTest, StartWritesABlockHeadTheTimerAppendsLinesAndStopEndsThem) {
    const std::string path = TempPath("bench.csv");
    gLogChannel[0].Value = 25.25f;
    gLogChannel[4].Value = 2450.0f;
    gLogChannel[16].Value = 12.13f;
    frmLogging& window = Open();
    Tick({0, 4}, window);
    PressStartChoosing(window, path);

    ASSERT_EQ(fileDialogs.saveRequests.size(), 1u);
    EXPECT_EQ(fileDialogs.saveRequests[0].initialDirectory, tempDir.path().toStdString());
    EXPECT_EQ(fileDialogs.saveRequests[0].filter, "Log Files (*.csv)|*.csv");
    EXPECT_EQ(fileDialogs.saveRequests[0].defaultExtension, "") << "the log is the path chosen";
    EXPECT_FALSE(fileDialogs.saveRequests[0].confirmOverwrite) << "logging appends";
    EXPECT_TRUE(gLoggingOn);
    EXPECT_EQ(gLogFileName, path);
    EXPECT_EQ(Button(window, "cmdLogData").text(), "Stop logging...");
    EXPECT_EQ(statusTexts, std::vector<std::string>{"Logging Enabled"});
    EXPECT_EQ(test::ReadFileBytes(path), kBlockHead + "Time ,Local Temp ,Tach1 ,\r\n");

    // The columns were taken at the start: a box ticked now changes nothing.
    Tick({16}, window);
    LogTicks(4);
    const std::string firstBlock = kBlockHead +
                                   "Time ,Local Temp ,Tach1 ,\r\n"
                                   "0,25.25 ,2450 ,\r\n"
                                   "0.1,25.25 ,2450 ,\r\n"
                                   "0.2,25.25 ,2450 ,\r\n"
                                   "0.3,25.25 ,2450 ,\r\n";
    EXPECT_EQ(test::ReadFileBytes(path), firstBlock);

    Button(window, "cmdLogData").click();
    EXPECT_FALSE(gLoggingOn);
    EXPECT_EQ(Button(window, "cmdLogData").text(), "Start Logging");
    EXPECT_EQ(statusTexts, (std::vector<std::string>{"Logging Enabled", "Ready"}));
    LogTicks(2);
    EXPECT_EQ(test::ReadFileBytes(path), firstBlock);

    // A second start on the same file appends a second block, its time from 0 again.
    TypeInterval(window, "250.5");
    PressStartChoosing(window, path);
    EXPECT_EQ(gLogIntervalMs, 250) << "half to even";
    LogTicks(2);
    EXPECT_EQ(test::ReadFileBytes(path), firstBlock + kBlockHead +
                                             "Time ,Local Temp ,Tach1 ,12V1 ,\r\n"
                                             "0,25.25 ,2450 ,12.13 ,\r\n"
                                             "0.25,25.25 ,2450 ,12.13 ,\r\n");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LoggingWindowTest, ALogFileThatCannotBeWrittenShowsLoggingOffInTheWindow) {
    const std::string path = TempPath("removed-folder/log.csv");
    frmLogging& window = Open();
    Tick({0}, window);
    PressStartChoosing(window, TempPath("kept.csv"));
    ASSERT_EQ(Button(window, "cmdLogData").text(), "Stop logging...");
    gLogFileName = path;  // the file's folder goes away while logging runs
    LogTicks(1);
    ASSERT_FALSE(gLoggingOn);
    ExpectOneMessage("Logging stopped: cannot write to the log file " + path, MsgIcon::Exclamation);
    EXPECT_EQ(Button(window, "cmdLogData").text(), "Start Logging");

    // Pressed now, the button starts logging again rather than stopping it twice.
    PressStartChoosing(window, TempPath("again.csv"));
    EXPECT_TRUE(gLoggingOn);
}

TEST_F(LoggingWindowTest, APipeIsNoLogFileInTheFilesPlaceWhileLoggingNorAtStart) {
    frmLogging& window = Open();
    Tick({0}, window);
    const std::string path = TempPath("run.csv");
    PressStartChoosing(window, path);
    ASSERT_TRUE(gLoggingOn);
    std::filesystem::remove(path);
    {
        const test::WatchedFifo fifo(path);
        LogTicks(1);
        EXPECT_FALSE(gLoggingOn);
        ExpectOneMessage("Logging stopped: cannot write to the log file " + path, MsgIcon::Exclamation);
        EXPECT_EQ(Button(window, "cmdLogData").text(), "Start Logging");
    }

    statusTexts.clear();
    const test::WatchedFifo fifo(TempPath("pipe.csv"));
    PressStartChoosing(window, fifo.Path());
    ExpectOneMessage("The log file \"" + fifo.Path() + "\" could not be opened.", MsgIcon::Critical);
    ExpectOff(window);
}

TEST_F(LoggingWindowTest, LoggingGoesOnWhileTheWindowIsClosedAndReopeningShowsIt) {
    const std::string path = TempPath("closed.csv");
    {
        std::ofstream existing(path, std::ios::binary);
        existing << "earlier run\r\n";
    }
    gLogChannel[6].Value = 1.5f;
    gLogChannel[3].Available = 0.0f;
    frmLogging& window = Open();
    Tick({6}, window);
    TypeInterval(window, "99.5");
    PressStartChoosing(window, path);
    EXPECT_EQ(gLogIntervalMs, 100) << "half to even";
    Close(window);
    LogTicks(2);
    EXPECT_EQ(test::ReadFileBytes(path),
              "earlier run\r\n" + kBlockHead + "Time ,Tach3 ,\r\n0,1.5 ,\r\n0.1,1.5 ,\r\n");

    frmLogging& again = Open();
    EXPECT_EQ(Button(again, "cmdLogData").text(), "Stop logging...");
    EXPECT_EQ(again.txtLogInt->text(), "100");
    for (int i = 0; i < kLogChannelCount; ++i) {
        EXPECT_EQ(Box(again, i).isChecked(), i == 6) << i;
        EXPECT_EQ(Box(again, i).isEnabled(), i != 3) << i;
    }
    Button(again, "cmdLogData").click();
    EXPECT_FALSE(gLoggingOn);
    EXPECT_EQ(statusTexts, (std::vector<std::string>{"Logging Enabled", "Ready"}));
    EXPECT_EQ(fileDialogs.saveRequests.size(), 1u) << "stopping asks for no file";
}

TEST_F(LoggingWindowTest, OnlyAvailableChannelsCanBeChosenAndAStaleSelectionIsDropped) {
    // Channel 5 was selected at an earlier start and is no longer available.
    gLogChannel[5] = {3.0f, 0.0f, 1.0f};
    gLogChannel[2] = {40.0f, 1.0f, 1.0f};
    gLogChannel[44] = {0.0f, 0.0f, 0.0f};
    frmLogging& window = Open();
    EXPECT_FALSE(Box(window, 5).isEnabled());
    EXPECT_FALSE(Box(window, 5).isChecked());
    EXPECT_TRUE(Box(window, 2).isChecked());
    EXPECT_FALSE(Box(window, 0).isChecked());

    Button(window, "cmdSelectAll").click();
    for (int i = 0; i < kLogChannelCount; ++i) EXPECT_EQ(Box(window, i).isChecked(), i != 5 && i != 44) << i;
    Button(window, "cmdDeselectAll").click();
    for (int i = 0; i < kLogChannelCount; ++i) EXPECT_FALSE(Box(window, i).isChecked()) << i;

    Tick({2, 43}, window);
    const std::string path = TempPath("stale.csv");
    PressStartChoosing(window, path);
    EXPECT_EQ(gLogChannel[5].Selected, 0.0f);
    EXPECT_EQ(gLogChannel[2].Selected, 1.0f);
    EXPECT_EQ(test::ReadFileBytes(path), kBlockHead + "Time ,Remote2 Temp ,Remote1 Op-Point ,\r\n");
}

TEST_F(LoggingWindowTest, NothingStartsWithoutAFileAChannelOrAPositiveInterval) {
    const std::string path = TempPath("never.csv");
    frmLogging& window = Open();
    gLogFileName = "old.csv";

    // Cancelled or empty: nothing, not a word.
    fileDialogs.saveAnswers.push_back(std::nullopt);
    Button(window, "cmdLogData").click();
    PressStartChoosing(window, "");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(gLogFileName, "");
    ExpectOff(window);

    // No channel: the message, with the all-clear selection kept; the interval is not looked at.
    gLogChannel[7].Selected = 1.0f;
    TypeInterval(window, "0");
    PressStartChoosing(window, path);
    ExpectOneMessage("At least one item must be selected for logging", MsgIcon::Exclamation);
    EXPECT_EQ(gLogChannel[7].Selected, 0.0f);
    ExpectOff(window);

    // An interval that rounds to 0 or less would stamp every line with time 0.
    Tick({0}, window);
    for (const char* interval : {"0", "-5", "abc", "0.4", "0.5", ""}) {
        TypeInterval(window, interval);
        PressStartChoosing(window, path);
        ExpectOneMessage("The logging interval must be a positive number of milliseconds.",
                         MsgIcon::Exclamation);
        ExpectOff(window);
        EXPECT_EQ(gLogIntervalMs, 100) << interval;
    }
    EXPECT_FALSE(Exists(path)) << "nothing written";
    LogTicks(2);
    EXPECT_FALSE(Exists(path));

    // A file that cannot be opened says so.
    TypeInterval(window, "0.6");
    const std::string unreachable = TempPath("no-such-folder/run.csv");
    PressStartChoosing(window, unreachable);
    ExpectOneMessage("The log file \"" + unreachable + "\" could not be opened.", MsgIcon::Critical);
    ExpectOff(window);
    EXPECT_EQ(gLogIntervalMs, 100);

    // Then a good start: 0.6 ms rounds to 1.
    PressStartChoosing(window, path);
    EXPECT_TRUE(gLoggingOn);
    EXPECT_EQ(gLogIntervalMs, 1);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace kestrum
