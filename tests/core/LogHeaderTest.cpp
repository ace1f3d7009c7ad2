// The log file's block head: the header names the selected channels as acquisition names
// what they carry, and a block is written whole or not at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "support/FileText.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

class LogHeaderTest : public test::KestrumTest {};

TEST_F(LogHeaderTest, TheHeaderNamesTheSelectedChannelsInColumnOrder) {
    EXPECT_EQ(BuildLogHeader(), "Time ,");
    gLogChannel[44].Selected = 1.0f;
    gLogChannel[0].Selected = 1.0f;
    gLogChannel[12].Selected = 1.0f;
    gLogChannel[13].Selected = 0.5f;  // only exactly 1.0 is selected, as for the data lines
    EXPECT_EQ(BuildLogHeader(), "Time ,Local Temp ,PWM1% ,Remote2 Op-Point ,");

    // One column per value a data line carries.
    for (LogChannel& channel : gLogChannel) channel.Selected = 1.0f;
    const std::string header = BuildLogHeader();
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), kLogChannelCount + 1);
    const std::string line = BuildLogLine();
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), kLogChannelCount + 1);
}

TEST_F(LogHeaderTest, TheVoltageColumnsCarryTheChannelsAcquisitionNamesAlike) {
    InitVoltageNames();
    // The two 1.5 V inputs: the column of voltage channel 21 is named as that channel.
    EXPECT_EQ(kLogChannelCaption[kLogVoltageFirst + 21], gVoltageName[21]);
    EXPECT_EQ(kLogChannelCaption[kLogVoltageFirst + 22], gVoltageName[22]);
    EXPECT_EQ(kLogChannelCaption[kLogVoltageFirst + 20], gVoltageName[20]);
}

TEST_F(LogHeaderTest, ABlockHeadIsAppendedWholeOrNotAtAll) {
    gLogChannel[4].Selected = 1.0f;
    const std::string path = TempPath("head.csv");
    ASSERT_TRUE(AppendLogBlockHead(path));
    ASSERT_TRUE(AppendLogBlockHead(path));
    const std::string block = "\r\nKestrum Log File\r\n\r\nTime ,Tach1 ,\r\n";
    EXPECT_EQ(test::ReadFileBytes(path), block + block);
    EXPECT_FALSE(AppendLogBlockHead(TempPath("missing/head.csv")));
}

TEST_F(LogHeaderTest, StartingAndStoppingSayWhatTheyDoInTheStatusBar) {
    std::vector<std::string> shown;
    SetStatusTextSink([&](const std::string& text) { shown.push_back(text); });
    gLogLineCount = 17;
    StartLogging(250);
    EXPECT_TRUE(gLoggingOn);
    EXPECT_EQ(gLogIntervalMs, 250);
    EXPECT_EQ(gLogLineCount, 0);
    StopLogging();
    EXPECT_FALSE(gLoggingOn);
    EXPECT_EQ(shown, (std::vector<std::string>{"Logging Enabled", "Ready"}));
}

}  // namespace
}  // namespace kestrum
