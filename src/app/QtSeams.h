#pragma once
// The program's implementations of the seams, on Qt.

#include <QDate>
#include <QFontMetrics>
#include <QString>
#include <QTime>

#include "platform/Seams.h"
#include "platform/TimeOfDay.h"

namespace kestrum {

class QtMessageBoxes final : public MessageBoxes {
public:
    MsgAnswer Show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& caption,
                   const std::string& details) override;
};

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
};

class QtClock final : public Clock {
public:
    float SecondsSinceMidnight() override { return timeOfDay_.SecondsSinceMidnight(); }
    void Nap(float ms) override;
    std::string DateText() override;
    std::string TimeText() override;

private:
    SystemTimeSource source_;
    TimeOfDay timeOfDay_{source_};
};

class QtProgramEnd final : public ProgramEnd {
public:
    [[noreturn]] void Exit(int status) override;
};

class QtShell final : public Shell {
public:
    void Open(const std::string& address) override;
};

// The texts QtClock gives for a date and a time of day.
QString DateTextOf(QDate date);
QString TimeTextOf(QTime time);
// The widest those texts can be in this font: of any month, weekday and hour, each digit
// the widest one. A panel that shows the date or time keeps the size of this text.
QString WidestDateText(const QFontMetrics& metrics);
QString WidestTimeText(const QFontMetrics& metrics);

// "Text Files (*.sav)|*.sav" becomes the Qt name filter "Text Files (*.sav)".
std::string QtNameFilter(const std::string& filter);

}  // namespace kestrum
