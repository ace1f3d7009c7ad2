#include "platform/Seams.h"

#include <cassert>
#include <iostream>
#include <streambuf>
#include <utility>

namespace kestrum {

namespace {
Seams installed;
std::string programDirectory = ".";

std::ostream& DiagnosticsTarget() {
    return installed.diagnostics != nullptr ? *installed.diagnostics : std::cerr;
}

// Passes what is said on to the installed stream at once and keeps a copy of it.
class KeepingBuffer final : public std::streambuf {
public:
    std::string said;

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        said.append(text, static_cast<std::size_t>(count));
        DiagnosticsTarget().write(text, count);
        return count;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        xsputn(&byte, 1);
        return c;
    }
    int sync() override {
        DiagnosticsTarget().flush();
        return 0;
    }
};

KeepingBuffer keeping;
std::ostream diagnostics(&keeping);

template <typename T>
T& Required(T* seam) {
    assert(seam != nullptr && "seam used before InstallSeams");
    return *seam;
}
}  // namespace

void InstallSeams(const Seams& seams) {
    installed = seams;
    keeping.said.clear();
}
MessageBoxes& Messages() { return Required(installed.messages); }
FileDialogs& Dialogs() { return Required(installed.fileDialogs); }
Clock& SystemClock() { return Required(installed.clock); }
ProgramEnd& Ending() { return Required(installed.programEnd); }
Shell& DesktopShell() { return Required(installed.shell); }
std::ostream& Diagnostics() { return diagnostics; }
const std::string& DiagnosticsSaid() { return keeping.said; }

const std::string& ProgramDirectory() { return programDirectory; }
void SetProgramDirectory(std::string directory) { programDirectory = std::move(directory); }

}  // namespace kestrum
