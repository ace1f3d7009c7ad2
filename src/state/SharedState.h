#pragma once
// Every module that holds shared state offers one reset function; this calls them all, so
// that a test (or a fresh start) begins from the program's power-on state. A module added
// later adds its reset here.

namespace kestrum {

void ResetAllSharedState();

}  // namespace kestrum
