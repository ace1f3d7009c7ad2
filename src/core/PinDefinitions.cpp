#include "core/PinDefinitions.h"

#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/Measurement.h"
#include "core/USBStuff.h"

namespace kestrum {

namespace {

constexpr int32_t kPinConfig1 = 0x10;
constexpr int kPinConfigCount = 4;
// Pin Config 1's bits that make pins 15/16 and 19/20 the Remote 1 and Remote 3 diodes.
constexpr int kRemote1DiodeBit = 6;
constexpr int kRemote3DiodeBit = 5;

// A pin whose code is one register bit (byte = Pin Config 1-4 as 0-3).
struct BitPin {
    int pin;
    int byte;
    int bit;
};

constexpr std::array<BitPin, 14> kBitPins = {{
    {1, 0, 4},
    {2, 0, 3},
    {3, 0, 2},
    {4, 0, 1},
    {7, 0, 0},
    {8, 1, 7},
    {13, 1, 6},
    {15, 1, 5},
    {20, 1, 4},
    {21, 1, 3},
    {22, 1, 2},
    {27, 2, 1},
    {31, 3, 3},
    {32, 3, 2},
}};

// A pin whose code comes from a two-bit field through a table.
struct FieldPin {
    int pin;
    int byte;
    int shift;
    std::array<int16_t, 4> code;
};

constexpr std::array<int16_t, 4> kVoltageSelect = {2, 0, 1, 3};  // pins 23, 24
constexpr std::array<int16_t, 4> kThreeWay = {0, 1, 2, 2};

constexpr std::array<FieldPin, 6> kFieldPins = {{
    {23, 1, 0, kVoltageSelect},
    {24, 2, 6, kVoltageSelect},
    {25, 2, 4, kThreeWay},
    {26, 2, 2, kThreeWay},
    {28, 3, 6, kThreeWay},
    {29, 3, 4, kThreeWay},
}};

enum class Diode { None, Remote1, Remote3 };

// Voltage channel `channel` is in use when `pin` has `code` and, where a remote diode
// shares the pin, that diode is not enabled.
struct VoltageUse {
    int channel;
    int pin;
    int16_t code;
    Diode sharedWith;
};

constexpr std::array<VoltageUse, 23> kVoltageUses = {{
    {0, 7, 0, Diode::None},
    {1, 8, 0, Diode::None},
    {2, 13, 0, Diode::None},
    {3, 15, 0, Diode::Remote1},
    {4, 15, 1, Diode::Remote1},
    {5, 20, 0, Diode::Remote3},
    {6, 20, 1, Diode::Remote3},
    {7, 21, 0, Diode::None},
    {8, 22, 0, Diode::None},
    {9, 23, 2, Diode::None},
    {10, 23, 3, Diode::None},
    {11, 23, 1, Diode::None},
    {12, 23, 0, Diode::None},
    {13, 24, 2, Diode::None},
    {14, 24, 3, Diode::None},
    {15, 24, 1, Diode::None},
    {16, 24, 0, Diode::None},
    {17, 25, 1, Diode::None},
    {18, 25, 0, Diode::None},
    {19, 26, 1, Diode::None},
    {20, 26, 0, Diode::None},
    // The 1.5 V pairing follows the chip's register names: channel 21 (0x94, "+1.5V1") is
    // pin 29's 1.5 V function and channel 22 (0x95, "+1.5V2") is pin 28's.
    {21, 29, 1, Diode::None},
    {22, 28, 1, Diode::None},
}};

// Log channels of tach inputs 1-8, by the pin that carries each.
constexpr std::array<int, 8> kTachPins = {1, 2, 3, 4, 7, 8, 21, 22};

bool PinIs(int pin, int16_t code) { return gPinFunction[pin] == code; }

void DecodePins(const std::array<int32_t, kPinConfigCount>& config) {
    gPinFunction.fill(0);
    for (const BitPin& p : kBitPins)
        gPinFunction[p.pin] = static_cast<int16_t>(FieldOf(config[p.byte], p.bit, 1));
    for (const FieldPin& p : kFieldPins) gPinFunction[p.pin] = p.code[FieldOf(config[p.byte], p.shift, 2)];
}

bool DiodeEnabled(Diode diode) {
    return (diode == Diode::Remote1 && gRemote1Enabled) || (diode == Diode::Remote3 && gRemote3Enabled);
}

void DecodeVoltageChannels() {
    gVoltageInUse.fill(false);
    for (const VoltageUse& use : kVoltageUses)
        if (!DiodeEnabled(use.sharedWith) && PinIs(use.pin, use.code)) gVoltageInUse[use.channel] = true;
}

void SetAvailable(int channel, bool available) { gLogChannel[channel].Available = available ? 1.0f : 0.0f; }

void DecodeLogChannels() {
    SetAvailable(kLogTemperatureFirst + 0, true);
    SetAvailable(kLogTemperatureFirst + 1, gRemote1Enabled);
    SetAvailable(kLogTemperatureFirst + 2, true);
    SetAvailable(kLogTemperatureFirst + 3, gRemote3Enabled);
    for (int n = 0; n < 8; ++n) SetAvailable(kLogTachFirst + n, PinIs(kTachPins[n], 1));
    SetAvailable(kLogPwmFirst + 0, PinIs(31, 1));
    SetAvailable(kLogPwmFirst + 1, PinIs(32, 1));
    SetAvailable(kLogPwmFirst + 2, true);
    SetAvailable(kLogPwmFirst + 3, PinIs(13, 1));
    for (int n = 0; n < kVoltageChannelCount; ++n) SetAvailable(kLogVoltageFirst + n, gVoltageInUse[n]);
    for (int channel = kLogTminFirst; channel < kLogChannelCount; ++channel) SetAvailable(channel, true);
}

void WriteSwitchBank(int32_t bank) {
    WriteBoardPort(bank == 0 ? kSwitchDevice0 : kSwitchDevice1, PackBoardFlags(bank));
}

}  // namespace

void ResetPinDefinitionsState() {
    gPinFunction.fill(0);
    gRemote1Enabled = false;
    gRemote3Enabled = false;
    gVoltageInUse.fill(false);
    gSwitchState.fill(false);
}

void ReadPinConfig() {
    BlockRead(gDeviceAddress, kPinConfig1, kPinConfigCount);
    std::array<int32_t, kPinConfigCount> config{};
    for (int i = 0; i < kPinConfigCount; ++i) config[i] = gRegBuffer[i];

    gRemote1Enabled = BitIsSet(config[0], kRemote1DiodeBit);
    gRemote3Enabled = BitIsSet(config[0], kRemote3DiodeBit);
    DecodePins(config);
    DecodeVoltageChannels();
    DecodeLogChannels();
}

int32_t PackBoardFlags(int32_t bank) {
    if (bank != 0 && bank != 1) return 0;
    int32_t flags = 0;
    for (int bit = 0; bit < 8; ++bit) flags = WithBit(flags, bit, gSwitchState[8 * bank + bit]);
    return flags;
}

void InitBoardIO() {
    for (const int i : {0, 1, 12, 13, 14, 15}) gSwitchState[i] = true;
    WriteSwitchBank(0);
    WriteSwitchBank(1);
}

void UpdateBoardSwitches() {
    gSwitchState[2] = PinIs(28, 2);  // THERM 1
    gSwitchState[3] = PinIs(29, 2);  // THERM 2
    gSwitchState[4] = PinIs(31, 1);  // PWM 1
    gSwitchState[5] = PinIs(32, 1);  // PWM 2
    gSwitchState[6] = false;
    gSwitchState[7] = false;
    WriteSwitchBank(0);
    for (int i = 0; i < 4; ++i) gSwitchState[8 + i] = PinIs(1 + i, 1);  // tach inputs 1-4
    WriteSwitchBank(1);
}

void FollowPinConfig() {
    ReadPinConfig();
    UpdateBoardSwitches();
}

}  // namespace kestrum
