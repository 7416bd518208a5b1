#include "ControllerTestSupport.h"

#include <cmath>
#include <memory>

#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"

using kvengine::CCDirector;
using kvengine::CCEGLView;
using kvengine::CCHeadlessWindow;
using pawntest::ControllerWorldTest;
using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::TestKelvo;
using pawntest::Trace;

namespace {

// Records the power carried by each "EVENT_KELVO_LAUNCHED".
class LaunchRecorder : public kvengine::CCObject {
public:
    LaunchRecorder() {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(LaunchRecorder::onLaunch), EVENT_KELVO_LAUNCHED);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
    }
    void onLaunch(kvengine::CCNotification* notification) {
        powers.push_back(static_cast<kvengine::CCValue<float>*>(notification->getObject())->value);
    }
    std::vector<float> powers;
};

class KVPawnPlayerControllerTest : public ControllerWorldTest {
protected:
    void SetUp() override {
        ControllerWorldTest::SetUp();
        trace = new Trace({EVENT_PULL_START, EVENT_PULL_NO_STAMINA, EVENT_MISSED_PULL, EVENT_PULL_RELEASE,
                           EVENT_KELVO_LAUNCHED, EVENT_ANCHOR_START, EVENT_DASH, EVENT_SIMPLE_TAP_ON_PAWN,
                           EVENT_MISSED_DISTANCE_ATTACK, EVENT_MISSED_AOE, EVENT_PAWN_UNSELECTED});
        launches = new LaunchRecorder();
        kelvo = makeKelvo("kelvo", 0.0f, 0.0f, fighterStats({{"hasDashAbility", "YES"}}));
        trace->name(kelvo, "kelvo");
        controller = playerControllerOf(kelvo);
    }
    void TearDown() override {
        launches->release();
        trace->release();
        ControllerWorldTest::TearDown();
    }

    Trace* trace = nullptr;
    LaunchRecorder* launches = nullptr;
    TestKelvo* kelvo = nullptr;
    KVPawnPlayerController* controller = nullptr;
};

// Drags straight down from the kelvo at (0, 0): the stretch is eased below 5 m, capped at full
// stretch or by low stamina; the release launches up (away from the touch) or cancels.
TEST_F(KVPawnPlayerControllerTest, PullGeometryStretchPowerAndStaminaCost) {
    struct Case {
        int stamina;
        float drag;
        float stretch;
        float power; // at release; <= 0 cancels
        int staminaAfter;
    };
    const Case cases[] = {
        {100, 1.9f, 0.722f, (0.722f - 0.78125f) / 2.5f, 100}, // eased short pull: no power, cancelled
        {100, 4.06f, 3.28125f, 1.0f, 75},                     // eased past full stretch: capped
        {100, 9.0f, 3.28125f, 1.0f, 75},                      // beyond the easing: capped
        {100, 3.0f, 1.8f, 0.4075f, 90},                       // 3^2 / 5; cost trunc(10.19)
        {10, 4.06f, 1.78125f, 0.4f, 0},                       // low stamina caps stretch and power
        {30, 4.06f, 3.28125f, 1.0f, 5},                       // above 25 stamina: full stretch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stamina " + std::to_string(c.stamina) + ", drag " + std::to_string(c.drag));
        kelvo->getBody()->SetTransform(b2Vec2(0.0f, 0.0f), 0.0f);
        kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        step();
        kelvo->setStamina(c.stamina);
        trace->clear();
        launches->powers.clear();
        ASSERT_TRUE(controller->beginPull(0.0f, 0.5f));
        controller->updatePull(0.0f, -c.drag);
        EXPECT_TRUE(kelvo->isPulling());
        EXPECT_NEAR(kelvo->getStretchFraction() * KVKelvo::kFullStretch, c.stretch, 1e-3f);
        EXPECT_NEAR(kelvo->getPullPower(), c.power, 1e-3f);
        // Turned away from the touch: its forward axis points up.
        EXPECT_NEAR(std::cos(kelvo->getBody()->GetAngle()), 1.0f, 1e-4f);
        controller->releasePull();
        EXPECT_FALSE(kelvo->isPulling());
        EXPECT_EQ(kelvo->getStamina(), c.staminaAfter);
        EXPECT_EQ(kelvo->getPullPower(), 0.0f);
        ASSERT_EQ(launches->powers.size(), 1u);
        const b2Vec2 velocity = kelvo->getBody()->GetLinearVelocity();
        if (c.power > 0.0f) {
            EXPECT_EQ(trace->lines,
                      (std::vector<std::string>{"EVENT_PULL_START kelvo", "EVENT_PULL_RELEASE kelvo",
                                                "EVENT_KELVO_LAUNCHED ?"}));
            EXPECT_NEAR(launches->powers[0], c.power, 1e-3f);
            EXPECT_NEAR(velocity.x, 0.0f, 1e-3f);
            EXPECT_NEAR(velocity.y, kelvo->getMovePower() * c.power / kelvo->getBody()->GetMass(), 1e-2f);
        } else {
            EXPECT_NE(trace->find("EVENT_MISSED_PULL kelvo"), -1);
            EXPECT_LT(trace->find("EVENT_MISSED_PULL kelvo"), trace->find("EVENT_PULL_RELEASE kelvo"));
            EXPECT_EQ(launches->powers[0], 0.0f);
            EXPECT_EQ(velocity.Length(), 0.0f);
        }
    }
}

TEST_F(KVPawnPlayerControllerTest, OnlyATouchOnAKelvoWithStaminaGrabsIt) {
    EXPECT_FALSE(controller->beginPull(1.3f, 0.0f)); // beyond the grab radius: the camera may pan
    EXPECT_FALSE(kelvo->isPulling());
    EXPECT_TRUE(trace->lines.empty());
    EXPECT_TRUE(controller->beginPull(1.25f, 0.0f)); // the radius itself is on the kelvo
    EXPECT_FALSE(controller->beginPull(0.0f, 0.0f)); // already pulled
    controller->cancelPull();

    kelvo->setStamina(0);
    trace->clear();
    EXPECT_FALSE(controller->beginPull(0.0f, 0.0f));
    EXPECT_FALSE(kelvo->isPulling());
    EXPECT_EQ(trace->lines, (std::vector<std::string>{"EVENT_PULL_NO_STAMINA kelvo"}));

    // Nothing to release or cancel, and bad points are refused without a crash.
    controller->releasePull();
    controller->cancelPull();
    kelvo->setStamina(50);
    ASSERT_TRUE(controller->beginPull(0.0f, 0.0f));
    LogCapture log;
    controller->updatePull(NAN, 1.0f);
    EXPECT_TRUE(log.contains("ignored"));
    EXPECT_TRUE(std::isfinite(kelvo->getBody()->GetAngle()));
}

// The pawn pushed during a pull, or the pause opening, cancels it; an anchored kelvo is anchored
// again.
TEST_F(KVPawnPlayerControllerTest, PushOrPauseCancelsThePullAndReanchors) {
    for (kvengine::CCString* cause : {EVENT_NOTIFY_IN_ACTION, SCREEN_INGAME_PAUSE}) {
        SCOPED_TRACE(cause->text);
        kelvo->setAnchored(cause == SCREEN_INGAME_PAUSE);
        ASSERT_TRUE(controller->beginPull(0.0f, 0.0f));
        controller->updatePull(0.0f, -4.5f);
        trace->clear();
        post(cause, cause == EVENT_NOTIFY_IN_ACTION ? kelvo : nullptr);
        EXPECT_FALSE(kelvo->isPulling());
        EXPECT_EQ(kelvo->getStamina(), 100);
        EXPECT_EQ(trace->find("EVENT_MISSED_PULL kelvo"), 0);
        EXPECT_EQ(trace->find("EVENT_ANCHOR_START kelvo") != -1, cause == SCREEN_INGAME_PAUSE);
    }
}

TEST_F(KVPawnPlayerControllerTest, ConsumeStaminaCostsTruncatedQuartersOfAFullPull) {
    const struct {
        float power;
        int cost;
    } cases[] = {{0.02f, 1}, {0.5f, 12}, {1.0f, 25}, {0.4f, 10},
                 {0.0f, 0},  {-1.0f, 0}, {NAN, 0},   {1e30f, 100}};
    for (const auto& c : cases) {
        kelvo->setStamina(100);
        controller->consumeStamina(c.power);
        EXPECT_EQ(kelvo->getStamina(), 100 - c.cost) << c.power;
    }
}

TEST_F(KVPawnPlayerControllerTest, BrakingDividesTheSpeedUntilItIsAtMostOneMetrePerSecond) {
    kelvo->getBody()->SetLinearVelocity(b2Vec2(3.0f, 0.0f));
    controller->startBraking();
    const float expected[] = {2.0f, 1.3333f, 0.8889f};
    for (float speed : expected) {
        ASSERT_TRUE(controller->isBraking());
        controller->update(pawntest::kFrame);
        EXPECT_NEAR(kelvo->getBody()->GetLinearVelocity().x, speed, 1e-3f);
    }
    EXPECT_FALSE(controller->isBraking());
}

// The launch axis is the pawn's forward vector turned by its body angle.
TEST_F(KVPawnPlayerControllerTest, ASidewaysPawnTurnedAQuarterIsLaunchedAlongPlusY) {
    auto* crab = makeSideways("crab", 5.0f, 0.0f, fighterStats(), true, true);
    auto* crabController = pawntest::bindController<KVPawnController>(crab);
    crab->getBody()->SetTransform(crab->getBody()->GetPosition(), 1.57079633f);
    trace->name(crab, "crab");
    trace->clear();
    crabController->launch(1.0f);
    const b2Vec2 velocity = crab->getBody()->GetLinearVelocity();
    EXPECT_NEAR(velocity.x, 0.0f, 1e-4f);
    EXPECT_NEAR(velocity.y, crab->getMovePower() / crab->getBody()->GetMass(), 1e-3f);
    EXPECT_EQ(trace->find("EVENT_PULL_RELEASE crab"), 0);
    EXPECT_EQ(launches->powers, std::vector<float>{1.0f});
}

// A launch sets an anchored pawn free before the impulse.
TEST_F(KVPawnPlayerControllerTest, AnAnchoredKelvoStaysWhilePulledAndIsFreedByTheLaunch) {
    kelvo->setAnchorPoint(kvengine::CCPoint(0.0f, 0.0f));
    post(EVENT_ANCHOR_START, kelvo);
    EXPECT_TRUE(kelvo->isAnchored());
    EXPECT_TRUE(kelvo->getBody()->IsFixedRotation());
    ASSERT_TRUE(controller->beginPull(0.0f, 0.0f));
    controller->updatePull(0.0f, -5.0f);
    EXPECT_TRUE(kelvo->isAnchored());
    controller->releasePull();
    EXPECT_FALSE(kelvo->isAnchored());
    EXPECT_FALSE(kelvo->getBody()->IsFixedRotation());
    EXPECT_NEAR(kelvo->getBody()->GetLinearVelocity().y, kelvo->getMaxLaunchSpeed(), 1e-2f);
}

TEST_F(KVPawnPlayerControllerTest, ATapInFlightDashesAlongTheFacingWhileDashesLast) {
    auto* crab = makePawn("crab", 0.0f, 8.0f, fighterStats(), true, true);
    trace->name(crab, "crab");
    kelvo->getBody()->SetTransform(b2Vec2(0.0f, 0.0f), 0.3f);
    kelvo->getBody()->SetLinearVelocity(b2Vec2(0.5f, 0.0f));
    kelvo->setDashesLeft(1);
    ASSERT_FALSE(kelvo->isSelected());
    pawntest::Trace actors({EVENT_NEW_ACTOR});
    actors.name(kelvo, "kelvo");
    trace->clear();
    controller->onTap(0.0f, 8.0f); // on the crab, but the dash comes first
    const float boost = kelvo->getMovePower() * 0.8f / kelvo->getBody()->GetMass();
    const b2Vec2 velocity = kelvo->getBody()->GetLinearVelocity();
    EXPECT_NEAR(velocity.x, 0.5f + boost * std::cos(0.3f + 1.57079633f), 1e-3f);
    EXPECT_NEAR(velocity.y, boost * std::sin(0.3f + 1.57079633f), 1e-3f);
    EXPECT_EQ(kelvo->getDashesLeft(), 0);
    EXPECT_EQ(trace->lines, (std::vector<std::string>{"EVENT_DASH kelvo"}));
    ASSERT_EQ(actors.lines.size(), 1u);
    EXPECT_EQ(actors.lines[0], "EVENT_NEW_ACTOR ?"); // the dash's trail

    // No dash left: the tap only reports the pawn under it.
    trace->clear();
    controller->onTap(0.0f, 8.0f);
    EXPECT_EQ(trace->lines, (std::vector<std::string>{"EVENT_SIMPLE_TAP_ON_PAWN crab"}));
}

// The pointer hides during the pull and comes back, as the pointing hand, where the pull began,
// whether the kelvo was launched or the pull cancelled.
TEST_F(KVPawnPlayerControllerTest, ThePointerComesBackWhereThePullBegan) {
    CCDirector* director = CCDirector::getInstance();
    auto* window = new CCHeadlessWindow(1600, 1200);
    auto* view = new CCEGLView(std::unique_ptr<CCHeadlessWindow>(window));
    ASSERT_TRUE(view->create("pull", 800, 600));
    director->setOpenGLView(view);
    for (float drag : {4.5f, 1.0f}) {
        SCOPED_TRACE(drag);
        window->setSystemCursorVisible(true);
        director->setCursor(8);
        director->setMousePosition(321, 123);
        kelvo->setStamina(100);
        ASSERT_TRUE(controller->beginPull(0.0f, 0.0f));
        EXPECT_EQ(director->getCurrentCursor(), -1);
        EXPECT_FALSE(director->isSystemCursorShown());
        EXPECT_FALSE(window->isSystemCursorVisible());
        director->setMousePosition(400, 500); // the drag moves the real pointer
        controller->updatePull(0.0f, -drag);
        const int warps = window->warpCount();
        controller->releasePull();
        EXPECT_GE(window->warpCount(), warps + 1);
        EXPECT_EQ(window->getWarpX(), 321);
        EXPECT_EQ(window->getWarpY(), 123);
        EXPECT_EQ(director->getMouseX(), 321);
        EXPECT_EQ(director->getMouseY(), 123);
        EXPECT_EQ(director->getCurrentCursor(), CCDirector::kCursorPoint);
        EXPECT_FALSE(window->isSystemCursorVisible());
        kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        kelvo->getBody()->SetTransform(b2Vec2(0.0f, 0.0f), 0.0f);
        step();
    }
    CCDirector::destroyInstance();
}

} // namespace
