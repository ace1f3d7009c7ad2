#include "features/fancontrol/DynTminDemo.h"

#include <array>

#include "core/ChipAccess.h"
#include "core/PinDefinitions.h"
#include "core/Scheduler.h"
#include "core/USBStuff.h"

namespace kestrum {

namespace {

// The bits of switch device 0x4A that the demonstration keeps; bits 1:0 are cleared.
constexpr int32_t kDemoSwitchKeep = 0xFC;

// One register of the set-up: written as (read value And keep) Or set; a step that keeps
// nothing writes its value without reading the register first.
struct DemoStep {
    int32_t reg;
    int32_t keep;
    int32_t set;
};

// clang-format off
constexpr std::array<DemoStep, 23> kDemoSteps{{
    {0x21, 0x1F, 0x40},  // PWM1..PWM4 driven by Remote2
    {0x22, 0x1F, 0x40},
    {0x23, 0x1F, 0x40},
    {0x24, 0x1F, 0x40},
    {0x0D, 0xFF, 0x02},  // THERM configuration
    {0x2C, 0x00, 0xFF},  // PWM maximum 100 %
    {0x02, 0x3F, 0x40},  // Configuration 2
    {0x07, 0xF0, 0x0F},  // tachs 1-4 on
    {0x0F, 0xFF, 0x08},  // THERM2 asserted above the Remote2 THERM limit
    {0x0F, 0xFF, 0x01},  // THERM2 timer on
    {0x30, 0xFF, 0x90},  // interrupt masks
    {0x33, 0xFF, 0x20},
    {0x0B, 0xFF, 0x02},  // dynamic Tmin for Remote2
    {0x0B, 0xFF, 0x20},  // Remote2 operating point loaded on THERM2
    {0x64, 0x0F, 0x20},  // operating-point hysteresis 2 degrees
    {0x62, 0xF0, 0x02},  // Remote2 hysteresis
    {kDemoTherm2LimitRegister, 0x00, kDemoTherm2Limit},  // Remote2 THERM2 limit 90 C
    {0x62, 0x0F, 0xB0},  // Remote2 Trange
    {0x5B, 0x00, 0x95},  // Remote2 operating point 85 C
    {0x5E, 0x00, 0x68},  // Remote2 Tmin 40 C
    {0x46, 0x00, 0x5F},  // Remote2 low limit 31 C
    {0x4A, 0x00, 0x6D},  // Remote2 high limit 45 C
    {0x01, 0x0F, 0x20},  // Configuration 1
}};
// clang-format on

}  // namespace

void WriteDemoConfiguration() {
    const int32_t port = ReadBoardPort(kSwitchDevice0) & kDemoSwitchKeep;
    SendBoardPort(kSwitchDevice0, port);

    for (const DemoStep& step : kDemoSteps) {
        const int32_t kept = step.keep == 0 ? 0 : ChipRead(step.reg) & step.keep;
        ChipWrite(step.reg, kept | step.set);
    }
}

}  // namespace kestrum
