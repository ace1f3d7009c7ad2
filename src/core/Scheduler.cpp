#include "core/Scheduler.h"

#include <array>
#include <limits>
#include <utility>

#include "core/Channels.h"
#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/LogFile.h"
#include "core/Measurement.h"
#include "core/USBStuff.h"
#include "platform/Seams.h"

namespace kestrum {

namespace {

constexpr int16_t kGroupCount = 6;

// The dynamic Tmin demonstration shows Remote 2 this much hotter, and once pulses its
// THERM2 limit down to 0 degrees and back when the shown reading reaches 50.
constexpr int16_t kDemoOffset = 15;
constexpr float kDemoPulseTemperature = 50.0f;
constexpr int32_t kDemoPulseLow = 0x40;
constexpr float kDemoPulseMs = 500.0f;

constexpr size_t kWindowTaskCount = static_cast<size_t>(WindowTask::Gpio) + 1;
std::array<std::function<void()>, kWindowTaskCount> windowActions;
std::function<bool()> continuousReadTicked;
HeaterLabelSink heaterLabelSink;
std::function<void()> manualStatusUpdate;
std::function<void()> manualSliderUpdate;
std::function<void()> loggingStoppedSink;

// One token per slot: the window tasks, then heater labels, manual control and the
// logging-stopped sink. Every change of a slot gives it a new token, so a stale attachment
// cannot empty it.
constexpr int kHeaterSlot = static_cast<int>(kWindowTaskCount);
constexpr int kManualSlot = kHeaterSlot + 1;
constexpr int kLoggingStoppedSlot = kManualSlot + 1;
std::array<uint64_t, kWindowTaskCount + 3> slotTokens{};
uint64_t nextToken = 0;

void Renew(int slot) { slotTokens[slot] = ++nextToken; }

int16_t measurementStep = 0;
bool tickRunning = false;
std::array<std::string, 2> heaterLabels;
std::string logLine;

void Run(const std::function<void()>& action) {
    if (action) action();
}

void PulseDemoThermLimit() {
    WriteRegister(gDeviceAddress, kDemoTherm2LimitRegister, int32_t{kDemoPulseLow});
    Delay(kDemoPulseMs);
    WriteRegister(gDeviceAddress, kDemoTherm2LimitRegister, int32_t{kDemoTherm2Limit});
    gDemoThermDone = true;
}

// The log channels keep the unshifted values acquisition copied.
void ApplyDemoOffsets(int16_t group) {
    if (group == 1) gTemperature[2] += kDemoOffset;
    if (group != kGroupCount) return;
    for (int16_t* value : {&gTmin[2], &gOpPoint[2], &gTempLowLimit[2], &gTempHighLimit[2]})
        *value = static_cast<int16_t>(*value + kDemoOffset);
    if (!gDemoThermDone && gTemperature[2] >= kDemoPulseTemperature) PulseDemoThermLimit();
}

void RunMeasurement() {
    const auto group = static_cast<int16_t>(measurementStep + 1);
    ReadMeasurementGroup(group);
    measurementStep = static_cast<int16_t>(group % kGroupCount);
    if (gDemoRunning) ApplyDemoOffsets(group);
}

void RunHeaterLabels() {
    FormatTemperatureLabel(heaterLabels[0], TempChannelName(TempChannel::Remote1), gTemperature[1]);
    FormatTemperatureLabel(heaterLabels[1], TempChannelName(TempChannel::Remote2), gTemperature[2]);
    if (heaterLabelSink) heaterLabelSink(heaterLabels[0], heaterLabels[1]);
}

void RunManualControl() {
    Run(manualStatusUpdate);
    if (!gManualSliderHeld) Run(manualSliderUpdate);
}

// A log file that cannot be written stops logging instead of failing on every tick.
void StopLoggingAfterWriteFailure() {
    StopLogging();
    Run(loggingStoppedSink);
    Messages().Show("Logging stopped: cannot write to the log file " + gLogFileName, MsgButtons::OK,
                    MsgIcon::Exclamation, kAppTitle);
}

void RunDataLog() {
    BuildLogLine(logLine);
    if (!AppendLogLine(gLogFileName, logLine)) {
        StopLoggingAfterWriteFailure();
        return;
    }
    if (gLogLineCount < std::numeric_limits<int32_t>::max()) ++gLogLineCount;
}

double Seconds(int32_t ms) { return ms / 1000.0; }

struct TaskEntry {
    bool (*enabled)();
    double (*periodSeconds)();
    void (*run)();
};

// The ten tasks in the order a tick checks them.
constexpr std::array<TaskEntry, 10> kTasks = {{
    {[] { return gMeasureEnabled; }, [] { return Seconds(gMeasurePeriodMs); }, RunMeasurement},
    {[] { return gGraphFormOpen; }, [] { return Seconds(gGraphPeriodMs); },
     [] { RunWindowTask(WindowTask::Graphs); }},
    {[] { return gRegMapFormOpen && continuousReadTicked && continuousReadTicked(); }, [] { return 1.0; },
     [] { RunWindowTask(WindowTask::RegisterMap); }},
    {[] { return gHeatersFormOpen; }, [] { return 1.0; }, RunHeaterLabels},
    {[] { return gLimitsFormOpen; }, [] { return 0.5; }, [] { RunWindowTask(WindowTask::Limits); }},
    {[] { return gManualControlFormOpen; }, [] { return 1.0; }, RunManualControl},
    {[] { return gAutoGraphFormOpen; }, [] { return 0.3; }, [] { RunWindowTask(WindowTask::AutoControl); }},
    {[] { return gDynTminFormOpen; }, [] { return 0.1; }, [] { RunWindowTask(WindowTask::DynamicTmin); }},
    {[] { return gGPIOFormOpen; }, [] { return 0.5; }, [] { RunWindowTask(WindowTask::Gpio); }},
    {[] { return gLoggingOn; }, [] { return Seconds(gLogIntervalMs); }, RunDataLog},
}};

std::array<double, kTasks.size()> lastRun{};

// Reads the clock once. Both bounds are compared as singles, like the clock; a reading
// equal to last + period is not yet due, and one before last means midnight has passed.
bool IsDue(double last, double periodSeconds) {
    const float now = SystemClock().SecondsSinceMidnight();
    return now > static_cast<float>(last + periodSeconds) || now < static_cast<float>(last);
}

}  // namespace

void RunWindowTask(WindowTask task) { Run(windowActions[static_cast<size_t>(task)]); }

void RunMasterTick() {
    if (tickRunning) return;
    tickRunning = true;
    struct TickEnd {
        ~TickEnd() { tickRunning = false; }
    } tickEnd;

    for (size_t i = 0; i < kTasks.size(); ++i) {
        const TaskEntry& task = kTasks[i];
        if (!task.enabled() || !IsDue(lastRun[i], task.periodSeconds())) continue;
        task.run();
        // The period counts from the end of this run.
        lastRun[i] = SystemClock().SecondsSinceMidnight();
    }
}

void ResetSchedulerState() {
    lastRun.fill(0.0);
    measurementStep = 0;
    tickRunning = false;
    gDemoThermDone = false;
    for (auto& action : windowActions) action = nullptr;
    continuousReadTicked = nullptr;
    heaterLabelSink = nullptr;
    manualStatusUpdate = nullptr;
    manualSliderUpdate = nullptr;
    loggingStoppedSink = nullptr;
    slotTokens.fill(0);
}

void SetTaskAction(WindowTask task, std::function<void()> action) {
    windowActions[static_cast<size_t>(task)] = std::move(action);
    Renew(static_cast<int>(task));
}

void SetContinuousReadCheck(std::function<bool()> isTicked) { continuousReadTicked = std::move(isTicked); }

void SetHeaterLabelSink(HeaterLabelSink show) {
    heaterLabelSink = std::move(show);
    Renew(kHeaterSlot);
}

void SetManualControlActions(std::function<void()> updateStatus, std::function<void()> updateSliders) {
    manualStatusUpdate = std::move(updateStatus);
    manualSliderUpdate = std::move(updateSliders);
    Renew(kManualSlot);
}

void SetLoggingStoppedSink(std::function<void()> show) {
    loggingStoppedSink = std::move(show);
    Renew(kLoggingStoppedSlot);
}

TaskAttachment TaskAttachment::Window(WindowTask task, std::function<void()> action) {
    SetTaskAction(task, std::move(action));
    const int slot = static_cast<int>(task);
    return {slot, slotTokens[slot]};
}

TaskAttachment TaskAttachment::ContinuousRead(std::function<void()> read, std::function<bool()> isTicked) {
    SetContinuousReadCheck(std::move(isTicked));
    return Window(WindowTask::RegisterMap, std::move(read));
}

TaskAttachment TaskAttachment::HeaterLabels(HeaterLabelSink show) {
    SetHeaterLabelSink(std::move(show));
    return {kHeaterSlot, slotTokens[kHeaterSlot]};
}

TaskAttachment TaskAttachment::ManualControl(std::function<void()> updateStatus,
                                             std::function<void()> updateSliders) {
    SetManualControlActions(std::move(updateStatus), std::move(updateSliders));
    return {kManualSlot, slotTokens[kManualSlot]};
}

TaskAttachment TaskAttachment::LoggingStopped(std::function<void()> show) {
    SetLoggingStoppedSink(std::move(show));
    return {kLoggingStoppedSlot, slotTokens[kLoggingStoppedSlot]};
}

TaskAttachment::TaskAttachment(TaskAttachment&& other) noexcept
    : slot_(std::exchange(other.slot_, -1)), token_(other.token_) {}

TaskAttachment& TaskAttachment::operator=(TaskAttachment&& other) noexcept {
    if (this != &other) {
        Detach();
        slot_ = std::exchange(other.slot_, -1);
        token_ = other.token_;
    }
    return *this;
}

void TaskAttachment::Detach() {
    const int slot = std::exchange(slot_, -1);
    if (slot < 0 || slotTokens[slot] != token_) return;
    if (slot == kHeaterSlot) {
        SetHeaterLabelSink(nullptr);
    } else if (slot == kManualSlot) {
        SetManualControlActions(nullptr, nullptr);
    } else if (slot == kLoggingStoppedSlot) {
        SetLoggingStoppedSink(nullptr);
    } else {
        if (slot == static_cast<int>(WindowTask::RegisterMap)) SetContinuousReadCheck(nullptr);
        SetTaskAction(static_cast<WindowTask>(slot), nullptr);
    }
}

void FormatTemperatureLabel(std::string& text, std::string_view name, float celsius) {
    text.assign(name);
    text += " = ";
    text += SingleText(celsius);
    text += "\u00B0C";
}

}  // namespace kestrum
