#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCCamera.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCTransitionCrossFade.h"
#include "engine/director/CCTransitionFade.h"
#include "engine/director/CCTransitionFlip.h"
#include "engine/director/CCTransitionMoveIn.h"
#include "engine/director/CCTransitionRotateZoom.h"
#include "engine/director/CCTransitionTiles.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCGL.h"
#include "support/GLFixture.h"

using namespace kvengine;

namespace {

using Journal = std::vector<std::string>;

// A scene covered by one colour that writes its lifecycle calls into a journal.
class JournalScene : public CCScene {
public:
    static JournalScene* create(const std::string& name, const ccColor4B& colour, Journal* journal) {
        JournalScene* scene = new JournalScene();
        scene->init();
        scene->m_name = name;
        scene->m_journal = journal;
        scene->addChild(CCLayerColor::createCoveringWindow(colour));
        scene->autorelease();
        return scene;
    }
    void onEnter() override {
        write("enter");
        CCScene::onEnter();
    }
    void onEnterTransitionDidFinish() override {
        write("enterDone");
        CCScene::onEnterTransitionDidFinish();
    }
    void onExit() override {
        write("exit");
        CCScene::onExit();
    }
    void cleanup() override {
        write("cleanup");
        CCScene::cleanup();
    }

private:
    void write(const char* what) { m_journal->push_back(m_name + ":" + what); }
    std::string m_name;
    Journal* m_journal = nullptr;
};

ccColor4B rgba(uint8_t r, uint8_t g, uint8_t b) {
    ccColor4B colour;
    colour.r = r;
    colour.g = g;
    colour.b = b;
    colour.a = 255;
    return colour;
}

bool touchesOn() {
    return CCTouchDispatcher::getInstance()->isDispatchEvents();
}

// Two colour scenes under a director driven by a fake clock, one frame = 1/8 s, drawn into a
// small off-screen GL context.
class TransitionTest : public kvtest::GLFixture {
protected:
    TransitionTest() : GLFixture(kWidth, kHeight) {}
    void setUpWithGL() override {
        CCClock::setShared(&m_clock);
        // The blending the director leaves between nodes (premultiplied alpha).
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        CCAutoreleasePoolStack::getInstance().push();
        director = CCDirector::getInstance();
        director->setWinSizeInPoints(CCSize(kWidth, kHeight));
        red = JournalScene::create("red", rgba(255, 0, 0), &journal);
        blue = JournalScene::create("blue", rgba(0, 0, 255), &journal);
        red->retain();
        blue->retain();
        director->runWithScene(red);
        frame();
    }
    void tearDownWithGL() override {
        CCDirector::destroyInstance();
        red->release();
        blue->release();
        CCAutoreleasePoolStack::getInstance().pop();
        CCClock::setShared(nullptr);
    }

    void frame() {
        m_clock.advanceMicroseconds(125000);
        director->mainLoop();
    }
    kvtest::RGBA centre() const { return gl.pixel(kWidth / 2, kHeight / 2); }

    // Frames until the director runs `scene` (at most `limit`); checks that touches stay off while
    // the transition is the running scene.
    bool runUntil(CCScene* scene, int limit) {
        for (int i = 0; i < limit && director->getRunningScene() != scene; ++i) {
            frame();
            if (director->getRunningScene() != scene) {
                EXPECT_FALSE(touchesOn()) << "frame " << i;
            }
        }
        return director->getRunningScene() == scene;
    }

    static constexpr int kWidth = 80;
    static constexpr int kHeight = 60;
    CCDirector* director = nullptr;
    JournalScene* red = nullptr;
    JournalScene* blue = nullptr;
    Journal journal;

private:
    CCFakeClock m_clock;
};

} // namespace

TEST_F(TransitionTest, FadeGoesThroughBlackWithTouchesOffAndTheScenesInOrder) {
    EXPECT_EQ(centre(), (kvtest::RGBA{255, 0, 0, 255}));
    EXPECT_EQ(journal, (Journal{"red:enter", "red:enterDone"}));

    CCTransitionFade* fade = CCTransitionFade::create(0.5f, blue);
    ASSERT_NE(fade, nullptr);
    EXPECT_TRUE(touchesOn()); // only running the transition switches touches off
    director->replaceScene(fade);

    frame(); // the fade becomes the running scene and enters with the incoming scene
    EXPECT_EQ(director->getRunningScene(), fade);
    EXPECT_FALSE(touchesOn());
    EXPECT_EQ(journal, (Journal{"red:enter", "red:enterDone", "blue:enter"}));
    EXPECT_EQ(centre(), (kvtest::RGBA{255, 0, 0, 255}));

    for (int i = 0; i < 3; ++i)
        frame(); // 0.25 s into the fade: its midpoint
    EXPECT_EQ(centre(), (kvtest::RGBA{0, 0, 0, 255}));
    EXPECT_FALSE(red->isVisible());
    EXPECT_TRUE(blue->isVisible());

    frame(); // on the way back the incoming scene shows through
    kvtest::RGBA uncovering = centre();
    EXPECT_EQ(uncovering.r, 0);
    EXPECT_GT(uncovering.b, 0);
    EXPECT_LT(uncovering.b, 255);

    ASSERT_TRUE(runUntil(blue, 6));
    EXPECT_TRUE(touchesOn());
    EXPECT_EQ(centre(), (kvtest::RGBA{0, 0, 255, 255}));
    EXPECT_EQ(journal, (Journal{"red:enter", "red:enterDone", "blue:enter", "red:exit", "blue:enterDone",
                                "red:cleanup"}));
    EXPECT_TRUE(red->isVisible()); // the outgoing scene's last state: visible again
    EXPECT_TRUE(blue->isRunning());
    EXPECT_FALSE(red->isRunning());
}

TEST_F(TransitionTest, TransitionThatIsNeverRunLeavesTouchesOn) {
    {
        CCTransitionFade* fade = CCTransitionFade::create(0.5f, blue);
        ASSERT_NE(fade, nullptr);
        EXPECT_EQ(fade->getOutScene(), red);
        EXPECT_EQ(fade->getInScene(), blue);
        EXPECT_TRUE(fade->isInSceneOnTop());
        // The tile effects uncover the incoming scene, so it is drawn below the outgoing one.
        EXPECT_FALSE(CCTransitionTurnOffTiles::create(0.5f, blue)->isInSceneOnTop());
        EXPECT_FALSE(CCTransitionFadeUp::create(0.5f, blue)->isInSceneOnTop());
    }
    CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
    frame();
    EXPECT_TRUE(touchesOn());
    EXPECT_EQ(director->getRunningScene(), red);
}

TEST_F(TransitionTest, BadIncomingSceneGivesNullAndALogLine) {
    std::vector<std::string> lines;
    setDebugLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(CCTransitionFade::create(0.5f, nullptr), nullptr);
    EXPECT_EQ(CCTransitionFade::create(0.5f, red), nullptr); // already running
    setDebugLogSink(nullptr);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_TRUE(touchesOn());
}

TEST_F(TransitionTest, EveryKindHandsOverToAResetIncomingScene) {
    struct Case {
        const char* name;
        std::function<CCTransitionScene*(CCScene*)> make;
    };
    const Case cases[] = {
        {"fade", [](CCScene* s) { return CCTransitionFade::create(0.5f, s); }},
        {"move in L", [](CCScene* s) { return CCTransitionMoveInL::create(0.5f, s); }},
        {"move in R", [](CCScene* s) { return CCTransitionMoveInR::create(0.5f, s); }},
        {"move in T", [](CCScene* s) { return CCTransitionMoveInT::create(0.5f, s); }},
        {"move in B", [](CCScene* s) { return CCTransitionMoveInB::create(0.5f, s); }},
        {"slide in L", [](CCScene* s) { return CCTransitionSlideInL::create(0.5f, s); }},
        {"slide in R", [](CCScene* s) { return CCTransitionSlideInR::create(0.5f, s); }},
        {"slide in T", [](CCScene* s) { return CCTransitionSlideInT::create(0.5f, s); }},
        {"slide in B", [](CCScene* s) { return CCTransitionSlideInB::create(0.5f, s); }},
        {"shrink grow", [](CCScene* s) { return CCTransitionShrinkGrow::create(0.5f, s); }},
        {"rotate zoom", [](CCScene* s) { return CCTransitionRotateZoom::create(0.5f, s); }},
        {"jump zoom", [](CCScene* s) { return CCTransitionJumpZoom::create(0.5f, s); }},
        {"flip x", [](CCScene* s) { return CCTransitionFlipX::create(0.5f, s, 0); }},
        {"flip y", [](CCScene* s) { return CCTransitionFlipY::create(0.5f, s, 1); }},
        {"flip angular", [](CCScene* s) { return CCTransitionFlipAngular::create(0.5f, s, 1); }},
        {"zoom flip x", [](CCScene* s) { return CCTransitionZoomFlipX::create(0.5f, s, 1); }},
        {"zoom flip y", [](CCScene* s) { return CCTransitionZoomFlipY::create(0.5f, s, 0); }},
        {"zoom flip angular", [](CCScene* s) { return CCTransitionZoomFlipAngular::create(0.5f, s, 0); }},
        {"cross fade", [](CCScene* s) { return CCTransitionCrossFade::create(0.5f, s); }},
        {"turn off tiles", [](CCScene* s) { return CCTransitionTurnOffTiles::create(0.5f, s); }},
        {"split columns", [](CCScene* s) { return CCTransitionSplitCols::create(0.5f, s); }},
        {"split rows", [](CCScene* s) { return CCTransitionSplitRows::create(0.5f, s); }},
        {"fade top right", [](CCScene* s) { return CCTransitionFadeTR::create(0.5f, s); }},
        {"fade bottom left", [](CCScene* s) { return CCTransitionFadeBL::create(0.5f, s); }},
        {"fade up", [](CCScene* s) { return CCTransitionFadeUp::create(0.5f, s); }},
        {"fade down", [](CCScene* s) { return CCTransitionFadeDown::create(0.5f, s); }},
    };
    JournalScene* scenes[2] = {red, blue};
    int current = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JournalScene* incoming = scenes[1 - current];
        JournalScene* outgoing = scenes[current];
        CCTransitionScene* transition = c.make(incoming);
        ASSERT_NE(transition, nullptr);
        director->replaceScene(transition);
        ASSERT_TRUE(runUntil(incoming, 12));
        EXPECT_TRUE(touchesOn());
        EXPECT_TRUE(incoming->isVisible());
        EXPECT_FLOAT_EQ(incoming->getPosition().x, 0.0f);
        EXPECT_FLOAT_EQ(incoming->getPosition().y, 0.0f);
        EXPECT_FLOAT_EQ(incoming->getScaleX(), 1.0f);
        EXPECT_FLOAT_EQ(incoming->getRotation(), 0.0f);
        EXPECT_FALSE(incoming->getCamera()->isDirty());
        EXPECT_FALSE(outgoing->isRunning());
        EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(incoming), 0u);
        frame();
        EXPECT_EQ(centre(), (incoming == blue ? kvtest::RGBA{0, 0, 255, 255} : kvtest::RGBA{255, 0, 0, 255}));
        current = 1 - current;
    }
}
