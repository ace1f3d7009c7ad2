#pragma once
// State shared between windows and the master timer: the form-open flags, the log
// channels and the logging state.

#include <array>
#include <cstdint>
#include <string>

namespace kestrum {

// Each window sets its flag when it loads and clears it when it unloads; the master
// timer calls into a window only while its flag is set.
inline bool gGraphFormOpen = false;
inline bool gRegMapFormOpen = false;
inline bool gHeatersFormOpen = false;
inline bool gLimitsFormOpen = false;
inline bool gManualControlFormOpen = false;
inline bool gManualSliderHeld = false;  // the user holds a manual-control slider
inline bool gAutoGraphFormOpen = false;
inline bool gDynTminFormOpen = false;
inline bool gGPIOFormOpen = false;
inline bool gDemoRunning = false;  // the dynamic Tmin demonstration runs

// One loggable quantity. Available and Selected hold 1.0 for true and 0.0 for false.
struct LogChannel {
    float Value = 0.0f;      // written only by measurement acquisition
    float Available = 0.0f;  // written only by the pin-configuration decode
    float Selected = 0.0f;   // written only by the data logger
};

// Log column order: 0-3 temperatures, 4-11 fan speeds, 12-15 PWM duty, 16-38 voltages,
// 39-42 Tmin, 43-44 operating points.
inline constexpr int kLogChannelCount = 45;
inline std::array<LogChannel, kLogChannelCount> gLogChannel{};

inline bool gLoggingOn = false;
inline std::string gLogFileName;
inline int32_t gLogLineCount = 0;

void ResetDeclarationsState();

}  // namespace kestrum
