#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVRayCastClosestCallback.h"

using kvengine::CCNotificationCenter;
using worldtest::BodySpec;
using worldtest::ContactCall;
using worldtest::LogCapture;
using worldtest::makeCircle;
using worldtest::PostRecorder;
using worldtest::RecordingActor;

namespace {

class KVPhysWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        physics = KVPhysWorld::getInstance();
        physics->createWorld();
        world = physics->getWorld();
        ASSERT_NE(world, nullptr);
    }
    void TearDown() override {
        physics->destroyWorld();
        for (RecordingActor* actor : actors)
            actor->release();
        physics->release();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }

    RecordingActor* actorWithBody(const BodySpec& spec) {
        auto* actor = new RecordingActor();
        actor->init();
        actor->body = makeCircle(world, actor, spec);
        actors.push_back(actor);
        return actor;
    }

    void stepFrames(int frames) {
        for (int i = 0; i < frames; ++i)
            physics->update(1.0f / 60.0f);
    }

    KVPhysWorld* physics = nullptr;
    b2World* world = nullptr;
    std::vector<RecordingActor*> actors;
};

BodySpec circleAt(float x, float vx) {
    BodySpec spec;
    spec.x = x;
    spec.vx = vx;
    return spec;
}

TEST(KVPhysWorldPlanTest, FixedStepSchedules) {
    struct Case {
        float dt;
        std::vector<float> steps;
    };
    const float h = 1.0f / 60.0f;
    const Case cases[] = {
        {1.0f / 30.0f, {h, h}},
        {0.0175f, {0.0175f}},    // remainder under 1/600 folded into the one step
        {0.02f, {h, 0.02f - h}}, // remainder above 1/600 stepped on its own
        {0.2f, {h, h, h, h, h}}, // the rest after five steps is dropped
        {0.0f, {}},
        {h * 5.0f + 0.0005f, {h, h, h, h, h + 0.0005f}},
    };
    for (const Case& c : cases) {
        float steps[5] = {};
        const int count = KVPhysWorld::planFixedSteps(c.dt, steps);
        ASSERT_EQ(count, static_cast<int>(c.steps.size())) << "dt " << c.dt;
        for (int i = 0; i < count; ++i)
            EXPECT_NEAR(steps[i], c.steps[i], 1e-6f) << "dt " << c.dt << " step " << i;
    }
}

TEST_F(KVPhysWorldTest, FixedAndVariableStepsAdvanceTheBodies) {
    RecordingActor* mover = actorWithBody(circleAt(0.0f, 1.0f));
    physics->setFixedTimeStep(false);
    physics->update(0.2f);
    EXPECT_NEAR(mover->body->GetPosition().x, 0.2f, 1e-4f);

    physics->setFixedTimeStep(true);
    physics->update(0.2f); // only five sixtieths are simulated
    EXPECT_NEAR(mover->body->GetPosition().x, 0.2f + 5.0f / 60.0f, 1e-4f);
}

TEST_F(KVPhysWorldTest, BadTimeStepsAreRefusedAndLogged) {
    RecordingActor* mover = actorWithBody(circleAt(0.0f, 1.0f));
    for (bool fixed : {false, true}) {
        physics->setFixedTimeStep(fixed);
        for (float dt : {-0.1f, NAN, INFINITY}) {
            LogCapture log;
            physics->update(dt);
            EXPECT_TRUE(log.contains("KVPhysWorld::update")) << dt;
        }
    }
    EXPECT_EQ(mover->body->GetPosition().x, 0.0f);
}

TEST_F(KVPhysWorldTest, BothActorsHearTheContactTheSecondWithTheNormalReversed) {
    RecordingActor* left = actorWithBody(circleAt(0.0f, 5.0f));
    RecordingActor* right = actorWithBody(circleAt(1.5f, -5.0f));
    stepFrames(10);

    for (RecordingActor* self : {left, right}) {
        RecordingActor* other = self == left ? right : left;
        EXPECT_EQ(self->count('B'), 1);
        EXPECT_GE(self->count('P'), 1);
        EXPECT_GE(self->count('S'), 1);
        const ContactCall* begin = self->first('B');
        ASSERT_NE(begin, nullptr);
        EXPECT_EQ(begin->info.self, self);
        EXPECT_EQ(begin->info.other, other);
        // The normal points from self towards the other.
        const float towardsOther = other == right ? 1.0f : -1.0f;
        EXPECT_NEAR(begin->info.normalX, towardsOther, 1e-4f);
        EXPECT_NEAR(begin->info.normalY, 0.0f, 1e-4f);
        // The point is between the two, in points.
        EXPECT_GT(begin->info.pointX, 0.0f);
        EXPECT_LT(begin->info.pointX, 1.5f * 32.0f);
        EXPECT_EQ(begin->info.selfFilter.categoryBits, 1);
    }
    EXPECT_NEAR(left->first('B')->info.pointX, right->first('B')->info.pointX, 1e-4f);
}

TEST_F(KVPhysWorldTest, ATrueAnswerKeepsTheSecondActorFromHearing) {
    RecordingActor* left = actorWithBody(circleAt(0.0f, 5.0f));
    RecordingActor* right = actorWithBody(circleAt(1.5f, -5.0f));
    left->answer = right->answer = true;
    stepFrames(10);
    // Whichever actor Box2D put first answered true; the other heard nothing of the begin.
    EXPECT_EQ(left->count('B') + right->count('B'), 1);
}

TEST_F(KVPhysWorldTest, ABodyWithoutAnActorGivesANullOther) {
    RecordingActor* pawn = actorWithBody(circleAt(0.0f, 5.0f));
    BodySpec wall;
    wall.x = 1.5f;
    wall.type = b2_staticBody;
    makeCircle(world, nullptr, wall);
    stepFrames(10);
    ASSERT_EQ(pawn->count('B'), 1);
    EXPECT_EQ(pawn->first('B')->info.other, nullptr);
    EXPECT_NEAR(pawn->first('B')->info.normalX, 1.0f, 1e-4f);
}

TEST_F(KVPhysWorldTest, SensorContactsHaveNoPointAndNoNormal) {
    RecordingActor* pawn = actorWithBody(circleAt(0.0f, 5.0f));
    BodySpec zone;
    zone.x = 1.5f;
    zone.type = b2_staticBody;
    zone.sensor = true;
    zone.category = 0x0004;
    RecordingActor* trigger = actorWithBody(zone);
    stepFrames(10);
    ASSERT_EQ(pawn->count('B'), 1);
    ASSERT_EQ(trigger->count('B'), 1);
    const KVContactInfo& info = trigger->first('B')->info;
    EXPECT_EQ(info.other, pawn);
    EXPECT_EQ(info.pointX, 0.0f);
    EXPECT_EQ(info.normalX, 0.0f);
    EXPECT_EQ(info.selfFilter.categoryBits, 0x0004);
    EXPECT_EQ(info.otherFilter.categoryBits, 0x0001);
    // Sensors are not solved, and the pawn went through.
    EXPECT_EQ(pawn->count('P'), 0);
    EXPECT_GT(pawn->body->GetPosition().x, 0.6f); // a solid circle would have stopped at 0.5
}

TEST_F(KVPhysWorldTest, FiltersDecideWhoCollides) {
    struct Case {
        uint16 categoryA, maskA;
        int16 groupA;
        uint16 categoryB, maskB;
        int16 groupB;
        bool contact;
    };
    const Case cases[] = {
        {0x0001, 0xFFFF, 0, 0x0002, 0xFFFF, 0, true},
        {0x0001, 0xFFFD, 0, 0x0002, 0xFFFF, 0, false},   // A's mask leaves B's category out
        {0x0001, 0xFFFF, 0, 0x0002, 0x0002, 0, false},   // B's mask leaves A's category out
        {0x0001, 0xFFFF, -3, 0x0002, 0xFFFF, -3, false}, // same negative group never collides
        {0x0001, 0x0000, 3, 0x0002, 0x0000, 3, true},    // same positive group always collides
        {0x0001, 0xFFFF, -3, 0x0002, 0xFFFF, -4, true},  // different groups follow the masks
    };
    for (const Case& c : cases) {
        physics->createWorld();
        world = physics->getWorld();
        for (RecordingActor* actor : actors)
            actor->release();
        actors.clear();
        BodySpec a = circleAt(0.0f, 5.0f);
        a.category = c.categoryA;
        a.mask = c.maskA;
        a.group = c.groupA;
        BodySpec b = circleAt(1.5f, -5.0f);
        b.category = c.categoryB;
        b.mask = c.maskB;
        b.group = c.groupB;
        RecordingActor* first = actorWithBody(a);
        RecordingActor* second = actorWithBody(b);
        stepFrames(10);
        EXPECT_EQ(first->count('B'), c.contact ? 1 : 0) << c.categoryA << "/" << c.maskA << "/" << c.groupA;
        EXPECT_EQ(second->count('B'), c.contact ? 1 : 0);
        if (c.contact) {
            EXPECT_EQ(first->first('B')->info.otherFilter.groupIndex, c.groupB);
        }
    }
}

TEST_F(KVPhysWorldTest, QueriesNearAPoint) {
    BodySpec ball; // radius 0.5 at the origin, dynamic
    b2Body* dynamicBall = makeCircle(world, nullptr, ball);
    BodySpec rock;
    rock.x = 10.0f;
    rock.type = b2_staticBody;
    b2Body* staticRock = makeCircle(world, nullptr, rock);
    b2Body* box = worldtest::makeBox(world, nullptr, 20.0f, 0.0f, 0.5f, 0.5f);
    BodySpec ghost; // category 0 matches no query
    ghost.x = 30.0f;
    ghost.category = 0;
    makeCircle(world, nullptr, ghost);

    struct Case {
        float x, y, radius;
        bool skipStatic;
        b2Body* expected;
    };
    const Case cases[] = {
        {1.0f, 0.0f, 0.5f, false, nullptr}, // distance equals the sum of the radii
        {0.99f, 0.0f, 0.5f, false, dynamicBall}, {10.9f, 0.0f, 0.5f, false, staticRock},
        {10.9f, 0.0f, 0.5f, true, nullptr}, // the movable query skips static bodies
        {20.7f, 0.7f, 0.25f, false, box},   // polygons pass on their bounding box alone
        {30.0f, 0.0f, 1.0f, false, nullptr},     {50.0f, 50.0f, 1.0f, false, nullptr},
    };
    for (const Case& c : cases) {
        b2Fixture* found = physics->queryFixtureNear(b2Vec2(c.x, c.y), c.radius, c.skipStatic);
        EXPECT_EQ(found != nullptr ? found->GetBody() : nullptr, c.expected) << c.x << "," << c.y;
    }
    EXPECT_EQ(physics->queryMovableFixtureNear(b2Vec2(10.0f, 0.0f), 0.1f), nullptr);
    EXPECT_NE(physics->queryAnyFixtureNear(b2Vec2(10.0f, 0.0f), 0.1f), nullptr);

    LogCapture log;
    EXPECT_EQ(physics->queryAnyFixtureNear(b2Vec2(NAN, 0.0f), 1.0f), nullptr);
    EXPECT_EQ(physics->queryAnyFixtureNear(b2Vec2(0.0f, 0.0f), -1.0f), nullptr);
    EXPECT_EQ(log.lines.size(), 2u);
}

TEST_F(KVPhysWorldTest, RayCastKeepsTheClosestAcceptedHit) {
    RecordingActor* nearWall = new RecordingActor();
    nearWall->init();
    actors.push_back(nearWall);
    worldtest::makeBox(world, nearWall, 2.0f, 0.0f, 0.25f, 2.0f, 0x0002);
    RecordingActor* farWall = new RecordingActor();
    farWall->init();
    actors.push_back(farWall);
    worldtest::makeBox(world, farWall, 4.0f, 0.0f, 0.25f, 2.0f, 0x0001);

    KVRayCastClosestCallback all;
    world->RayCast(&all, b2Vec2(0.0f, 0.0f), b2Vec2(10.0f, 0.0f));
    EXPECT_TRUE(all.hit);
    EXPECT_EQ(all.hitActor, nearWall);
    EXPECT_NEAR(all.pointX, 1.75f, 1e-4f);
    EXPECT_NEAR(all.normalX, -1.0f, 1e-4f);

    KVRayCastClosestCallback sight; // every category but the second
    sight.categoryMask = 0xFFFD;
    world->RayCast(&sight, b2Vec2(0.0f, 0.0f), b2Vec2(10.0f, 0.0f));
    EXPECT_TRUE(sight.hit);
    EXPECT_EQ(sight.hitActor, farWall);
    EXPECT_NEAR(sight.pointX, 3.75f, 1e-4f);

    KVRayCastClosestCallback miss;
    world->RayCast(&miss, b2Vec2(0.0f, 5.0f), b2Vec2(10.0f, 5.0f));
    EXPECT_FALSE(miss.hit);
    EXPECT_EQ(miss.hitActor, nullptr);
}

TEST_F(KVPhysWorldTest, NotificationsPostedDuringAStepArriveAfterIt) {
    RecordingActor* left = actorWithBody(circleAt(0.0f, 5.0f));
    RecordingActor* right = actorWithBody(circleAt(1.5f, -5.0f));
    auto* recorder = new PostRecorder(EVENT_PAWN_HIT_PAWN);
    bool deliveredInsideStep = false;
    recorder->onEach = [&](kvengine::CCObject*) { deliveredInsideStep = physics->isStepping(); };
    left->onBegin = [&](RecordingActor* self) {
        physics->postNotification(EVENT_PAWN_HIT_PAWN, self);
        EXPECT_TRUE(recorder->objects.empty());
    };
    stepFrames(10);
    ASSERT_EQ(recorder->objects.size(), 1u);
    EXPECT_EQ(recorder->objects[0], left);
    EXPECT_FALSE(deliveredInsideStep);
    (void)right;

    LogCapture log;
    physics->postNotification(nullptr, left);
    EXPECT_EQ(log.lines.size(), 1u);
    recorder->release();
}

// Each contact handler removes its own actor the way game code does; the owner then lets the actor
// go. Whether the removal is posted straight away (inside the step) or through the physics world,
// the body goes only after the step and the actor hears nothing more.
class RemovableActor : public RecordingActor {
public:
    void onRemoveActor(kvengine::CCNotification* notification) override {
        RecordingActor::onRemoveActor(notification);
        if (body != nullptr) KVPhysWorld::getInstance()->destroyBody(body);
        body = nullptr;
    }
};

TEST_F(KVPhysWorldTest, RemovingAnActorFromItsContactHandlerIsSafe) {
    for (bool throughWorld : {false, true}) {
        physics->createWorld();
        world = physics->getWorld();
        auto* doomed = new RemovableActor();
        doomed->init();
        doomed->body = makeCircle(world, doomed, circleAt(0.0f, 5.0f));
        RecordingActor* survivor = actorWithBody(circleAt(1.5f, -5.0f));
        int bodiesDuringStep = -1;
        doomed->onBegin = [&, throughWorld](RecordingActor* self) {
            if (throughWorld)
                physics->postNotification(EVENT_REMOVE_ACTOR, self);
            else
                CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, self);
            bodiesDuringStep = world->GetBodyCount();
        };
        // The owner drops the actor when it hears of the removal, or right after the step when
        // it hears of it inside the step (as the game model does, after its update).
        auto* owner = new PostRecorder(EVENT_REMOVE_ACTOR);
        bool dropLater = false;
        size_t callsAtRemoval = 0;
        owner->onEach = [&](kvengine::CCObject* object) {
            if (object != doomed) return;
            callsAtRemoval = survivor->calls.size();
            if (physics->isStepping())
                dropLater = true;
            else
                doomed->release();
        };
        for (int frame = 0; frame < 10; ++frame) {
            physics->update(1.0f / 60.0f);
            if (dropLater) doomed->release();
            dropLater = false;
        }
        EXPECT_EQ(bodiesDuringStep, 2) << throughWorld;
        EXPECT_EQ(world->GetBodyCount(), 1) << throughWorld;
        EXPECT_EQ(owner->objects.size(), 1u);
        // Once the removal is known the survivor hears no more of the contact (only the begin
        // under way when the doomed actor removed itself may still reach it).
        for (size_t i = callsAtRemoval; i < survivor->calls.size(); ++i)
            EXPECT_EQ(survivor->calls[i].kind, 'B') << throughWorld;
        EXPECT_EQ(survivor->count('B'), 1);
        owner->release();
    }
}

TEST_F(KVPhysWorldTest, DestroyBodyRefusesForeignBodies) {
    LogCapture log;
    EXPECT_FALSE(physics->destroyBody(nullptr));
    b2World other(b2Vec2(0.0f, 0.0f));
    b2Body* stranger = makeCircle(&other, nullptr, BodySpec());
    EXPECT_FALSE(physics->destroyBody(stranger));
    EXPECT_EQ(log.lines.size(), 2u);
    // A body whose user data names another actor is not the owner's to destroy.
    RecordingActor* holder = actorWithBody(BodySpec());
    RecordingActor* stale = actorWithBody(BodySpec());
    world->DestroyBody(stale->body);
    EXPECT_FALSE(physics->destroyBody(holder->body, stale));
    EXPECT_EQ(log.lines.size(), 3u);
    EXPECT_TRUE(physics->destroyBody(holder->body, holder));
    b2Body* own = makeCircle(world, nullptr, BodySpec());
    EXPECT_TRUE(physics->destroyBody(own));
    EXPECT_EQ(world->GetBodyCount(), 0);
}

TEST_F(KVPhysWorldTest, WithoutAWorldNothingHappens) {
    physics->destroyWorld();
    EXPECT_EQ(physics->getWorld(), nullptr);
    physics->update(1.0f / 60.0f);
    EXPECT_EQ(physics->queryAnyFixtureNear(b2Vec2(0.0f, 0.0f), 1.0f), nullptr);
    physics->destroyWorld();
    // Posts go out at once.
    auto* recorder = new PostRecorder(EVENT_PAWN_HIT_PAWN);
    physics->postNotification(EVENT_PAWN_HIT_PAWN);
    EXPECT_EQ(recorder->objects.size(), 1u);
    recorder->release();
}

TEST(KVPhysWorldSettingTest, CreateWorldReadsTheFixedStepSetting) {
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "kelvos-world-test-home";
    std::filesystem::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    KVPhysWorld* physics = KVPhysWorld::getInstance();
    {
        LogCapture log;
        physics->createWorld(); // no settings object yet
        EXPECT_FALSE(physics->usesFixedTimeStep());
        EXPECT_TRUE(log.contains("no game settings"));
    }
    auto* settings = new KVGameSetup();
    struct Case {
        const char* value;
        bool fixed;
    };
    for (const Case& c : {Case{"YES", true}, Case{"1", true}, Case{"NO", false}, Case{"0", false}}) {
        settings->getConfiguration()->setStringForKey("PhysicsUseFixedTimeStep", c.value);
        physics->createWorld();
        EXPECT_EQ(physics->usesFixedTimeStep(), c.fixed) << c.value;
    }
    settings->getConfiguration()->removeObjectForKey("PhysicsUseFixedTimeStep");
    physics->setFixedTimeStep(true);
    physics->createWorld();
    EXPECT_FALSE(physics->usesFixedTimeStep());
    settings->release();
    physics->release();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
    std::filesystem::remove_all(home);
}

} // namespace
