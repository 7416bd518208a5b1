#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/platform/CCApplication.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCEGLView.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

class TestApp;

/// A headless window that reports each swap to its application.
class SwapWindow : public CCHeadlessWindow {
public:
    explicit SwapWindow(TestApp* app) : CCHeadlessWindow(1920, 1080), m_app(app) {}
    void swapBuffers() override;

private:
    TestApp* m_app;
};

/// Runs the game's start-up order on a headless window and records every frame.
class TestApp : public CCApplication {
public:
    explicit TestApp(CCFakeClock& clock) : m_clock(clock) {}

    bool initInstance() override {
        if (failInit) return false;
        auto window = std::make_unique<SwapWindow>(this);
        headless = window.get();
        view = new CCEGLView(std::move(window));
        view->setFullScreen(true);
        if (!view->create("run loop", 600, 960)) return false;
        return true;
    }
    bool finishLaunching() override {
        CCDirector* director = CCDirector::getInstance();
        director->enableDoubleContentScale();
        director->setOpenGLView(view);
        director->updateOrientation();
        director->setAnimationInterval(1.0 / 60.0);
        director->runWithScene(CCScene::create());
        CCScheduler::getInstance()->scheduleUpdateForTarget(&frameProbe, 0, false);
        return true;
    }
    void pauseApplication() override {}
    void resumeApplication() override {}

    struct FrameProbe : public CCObject {
        TestApp* app = nullptr;
        void update(float) override { app->onFrame(); }
    } frameProbe;

    void onFrame() {
        frameTimes.push_back(m_clock.counter());
        keysSeen.push_back(CCDirector::getInstance()->getQueuedKeyCodes().size());
        if (inFrame) inFrame(static_cast<int>(frameTimes.size()));
    }

    bool failInit = false;
    CCHeadlessWindow* headless = nullptr;
    CCEGLView* view = nullptr;
    std::vector<int64_t> frameTimes;
    std::vector<size_t> keysSeen; // key codes waiting when the scheduler ticks
    std::function<void(int)> inFrame;
    std::function<void()> onSwap;

private:
    CCFakeClock& m_clock;
};

void SwapWindow::swapBuffers() {
    CCHeadlessWindow::swapBuffers();
    if (m_app->onSwap) m_app->onSwap();
}

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCClock::setShared(&clock);
        clock.setMicroseconds(5'000'000);
        clock.setYieldStep(1000);
        app = std::make_unique<TestApp>(clock);
        app->frameProbe.app = app.get();
    }
    void TearDown() override {
        app.reset();
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        CCClock::setShared(nullptr);
    }
    CCFakeClock clock;
    std::unique_ptr<TestApp> app;
};

} // namespace

TEST_F(RunLoopTest, FramesArePacedByTheIntervalAndCloseEndsTheLoop) {
    app->inFrame = [&](int n) {
        if (n == 5) app->headless->push(CCPlatformEvent::make(CCEventType::WindowClose));
    };
    EXPECT_EQ(app->run(), 0);
    ASSERT_EQ(app->frameTimes.size(), 5u);
    const int64_t interval = 1'000'000 / 60;
    for (size_t i = 1; i < app->frameTimes.size(); ++i) {
        const int64_t gap = app->frameTimes[i] - app->frameTimes[i - 1];
        EXPECT_GT(gap, interval) << "frame " << i;
        EXPECT_LE(gap, interval + 1000) << "frame " << i;
    }
    EXPECT_EQ(CCEGLView::getSharedView(), nullptr);
    EXPECT_TRUE(CCDirector::getInstance()->isPurged());
}

TEST_F(RunLoopTest, WaitingEventsAreHandledBeforeTheNextFrame) {
    app->inFrame = [&](int n) {
        if (n == 1) {
            // Two events wait and the interval has already passed when the frame ends.
            app->headless->push(CCPlatformEvent::keyDown(CCKey::Up));
            app->headless->push(CCPlatformEvent::keyDown(CCKey::Down));
            clock.advanceSeconds(0.1);
        }
        if (n == 2) app->headless->push(CCPlatformEvent::make(CCEventType::WindowClose));
    };
    EXPECT_EQ(app->run(), 0);
    ASSERT_EQ(app->keysSeen.size(), 2u);
    EXPECT_EQ(app->keysSeen[1], 2u);
}

TEST_F(RunLoopTest, PauseSlowsFramesToAQuarterSecondAndStillDraws) {
    app->inFrame = [&](int n) {
        if (n == 2) CCDirector::getInstance()->pause();
    };
    std::vector<int64_t> pausedSwaps;
    app->onSwap = [&] {
        if (!CCDirector::getInstance()->isPaused()) return;
        pausedSwaps.push_back(clock.counter());
        if (pausedSwaps.size() == 4) app->headless->push(CCPlatformEvent::make(CCEventType::WindowClose));
    };
    EXPECT_EQ(app->run(), 0);
    EXPECT_EQ(app->frameTimes.size(), 2u) << "no scheduler tick while paused";
    ASSERT_EQ(pausedSwaps.size(), 4u);
    for (size_t i = 1; i < pausedSwaps.size(); ++i) {
        const int64_t gap = pausedSwaps[i] - pausedSwaps[i - 1];
        EXPECT_GT(gap, 250'000);
        EXPECT_LE(gap, 251'000);
    }
}

TEST_F(RunLoopTest, FailedStartUpEndsWithAnErrorCodeAndALogLine) {
    app->failInit = true;
    std::vector<std::string> lines;
    setDebugLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(app->run(), 1);
    setDebugLogSink(nullptr);
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(RunLoopTest, AFrameIntervalBecomesClockTicks) {
    app->setAnimationInterval(0.25);
    EXPECT_EQ(app->getAnimationIntervalTicks(), 250'000);
    EXPECT_EQ(CCApplication::getSharedApplication(), app.get());
}
