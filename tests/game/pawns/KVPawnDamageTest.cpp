#include "PawnTestSupport.h"

using pawntest::fighterStats;
using pawntest::PawnWorldTest;
using pawntest::Trace;

namespace {

class KVPawnDamageTest : public PawnWorldTest {
protected:
    Trace* trace(std::initializer_list<kvengine::CCString*> names) {
        auto* made = new Trace(names);
        m_traces.push_back(made);
        return made;
    }
    void TearDown() override {
        for (Trace* each : m_traces)
            each->release();
        PawnWorldTest::TearDown();
    }

private:
    std::vector<Trace*> m_traces;
};

// A striker of the player side sent into a resting enemy that touches it, as in one frame of
// play: the impulse is given, then the world steps once (the contact is judged inside the step,
// its posts are delivered right after it).
TEST_F(KVPawnDamageTest, MeleeDamageFollowsTheStrikersSpeedAndTheTargetsDefence) {
    struct Case {
        const char* what;
        float speed; // fraction of the striker's full-launch speed; < 0: that many m/s, absolute
        const char* defense;
        const char* targetHP;
        bool melee; // the striker has "hasSpecialMeleeAttack"
        int damage; // the event's value; 0: nothing happens
        int hitPointsLeft;
        bool dies;
    };
    const Case cases[] = {
        {"graze: 0.05 of full speed multiplies by 0.01", 0.05f, "0", "100", true, 1, 99, false},
        {"0.35 of full speed: trunc(30 x 0.35)", 0.35f, "0", "100", true, 10, 90, false},
        {"above 0.4 of full speed counts in full", 0.5f, "0", "100", true, 30, 70, false},
        {"Defense 12 is taken from the full hit", 0.5f, "12", "100", true, 18, 82, false},
        {"a hit under the defence still takes 1", 0.35f, "12", "100", true, 1, 99, false},
        {"a graze under the defence still takes 1", 0.05f, "12", "100", true, 1, 99, false},
        {"0.1 m/s: the contact does nothing", -0.1f, "0", "100", true, 0, 100, false},
        {"a 3-HP target dies; the value is not clipped", 0.5f, "0", "3", true, 30, 0, true},
        {"without the melee flag only the bounce", 0.5f, "0", "100", false, 0, 100, false},
    };
    float row = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        row += 10.0f; // each case on its own row, clear of the pawns of the cases before it
        auto* striker =
            makePawn("kelvo", 0.0f, row, fighterStats({{"hasSpecialMeleeAttack", c.melee ? "YES" : "NO"}}));
        auto* target = makePawn("crab", 1.0f, row, fighterStats({{"Defense", c.defense}, {"HP", c.targetHP}}),
                                true, true);
        Trace* events = trace({EVENT_ACTION, EVENT_PAWN_TAKE_DAMAGE, EVENT_DEAD_PAWN, EVENT_NEW_ACTOR});
        events->name(striker, "kelvo");
        events->name(target, "crab");
        post(EVENT_START_TURN, striker);

        const float fullSpeed = striker->getMaxLaunchSpeed();
        ASSERT_NEAR(fullSpeed, 20.0f / (3.14159265f * 0.25f), 1e-3f);
        if (c.speed > 0.0f)
            launch(striker, c.speed);
        else
            striker->getBody()->SetLinearVelocity(b2Vec2(-c.speed, 0.0f));
        events->clear();
        physics->update(pawntest::kFrame);

        EXPECT_EQ(target->getHitPoints(), c.hitPointsLeft);
        EXPECT_EQ(target->isDead(), c.dies);
        std::vector<std::string> expected;
        if (c.damage > 0) {
            expected = {"EVENT_ACTION 3 " + std::to_string(c.damage) + " kelvo>crab", "EVENT_NEW_ACTOR ?",
                        "EVENT_PAWN_TAKE_DAMAGE crab"};
            if (c.dies) {
                expected.push_back("EVENT_ACTION 0 0 kelvo>crab");
                expected.push_back("EVENT_DEAD_PAWN crab");
            }
        }
        EXPECT_EQ(events->lines, expected);
        if (c.damage > 0) {
            ASSERT_FALSE(events->ratios.empty());
            EXPECT_FLOAT_EQ(events->ratios[0], static_cast<float>(c.damage) / std::stof(c.targetHP));
        }
        EXPECT_EQ(striker->getContactSpeed(), 0.0f);
        post(EVENT_GAME_SHUTDOWN);
    }
}

// The collision throws the target the same way with or without a melee hit: melee adds no push.
TEST_F(KVPawnDamageTest, MeleeAddsNoPushToTheCollision) {
    b2Vec2 velocities[2];
    for (int withMelee = 0; withMelee < 2; ++withMelee) {
        auto* striker = makePawn("kelvo", 0.0f, 10.0f * withMelee,
                                 fighterStats({{"hasSpecialMeleeAttack", withMelee ? "YES" : "NO"}}));
        auto* target = makePawn("crab", 1.0f, 10.0f * withMelee, fighterStats(), true);
        post(EVENT_START_TURN, striker);
        launch(striker, 0.5f);
        physics->update(pawntest::kFrame);
        EXPECT_EQ(target->getHitPoints(), withMelee ? 70 : 100);
        velocities[withMelee] = target->getBody()->GetLinearVelocity();
        post(EVENT_GAME_SHUTDOWN);
    }
    EXPECT_GT(velocities[0].x, 1.0f);
    EXPECT_EQ(velocities[0].x, velocities[1].x);
    EXPECT_EQ(velocities[0].y, velocities[1].y);
}

// Only the pawn of the acting side judges a contact: the same strike in the enemies' turn hurts
// nobody, and team mates that strike each other heal each other with the stored Heal one way and
// the getter (bonuses included) the other way.
class HealBonusPawn : public pawntest::TestPawn {
public:
    int getHeal() override { return KVPawn::getHeal() + 100; }
};

TEST_F(KVPawnDamageTest, OnlyTheActingSideJudgesAndTeamMatesHealEachOther) {
    auto* striker = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    auto* target = makePawn("crab", 1.0f, 0.0f, fighterStats(), true);
    auto* enemyMate = makePawn("enemy", 10.0f, 0.0f, fighterStats(), true);
    post(EVENT_START_TURN, enemyMate); // the enemies act
    launch(striker, 1.0f);
    physics->update(pawntest::kFrame);
    EXPECT_EQ(target->getHitPoints(), 100);
    EXPECT_EQ(striker->getHitPoints(), 100);
    post(EVENT_GAME_SHUTDOWN);

    // Team mates, both hurt. The one whose callback comes first judges the contact: it gives the
    // other its stored Heal and takes the other's getHeal (here 100 more than the stored 7).
    auto* healer = new HealBonusPawn();
    auto* name = new kvengine::CCString("mate");
    ASSERT_TRUE(healer->initAt(20.0f, 0.0f, nullptr, name));
    name->release();
    healer->readStats(fighterStats({{"Heal", "7"}}));
    ASSERT_TRUE(healer->createBody());
    healer->registerObservers();
    pawns.push_back(healer);
    auto* mate = makePawn("kelvo", 19.0f, 0.0f, fighterStats());
    healer->setHitPoints(50);
    mate->setHitPoints(50);
    Trace* events = trace({EVENT_ACTION, EVENT_PAWN_HIT_PAWN});
    events->name(healer, "healer");
    events->name(mate, "mate");
    post(EVENT_START_TURN, mate);
    launch(mate, 0.5f);
    events->clear();
    physics->update(pawntest::kFrame);
    ASSERT_EQ(events->lines.size(), 3u) << events->dump();
    if (events->lines[0] == "EVENT_PAWN_HIT_PAWN healer") { // the mate judged
        EXPECT_EQ(events->lines[1], "EVENT_ACTION 4 5 mate>healer");
        EXPECT_EQ(events->lines[2], "EVENT_ACTION 4 50 healer>mate");
        EXPECT_EQ(healer->getHitPoints(), 55);
        EXPECT_EQ(mate->getHitPoints(), 100);
    } else { // the healer judged
        EXPECT_EQ(events->lines[0], "EVENT_PAWN_HIT_PAWN mate");
        EXPECT_EQ(events->lines[1], "EVENT_ACTION 4 7 healer>mate");
        EXPECT_EQ(events->lines[2], "EVENT_ACTION 4 5 mate>healer");
        EXPECT_EQ(healer->getHitPoints(), 55);
        EXPECT_EQ(mate->getHitPoints(), 57);
    }
}

// The speed threshold holds between team mates too: a touch at 0.1 m/s heals nobody, one just
// above it heals both ways.
TEST_F(KVPawnDamageTest, TeamMatesTouchingAtWalkingPaceDoNotHeal) {
    struct Case {
        float speed; // m/s, the striker's along +x
        int strikerLeft, mateLeft;
    };
    const Case cases[] = {{0.1f, 50, 50}, {0.12f, 55, 55}};
    float row = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        row += 10.0f;
        auto* striker = makePawn("kelvo", 0.0f, row, fighterStats());
        auto* mate = makePawn("mate", 1.0f, row, fighterStats());
        striker->setHitPoints(50);
        mate->setHitPoints(50);
        Trace* events = trace({EVENT_ACTION, EVENT_PAWN_HIT_PAWN});
        post(EVENT_START_TURN, striker);
        striker->getBody()->SetLinearVelocity(b2Vec2(c.speed, 0.0f));
        events->clear();
        physics->update(pawntest::kFrame);
        EXPECT_EQ(striker->getHitPoints(), c.strikerLeft);
        EXPECT_EQ(mate->getHitPoints(), c.mateLeft);
        EXPECT_EQ(events->lines.size(), c.strikerLeft == 50 ? 0u : 3u) << events->dump();
        EXPECT_EQ(striker->getContactSpeed(), 0.0f);
        post(EVENT_GAME_SHUTDOWN);
    }
}

TEST_F(KVPawnDamageTest, KnockBackPushesAwayFromTheAttackerUnlessBothStandAtOnePoint) {
    auto* shooter = makePawn("shooter", 0.0f, 0.0f, fighterStats());
    auto* target = makePawn("crab", 3.0f, 4.0f, fighterStats(), true);
    target->takeDamage(20, shooter, KVActionEvent::DistanceHit, 1.0f, 5.0f);
    EXPECT_EQ(target->getHitPoints(), 80);
    const b2Vec2 pushed = target->getBody()->GetLinearVelocity();
    const float mass = target->getBody()->GetMass();
    EXPECT_NEAR(pushed.x, 0.6f * 5.0f / mass, 1e-4f);
    EXPECT_NEAR(pushed.y, 0.8f * 5.0f / mass, 1e-4f);
    step(10);
    float x = 0.0f, y = 0.0f;
    target->getPosition(&x, &y);
    EXPECT_GT(x, 3.0f);
    EXPECT_GT(y, 4.0f);

    // Attacker and target on one point: there is no "away", so no push at all.
    auto* twin = makePawn("twin", 50.0f, 50.0f, fighterStats(), true);
    auto* attacker = makePawn("attacker", 50.0f, 50.00005f, fighterStats());
    twin->takeDamage(20, attacker, KVActionEvent::AreaHit, 1.0f, 5.0f);
    EXPECT_EQ(twin->getHitPoints(), 80);
    EXPECT_EQ(twin->getBody()->GetLinearVelocity().Length(), 0.0f);
}

TEST_F(KVPawnDamageTest, RefusedHitsPostNothing) {
    auto* attacker = makePawn("attacker", 0.0f, 0.0f, fighterStats());
    auto* target = makePawn("target", 5.0f, 0.0f, fighterStats({{"Defense", "12"}}), true);
    Trace* events = trace({EVENT_ACTION, EVENT_PAWN_TAKE_DAMAGE, EVENT_DEAD_PAWN});
    events->name(attacker, "attacker");
    events->name(target, "target");

    target->takeDamage(0, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f); // no amount
    target->setProtected(true);
    target->takeDamage(50, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f); // protected
    target->setProtected(false);
    target->setTakesDamage(false);
    target->takeDamage(50, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f); // multiplayer
    target->heal(10, nullptr);
    target->setTakesDamage(true);
    target->heal(10, nullptr); // already at full hit points
    EXPECT_TRUE(events->lines.empty()) << events->dump();
    EXPECT_EQ(target->getHitPoints(), 100);

    target->setHitPoints(3);
    target->takeDamage(10, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f);
    EXPECT_EQ(events->lines, (std::vector<std::string>{"EVENT_ACTION 1 1 attacker>target",
                                                       "EVENT_PAWN_TAKE_DAMAGE target"}));
    target->takeDamage(200, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f);
    EXPECT_TRUE(target->isDead());
    events->clear();
    // Dead but not yet removed: no more hits, and no healing back either.
    target->takeDamage(200, attacker, KVActionEvent::DistanceHit, 1.0f, 0.0f);
    target->heal(10, attacker);
    target->healFully();
    EXPECT_TRUE(events->lines.empty()) << events->dump();
    EXPECT_EQ(target->getHitPoints(), 0);
}

// Hazards that must take a fixed net amount pass the victim's Defense on top: the kraken's
// Defense + HP - 1 leaves 1 HP, kills a victim at 1 HP with some defence (every accepted hit takes
// at least 1) and does nothing to one at 1 HP without defence (the amount is 0).
TEST_F(KVPawnDamageTest, KrakenAmountLeavesOneHitPoint) {
    struct Case {
        int defense, hitPoints, left;
    };
    const Case cases[] = {{0, 40, 1}, {7, 40, 1}, {7, 2, 1}, {7, 1, 0}, {0, 1, 1}};
    for (const Case& c : cases) {
        auto* victim = makePawn("victim", 0.0f, 0.0f,
                                fighterStats({{"Defense", std::to_string(c.defense).c_str()}}), true);
        victim->setHitPoints(c.hitPoints);
        victim->takeDamage(victim->getDefense() + victim->getHitPoints() - 1, nullptr,
                           KVActionEvent::KrakenHit, 1.0f, 0.0f);
        EXPECT_EQ(victim->getHitPoints(), c.left) << c.defense << " " << c.hitPoints;
        post(EVENT_GAME_SHUTDOWN);
    }
}

TEST_F(KVPawnDamageTest, HealingPostsItsFlashBeforeTheEventAndHealFullyIgnoresTheMode) {
    auto* pawn = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    Trace* events = trace({EVENT_ACTION, EVENT_NEW_ACTOR});
    events->name(pawn, "kelvo");
    pawn->setHitPoints(90);
    pawn->heal(25, pawn);
    EXPECT_EQ(pawn->getHitPoints(), 100);
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_NEW_ACTOR ?", "EVENT_ACTION 4 10 kelvo>kelvo"}));

    events->clear();
    pawn->setTakesDamage(false);
    pawn->setHitPoints(60);
    pawn->heal(25, pawn);
    EXPECT_EQ(pawn->getHitPoints(), 60);
    pawn->healFully();
    EXPECT_EQ(pawn->getHitPoints(), 100);
    EXPECT_EQ(events->lines, (std::vector<std::string>{"EVENT_NEW_ACTOR ?", "EVENT_ACTION 4 40 ->kelvo"}));
    events->clear();
    pawn->healFully();
    EXPECT_TRUE(events->lines.empty());
}

TEST_F(KVPawnDamageTest, NonFiniteOrHugeMultipliersStayInRange) {
    auto* pawn = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    pawn->takeDamage(1000000, nullptr, KVActionEvent::SpikyBallHit, 1e30f, 0.0f);
    EXPECT_EQ(pawn->getHitPoints(), 0);
    auto* other = makePawn("other", 5.0f, 0.0f, fighterStats());
    other->takeDamage(10, nullptr, KVActionEvent::SpikyBallHit, std::nanf(""), 0.0f);
    EXPECT_EQ(other->getHitPoints(), 99);
}

} // namespace
