#pragma once
// Where the program's file dialogs start.

#include <string>

namespace kestrum {

// The program's directory when the user may write there (a copy run from its own folder),
// otherwise the user's documents folder, or the home folder when there is none: an
// installed program's folder is not the user's to write to.
std::string DefaultFileFolder();

}  // namespace kestrum
