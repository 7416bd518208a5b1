#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "InputTestSupport.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCIMEDelegate.h"
#include "engine/input/CCKeypadDispatcher.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCView.h"
#include "engine/platform/CCEGLView.h"

using namespace kvengine;

namespace {

class PhaseRecorder : public CCTouchDelegate {
public:
    bool touchBegan(CCTouch* touch, CCEvent*) override {
        record("began", touch);
        return true;
    }
    void touchMoved(CCTouch* touch, CCEvent*) override { record("moved", touch); }
    void touchEnded(CCTouch* touch, CCEvent*) override { record("ended", touch); }
    void touchesBegan(CCSet* touches, CCEvent*) override {
        viewIds.push_back(static_cast<CCTouch*>(touches->anyObject())->getViewId());
    }
    void record(const char* phase, CCTouch* touch) {
        phases.push_back(phase);
        xs.push_back(touch->getLocationInView().x);
    }
    std::vector<std::string> phases;
    std::vector<float> xs;
    std::vector<int> viewIds;
};

class TapCounter : public CCObject {
public:
    void onTap(CCGestureRecognizer* recognizer, CCNode*) {
        ++taps;
        location = static_cast<CCTapGestureRecognizer*>(recognizer)->getLocation();
    }
    int taps = 0;
    CCPoint location;
};

class KeyRecorder : public CCKeypadDelegate {
public:
    void keyPressed(int keyCode) override { codes.push_back(keyCode); }
    std::vector<int> codes;
};

class TextField : public CCIMEDelegate {
public:
    bool acceptsInputFocus() override { return true; }
    bool allowsInputFocusLoss() override { return true; }
    void receiveText(const char* chars, int length) override {
        text.append(chars, static_cast<size_t>(length));
    }
    void receiveBackspace() override { text += "<bs>"; }
    std::string text;
};

/// A director with a headless window, driven frame by frame on a fake clock.
class FrameInputTest : public testing::Test {
protected:
    void SetUp() override {
        CCClock::setShared(&clock);
        clock.setMicroseconds(1000000);
        CCGestureRecognizer::resetClock();
        director = CCDirector::getInstance();
        view = new CCEGLView(std::make_unique<CCHeadlessWindow>(1600, 1200));
        view->setFullScreen(true);
        ASSERT_TRUE(view->create("input", 600, 800));
        director->setOpenGLView(view);
        director->updateOrientation();
    }
    void TearDown() override {
        CCKeypadDispatcher::getInstance()->removeDelegate(&keys);
        CCDirector::destroyInstance();
        CCNotificationCenter::purgeInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        CCGestureRecognizer::resetClock();
        CCClock::setShared(nullptr);
    }
    void frame() {
        clock.advanceSeconds(1.0 / 60.0);
        director->mainLoop();
    }
    void mouse(CCEventType type, int x, int y) {
        view->handleEvent(
            CCPlatformEvent::mouse(type, x, y, type == CCEventType::MouseUp ? 0u : kCCMouseLeft));
    }

    kvengine::CCFakeClock clock;
    CCDirector* director = nullptr;
    CCEGLView* view = nullptr;
    KeyRecorder keys;
};

} // namespace

TEST_F(FrameInputTest, MouseEventsReachTheDispatcherInOrderOneReleasePerFrame) {
    PhaseRecorder recorder;
    TapCounter* counter = new TapCounter();
    CCTouchDelegate tapOwner;
    CCTapGestureRecognizer* tap = new CCTapGestureRecognizer();
    tap->setCallback(counter, gesture_selector(TapCounter::onTap));
    tapOwner.addGestureRecognizer(tap);
    CCTouchDispatcher::getInstance()->addTargetedDelegate(&recorder, 0, false);
    CCTouchDispatcher::getInstance()->addStandardDelegate(&tapOwner);

    frame();
    mouse(CCEventType::MouseDown, 100, 100);
    mouse(CCEventType::MouseMove, 110, 100);
    mouse(CCEventType::MouseUp, 110, 100);
    mouse(CCEventType::MouseDown, 300, 100); // after a release: waits for the next frame
    mouse(CCEventType::MouseUp, 300, 100);
    frame();
    EXPECT_EQ(recorder.phases, (std::vector<std::string>{"began", "moved", "ended"}));
    EXPECT_EQ(counter->taps, 1);
    frame();
    EXPECT_EQ(recorder.phases, (std::vector<std::string>{"began", "moved", "ended", "began", "ended"}));
    ASSERT_EQ(recorder.xs.size(), 5u);
    EXPECT_LT(recorder.xs[0], recorder.xs[1]);
    EXPECT_LT(recorder.xs[2], recorder.xs[3]);
    EXPECT_EQ(counter->taps, 2);
    EXPECT_FLOAT_EQ(counter->location.x, recorder.xs[3]);
    frame();
    EXPECT_EQ(recorder.phases.size(), 5u);

    CCTouchDispatcher::getInstance()->removeAllDelegates();
    CCAutoreleasePoolStack::getInstance().clearAllPools(); // handlers die before the delegates
    tap->release();
    counter->release();
}

TEST_F(FrameInputTest, TouchesCarryTheIdOfTheTopmostOverlayViewUnderThem) {
    const CCSize win = director->getWinSize();
    ASSERT_GT(win.height, 0.0f);
    CCView* below = new CCView();
    CCView* above = new CCView();
    below->initWithFrame(CCRect(0, 0, 400, 300));
    above->initWithFrame(CCRect(0, 0, 400, 300));
    above->setPosition(CCPoint(200, 100));
    director->addOverlayView(below);
    director->addOverlayView(above);
    EXPECT_TRUE(above->isRunning());

    const struct {
        float glX, glY;
        int expected;
    } cases[] = {{300, 150, above->getViewId()},
                 {50, 50, below->getViewId()},
                 {400, 300, above->getViewId()}, // edges count
                 {700, 500, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glX << ", " << c.glY);
        EXPECT_EQ(director->overlayViewIdAtPoint(CCPoint(c.glX, c.glY)), c.expected);
    }

    // The dispatcher stamps each touch before anyone sees it (window y runs downwards).
    PhaseRecorder recorder;
    CCTouchDispatcher::getInstance()->addStandardDelegate(&recorder);
    kvtest::TouchFixture touch;
    CCTouchDispatcher::getInstance()->touchesBegan(touch.at(50, win.height - 50), nullptr);
    CCTouchDispatcher::getInstance()->touchesBegan(touch.at(700, win.height - 500), nullptr);
    EXPECT_EQ(recorder.viewIds, (std::vector<int>{below->getViewId(), 0}));

    above->removeFromDirector();
    EXPECT_FALSE(above->isRunning());
    EXPECT_EQ(director->overlayViewIdAtPoint(CCPoint(300, 150)), below->getViewId());
    director->removeOverlayView(above); // no longer there: nothing happens
    CCTouchDispatcher::getInstance()->removeAllDelegates();
    CCAutoreleasePoolStack::getInstance().clearAllPools(); // handlers die before the delegates
    above->release();
    below->release();
}

TEST_F(FrameInputTest, KeysReachNotificationsAndKeypadDelegatesTextReachesTheFocusedField) {
    CCKeypadDispatcher::getInstance()->addDelegate(&keys);
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Escape));
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Left));
    frame();
    EXPECT_EQ(keys.codes, (std::vector<int>{0, 2}));

    TextField field;
    ASSERT_TRUE(field.requestInputFocus());
    view->handleEvent(CCPlatformEvent::textInput("h\xC3\xA9"));
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Backspace));
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Return));
    EXPECT_EQ(field.text, "h\xC3\xA9<bs>\n");
    EXPECT_TRUE(field.releaseInputFocus());
}
