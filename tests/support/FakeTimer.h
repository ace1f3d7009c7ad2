#pragma once

#include "core/General.h"

namespace kestrum::test {

// Stands in for the main window's master timer where no main window exists.
class FakeTimer final : public MasterTimerSwitch {
public:
    bool enabled = false;
    int switches = 0;
    void SetEnabled(bool on) override {
        enabled = on;
        ++switches;
    }
    bool IsEnabled() const override { return enabled; }
};

}  // namespace kestrum::test
