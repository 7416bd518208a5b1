// Whole moves on a real world: a kelvo pulled by the player hits a crab, the crab's turn follows
// and launches through the same impulse path, an area attack hurts what it collected, and a
// distance attack's turn ends.
#include "ControllerTestSupport.h"

#include "engine/base/CCValue.h"
#include "game/attacks/KVAOEAttack.h"
#include "game/pawns/KVTurnManager.h"

using pawntest::ControllerWorldTest;
using pawntest::fighterStats;
using pawntest::SidewaysPawn;
using pawntest::TestKelvo;
using pawntest::Trace;

namespace {

class KVDuelTest : public ControllerWorldTest {
protected:
    void SetUp() override {
        ControllerWorldTest::SetUp();
        trace = new Trace({EVENT_ACTION, EVENT_START_TURN, EVENT_END_TURN, EVENT_AI_ANIM_IMPULSE_START,
                           EVENT_KELVO_LAUNCHED, EVENT_AOE_ANIM_START, EVENT_AOE_TRIGGERED, EVENT_MISSED_AOE,
                           EVENT_DISTANCE_ATTACK_ANIM_START, EVENT_SKIP_TURN, EVENT_DAMAGE_MODE_ON,
                           EVENT_REMOVE_ACTOR});
        turns = new KVTurnManager();
    }
    void TearDown() override {
        turns->release();
        trace->release();
        ControllerWorldTest::TearDown();
    }
    void turnFrame() {
        ++trace->frame;
        frame();
        turns->update(pawntest::kFrame);
    }
    /// Frames until `line` is posted (at most `limit`); false when it never is.
    bool runUntil(const std::string& line, int limit = 900) {
        for (int i = 0; i < limit; ++i) {
            if (trace->find(line) != -1) return true;
            turnFrame();
        }
        return trace->find(line) != -1;
    }
    SidewaysPawn* makeCrab(const char* name, float x, float y, pawntest::StatList extra = {}) {
        SidewaysPawn* crab = makeSideways(name, x, y, fighterStats(extra), true, true);
        pawntest::bindController<KVPawnAIController>(crab);
        trace->name(crab, name);
        return crab;
    }

    Trace* trace = nullptr;
    KVTurnManager* turns = nullptr;
};

TEST_F(KVDuelTest, APulledKelvoHitsACrabAndTheCrabAnswers) {
    TestKelvo* kelvo = makeKelvo("kelvo", 0.0f, 0.0f, fighterStats());
    KVPawnPlayerController* controller = playerControllerOf(kelvo);
    SidewaysPawn* crab = makeCrab("crab", 0.0f, 4.0f, {{"Defense", "2"}});
    trace->name(kelvo, "kelvo");
    turns->startFirstTurn();
    post(EVENT_CAM_PLAYABLE);
    ASSERT_TRUE(kelvo->isSelected());
    kelvo->setStamina(25); // one full pull ends the turn

    ASSERT_TRUE(controller->beginPull(0.0f, 0.0f));
    controller->updatePull(0.0f, -5.0f);
    controller->releasePull();
    ASSERT_TRUE(runUntil("EVENT_ACTION 3 28 kelvo>crab")) << trace->dump();
    // A full-speed strike deals DMG Melee 30 less the crab's Defense 2.
    EXPECT_EQ(crab->getHitPoints(), 72);

    // The kelvo's turn ends; the crab's brain charges back once its turn starts.
    ASSERT_TRUE(runUntil("EVENT_START_TURN crab")) << trace->dump();
    ASSERT_TRUE(runUntil("EVENT_AI_ANIM_IMPULSE_START crab", 300)) << trace->dump();
    EXPECT_EQ(trace->find("EVENT_SKIP_TURN -"), -1);
    const size_t launchesBefore = static_cast<size_t>(trace->count("EVENT_KELVO_LAUNCHED ?"));
    post(EVENT_AI_ANIM_IMPULSE_END, crab); // as the crab's view does after its wind-up
    EXPECT_EQ(static_cast<size_t>(trace->count("EVENT_KELVO_LAUNCHED ?")), launchesBefore + 1);
    const b2Vec2 velocity = crab->getBody()->GetLinearVelocity();
    const b2Vec2 toKelvo = kelvo->getBody()->GetPosition() - crab->getBody()->GetPosition();
    EXPECT_NEAR(velocity.Length(), crab->getMaxLaunchSpeed(), 1e-2f);
    EXPECT_GT(b2Dot(velocity, toKelvo) / (velocity.Length() * toKelvo.Length()), 0.97f);
    EXPECT_EQ(crab->getStamina(), 75);
}

TEST_F(KVDuelTest, AnAreaAttackHurtsTheTargetsItCollected) {
    TestKelvo* bomber = makeKelvo(
        "bomber", 0.0f, 0.0f,
        fighterStats(
            {{"hasAOEAttack", "YES"}, {"Range AoE", "96"}, {"DMG AoE", "25"}, {"Push Off Coef AoE", "2"}}));
    KVPawnPlayerController* controller = playerControllerOf(bomber);
    SidewaysPawn* near = makeCrab("near", 2.0f, 0.0f);
    SidewaysPawn* armoured = makeCrab("armoured", 0.0f, -2.5f, {{"Defense", "5"}});
    SidewaysPawn* far = makeCrab("far", 5.0f, 0.0f);
    trace->name(bomber, "bomber");
    bomber->setAttackCharges(1);
    bomber->setSelected(true);
    ASSERT_EQ(controller->getDamageMode(), KVPawnController::kDamageArea);
    ASSERT_NE(controller->getAreaPreview(), nullptr);
    EXPECT_EQ(controller->getTargets()->count(), 2u);
    EXPECT_EQ(keeper->countOf("KVAOEAttack"), 1);

    controller->onTap(0.0f, 3.5f); // out of range, on nobody
    EXPECT_NE(trace->find("EVENT_MISSED_AOE bomber"), -1);
    controller->onTap(1.0f, 1.0f);
    EXPECT_EQ(controller->getDamageMode(), 0);
    turnFrame(); // upright already: the attack animation starts
    EXPECT_NE(trace->find("EVENT_AOE_ANIM_START bomber"), -1);
    EXPECT_EQ(bomber->getAttackCharges(), 0);
    EXPECT_EQ(keeper->countOf("KVAOEAttack"), 1); // the attack goes on without the controller

    trace->clear();
    post(EVENT_AOE_ANIM_OVER, bomber); // as the bomber's view does at the end of its animation
    EXPECT_EQ(trace->lines,
              (std::vector<std::string>{"EVENT_ACTION 2 25 bomber>near", "EVENT_ACTION 2 20 bomber>armoured",
                                        "EVENT_AOE_TRIGGERED bomber"}));
    EXPECT_EQ(near->getHitPoints(), 75);
    EXPECT_EQ(armoured->getHitPoints(), 80);
    EXPECT_EQ(far->getHitPoints(), 100);
    EXPECT_GT(near->getBody()->GetLinearVelocity().x, 0.0f); // pushed away from the bomber
    post(EVENT_AOE_ANIM_OVER, bomber);                       // a second report deals nothing more
    EXPECT_EQ(near->getHitPoints(), 75);

    // Leaving the area mode before the attack takes the aiming preview off the board.
    bomber->setAttackCharges(1);
    bomber->setSelected(false);
    bomber->setSelected(true);
    KVAOEAttack* preview = controller->getAreaPreview();
    ASSERT_NE(preview, nullptr);
    trace->clear();
    post(EVENT_DAMAGE_MODE_REQUEST_OFF, bomber);
    EXPECT_NE(trace->find("EVENT_REMOVE_ACTOR ?"), -1);
    EXPECT_EQ(controller->getAreaPreview(), nullptr);
}

TEST_F(KVDuelTest, AnAreaAttackWithoutTargetsStillReportsItselfAndEndsWithItsAttacker) {
    TestKelvo* bomber = makeKelvo("bomber", 0.0f, 0.0f, fighterStats({{"hasAOEAttack", "YES"}}));
    trace->name(bomber, "bomber");
    auto* attack = new KVAOEAttack();
    ASSERT_TRUE(attack->initWithAttacker(0.0f, 0.0f, bomber, KVAOEAttack::kPhaseAiming, 3.0f, nullptr));
    trace->name(attack, "attack");
    attack->setPhase(KVAOEAttack::kPhaseTriggered);
    EXPECT_NE(trace->find("EVENT_AOE_TRIGGERED bomber"), -1);
    EXPECT_TRUE(attack->isTriggered());
    bomber->getBody()->SetTransform(b2Vec2(2.0f, 1.0f), 0.0f);
    step();
    attack->update(pawntest::kFrame);
    EXPECT_FLOAT_EQ(attack->positionX, 2.0f);
    post(EVENT_REMOVE_ACTOR, bomber);
    EXPECT_NE(trace->find("EVENT_REMOVE_ACTOR attack"), -1);
    EXPECT_TRUE(attack->isRemoved());
    attack->release();

    auto* orphan = new KVAOEAttack();
    EXPECT_FALSE(orphan->initWithAttacker(0.0f, 0.0f, nullptr, 1, 1.0f, nullptr));
    orphan->release();
}

// The player picks a distance target; once the kelvo has aimed, its shot starts with the target's
// position; the view answers idle after firing, and with no stamina left the turn ends.
TEST_F(KVDuelTest, ADistanceAttackTurnEnds) {
    TestKelvo* archer = makeKelvo("archer", 0.0f, 0.0f,
                                  fighterStats({{"hasDistanceAttack", "YES"}, {"Range Target", "320"}}));
    KVPawnPlayerController* controller = playerControllerOf(archer);
    makeCrab("crab", 1.0f, 6.0f);
    trace->name(archer, "archer");
    archer->getBody()->SetTransform(b2Vec2(0.0f, 0.0f), 0.8f); // leaning: it stands up to shoot
    turns->startFirstTurn();
    post(EVENT_CAM_PLAYABLE);
    ASSERT_EQ(controller->getDamageMode(), KVPawnController::kDamageDistance);
    archer->setStamina(0);
    controller->onTap(1.2f, 5.8f);
    ASSERT_TRUE(runUntil("EVENT_DISTANCE_ATTACK_ANIM_START ?", 120)) << trace->dump();
    EXPECT_NEAR(std::cos(archer->getBody()->GetAngle()), 1.0f, 1e-5f);
    EXPECT_EQ(trace->find("EVENT_END_TURN archer"), -1); // the shot is still flying
    post(EVENT_NOTIFY_IDLE, archer);                     // as the view does once it fired
    EXPECT_TRUE(runUntil("EVENT_END_TURN archer", 120)) << trace->dump();
}

} // namespace
