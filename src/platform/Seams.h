#pragma once
// Every call that would block a test or end the process goes through one of these small
// interfaces: the program installs the Qt implementations, tests install scripted ones.
// What the model tells the user on standard error goes to a stream tests can capture.

#include <iosfwd>
#include <optional>
#include <string>

namespace kestrum {

enum class MsgButtons { OK, YesNo };
enum class MsgIcon { None, Critical, Exclamation, Information };
enum class MsgAnswer { OK, Yes, No };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // `details`, when not empty, is shown on the user's request below the text.
    virtual MsgAnswer Show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                           const std::string& caption, const std::string& details = {}) = 0;
};

struct FileDialogRequest {
    std::string initialDirectory;
    std::string filter;            // "Text Files (*.sav)|*.sav"
    std::string defaultExtension;  // added to a save name that has none, e.g. "sav"
    // False where a save only appends to the chosen file (the data log): no question
    // about replacing it.
    bool confirmOverwrite = true;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight; wraps to 0 at midnight.
    virtual float SecondsSinceMidnight() = 0;
    // Sleeps about `ms` milliseconds (a short time), so that a wait on the clock leaves the
    // processor free.
    virtual void Nap(float ms) = 0;
    // The current date and time of day as text in the system's formats.
    virtual std::string DateText() = 0;
    virtual std::string TimeText() = 0;
};

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Ends the process (under test: throws ProgramEnded). Never returns.
    [[noreturn]] virtual void Exit(int status) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual void Open(const std::string& address) = 0;
};

// Thrown by the test implementation of ProgramEnd.
struct ProgramEnded {
    int status;
};

struct Seams {
    MessageBoxes* messages = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Clock* clock = nullptr;
    ProgramEnd* programEnd = nullptr;
    Shell* shell = nullptr;
    std::ostream* diagnostics = nullptr;  // nullptr: standard error
};

void InstallSeams(const Seams& seams);
MessageBoxes& Messages();
FileDialogs& Dialogs();
Clock& SystemClock();
ProgramEnd& Ending();
Shell& DesktopShell();
// Where the model says why a link could not be had, for the user who started the program.
std::ostream& Diagnostics();
// All that was said there since the seams were installed, for a message box to repeat.
const std::string& DiagnosticsSaid();

// The directory the program was started from (firmware file, file dialogs).
const std::string& ProgramDirectory();
void SetProgramDirectory(std::string directory);

}  // namespace kestrum
