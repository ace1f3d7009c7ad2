#pragma once
// Program-wide settings and procedures: the links found at start-up, the scheduler and
// conversion defaults, the part name, the busy-wait, and the ways the program ends.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/Declarations.h"

namespace kestrum {

inline constexpr const char* kAppTitle = "Kestrum Evaluation Software";
inline constexpr int kVersionMajor = KESTRUM_VERSION_MAJOR;
inline constexpr int kVersionMinor = KESTRUM_VERSION_MINOR;
inline constexpr int kVersionRevision = KESTRUM_VERSION_REVISION;

// Exit status after a fatal error (no hardware, no chip, lost link).
inline constexpr int kFatalExitStatus = 1;

inline bool gSMBusPresent = false;
inline bool gUSBPresent = false;
inline std::string gPartName;
inline int32_t gTachClockHz = 0;
inline int32_t gLogIntervalMs = 0;
inline int32_t gMeasurePeriodMs = 0;
inline int16_t gGraphPeriodMs = 0;
inline bool gMeasureEnabled = false;
inline int16_t gChipRevision = 0;

// The main window's master timer, as the rest of the program sees it.
class MasterTimerSwitch {
public:
    virtual ~MasterTimerSwitch() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
};
inline MasterTimerSwitch* gMasterTimer = nullptr;

void ResetGeneralState();

// Start-up steps 1-3: probe the PC SMBus library, download the adapter firmware, and end
// the program with "USB/SMBus Hardware not detected" when neither link is present.
void ProbeLinks();

// "1.0.7": major, minor and revision of the program's version.
std::string ProgramVersion();

// Whether Easy Setup opens at start-up: the "OpenEasySetup" setting, True when absent.
bool ShouldOpenEasySetup();

void InitDefaults();
// Re-reads what is cached of the selected chip: the PWM manual-mode flags and the revision.
void ReadChipState();
void SetPartName();

// The name of each log channel: its check box in the logger window and its column in the
// log file. Channels 37 and 38 carry voltage channels 21 and 22 and take their names.
// clang-format off
inline constexpr std::array<const char*, kLogChannelCount> kLogChannelCaption = {
    "Local Temp", "Remote1 Temp", "Remote2 Temp", "Remote3 Temp",
    "Tach1", "Tach2", "Tach3", "Tach4", "Tach5", "Tach6", "Tach7", "Tach8",
    "PWM1%", "PWM2%", "PWM3%", "PWM4%",
    "12V1", "12V2", "3.3V-Pin13", "2.5V-Pin15", "1.8V-Pin15", "1.25V-Pin20", "0.9V-Pin20", "5V",
    "12V3", "Vccp1", "1.5V-Pin23", "1.8-Pin23", "2.5V-Pin23", "Vccp2", "1.5V-Pin24", "1.8V-Pin24",
    "2.5V-Pin24", "1.2V-Pin25", "3.3V-Pin25", "1.2V-Pin26", "VBatt", "1.5V1", "1.5V2",
    "Local Tmin", "Remote1 Tmin", "Remote2 Tmin", "Remote3 Tmin",
    "Remote1 Op-Point", "Remote2 Op-Point"};
// clang-format on

// The header line of a log block, without its line end: "Time ," then the name of every
// selected log channel followed by " ,".
std::string BuildLogHeader();

// One data line of the log, without its line end: the nominal time since logging started,
// then the value of every selected log channel. The second form writes it over `line`,
// whose storage a log written line by line reuses.
std::string BuildLogLine();
void BuildLogLine(std::string& line);

// Opens a log block at the end of the file, creating it when missing and never truncating
// it: an empty line, "Kestrum Log File", an empty line and the header, each ended by CR LF,
// in one write. False, with nothing written, when the file cannot be opened or written.
bool AppendLogBlockHead(const std::string& path);

// Logging runs from line 0 at the interval, and status bar panel 1 says so; and stops.
void StartLogging(int32_t intervalMs);
void StopLogging();

// Panel 1 of the main window's status bar; the main window installs where it goes.
void SetStatusText(const std::string& text);
void SetStatusTextSink(std::function<void(const std::string&)> sink);

// Waits on the seconds-since-midnight clock until it reads strictly later than the
// start + ms / 1000, or earlier than the start (wrapped at midnight), napping between
// readings for what remains (1 to 20 ms a nap). Handles no events.
void Delay(float ms);

// Manual fan control of PWM output i + 1 (i = 0..3): its duty goes to register 0xAA + i,
// its slider is usable only in manual mode and shows the measured duty, at most 100 %.
inline constexpr int32_t kPWMValueRegister = 0xAA;
bool ManualControlEnabled(int output);
double ManualSliderPercent(int output);
// The value byte that sets a duty: a revision-0 chip holds its PWM value inverted, as the
// duty reading undoes.
int32_t ManualDutyRegister(double percent);

// Ending the program. EndProgram unloads every window first (each runs its unload
// handling) and is used after fatal errors; EndProgramAtOnce unloads nothing.
void SetWindowUnloader(std::function<void()> unloadAll);
[[noreturn]] void EndProgram(int status);
[[noreturn]] void EndProgramAtOnce(int status);

}  // namespace kestrum
