// Projectiles: what a flight passes through and what ends it, the hit that a distance attack and a
// shuriken deal, and the launches refused.
#include "game/objects/ObjectTestSupport.h"

#include "game/attacks/KVProjectile.h"
#include "game/objects/KVAnchor.h"
#include "game/objects/KVGeyser.h"
#include "game/objects/KVHiddenStar.h"
#include "game/objects/KVTrigger.h"
#include "game/powerups/KVPowerup.h"

using objecttest::tileObject;
using pawntest::LogCapture;

namespace {

// A power-up that swallows every projectile aimed at its owner, counting them.
class AbsorbingPowerup : public KVPowerup {
public:
    CC_DECLARE_CLASS_NAME(AbsorbingPowerup, KVPowerup)
    bool interceptProjectile(KVProjectile* projectile) override {
        (void)projectile;
        ++absorbed;
        return true;
    }
    int absorbed = 0;
};

// A level object without a view: one static circle with the given category.
class BlockActor : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(BlockActor, KVActor)
    void place(float x, float y, std::uint16_t category, bool sensor) {
        init();
        kvobjects::CircleFixture circle;
        circle.radius = 0.5f;
        circle.sensor = sensor;
        circle.categoryBits = category;
        m_body = kvobjects::createCircleBody(this, false, x, y, {circle}, "BlockActor");
    }
    void cleanupBeforeDelete() override {
        kvobjects::destroyBody(m_body, this);
        KVActor::cleanupBeforeDelete();
    }
    b2Body* getBody() override { return m_body; }

private:
    b2Body* m_body = nullptr;
};

class ProjectileTest : public objecttest::ObjectWorldTest {
protected:
    // A computer crab that shoots: DMG Target 20, push 0.
    KVPawn* makeShooter(float x, float y) {
        return makePawn("shooter", x, y, pawntest::fighterStats({{"DMG Target", "20"}}), true, true);
    }
    template <class P> P* fire(KVPawn* owner, float dx = 1.0f, float dy = 0.0f) {
        auto* shot = keep(new P());
        EXPECT_TRUE(shot->launch(owner->positionX, owner->positionY, dx, dy, owner));
        return shot;
    }
    // A static wall box (no actor) of the given group, 1 m wide, centred on (x, y).
    void wall(float x, float y, short group) {
        b2BodyDef def;
        def.position.Set(x, y);
        b2Body* body = physics->getWorld()->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(0.5f, 0.5f);
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.filter.groupIndex = group;
        body->CreateFixture(&fixture);
    }
};

TEST_F(ProjectileTest, FliesPastItsOwnerZonesAndAnchorsAndHitsTheFirstOpponentOnce) {
    KVPawn* shooter = makeShooter(2.0f, 5.0f);
    auto* trigger = keep(new KVTrigger());
    ASSERT_TRUE(trigger->initWithDictionary(tileObject(128, 128, 64, 64, {{"Name", "zone"}}))); // x 4..6
    auto* anchor = keep(new KVAnchor());
    ASSERT_TRUE(anchor->initWithDictionary(tileObject(208, 144, 32, 32))); // centre (7, 5)
    KVPawn* target = makePawn("target", 9.5f, 5.0f, pawntest::fighterStats({{"Defense", "5"}}));
    auto* t = trace(
        {EVENT_NEW_ACTOR, EVENT_NOTIFY_IN_ACTION, EVENT_REMOVE_ACTOR, EVENT_ACTION, EVENT_TRIGGER_TRIGGERED});
    t->name(shooter, "shooter");
    t->name(target, "target");
    auto* shot = fire<KVDistanceAttackProjectile>(shooter);
    t->name(shot, "shot");
    EXPECT_EQ(shot->viewClassName(), "KVDistanceAttackProjectileV");
    EXPECT_FLOAT_EQ(shot->getBody()->GetLinearVelocity().x, 10.0f);
    stepAll(60); // 10 m: long past the target's front at 9 m
    EXPECT_EQ(t->lines,
              (std::vector<std::string>{"EVENT_NEW_ACTOR ?", "EVENT_NOTIFY_IN_ACTION ?",
                                        "EVENT_REMOVE_ACTOR shot", "EVENT_ACTION 1 15 shooter>target"}))
        << t->dump();
    EXPECT_TRUE(shot->isRemoved());
    // Its front reaches the target's edge (9 m) in the 41st step; contacts show a step later.
    ASSERT_EQ(t->frames.size(), 4u);
    EXPECT_GE(t->frames[2], 41);
    EXPECT_LE(t->frames[2], 43);
    EXPECT_EQ(target->getHitPoints(), 85);
    EXPECT_TRUE(trigger->isEnabled());
    EXPECT_EQ(anchor->getHeldKelvo(), nullptr);
}

TEST_F(ProjectileTest, WhatEndsAFlightAndWhoIsHurt) {
    enum Obstacle {
        kFriend,
        kOpponent,
        kProtected,
        kAbsorbing,
        kWall,
        kLooseGeometry,
        kSolidObject,
        kSensorZone,
        kGeyser,
        kHiddenStar
    };
    const struct Case {
        const char* what;
        Obstacle obstacle;
        bool ends;
        int hitPoints; // of the pawn in the way; -1 for no pawn
    } cases[] = {
        {"a pawn of the shooter's side stops it unharmed", kFriend, true, 100},
        {"an opponent is hit", kOpponent, true, 80},
        {"a protected opponent stops it unharmed", kProtected, true, 100},
        {"an absorbing power-up lets it fly on", kAbsorbing, false, 100},
        {"a wall of the drawing ends it", kWall, true, -1},
        {"other static geometry lets it pass", kLooseGeometry, false, -1},
        {"a solid level object ends it", kSolidObject, true, -1},
        {"a category-2 zone lets it pass", kSensorZone, false, -1},
        {"a geyser lets it pass", kGeyser, false, -1},
        {"the hidden star lets it pass", kHiddenStar, false, -1},
    };
    float lane = 1.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        lane += 3.0f;
        KVPawn* shooter = makeShooter(1.0f, lane);
        KVPawn* pawn = nullptr;
        AbsorbingPowerup* absorber = nullptr;
        switch (c.obstacle) {
        case kFriend:
            pawn = makePawn("friend", 4.0f, lane, pawntest::fighterStats(), true, true);
            break;
        case kOpponent:
        case kProtected:
        case kAbsorbing:
            pawn = makePawn("kelvo", 4.0f, lane, pawntest::fighterStats());
            pawn->setProtected(c.obstacle == kProtected);
            if (c.obstacle == kAbsorbing) {
                absorber = new AbsorbingPowerup();
                pawn->addModifier(absorber);
                absorber->release();
            }
            break;
        case kWall:
            wall(4.0f, lane, KVProjectile::kWallGroup);
            break;
        case kLooseGeometry:
            wall(4.0f, lane, 0);
            break;
        case kSolidObject:
        case kSensorZone:
            keep(new BlockActor())->place(4.0f, lane, c.obstacle == kSolidObject ? 0x0001 : 0x0002, true);
            break;
        case kGeyser: {
            // As the drawing makes it: a sensor box of the walls' group below and right of its corner.
            b2BodyDef def;
            def.position.Set(3.5f, lane + 0.5f);
            b2Body* body = physics->getWorld()->CreateBody(&def);
            b2PolygonShape box;
            box.SetAsBox(0.5f, 0.5f, b2Vec2(0.5f, -0.5f), 0.0f);
            b2FixtureDef fixture;
            fixture.shape = &box;
            fixture.isSensor = true;
            fixture.filter.groupIndex = KVProjectile::kWallGroup;
            body->CreateFixture(&fixture);
            EXPECT_TRUE(keep(new KVGeyser())->initWithBody(body));
            break;
        }
        case kHiddenStar: // a sensor of 1 m radius centred on (4, lane)
            EXPECT_TRUE(
                keep(new KVHiddenStar())
                    ->initWithDictionary(tileObject(96, static_cast<int>(lane * 32.0f) - 32, 64, 64)));
            break;
        }
        auto* shot = fire<KVDistanceAttackProjectile>(shooter);
        stepAll(30); // 5 m: to x = 6
        drainPool();
        EXPECT_EQ(shot->isRemoved(), c.ends);
        if (!c.ends) {
            EXPECT_GT(shot->positionX, 5.5f);
        }
        if (pawn != nullptr) {
            EXPECT_EQ(pawn->getHitPoints(), c.hitPoints);
        }
        if (absorber != nullptr) {
            EXPECT_GE(absorber->absorbed, 1);
        }
    }
}

TEST_F(ProjectileTest, AShurikenTakesThirtyPercentOfMaximumHitPointsWhateverTheDefence) {
    KVPawn* thrower = makePawn("thrower", 1.0f, 1.0f, pawntest::fighterStats());
    auto* shuriken = fire<KVShuriken>(thrower);
    EXPECT_EQ(shuriken->viewClassName(), "KVShurikenV");
    const struct {
        const char* hp;
        const char* defense;
        int left;
    } cases[] = {{"95", "0", 67}, {"95", "10", 67}, {"95", "50", 67}, {"100", "29", 70}, {"3", "0", 3}};
    auto* t = trace({EVENT_ACTION});
    float x = 2.0f;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hp) + " HP, Defense " + c.defense);
        KVPawn* target = makePawn("crab", x += 2.0f, 10.0f,
                                  pawntest::fighterStats({{"HP", c.hp}, {"Defense", c.defense}}), true, true);
        t->name(thrower, "thrower");
        t->name(target, "crab");
        t->clear();
        shuriken->hitActor(target);
        EXPECT_EQ(target->getHitPoints(), c.left);
        const int hurt = std::atoi(c.hp) - c.left;
        EXPECT_EQ(t->find("EVENT_ACTION 13 " + std::to_string(hurt) + " thrower>crab"), hurt > 0 ? 0 : -1)
            << t->dump();
    }
}

TEST_F(ProjectileTest, LaunchesWithoutOwnerOrDirectionAreRefusedAndLogged) {
    KVPawn* owner = makeShooter(1.0f, 1.0f);
    auto* t = trace({EVENT_NEW_ACTOR, EVENT_NOTIFY_IN_ACTION});
    LogCapture log;
    const struct {
        KVPawn* owner;
        float dx, dy;
        const char* logged;
    } cases[] = {{nullptr, 1.0f, 0.0f, "no owner"},
                 {owner, 0.0f, 0.0f, "no direction"},
                 {owner, std::nanf(""), 1.0f, "no direction"}};
    for (const auto& c : cases) {
        auto* shot = keep(new KVShuriken());
        EXPECT_FALSE(shot->launch(1.0f, 1.0f, c.dx, c.dy, c.owner));
        EXPECT_EQ(shot->getBody(), nullptr);
        EXPECT_TRUE(log.contains(c.logged)) << c.logged;
    }
    EXPECT_TRUE(t->lines.empty()) << t->dump();
}

} // namespace
