#pragma once
// The fixture every test starts from: power-on shared state, scripted seams, a simulated
// board with its firmware loaded and the chip at 0x5C selected on the adapter link, and
// settings in a temporary folder.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>
#include <string>
#include <vector>

#include "sim/SimulatedBoard.h"
#include "support/ScriptedSeams.h"
#include "support/Traffic.h"

namespace kestrum::test {

class KestrumTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    sim::SimulatedChip& Chip() { return *board.AdapterChip(sim::SimulatedBoard::kDefaultChipAddress); }
    // Pin Config 1-4 (0x10-0x13) forced to these values and decoded, as start-up decodes them.
    void DecodePinConfig(uint8_t config1, uint8_t config2, uint8_t config3, uint8_t config4);
    // A folder holding a copy of the shipped firmware file, set as the program directory.
    std::string ProgramDirWithFirmware();
    std::string TempPath(const std::string& name) const;
    // Exactly one critical OK box with this text under the application title, then an end
    // of the program with a non-zero status.
    void ExpectFatalEnd(const std::string& text) const;

    // Recording of the board's traffic from now on, and what it recorded, decoded.
    void StartRecording();
    std::vector<Access> Traffic() const;
    void ExpectTraffic(const std::vector<Access>& expected) const;

    sim::SimulatedBoard board;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs fileDialogs;
    ScriptedClock clock;
    ScriptedProgramEnd programEnd;
    ScriptedShell shell;
    std::ostringstream diagnostics;  // what the program would write to standard error
    QTemporaryDir tempDir;
};

}  // namespace kestrum::test
