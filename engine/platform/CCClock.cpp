#include "engine/platform/CCClock.h"

namespace kvengine {

namespace {
CCClock* g_installedClock = nullptr;

CCSystemClock& systemClock() {
    static CCSystemClock clock;
    return clock;
}
} // namespace

CCClock* CCClock::getShared() {
    return g_installedClock ? g_installedClock : &systemClock();
}

void CCClock::setShared(CCClock* clock) {
    g_installedClock = clock;
}

int getTimeOfDay(CCTimeVal* out) {
    if (!out) return 0;
    CCClock* clock = CCClock::getShared();
    const int64_t freq = clock->frequency() > 0 ? clock->frequency() : 1;
    const int64_t ticks = clock->counter();
    const int64_t seconds = ticks / freq;
    const int64_t rest = ticks % freq;
    // Millisecond resolution, as the frame timing has always had.
    const int64_t millis = rest * 1000 / freq;
    out->seconds = static_cast<int>(seconds);
    out->microseconds = static_cast<int>(millis * 1000);
    return 0;
}

float secondsBetween(const CCTimeVal& earlier, const CCTimeVal& later) {
    return static_cast<float>(later.seconds - earlier.seconds) +
           static_cast<float>(later.microseconds - earlier.microseconds) / 1000000.0f;
}

} // namespace kvengine
