#include "platform/Seams.h"

#include <cassert>
#include <iostream>
#include <utility>

namespace kestrum {

namespace {
Seams installed;
std::string programDirectory = ".";

template <typename T>
T& Required(T* seam) {
    assert(seam != nullptr && "seam used before InstallSeams");
    return *seam;
}
}  // namespace

void InstallSeams(const Seams& seams) { installed = seams; }
MessageBoxes& Messages() { return Required(installed.messages); }
FileDialogs& Dialogs() { return Required(installed.fileDialogs); }
Clock& SystemClock() { return Required(installed.clock); }
ProgramEnd& Ending() { return Required(installed.programEnd); }
Shell& DesktopShell() { return Required(installed.shell); }
std::ostream& Diagnostics() { return installed.diagnostics != nullptr ? *installed.diagnostics : std::cerr; }

const std::string& ProgramDirectory() { return programDirectory; }
void SetProgramDirectory(std::string directory) { programDirectory = std::move(directory); }

}  // namespace kestrum
