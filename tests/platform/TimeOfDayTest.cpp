#include "platform/TimeOfDay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kestrum {
namespace {

constexpr int64_t kSecond = TimeOfDay::kSecondNs;
constexpr int64_t kMs = kSecond / 1000;
// 2026-03-29 00:00:00 UTC, a Sunday.
constexpr int64_t kMidnightUtc = 1'774'742'400 * kSecond;

float Ms(int64_t ms) { return static_cast<float>(ms) / 1000.0f; }

// Clocks moved by the test; the zone one hour ahead of UTC unless set otherwise.
struct ScriptedTime final : TimeSource {
    int64_t monotonic = 5 * kSecond;
    int64_t wall = kMidnightUtc;
    int64_t zoneSeconds = 3600;
    int wallReads = 0;
    int zoneReloads = 0;

    int64_t MonotonicNs() override { return monotonic; }
    int64_t WallNs() override {
        ++wallReads;
        return wall;
    }
    int64_t LocalOffsetSeconds(int64_t) override { return zoneSeconds; }
    void ReloadZone() override { ++zoneReloads; }
    void Pass(int64_t ns) {
        monotonic += ns;
        wall += ns;
    }
};

TEST(TimeOfDay, ReadsLocalMillisecondsAndConsultsTheWallClockOnceASecond) {
    ScriptedTime time;
    // 01:00:00.250001 local: early in the day, where a single tells milliseconds apart.
    time.wall = kMidnightUtc + 250 * kMs + 1000;
    TimeOfDay clock(time);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(3'600'250));
    for (int i = 1; i < 1000; ++i) {
        time.Pass(kMs);
        EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(3'600'250 + i));
    }
    EXPECT_EQ(time.wallReads, 1) << "a second of readings: the monotonic clock alone";
    time.Pass(kMs);
    clock.SecondsSinceMidnight();
    EXPECT_EQ(time.wallReads, 2);

    // Readings of the two clocks a few microseconds apart change nothing: no step back.
    time.wall -= 5000;
    time.Pass(kSecond);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(3'602'250));

    for (int i = 0; i < 200; ++i) {
        time.Pass(kSecond);
        clock.SecondsSinceMidnight();
    }
    EXPECT_EQ(time.zoneReloads, 4) << "the zone's rules reloaded once a minute";
}

TEST(TimeOfDay, WrapsAtMidnightAndSeesAClockStepOrZoneChangeWithinASecond) {
    ScriptedTime time;
    time.wall = kMidnightUtc + 23 * 3600 * kSecond - 500 * kMs;  // 23:59:59.500 local
    TimeOfDay clock(time);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(86'399'500));
    time.Pass(700 * kMs);
    EXPECT_EQ(time.wallReads, 1);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(200)) << "wrapped between two looks at the wall clock";

    // The wall clock set back ten minutes: not seen before the next look, seen at it.
    time.wall -= 600 * kSecond;
    time.Pass(299 * kMs);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(499));
    time.Pass(1 * kMs);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(86'399'500 + 1000 - 600'000));

    // Summer time begins: an hour later within the second.
    time.zoneSeconds = 7200;
    time.Pass(kSecond);
    EXPECT_EQ(clock.SecondsSinceMidnight(), Ms(3'600'000 - 600'000 + 1500));
}

TEST(TimeOfDay, TheSystemsClockAgreesWithTheLibrarysLocalTime) {
    SystemTimeSource system;
    TimeOfDay clock(system);
    const int64_t wall = system.WallNs();
    const int64_t seconds = wall / kSecond;
    const int64_t local = (seconds + system.LocalOffsetSeconds(seconds)) % 86400;
    const float reading = clock.SecondsSinceMidnight();
    const float expected = static_cast<float>(local) + static_cast<float>(wall % kSecond) / 1e9f;
    // A reading near midnight may have wrapped since.
    const float apart = std::min(std::abs(reading - expected), 86400.0f - std::abs(reading - expected));
    EXPECT_LT(apart, 1.0f);
}

}  // namespace
}  // namespace kestrum
