#include "platform/TimeOfDay.h"

#include <time.h>

#include <cstdlib>

namespace kestrum {

namespace {

int64_t Read(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<int64_t>(now.tv_sec) * TimeOfDay::kSecondNs + now.tv_nsec;
}

int64_t FloorDivide(int64_t a, int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

}  // namespace

int64_t SystemTimeSource::MonotonicNs() { return Read(CLOCK_MONOTONIC); }

int64_t SystemTimeSource::WallNs() { return Read(CLOCK_REALTIME); }

int64_t SystemTimeSource::LocalOffsetSeconds(int64_t wallSeconds) {
    const auto seconds = static_cast<time_t>(wallSeconds);
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr) return 0;
    return local.tm_gmtoff;
}

void SystemTimeSource::ReloadZone() { tzset(); }

float TimeOfDay::SecondsSinceMidnight() {
    const int64_t monotonic = source_.MonotonicNs();
    if (!started_ || monotonic >= nextWallCheck_) CheckWallClock(monotonic);
    const int64_t local = monotonic + toLocalNs_;
    const int64_t ofDay = local - FloorDivide(local, kDayNs) * kDayNs;
    return static_cast<float>(ofDay / 1'000'000) / 1000.0f;
}

void TimeOfDay::CheckWallClock(int64_t monotonic) {
    if (!started_ || monotonic >= nextZoneReload_) {
        source_.ReloadZone();
        nextZoneReload_ = monotonic + kZoneReloadNs;
    }
    const int64_t wall = source_.WallNs();
    const int64_t zone = source_.LocalOffsetSeconds(FloorDivide(wall, kSecondNs));
    const int64_t toLocal = wall - monotonic + zone * kSecondNs;
    if (!started_ || std::llabs(toLocal - toLocalNs_) >= kSameOffsetNs) toLocalNs_ = toLocal;
    started_ = true;
    nextWallCheck_ = monotonic + kWallCheckNs;
}

}  // namespace kestrum
