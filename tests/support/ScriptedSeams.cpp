#include "support/ScriptedSeams.h"

#include <algorithm>
#include <cmath>

namespace kestrum::test {

MsgAnswer ScriptedMessageBoxes::Show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                                     const std::string& caption, const std::string& details) {
    shown.push_back({text, buttons, icon, caption, details});
    if (onShow) onShow(shown.back());
    if (!answers.empty()) {
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
}

namespace {
std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

std::optional<std::string> ScriptedFileDialogs::SaveFile(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    return Next(saveAnswers);
}

std::optional<std::string> ScriptedFileDialogs::OpenFile(const FileDialogRequest& request) {
    openRequests.push_back(request);
    return Next(openAnswers);
}

float ScriptedClock::SecondsSinceMidnight() {
    const auto reading = static_cast<float>(now_);
    ++readings;
    Advance(step);
    return reading;
}

void ScriptedClock::Nap(float ms) {
    ++naps;
    longestNapMs = std::max(longestNapMs, ms);
    Advance(napsTakeTheirLength ? ms / 1000.0 : kNap);
}

void ScriptedClock::SetTime(double secondsSinceMidnight) { now_ = std::fmod(secondsSinceMidnight, kDay); }

void ScriptedClock::Advance(double seconds) {
    elapsed_ += seconds;
    now_ = std::fmod(now_ + seconds, kDay);
}

void ScriptedProgramEnd::Exit(int status) {
    exits.push_back(status);
    throw ProgramEnded{status};
}

}  // namespace kestrum::test
