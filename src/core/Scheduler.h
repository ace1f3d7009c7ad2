#pragma once
// The master scheduler: every periodic task of the program, run from the main window's
// master timer (tmrMaster, 50 ms). Each tick walks ten tasks in a fixed order; a task is
// checked only while its enable condition holds, and runs when its period has passed
// since the end of its previous run (or the clock has wrapped at midnight):
//
//   1 measurement        gMeasureEnabled                    gMeasurePeriodMs   one measurement group
//   2 graphs             gGraphFormOpen                     gGraphPeriodMs     WindowTask::Graphs
//   3 register map       gRegMapFormOpen and box ticked     1 s                WindowTask::RegisterMap
//   4 heater labels      gHeatersFormOpen                   1 s                the heater label sink
//   5 limits             gLimitsFormOpen                    0.5 s              WindowTask::Limits
//   6 manual control     gManualControlFormOpen             1 s                the manual-control actions
//   7 automatic control  gAutoGraphFormOpen                 0.3 s              WindowTask::AutoControl
//   8 dynamic Tmin       gDynTminFormOpen                   0.1 s              WindowTask::DynamicTmin
//   9 GPIO               gGPIOFormOpen                      0.5 s              WindowTask::Gpio
//  10 data log           gLoggingOn                         gLogIntervalMs     one line to gLogFileName
//
// How a window wires in: it holds a TaskAttachment with its action for as long as it
// lives (the window bases do this), and its form-open flag is set while it is loaded. The
// scheduler calls an action only while the window's flag is set, so an action may reach
// the window instance directly.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestrum {

// The dynamic Tmin demonstration's one-shot THERM2 pulse has been sent; never reset while
// the program runs.
inline bool gDemoThermDone = false;

// The demonstration's Remote2 THERM2 limit, 90 degrees C: its set-up writes it, and the
// pulse lowers it and puts it back.
inline constexpr int32_t kDemoTherm2LimitRegister = 0x52;
inline constexpr int32_t kDemoTherm2Limit = 0x9A;

// The main window's tmrMaster_Timer calls this on every tick. It runs to completion; a
// tick started while one is still running (from a nested event loop) does nothing.
void RunMasterTick();

// Last-run times back to 0, the measurement step to group 1, gDemoThermDone False, and
// every registered window action removed.
void ResetSchedulerState();

// Window tasks with a single action.
enum class WindowTask {
    Graphs,       // frmGraph: UpdateLiveGraphs
    RegisterMap,  // frmRegMap: cmdRead_Click
    Limits,       // frmLimits: ShowTempReading, ShowFanReading, ShowVoltReading,
                  //   ShowThermTimerReading, ShowThermPinReading, UpdateAlertToggles, in that order
    AutoControl,  // frmAutoGraph: PlotAFCTemps, result ignored
    DynamicTmin,  // frmDynamicTmin: UpdateDynTminGraph
    Gpio,         // frmGPIO: UpdateGPIOStatus
};
void SetTaskAction(WindowTask task, std::function<void()> action);
// Runs a window task's action at once, outside the timer: how one window refreshes another
// it may not create (the pin dialog refreshing the GPIO window while gGPIOFormOpen is set).
// Nothing runs when no window has installed the action.
void RunWindowTask(WindowTask task);

// Task 3 runs only while the Register Map window's chkContRead box is ticked; the window
// installs how to read the box. It is asked on every tick while gRegMapFormOpen is set.
void SetContinuousReadCheck(std::function<bool()> isTicked);

// Task 4 hands the heater window the texts of lblTemp(0) and lblTemp(1).
using HeaterLabelSink = std::function<void(const std::string& remote1Text, const std::string& remote2Text)>;
void SetHeaterLabelSink(HeaterLabelSink show);

// Task 6 runs UpdateManualStatus, then UpdateManualSliders unless gManualSliderHeld.
void SetManualControlActions(std::function<void()> updateStatus, std::function<void()> updateSliders);

// Told when the log task stops logging because the file cannot be written, so that the
// data logger window shows logging as off.
void SetLoggingStoppedSink(std::function<void()> show);

// Holds a window's action in its slot of the table while the attachment lives. Detaching
// (or destroying) it empties the slot, unless the slot has been given to another action
// since: a window reopened before the old instance is destroyed keeps its task.
class TaskAttachment {
public:
    TaskAttachment() = default;
    static TaskAttachment Window(WindowTask task, std::function<void()> action);
    static TaskAttachment ContinuousRead(std::function<void()> read, std::function<bool()> isTicked);
    static TaskAttachment HeaterLabels(HeaterLabelSink show);
    static TaskAttachment ManualControl(std::function<void()> updateStatus,
                                        std::function<void()> updateSliders);
    static TaskAttachment LoggingStopped(std::function<void()> show);

    TaskAttachment(TaskAttachment&& other) noexcept;
    TaskAttachment& operator=(TaskAttachment&& other) noexcept;
    TaskAttachment(const TaskAttachment&) = delete;
    TaskAttachment& operator=(const TaskAttachment&) = delete;
    ~TaskAttachment() { Detach(); }

    void Detach();

private:
    TaskAttachment(int slot, uint64_t token) : slot_(slot), token_(token) {}
    int slot_ = -1;
    uint64_t token_ = 0;
};

// Sets text to "<name> = <celsius>°C", the number in its shortest decimal form
// ("Remote1 = 25.25°C"), reusing text's storage.
void FormatTemperatureLabel(std::string& text, std::string_view name, float celsius);

}  // namespace kestrum
