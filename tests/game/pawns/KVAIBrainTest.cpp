#include "ControllerTestSupport.h"

#include <cmath>

#include "engine/base/CCArray.h"
#include "engine/base/CCRandom.h"

using pawntest::ControllerWorldTest;
using pawntest::fighterStats;
using pawntest::TestPawn;
using pawntest::Trace;

namespace {

// Collects the payload texts of "EVENT_DISTANCE_ATTACK_ANIM_START".
class ShotRecorder : public kvengine::CCObject {
public:
    ShotRecorder() {
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(ShotRecorder::onShot), EVENT_DISTANCE_ATTACK_ANIM_START);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
    }
    void onShot(kvengine::CCNotification* notification) {
        auto* payload = static_cast<kvengine::CCArray*>(notification->getObject());
        ASSERT_NE(payload, nullptr);
        ASSERT_EQ(payload->count(), 2u);
        shots.push_back(static_cast<kvengine::CCString*>(payload->objectAtIndex(0))->text + " " +
                        static_cast<kvengine::CCString*>(payload->objectAtIndex(1))->text);
    }
    std::vector<std::string> shots;
};

class KVAIBrainTest : public ControllerWorldTest {
protected:
    void SetUp() override {
        ControllerWorldTest::SetUp();
        kvengine::CCRandom::seed(24);
        trace = new Trace({EVENT_SKIP_TURN, EVENT_STOP_FUGU, EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE,
                           EVENT_AI_ANIM_IMPULSE_START, EVENT_KELVO_LAUNCHED,
                           EVENT_DISTANCE_ATTACK_ACTION_START, EVENT_AOE_ACTION_START, EVENT_PAWN_UNSELECTED,
                           EVENT_DAMAGE_MODE_ON, EVENT_DAMAGE_MODE_OFF, EVENT_KELVO_HIGHLIGHT_ON,
                           EVENT_KELVO_HIGHLIGHT_OFF, EVENT_PULL_RELEASE});
    }
    void TearDown() override {
        trace->release();
        ControllerWorldTest::TearDown();
    }

    /// A computer-driven enemy at (x, y) moved by a KVPawnAIController.
    TestPawn* makeEnemy(const char* name, float x, float y, kvdata::Dict* stats) {
        TestPawn* pawn = makePawn(name, x, y, stats, true, true);
        controllerOf(pawn);
        trace->name(pawn, name);
        return pawn;
    }
    KVPawnAIController* controllerOf(KVPawn* pawn) {
        if (pawn->getController() == nullptr) {
            auto* controller = pawntest::bindController<KVPawnAIController>(pawn);
            trace->name(controller, std::string(pawn->getTypeName()->text) + "'s controller");
        }
        return static_cast<KVPawnAIController*>(pawn->getController());
    }
    KVAIBrain* brainOf(KVPawn* pawn) { return controllerOf(pawn)->getBrain(); }
    TestPawn* makeWall(float x, float y, float halfWidth, float halfHeight) {
        b2BodyDef def;
        def.position.Set(x, y);
        b2Body* wall = physics->getWorld()->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(halfWidth, halfHeight);
        wall->CreateFixture(&box, 0.0f);
        return nullptr;
    }
    /// The brain's own turn: selected with an attack charge, then the four frames that bring its
    /// brain from idle to the decision (camera, one-frame delay, decide).
    void runTurnOf(KVPawn* pawn) {
        pawn->setAttackCharges(1);
        pawn->setSelected(true);
        frame(4);
    }

    Trace* trace = nullptr;
};

// One opponent on the line y = 0 at various distances, nothing in between.
TEST_F(KVAIBrainTest, AnOpponentInSightWithinTwelveAndAHalfMetresIsCharged) {
    const struct {
        float distance;
        bool charges;
    } cases[] = {{13.0f, false}, {12.0f, true}, {3.0f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        TestPawn* crab = makeEnemy("crab", 100.0f * c.distance, 0.0f, fighterStats());
        TestPawn* kelvo = makePawn("kelvo", 100.0f * c.distance + c.distance, 0.0f, fighterStats());
        trace->name(kelvo, "kelvo");
        step();
        trace->clear();
        EXPECT_EQ(controllerOf(crab)->canAct(), c.charges);
        EXPECT_TRUE(trace->lines.empty()) << trace->dump(); // the test mode posts nothing
        crab->setAttackCharges(1);
        crab->setSelected(true);
        frame(3); // idle -> camera -> delay -> decide
        EXPECT_EQ(brainOf(crab)->getState(), KVAIBrain::kDecide);
        frame();
        EXPECT_EQ(trace->find("EVENT_STOP_FUGU -"), 0) << trace->dump();
        if (!c.charges) {
            EXPECT_NE(trace->find("EVENT_SKIP_TURN -"), -1);
            EXPECT_EQ(controllerOf(crab)->getLaunchState(), 0);
            crab->setSelected(false); // the turn manager would move on
            continue;
        }
        EXPECT_EQ(trace->find("EVENT_SKIP_TURN -"), -1);
        EXPECT_NE(trace->find("EVENT_NOTIFY_IN_ACTION crab's controller"), -1);
        EXPECT_FALSE(crab->isSelected());
        // It turns until its launch axis points at the kelvo, then winds up.
        for (int i = 0; i < 60 && controllerOf(crab)->getLaunchState() != KVPawnAIController::kLaunchWindUp;
             ++i)
            frame();
        ASSERT_EQ(controllerOf(crab)->getLaunchState(), KVPawnAIController::kLaunchWindUp);
        EXPECT_NE(trace->find("EVENT_AI_ANIM_IMPULSE_START crab"), -1);
        const int stamina = crab->getStamina();
        post(EVENT_AI_ANIM_IMPULSE_END, crab); // as the crab's view does at the end of the wind-up
        const b2Vec2 velocity = crab->getBody()->GetLinearVelocity();
        EXPECT_NEAR(velocity.x, crab->getMaxLaunchSpeed(), 1e-2f);
        EXPECT_NEAR(velocity.y, 0.0f, 1e-2f);
        EXPECT_EQ(crab->getStamina(), stamina - 25);
        EXPECT_NE(trace->find("EVENT_NOTIFY_IDLE crab's controller"), -1);
        EXPECT_EQ(controllerOf(crab)->getLaunchState(), 0);
    }
}

// The pawn is selected again while its launch is still turning (the camera became playable only
// after the brain had decided): the second decision replaces the launch, and the controller stays
// busy for one launch only, so the turn can end.
TEST_F(KVAIBrainTest, ADecisionRepeatedBeforeTheLaunchLeavesTheControllerBusyOnce) {
    TestPawn* crab = makeEnemy("crab", 0.0f, 0.0f, fighterStats());
    TestPawn* kelvo = makePawn("kelvo", 0.0f, 5.0f, fighterStats());
    trace->name(kelvo, "kelvo");
    step();
    trace->clear();
    runTurnOf(crab);
    ASSERT_EQ(trace->count("EVENT_NOTIFY_IN_ACTION crab's controller"), 1) << trace->dump();
    ASSERT_NE(controllerOf(crab)->getLaunchState(), 0);
    runTurnOf(crab);
    for (int i = 0; i < 60 && controllerOf(crab)->getLaunchState() != KVPawnAIController::kLaunchWindUp; ++i)
        frame();
    ASSERT_EQ(controllerOf(crab)->getLaunchState(), KVPawnAIController::kLaunchWindUp);
    post(EVENT_AI_ANIM_IMPULSE_END, crab);
    EXPECT_EQ(controllerOf(crab)->getLaunchState(), 0);
    EXPECT_EQ(trace->count("EVENT_NOTIFY_IN_ACTION crab's controller"), 1) << trace->dump();
    EXPECT_EQ(trace->count("EVENT_NOTIFY_IDLE crab's controller"), 1) << trace->dump();
}

TEST_F(KVAIBrainTest, AHealerGoesToABadlyHurtTeamMateFirst) {
    TestPawn* healer = makeEnemy("healer", 0.0f, 0.0f, fighterStats({{"Heal", "8"}}));
    TestPawn* mate = makeEnemy("mate", 5.0f, 0.0f, fighterStats());
    TestPawn* kelvo = makePawn("kelvo", 0.0f, 3.0f, fighterStats()); // nearer, but second
    (void)kelvo;
    mate->setHitPoints(35);
    step();
    runTurnOf(healer);
    ASSERT_EQ(controllerOf(healer)->getLaunchState(), KVPawnAIController::kLaunchTurning);
    EXPECT_NEAR(controllerOf(healer)->getOrientationTarget().x, 5.0f, 1e-4f);
    EXPECT_NEAR(controllerOf(healer)->getOrientationTarget().y, 0.0f, 1e-4f);

    // At 45 % it is not hurt enough: the healer charges the kelvo instead.
    TestPawn* healer2 = makeEnemy("healer2", 40.0f, 0.0f, fighterStats({{"Heal", "8"}}));
    TestPawn* mate2 = makeEnemy("mate2", 45.0f, 0.0f, fighterStats());
    makePawn("kelvo", 40.0f, 3.0f, fighterStats());
    mate2->setHitPoints(45);
    step();
    runTurnOf(healer2);
    ASSERT_EQ(controllerOf(healer2)->getLaunchState(), KVPawnAIController::kLaunchTurning);
    EXPECT_NEAR(controllerOf(healer2)->getOrientationTarget().x, 0.0f, 1e-4f);
    EXPECT_NEAR(controllerOf(healer2)->getOrientationTarget().y, 3.0f, 1e-4f);
}

// The kelvo hides behind a wall: with 40 stamina the crab skips, with 60 it takes the first
// clear two-leg path, here the one turned by +30 degrees, with the power of its first leg.
TEST_F(KVAIBrainTest, HiddenTargetsNeedStaminaForABankShot) {
    makeWall(4.0f, 0.0f, 0.1f, 1.5f);
    TestPawn* crab = makeEnemy("crab", 0.0f, 0.0f, fighterStats());
    makePawn("kelvo", 8.0f, 0.0f, fighterStats());
    step();
    crab->setStamina(40);
    EXPECT_FALSE(controllerOf(crab)->canAct());
    runTurnOf(crab);
    EXPECT_NE(trace->find("EVENT_SKIP_TURN -"), -1);
    EXPECT_EQ(controllerOf(crab)->getLaunchState(), 0);

    crab->setStamina(60);
    trace->clear();
    EXPECT_TRUE(controllerOf(crab)->canAct());
    kvengine::CCPoint direction;
    float power = 0.0f;
    const float mass = crab->getBody()->GetMass();
    ASSERT_TRUE(
        controllerOf(crab)->findLaunchForTarget(KVPawnManager::getInstance()->getPlayerPawns()->count() > 0
                                                    ? *KVPawnManager::getInstance()->getPlayerPawns()->begin()
                                                    : nullptr,
                                                &direction, &power));
    EXPECT_NEAR(direction.x, std::cos(0.5235988f), 1e-4f);
    EXPECT_NEAR(direction.y, std::sin(0.5235988f), 1e-4f);
    const float firstLeg = 4.0f / std::cos(0.5235988f);
    EXPECT_NEAR(power, firstLeg * 2.2f * mass / (20.0f * 0.94f), 1e-3f);
    runTurnOf(crab);
    EXPECT_EQ(trace->find("EVENT_SKIP_TURN -"), -1);
    ASSERT_EQ(controllerOf(crab)->getLaunchState(), KVPawnAIController::kLaunchTurning);
    EXPECT_NEAR(controllerOf(crab)->getLaunchPower(), power, 1e-5f);
    EXPECT_NEAR(controllerOf(crab)->getOrientationTarget().x, direction.x, 1e-4f);
}

// A distance attacker picks the lowest Defense (equal: the first listed), aims, and its shot
// starts with the target's position as two "%f" texts.
TEST_F(KVAIBrainTest, ADistanceAttackerShootsTheLowerDefenseAndItsShotStarts) {
    const struct {
        const char* firstDefense;
        const char* secondDefense;
        bool secondChosen;
    } cases[] = {{"5", "2", true}, {"3", "3", false}};
    float x = 0.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstDefense);
        x += 100.0f; // each case far from the others
        auto* shots = new ShotRecorder();
        TestPawn* archer = makeEnemy("archer", x, 0.0f,
                                     fighterStats({{"hasDistanceAttack", "YES"}, {"Range Target", "320"}}));
        makePawn("first", x + 4.0f, 0.0f, fighterStats({{"Defense", c.firstDefense}}));
        makePawn("second", x, 4.0f, fighterStats({{"Defense", c.secondDefense}}));
        step();
        EXPECT_TRUE(controllerOf(archer)->canAct());
        trace->clear();
        runTurnOf(archer);
        EXPECT_EQ(archer->getAttackCharges(), 0);
        EXPECT_NE(trace->find("EVENT_DISTANCE_ATTACK_ACTION_START archer"), -1) << trace->dump();
        EXPECT_EQ(controllerOf(archer)->getDamageMode(), 0);
        for (int i = 0; i < 60 && shots->shots.empty(); ++i)
            frame();
        char expected[64];
        std::snprintf(expected, sizeof expected, "%f %f", static_cast<double>(c.secondChosen ? x : x + 4.0f),
                      c.secondChosen ? 4.0 : 0.0);
        EXPECT_EQ(shots->shots, std::vector<std::string>{expected});
        archer->setSelected(false);
        shots->release();
    }
}

// canAct only asks: nothing moves, nothing is posted, no mode is entered.
TEST_F(KVAIBrainTest, TheTestModeMovesNothing) {
    makeWall(4.0f, 0.0f, 0.1f, 1.5f);
    TestPawn* healer = makeEnemy(
        "healer", 0.0f, 0.0f, fighterStats({{"Heal", "8"}, {"hasAOEAttack", "YES"}, {"Range AoE", "400"}}));
    TestPawn* mate = makeEnemy("mate", 0.0f, -3.0f, fighterStats());
    makePawn("kelvo", 8.0f, 0.0f, fighterStats());
    step();
    for (int hp : {100, 20}) {
        mate->setHitPoints(hp);
        healer->setStamina(60);
        healer->setAttackCharges(1);
        trace->clear();
        EXPECT_TRUE(controllerOf(healer)->canAct());
        EXPECT_TRUE(trace->lines.empty()) << trace->dump();
        EXPECT_EQ(controllerOf(healer)->getLaunchState(), 0);
        EXPECT_EQ(controllerOf(healer)->getDamageMode(), 0);
        EXPECT_FALSE(controllerOf(healer)->isOrienting());
        EXPECT_EQ(healer->getStamina(), 60);
        EXPECT_EQ(healer->getAttackCharges(), 1);
        EXPECT_EQ(healer->getBody()->GetLinearVelocity().Length(), 0.0f);
    }
}

} // namespace
