#include "PawnTestSupport.h"

#include <algorithm>

#include "game/pawns/KVPawnController.h"
#include "game/powerups/KVPowerup.h"

using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::PawnWorldTest;
using pawntest::statsOf;
using pawntest::Trace;

namespace {

class KVPawnModelTest : public PawnWorldTest {
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

TEST_F(KVPawnModelTest, StatsAreReadWithAtoiAtofAndYesOrNonZeroFlags) {
    auto* pawn = makePawn("kelvo", 0.0f, 0.0f,
                          statsOf({{"HP", "120"},
                                   {"SP", "80x"},
                                   {"Move Power", "12.5"},
                                   {"Weight Density", "0.75"},
                                   {"Radius", "24"},
                                   {"Range AoE", "96"},
                                   {"Push Off Coef AoE", "3.5"},
                                   {"Speed", "-2"},
                                   {"hasDistanceAttack", "YES"},
                                   {"hasAOEAttack", "1"},
                                   {"hasSpecialMeleeAttack", "yes"},
                                   {"hasHealingPower", "NO"},
                                   {"hasDashAbility", "0"},
                                   {"spritesheet_name", "kelvo_ss"},
                                   {"Voice", "Male"}}));
    EXPECT_EQ(pawn->getMaxHP(), 120);
    EXPECT_EQ(pawn->getMaxSP(), 80);
    EXPECT_EQ(pawn->getHitPoints(), 120);
    EXPECT_EQ(pawn->getStamina(), 80);
    EXPECT_FLOAT_EQ(pawn->getMovePower(), 12.5f);
    EXPECT_EQ(pawn->getRangeAoE(), 96);
    EXPECT_FLOAT_EQ(pawn->getPushOffCoefAoE(), 3.5f);
    EXPECT_EQ(pawn->getSpeed(), -2);
    EXPECT_EQ(pawn->getDefense(), 0); // missing
    EXPECT_TRUE(pawn->hasDistanceAttack());
    EXPECT_TRUE(pawn->hasAOEAttack());
    EXPECT_FALSE(pawn->hasSpecialMeleeAttack()); // "yes" is not "YES"
    EXPECT_FALSE(pawn->hasHealingPower());
    EXPECT_FALSE(pawn->hasDashAbility());
    EXPECT_STREQ(pawn->getSpriteSheetName()->c_str(), "kelvo_ss");
    EXPECT_EQ(pawn->getSpriteName(), nullptr);
    EXPECT_STREQ(pawn->getVoice()->c_str(), "Male");

    // The body: a 0.75 m circle of density 0.75; a full launch gives the maximum speed.
    b2Body* body = pawn->getBody();
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(reinterpret_cast<KVPawn*>(body->GetUserData().pointer), pawn);
    EXPECT_TRUE(body->IsBullet());
    const float mass = 0.75f * 3.14159265f * 0.75f * 0.75f;
    EXPECT_NEAR(body->GetMass(), mass, 1e-4f);
    EXPECT_NEAR(pawn->getMaxLaunchSpeed(), 12.5f / mass, 1e-3f);
    launch(pawn, 1.0f);
    EXPECT_NEAR(body->GetLinearVelocity().Length(), pawn->getMaxLaunchSpeed(), 1e-3f);
    EXPECT_NEAR(pawn->getLaunchPowerForDistance(10.0f), 10.0f * 2.2f * mass / (12.5f * 0.94f), 1e-4f);
}

TEST_F(KVPawnModelTest, BadStatsAndMisuseFailSafely) {
    LogCapture log;
    // Negative and non-numeric sizes make a body of radius 0 and density 0, which has no mass:
    // nothing moves it and its maximum speed is 0, not a division by zero.
    auto* pawn = makePawn("odd", 0.0f, 0.0f,
                          statsOf({{"Radius", "-5"}, {"Weight Density", "nan"}, {"Move Power", "4"}}));
    ASSERT_NE(pawn->getBody(), nullptr);
    EXPECT_EQ(pawn->getBody()->GetMass(), 0.0f);
    EXPECT_EQ(pawn->getMaxLaunchSpeed(), 0.0f);
    EXPECT_TRUE(log.contains("bad Radius"));
    EXPECT_FALSE(pawn->createBody());
    EXPECT_TRUE(log.contains("already has a body"));

    auto* empty = new KVPawn();
    empty->readStats(nullptr);
    EXPECT_EQ(empty->getMaxHP(), 0);
    EXPECT_EQ(empty->getLaunchPowerForDistance(5.0f), 0.0f);
    physics->destroyWorld();
    EXPECT_FALSE(empty->createBody());
    EXPECT_TRUE(log.contains("no physics world"));
    empty->release();
}

TEST_F(KVPawnModelTest, OwnTurnStartRegainsStaminaUpToTheMaximumAndSidesLearnWhoActs) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    auto* mate = makePawn("mate", 5.0f, 0.0f, fighterStats());
    auto* crab = makePawn("crab", 10.0f, 0.0f, fighterStats(), true);
    Trace* events = trace({EVENT_KELVO_ATTACK_MODE_AVAILABLE});
    events->name(kelvo, "kelvo");
    kelvo->setStamina(90);
    kelvo->setDashesLeft(0);
    post(EVENT_START_TURN, kelvo);
    EXPECT_EQ(kelvo->getStamina(), 100); // 90 + 25, capped
    EXPECT_EQ(kelvo->getDashesLeft(), 2);
    EXPECT_EQ(kelvo->getAttackCharges(), 1);
    EXPECT_TRUE(kelvo->isTurnActive());
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_KELVO_ATTACK_MODE_AVAILABLE kelvo"});
    EXPECT_TRUE(kelvo->isOwnSideActing());
    EXPECT_TRUE(mate->isOwnSideActing());
    EXPECT_FALSE(mate->isTurnActive());
    EXPECT_FALSE(crab->isOwnSideActing());

    kelvo->setStamina(10);
    post(EVENT_START_TURN, crab);
    EXPECT_EQ(kelvo->getStamina(), 10);
    EXPECT_FALSE(kelvo->isOwnSideActing());
    EXPECT_TRUE(crab->isOwnSideActing());
    post(EVENT_END_TURN, kelvo);
    EXPECT_FALSE(kelvo->isTurnActive());
}

TEST_F(KVPawnModelTest, BusyAndIdleAreAnnouncedOnceEach) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    Trace* events = trace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE, EVENT_PAWN_SELECTED,
                           EVENT_PAWN_UNSELECTED, EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE});
    events->name(kelvo, "kelvo");
    kelvo->setSelected(true);
    kelvo->setSelected(true); // no change, no post
    launch(kelvo, 0.3f);
    step();
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_PAWN_SELECTED kelvo", "EVENT_NOTIFY_IN_ACTION kelvo",
                                        "EVENT_PAWN_UNSELECTED kelvo",
                                        "EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE kelvo"}));
    events->clear();
    int frames = 1;
    while (events->lines.empty() && frames < 600) {
        step();
        ++frames;
    }
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_NOTIFY_IDLE kelvo"});
    EXPECT_EQ(kelvo->getBody()->GetLinearVelocity().Length(), 0.0f); // stopped, not drifting
    EXPECT_LT(frames, 120);

    // Forced busy while standing still, idle in the frame after the force is lifted.
    events->clear();
    kelvo->setForcedInAction(true);
    step(3);
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION kelvo"});
    post(EVENT_DISABLE_FORCE_IN_ACTION);
    step();
    EXPECT_EQ(events->lines.back(), "EVENT_NOTIFY_IDLE kelvo");

    // A dead pawn is never selected.
    events->clear();
    kelvo->takeDamage(1000, nullptr, KVActionEvent::SpikyWallHit, 1.0f, 0.0f);
    kelvo->setSelected(true);
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_PAWN_UNSELECTED kelvo"});
}

TEST_F(KVPawnModelTest, PointsWithinOneAndAQuarterMetreAreOnThePawn) {
    auto* kelvo = makePawn("kelvo", 2.0f, 3.0f, fighterStats());
    EXPECT_TRUE(kelvo->containsPoint(3.25f, 3.0f));
    EXPECT_TRUE(kelvo->containsPoint(2.0f, 1.75f));
    EXPECT_FALSE(kelvo->containsPoint(3.26f, 3.0f));
    EXPECT_FALSE(kelvo->containsPoint(2.9f, 3.9f));
}

TEST_F(KVPawnModelTest, NotificationsAboutThePawnItself) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    auto* crab = makePawn("crab", 5.0f, 0.0f, fighterStats(), true);
    Trace* events = trace({EVENT_ACTION, EVENT_REMOVE_ACTOR, EVENT_PAWN_UNSELECTED});
    events->name(kelvo, "kelvo");
    events->name(crab, "crab");

    // An enemy falling during a kelvo's turn is the kelvo's doing (type 16); not in another turn.
    post(EVENT_PAWN_FALL, crab);
    post(EVENT_START_TURN, kelvo);
    post(EVENT_PAWN_FALL, crab);
    post(EVENT_PAWN_FALL, kelvo);
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_ACTION 16 0 kelvo>crab"});

    // The view's "ready" after the knock-out removes the pawn; others' "ready" does not.
    events->clear();
    post(EVENT_DEAD_PAWN_READY, crab);
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_REMOVE_ACTOR crab"});
    EXPECT_TRUE(crab->isRemoved());
    EXPECT_FALSE(kelvo->isRemoved());

    // Leaving damage mode deselects only the pawn named.
    events->clear();
    kelvo->setSelected(true);
    post(EVENT_DAMAGE_MODE_OFF, crab);
    EXPECT_TRUE(kelvo->isSelected());
    post(EVENT_DAMAGE_MODE_OFF, kelvo);
    EXPECT_FALSE(kelvo->isSelected());
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_PAWN_UNSELECTED kelvo"});

    // Move-start position follows each move over.
    kelvo->getBody()->SetTransform(b2Vec2(4.0f, -1.0f), 0.0f);
    step();
    post(EVENT_MOVE_OVER);
    EXPECT_FLOAT_EQ(kelvo->getMoveStartPosition().x, 4.0f);
    EXPECT_FLOAT_EQ(kelvo->getMoveStartPosition().y, -1.0f);
}

// A removed pawn stays in the world until it is deleted, but nothing collides with it any more.
TEST_F(KVPawnModelTest, ARemovedPawnNoLongerCollides) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    auto* ghost = makePawn("crab", 3.0f, 0.0f, fighterStats(), true);
    Trace* events = trace({EVENT_PAWN_BOUNCE});
    events->name(kelvo, "kelvo");
    post(EVENT_REMOVE_ACTOR, ghost);
    ASSERT_TRUE(ghost->isRemoved());
    ASSERT_NE(ghost->getBody(), nullptr);
    launch(kelvo, 1.0f);
    step(30);
    float x = 0.0f;
    kelvo->getPosition(&x, nullptr);
    EXPECT_GT(x, 4.5f); // passed through
    EXPECT_TRUE(events->lines.empty());
    float ghostX = 0.0f;
    ghost->getPosition(&ghostX, nullptr);
    EXPECT_FLOAT_EQ(ghostX, 3.0f);
}

// ---- Modifiers ----

class CountingPowerup : public KVPowerup {
public:
    explicit CountingPowerup(int kindCode, float factor = 1.0f, bool intercepts = false)
        : m_factor(factor), m_intercepts(intercepts) {
        kind = kindCode;
    }
    void update(float dt) override {
        (void)dt;
        ++updates;
    }
    void onOwnerTurnEnd() override { active = expireAtTurnEnd ? 0 : 1; }
    bool interceptContact(KVActor* other) override {
        (void)other;
        ++contactsAsked;
        return m_intercepts;
    }
    float getMovePowerFactor() override { return m_factor; }
    bool interceptProjectile(KVProjectile* projectile) override {
        (void)projectile;
        ++projectilesAsked;
        return interceptsProjectiles;
    }

    int updates = 0;
    int contactsAsked = 0;
    int projectilesAsked = 0;
    bool interceptsProjectiles = false;
    bool expireAtTurnEnd = false;

private:
    float m_factor;
    bool m_intercepts;
};

TEST_F(KVPawnModelTest, ModifiersScaleMovePowerAndAreDroppedWhenSpentOrDisplaced) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    Trace* events = trace({EVENT_POWERUP_PICKED_UP, EVENT_END_OF_SUSHI});
    events->name(kelvo, "kelvo");
    auto* sushi = new CountingPowerup(1, 1.8f);
    auto* drink = new CountingPowerup(0, 1.5f);
    drink->expireAtTurnEnd = true;
    kelvo->addModifier(sushi);
    kelvo->addModifier(drink);
    EXPECT_EQ(sushi->getOwner(), kelvo);
    EXPECT_FLOAT_EQ(kelvo->getMovePower(), 20.0f * 1.8f * 1.5f);
    step(2);
    EXPECT_EQ(sushi->updates, 2);

    // A second sushi displaces the first (same kind), which announces its end.
    auto* secondSushi = new CountingPowerup(1, 1.8f);
    kelvo->addModifier(secondSushi);
    EXPECT_EQ(sushi->getOwner(), nullptr);
    EXPECT_EQ(kelvo->getModifiers()->count(), 2u);
    EXPECT_EQ(events->lines,
              (std::vector<std::string>{"EVENT_POWERUP_PICKED_UP kelvo", "EVENT_POWERUP_PICKED_UP kelvo",
                                        "EVENT_END_OF_SUSHI kelvo", "EVENT_POWERUP_PICKED_UP kelvo"}));

    // The drink expires at the end of the owner's turn.
    post(EVENT_END_TURN_BEFORE_BUFFER, kelvo);
    EXPECT_EQ(drink->getOwner(), nullptr);
    EXPECT_EQ(kelvo->getModifiers()->count(), 1u);
    EXPECT_FLOAT_EQ(kelvo->getMovePower(), 20.0f * 1.8f);

    // The owner's removal detaches what it carries, breaking the ownership cycle.
    post(EVENT_REMOVE_ACTOR, kelvo);
    EXPECT_EQ(secondSushi->getOwner(), nullptr);
    sushi->release();
    drink->release();
    secondSushi->release();
}

TEST_F(KVPawnModelTest, AnInterceptingModifierTurnsTheContactOff) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    auto* crab = makePawn("crab", 3.0f, 0.0f, fighterStats(), true);
    auto* log = new CountingPowerup(3, 1.0f, true);
    auto* quiet = new CountingPowerup(2, 1.0f, false);
    kelvo->addModifier(log);
    kelvo->addModifier(quiet);
    post(EVENT_START_TURN, kelvo);
    launch(kelvo, 1.0f);
    step(30);
    float x = 0.0f;
    kelvo->getPosition(&x, nullptr);
    EXPECT_GT(x, 4.5f); // went through the crab
    EXPECT_EQ(crab->getHitPoints(), 100);
    EXPECT_GT(log->contactsAsked, 0);
    EXPECT_EQ(quiet->contactsAsked, log->contactsAsked); // every modifier is asked
    post(EVENT_GAME_SHUTDOWN);
    log->release();
    quiet->release();
}

TEST_F(KVPawnModelTest, EveryModifierIsAskedAboutAProjectile) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    EXPECT_FALSE(kelvo->isProjectileIntercepted(nullptr)); // nothing carried
    auto* log = new CountingPowerup(3);
    auto* shell = new CountingPowerup(2);
    kelvo->addModifier(log);
    kelvo->addModifier(shell);
    EXPECT_FALSE(kelvo->isProjectileIntercepted(nullptr));
    log->interceptsProjectiles = true;
    EXPECT_TRUE(kelvo->isProjectileIntercepted(nullptr));
    EXPECT_EQ(log->projectilesAsked, 2);
    EXPECT_EQ(shell->projectilesAsked, 2) << "asked even after the first said yes";
    post(EVENT_REMOVE_ACTOR, kelvo);
    log->release();
    shell->release();
}

// Bounces: against a wall the pawn counts one of each; against an enemy the enemy does not make
// the striker bounce, but the striker makes the enemy bounce, and without melee nobody is hurt.
TEST_F(KVPawnModelTest, ContactsAnnounceBouncesByWhatWasHit) {
    struct Case {
        const char* what;
        bool wall;                      // else an enemy crab
        std::vector<std::string> posts; // sorted
    };
    const Case cases[] = {
        {"a wall", true, {"EVENT_PAWN_BOUNCE kelvo", "EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT kelvo"}},
        {"an enemy",
         false,
         {"EVENT_PAWN_BOUNCE crab", "EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT crab",
          "EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT kelvo"}},
    };
    float row = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        row += 10.0f;
        auto* kelvo = makePawn("kelvo", 0.0f, row, fighterStats({{"hasSpecialMeleeAttack", "NO"}}));
        KVPawn* crab = nullptr;
        if (c.wall) {
            b2BodyDef wallDef;
            wallDef.position.Set(2.0f, row);
            b2PolygonShape box;
            box.SetAsBox(0.1f, 3.0f);
            physics->getWorld()->CreateBody(&wallDef)->CreateFixture(&box, 0.0f);
        } else {
            crab = makePawn("crab", 2.0f, row, fighterStats(), true, true);
        }
        Trace* events = trace({EVENT_PAWN_BOUNCE, EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT});
        events->name(kelvo, "kelvo");
        if (crab != nullptr) events->name(crab, "crab");
        post(EVENT_START_TURN, kelvo);
        launch(kelvo, 0.5f);
        for (int i = 0; i < 10 && events->lines.empty(); ++i)
            step();
        std::vector<std::string> posts = events->lines;
        std::sort(posts.begin(), posts.end());
        EXPECT_EQ(posts, c.posts) << events->dump();
        if (c.wall) {
            float x = 0.0f;
            kelvo->getPosition(&x, nullptr);
            EXPECT_NEAR(kelvo->getLastBouncePosition().x, x, 0.5f) << "where it struck";
            EXPECT_GT(kelvo->getLastBouncePosition().x, 0.5f);
            EXPECT_FLOAT_EQ(kelvo->getLastBouncePosition().y, row);
        } else {
            EXPECT_EQ(crab->getHitPoints(), 100);
            EXPECT_FLOAT_EQ(crab->getLastBouncePosition().x, 2.0f) << "the struck crab's own place";
            EXPECT_FLOAT_EQ(kelvo->getLastBouncePosition().y, 0.0f) << "no bounce for the striker";
        }
        post(EVENT_GAME_SHUTDOWN);
    }
}

// The orders of the turn queue (by Speed) and of the AI's attack candidates (by Defense).
TEST_F(KVPawnModelTest, PawnsCompareBySpeedAndByDefense) {
    auto* slow = makePawn("slow", 0.0f, 0.0f, fighterStats({{"Speed", "2"}, {"Defense", "9"}}));
    auto* fast = makePawn("fast", 3.0f, 0.0f, fighterStats({{"Speed", "7"}, {"Defense", "1"}}));
    auto* twin = makePawn("twin", 6.0f, 0.0f, fighterStats({{"Speed", "7"}, {"Defense", "1"}}));
    const struct {
        KVPawn *a, *b;
        int bySpeed, byDefense;
    } cases[] = {{slow, fast, -1, 1}, {fast, slow, 1, -1}, {fast, twin, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(KVPawn::compareBySpeed(c.a, c.b), c.bySpeed);
        EXPECT_EQ(KVPawn::compareByDefense(c.a, c.b), c.byDefense);
    }
}

TEST_F(KVPawnModelTest, ExtraMoveAndTurnStatsReset) {
    auto* kelvo = makePawn("kelvo", 0.0f, 0.0f, fighterStats());
    Trace* events = trace({EVENT_KELVO_ATTACK_MODE_AVAILABLE, EVENT_KELVO_ATTACK_MODE_UNAVAILABLE});
    events->name(kelvo, "kelvo");
    kelvo->grantExtraMove(); // nothing spent: only the attack charge comes
    EXPECT_EQ(kelvo->getDashesLeft(), 2);
    EXPECT_EQ(kelvo->getAttackCharges(), 1);
    kelvo->setDashesLeft(0);
    kelvo->grantExtraMove();
    EXPECT_EQ(kelvo->getDashesLeft(), 1);
    kelvo->setAttackCharges(0);
    EXPECT_EQ(events->lines, (std::vector<std::string>{"EVENT_KELVO_ATTACK_MODE_AVAILABLE kelvo",
                                                       "EVENT_KELVO_ATTACK_MODE_UNAVAILABLE kelvo"}));
    kelvo->setStamina(3);
    kelvo->setHitPoints(4);
    kelvo->resetTurnStats();
    EXPECT_EQ(kelvo->getStamina(), 100);
    EXPECT_EQ(kelvo->getHitPoints(), 100);
    EXPECT_EQ(kelvo->getDashesLeft(), 2);
}

TEST_F(KVPawnModelTest, AttackRangeAsksTheControllersOpponentSearch) {
    auto* archer =
        makePawn("archer", 0.0f, 0.0f, fighterStats({{"hasDistanceAttack", "YES"}, {"Range Target", "160"}}));
    auto* bomber =
        makePawn("bomber", 0.0f, 20.0f, fighterStats({{"hasAOEAttack", "YES"}, {"Range AoE", "96"}}));
    auto* brawler = makePawn("brawler", 0.0f, 40.0f, fighterStats());
    auto* crab = makePawn("crab", 4.0f, 0.0f, fighterStats(), true);
    auto* farCrab = makePawn("crab", 3.5f, 20.0f, fighterStats(), true);
    for (KVPawn* pawn :
         {static_cast<KVPawn*>(archer), static_cast<KVPawn*>(bomber), static_cast<KVPawn*>(brawler)}) {
        auto* controller = new KVPawnController();
        ASSERT_TRUE(controller->initWithPawn(pawn));
        pawn->setController(controller);
        controller->release();
    }
    // 4 m of 5 m, in sight (the side rays start on the rim of the archer's own probe).
    EXPECT_TRUE(archer->hasTargetInAttackRange());
    EXPECT_FALSE(bomber->hasTargetInAttackRange()); // 3.5 m of 3 m
    EXPECT_FALSE(brawler->hasTargetInAttackRange());
    farCrab->getBody()->SetTransform(b2Vec2(2.9f, 20.0f), 0.0f);
    step();
    EXPECT_TRUE(bomber->hasTargetInAttackRange());

    // A wall between the archer and the crab hides it.
    b2BodyDef wallDef;
    wallDef.position.Set(2.0f, 0.0f);
    b2Body* wall = physics->getWorld()->CreateBody(&wallDef);
    b2PolygonShape box;
    box.SetAsBox(0.1f, 3.0f);
    wall->CreateFixture(&box, 0.0f);
    EXPECT_FALSE(archer->hasTargetInAttackRange());
    (void)crab;
    // Each controller lets its pawn go at the end of the game, which breaks the cycle.
    post(EVENT_GAME_SHUTDOWN);
    EXPECT_EQ(archer->getController()->getPawn(), nullptr);
}

} // namespace
