#include "core/Scheduler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "core/Declarations.h"
#include "core/General.h"
#include "core/Measurement.h"
#include "core/USBStuff.h"
#include "support/FileText.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using test::KestrumTest;
using test::ReadFileBytes;
namespace fs = std::filesystem;

// Whether this process holds the file open.
bool HeldOpen(const std::string& path) {
    const fs::path target = fs::weakly_canonical(path);
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error) == target) return true;
    }
    return false;
}

class SchedulerTest : public KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InitDefaults();
        clock.SetTime(100.0);
        SetStatusTextSink([this](const std::string& text) { statusTexts.push_back(text); });
    }

    // Ticks as the master timer does, 50 ms apart.
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            RunMasterTick();
            clock.Advance(0.05);
        }
    }
    void TickAt(double secondsSinceMidnight) {
        clock.SetTime(secondsSinceMidnight);
        RunMasterTick();
    }
    // The groups read since recording was last cleared, by their first block read.
    std::vector<int> GroupsRead() const {
        static const std::map<int32_t, int> kFirstRead = {{0x88, 1}, {0x98, 2}, {0xAA, 3},
                                                          {0x8B, 4}, {0xAE, 5}, {0x5A, 6}};
        std::vector<int> groups;
        for (const test::Access& a : Traffic())
            if (a.kind == test::AccessKind::Block && kFirstRead.count(a.reg))
                groups.push_back(kFirstRead.at(a.reg));
        return groups;
    }
    std::vector<int32_t> WritesTo(int32_t reg) const {
        std::vector<int32_t> values;
        for (const test::Access& a : test::WritesOnly(Traffic()))
            if (a.reg == reg) values.push_back(a.value);
        return values;
    }
    void StartLogging(const std::string& path) {
        gLogFileName = path;
        gLogLineCount = 0;
        gLoggingOn = true;
    }

    std::vector<std::string> statusTexts;
};

TEST_F(SchedulerTest, OneGroupEveryTenthOfASecondInOrder) {
    board.SetRecording(true);
    std::vector<std::vector<int>> perTick;
    for (int i = 0; i < 26; ++i) {
        board.ClearRecording();
        Ticks(1);
        perTick.push_back(GroupsRead());
    }
    // Read on the first tick after 0.1 s have passed since the previous read ended.
    for (int i = 0; i < 26; ++i) {
        const std::vector<int> expected = i % 2 == 0 ? std::vector<int>{(i / 2) % 6 + 1} : std::vector<int>{};
        EXPECT_EQ(perTick[i], expected) << "tick " << i;
    }
}

TEST_F(SchedulerTest, AReadingEqualToLastRunPlusPeriodIsNotDue) {
    clock.step = 0.0;
    gMeasurePeriodMs = 110;
    board.SetRecording(true);
    TickAt(100.0);
    ASSERT_EQ(GroupsRead(), std::vector<int>{1});

    // Compared as singles: 100.11 rounds up to a single just above the double sum.
    const float dueAt = static_cast<float>(100.0 + 0.11);
    ASSERT_GT(static_cast<double>(dueAt), 100.0 + 0.11);
    TickAt(dueAt);
    EXPECT_EQ(GroupsRead(), std::vector<int>{1});
    TickAt(std::nextafter(dueAt, 200.0f));
    EXPECT_EQ(GroupsRead(), (std::vector<int>{1, 2}));
}

TEST_F(SchedulerTest, ThePeriodCountsFromTheEndOfTheRun) {
    clock.step = 0.0;
    gMeasureEnabled = false;
    gGraphFormOpen = true;
    int runs = 0;
    SetTaskAction(WindowTask::Graphs, [&] {
        ++runs;
        clock.Advance(0.3);  // a slow redraw
    });
    TickAt(100.0);
    EXPECT_EQ(runs, 1);
    TickAt(100.32);
    EXPECT_EQ(runs, 1) << "0.05 s have not passed since the redraw ended at 100.3";
    TickAt(100.36);
    EXPECT_EQ(runs, 2);
}

TEST_F(SchedulerTest, WindowTasksRunAtTheirPeriodsOnlyWhileTheirWindowIsLoaded) {
    struct Case {
        WindowTask task;
        bool* flag;
        double period;
    };
    gGraphPeriodMs = 200;
    const Case cases[] = {
        {WindowTask::Graphs, &gGraphFormOpen, 0.2},
        {WindowTask::Limits, &gLimitsFormOpen, 0.5},
        {WindowTask::AutoControl, &gAutoGraphFormOpen, 0.3},
        {WindowTask::DynamicTmin, &gDynTminFormOpen, 0.1},
        {WindowTask::Gpio, &gGPIOFormOpen, 0.5},
    };
    clock.step = 0.0;
    gMeasureEnabled = false;
    double t = 1000.0;
    for (const Case& c : cases) {
        int runs = 0;
        SetTaskAction(c.task, [&] { ++runs; });
        TickAt(t);
        EXPECT_EQ(runs, 0) << "window not loaded";
        *c.flag = true;
        TickAt(t);
        TickAt(t + c.period - 0.01);
        EXPECT_EQ(runs, 1) << c.period;
        TickAt(t + c.period + 0.01);
        EXPECT_EQ(runs, 2) << c.period;
        *c.flag = false;
        TickAt(t + 10.0);
        EXPECT_EQ(runs, 2);
        t += 100.0;
    }
}

TEST_F(SchedulerTest, AWindowTaskRunOnRequestLeavesItsTimerPeriodAlone) {
    RunWindowTask(WindowTask::Gpio);  // no GPIO window has installed its action: nothing to run
    clock.step = 0.0;
    gMeasureEnabled = false;
    gGPIOFormOpen = true;
    int runs = 0;
    {
        const TaskAttachment gpio = TaskAttachment::Window(WindowTask::Gpio, [&] { ++runs; });
        TickAt(500.0);
        ASSERT_EQ(runs, 1);
        clock.Advance(0.1);
        RunWindowTask(WindowTask::Gpio);
        EXPECT_EQ(runs, 2) << "runs at once, not when due";
        TickAt(500.51);
        EXPECT_EQ(runs, 3) << "the timer's period still counts from its own last run";
    }
    RunWindowTask(WindowTask::Gpio);
    EXPECT_EQ(runs, 3) << "the closed window's action is gone";
}

TEST_F(SchedulerTest, TheRegisterMapIsReadOnlyWhileContinuousReadIsTicked) {
    clock.step = 0.0;
    gRegMapFormOpen = true;
    bool ticked = false;
    int asked = 0;
    int reads = 0;
    SetContinuousReadCheck([&] {
        ++asked;
        return ticked;
    });
    SetTaskAction(WindowTask::RegisterMap, [&] { ++reads; });
    for (int i = 0; i < 30; ++i) TickAt(100.0 + 0.05 * i);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(asked, 30) << "the box is read on every tick";

    ticked = true;
    TickAt(101.5);
    EXPECT_EQ(reads, 1) << "more than 1 s since its last run (never)";
    TickAt(102.4);
    EXPECT_EQ(reads, 1);
    TickAt(102.6);
    EXPECT_EQ(reads, 2);
    ticked = false;
    TickAt(104.0);
    EXPECT_EQ(reads, 2);
}

TEST_F(SchedulerTest, AHeldManualSliderStopsOnlyTheSliderUpdate) {
    clock.step = 0.0;
    gManualControlFormOpen = true;
    gManualSliderHeld = true;
    std::vector<std::string> calls;
    SetManualControlActions([&] { calls.push_back("status"); }, [&] { calls.push_back("sliders"); });
    TickAt(100.0);
    TickAt(100.9);
    EXPECT_EQ(calls, std::vector<std::string>{"status"});
    TickAt(101.1);
    EXPECT_EQ(calls, (std::vector<std::string>{"status", "status"}));
    gManualSliderHeld = false;
    TickAt(102.2);
    EXPECT_EQ(calls, (std::vector<std::string>{"status", "status", "status", "sliders"}));
}

TEST_F(SchedulerTest, HeaterLabelsShowTheTemperaturesInTheirShortestForm) {
    Chip().Poke(0x8A, 0x40);
    Chip().Poke(0x8B, 0x59);  // Remote 1 25.25
    Chip().Poke(0x8C, 0x80);
    Chip().Poke(0x8D, 0x5E);  // Remote 2 30.5
    gHeatersFormOpen = true;
    std::vector<std::string> shown;
    SetHeaterLabelSink([&](const std::string& remote1, const std::string& remote2) {
        shown.push_back(remote1);
        shown.push_back(remote2);
    });
    Ticks(1);  // group 1 is read first, in the same tick
    EXPECT_EQ(shown, (std::vector<std::string>{"Remote1 = 25.25\u00B0C", "Remote2 = 30.5\u00B0C"}));

    std::string text = "something longer than the label";
    FormatTemperatureLabel(text, "Remote2", -64.0f);
    EXPECT_EQ(text, "Remote2 = -64\u00B0C");
    FormatTemperatureLabel(text, "Remote1", 191.75f);
    EXPECT_EQ(text, "Remote1 = 191.75\u00B0C");
}

TEST_F(SchedulerTest, EveryEnabledTaskRunsAtItsFirstCheckAfterMidnight) {
    std::map<std::string, int> runs;
    auto count = [&](const char* name) { return [&runs, name] { ++runs[name]; }; };
    gGraphFormOpen = gRegMapFormOpen = gHeatersFormOpen = gLimitsFormOpen = true;
    gManualControlFormOpen = gAutoGraphFormOpen = gDynTminFormOpen = gGPIOFormOpen = true;
    SetTaskAction(WindowTask::Graphs, count("graphs"));
    SetTaskAction(WindowTask::RegisterMap, count("regmap"));
    SetTaskAction(WindowTask::Limits, count("limits"));
    SetTaskAction(WindowTask::AutoControl, count("auto"));
    SetTaskAction(WindowTask::DynamicTmin, count("dyntmin"));
    SetTaskAction(WindowTask::Gpio, count("gpio"));
    SetContinuousReadCheck([] { return true; });
    SetHeaterLabelSink([&](const std::string&, const std::string&) { ++runs["heaters"]; });
    SetManualControlActions(count("manual"), count("sliders"));
    StartLogging(TempPath("wrap.csv"));
    board.SetRecording(true);

    TickAt(86399.9);
    const std::map<std::string, int> once = {{"graphs", 1}, {"regmap", 1},  {"heaters", 1},
                                             {"limits", 1}, {"manual", 1},  {"sliders", 1},
                                             {"auto", 1},   {"dyntmin", 1}, {"gpio", 1}};
    EXPECT_EQ(runs, once);
    EXPECT_EQ(gLogLineCount, 1);
    TickAt(86399.95);
    EXPECT_EQ(runs["regmap"], 1);
    EXPECT_EQ(runs["limits"], 1);

    TickAt(0.01);
    for (const auto& [name, n] : runs) EXPECT_GE(n, 2) << name;
    EXPECT_EQ(gLogLineCount, 2);
    EXPECT_EQ(GroupsRead(), (std::vector<int>{1, 2}));
}

TEST_F(SchedulerTest, TheDemonstrationShiftsRemote2AndPulsesItsThermLimitOnce) {
    Chip().Poke(0x8C, 0x00);
    Chip().Poke(0x8D, 64 + 34);  // Remote 2 at 34, shown as 49
    Chip().Poke(0x5B, 0x95);     // operating point 85
    Chip().Poke(0x5E, 0x68);     // Tmin 40
    Chip().Poke(0x46, 0x5F);     // low limit 31
    Chip().Poke(0x4A, 0x6D);     // high limit 45
    Chip().Poke(0x5D, 0x50);     // Remote 1 Tmin 16, never shifted
    gDemoRunning = true;
    board.SetRecording(true);
    auto measurementTicks = [&](int n) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(0.2);
            RunMasterTick();
        }
    };

    measurementTicks(1);
    EXPECT_EQ(gTemperature[2], 49.0f);
    EXPECT_EQ(gLogChannel[2].Value, 34.0f);
    measurementTicks(5);
    EXPECT_EQ(gTmin[2], 55);
    EXPECT_EQ(gOpPoint[2], 100);
    EXPECT_EQ(gTempLowLimit[2], 46);
    EXPECT_EQ(gTempHighLimit[2], 60);
    EXPECT_EQ(gTmin[1], 16);
    EXPECT_EQ(gLogChannel[41].Value, 40.0f);
    EXPECT_EQ(gLogChannel[44].Value, 85.0f);
    EXPECT_TRUE(WritesTo(0x52).empty()) << "49 is below 50";

    Chip().Poke(0x8D, 64 + 35);  // shown as 50
    measurementTicks(5);
    EXPECT_TRUE(WritesTo(0x52).empty());
    const double before = clock.Now();
    measurementTicks(1);  // group 6
    EXPECT_EQ(WritesTo(0x52), (std::vector<int32_t>{0x40, 0x9A}));
    EXPECT_GE(clock.Now() - before, 0.2 + 0.5) << "half a second between the two writes";
    EXPECT_EQ(Chip().Peek(0x52), 0x9A);
    EXPECT_TRUE(gDemoThermDone);

    gDemoRunning = false;
    measurementTicks(6);
    gDemoRunning = true;
    measurementTicks(12);
    EXPECT_EQ(WritesTo(0x52).size(), 2u) << "once per program run";
    EXPECT_EQ(GroupsRead().size(), 30u);
}

TEST_F(SchedulerTest, EachLogTickAppendsOneLineAndClosesTheFile) {
    const std::string path = TempPath("log.csv");
    std::ofstream(path, std::ios::binary)
        << "\r\nKestrum Log File\r\n\r\nTime ,Local Temp ,Tach1 ,Tach2 ,\r\n";
    clock.step = 0.0;
    gMeasureEnabled = false;
    gLogChannel[0] = {25.25f, 1.0f, 1.0f};
    gLogChannel[1] = {7.0f, 1.0f, 0.0f};
    gLogChannel[4] = {2450.0f, 1.0f, 1.0f};
    gLogChannel[5] = {3.0f, 0.0f, 1.0f};  // no longer available, keeps its column
    StartLogging(path);

    for (const double t : {100.0, 100.05, 100.11, 100.22}) {
        TickAt(t);
        EXPECT_FALSE(HeldOpen(path));
    }
    EXPECT_EQ(gLogLineCount, 3);
    EXPECT_EQ(ReadFileBytes(path),
              "\r\nKestrum Log File\r\n\r\nTime ,Local Temp ,Tach1 ,Tach2 ,\r\n"
              "0,25.25 ,2450 ,3 ,\r\n0.1,25.25 ,2450 ,3 ,\r\n0.2,25.25 ,2450 ,3 ,\r\n");

    // The line count stops at its largest value instead of overflowing.
    gLogLineCount = std::numeric_limits<int32_t>::max();
    gLogIntervalMs = 1000;
    TickAt(200.0);
    EXPECT_EQ(gLogLineCount, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(ReadFileBytes(path).ends_with("\r\n2147483647,25.25 ,2450 ,3 ,\r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SchedulerTest, TheLogTimeIsNominalAndCountsPast32BitsOfMilliseconds) {
    gLogLineCount = 3;
    gLogIntervalMs = 100;
    EXPECT_EQ(BuildLogLine(), "0.3,");
    gLogChannel[4] = {2450.0f, 1.0f, 1.0f};
    gLogChannel[6] = {1.23f, 1.0f, 0.5f};  // only exactly 1.0 counts as selected
    gLogChannel[39] = {-64.0f, 0.0f, 1.0f};
    EXPECT_EQ(BuildLogLine(), "0.3,2450 ,-64 ,");

    gLogLineCount = 0;
    EXPECT_EQ(BuildLogLine(), "0,2450 ,-64 ,");
    gLogLineCount = 21474837;  // 2147483700 ms
    EXPECT_EQ(BuildLogLine(), "2147483.7,2450 ,-64 ,");
    gLogLineCount = std::numeric_limits<int32_t>::max();
    gLogIntervalMs = 1000;
    EXPECT_EQ(BuildLogLine(), "2147483647,2450 ,-64 ,");
    gLogLineCount = 3;
    gLogIntervalMs = -250;
    EXPECT_EQ(BuildLogLine(), "-0.75,2450 ,-64 ,");
}

TEST_F(SchedulerTest, AnUnwritableLogFileStopsLoggingWithOneMessage) {
    const std::string path = TempPath("removed-folder/log.csv");
    StartLogging(path);
    board.SetRecording(true);
    Ticks(20);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Logging stopped: cannot write to the log file " + path);
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
    EXPECT_EQ(messages.shown[0].caption, "Kestrum Evaluation Software");
    EXPECT_FALSE(gLoggingOn);
    EXPECT_EQ(statusTexts, std::vector<std::string>{"Ready"});
    EXPECT_EQ(gLogLineCount, 0);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(GroupsRead().size(), 10u) << "measurement goes on";

    // A device is no log file: /dev/full is refused before any line could fail on it.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    StartLogging("/dev/full");
    Ticks(4);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_FALSE(gLoggingOn);
    EXPECT_EQ(gLogLineCount, 0);
}

TEST_F(SchedulerTest, ATickDoesNotStartWhileOneIsRunningAndRecoversFromAnEndedOne) {
    StartLogging(TempPath("nested.csv"));
    gGraphFormOpen = true;
    int depth = 0;
    SetTaskAction(WindowTask::Graphs, [&] {
        if (depth++ == 0) RunMasterTick();  // as from a nested event loop
    });
    Ticks(1);
    EXPECT_EQ(depth, 1) << "the nested tick ran nothing";
    EXPECT_EQ(gLogLineCount, 1);
    EXPECT_EQ(ReadFileBytes(TempPath("nested.csv")), "0,\r\n");

    // A failed transfer ends the program from inside a tick; under test the tick unwinds.
    gGraphFormOpen = false;
    gLoggingOn = false;
    board.SetRecording(true);
    board.FailTransfer(1);
    clock.Advance(1.0);
    EXPECT_THROW(RunMasterTick(), ProgramEnded);
    EXPECT_EQ(messages.shown.back().text, "Communications Interrupted - Check USB connections");
    board.ClearRecording();
    clock.Advance(1.0);
    RunMasterTick();
    EXPECT_EQ(GroupsRead().size(), 1u);
}

}  // namespace
}  // namespace kestrum
