#pragma once
// The arithmetic of the Limits/Interrupts window, without widgets: the fan tach limit
// against revolutions per minute, the voltage limit codes against volts, and the tables
// of channels, limit registers and status bits that the window's tabs are built from.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Channels.h"

namespace kestrum::LimitFormSubs {

// The gauge's top end, and what limit 0 (no limit) shows as.
inline constexpr float kFanScaleRpm = 12000.0f;

// A tach limit byte as rpm at gTachClockHz: 0 shows as 12000, speeds below 100 rpm as 0.
float TachLimitToRpm(int16_t limit);
// The tach limit byte for a speed, capped at 255 and rounded half to even; 0 rpm counts
// as 1 rpm. Not the inverse of TachLimitToRpm: a written limit shows back near the speed.
float RpmToTachLimit(float rpm);

// A voltage code (192 = nominal) as volts, two decimals, half to even.
inline constexpr float kNominalCode = 192.0f;
float VoltRegToVolts(int16_t code, float nominal);
// The code of a voltage limit, within 0..255; nominal must not be 0.
int32_t VoltLimitCode(double volts, float nominal);
// The top of a voltage input's scale: full code 255, two decimals.
double VoltScaleMaximum(float nominal);

// The Temperature tab's channels; the reading is gTemperature(index).
struct TempLimitChannel {
    const char* item;
    int32_t lowRegister;
    int32_t highRegister;
};
inline constexpr std::array<TempLimitChannel, 4> kTempLimitChannels{{
    {kTempChannelNames[0], 0x44, 0x48},
    {kTempChannelNames[1], 0x45, 0x49},
    {kTempChannelNames[2], 0x46, 0x4A},
    {kTempChannelNames[3], 0x47, 0x4B},
}};

// The THERM Limits list; entry k's limit is 0x4C + k, its reading gTemperature(k mod 4).
inline constexpr std::array<const char*, 8> kThermPinItems{
    "Local THERM1", "Remote1 THERM1", "Remote2 THERM1", "Remote3 THERM1",
    "Local THERM2", "Remote1 THERM2", "Remote2 THERM2", "Remote3 THERM2"};
inline constexpr int32_t kThermPinFirstLimit = 0x4C;

// A list entry that exists while its pin carries the input, with the register of its limit.
struct PinLimitChannel {
    const char* item;
    int pin;
    int32_t limitRegister;
};

// The THERM Timer channels: THERM1 on pin 28, THERM2 on pin 29; reading gThermPercent(index + 1).
inline constexpr std::array<PinLimitChannel, 2> kThermTimerChannels{{
    {"THERM1", 28, 0x80},
    {"THERM2", 29, 0x81},
}};
inline constexpr int16_t kThermPinFunction = 2;

// The Fans tab: fan i's tach pin and limit register; its reading is gFanRPM(i).
inline constexpr std::array<PinLimitChannel, 8> kFanLimitChannels{{
    {"Fan1", 1, 0x78},
    {"Fan2", 2, 0x79},
    {"Fan3", 3, 0x7A},
    {"Fan4", 4, 0x7B},
    {"Fan5", 7, 0x7C},
    {"Fan6", 8, 0x7D},
    {"Fan7", 21, 0x7E},
    {"Fan8", 22, 0x7F},
}};
inline constexpr int16_t kTachPinFunction = 1;
inline constexpr int32_t kTachEnableRegister = 0x07;
// Offered in the list: its pin is a tach input.
bool FanOffered(int fan);
// Its row is live: offered, and its tach measurement enabled in the Tach Enable byte.
bool FanRowEnabled(int fan, int32_t tachEnable);

// The Voltage tab's entries in list order. An entry is offered when its pin has the
// function code, and (pins 15 and 19) the pin's remote diode is not configured.
enum class RemoteDiode { None, Remote1, Remote3 };
struct VoltLimitEntry {
    const char* item;
    int pin;
    int16_t function;
    RemoteDiode diode;
    int row;
    int32_t lowRegister;
    int32_t highRegister;
    float nominal;
    int reading;  // gVoltage index
};
// The 1.5 V entries follow the pin decode's pairing: pin 28 is channel 22 ("1.5V2") and
// pin 29 channel 21 ("1.5V1"), as the rows' captions and limit registers say.
inline constexpr std::array<VoltLimitEntry, 23> kVoltLimitEntries{{
    {"12V1 (pin7)", 7, 0, RemoteDiode::None, 0, 0x6D, 0x7C, 12.0f, 0},
    {"12V2 (pin8)", 8, 0, RemoteDiode::None, 1, 0x6E, 0x7D, 12.0f, 1},
    {"3.3V (pin13)", 13, 0, RemoteDiode::None, 2, 0x70, 0x68, 3.3f, 2},
    {"2.5V (pin15)", 15, 0, RemoteDiode::Remote1, 3, 0x45, 0x49, 2.5f, 3},
    {"1.8V (pin15)", 15, 1, RemoteDiode::Remote1, 3, 0x45, 0x49, 1.8f, 4},
    {"1.25V (pin19)", 20, 0, RemoteDiode::Remote3, 4, 0x47, 0x4B, 1.25f, 5},
    {"0.9V (pin19)", 20, 1, RemoteDiode::Remote3, 4, 0x47, 0x4B, 0.9f, 6},
    {"5V (pin21)", 21, 0, RemoteDiode::None, 5, 0x71, 0x7E, 5.0f, 7},
    {"12V3 (pin22)", 22, 0, RemoteDiode::None, 6, 0x6F, 0x7F, 12.0f, 8},
    {"2.5V (pin23)", 23, 0, RemoteDiode::None, 7, 0x72, 0x69, 2.5f, 12},
    {"1.8V (pin23)", 23, 1, RemoteDiode::None, 7, 0x72, 0x69, 1.8f, 11},
    {"Vccp1 (pin23)", 23, 2, RemoteDiode::None, 7, 0x72, 0x69, 2.13f, 9},
    {"1.5V (pin23)", 23, 3, RemoteDiode::None, 7, 0x72, 0x69, 1.5f, 10},
    {"2.5V (pin24)", 24, 0, RemoteDiode::None, 8, 0x73, 0x6A, 2.5f, 16},
    {"1.8V (pin24)", 24, 1, RemoteDiode::None, 8, 0x73, 0x6A, 1.8f, 15},
    {"Vccp2 (pin24)", 24, 2, RemoteDiode::None, 8, 0x73, 0x6A, 2.13f, 13},
    {"1.5V (pin24)", 24, 3, RemoteDiode::None, 8, 0x73, 0x6A, 1.5f, 14},
    {"3.3V (pin25)", 25, 0, RemoteDiode::None, 9, 0x74, 0x6B, 3.3f, 18},
    {"1.2V (pin25)", 25, 1, RemoteDiode::None, 9, 0x74, 0x6B, 1.2f, 17},
    {"Vbatt (pin26)", 26, 0, RemoteDiode::None, 10, 0x75, 0x6C, 4.0f, 20},
    {"1.2V (pin26)", 26, 1, RemoteDiode::None, 10, 0x75, 0x6C, 1.2f, 19},
    {"1.5V (pin28)", 28, 1, RemoteDiode::None, 11, 0x76, 0x4C, 1.5f, 22},
    {"1.5V (pin29)", 29, 1, RemoteDiode::None, 12, 0x77, 0x50, 1.5f, 21},
}};
bool VoltEntryOffered(const VoltLimitEntry& entry);
// Rows whose caption names the entry offered, since their pin carries one of several ranges.
bool VoltRowTakesItemCaption(int row);

}  // namespace kestrum::LimitFormSubs
