#pragma once
// The menu services in a real GL context: the built resource folder (sheets, fonts, English
// texts), a director driven frame by frame by a fake clock, a plain base scene running, and the
// game's shared objects made fresh for each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/platform/CCClock.h"
#include "support/GLFixture.h"

namespace kvengine {
class CCDirector;
class CCNode;
class CCNotification;
class CCScene;
class CCSet;
class CCString;
class CCTouch;
} // namespace kvengine

namespace menutest {

/// Records the notifications it observes, by name.
class Recorder : public kvengine::CCObject {
public:
    ~Recorder() override;
    void observe(kvengine::CCString* name);
    void onNotification(kvengine::CCNotification* notification);
    int count(const std::string& name) const;
    std::vector<std::string> names;
};

class MenuFixture : public kvtest::GLFixture {
protected:
    static constexpr int kWidth = 960;
    static constexpr int kHeight = 600;

    MenuFixture() : GLFixture(kWidth, kHeight) {}
    /// Needs the built resource folder (skipped without it, failed under CI).
    void setUpWithGL() override;
    void tearDownWithGL() override;

    /// One frame of 1/60 s.
    void frame();
    /// Frames for `seconds` of game time.
    void run(float seconds);
    /// A tap (down and up) at a point of the window in points, y growing upwards.
    void tap(float x, float y);
    void press(float x, float y);
    void move(float x, float y);
    void lift(float x, float y);
    /// The world position of a node's centre (of a button: of its item).
    static kvengine::CCPoint centreOf(kvengine::CCNode* node);
    /// The first child of the running scene that is kind of `className` (a screen's view, after
    /// the frame that runs its scene); null when there is none.
    kvengine::CCNode* runningChild(const char* className) const;
    template <typename View> View* runningView(const char* className) const {
        return static_cast<View*>(runningChild(className));
    }
    /// Saves the back buffer as build/screenshots/<name> for a person to look at.
    void screenshot(const std::string& name) const;

    kvengine::CCDirector* director = nullptr;
    kvengine::CCScene* base = nullptr;

private:
    kvengine::CCSet* at(float x, float y);
    kvengine::CCFakeClock m_clock;
    kvengine::CCTouch* m_touch = nullptr;
    kvengine::CCSet* m_touches = nullptr;
};

} // namespace menutest
