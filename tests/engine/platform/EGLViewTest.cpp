#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/EGLTouchDelegate.h"
#include "engine/platform/CCEGLView.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

struct Delivered {
    std::string phase;
    float x, y;
};

class RecordingTouches : public EGLTouchDelegate {
public:
    void touchesBegan(CCSet* s, CCEvent*) override { record("began", s); }
    void touchesMoved(CCSet* s, CCEvent*) override { record("moved", s); }
    void touchesEnded(CCSet* s, CCEvent*) override { record("ended", s); }
    void touchesCancelled(CCSet* s, CCEvent*) override { record("cancelled", s); }
    std::vector<Delivered> delivered;

private:
    void record(const char* phase, CCSet* set) {
        auto* touch = static_cast<CCTouch*>(set->anyObject());
        ASSERT_NE(touch, nullptr);
        const CCPoint p = touch->getLocationInView();
        delivered.push_back({phase, p.x, p.y});
    }
};

std::vector<std::string> phases(const std::vector<Delivered>& d) {
    std::vector<std::string> out;
    for (const Delivered& e : d)
        out.push_back(e.phase);
    return out;
}

class EGLViewTest : public ::testing::Test {
public:
    void SetUp() override { open(1920, 1080, 600, 960); }
    void TearDown() override {
        view.reset();
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    void open(int desktopW, int desktopH, int frameW, int frameH, bool fullScreen = true) {
        view.reset();
        auto window = std::make_unique<CCHeadlessWindow>(desktopW, desktopH);
        headless = window.get();
        view = std::make_unique<CCEGLView>(std::move(window));
        view->setFullScreen(fullScreen);
        ASSERT_TRUE(view->create("test", frameW, frameH));
        view->syncOrientation();
        view->setTouchDelegate(&touches);
    }
    void send(const CCPlatformEvent& e) { view->handleEvent(e); }
    void press(int x, int y, unsigned flags = kCCMouseLeft) {
        send(CCPlatformEvent::mouse(CCEventType::MouseDown, x, y, flags));
    }
    void move(int x, int y, unsigned flags = kCCMouseLeft) {
        send(CCPlatformEvent::mouse(CCEventType::MouseMove, x, y, flags));
    }
    void lift(int x, int y) { send(CCPlatformEvent::mouse(CCEventType::MouseUp, x, y, 0)); }
    std::vector<unsigned> takeKeys() {
        std::vector<unsigned> keys = CCDirector::getInstance()->getQueuedKeyCodes();
        CCDirector::getInstance()->drawScene(); // posts and empties the queue
        return keys;
    }

    RecordingTouches touches;
    CCHeadlessWindow* headless = nullptr;
    std::unique_ptr<CCEGLView> view;
};

using Phases = std::vector<std::string>;
using Codes = std::vector<unsigned>;

} // namespace

TEST_F(EGLViewTest, PictureCoversTheDesktopStretchedInXAndY) {
    struct Case {
        int desktopW, desktopH, frameW, frameH;
        float scaleX, scaleY;
        CCPictureRect rect;
    };
    const Case cases[] = {
        {1920, 1080, 600, 960, 2.0f, 1.8f, {0, 0, 1920, 1080}},
        {1920, 1080, 600, 800, 2.4f, 1.8f, {0, 0, 1920, 1080}},
        {1600, 1200, 600, 800, 2.0f, 2.0f, {0, 0, 1600, 1200}},
        {1024, 768, 600, 800, 1.28f, 1.28f, {0, 0, 1024, 768}},
    };
    for (const Case& c : cases) {
        open(c.desktopW, c.desktopH, c.frameW, c.frameH);
        SCOPED_TRACE(std::to_string(c.desktopW) + "x" + std::to_string(c.desktopH));
        EXPECT_FLOAT_EQ(view->getScaleX(), c.scaleX);
        EXPECT_FLOAT_EQ(view->getScaleY(), c.scaleY);
        const CCPictureRect& r = view->getPictureRect();
        EXPECT_EQ(r.left, c.rect.left);
        EXPECT_EQ(r.top, c.rect.top);
        EXPECT_EQ(r.right, c.rect.right);
        EXPECT_EQ(r.bottom, c.rect.bottom);
        EXPECT_TRUE(view->isOrientationSwapped());
        EXPECT_EQ(view->getSize().width, static_cast<float>(c.frameH));
    }
}

TEST_F(EGLViewTest, AClickBecomesATouchInPoints) {
    press(960, 540);
    lift(960, 540);
    view->dispatchQueuedTouches();
    ASSERT_EQ(touches.delivered.size(), 2u);
    EXPECT_FLOAT_EQ(touches.delivered[0].x, 480.0f);
    EXPECT_FLOAT_EQ(touches.delivered[0].y, 300.0f);
}

TEST_F(EGLViewTest, OneFrameDeliversUpToTheFirstRelease) {
    struct Case {
        const char* name;
        std::function<void(EGLViewTest*)> input;
        Phases firstFrame, secondFrame;
    };
    const Case cases[] = {
        {"press, move, release in one frame",
         [](EGLViewTest* t) {
             t->press(10, 10);
             t->move(20, 20);
             t->lift(20, 20);
         },
         {"began", "moved", "ended"},
         {}},
        {"release then press: the press waits",
         [](EGLViewTest* t) {
             t->press(10, 10);
             t->lift(10, 10);
             t->press(30, 30);
         },
         {"began", "ended"},
         {"began"}},
        {"shift held while dragging: no moves",
         [](EGLViewTest* t) {
             t->press(10, 10);
             t->move(20, 20, kCCMouseLeft | kCCMouseShift);
             t->lift(20, 20);
         },
         {"began", "ended"},
         {}},
        {"a press outside the picture is ignored and so is its release",
         [](EGLViewTest* t) {
             t->press(-5, 10);
             t->lift(10, 10);
         },
         {},
         {}},
        {"Alt held: no press",
         [](EGLViewTest* t) {
             t->send(CCPlatformEvent::make(CCEventType::SysKeyDown));
             t->press(10, 10);
             t->lift(10, 10);
             t->send(CCPlatformEvent::make(CCEventType::SysKeyUp));
         },
         {},
         {}},
        {"a second button pressed too: ignored",
         [](EGLViewTest* t) {
             t->press(10, 10, kCCMouseLeft | kCCMouseRight);
             t->lift(10, 10);
         },
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(1920, 1080, 600, 960);
        touches.delivered.clear();
        c.input(this);
        view->dispatchQueuedTouches();
        EXPECT_EQ(phases(touches.delivered), c.firstFrame);
        touches.delivered.clear();
        view->dispatchQueuedTouches();
        EXPECT_EQ(phases(touches.delivered), c.secondFrame);
    }
}

TEST_F(EGLViewTest, DragsPastTheTopLeftEdgeKeepNegativeCoordinates) {
    press(100, 100);
    move(-30, -40);
    lift(-30, -40);
    view->dispatchQueuedTouches();
    ASSERT_EQ(touches.delivered.size(), 3u);
    EXPECT_FLOAT_EQ(touches.delivered[1].x, -15.0f);
    EXPECT_NEAR(touches.delivered[1].y, -40.0f / 1.8f, 1e-4f);
    EXPECT_EQ(view->getPendingReleases(), 0);
}

TEST_F(EGLViewTest, AtMostFourReleasesWait) {
    for (int i = 0; i < 6; ++i) {
        press(10, 10);
        lift(10, 10);
    }
    EXPECT_EQ(view->getPendingReleases(), 4);
    EXPECT_FALSE(view->isCaptured()) << "a dropped release still releases the capture";
    EXPECT_FALSE(headless->isMouseCaptured());
    int frames = 0;
    while (!view->getQueuedMouseEvents().empty() && frames < 10) {
        view->dispatchQueuedTouches();
        ++frames;
    }
    EXPECT_EQ(frames, 4);
    EXPECT_EQ(view->getPendingReleases(), 0);
    EXPECT_EQ(touches.delivered.size(), 8u);
}

TEST_F(EGLViewTest, KeysWheelAndAltMovesBecomeKeyCodes) {
    struct Case {
        const char* name;
        std::function<void(EGLViewTest*)> input;
        Codes codes;
    };
    const Case cases[] = {
        {"arrows and letters",
         [](EGLViewTest* t) {
             for (CCKey k : {CCKey::Right, CCKey::A, CCKey::Z, CCKey::S, CCKey::KeypadPlus,
                             CCKey::KeypadMinus, CCKey::Space, CCKey::Escape})
                 t->send(CCPlatformEvent::keyDown(k));
         },
         {1, 2, 3, 4, 5, 6, 7, 0}},
        {"auto-repeat queues one code per key-down",
         [](EGLViewTest* t) {
             for (int i = 0; i < 3; ++i)
                 t->send(CCPlatformEvent::keyDown(CCKey::Up));
         },
         {3, 3, 3}},
        {"blocked keys drop space and Escape only",
         [](EGLViewTest* t) {
             t->view->setKeysBlocked(true);
             for (CCKey k : {CCKey::Space, CCKey::Escape, CCKey::Left})
                 t->send(CCPlatformEvent::keyDown(k));
             t->view->setKeysBlocked(false);
         },
         {2}},
        {"wheel forward and back, ignored while the button is down",
         [](EGLViewTest* t) {
             CCPlatformEvent wheel = CCPlatformEvent::make(CCEventType::MouseWheel);
             wheel.wheel = 1;
             t->send(wheel);
             wheel.wheel = -2;
             t->send(wheel);
             t->press(10, 10);
             t->send(wheel);
             t->lift(10, 10);
         },
         {5, 6}},
        {"Alt + moving up zooms in, down zooms out",
         [](EGLViewTest* t) {
             t->move(50, 100, 0);
             t->send(CCPlatformEvent::make(CCEventType::SysKeyDown));
             t->move(50, 95, 0);
             t->move(50, 90, 0);
             t->move(60, 90, 0);
             t->move(50, 99, 0);
             t->send(CCPlatformEvent::make(CCEventType::SysKeyUp));
             t->move(50, 50, 0);
         },
         {5, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.input(this);
        EXPECT_EQ(takeKeys(), c.codes);
    }
}

TEST_F(EGLViewTest, FocusPausesWhenAskedAndCloseRequestsThePurge) {
    CCDirector* director = CCDirector::getInstance();
    send(CCPlatformEvent::make(CCEventType::FocusLost));
    EXPECT_FALSE(director->isPaused()) << "pausing on focus loss is off by default";
    view->setPauseOnFocusLoss(true);
    send(CCPlatformEvent::make(CCEventType::FocusLost));
    EXPECT_TRUE(director->isPaused());
    EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 0.25);
    send(CCPlatformEvent::make(CCEventType::FocusGained));
    EXPECT_FALSE(director->isPaused());
    EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 1.0 / 60.0);
    send(CCPlatformEvent::make(CCEventType::WindowClose));
    EXPECT_TRUE(director->isPurgeRequested());
}

TEST_F(EGLViewTest, CreatingTwiceOrWithABadFrameFails) {
    EXPECT_FALSE(view->create("again", 600, 960));
    CCEGLView other(std::make_unique<CCHeadlessWindow>());
    EXPECT_FALSE(other.create("bad", 0, 960));
    EXPECT_EQ(CCEGLView::getSharedView(), view.get());
}

// The window holds the mouse from press to release: a release outside the window still comes,
// and a focus lost mid-drag (the platform then drops the capture) ends the touch where it was.
TEST_F(EGLViewTest, TheMouseIsCapturedWhileTheButtonIsDownSoTheTouchAlwaysEnds) {
    press(100, 100);
    EXPECT_TRUE(headless->isMouseCaptured());
    move(-300, 1500);
    lift(-300, 1500); // outside the window
    EXPECT_FALSE(headless->isMouseCaptured());
    view->dispatchQueuedTouches();
    EXPECT_EQ(phases(touches.delivered), (Phases{"began", "moved", "ended"}));
    EXPECT_FLOAT_EQ(touches.delivered[2].x, -150.0f);

    touches.delivered.clear();
    press(100, 100);
    move(200, 180);
    send(CCPlatformEvent::make(CCEventType::FocusLost));
    EXPECT_FALSE(headless->isMouseCaptured());
    EXPECT_FALSE(view->isButtonDown());
    lift(200, 180); // the release that reaches the window later changes nothing
    view->dispatchQueuedTouches();
    EXPECT_EQ(phases(touches.delivered), (Phases{"began", "moved", "ended"}));
    EXPECT_FLOAT_EQ(touches.delivered[2].x, 100.0f);
    EXPECT_FLOAT_EQ(touches.delivered[2].y, 100.0f);

    touches.delivered.clear();
    press(-5, 10); // outside the picture: no touch and no capture
    EXPECT_FALSE(headless->isMouseCaptured());
    press(10, 10);
    view->destroyWindowAndContext();
    EXPECT_FALSE(headless->isMouseCaptured()) << "closing the window lets the mouse go";
}

TEST_F(EGLViewTest, AWindowIsCentredInTheWorkAreaAndRaisedWhenShown) {
    struct Case {
        const char* name;
        int workX, workY, workW, workH;
        int marginW, marginH;
        int x, y;
    };
    // The 600 x 960 frame is shown landscape: 960 x 600 client pixels.
    const Case cases[] = {
        {"whole desktop, no frame", 0, 0, 1920, 1080, 0, 0, 480, 240},
        {"task bar on the left, title bar and borders", 64, 0, 1856, 1080, 8, 30, 508, 225},
        {"work area smaller than the window", 0, 40, 800, 560, 8, 30, 0, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open(1920, 1080, 600, 960, false);
        headless->setWorkArea(c.workX, c.workY, c.workW, c.workH);
        headless->setFrameMargins(c.marginW, c.marginH);
        view->centerWindow();
        EXPECT_EQ(headless->getPositionX(), c.x);
        EXPECT_EQ(headless->getPositionY(), c.y);
    }

    open(1920, 1080, 600, 960, true);
    headless->setWorkArea(64, 0, 1856, 1080);
    view->centerWindow();
    EXPECT_EQ(headless->getPositionX(), 0) << "a full-screen window stays over the whole desktop";

    EXPECT_EQ(headless->raiseCount(), 0);
    send(CCPlatformEvent::make(CCEventType::WindowShown));
    EXPECT_EQ(headless->raiseCount(), 1);
}
