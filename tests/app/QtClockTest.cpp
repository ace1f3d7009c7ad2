#include "app/QtSeams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "core/General.h"

namespace kestrum {
namespace {

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(QtClock, DelaySleepsThroughTheWaitInsteadOfSpinning) {
    QtClock clock;
    InstallSeams({.clock = &clock});
    if (clock.SecondsSinceMidnight() > 86400.0f - 2.0f) GTEST_SKIP() << "the wait would end at midnight";

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    Delay(300);
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    InstallSeams({});

    // The clock is read in single precision: late in the day a reading is up to 4 ms off.
    EXPECT_GE(wall.count(), 0.300 - 0.004);
    EXPECT_LT(wall.count(), 1.0);
    EXPECT_LT(cpu, 0.1) << "the wait must leave the processor free";
}

}  // namespace
}  // namespace kestrum
