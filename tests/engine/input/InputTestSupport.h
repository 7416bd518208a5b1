#pragma once

#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCSet.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/input/CCTouch.h"
#include "engine/platform/CCClock.h"

namespace kvtest {

/// Installs a fake engine clock and restarts the gesture clock; frame() moves both
/// on the way the director does once per frame.
class GestureClockScope {
public:
    GestureClockScope() {
        kvengine::CCClock::setShared(&clock_);
        kvengine::CCGestureRecognizer::resetClock();
        kvengine::CCGestureRecognizer::advanceClock(); // first frame: the clock reads 0
    }
    ~GestureClockScope() {
        kvengine::CCGestureRecognizer::resetClock();
        kvengine::CCClock::setShared(nullptr);
    }
    void frame(double seconds) {
        clock_.advanceSeconds(seconds);
        kvengine::CCGestureRecognizer::advanceClock();
    }
    kvengine::CCFakeClock& clock() { return clock_; }

private:
    kvengine::CCFakeClock clock_;
};

/// A touch inside its own one-member set, as the window delivers it.
class TouchFixture {
public:
    TouchFixture() : touch(new kvengine::CCTouch()), set(new kvengine::CCSet()) { set->addObject(touch); }
    ~TouchFixture() {
        set->release();
        touch->release();
    }
    TouchFixture(const TouchFixture&) = delete;
    TouchFixture& operator=(const TouchFixture&) = delete;

    kvengine::CCSet* at(float x, float y) {
        touch->setTouchInfo(0, x, y);
        return set;
    }

    kvengine::CCTouch* touch;
    kvengine::CCSet* set;
};

/// Collects log lines while alive.
class LogCapture {
public:
    LogCapture() {
        kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { kvengine::setDebugLogSink(nullptr); }
    std::vector<std::string> lines;
};

} // namespace kvtest
