#include "ObjectTestSupport.h"

#include "engine/sprites/CCSprite.h"
#include "game/objects/KVAnchor.h"
#include "game/objects/KVAnchorV.h"
#include "game/objects/KVCoconut.h"
#include "game/objects/KVCoconutV.h"
#include "game/objects/KVMapBorder.h"
#include "game/objects/KVSpikeDamage.h"
#include "game/objects/KVSpikyBall.h"
#include "game/objects/KVSpikyWall.h"
#include "game/objects/KVStickyWall.h"
#include "game/views/PawnViewFixture.h"

using objecttest::ObjectWorldTest;
using objecttest::SensorActor;
using objecttest::tileObject;
using pawntest::fighterStats;
using pawntest::LogCapture;

namespace {

template <typename T> T* made(kvobjects::Dict* dict) {
    auto* object = new T();
    EXPECT_TRUE(object->initWithDictionary(dict));
    return object;
}

class KVLevelObjectsTest : public ObjectWorldTest {};

// The gameplay layer as the level objects' views see it: one sheet node, "global_ss", or none.
class SheetHost : public kvengine::CCNode, public KVActorViewHost {
public:
    explicit SheetHost(bool withSheet) {
        if (withSheet) {
            sheet = kvengine::CCNode::create();
            addChild(sheet);
        }
    }
    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override { (void)view; }
    kvengine::CCNode* viewSheet(const std::string& name) override {
        return name == "global_ss" ? sheet : nullptr;
    }
    kvengine::CCNode* sheet = nullptr;
};

// A hole of 2 x 2 m with its lower-left corner at (10, 0); things are sent into it from the left.
TEST_F(KVLevelObjectsTest, TheBorderSendsPawnsCoconutsAndOtherActorsTheirWay) {
    auto* hole = keep(new KVMapBorder());
    ASSERT_TRUE(hole->initWithRect(10.0f, 0.0f, 2.0f, 2.0f));
    auto* border = keep(new KVMapBorder());
    ASSERT_TRUE(border->initWithRect(0.0f, -20.0f, 40.0f, 40.0f));

    auto* kelvo = makeKelvo(9.3f, 1.0f);
    auto* coconut = keep(made<KVCoconut>(tileObject(336, 128, 32, 32))); // centre (11, 4.5), r 0.5
    auto* shot = keep(new SensorActor());
    ASSERT_TRUE(shot->initAt(38.0f, 10.0f));
    pawntest::Trace* events = trace({EVENT_PAWN_FALL, EVENT_COCONUT_FALL, EVENT_REMOVE_ACTOR});
    events->name(kelvo, "kelvo");
    events->name(coconut, "coconut");
    events->name(shot, "shot");

    kelvo->getBody()->SetLinearVelocity(b2Vec2(8.0f, 0.0f));
    coconut->getBody()->SetLinearVelocity(b2Vec2(0.0f, -10.0f));
    shot->getBody()->SetLinearVelocity(b2Vec2(20.0f, 0.0f));
    stepAll(30);

    EXPECT_EQ(events->count("EVENT_PAWN_FALL kelvo"), 1) << events->dump();
    EXPECT_EQ(events->count("EVENT_COCONUT_FALL coconut"), 1) << events->dump();
    EXPECT_EQ(events->count("EVENT_REMOVE_ACTOR shot"), 1) << events->dump();
    EXPECT_TRUE(shot->isRemoved());
    // The border edges meet probes only: the solid ball of the coconut is not stopped by them.
    EXPECT_FALSE(coconut->isRemoved());
}

TEST_F(KVLevelObjectsTest, AnAdoptedHoleBodyBecomesAGroupOneSensorAndIsAnnounced) {
    b2BodyDef def;
    b2Body* body = physics->getWorld()->CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(1.0f, 1.0f);
    body->CreateFixture(&box, 0.0f);
    pawntest::Trace* events = trace({EVENT_NEW_ACTOR});
    auto* hole = keep(new KVMapBorder());
    events->name(hole, "hole");
    ASSERT_TRUE(hole->initWithBody(body));
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_NEW_ACTOR hole"});
    EXPECT_TRUE(body->GetFixtureList()->IsSensor());
    EXPECT_EQ(body->GetFixtureList()->GetFilterData().groupIndex, 1);
    EXPECT_EQ(body->GetFixtureList()->GetFilterData().maskBits, 0xFFFF); // mask kept

    LogCapture log;
    auto* none = keep(new KVMapBorder());
    EXPECT_FALSE(none->initWithBody(nullptr));
    EXPECT_TRUE(log.contains("KVMapBorder"));
}

// A kelvo thrown along a sticky wall's face and away again: while it touches the wall it keeps its
// speed; in the first update after the contact ends it is stopped dead.
TEST_F(KVLevelObjectsTest, AStickyWallStopsABodyInTheFirstUpdateAfterTheContactEnds) {
    auto* wall = keep(new KVStickyWall());
    ASSERT_TRUE(wall->initWithRect(0.0f, 0.0f, 4.0f, 1.0f));
    auto* kelvo = makeKelvo(2.0f, 3.0f);
    kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, -15.0f));

    int contactFrames = 0;
    bool stopped = false;
    for (int frame = 0; frame < 60 && !stopped; ++frame) {
        physics->update(pawntest::kFrame);
        const unsigned waiting = wall->pendingCount();
        const b2Vec2 before = kelvo->getBody()->GetLinearVelocity();
        kelvo->update(pawntest::kFrame);
        wall->update(pawntest::kFrame);
        if (waiting > 0) {
            EXPECT_GT(before.Length(), 0.5f) << "it left the wall moving";
            EXPECT_EQ(kelvo->getBody()->GetLinearVelocity().Length(), 0.0f);
            EXPECT_EQ(wall->pendingCount(), 0u);
            stopped = true;
        } else if (kelvo->positionY < 1.6f) {
            ++contactFrames;
            EXPECT_NE(kelvo->getBody()->GetLinearVelocity().Length(), 0.0f) << "stopped during the contact";
        }
        drainPool();
    }
    EXPECT_TRUE(stopped);
    EXPECT_GE(contactFrames, 1);
    EXPECT_EQ(wall->getBody()->GetFixtureList()->GetFilterData().groupIndex, 3);
}

TEST_F(KVLevelObjectsTest, AStickyWallForgetsARemovedActorBeforeItsUpdate) {
    auto* wall = keep(new KVStickyWall());
    ASSERT_TRUE(wall->initWithRect(0.0f, 0.0f, 4.0f, 1.0f));
    auto* coconut = made<KVCoconut>(tileObject(48, 64, 32, 32));
    KVContactInfo contact;
    contact.self = wall;
    contact.other = coconut;
    EXPECT_TRUE(wall->endContact(&contact));
    EXPECT_TRUE(wall->endContact(&contact));
    EXPECT_EQ(wall->pendingCount(), 2u);
    post(EVENT_REMOVE_ACTOR, coconut);
    EXPECT_EQ(wall->pendingCount(), 0u);
    coconut->release(); // its last reference: the wall holds none
    stepAll(1);

    LogCapture log;
    auto* flat = keep(new KVStickyWall());
    EXPECT_FALSE(flat->initWithRect(0.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(log.contains("KVStickyWall"));
}

// Two kelvos cross an anchor one after the other: the first is caught (EVENT_ANCHOR_START in the
// next update, its anchor point the anchor's centre), the second passes through without being
// caught, and neither bounces off it.
TEST_F(KVLevelObjectsTest, AnAnchorCatchesOneKelvoAndLetsTheOthersThrough) {
    auto* anchor = keep(made<KVAnchor>(tileObject(304, 144, 32, 32))); // centre (10, 5)
    ASSERT_FLOAT_EQ(anchor->positionX, 10.0f);
    auto* first = makeKelvo(8.5f, 5.0f);
    pawntest::Trace* events = trace({EVENT_ANCHOR_START});
    events->name(first, "first");
    first->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
    // The first frame with the kelvo held, the anchor reports it; nothing stops the kelvo here (its
    // controller would).
    for (int frame = 0; frame < 40 && anchor->getHeldKelvo() == nullptr; ++frame)
        stepAll(1);
    ASSERT_EQ(anchor->getHeldKelvo(), first);
    EXPECT_TRUE(anchor->isAnchored());
    EXPECT_EQ(events->lines, std::vector<std::string>{"EVENT_ANCHOR_START first"});
    EXPECT_FLOAT_EQ(first->getAnchorPoint().x, 10.0f);
    EXPECT_FLOAT_EQ(first->getAnchorPoint().y, 5.0f);
    first->setAnchored(true); // as its controller does on EVENT_ANCHOR_START
    first->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    // Still over the post, but out of the second kelvo's way.
    first->getBody()->SetTransform(b2Vec2(10.0f, 5.9f), 0.0f);

    auto* second = makeKelvo(7.0f, 4.2f);
    events->name(second, "second");
    second->getBody()->SetLinearVelocity(b2Vec2(14.0f, 0.0f));
    stepAll(60);
    EXPECT_GT(second->positionX, 11.0f) << "the second kelvo passed through";
    EXPECT_NEAR(second->positionY, 4.2f, 0.01f) << "without being deflected";
    EXPECT_EQ(anchor->getHeldKelvo(), first);
    EXPECT_EQ(events->count("EVENT_ANCHOR_START second"), 0);

    // The held kelvo removed from the game: the anchor lets go at once.
    post(EVENT_REMOVE_ACTOR, first);
    EXPECT_EQ(anchor->getHeldKelvo(), nullptr);
    EXPECT_FALSE(anchor->isAnchored());
}

TEST_F(KVLevelObjectsTest, AProjectilePassesThroughAnAnchorAndACoconutBounces) {
    auto* anchor = keep(made<KVAnchor>(tileObject(304, 144, 32, 32)));
    (void)anchor;
    struct Case {
        const char* what;
        const char* density; // "" for none
    };
    const Case cases[] = {{"a coconut of density 1", "1"}, {"a coconut without density", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* coconut =
            keep(*c.density != 0 ? made<KVCoconut>(tileObject(224, 144, 32, 32, {{"density", c.density}}))
                                 : made<KVCoconut>(tileObject(224, 144, 32, 32))); // centre (7.5, 5)
        coconut->getBody()->SetLinearVelocity(b2Vec2(8.0f, 0.0f));
        stepAll(40);
        EXPECT_LT(coconut->positionX, 9.1f) << "stopped by the post";
        EXPECT_LT(coconut->getBody()->GetLinearVelocity().x, 0.0f) << "and sent back";
        coconut->getBody()->SetEnabled(false);
    }
}

TEST(KVSpikeDamage, FactorFollowsTheShareOfTheMaximumSpeed) {
    struct Case {
        float speed;
        float factor;
    };
    const float max = 20.0f;
    const Case cases[] = {
        {0.1f, 0.0f},  // at 0.1 m/s: nothing
        {0.5f, 0.01f}, // 2.5 %
        {2.0f, 0.01f}, // 10 % exactly: still the graze
        {3.0f, 0.15f}, // 15 %: the ratio
        {4.0f, 0.2f},  // 20 %: the ratio
        {6.0f, 1.0f},  // 30 %: in full
        {40.0f, 1.0f}, // above the maximum
    };
    for (const Case& c : cases)
        EXPECT_NEAR(kvspikes::factor(c.speed, max), c.factor, 1e-5f) << c.speed;
    EXPECT_EQ(kvspikes::factor(1.0f, 0.0f), 1.0f) << "a pawn without a launch speed";
}

// A kelvo thrown at a spiky wall at 0.1 m/s, 15 % and 30 % of its full speed (25.46 m/s): nothing,
// trunc(0 + 30 x 0.15) = 4, and 30 % of its 100 hit points.
TEST_F(KVLevelObjectsTest, ASpikyWallHurtsByTheStrikersSpeed) {
    struct Case {
        float speed; // < 0: that many m/s; else share of full speed
        int hitPointsLeft;
    };
    const Case cases[] = {{-0.1f, 100}, {0.15f, 96}, {0.3f, 70}};
    float row = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        row += 10.0f;
        auto* wall = keep(made<KVSpikyWall>(tileObject(96, static_cast<int>(row * 32) - 64, 32, 128)));
        auto* kelvo = makeKelvo(2.4f, row);
        post(EVENT_START_TURN, kelvo);
        const float speed = c.speed < 0.0f ? -c.speed : c.speed * kelvo->getMaxLaunchSpeed();
        kelvo->getBody()->SetLinearVelocity(b2Vec2(speed, 0.0f));
        stepAll(c.speed < 0.0f ? 120 : 10);
        EXPECT_EQ(kelvo->getHitPoints(), c.hitPointsLeft);
        (void)wall;
    }
}

// A resting spiky ball struck by a kelvo counts the kelvo's speed alone; a ball rolling into a
// resting kelvo counts its own; a protected pawn takes nothing.
TEST_F(KVLevelObjectsTest, ASpikyBallAddsBothSpeedsAndSparesProtectedPawns) {
    auto* ball = keep(made<KVSpikyBall>(tileObject(0, 0, 32, 32)));
    auto* kelvo = makeKelvo(5.0f, 5.0f);
    post(EVENT_START_TURN, kelvo);
    const float full = kelvo->getMaxLaunchSpeed();
    KVContactInfo contact;
    contact.self = ball;
    contact.other = kelvo;

    kelvo->getBody()->SetLinearVelocity(b2Vec2(0.15f * full, 0.0f));
    EXPECT_TRUE(ball->beginContact(&contact));
    EXPECT_EQ(kelvo->getHitPoints(), 96);
    ball->getBody()->SetLinearVelocity(b2Vec2(0.1f * full, 0.0f)); // together 25 %
    EXPECT_TRUE(ball->beginContact(&contact));
    EXPECT_EQ(kelvo->getHitPoints(), 66);

    // Another coconut is no pawn: nothing, and the contact goes on to the other side.
    auto* coconut = keep(made<KVCoconut>(tileObject(320, 0, 32, 32)));
    contact.other = coconut;
    EXPECT_FALSE(ball->beginContact(&contact));
}

TEST_F(KVLevelObjectsTest, ACoconutRollsIntoAHoleAndIsBusyWhileItRolls) {
    auto* hole = keep(new KVMapBorder());
    ASSERT_TRUE(hole->initWithRect(10.0f, 4.0f, 2.0f, 2.0f));
    auto* coconut = keep(made<KVCoconut>(tileObject(96, 144, 32, 32, {{"density", "2"}})));
    EXPECT_FLOAT_EQ(coconut->getRadius(), 0.5f);
    EXPECT_FLOAT_EQ(coconut->getDensity(), 2.0f);
    EXPECT_NEAR(coconut->getBody()->GetMass(), 2.0f * 3.14159265f * 0.25f, 1e-3f);
    pawntest::Trace* events = trace({EVENT_COCONUT_FALL, EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    events->name(coconut, "coconut");
    coconut->getBody()->SetLinearVelocity(b2Vec2(20.0f, 0.0f));
    stepAll(120);
    // It crosses the near edge of the hole first; the far edge may report it again.
    ASSERT_GE(events->count("EVENT_COCONUT_FALL coconut"), 1) << events->dump();
    EXPECT_EQ(events->find("EVENT_NOTIFY_IN_ACTION coconut"), 0);
    EXPECT_GT(events->find("EVENT_NOTIFY_IDLE coconut"), 0) << "it comes to rest at last";
    EXPECT_FALSE(coconut->isMoving());

    // Without "density" the ball has density 0 and a default mass of 1 kg, and it still bounces off
    // a post (with no mass at all it would pass through everything).
    auto* light = keep(made<KVCoconut>(tileObject(0, 640, 64, 32)));
    EXPECT_FLOAT_EQ(light->getDensity(), 0.0f);
    EXPECT_FLOAT_EQ(light->getRadius(), 1.0f);
    EXPECT_FLOAT_EQ(light->positionY, 20.5f);
    EXPECT_FLOAT_EQ(light->getBody()->GetMass(), 1.0f);
}

// A still object's view is drawn where the layer draws the level objects, as a rolling one's is;
// a layer without that sheet gets a log line and a view that shows nothing, never a crash.
TEST_F(KVLevelObjectsTest, AnchorAndCoconutViewsDrawOnTheLevelObjectsSheet) {
    viewtest::FrameSet frames;
    frames.add("GPE_Anchor.png");
    frames.add("GPE_Ball.png");
    ASSERT_TRUE(frames.load());
    KVActor* anchor = keep(made<KVAnchor>(tileObject(304, 144, 32, 32)));
    KVActor* coconut = keep(made<KVCoconut>(tileObject(96, 96, 64, 64)));
    for (bool withSheet : {true, false}) {
        SCOPED_TRACE(withSheet ? "with the sheet" : "without the sheet");
        auto* host = new SheetHost(withSheet);
        const std::pair<KVActor*, KVActorV*> cases[] = {{anchor, new KVAnchorV()},
                                                        {coconut, new KVCoconutV()}};
        for (const auto& [model, view] : cases) {
            SCOPED_TRACE(view->className());
            LogCapture log;
            ASSERT_TRUE(view->initWithActor(model, host));
            ASSERT_NE(view->getSprite(), nullptr);
            if (withSheet) {
                EXPECT_EQ(view->getSprite()->getParent(), host->sheet);
                EXPECT_TRUE(log.lines.empty());
            } else {
                EXPECT_EQ(view->getSprite()->getParent(), nullptr);
                EXPECT_TRUE(log.contains("no sheet global_ss"));
            }
            view->getSprite()->removeFromParent(true);
            view->release();
        }
        host->release();
    }
}

TEST_F(KVLevelObjectsTest, ObjectsWithoutTheirDataRefuseToStartAndSaySo) {
    struct Case {
        const char* what;
        KVActor* actor;
    };
    const Case cases[] = {{"KVCoconut", new KVCoconut()},
                          {"KVSpikyBall", new KVSpikyBall()},
                          {"KVSpikyWall", new KVSpikyWall()},
                          {"KVAnchor", new KVAnchor()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keep(c.actor);
        LogCapture log;
        EXPECT_FALSE(c.actor->initWithDictionary(nullptr));
        EXPECT_TRUE(log.contains(c.what));
    }
    LogCapture log;
    auto* wall = keep(new KVSpikyWall());
    EXPECT_FALSE(wall->initWithBody(nullptr));
    EXPECT_TRUE(log.contains("KVSpikyWall"));

    // Without a world nothing has a body to make.
    physics->destroyWorld();
    LogCapture noWorld;
    auto* border = keep(new KVMapBorder());
    EXPECT_FALSE(border->initWithRect(0.0f, 0.0f, 1.0f, 1.0f));
    auto* coconut = keep(new KVCoconut());
    EXPECT_FALSE(coconut->initWithDictionary(tileObject(0, 0, 32, 32)));
    EXPECT_TRUE(noWorld.contains("no physics world"));
    physics->createWorld();
}

} // namespace
