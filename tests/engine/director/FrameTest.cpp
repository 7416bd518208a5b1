#include "engine/actions/CCActionManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/input/CCView.h"
#include "engine/input/EGLTouchDelegate.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCEGLView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

std::vector<std::string> g_trace;

class TraceWindow : public CCHeadlessWindow {
public:
    void swapBuffers() override {
        g_trace.push_back("swap");
        CCHeadlessWindow::swapBuffers();
    }
};

class TraceTouches : public EGLTouchDelegate {
public:
    void touchesBegan(CCSet*, CCEvent*) override { g_trace.push_back("touch began"); }
    void touchesMoved(CCSet*, CCEvent*) override { g_trace.push_back("touch moved"); }
    void touchesEnded(CCSet*, CCEvent*) override { g_trace.push_back("touch ended"); }
    void touchesCancelled(CCSet*, CCEvent*) override {}
};

class TraceScene : public CCScene {
public:
    static TraceScene* make(const std::string& name, int kind = kPlain) {
        auto* scene = new TraceScene(name);
        scene->m_sceneKind = kind;
        scene->init();
        scene->autorelease();
        return scene;
    }
    explicit TraceScene(std::string name) : m_name(std::move(name)) {}
    void onEnter() override {
        g_trace.push_back("enter " + m_name);
        CCScene::onEnter();
    }
    void onEnterTransitionDidFinish() override {
        g_trace.push_back("finish " + m_name);
        CCScene::onEnterTransitionDidFinish();
    }
    void onExit() override {
        g_trace.push_back("exit " + m_name);
        CCScene::onExit();
    }
    void cleanup() override {
        g_trace.push_back("cleanup " + m_name);
        CCScene::cleanup();
    }
    void draw() override { g_trace.push_back("draw " + m_name); }

private:
    std::string m_name;
};

class TraceView : public CCView {
public:
    void draw() override { g_trace.push_back("draw overlay"); }
};

/// Records each tick with the gesture clock and whether a removed observer was flushed.
class Ticker : public CCObject {
public:
    void update(float dt) override {
        deltas.push_back(dt);
        g_trace.push_back(
            std::string("tick clock>=0:") + (CCGestureRecognizer::getClock() >= 0.0f ? "1" : "0") +
            " observer:" + (CCNotificationCenter::getInstance()->isObserverKnown(&observer) ? "1" : "0"));
    }
    std::vector<float> deltas;
    CCObject observer;
};

class KeyObserver : public CCObject {
public:
    void onKey(CCNotification* n) {
        auto* name = static_cast<CCString*>(n->getUserInfo());
        // The same name is the notification's object.
        const bool same = n->getObject() == name;
        g_trace.push_back("key " + (name && same ? name->text : std::string("?")));
    }
    void onPause(CCNotification* n) { g_trace.push_back(n->getName()->text); }
};

class Dropped : public CCObject {
public:
    ~Dropped() override { g_trace.push_back("drain"); }
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_trace.clear();
        CCClock::setShared(&clock);
        clock.setMicroseconds(1'000'000);
        director = CCDirector::getInstance();
        auto window = std::make_unique<TraceWindow>();
        view = new CCEGLView(std::move(window));
        view->setFullScreen(true);
        ASSERT_TRUE(view->create("frame", 600, 800));
        director->setOpenGLView(view);
        director->updateOrientation();
        view->setTouchDelegate(&touches);
        CCScheduler::getInstance()->scheduleUpdateForTarget(&ticker, 0, false);
        auto* nc = CCNotificationCenter::getInstance();
        nc->addObserver(&keys, notification_selector(KeyObserver::onKey), ccEventKeyPress());
        nc->addObserver(&keys, notification_selector(KeyObserver::onPause), ccEventPauseGame());
        nc->addObserver(&keys, notification_selector(KeyObserver::onPause), ccEventResumeGame());
    }
    void TearDown() override {
        CCNotificationCenter::getInstance()->removeObserver(&keys);
        CCNotificationCenter::getInstance()->removeObserver(&ticker.observer);
        CCDirector::destroyInstance();
        CCNotificationCenter::purgeInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        CCClock::setShared(nullptr);
    }
    void frame(double seconds) {
        clock.advanceSeconds(seconds);
        director->mainLoop();
    }

    CCFakeClock clock;
    CCDirector* director = nullptr;
    CCEGLView* view = nullptr;
    TraceTouches touches;
    Ticker ticker;
    KeyObserver keys;
};

using Trace = std::vector<std::string>;

} // namespace

TEST_F(FrameTest, AFrameRunsItsStepsInOrder) {
    director->runWithScene(TraceScene::make("A"));
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"tick clock>=0:1 observer:0", "enter A", "finish A", "draw A", "swap"}));

    // Queue everything one frame handles: a removed observer, a click, a key, a scene switch and
    // an object for the pool.
    CCNotificationCenter::getInstance()->addObserver(
        &ticker.observer, notification_selector(KeyObserver::onKey), ccEventKeyPress());
    g_trace.clear();
    frame(0.02); // the key observer of the ticker is known during this frame
    CCNotificationCenter::getInstance()->removeObserver(&ticker.observer);
    view->handleEvent(CCPlatformEvent::mouse(CCEventType::MouseDown, 10, 10, kCCMouseLeft));
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Up));
    director->replaceScene(TraceScene::make("B"));
    (new Dropped())->autorelease();
    auto* overlay = new TraceView();
    overlay->initWithFrame(CCRect(0, 0, 10, 10));
    director->addOverlayView(overlay);
    g_trace.clear();
    frame(0.02);
    EXPECT_EQ(g_trace,
              (Trace{"tick clock>=0:1 observer:0", "touch began", "key TOUCH_UP", "exit A", "cleanup A",
                     "enter B", "finish B", "draw B", "draw overlay", "swap", "drain"}));
    director->removeOverlayView(overlay);
    overlay->release();
    EXPECT_EQ(director->getTotalFrames(), 3u);
}

TEST_F(FrameTest, DeltaComesFromTheClockAndIsNeverNegative) {
    director->runWithScene(TraceScene::make("A"));
    frame(0.5);
    frame(0.25);
    clock.advanceSeconds(-3.0); // a clock stepping backwards
    director->mainLoop();
    frame(20.0); // forwards: passed through unbounded
    ASSERT_EQ(ticker.deltas.size(), 4u);
    EXPECT_NEAR(ticker.deltas[0], 0.5f, 1e-3f);
    EXPECT_NEAR(ticker.deltas[1], 0.25f, 1e-3f);
    EXPECT_EQ(ticker.deltas[2], 0.0f);
    EXPECT_NEAR(ticker.deltas[3], 20.0f, 1e-3f);
}

TEST_F(FrameTest, PauseStopsTheTickButNotDrawingAndResumeStartsFresh) {
    director->runWithScene(TraceScene::make("A"));
    frame(0.02);
    g_trace.clear();
    director->pause();
    director->pause(); // once only
    EXPECT_EQ(g_trace, (Trace{"EVENT_PAUSE_GAME"}));
    EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 0.25);

    g_trace.clear();
    view->handleEvent(CCPlatformEvent::keyDown(CCKey::Space));
    view->handleEvent(CCPlatformEvent::mouse(CCEventType::MouseDown, 10, 10, kCCMouseLeft));
    frame(10.0);
    EXPECT_EQ(g_trace, (Trace{"touch began", "key TOUCH_SPACE", "draw A", "swap"})) << "no tick while paused";

    director->resume();
    EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 1.0 / 60.0);
    frame(0.005);
    ASSERT_EQ(ticker.deltas.size(), 2u);
    EXPECT_NEAR(ticker.deltas[1], 0.005f, 1e-4f) << "the first step after a resume is only the time since it";
}

TEST_F(FrameTest, KeyCodesArePostedInOrderAndUnknownCodesAreDropped) {
    director->runWithScene(TraceScene::make("A"));
    for (unsigned code : {3u, 0u, 9u, 6u})
        director->queueKeyCode(code);
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"tick clock>=0:1 observer:0", "key TOUCH_UP", "key TOUCH_ESCAPE",
                              "key TOUCH_SUBSTRAC", "enter A", "finish A", "draw A", "swap"}));
    EXPECT_TRUE(director->getQueuedKeyCodes().empty());
}

TEST_F(FrameTest, SwitchingToATransitionDoesNotExitTheOutgoingScene) {
    director->runWithScene(TraceScene::make("A"));
    frame(0.02);
    g_trace.clear();
    director->replaceScene(TraceScene::make("T", CCScene::kTransition));
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"tick clock>=0:1 observer:0", "enter T", "finish T", "draw T", "swap"}));
    g_trace.clear();
    director->replaceScene(TraceScene::make("B")); // out of a transition: B is not entered here
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"tick clock>=0:1 observer:0", "exit T", "cleanup T", "draw B", "swap"}));
}

TEST_F(FrameTest, ReplaceWithoutARunningSceneAndNullScenesAreRefused) {
    director->replaceScene(TraceScene::make("A"));
    director->runWithScene(nullptr);
    director->pushScene(nullptr);
    EXPECT_EQ(director->getNextScene(), nullptr);
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"tick clock>=0:1 observer:0", "swap"}));
}

TEST_F(FrameTest, CloseRequestPurgesInTheNextFrameAndEndsTheWindow) {
    CCScene* scene = TraceScene::make("A");
    scene->retain();
    director->runWithScene(scene);
    frame(0.02);
    g_trace.clear();
    view->handleEvent(CCPlatformEvent::make(CCEventType::WindowClose));
    frame(0.02);
    EXPECT_EQ(g_trace, (Trace{"exit A", "cleanup A"}));
    EXPECT_EQ(director->getOpenGLView(), nullptr);
    EXPECT_EQ(CCEGLView::getSharedView(), nullptr);
    EXPECT_EQ(CCScheduler::existingInstance(), nullptr);
    EXPECT_EQ(scene->retainCount(), 1u);
    g_trace.clear();
    frame(0.02);
    EXPECT_TRUE(g_trace.empty()) << "a purged director draws no further frames";
    scene->release();
}

TEST_F(FrameTest, ProjectionAndConversions) {
    EXPECT_EQ(director->getWinSize().width, 800.0f);
    EXPECT_EQ(director->getWinSize().height, 600.0f);
    const CCPoint gl = director->convertToGL(CCPoint(10, 50));
    EXPECT_EQ(gl.x, 10.0f);
    EXPECT_EQ(gl.y, 550.0f);
    const CCPoint ui = director->convertToUI(gl);
    EXPECT_EQ(ui.y, 50.0f);
    EXPECT_EQ(director->convertDeltaToGL(CCPoint(3, 4)).y, -4.0f);
    EXPECT_TRUE(director->enableDoubleContentScale());
    EXPECT_EQ(director->getWinSizeInPixels().width, 1600.0f);
    EXPECT_NEAR(director->getZEye(), 1200.0f / 1.1566f, 1e-2f);
    CCScene* scene = CCScene::create();
    EXPECT_EQ(scene->getContentSize().width, 800.0f);
    EXPECT_EQ(scene->getAnchorPoint().x, 0.5f);
    EXPECT_FALSE(scene->isRelativeAnchorPoint());
}

TEST_F(FrameTest, CursorStates) {
    auto* window = static_cast<CCHeadlessWindow*>(view->getWindow());
    struct Step {
        int state;
        int picture;
        bool systemShown;
    };
    const Step steps[] = {
        {1, CCDirector::kCursorOpenGrab, false},    {6, CCDirector::kCursorPointPressed, false},
        {8, CCDirector::kCursorPointPressed, true}, {5, CCDirector::kCursorPointPressed, true},
        {7, CCDirector::kCursorNone, false},        {8, CCDirector::kCursorNone, true},
        {4, CCDirector::kCursorPoint, false},       {42, CCDirector::kCursorPoint, false}};
    for (const Step& s : steps) {
        director->setCursor(s.state);
        EXPECT_EQ(director->getCurrentCursor(), s.picture) << "state " << s.state;
        EXPECT_EQ(director->isSystemCursorShown(), s.systemShown) << "state " << s.state;
        // The platform cursor follows the flag.
        EXPECT_EQ(window->isSystemCursorVisible(), s.systemShown) << "state " << s.state;
    }
}

TEST_F(FrameTest, CursorImageTakesOverFromTheSystemCursor) {
    auto* window = static_cast<CCHeadlessWindow*>(view->getWindow());
    struct Step {
        bool showSystemFirst;
        CCDirector::Cursor image;
        CCDirector::Cursor current;
    };
    const Step steps[] = {
        {true, CCDirector::kCursorOpen, CCDirector::kCursorOpen},
        {false, CCDirector::kCursorOpenGrab, CCDirector::kCursorOpenGrab},
        {true, CCDirector::kCursorNone, CCDirector::kCursorNone}, // a pull hides every cursor
        {false, CCDirector::kCursorPoint, CCDirector::kCursorPoint},
        {false, CCDirector::kCursorCount, CCDirector::kCursorNone}, // out of range: none
        {true, static_cast<CCDirector::Cursor>(-5), CCDirector::kCursorNone},
    };
    for (const Step& s : steps) {
        if (s.showSystemFirst) {
            director->setCursor(CCDirector::kCursorStateSystem);
            ASSERT_TRUE(window->isSystemCursorVisible());
        }
        director->setCursorImage(s.image);
        EXPECT_EQ(director->getCurrentCursor(), s.current) << "image " << s.image;
        EXPECT_FALSE(director->isSystemCursorShown()) << "image " << s.image;
        EXPECT_FALSE(window->isSystemCursorVisible()) << "image " << s.image;
    }
}

TEST_F(FrameTest, ExplicitShutdownReleasesEachServiceOnceAndCanRunTwice) {
    CCScene* scene = TraceScene::make("A");
    scene->retain();
    director->runWithScene(scene);
    frame(0.02);
    CCActionManager::getInstance();
    CCDirector::destroyInstance();
    EXPECT_EQ(CCDirector::existingInstance(), nullptr);
    EXPECT_EQ(CCScheduler::existingInstance(), nullptr);
    EXPECT_EQ(CCActionManager::existingInstance(), nullptr);
    EXPECT_EQ(CCEGLView::getSharedView(), nullptr);
    EXPECT_EQ(scene->retainCount(), 1u);
    CCDirector::destroyInstance(); // nothing left: harmless
    scene->release();
}

TEST_F(FrameTest, FrameRateLabelShowsTheRateOfTheLastTenthOfASecondWhenSwitchedOn) {
    director->runWithScene(TraceScene::make("A"));
    frame(0.5);
    CCLabelTTF* label = director->getFrameRateLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_STREQ(label->getString(), "00.0");
    for (int i = 0; i < 3; ++i)
        frame(0.05); // switched off: nothing is counted
    EXPECT_STREQ(label->getString(), "00.0");

    director->setDisplayFPS(true);
    const struct {
        double delta;
        const char* text;
    } frames[] = {
        {0.05, "00.0"}, {0.05, "00.0"}, // 0.1 s is not yet more than a tenth
        {0.05, "20.0"},                 // 3 frames in 0.15 s
        {0.3, "3.3"},                   // counters started again: 1 frame in 0.3 s
        {0.04, "3.3"},  {0.04, "3.3"},  {0.04, "25.0"},
    };
    for (const auto& f : frames) {
        frame(f.delta);
        EXPECT_STREQ(label->getString(), f.text) << "after a frame of " << f.delta << " s";
        if (std::string(f.text) != "00.0") {
            EXPECT_EQ(director->getFrameRateText(), f.text);
        }
    }

    // A new content scale makes the label again at the new scale.
    EXPECT_TRUE(director->enableDoubleContentScale());
    ASSERT_NE(director->getFrameRateLabel(), nullptr);
    EXPECT_STREQ(director->getFrameRateLabel()->getString(), "00.0");
    frame(0.2);
    EXPECT_STREQ(director->getFrameRateLabel()->getString(), "5.0");

    director->requestPurge();
    director->mainLoop();
    EXPECT_EQ(director->getFrameRateLabel(), nullptr);
}
