// The five power-ups: which may be carried together, what the drink and the sushi restore, the
// spiky shell's once-per-contact prick, the ninja log's escape, and the shurikens' targets.
#include "game/objects/ObjectTestSupport.h"

#include <cmath>

#include "game/attacks/KVProjectile.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawnAI.h"
#include "game/powerups/KVPowerupKinds.h"

namespace {

// A computer pawn set up by the test's stats rather than the AI table.
class TestCrab : public KVPawnAI {
public:
    bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) override {
        return KVPawn::initAt(x, y, model, typeName);
    }
};

class PowerupTest : public objecttest::ObjectWorldTest {
protected:
    template <class P> P* give(KVPawn* pawn) {
        auto* powerup = new P();
        pawn->addModifier(powerup);
        powerup->release();
        return powerup;
    }
    static std::vector<int> kindsOf(KVPawn* pawn) {
        std::vector<int> kinds;
        for (KVPowerup* modifier : *pawn->getModifiers())
            kinds.push_back(modifier->kind);
        return kinds;
    }
    KVPawn* makeEnemy(float x, float y, pawntest::StatList extra = {}) {
        auto* crab = pawntest::TestPawn::setUp(new TestCrab(), "crab", x, y, pawntest::fighterStats(extra),
                                               true, true);
        pawns.push_back(crab);
        return crab;
    }
    // The shurikens flying now, with the direction of each.
    std::vector<b2Vec2> shurikenDirections() {
        std::vector<b2Vec2> found;
        for (b2Body* body = physics->getWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
            auto* actor = reinterpret_cast<KVActor*>(body->GetUserData().pointer);
            if (actor == nullptr || !actor->isKindOf("KVShuriken") || actor->isRemoved()) continue;
            b2Vec2 v = body->GetLinearVelocity();
            v.Normalize();
            found.push_back(v);
        }
        return found;
    }
};

TEST_F(PowerupTest, WhichPowerupsMayBeCarriedTogether) {
    const struct {
        const char* what;
        int first, second;
        std::vector<int> kept;
    } cases[] = {
        {"a ninja log drops a spiky shell", 2, 3, {3}},    {"a spiky shell drops a ninja log", 3, 2, {2}},
        {"a second sushi drops the first", 1, 1, {1}},     {"a drink and a sushi go together", 0, 1, {0, 1}},
        {"a shell and a drink go together", 2, 0, {2, 0}},
    };
    auto make = [](int kind) -> KVPowerup* {
        switch (kind) {
        case 0:
            return new KVPowerupEnergyDrink();
        case 1:
            return new KVPowerupMaguroSushi();
        case 2:
            return new KVPowerupSpikyShell();
        default:
            return new KVPowerupNinjaLog();
        }
    };
    float x = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KVPawn* pawn = makePawn("kelvo", x += 2.0f, 2.0f, pawntest::fighterStats());
        KVPowerup* first = make(c.first);
        pawn->addModifier(first);
        KVPowerup* second = make(c.second);
        pawn->addModifier(second);
        EXPECT_EQ(kindsOf(pawn), c.kept);
        EXPECT_EQ(second->getOwner(), pawn);
        if (c.kept.size() == 1) {
            EXPECT_EQ(first->getOwner(), nullptr) << "the dropped one lets go of its owner";
        }
        first->release();
        second->release();
    }
}

TEST_F(PowerupTest, TheDrinkAndTheSushiRestoreWhatTheyShouldAndEndWithTheTurn) {
    const struct {
        const char* what;
        bool sushi;
        int hp, sp; // of 100 HP, 50 SP
        int hpAfter, spAfter;
        const char* heal; // the heal action, or "" for none
    } cases[] = {
        {"a drink at 90 HP heals 10, not 25", false, 90, 10, 100, 50, "EVENT_ACTION 4 10 ->pawn"},
        {"a drink at full HP heals nothing", false, 100, 50, 100, 50, ""},
        {"a drink at 40 HP heals 25", false, 40, 0, 65, 50, "EVENT_ACTION 4 25 ->pawn"},
        {"a sushi takes SP 10 of 50 to 30", true, 100, 10, 100, 30, ""},
        {"a sushi at 70 HP heals 25", true, 70, 50, 95, 50, "EVENT_ACTION 4 25 ->pawn"},
    };
    auto* t = trace({EVENT_ACTION, EVENT_END_OF_SUSHI});
    float x = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KVPawn* pawn = makePawn("kelvo", x += 2.0f, 2.0f, pawntest::fighterStats({{"SP", "50"}}));
        t->name(pawn, "pawn");
        pawn->setHitPoints(c.hp);
        pawn->setStamina(c.sp);
        pawn->setDashesLeft(0);
        t->clear();
        KVPowerup* powerup = c.sushi ? static_cast<KVPowerup*>(give<KVPowerupMaguroSushi>(pawn))
                                     : static_cast<KVPowerup*>(give<KVPowerupEnergyDrink>(pawn));
        powerup->retain(); // looked at after the pawn drops it
        EXPECT_EQ(pawn->getHitPoints(), c.hpAfter);
        EXPECT_EQ(pawn->getStamina(), c.spAfter);
        EXPECT_EQ(t->find(c.heal), c.heal[0] != '\0' ? 0 : -1) << t->dump();
        EXPECT_EQ(pawn->getDashesLeft(), c.sushi ? 0 : 1) << "the drink's extra move";
        EXPECT_FLOAT_EQ(pawn->getMovePower(), c.sushi ? 20.0f * 1.8f : 20.0f);
        // Used up at the owner's turn end; the sushi's end is announced.
        post(EVENT_END_TURN_BEFORE_BUFFER, pawn);
        EXPECT_TRUE(pawn->getModifiers()->count() == 0);
        EXPECT_EQ(powerup->getOwner(), nullptr);
        EXPECT_EQ(t->count("EVENT_END_OF_SUSHI pawn"), c.sushi ? 1 : 0);
        powerup->release();
    }
    // The consumable manager's questions.
    KVPawn* rested = makePawn("kelvo", 20.0f, 2.0f, pawntest::fighterStats());
    rested->setAttackCharges(1);
    EXPECT_FALSE(KVPowerupEnergyDrink::canTakeEnergyDrink(rested));
    EXPECT_TRUE(KVPowerupMaguroSushi::canTakeSushi(rested)) << "no sushi carried yet";
    give<KVPowerupMaguroSushi>(rested);
    rested->setStamina(rested->getMaxSP());
    EXPECT_FALSE(KVPowerupMaguroSushi::canTakeSushi(rested));
    rested->setHitPoints(99);
    EXPECT_TRUE(KVPowerupEnergyDrink::canTakeEnergyDrink(rested));
    EXPECT_TRUE(KVPowerupMaguroSushi::canTakeSushi(rested));
}

TEST_F(PowerupTest, AnArmedSpikyShellPricksEachComputerPawnOncePerContact) {
    KVPawn* owner = makePawn("kelvo", 5.0f, 5.0f, pawntest::fighterStats());
    KVPawn* crab = makeEnemy(8.0f, 5.0f, {{"Defense", "10"}});
    auto* shell = give<KVPowerupSpikyShell>(owner);
    auto* t =
        trace({EVENT_SPIKY_SHELL_EQUIP, EVENT_SPIKY_SHELL_SPIKE, EVENT_SPIKY_SHELL_UNEQUIP, EVENT_ACTION});
    t->name(owner, "owner");
    t->name(crab, "crab");
    const float mass = owner->getBody()->GetMass();
    // Not armed yet: nothing.
    shell->interceptContact(crab);
    EXPECT_EQ(crab->getHitPoints(), 100);
    post(EVENT_END_TURN_BEFORE_BUFFER, owner);
    stepAll(1);
    EXPECT_TRUE(shell->isArmed());
    EXPECT_FLOAT_EQ(owner->getBody()->GetMass(), 100.0f * mass);
    // Defense 10 + 30 % of 100: 30 net, once while the contact lasts.
    EXPECT_FALSE(shell->interceptContact(crab));
    shell->interceptContact(crab);
    EXPECT_EQ(crab->getHitPoints(), 70);
    stepAll(1);
    const b2Vec2 flung = crab->getBody()->GetLinearVelocity();
    EXPECT_GT(flung.x, 8.0f) << "flung away from the owner at 9.375 m/s (less a frame of damping)";
    shell->interceptContact(crab);
    EXPECT_EQ(crab->getHitPoints(), 70);
    KVContactInfo ended;
    ended.self = owner;
    ended.other = crab;
    shell->onOwnerEndContact(&ended);
    shell->interceptContact(crab);
    EXPECT_EQ(crab->getHitPoints(), 40) << "a new contact pricks again";
    // A player-side pawn is never pricked.
    KVPawn* mate = makePawn("mate", 4.0f, 5.0f, pawntest::fighterStats());
    shell->interceptContact(mate);
    EXPECT_EQ(mate->getHitPoints(), 100);
    EXPECT_EQ(t->count("EVENT_SPIKY_SHELL_SPIKE owner"), 2);
    EXPECT_EQ(t->count("EVENT_ACTION 9 0 owner>crab"), 2);
    EXPECT_EQ(t->count("EVENT_ACTION 14 30 owner>crab"), 2);
    // Dropped at the owner's next turn start; its mass comes back.
    post(EVENT_START_TURN, owner);
    EXPECT_EQ(t->count("EVENT_SPIKY_SHELL_UNEQUIP owner"), 1);
    EXPECT_EQ(owner->getModifiers()->count(), 0u);
    EXPECT_FLOAT_EQ(owner->getBody()->GetMass(), mass);
}

TEST_F(PowerupTest, ANinjaLogAbsorbsAShotAndTheOwnerComesBack) {
    KVPawn* shooter = makeEnemy(2.0f, 5.0f, {{"DMG Target", "20"}});
    KVPawn* owner = makePawn("kelvo", 6.0f, 5.0f, pawntest::fighterStats());
    auto* log = give<KVPowerupNinjaLog>(owner);
    auto* t = trace({EVENT_NINJA_LOG_FX, EVENT_MAKE_PAWN_INVISIBLE, EVENT_MAKE_PAWN_VISIBLE,
                     EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(owner, "owner");
    t->name(log, "log");
    auto* shot = keep(new KVDistanceAttackProjectile());
    ASSERT_TRUE(shot->launch(2.0f, 5.0f, 1.0f, 0.0f, shooter));
    stepAll(60);
    EXPECT_EQ(owner->getHitPoints(), 100);
    EXPECT_FALSE(shot->isRemoved()) << "the shot flies on";
    EXPECT_GT(shot->positionX, 9.0f);
    EXPECT_GE(t->find("EVENT_MAKE_PAWN_INVISIBLE owner"), 0) << t->dump();
    EXPECT_GE(t->find("EVENT_MAKE_PAWN_VISIBLE owner"), 0) << t->dump();
    EXPECT_GE(t->find("EVENT_NOTIFY_IDLE log"), 0);
    EXPECT_EQ(owner->getModifiers()->count(), 0u) << "used up";
    EXPECT_TRUE(owner->getBody()->IsEnabled());
    EXPECT_TRUE(std::isfinite(owner->positionX) && std::isfinite(owner->positionY));
}

TEST_F(PowerupTest, ANinjaLogEscapeFromAnAttackerAtRestOrOnAnAnchor) {
    const struct {
        const char* what;
        bool anchored;
        int minHidden, maxHidden; // frames from invisible to visible
    } cases[] = {{"an attacker that hit at no speed: the owner comes back where it was", false, 1, 40},
                 {"an anchored owner is only hidden for half a second", true, 30, 32}};
    float y = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KVPawn* owner = makePawn("kelvo", 5.0f, y += 4.0f, pawntest::fighterStats());
        owner->setAnchored(c.anchored);
        // Close enough to be found beside the vanished owner, standing still.
        KVPawn* crab = makeEnemy(5.99f, y);
        auto* log = give<KVPowerupNinjaLog>(owner);
        auto* t = trace({EVENT_MAKE_PAWN_INVISIBLE, EVENT_MAKE_PAWN_VISIBLE, EVENT_ACTION});
        t->name(owner, "owner");
        t->name(crab, "crab");
        EXPECT_TRUE(log->interceptContact(crab));
        EXPECT_TRUE(log->interceptContact(crab)) << "every contact is ignored while it escapes";
        stepAll(60);
        ASSERT_EQ(t->lines.size(), 3u) << t->dump();
        EXPECT_EQ(t->lines[0], "EVENT_MAKE_PAWN_INVISIBLE owner");
        EXPECT_EQ(t->lines[1], "EVENT_ACTION 8 0 owner>crab");
        EXPECT_EQ(t->lines[2], "EVENT_MAKE_PAWN_VISIBLE owner");
        EXPECT_GE(t->frames[2] - t->frames[0], c.minHidden);
        EXPECT_LE(t->frames[2] - t->frames[0], c.maxHidden);
        EXPECT_NEAR(owner->positionX, 5.0f, 0.1f);
        EXPECT_NEAR(owner->positionY, y, 0.1f);
        EXPECT_TRUE(owner->getBody()->IsEnabled());
        EXPECT_EQ(owner->getModifiers()->count(), 0u);
    }
}

TEST_F(PowerupTest, TheShurikenPowerupThrowsAtTheThreeNearestOpponentsInSight) {
    KVPawn* thrower = makePawn("kelvo", 2.0f, 10.0f, pawntest::fighterStats());
    auto* t = trace({EVENT_SHURIKEN_THROW});
    // With nobody in sight nothing is thrown, and it is used up all the same.
    auto* unused = give<KVPowerupShuriken>(thrower);
    unused->retain(); // looked at after the pawn drops it
    EXPECT_FALSE(KVPowerupShuriken::throwShurikens(thrower, true));
    thrower->update(pawntest::kFrame);
    EXPECT_TRUE(t->lines.empty());
    EXPECT_EQ(unused->getOwner(), nullptr);
    unused->release();

    // Four crabs in sight, 6 m down-right, 3 m right, 5 m left and 4 m down; one nearer behind a
    // wall.
    const std::pair<float, float> places[] = {
        {6.2426f, 5.7574f}, {5.0f, 10.0f}, {-3.0f, 10.0f}, {2.0f, 6.0f}};
    for (const auto& place : places)
        makeEnemy(place.first, place.second);
    makeEnemy(2.0f, 12.5f);
    b2BodyDef def;
    def.position.Set(2.0f, 11.25f);
    b2Body* wall = physics->getWorld()->CreateBody(&def);
    b2PolygonShape slab;
    slab.SetAsBox(2.0f, 0.2f);
    wall->CreateFixture(&slab, 0.0f);
    auto* shuriken = give<KVPowerupShuriken>(thrower);
    shuriken->retain();
    EXPECT_EQ(shurikenDirections().size(), 0u) << "thrown at the owner's next update";
    EXPECT_TRUE(KVPowerupShuriken::throwShurikens(thrower, true));
    EXPECT_EQ(shurikenDirections().size(), 0u) << "asking throws nothing";
    thrower->update(pawntest::kFrame);
    EXPECT_EQ(t->lines.size(), 3u);
    const std::vector<b2Vec2> thrown = shurikenDirections();
    ASSERT_EQ(thrown.size(), 3u);
    // Right, down and left: the three nearest in sight, not the hidden one above.
    const b2Vec2 expected[] = {b2Vec2(1.0f, 0.0f), b2Vec2(0.0f, -1.0f), b2Vec2(-1.0f, 0.0f)};
    for (const b2Vec2& direction : expected) {
        int matches = 0;
        for (const b2Vec2& each : thrown)
            matches += (each - direction).Length() < 1e-3f ? 1 : 0;
        EXPECT_EQ(matches, 1) << direction.x << ", " << direction.y;
    }
    EXPECT_EQ(shuriken->getOwner(), nullptr);
    shuriken->release();
    EXPECT_EQ(thrower->getModifiers()->count(), 0u);
    // The game model would keep them flying: the test does.
    for (b2Body* body = physics->getWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
        auto* actor = reinterpret_cast<KVActor*>(body->GetUserData().pointer);
        if (actor != nullptr && actor->isKindOf("KVShuriken")) {
            actor->retain();
            keep(actor);
        }
    }
    // The nearest three: after a second of flight the crab at 8 m is the only one unhurt.
    stepAll(60);
    int unhurt = 0;
    for (KVPawn* pawn : pawns)
        unhurt += pawn->isEnemy() && pawn->getHitPoints() == 100 ? 1 : 0;
    EXPECT_EQ(unhurt, 2) << "the farthest one and the hidden one";
}

} // namespace
