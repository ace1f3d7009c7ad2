#include "sim/SimulatedChip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/RegisterData.h"

namespace kestrum::sim {

namespace {

// Identification.
constexpr uint8_t kDeviceIdReg = 0x3D;
constexpr uint8_t kCompanyIdReg = 0x3E;
constexpr uint8_t kRevisionReg = 0x3F;
constexpr uint8_t kDeviceId = 0x62;
constexpr uint8_t kCompanyId = 0x41;

// Pin configuration: which of the shared pins carry a voltage instead of a diode or tach.
constexpr uint8_t kPinConfig1 = 0x10;
constexpr uint8_t kPinConfig2 = 0x11;
constexpr uint8_t kRemote1DiodeBit = 0x40;  // pin config 1
constexpr uint8_t kRemote3DiodeBit = 0x20;  // pin config 1
constexpr uint8_t kTach5Bit = 0x01;         // pin config 1, pin 7
constexpr uint8_t kTach6Bit = 0x80;         // pin config 2, pin 8
constexpr uint8_t kTach7Bit = 0x08;         // pin config 2, pin 21
constexpr uint8_t kTach8Bit = 0x04;         // pin config 2, pin 22

// Fan control, one register per PWM output (or per temperature channel) from the base.
constexpr uint8_t kConfig2 = 0x02;
constexpr uint8_t kFullSpeedBit = 0x20;  // configuration 2: every automatic fan at full speed
constexpr uint8_t kPwmConfigBase = 0x21;
constexpr uint8_t kPwmMinFlags12 = 0x25;
constexpr uint8_t kPwmMinFlags34 = 0x26;
constexpr uint8_t kPwmMinBase = 0x28;
constexpr uint8_t kPwmMax = 0x2C;
constexpr uint8_t kPwmValueBase = 0xAA;
constexpr uint8_t kTminBase = 0x5C;
constexpr uint8_t kTrangeBase = 0x60;
constexpr int kSourceOff = 4;
constexpr int kSourceHottestLocalRemote3 = 5;
constexpr int kSourceHottestAll = 6;
constexpr int kSourceManual = 7;
constexpr std::array<int, 16> kTrangeDegrees = {2, 2, 3, 4, 5, 7, 8, 10, 13, 16, 20, 27, 32, 40, 53, 80};

// Temperature channels: Local, Remote 1, Remote 2, Remote 3.
constexpr int kLocal = 0;
constexpr int kRemote1 = 1;
constexpr int kRemote2 = 2;
constexpr int kRemote3 = 3;
constexpr int kChannels = 4;
constexpr uint8_t kTempLowBase = 0x88;  // low byte of channel c at base + 2c, high byte next
constexpr uint8_t kLowLimitBase = 0x44;
constexpr uint8_t kHighLimitBase = 0x48;
constexpr uint8_t kTherm1LimitBase = 0x4C;
constexpr uint8_t kTherm2LimitBase = 0x50;
constexpr uint8_t kConfTherm1 = 0x0E;  // bit c + 1: channel c asserts THERM1
constexpr uint8_t kConfTherm2 = 0x0F;
constexpr uint8_t kTminCal1 = 0x0B;     // bit 2 + 2t + (r - 1): load Remote r's op-point on THERMt+1
constexpr uint8_t kOpPointBase = 0x59;  // Remote r's operating point at base + r
constexpr int kTempOffset = 64;         // register byte = whole degrees + 64

// Tachometers: low byte registers, high byte is the next one.
constexpr std::array<uint8_t, 8> kTachLow = {0x98, 0x9A, 0x9C, 0x9E, 0xA2, 0xA4, 0xA6, 0xA8};
constexpr uint8_t kTachLimitBase = 0x78;

// THERM on-time and status.
constexpr uint8_t kTherm1OnTime = 0xAE;
constexpr uint8_t kTherm2OnTime = 0xAF;
constexpr uint8_t kTherm1TimerLimit = 0x80;
constexpr uint8_t kTherm2TimerLimit = 0x81;
constexpr uint8_t kThermalStatus1 = 0xB8;
constexpr uint8_t kThermalStatus2 = 0xB9;
constexpr uint8_t kThermalStatus3 = 0xBA;
constexpr uint8_t kVoltageStatus1 = 0xBB;
constexpr uint8_t kVoltageStatus2 = 0xBC;
constexpr uint8_t kFanStatus = 0xBD;
constexpr uint8_t kThermalStatus1Bmc = 0xC0;
constexpr uint8_t kThermalStatus2Bmc = 0xC1;
constexpr uint8_t kVoltageStatus1Bmc = 0xC3;
constexpr uint8_t kVoltageStatus2Bmc = 0xC4;
constexpr uint8_t kFanStatusBmc = 0xC5;

// Model constants.
constexpr double kMinStep = 1e-3;  // finer steps are folded into the next one
constexpr double kMaxStep = 5.0;   // a long pause moves the model this far at most
constexpr double kLocalAmbient = 30.0;
constexpr double kRemoteAmbient = 28.0;
constexpr double kRemote3Ambient = 35.0;
constexpr double kHeaterDegreesPerPercent = 0.6;
constexpr double kHeaterTimeConstant = 20.0;
constexpr double kTempNoise = 0.1;
constexpr double kNominalCode = 192.0;
constexpr double kBatteryCode = 144.0;  // a 3 V cell on the 4 V input
constexpr double kVoltageNoise = 0.005;
constexpr double kRpmPerPercent = 50.0;
constexpr double kFanTimeConstant = 1.0;
constexpr double kRpmNoise = 0.005;
constexpr double kStoppedRpm = 90.0;
constexpr double kTachClockTimesSixty = 90000.0 * 60.0;
constexpr double kThermWindow = 1.0;

// Which use a shared pin must be in for a voltage reading to exist there.
enum class PinUse { Always, Pin15, Pin19, Tach5, Tach6, Tach7, Tach8 };

struct VoltageInput {
    uint8_t reg;
    uint8_t lowLimit;
    uint8_t highLimit;
    bool secondStatus;  // Voltage Status 2 instead of 1
    uint8_t bit;
    PinUse use;
    double nominal;
};

constexpr std::array<VoltageInput, 13> kVoltageInputs = {{
    {0xA3, 0x6D, 0x7C, false, 0x01, PinUse::Tach5, kNominalCode},   // +12V1
    {0xA5, 0x6E, 0x7D, false, 0x02, PinUse::Tach6, kNominalCode},   // +12V2
    {0xA9, 0x6F, 0x7F, false, 0x04, PinUse::Tach8, kNominalCode},   // +12V3
    {0x96, 0x70, 0x68, false, 0x08, PinUse::Always, kNominalCode},  // +3.3V
    {0x8B, 0x45, 0x49, false, 0x10, PinUse::Pin15, kNominalCode},
    {0x8F, 0x47, 0x4B, false, 0x20, PinUse::Pin19, kNominalCode},
    {0xA7, 0x71, 0x7E, false, 0x40, PinUse::Tach7, kNominalCode},   // +5V
    {0x90, 0x72, 0x69, false, 0x80, PinUse::Always, kNominalCode},  // pin 23
    {0x91, 0x73, 0x6A, true, 0x08, PinUse::Always, kNominalCode},   // pin 24
    {0x92, 0x74, 0x6B, true, 0x10, PinUse::Always, kNominalCode},   // pin 25
    {0x93, 0x75, 0x6C, true, 0x20, PinUse::Always, kBatteryCode},   // pin 26, battery
    {0x95, 0x76, 0x4C, true, 0x40, PinUse::Always, kNominalCode},   // +1.5V ICH
    {0x94, 0x77, 0x50, true, 0x80, PinUse::Always, kNominalCode},   // +1.5V 3GIO
}};

bool CarriesVoltage(PinUse use, const std::array<uint8_t, 256>& regs) {
    switch (use) {
        case PinUse::Always: return true;
        case PinUse::Pin15: return (regs[kPinConfig1] & kRemote1DiodeBit) == 0;
        case PinUse::Pin19: return (regs[kPinConfig1] & kRemote3DiodeBit) == 0;
        case PinUse::Tach5: return (regs[kPinConfig1] & kTach5Bit) == 0;
        case PinUse::Tach6: return (regs[kPinConfig2] & kTach6Bit) == 0;
        case PinUse::Tach7: return (regs[kPinConfig2] & kTach7Bit) == 0;
        case PinUse::Tach8: return (regs[kPinConfig2] & kTach8Bit) == 0;
    }
    return false;
}

// Tach 1..4 have their own pins; tach 5..8 share theirs with a voltage input.
bool IsTachPin(int tach, const std::array<uint8_t, 256>& regs) {
    constexpr std::array<PinUse, 4> kSharedUse = {PinUse::Tach5, PinUse::Tach6, PinUse::Tach7, PinUse::Tach8};
    return tach < 4 || !CarriesVoltage(kSharedUse[tach - 4], regs);
}

constexpr uint8_t Clamp8(double value) { return static_cast<uint8_t>(std::clamp(value, 0.0, 255.0)); }

}  // namespace

SimulatedChip::SimulatedChip(uint8_t revision) : revision_(revision) {
    // The table lists some addresses twice (second meaning); the first record gives the
    // default, and an address is read-only when any of its records says so.
    std::array<bool, 256> seen{};
    for (const RegisterRecord& record : kRegisterRecords) {
        const auto reg = static_cast<uint8_t>(record.address);
        if (!seen[reg]) regs_[reg] = static_cast<uint8_t>(record.defaultValue);
        seen[reg] = true;
        readOnly_[reg] = readOnly_[reg] || record.readOnly;
    }
    regs_[kDeviceIdReg] = kDeviceId;
    regs_[kCompanyIdReg] = kCompanyId;
    regs_[kRevisionReg] = revision;

    temperature_ = {kLocalAmbient, kRemoteAmbient, kRemoteAmbient, kRemote3Ambient};
    UpdateMeasurements(0.0);
    // Fans start at the speed their power-on duty settles to.
    for (int pwm = 0; pwm < 4; ++pwm) rpm_[pwm] = duty_[pwm] * 100.0 / 255.0 * kRpmPerPercent;
    UpdateMeasurements(0.0);
}

uint8_t SimulatedChip::Read(uint8_t reg, double now) {
    Advance(now);
    return regs_[reg];
}

void SimulatedChip::Write(uint8_t reg, uint8_t value, double now) {
    Advance(now);
    if (readOnly_[reg]) return;
    regs_[reg] = value;
    // Limits and configuration take effect at once, as on the chip.
    UpdateMeasurements(0.0);
}

void SimulatedChip::Poke(uint8_t reg, uint8_t value) {
    regs_[reg] = value;
    pinned_[reg] = true;
    UpdateMeasurements(0.0);
}

void SimulatedChip::Release(uint8_t reg) {
    pinned_[reg] = false;
    UpdateMeasurements(0.0);
}

void SimulatedChip::ReleaseAll() {
    pinned_.fill(false);
    UpdateMeasurements(0.0);
}

void SimulatedChip::SetHeaterDrive(int heater, int percent) {
    if (heater < 1 || heater > 2) return;
    heaterDrive_[heater - 1] = std::clamp(percent, 0, 100);
}

void SimulatedChip::Advance(double now) {
    if (!clockStarted_) {
        clockStarted_ = true;
        lastUpdate_ = now;
        return;
    }
    const double dt = now - lastUpdate_;
    if (dt < 0.0) {
        lastUpdate_ = now;  // the time source went back; start over from here
        return;
    }
    if (dt < kMinStep) return;  // also keeps a burst of reads at one instant cheap
    lastUpdate_ = now;
    UpdateMeasurements(std::min(dt, kMaxStep));
}

void SimulatedChip::UpdateMeasurements(double dt) {
    elapsed_ += dt;
    UpdateTemperatures(dt);
    PublishVoltages();
    UpdatePwmOutputs();
    UpdateFans(dt);
    UpdateThermOnTime(dt);
    UpdateStatus();
    LoadOperatingPointsOnThermEvents();
}

void SimulatedChip::SetMeasured(uint8_t reg, uint8_t value) {
    if (!pinned_[reg]) regs_[reg] = value;
}

double SimulatedChip::Noise() {
    // xorshift32: cheap and deterministic per chip.
    noise_ ^= noise_ << 13;
    noise_ ^= noise_ >> 17;
    noise_ ^= noise_ << 5;
    return noise_ * (2.0 / 4294967295.0) - 1.0;
}

uint8_t SimulatedChip::VoltageCode(double nominalCode) {
    return Clamp8(std::lround(nominalCode * (1.0 + kVoltageNoise * Noise())));
}

bool SimulatedChip::ChannelPresent(int channel) const {
    if (channel == kRemote1) return !CarriesVoltage(PinUse::Pin15, regs_);
    if (channel == kRemote3) return !CarriesVoltage(PinUse::Pin19, regs_);
    return true;
}

int SimulatedChip::TemperatureQuarters(int channel) const {
    const auto low = static_cast<uint8_t>(kTempLowBase + 2 * channel);
    return (regs_[low + 1] - kTempOffset) * 4 + (regs_[low] >> 6);
}

void SimulatedChip::UpdateTemperatures(double dt) {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    temperature_[kLocal] = kLocalAmbient + 0.75 * std::sin(kTwoPi * elapsed_ / 600.0);
    temperature_[kRemote3] = kRemote3Ambient + 0.5 * std::sin(kTwoPi * elapsed_ / 900.0 + 1.0);
    // The heated diodes lag towards ambient plus the heater's share.
    const double follow = 1.0 - std::exp(-dt / kHeaterTimeConstant);
    for (int heater = 0; heater < 2; ++heater) {
        const double target = kRemoteAmbient + kHeaterDegreesPerPercent * heaterDrive_[heater];
        temperature_[kRemote1 + heater] += (target - temperature_[kRemote1 + heater]) * follow;
    }

    for (int channel = 0; channel < kChannels; ++channel) {
        const auto low = static_cast<uint8_t>(kTempLowBase + 2 * channel);
        if (!ChannelPresent(channel)) {
            SetMeasured(low, 0);  // the high byte carries a voltage now
            continue;
        }
        const double reading = temperature_[channel] + kTempNoise * Noise();
        // Quarter degrees shifted to be non-negative: -64.00 .. 191.75 °C.
        const long code = std::clamp(std::lround(reading * 4.0) + kTempOffset * 4, 0L, 1023L);
        SetMeasured(low, static_cast<uint8_t>((code & 3) << 6));
        SetMeasured(static_cast<uint8_t>(low + 1), static_cast<uint8_t>(code >> 2));
    }
}

void SimulatedChip::PublishVoltages() {
    for (const VoltageInput& input : kVoltageInputs) {
        if (!CarriesVoltage(input.use, regs_)) continue;
        SetMeasured(input.reg, VoltageCode(input.nominal));
        // A tach pin used for a voltage has no count; its low byte reads 0.
        if (input.reg >= kTachLow[4]) SetMeasured(static_cast<uint8_t>(input.reg - 1), 0);
    }
}

uint8_t SimulatedChip::ChannelDuty(int pwm, int channel) const {
    const uint8_t minFlags = regs_[pwm < 2 ? kPwmMinFlags12 : kPwmMinFlags34];
    const bool runAtMinimum = (minFlags & (1u << (pwm % 2))) != 0;
    const int minimum = regs_[kPwmMinBase + pwm];
    const int maximum = regs_[kPwmMax];
    const int tmin = (regs_[kTminBase + channel] - kTempOffset) * 4;
    const int range = kTrangeDegrees[regs_[kTrangeBase + channel] >> 4] * 4;

    // A pin used for a voltage measures no temperature: the channel never asks for air.
    const int temperature = ChannelPresent(channel) ? TemperatureQuarters(channel) : tmin - 1;
    int duty = 0;
    if (temperature < tmin) {
        duty = runAtMinimum ? minimum : 0;
    } else {
        duty = std::min(255, minimum + (255 - minimum) * (temperature - tmin) / range);
    }
    return static_cast<uint8_t>(std::min(duty, maximum));
}

uint8_t SimulatedChip::AutomaticDuty(int pwm) const {
    if ((regs_[kConfig2] & kFullSpeedBit) != 0) return 255;
    const int source = regs_[kPwmConfigBase + pwm] >> 5;
    if (source < kSourceOff) return ChannelDuty(pwm, source);
    if (source == kSourceHottestLocalRemote3)
        return std::max(ChannelDuty(pwm, kLocal), ChannelDuty(pwm, kRemote3));
    if (source == kSourceHottestAll) {
        uint8_t duty = 0;
        for (int channel = 0; channel < kChannels; ++channel)
            duty = std::max(duty, ChannelDuty(pwm, channel));
        return duty;
    }
    return 0;  // off
}

void SimulatedChip::UpdatePwmOutputs() {
    // Revision 0 holds the PWM value inverted, for both what it reports and what is written.
    const bool inverted = revision_ == 0;
    for (int pwm = 0; pwm < 4; ++pwm) {
        const auto valueReg = static_cast<uint8_t>(kPwmValueBase + pwm);
        if ((regs_[kPwmConfigBase + pwm] >> 5) != kSourceManual) {
            const uint8_t duty = AutomaticDuty(pwm);
            SetMeasured(valueReg, inverted ? static_cast<uint8_t>(255 - duty) : duty);
        }
        duty_[pwm] = inverted ? static_cast<uint8_t>(255 - regs_[valueReg]) : regs_[valueReg];
    }
}

void SimulatedChip::UpdateFans(double dt) {
    const double follow = 1.0 - std::exp(-dt / kFanTimeConstant);
    for (int pwm = 0; pwm < 4; ++pwm) {
        const double target = duty_[pwm] * 100.0 / 255.0 * kRpmPerPercent;
        rpm_[pwm] += (target - rpm_[pwm]) * follow;
    }

    for (int tach = 0; tach < 8; ++tach) {
        if (!IsTachPin(tach, regs_)) continue;  // PublishVoltages owns the pin
        const double rpm = rpm_[tach % 4];
        uint16_t count = 0xFFFF;
        if (rpm >= kStoppedRpm) {
            const double measured = rpm * (1.0 + kRpmNoise * Noise());
            count = static_cast<uint16_t>(std::min(65534.0, kTachClockTimesSixty / measured));
        }
        SetMeasured(kTachLow[tach], static_cast<uint8_t>(count & 0xFF));
        SetMeasured(static_cast<uint8_t>(kTachLow[tach] + 1), static_cast<uint8_t>(count >> 8));
    }
}

void SimulatedChip::UpdateThermOnTime(double dt) {
    bool above[2] = {false, false};
    for (int channel = 0; channel < kChannels; ++channel) {
        if (!ChannelPresent(channel)) continue;
        const int temperature = TemperatureQuarters(channel);
        above[0] = above[0] || temperature > (regs_[kTherm1LimitBase + channel] - kTempOffset) * 4;
        above[1] = above[1] || temperature > (regs_[kTherm2LimitBase + channel] - kTempOffset) * 4;
    }
    // Exponential average over about a second stands in for the chip's on-time window.
    const double follow = 1.0 - std::exp(-dt / kThermWindow);
    for (int therm = 0; therm < 2; ++therm) {
        thermOnTime_[therm] += ((above[therm] ? 1.0 : 0.0) - thermOnTime_[therm]) * follow;
    }
    SetMeasured(kTherm1OnTime, Clamp8(std::lround(thermOnTime_[0] * 255.0)));
    SetMeasured(kTherm2OnTime, Clamp8(std::lround(thermOnTime_[1] * 255.0)));
}

void SimulatedChip::UpdateStatus() {
    uint8_t thermal1 = 0;
    uint8_t thermal3 = 0;
    for (int channel = 0; channel < kChannels; ++channel) {
        if (!ChannelPresent(channel)) continue;
        const int temperature = TemperatureQuarters(channel);
        const int low = (regs_[kLowLimitBase + channel] - kTempOffset) * 4;
        const int high = (regs_[kHighLimitBase + channel] - kTempOffset) * 4;
        if (temperature < low || temperature > high) thermal1 |= static_cast<uint8_t>(0x02 << channel);
        if (temperature > (regs_[kTherm1LimitBase + channel] - kTempOffset) * 4)
            thermal3 |= static_cast<uint8_t>(0x01 << channel);
        if (temperature > (regs_[kTherm2LimitBase + channel] - kTempOffset) * 4)
            thermal3 |= static_cast<uint8_t>(0x10 << channel);
    }

    uint8_t thermal2 = 0;
    if (regs_[kTherm1OnTime] > regs_[kTherm1TimerLimit]) thermal2 |= 0x01;
    if (regs_[kTherm2OnTime] > regs_[kTherm2TimerLimit]) thermal2 |= 0x08;

    uint8_t voltage1 = 0;
    uint8_t voltage2 = 0;
    for (const VoltageInput& input : kVoltageInputs) {
        const bool active = CarriesVoltage(input.use, regs_);
        const uint8_t value = regs_[input.reg];
        if (!active || (value >= regs_[input.lowLimit] && value <= regs_[input.highLimit])) continue;
        (input.secondStatus ? voltage2 : voltage1) |= input.bit;
    }

    uint8_t fans = 0;
    for (int tach = 0; tach < 8; ++tach) {
        if (!IsTachPin(tach, regs_)) continue;
        const uint8_t low = regs_[kTachLow[tach]];
        const uint8_t high = regs_[kTachLow[tach] + 1];
        const bool spinning = !(low == 0xFF && high == 0xFF);
        if (spinning && high > regs_[kTachLimitBase + tach]) fans |= static_cast<uint8_t>(1u << tach);
    }

    SetMeasured(kThermalStatus1, thermal1);
    SetMeasured(kThermalStatus1Bmc, thermal1);
    SetMeasured(kThermalStatus2, thermal2);
    SetMeasured(kThermalStatus2Bmc, thermal2);
    SetMeasured(kThermalStatus3, thermal3);
    SetMeasured(kVoltageStatus1, voltage1);
    SetMeasured(kVoltageStatus1Bmc, voltage1);
    SetMeasured(kVoltageStatus2, voltage2);
    SetMeasured(kVoltageStatus2Bmc, voltage2);
    SetMeasured(kFanStatus, fans);
    SetMeasured(kFanStatusBmc, fans);
}

// A THERM event (the pin's assertion) loads the operating point of each remote channel
// whose Tmin_Cal1 bit asks for it with that channel's present temperature.
void SimulatedChip::LoadOperatingPointsOnThermEvents() {
    constexpr std::array<uint8_t, 2> kLimitBase = {kTherm1LimitBase, kTherm2LimitBase};
    constexpr std::array<uint8_t, 2> kConf = {kConfTherm1, kConfTherm2};
    for (int therm = 0; therm < 2; ++therm) {
        bool asserted = false;
        for (int channel = 0; channel < kChannels; ++channel) {
            if (!ChannelPresent(channel) || (regs_[kConf[therm]] & (1u << (channel + 1))) == 0) continue;
            asserted = asserted ||
                       TemperatureQuarters(channel) > (regs_[kLimitBase[therm] + channel] - kTempOffset) * 4;
        }
        const bool event = asserted && !thermAsserted_[therm];
        thermAsserted_[therm] = asserted;
        if (!event) continue;
        for (int remote = 1; remote <= 2; ++remote) {
            if ((regs_[kTminCal1] & (1u << (2 + 2 * therm + remote - 1))) == 0 || !ChannelPresent(remote))
                continue;
            SetMeasured(static_cast<uint8_t>(kOpPointBase + remote), regs_[kTempLowBase + 2 * remote + 1]);
        }
    }
}

}  // namespace kestrum::sim
