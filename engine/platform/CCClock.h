#pragma once
#include <cstdint>

namespace kvengine {

/// Seconds and microseconds of a clock reading, as the frame timing consumes it.
struct CCTimeVal {
    int seconds = 0;
    int microseconds = 0;
};

/// The time source of the run loop and of every frame delta.
///
/// The engine never reads local time: frame deltas and the gesture clock come from a monotonic
/// counter, so a change of the system clock cannot stretch or reverse a frame. Tests install a
/// CCFakeClock to run the loop deterministically.
class CCClock {
public:
    virtual ~CCClock() = default;
    /// Current counter value; only differences are meaningful.
    virtual int64_t counter() = 0;
    /// Counter ticks per second (> 0).
    virtual int64_t frequency() = 0;
    /// Called by the run loop when no frame is due: gives the processor away without blocking.
    virtual void yield() = 0;

    /// The clock in use: the installed one, or the system clock.
    static CCClock* getShared();
    /// Installs a clock (not owned; the caller keeps it alive until it installs null again).
    /// Null restores the system clock.
    static void setShared(CCClock* clock);
};

/// The monotonic system counter (SDL's performance counter).
class CCSystemClock : public CCClock {
public:
    int64_t counter() override;
    int64_t frequency() override;
    void yield() override;
};

/// A clock that moves only when told to. Its ticks are microseconds.
class CCFakeClock : public CCClock {
public:
    int64_t counter() override { return m_now; }
    int64_t frequency() override { return 1000000; }
    /// Each yield advances the clock by the yield step, so a run loop driven by this clock moves on.
    void yield() override { m_now += m_yieldStep; }

    void setMicroseconds(int64_t us) { m_now = us; }
    void advanceMicroseconds(int64_t us) { m_now += us; }
    void advanceSeconds(double s) { m_now += static_cast<int64_t>(s * 1000000.0); }
    void setYieldStep(int64_t us) { m_yieldStep = us; }

private:
    int64_t m_now = 0;
    int64_t m_yieldStep = 1000;
};

/// Reads the shared clock into whole seconds and microseconds, at millisecond resolution.
/// Always returns 0. A null argument is ignored.
int getTimeOfDay(CCTimeVal* out);

/// Seconds from `earlier` to `later`, as the frame timing computes it.
float secondsBetween(const CCTimeVal& earlier, const CCTimeVal& later);

} // namespace kvengine
