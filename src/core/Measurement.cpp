#include "core/Measurement.h"

#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/General.h"
#include "core/USBStuff.h"

namespace kestrum {

namespace {

struct VoltageChannel {
    const char* name;
    int32_t reg;
    double nominal;  // volts read at code 192
};

// Channels sharing a register are different scalings of the same reading.
constexpr std::array<VoltageChannel, kVoltageChannelCount> kVoltageChannels = {{
    {"12V1", 0xA3, 12.0},     {"12V2", 0xA5, 12.0},       {"3.3V(P13)", 0x96, 3.3}, {"2.5V(P15)", 0x8B, 2.5},
    {"1.8V(P15)", 0x8B, 1.8}, {"1.25V(P20)", 0x8F, 1.25}, {"0.9V(P20)", 0x8F, 0.9}, {"5V(P21)", 0xA7, 5.0},
    {"12V3", 0xA9, 12.0},     {"Vccp1", 0x90, 2.13},      {"1.5V(P23)", 0x90, 1.5}, {"1.8V(P23)", 0x90, 1.8},
    {"2.5V(P23)", 0x90, 2.5}, {"Vccp2", 0x91, 2.13},      {"1.5V(P24)", 0x91, 1.5}, {"1.8V(P24)", 0x91, 1.8},
    {"2.5V(P24)", 0x91, 2.5}, {"1.2V(P25)", 0x92, 1.2},   {"3.3V(P25)", 0x92, 3.3}, {"1.2V(P26)", 0x93, 1.2},
    {"VBatt", 0x93, 4.0},     {"1.5V1", 0x94, 1.5},       {"1.5V2", 0x95, 1.5},
}};

constexpr int32_t kMinRpm = 90;
constexpr int32_t kMaxRpm = 200000;
constexpr int32_t kMaxTachCount = 0xFFFF;

void ReadBlock(int32_t firstRegister, int16_t count) { BlockRead(gDeviceAddress, firstRegister, count); }

int32_t Buffer(int i) { return gRegBuffer[i]; }

int16_t DegreesFromRegister(int32_t reg) { return static_cast<int16_t>(CelsiusOfRegister(reg)); }

// The 16-bit little-endian value at buffer offset i, held in 32 bits so it cannot overflow.
int32_t Word(int i) { return Buffer(i + 1) * 256 + Buffer(i); }

void ReadTemperatures() {
    ReadBlock(0x88, 8);
    for (int k = 0; k < 4; ++k) {
        // Bits 7:6 of the low byte are quarter degrees; bits 5:0 are ignored.
        const int32_t quarters = FieldOf(Buffer(2 * k), 6, 2);
        gTemperature[k] = static_cast<float>(quarters * 0.25 + CelsiusOfRegister(Buffer(2 * k + 1)));
        gLogChannel[kLogTemperatureFirst + k].Value = gTemperature[k];
    }
}

void ReadFanSpeeds() {
    // Tach 1-4 from 0x98, tach 5-8 from 0xA2, each a low byte then a high byte.
    constexpr std::array<int32_t, 2> kBlocks = {0x98, 0xA2};
    for (int block = 0; block < 2; ++block) {
        ReadBlock(kBlocks[block], 8);
        for (int i = 0; i < 4; ++i) gFanRPM[4 * block + i] = TachToRPM(Word(2 * i));
    }
    for (int n = 0; n < 8; ++n) gLogChannel[kLogTachFirst + n].Value = static_cast<float>(gFanRPM[n]);
}

int16_t PercentOfByte(int32_t value) { return static_cast<int16_t>(PercentOfRegister(value)); }

void ReadPwmDuty() {
    ReadBlock(0xAA, 4);
    for (int i = 0; i < 4; ++i) {
        gPWMDuty[i] = PercentOfByte(AdjustForRevision(static_cast<int16_t>(Buffer(i))));
        gLogChannel[kLogPwmFirst + i].Value = gPWMDuty[i];
    }
}

// Converts every channel measured by a register of the block just read.
void ConvertVoltages(int32_t firstRegister, int16_t count) {
    const float divisor = 256.0f * 0.75f;
    for (int n = 0; n < kVoltageChannelCount; ++n) {
        const VoltageChannel& channel = kVoltageChannels[n];
        const int32_t offset = channel.reg - firstRegister;
        if (offset < 0 || offset >= count) continue;
        const auto volts = static_cast<float>(Buffer(offset) * channel.nominal / divisor);
        gVoltage[n] = static_cast<float>(RoundHalfEven(volts, 2));
    }
}

void ReadVoltages() {
    struct Block {
        int32_t first;
        int16_t count;
    };
    constexpr std::array<Block, 3> kBlocks = {{{0x8B, 1}, {0x8F, 8}, {0xA3, 7}}};
    for (const Block& block : kBlocks) {
        ReadBlock(block.first, block.count);
        ConvertVoltages(block.first, block.count);
    }
    for (int n = 0; n < kVoltageChannelCount; ++n) gLogChannel[kLogVoltageFirst + n].Value = gVoltage[n];
}

void ReadThermTimers() {
    ReadBlock(0xAE, 2);
    gThermPercent[1] = PercentOfByte(Buffer(0));
    gThermPercent[2] = PercentOfByte(Buffer(1));
}

void ReadTemperatureParameters() {
    ReadBlock(0x5A, 2);
    gOpPoint[1] = DegreesFromRegister(Buffer(0));
    gOpPoint[2] = DegreesFromRegister(Buffer(1));
    ReadBlock(0x5C, 4);
    for (int k = 0; k < 4; ++k) gTmin[k] = DegreesFromRegister(Buffer(k));
    ReadBlock(0x49, 2);
    gTempHighLimit[1] = DegreesFromRegister(Buffer(0));
    gTempHighLimit[2] = DegreesFromRegister(Buffer(1));
    ReadBlock(0x45, 2);
    gTempLowLimit[1] = DegreesFromRegister(Buffer(0));
    gTempLowLimit[2] = DegreesFromRegister(Buffer(1));

    for (int k = 0; k < 4; ++k) gLogChannel[kLogTminFirst + k].Value = gTmin[k];
    gLogChannel[kLogOpPointFirst].Value = gOpPoint[1];
    gLogChannel[kLogOpPointFirst + 1].Value = gOpPoint[2];
}

}  // namespace

void ResetMeasurementState() {
    gTemperature.fill(0.0f);
    gFanRPM.fill(0);
    gPWMDuty.fill(0);
    gVoltage.fill(0.0f);
    gThermPercent.fill(0.0f);
    gTmin.fill(0);
    gOpPoint.fill(0);
    gTempHighLimit.fill(0);
    gTempLowLimit.fill(0);
    for (std::string& name : gVoltageName) name.clear();
}

void ReadMeasurementGroup(int16_t group) {
    switch (group) {
        case 1: ReadTemperatures(); break;
        case 2: ReadFanSpeeds(); break;
        case 3: ReadPwmDuty(); break;
        case 4: ReadVoltages(); break;
        case 5: ReadThermTimers(); break;
        case 6: ReadTemperatureParameters(); break;
        default: break;
    }
}

int32_t TachToRPM(int32_t count) {
    if (count > kMaxTachCount) return 0;
    // In 64 bits: the clock times sixty need not fit 32.
    const int64_t clockTimesSixty = static_cast<int64_t>(gTachClockHz) * 60;
    const int64_t raw = count <= 0 ? clockTimesSixty : clockTimesSixty / count;
    if (raw > kMaxRpm || raw < kMinRpm) return 0;
    return static_cast<int32_t>(raw);
}

int16_t AdjustForRevision(int16_t value) {
    if (gChipRevision != 0) return value;
    return static_cast<int16_t>(FieldOf(~value, 0, 8));  // the byte's bits inverted
}

void InitVoltageNames() {
    for (int n = 0; n < kVoltageChannelCount; ++n) gVoltageName[n] = kVoltageChannels[n].name;
}

}  // namespace kestrum
