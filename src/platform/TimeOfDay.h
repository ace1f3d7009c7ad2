#pragma once
// The time of day, read cheaply. Asking the C library for local time costs microseconds
// (it checks the time zone file on every call), and the master tick reads the clock dozens
// of times. Here a reading is the monotonic clock plus an offset to local time; the offset
// is taken again from the wall clock at most a second after it last was, so a step of the
// wall clock or a daylight-saving change shows within a second. The zone's rules are
// reloaded (a changed time zone setting) once a minute.

#include <cstdint>

namespace kestrum {

// Where the readings come from: the system, or a script in tests.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    // A clock that never steps, in nanoseconds.
    virtual int64_t MonotonicNs() = 0;
    // The wall clock: nanoseconds since the epoch, UTC.
    virtual int64_t WallNs() = 0;
    // Seconds the local time is ahead of UTC at that moment, by the zone's rules as loaded.
    virtual int64_t LocalOffsetSeconds(int64_t wallSeconds) = 0;
    // Loads the zone's rules again, should the time zone setting have changed.
    virtual void ReloadZone() = 0;
};

// CLOCK_MONOTONIC, CLOCK_REALTIME and the C library's local time.
class SystemTimeSource final : public TimeSource {
public:
    int64_t MonotonicNs() override;
    int64_t WallNs() override;
    int64_t LocalOffsetSeconds(int64_t wallSeconds) override;
    void ReloadZone() override;
};

class TimeOfDay {
public:
    static constexpr int64_t kSecondNs = 1'000'000'000;
    static constexpr int64_t kDayNs = 86'400 * kSecondNs;
    // How often the wall clock and the zone are consulted.
    static constexpr int64_t kWallCheckNs = kSecondNs;
    static constexpr int64_t kZoneReloadNs = 60 * kSecondNs;
    // The wall clock and the monotonic clock are read one after the other: offsets closer
    // than this are the same offset, so that readings never step back by a rounding.
    static constexpr int64_t kSameOffsetNs = 1'000'000;

    explicit TimeOfDay(TimeSource& source) : source_(source) {}

    // Whole milliseconds since local midnight, in seconds; 0 again at midnight.
    float SecondsSinceMidnight();

private:
    void CheckWallClock(int64_t monotonic);

    TimeSource& source_;
    bool started_ = false;
    int64_t nextWallCheck_ = 0;
    int64_t nextZoneReload_ = 0;
    int64_t toLocalNs_ = 0;  // local time since the epoch less the monotonic clock
};

}  // namespace kestrum
