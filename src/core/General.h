#pragma once
// Program-wide settings and procedures: the links found at start-up, the scheduler and
// conversion defaults, the part name, the busy-wait, and the ways the program ends.

#include <cstdint>
#include <functional>
#include <string>

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

// One data line of the log, without its line end: the nominal time since logging started,
// then the value of every selected log channel.
std::string BuildLogLine();

// Panel 1 of the main window's status bar; the main window installs where it goes.
void SetStatusText(const std::string& text);
void SetStatusTextSink(std::function<void(const std::string&)> sink);

// Waits on the seconds-since-midnight clock until it reads strictly later than the
// start + ms / 1000, or earlier than the start (wrapped at midnight), napping between
// readings. Handles no events.
void Delay(float ms);

// Ending the program. EndProgram unloads every window first (each runs its unload
// handling) and is used after fatal errors; EndProgramAtOnce unloads nothing.
void SetWindowUnloader(std::function<void()> unloadAll);
[[noreturn]] void EndProgram(int status);
[[noreturn]] void EndProgramAtOnce(int status);

}  // namespace kestrum
