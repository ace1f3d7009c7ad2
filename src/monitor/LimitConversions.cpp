#include "monitor/LimitConversions.h"

#include <algorithm>

#include "core/Conversions.h"
#include "core/General.h"
#include "core/PinDefinitions.h"

namespace kestrum::LimitFormSubs {

namespace {

constexpr float kSlowestShownRpm = 100.0f;
constexpr float kLargestTachLimit = 255.0f;

// The tach count per minute of the clock, single precision as the chip's formula is.
float TachCountsPerMinute() { return static_cast<float>(gTachClockHz) * 60.0f; }

}  // namespace

float TachLimitToRpm(int16_t limit) {
    if (limit == 0) return kFanScaleRpm;
    const float rpm = TachCountsPerMinute() / (static_cast<float>(limit) * 256.0f + 255.0f);
    return rpm < kSlowestShownRpm ? 0.0f : rpm;
}

float RpmToTachLimit(float rpm) {
    if (rpm == 0.0f) rpm = 1.0f;
    const float limit = std::min(TachCountsPerMinute() / (rpm * 256.0f + 255.0f), kLargestTachLimit);
    return static_cast<float>(RoundHalfEven(limit));
}

bool FanOffered(int fan) { return gPinFunction.at(kFanLimitChannels.at(fan).pin) == kTachPinFunction; }

bool FanRowEnabled(int fan, int32_t tachEnable) { return BitIsSet(tachEnable, fan) && FanOffered(fan); }

float VoltRegToVolts(int16_t code, float nominal) {
    const float volts = static_cast<float>(code) * nominal / kNominalCode;
    return static_cast<float>(RoundHalfEven(volts, 2));
}

int32_t VoltLimitCode(double volts, float nominal) {
    return std::clamp(RoundToInt32(volts * kNominalCode / nominal), 0, 255);
}

double VoltScaleMaximum(float nominal) { return RoundHalfEven(nominal * 255.0 / kNominalCode, 2); }

bool VoltEntryOffered(const VoltLimitEntry& entry) {
    if (entry.diode == RemoteDiode::Remote1 && gRemote1Enabled) return false;
    if (entry.diode == RemoteDiode::Remote3 && gRemote3Enabled) return false;
    return gPinFunction.at(entry.pin) == entry.function;
}

bool VoltRowTakesItemCaption(int row) { return row == 3 || row == 4 || (row >= 7 && row <= 10); }

}  // namespace kestrum::LimitFormSubs
