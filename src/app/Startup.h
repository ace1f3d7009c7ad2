#pragma once

namespace kestrum {

// The program's start-up sequence. Returns true when start-up is complete and the
// program lives on in the event loop; it may instead end the program inside.
bool Main();

}  // namespace kestrum
