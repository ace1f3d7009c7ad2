#pragma once
// The pin-configuration decode: Pin Config 1-4 (0x10-0x13) say what each multi-function pin
// carries, and from that which voltage channels and log channels exist and how the
// evaluation board's two analog-switch devices (0x4A, 0x48) route the board's signals.
// Runs at start-up and after every register write to 0x10-0x14.

#include <array>
#include <cstdint>

namespace kestrum {

inline constexpr int32_t kSwitchDevice0 = 0x4A;  // bank 0 of gSwitchState
inline constexpr int32_t kSwitchDevice1 = 0x48;  // bank 1

// Function code of each multi-function pin, by chip pin number; pins not decoded stay 0.
inline std::array<int16_t, 33> gPinFunction{};
inline bool gRemote1Enabled = false;  // pins 15/16 are the Remote 1 diode
inline bool gRemote3Enabled = false;  // pins 19/20 are the Remote 3 diode
// One flag per voltage channel, in the order of gVoltageName.
inline std::array<bool, 23> gVoltageInUse{};
// Element 8 x bank + bit is that bit of switch device 0x4A (bank 0) or 0x48 (bank 1).
inline std::array<bool, 16> gSwitchState{};

void ResetPinDefinitionsState();

// Decodes Pin Config 1-4 into gPinFunction, the remote flags, gVoltageInUse and the log
// channels' Available flags.
void ReadPinConfig();

// The byte of switch bank 0 or 1, from gSwitchState.
int32_t PackBoardFlags(int32_t bank);

// The switches' start state, written to both devices.
void InitBoardIO();

// Sets the switches from the decoded pin functions and writes both devices.
void UpdateBoardSwitches();

// ReadPinConfig, then UpdateBoardSwitches: after a pin-configuration write or a change of chip.
void FollowPinConfig();

}  // namespace kestrum
