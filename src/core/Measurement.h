#pragma once
// Measurement acquisition: the chip's value registers are read in six groups, one group per
// call, and converted into the shared measurement arrays and the log channels' values.

#include <array>
#include <cstdint>
#include <string>

namespace kestrum {

inline constexpr int kVoltageChannelCount = 23;

// All zero until their group is first read; this module is their only writer (the master
// timer's demonstration offsets aside). Elements marked unused are never written.
inline std::array<float, 4> gTemperature{};  // 0 Local, 1 Remote 1, 2 Remote 2, 3 Remote 3; degrees C
inline std::array<int32_t, 9> gFanRPM{};     // tach inputs 1..8 at 0..7; 8 unused; 0 = no valid speed
inline std::array<int16_t, 5> gPWMDuty{};    // PWM outputs 1..4 at 0..3; 4 unused; whole percent
inline std::array<float, kVoltageChannelCount> gVoltage{};  // volts, two decimals, by voltage channel
inline std::array<float, 3> gThermPercent{};     // 1 THERM1, 2 THERM2; 0 unused; whole percent on-time
inline std::array<int16_t, 4> gTmin{};           // 0 Local .. 3 Remote 3; degrees C
inline std::array<int16_t, 3> gOpPoint{};        // 1 Remote 1, 2 Remote 2; 0 unused
inline std::array<int16_t, 3> gTempHighLimit{};  // 1 Remote 1, 2 Remote 2; 0 unused
inline std::array<int16_t, 3> gTempLowLimit{};   // 1 Remote 1, 2 Remote 2; 0 unused
inline std::array<std::string, kVoltageChannelCount> gVoltageName{};  // set once at start-up

// Log channels carrying measurements: temperatures, tachs, PWM duty, voltages, Tmin, operating points.
inline constexpr int kLogTemperatureFirst = 0;
inline constexpr int kLogTachFirst = 4;
inline constexpr int kLogPwmFirst = 12;
inline constexpr int kLogVoltageFirst = 16;
inline constexpr int kLogTminFirst = 39;
inline constexpr int kLogOpPointFirst = 43;

void ResetMeasurementState();

// Reads and converts one group: 1 temperatures, 2 fan speeds, 3 PWM duty, 4 voltages,
// 5 THERM on-time, 6 Tmin, operating points and limits. Any other number does nothing.
void ReadMeasurementGroup(int16_t group);

// RPM of a tach count at gTachClockHz; 0 outside 90..200000 RPM or for counts above 0xFFFF.
int32_t TachToRPM(int32_t count);

// The PWM value byte as the duty reads it: inverted on chips of revision 0.
int16_t AdjustForRevision(int16_t value);

void InitVoltageNames();

}  // namespace kestrum
