#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCActions.h"
#include "engine/director/CCDirector.h"

namespace actiontest {
namespace {

// Binary fractions keep every product and sum exact.
constexpr float kStep = 0.125f;

using SpeedTest = ActionTest;

TEST_F(SpeedTest, StepsTheInnerActionWithTheScaledDeltaUntilItIsDone) {
    std::vector<std::string> journal;
    RecordingAction* inner = RecordingAction::create(1.0f, &journal);
    CCSpeed* speed = CCSpeed::createWithActionSpeed(inner, 2.0f);
    ASSERT_NE(speed, nullptr);
    run(speed);
    EXPECT_EQ(speed->getTarget(), node);
    EXPECT_EQ(inner->getTarget(), node);

    frames(4, kStep); // the first step after the start drops its delta
    EXPECT_EQ(journal, (std::vector<std::string>{"start", "u0", "u0.25", "u0.5", "u0.75"}));
    EXPECT_EQ(actionCount(), 1u);

    speed->setSpeed(4.0f); // changed while running: the next frame covers 0.5 s of the inner action
    frame(kStep);
    EXPECT_EQ(journal.back(), "stop");
    EXPECT_EQ(journal[journal.size() - 2], "u1");
    EXPECT_EQ(actionCount(), 0u);
    EXPECT_EQ(speed->getTarget(), nullptr);
    EXPECT_EQ(inner->getTarget(), nullptr);
}

TEST_F(SpeedTest, ReverseAndCopyKeepTheSpeedOverANewInnerAction) {
    std::vector<std::string> journal;
    RecordingAction* inner = RecordingAction::create(2.0f, &journal, "a");
    CCSpeed* speed = CCSpeed::createWithActionSpeed(inner, 0.5f);
    speed->setTag(7);

    CCSpeed* reversed = speed->reverse();
    ASSERT_NE(reversed, nullptr);
    EXPECT_FLOAT_EQ(reversed->getSpeed(), 0.5f);
    ASSERT_NE(reversed->getInnerAction(), nullptr);
    EXPECT_NE(reversed->getInnerAction(), inner);
    EXPECT_FLOAT_EQ(reversed->getInnerAction()->getDuration(), 2.0f);

    CCSpeed* copy = static_cast<CCSpeed*>(speed->copy()->autorelease());
    EXPECT_EQ(copy->getTag(), 7);
    EXPECT_FLOAT_EQ(copy->getSpeed(), 0.5f);
    ASSERT_NE(copy->getInnerAction(), nullptr);
    EXPECT_NE(copy->getInnerAction(), inner);
    EXPECT_FLOAT_EQ(copy->getInnerAction()->getDuration(), 2.0f);

    // The copy runs on its own: the original's inner action is not started.
    run(copy);
    frames(2, 1.0f);
    EXPECT_EQ(journal, (std::vector<std::string>{"a:start", "a:u0", "a:u0.25"}));
    EXPECT_FLOAT_EQ(inner->getElapsed(), 0.0f);
}

TEST_F(SpeedTest, StopStopsTheInnerActionAndBadInputIsRefused) {
    std::vector<std::string> journal;
    CCSpeed* speed = CCSpeed::createWithActionSpeed(RecordingAction::create(1.0f, &journal), 1.0f);
    speed->startWithTarget(node);
    speed->stop();
    EXPECT_EQ(journal, (std::vector<std::string>{"start", "stop"}));
    EXPECT_EQ(speed->getTarget(), nullptr);
    EXPECT_EQ(speed->getOriginalTarget(), node);

    LogCapture log;
    EXPECT_EQ(CCSpeed::createWithActionSpeed(nullptr, 1.0f), nullptr);
    CCActionInterval* plain = new CCActionInterval(); // an interval action without a reverse
    plain->initWithDuration(1.0f);
    plain->autorelease();
    EXPECT_EQ(CCSpeed::createWithActionSpeed(plain, 1.0f)->reverse(), nullptr);
    EXPECT_EQ(log.lines.size(), 2u);

    CCSpeed bare; // never initialised: done at once, steps and stops without an inner action
    bare.startWithTarget(node);
    bare.step(kStep);
    bare.stop();
    EXPECT_TRUE(bare.isDone());
}

// --- CCFollow ------------------------------------------------------------------------------

// The window is 480 x 320 points: the followed node is held at (240, 160) on the screen.
class FollowTest : public ActionTest {
protected:
    void SetUp() override {
        ActionTest::SetUp();
        CCDirector* director = CCDirector::getInstance();
        m_oldWinSize = director->getWinSize();
        director->setWinSizeInPoints(CCSize(480, 320));
        hero = CCNode::create();
        hero->retain();
        hero->onEnter();
    }
    void TearDown() override {
        hero->onExit();
        hero->release();
        CCDirector::getInstance()->setWinSizeInPoints(m_oldWinSize);
        ActionTest::TearDown();
    }

    CCNode* hero = nullptr;

private:
    CCSize m_oldWinSize;
};

struct FollowCase {
    const char* name;
    bool bounded;
    CCRect world;
    bool fullyCovered;
    CCPoint heroAt;
    CCPoint expected; // the followed node's layer position after one frame
};

TEST_F(FollowTest, PlacesTheTargetSoTheFollowedNodeStaysCentredWithinTheWorld) {
    const CCPoint start(7, 9);
    const FollowCase cases[] = {
        {"free, near origin", false, CCRect(), false, CCPoint(100, 50), CCPoint(140, 110)},
        {"free, far away", false, CCRect(), false, CCPoint(1000, 700), CCPoint(-760, -540)},
        {"world, held at the lower left", true, CCRect(0, 0, 2000, 1000), false, CCPoint(100, 50),
         CCPoint(0, 0)},
        {"world, inside", true, CCRect(0, 0, 2000, 1000), false, CCPoint(1000, 700), CCPoint(-760, -540)},
        {"world, held at the upper right", true, CCRect(0, 0, 2000, 1000), false, CCPoint(1900, 950),
         CCPoint(-1520, -680)},
        {"offset world, held at its lower left", true, CCRect(-200, -100, 2000, 1000), false,
         CCPoint(-300, -300), CCPoint(200, 100)},
        {"narrow world, centred across", true, CCRect(0, 0, 200, 1000), false, CCPoint(100, 700),
         CCPoint(140, -540)},
        {"world the size of the window", true, CCRect(0, 0, 480, 320), true, CCPoint(1000, 700), start},
        {"world inside the window", true, CCRect(50, 50, 100, 100), true, CCPoint(-500, 500), start},
    };
    for (const FollowCase& c : cases) {
        SCOPED_TRACE(c.name);
        node->setPosition(start);
        hero->setPosition(c.heroAt);
        CCFollow* follow = c.bounded ? CCFollow::createWithWorld(hero, c.world) : CCFollow::create(hero);
        ASSERT_NE(follow, nullptr);
        EXPECT_EQ(follow->isBoundarySet(), c.bounded);
        EXPECT_EQ(follow->isBoundaryFullyCovered(), c.fullyCovered);
        run(follow);
        frame(kStep);
        EXPECT_FLOAT_EQ(node->getPosition().x, c.expected.x);
        EXPECT_FLOAT_EQ(node->getPosition().y, c.expected.y);
        EXPECT_EQ(actionCount(), 1u) << "a follow action runs as long as its node";
        node->stopAction(follow);
    }
}

TEST_F(FollowTest, TracksTheNodeEveryFrameWhateverTheDeltaAndEndsWhenItStopsRunning) {
    CCFollow* follow = CCFollow::createWithWorld(hero, CCRect(0, 0, 2000, 1000));
    run(follow);
    const CCPoint path[] = {CCPoint(300, 200), CCPoint(400, 250), CCPoint(5000, 5000)};
    const CCPoint expected[] = {CCPoint(-60, -40), CCPoint(-160, -90), CCPoint(-1520, -680)};
    const float deltas[] = {0.0f, kStep, 10.0f};
    for (int i = 0; i < 3; ++i) {
        hero->setPosition(path[i]);
        frame(deltas[i]);
        EXPECT_FLOAT_EQ(node->getPosition().x, expected[i].x);
        EXPECT_FLOAT_EQ(node->getPosition().y, expected[i].y);
    }
    EXPECT_FALSE(follow->isDone());
    hero->onExit();
    EXPECT_TRUE(follow->isDone());
    frame(kStep);
    EXPECT_EQ(actionCount(), 0u);
    hero->onEnter(); // for the fixture's tear-down
}

TEST_F(FollowTest, CopyKeepsNodeTagAndBoundariesAndRetainsTheNode) {
    CCFollow* follow = CCFollow::createWithWorld(hero, CCRect(0, 0, 2000, 1000));
    follow->setTag(3);
    const unsigned before = hero->retainCount();
    CCFollow* copy = static_cast<CCFollow*>(follow->copy());
    EXPECT_EQ(hero->retainCount(), before + 1);
    EXPECT_EQ(copy->getFollowedNode(), hero);
    EXPECT_EQ(copy->getTag(), 3);
    EXPECT_TRUE(copy->isBoundarySet());
    EXPECT_FALSE(copy->isBoundaryFullyCovered());
    EXPECT_FLOAT_EQ(copy->getHalfScreenSize().x, 240.0f);
    EXPECT_FLOAT_EQ(copy->getHalfScreenSize().y, 160.0f);
    EXPECT_FLOAT_EQ(copy->getFullScreenSize().x, 480.0f);
    EXPECT_FLOAT_EQ(copy->getFullScreenSize().y, 320.0f);
    EXPECT_FLOAT_EQ(copy->getLeftBoundary(), -1520.0f);
    EXPECT_FLOAT_EQ(copy->getRightBoundary(), 0.0f);
    EXPECT_FLOAT_EQ(copy->getBottomBoundary(), -680.0f);
    EXPECT_FLOAT_EQ(copy->getTopBoundary(), 0.0f);
    copy->release();
    EXPECT_EQ(hero->retainCount(), before);
}

TEST_F(FollowTest, RefusesANullNodeOrAWorldOfNegativeSize) {
    LogCapture log;
    EXPECT_EQ(CCFollow::create(nullptr), nullptr);
    EXPECT_EQ(CCFollow::createWithWorld(nullptr, CCRect(0, 0, 10, 10)), nullptr);
    EXPECT_EQ(CCFollow::createWithWorld(hero, CCRect(0, 0, -10, 10)), nullptr);
    EXPECT_EQ(CCFollow::createWithWorld(hero, CCRect(0, 0, 10, -1)), nullptr);
    EXPECT_EQ(log.lines.size(), 4u);

    CCFollow bare; // never initialised: done at once and steps without moving anything
    node->setPosition(CCPoint(1, 2));
    bare.startWithTarget(node);
    bare.step(kStep);
    EXPECT_TRUE(bare.isDone());
    EXPECT_FLOAT_EQ(node->getPosition().x, 1.0f);
    bare.stop();
    EXPECT_EQ(bare.getTarget(), nullptr);
}

} // namespace
} // namespace actiontest
