#pragma once
// Appending to the data log file: opened, written and closed within one call, so that no
// file stays open between the master timer's ticks.

#include <string>
#include <string_view>

namespace kestrum {

// Appends the text and a CR LF to the file in one write, creating the file when missing.
// Only a regular file is written; anything else (a FIFO, a device) fails at once, without
// waiting on another process. All or nothing: on any failure the file is left as it was
// (a file created here is removed again) and the result is false.
bool AppendLogLine(const std::string& path, std::string_view text);

}  // namespace kestrum
