#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/General.h"
#include "regmap/RegMapStuff.h"
#include "regmap/frmSave.h"
#include "support/FileText.h"
#include "support/LayoutChecks.h"
#include "support/WindowFixture.h"

namespace kestrum {
namespace {

using test::Access;
using test::W;

// The master timer, noting at which point of the board's traffic it was switched.
class TrafficTimer final : public MasterTimerSwitch {
public:
    explicit TrafficTimer(const sim::SimulatedBoard& board) : board_(board) {}
    void SetEnabled(bool on) override {
        enabled_ = on;
        switches.emplace_back(board_.Transfers().size(), on);
    }
    bool IsEnabled() const override { return enabled_; }

    std::vector<std::pair<size_t, bool>> switches;

private:
    const sim::SimulatedBoard& board_;
    bool enabled_ = true;
};

// The scripted dialogs, noting whether the master timer ran while each was open.
class TimerWatchingDialogs final : public FileDialogs {
public:
    TimerWatchingDialogs(FileDialogs& inner, const MasterTimerSwitch& timer) : inner_(inner), timer_(timer) {}
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override {
        timerRanDuringDialog.push_back(timer_.IsEnabled());
        return inner_.SaveFile(request);
    }
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override {
        timerRanDuringDialog.push_back(timer_.IsEnabled());
        return inner_.OpenFile(request);
    }
    std::vector<bool> timerRanDuringDialog;

private:
    FileDialogs& inner_;
    const MasterTimerSwitch& timer_;
};

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "the last line has no CR LF";
    return lines;
}

class SaveWindowTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        InstallSeams({&messages, &dialogs, &clock, &programEnd, &shell});
        gMasterTimer = &timer;
        // The PWM values follow the automatic fan control; hold them still.
        for (uint8_t reg = 0xAA; reg <= 0xAD; ++reg) Chip().Poke(reg, 0);
        StartRecording();
    }
    void TearDown() override {
        gMasterTimer = nullptr;
        WindowTest::TearDown();
    }

    frmSave& Open() { return WindowTest::Open<frmSave>(); }
    bool IsOpen() const { return Find<frmSave>() != nullptr; }
    // A fresh start for the next case of a test.
    void Restart() {
        messages.shown.clear();
        timer.switches.clear();
        StartRecording();
    }

    // The timer was switched off once and on once, and all chip traffic fell between.
    void ExpectChipTrafficOnlyWhileTimerOff() const {
        ASSERT_EQ(timer.switches.size(), 2u);
        EXPECT_FALSE(timer.switches[0].second);
        EXPECT_TRUE(timer.switches[1].second);
        const std::vector<Access> traffic = Traffic();
        for (size_t i = 0; i < traffic.size(); ++i) {
            EXPECT_GE(i, timer.switches[0].first) << traffic[i];
            EXPECT_LT(i, timer.switches[1].first) << traffic[i];
        }
        EXPECT_TRUE(timer.IsEnabled());
    }
    void ExpectOneProblem(const std::string& text) const {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.shown[0].caption, kAppTitle);
    }
    std::string SaveToFile(const std::string& name, bool onlyChanged = false) {
        const std::string path = TempPath(name);
        frmSave& window = Open();
        window.chkNotDefaults->setChecked(onlyChanged);
        fileDialogs.saveAnswers.push_back(path);
        window.cmdsave->click();
        return path;
    }
    void Recall(const std::string& path) {
        fileDialogs.openAnswers.push_back(path);
        Open().cmdRecall->click();
    }

    TrafficTimer timer{board};
    TimerWatchingDialogs dialogs{fileDialogs, timer};
};

TEST_F(SaveWindowTest, WindowAsTheUserSeesIt) {
    frmSave& window = Open();
    EXPECT_EQ(window.windowTitle(), "Save/Recall Settings");
    EXPECT_EQ(window.parentWidget()->size(), QSize(290, 392));  // 4350 x 5880 twips
    EXPECT_EQ(window.fraFileIO->title(), "File I/O");
    EXPECT_EQ(window.lblComment->text(), "Add Comment");
    EXPECT_EQ(window.chkNotDefaults->text(), "Only save registers that differ from their defaults ");
    EXPECT_FALSE(window.chkNotDefaults->isChecked());
    EXPECT_EQ(window.cmdsave->text(), "Save  Current Configuration");
    EXPECT_EQ(window.cmdRecall->text(), "Recall Previous Configuration");
    EXPECT_EQ(window.cmdClose->text(), "Close");
    // The long check box text wraps inside the window instead of being cut off.
    EXPECT_LE(window.chkNotDefaults->geometry().right(), window.fraFileIO->contentsRect().right());
    test::ExpectTidy(window, "save-recall");

    window.cmdClose->click();
    EXPECT_FALSE(IsOpen());
    ExpectTraffic({});
}

TEST_F(SaveWindowTest, SavedFileHoldsTheChipStateExactly) {
    clock.dateText = "2026-03-01";
    clock.timeText = "7:05:09 PM";
    Chip().Poke(0x0A, 0x05);
    Chip().Poke(0x45, 0x3C);
    Chip().Poke(0x7C, 0x00);
    Open().txtComment->setText("  Bench {A} run  ");
    const std::string path = SaveToFile("bench.sav");

    ASSERT_EQ(fileDialogs.saveRequests.size(), 1u);
    EXPECT_EQ(fileDialogs.saveRequests[0].initialDirectory, tempDir.path().toStdString());
    EXPECT_EQ(fileDialogs.saveRequests[0].filter, "Text Files (*.sav)|*.sav");
    EXPECT_EQ(fileDialogs.saveRequests[0].defaultExtension, "sav");

    const std::vector<std::string> lines = CrLfLines(test::ReadFileBytes(path));
    ASSERT_EQ(lines.size(), 130u);  // 9 header lines, 120 registers, "}"
    const std::vector<std::string> head = {
        "Tarnwell Silicon",
        "Kestrum Evaluation Software",
        "",
        "Saved: 2026-03-01 at 7:05:09 PM",
        "",
        "Comment : Bench {A} run",
        "",
        "Address\tData\tRegister",
        "{",
        "0x0\t0x20\t // Configuration 0",
        "0x1\t0x1\t // Configuration 1",
        "0x2\t0x80\t // Configuration 2",
        "0x3\t0x0\t // Configuration 3",
        "0x7\t0x0\t // Tach Enable",
        "0x8\t0xF\t // Tach Configuration",
        "0x9\t0x0\t // GPIO1_Bhvr",
        "0xA\t0x5\t // GPIO2_Bhvr",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + head.size()), head);
    const std::vector<std::string> tail = {
        "0xAD\t0x0\t // PWM 4 Value",
        "0x45\t0x3C\t // Pin 15 Low Limit",
        "0x47\t0x40\t // Pin 19 Low Limit",
        "0x49\t0x95\t // Pin 15 High Limit",
        "0x4B\t0x95\t // Pin 19 High Limit",
        "0x4C\t0xA4\t // 1.5V2 (ICH) High Limit",
        "0x78\t0xFF\t // VID",
        "0x7C\t0x0\t // +12V1 High Limit",
        "0x7D\t0xFF\t // +12V2 High Limit",
        "0x7E\t0xFF\t // +5V High Limit",
        "0x7F\t0xFF\t // +12V3 High Limit",
        "0x50\t0xA4\t // 1.5V1 (3GIO) High Limit",
        "}",
    };
    EXPECT_EQ(std::vector<std::string>(lines.end() - tail.size(), lines.end()), tail);
    EXPECT_EQ(lines[9 + 26], "0x21\t0x11\t // PWM1 Config");
    EXPECT_EQ(lines[9 + 47], "0x45\t0x3C\t // Remote 1 Low Limit");

    EXPECT_FALSE(IsOpen());  // a save that wrote its file closes the window
    EXPECT_TRUE(messages.shown.empty());
    ExpectChipTrafficOnlyWhileTimerOff();
    EXPECT_EQ(dialogs.timerRanDuringDialog, std::vector<bool>{true});
}

TEST_F(SaveWindowTest, DefaultsOnlyFileOfAnUntouchedChipHasNoRegisterLines) {
    const std::vector<std::string> lines = CrLfLines(test::ReadFileBytes(SaveToFile("d.sav", true)));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[8], "{");
    EXPECT_EQ(lines[9], "}");
}

TEST_F(SaveWindowTest, RoundTripRestoresEveryWritableRegisterInFileOrder) {
    // Manual PWM mode, so that the PWM values are the user's and stay put.
    for (uint8_t reg = 0x21; reg <= 0x24; ++reg) Chip().Poke(reg, static_cast<uint8_t>(0xE0 | reg));
    Chip().Poke(0xAB, 0x80);
    Chip().Poke(0x45, 0x00);
    const std::string path = SaveToFile("round.sav");
    ASSERT_FALSE(IsOpen());

    std::vector<Access> saved;
    for (const RegisterInfo& record : gRegisters)
        if (!record.ReadOnly)
            saved.push_back(W(record.Address, Chip().Peek(static_cast<uint8_t>(record.Address))));
    for (const Access& write : saved)
        Chip().Poke(static_cast<uint8_t>(write.reg), static_cast<uint8_t>(write.value ^ 0x5A));

    Restart();
    Recall(path);

    EXPECT_EQ(WritesOnly(Traffic()), saved);  // 0x45 among them twice, under both names
    for (const Access& write : saved)
        EXPECT_EQ(Chip().Peek(static_cast<uint8_t>(write.reg)), write.value) << write;
    EXPECT_EQ(fileDialogs.openRequests.at(0).initialDirectory, tempDir.path().toStdString());
    EXPECT_EQ(fileDialogs.openRequests.at(0).filter, "Text Files (*.sav)|*.sav");
    EXPECT_TRUE(IsOpen());  // a recall leaves the window open
    EXPECT_TRUE(messages.shown.empty());
    ExpectChipTrafficOnlyWhileTimerOff();
}

TEST_F(SaveWindowTest, CancelledSaveWritesNothingAndKeepsTheWindow) {
    Open().cmdsave->click();  // no answer scripted: cancelled
    SCOPED_TRACE("cancel");
    EXPECT_TRUE(IsOpen());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(QDir(tempDir.path()).entryList({"*.sav"}, QDir::Files).isEmpty());
    ExpectChipTrafficOnlyWhileTimerOff();
    EXPECT_EQ(dialogs.timerRanDuringDialog, std::vector<bool>{true});

    fileDialogs.saveAnswers.push_back(std::string());  // an empty name counts as a cancel
    Open().cmdsave->click();
    EXPECT_TRUE(IsOpen());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(timer.IsEnabled());
}

TEST_F(SaveWindowTest, UnwritableSaveSaysSoAndKeepsTheWindow) {
    std::vector<std::string> targets = {TempPath("no such folder/s.sav")};
    if (std::ifstream("/dev/full").good()) targets.push_back("/dev/full");  // a full disk
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        Restart();
        fileDialogs.saveAnswers.push_back(target);
        Open().cmdsave->click();

        EXPECT_TRUE(IsOpen());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find("could not be saved to \"" + target + "\""), std::string::npos);
        EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(messages.shown[0].caption, kAppTitle);
        ExpectChipTrafficOnlyWhileTimerOff();
    }
}

TEST_F(SaveWindowTest, CancelledRecallDoesNothing) {
    frmSave& window = Open();
    window.cmdRecall->click();
    fileDialogs.openAnswers.push_back(std::string());
    window.cmdRecall->click();
    ExpectTraffic({});
    EXPECT_TRUE(timer.switches.empty());
    EXPECT_TRUE(timer.IsEnabled());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(IsOpen());
}

TEST_F(SaveWindowTest, BrokenFilesRecallWhatTheyHoldAndSaySo) {
    struct Case {
        std::string name;
        std::string bytes;
        std::vector<Access> writes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"truncated.sav",
         "Comment : \r\n{\r\n0x4C\t0xA4\t // a\r\n0x1\t0x5\t // b\r\n0x2\t0x",
         {W(0x4C, 0xA4), W(0x01, 0x05)},
         "The file ended before its closing \"}\": 2 registers were written."},
        {"empty.sav",
         "",
         {},
         "The file has no opening \"{\", so it holds no register settings: no registers were written."},
        {"binary.sav",
         std::string("\x7f"
                     "ELF\x02\x01\x00\x00x\n",
                     10),
         {},
         "The file has no opening \"{\", so it holds no register settings: no registers were written."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        const std::string path = TempPath(c.name);
        std::ofstream(path, std::ios::binary) << c.bytes;
        Recall(path);

        EXPECT_EQ(WritesOnly(Traffic()), c.writes);
        ExpectOneProblem(c.message);
        EXPECT_TRUE(IsOpen());
        ExpectChipTrafficOnlyWhileTimerOff();
    }
    EXPECT_EQ(Chip().Peek(0x4C), 0xA4);
}

TEST_F(SaveWindowTest, RecallReadsOnlyRegularFilesAndSaysWhenItCannot) {
    const std::string fifo = TempPath("pipe.sav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zeros = TempPath("zeros.sav");  // would never end
    ASSERT_EQ(::symlink("/dev/zero", zeros.c_str()), 0);
    const std::string folder = TempPath("folder.sav");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    // A regular file whose reading fails at once: the first page of memory is never mapped.
    const std::string failing = TempPath("failing.sav");
    ASSERT_EQ(::symlink("/proc/self/mem", failing.c_str()), 0);
    const std::string gone = TempPath("gone.sav");  // vanished between the dialog and the reading

    for (const std::string& path : {fifo, zeros, folder, failing, gone}) {
        SCOPED_TRACE(path);
        Restart();
        // Opening a FIFO the ordinary way waits for a writer that never comes, and reading
        // /dev/zero never ends: the alarm ends such a test instead of letting it hang.
        ::alarm(5);
        Recall(path);
        ::alarm(0);

        ExpectOneProblem("The settings file \"" + path + "\" could not be read.");
        ExpectTraffic({});
        EXPECT_TRUE(timer.IsEnabled());
        EXPECT_TRUE(IsOpen());
    }
}

TEST_F(SaveWindowTest, FailedTransferDuringSaveOrRecallEndsTheProgram) {
    // The handlers are called, not the buttons clicked: under test the program's end is an
    // exception, and Qt's own frames are not built to pass one through.
    ExpectFailedTransferEnds([&] { Open().cmdsave_Click(); });  // the chip is read first
    EXPECT_TRUE(fileDialogs.saveRequests.empty());

    const std::string path = TempPath("recall.sav");
    std::ofstream(path, std::ios::binary) << "{\r\n0x4C\t0xA4\t // a\r\n}\r\n";
    messages.shown.clear();
    programEnd.exits.clear();
    SetWindowUnloader([this] { manager->UnloadAll(); });  // the first end took it
    fileDialogs.openAnswers.push_back(path);
    ExpectFailedTransferEnds([&] { Open().cmdRecall_Click(); });
}

}  // namespace
}  // namespace kestrum
