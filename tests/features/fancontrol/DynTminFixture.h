#pragma once
// The Dynamic Tmin window on the simulated board, opened with both remote diodes
// configured unless a test says otherwise, and driven as a user drives it.

#include <QTest>

#include "core/Scheduler.h"
#include "features/fancontrol/frmDynamicTmin.h"
#include "support/WindowFixture.h"
#include "widgets/instruments/StripChart.h"

namespace kestrum::test {

class DynTminTest : public WindowTest {
protected:
    // Pin Config 1-4 with pins 15/16 as the Remote1 diode, and with no diode at all.
    static constexpr std::array<uint8_t, 4> kBothDiodes{0x7F, 0xCE, 0x42, 0xFC};
    static constexpr std::array<uint8_t, 4> kNoDiodes{0x00, 0x01, 0x42, 0x50};

    void SetUp() override {
        WindowTest::SetUp();
        clock.step = 0.0;  // the tests move the clock themselves
        UsePins(kBothDiodes);
    }

    void UsePins(const std::array<uint8_t, 4>& pins) { DecodePinConfig(pins[0], pins[1], pins[2], pins[3]); }

    frmDynamicTmin& OpenWindow() { return Open<frmDynamicTmin>(); }
    StripChart& Chart(const frmDynamicTmin& window, int index) {
        return Control<StripChart>(window, QString("Strip2_%1").arg(index));
    }

    // One master-timer tick, late enough for the dynamic Tmin task to be due.
    void Tick() { TickAfter(0.15); }
};

}  // namespace kestrum::test
