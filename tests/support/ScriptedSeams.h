#pragma once
// Scripted implementations of the seams: they record what the program asked and answer
// from a script, so that no test blocks on a dialog or ends the process.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Seams.h"

namespace kestrum::test {

struct ShownMessage {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string caption;
    std::string details;
};

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    // Answers in order; when none is left, OK or Yes.
    std::deque<MsgAnswer> answers;
    std::vector<ShownMessage> shown;
    std::function<void(const ShownMessage&)> onShow;  // runs while the box would be up

    MsgAnswer Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption,
                   const std::string& details) override;
};

class ScriptedFileDialogs final : public FileDialogs {
public:
    // Paths to answer in order; nothing (or an empty script) means cancelled.
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<FileDialogRequest> openRequests;

    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
};

// Starts at 10:00:00 and advances `step` seconds on every read, so waits on it end; a nap
// advances it a millisecond at once, or the length asked when napsTakeTheirLength.
class ScriptedClock final : public Clock {
public:
    static constexpr double kDay = 86400.0;
    static constexpr double kNap = 0.001;

    double step = 0.001;
    int readings = 0;
    int naps = 0;
    bool napsTakeTheirLength = false;
    float longestNapMs = 0.0f;
    std::string dateText = "09/12/2026";
    std::string timeText = "10:00:00";

    float SecondsSinceMidnight() override;
    void Nap(float ms) override;
    std::string DateText() override { return dateText; }
    std::string TimeText() override { return timeText; }

    void SetTime(double secondsSinceMidnight);
    void Advance(double seconds);
    double Now() const { return now_; }          // seconds since midnight
    double Elapsed() const { return elapsed_; }  // monotonic, for the simulated board

private:
    double now_ = 36000.0;
    double elapsed_ = 0.0;
};

class ScriptedProgramEnd final : public ProgramEnd {
public:
    std::vector<int> exits;
    [[noreturn]] void Exit(int status) override;
};

class ScriptedShell final : public Shell {
public:
    std::vector<std::string> opened;
    void Open(const std::string& address) override { opened.push_back(address); }
};

}  // namespace kestrum::test
