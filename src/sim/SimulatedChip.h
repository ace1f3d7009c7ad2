#pragma once
// One simulated chip: its register file with the power-on defaults and read-only set of
// the register table, and measurement registers that move plausibly over time.

#include <array>
#include <cstdint>

namespace kestrum::sim {

class SimulatedChip {
public:
    explicit SimulatedChip(uint8_t revision = 0);

    // Bus accesses at time `now` (seconds). Writes to read-only registers are ignored.
    uint8_t Read(uint8_t reg, double now);
    void Write(uint8_t reg, uint8_t value, double now);

    // Test access, bypassing read-only and the dynamics: Poke pins a measurement
    // register at the given value until Release (or ReleaseAll).
    uint8_t Peek(uint8_t reg) const { return regs_[reg]; }
    void Poke(uint8_t reg, uint8_t value);
    void Release(uint8_t reg);
    void ReleaseAll();

    // Heater module drive, percent 0..100; heater 1 warms Remote 1, heater 2 Remote 2.
    void SetHeaterDrive(int heater, int percent);

private:
    void Advance(double now);
    // Moves the model on by dt seconds (0 = only re-derive the registers from the state).
    void UpdateMeasurements(double dt);

    void UpdateTemperatures(double dt);
    void PublishVoltages();
    void UpdatePwmOutputs();
    void UpdateFans(double dt);
    void UpdateThermOnTime(double dt);
    void UpdateStatus();
    void LoadOperatingPointsOnThermEvents();

    // Writes a register the dynamics own, unless a test has pinned it.
    void SetMeasured(uint8_t reg, uint8_t value);
    bool ChannelPresent(int channel) const;
    int TemperatureQuarters(int channel) const;  // from the registers, quarter degrees
    uint8_t ChannelDuty(int pwm, int channel) const;
    uint8_t AutomaticDuty(int pwm) const;
    uint8_t VoltageCode(double nominalCode);
    double Noise();  // uniform in [-1, 1]

    std::array<uint8_t, 256> regs_{};
    std::array<bool, 256> readOnly_{};
    std::array<bool, 256> pinned_{};
    uint8_t revision_ = 0;
    // Thermal and fan model state.
    std::array<double, 4> temperature_{};
    std::array<double, 4> rpm_{};
    std::array<uint8_t, 4> duty_{};
    std::array<double, 2> thermOnTime_{};  // fraction of recent time above THERM1 / THERM2
    std::array<int, 2> heaterDrive_{};
    std::array<bool, 2> thermAsserted_{};  // THERM1 / THERM2, for their rising edges
    bool clockStarted_ = false;
    double lastUpdate_ = 0.0;
    double elapsed_ = 0.0;
    uint32_t noise_ = 0x2545F491u;
};

}  // namespace kestrum::sim
