#include <gtest/gtest.h>

#include <cmath>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVActorV.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVPickableObject.h"

using kvengine::CCNode;
using kvengine::CCNotificationCenter;
using worldtest::BodySpec;
using worldtest::LogCapture;
using worldtest::RecordingActor;

namespace {

class KVActorTest : public ::testing::Test {
protected:
    void SetUp() override { kvengine::CCAutoreleasePoolStack::getInstance().push(); }
    void TearDown() override { kvengine::CCAutoreleasePoolStack::getInstance().pop(); }
};

TEST_F(KVActorTest, TypeTestsFollowTheClassTree) {
    struct Case {
        const char* name;
        bool actor, pickable, view;
    };
    const Case cases[] = {
        {"CCObject", true, true, true},
        {"KVObject", true, true, false},
        {"KVActor", true, true, false},
        {"KVPickableObject", false, true, false},
        {"KVActorV", false, false, true},
        {"CCNode", false, false, true},
        {"KVSingletonObject", false, false, false},
        {"kvactor", false, false, false},
        {nullptr, false, false, false},
    };
    auto* actor = new KVActor();
    auto* pickable = new KVPickableObject();
    auto* view = new KVActorV();
    for (const Case& c : cases) {
        const char* label = c.name != nullptr ? c.name : "(null)";
        EXPECT_EQ(actor->isKindOf(c.name), c.actor) << label;
        EXPECT_EQ(pickable->isKindOf(c.name), c.pickable) << label;
        EXPECT_EQ(view->isKindOf(c.name), c.view) << label;
    }
    EXPECT_STREQ(actor->className(), "KVActor");
    EXPECT_STREQ(view->className(), "KVActorV");
    EXPECT_EQ(actor->active, 1);
    EXPECT_FALSE(actor->isPersistent());
    actor->release();
    pickable->release();
    view->release();
}

TEST_F(KVActorTest, BaseOperationsAndRemoval) {
    auto* actor = new KVActor();
    actor->positionX = 3.0f;
    // The base actor takes nothing from its properties.
    auto* properties = new kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>();
    properties->setStringForKey("x", "4");
    EXPECT_TRUE(actor->initWithDictionary(properties));
    EXPECT_TRUE(actor->initWithDictionary(nullptr));
    properties->release();
    float x = -1.0f, y = -1.0f;
    actor->getPosition(&x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);
    EXPECT_FALSE(actor->initWithBody(nullptr));
    EXPECT_EQ(actor->viewClassName(), "");
    EXPECT_EQ(actor->getBody(), nullptr);
    EXPECT_TRUE(actor->isCameraTarget());
    EXPECT_FALSE(actor->triggersBounce());
    EXPECT_FALSE(actor->stopIfSlow());
    KVContactInfo info;
    EXPECT_FALSE(actor->beginContact(&info));

    // Only a removal naming this actor marks it.
    auto* other = new KVActor();
    other->init();
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, other);
    EXPECT_FALSE(actor->removed);
    EXPECT_TRUE(other->removed);
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, actor);
    EXPECT_TRUE(actor->removed);

    actor->release();
    other->release();
    // Released actors left no registration behind.
    CCNotificationCenter::getInstance()->flushPendingRemovals();
    EXPECT_EQ(CCNotificationCenter::getInstance()->registrationCount("EVENT_REMOVE_ACTOR"), 0u);
}

TEST_F(KVActorTest, StopIfSlowStopsAtHalfAMetrePerSecond) {
    KVPhysWorld* physics = KVPhysWorld::getInstance();
    physics->createWorld();
    struct Case {
        float vx, vy;
        bool moving;
    };
    const Case cases[] = {{0.5f, 0.0f, false},
                          {0.3f, 0.4f, false},
                          {0.51f, 0.0f, true},
                          {0.0f, -2.0f, true},
                          {0.0f, 0.0f, false}};
    for (const Case& c : cases) {
        auto* actor = new RecordingActor();
        BodySpec spec;
        spec.vx = c.vx;
        spec.vy = c.vy;
        actor->body = worldtest::makeCircle(physics->getWorld(), actor, spec);
        EXPECT_FLOAT_EQ(actor->getBodySpeed(), std::hypot(c.vx, c.vy)) << c.vx << "," << c.vy;
        EXPECT_EQ(actor->stopIfSlow(), c.moving) << c.vx << "," << c.vy;
        const b2Vec2 velocity = actor->body->GetLinearVelocity();
        EXPECT_EQ(velocity.x, c.moving ? c.vx : 0.0f);
        EXPECT_EQ(velocity.y, c.moving ? c.vy : 0.0f);
        actor->release();
    }
    physics->release();
}

// The gameplay layer's part: a list of views that releases a view when it leaves.
class FakeLayer : public kvengine::CCObject, public KVActorViewHost {
public:
    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override {
        removedViews.push_back(view);
        view->release();
    }
    std::vector<KVActorV*> removedViews;
};

TEST_F(KVActorTest, ViewFollowsItsModelAndLeavesWithIt) {
    auto* model = new KVActor();
    model->init();
    model->positionX = 2.5f;
    model->positionY = 1.0f;
    model->angle = static_cast<float>(M_PI / 2.0);
    auto* layer = new FakeLayer();
    auto* parent = new CCNode();

    auto* view = new KVActorV();
    ASSERT_TRUE(view->initWithActor(model, layer));
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(model->retainCount(), 2u);
    EXPECT_EQ(layer->retainCount(), 2u);
    view->update(1.0f / 60.0f); // no sprite yet: nothing to place
    CCNode* sprite = CCNode::create();
    view->setSprite(sprite);
    parent->addChild(sprite);

    view->update(1.0f / 60.0f);
    EXPECT_NEAR(sprite->getPosition().x, 80.0f, 1e-4f);
    EXPECT_NEAR(sprite->getPosition().y, 32.0f, 1e-4f);
    EXPECT_NEAR(sprite->getRotation(), -90.0f, 1e-3f);
    model->angle = -0.5f;
    view->update(1.0f / 60.0f);
    EXPECT_NEAR(sprite->getRotation(), 0.5f * 57.29578f, 1e-3f);

    // The removal takes the sprite off the screen and the view out of the layer, which lets it go
    // together with its hold on the model and the layer.
    view->retain();
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, model);
    EXPECT_EQ(sprite->getParent(), nullptr);
    EXPECT_FALSE(view->isAttached());
    ASSERT_EQ(layer->removedViews.size(), 1u);
    EXPECT_EQ(layer->removedViews[0], view);
    view->release();
    EXPECT_EQ(model->retainCount(), 1u);
    EXPECT_EQ(layer->retainCount(), 1u);

    model->release();
    layer->release();
    parent->release();
}

TEST_F(KVActorTest, ViewWithoutModelIsRefused) {
    LogCapture log;
    auto* view = new KVActorV();
    EXPECT_FALSE(view->initWithActor(nullptr, nullptr));
    EXPECT_FALSE(view->isAttached());
    EXPECT_EQ(log.lines.size(), 1u);
    // A view without a layer still detaches on removal.
    auto* model = new KVActor();
    model->init();
    ASSERT_TRUE(view->initWithActor(model, nullptr));
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, model);
    EXPECT_FALSE(view->isAttached());
    view->release();
    model->release();
}

// A pick-up whose radius the test sets, as a pearl sets 0 once collected.
class SizedPickable : public KVPickableObject {
public:
    float radius = 0.0f;
    float getPickRadius() override { return radius; }
};

TEST_F(KVActorTest, APointPicksAnObjectWithinItsRadiusAndNothingPicksARadiusOfZero) {
    struct Case {
        float radius, x, y;
        bool picked;
    };
    // The object lies at (10, -4).
    const Case cases[] = {
        {2.5f, 10.0f, -4.0f, true},  // on the position
        {2.5f, 12.5f, -4.0f, true},  // on the edge
        {2.5f, 11.5f, -2.0f, true},  // 2.5 m away along a slant (1.5, 2)
        {2.5f, 12.6f, -4.0f, false}, // just outside
        {2.5f, 0.0f, 0.0f, false},   // the origin, not the position, is far away
        {0.0f, 10.0f, -4.0f, false}, // collected: not even the position picks it
        {-1.0f, 10.0f, -4.0f, false},
    };
    auto* pickable = new SizedPickable();
    pickable->positionX = 10.0f;
    pickable->positionY = -4.0f;
    for (const Case& c : cases) {
        pickable->radius = c.radius;
        EXPECT_EQ(pickable->containsPoint(c.x, c.y), c.picked)
            << "radius " << c.radius << " at (" << c.x << ", " << c.y << ")";
    }
    // The plain class has no radius of its own.
    auto* plain = new KVPickableObject();
    EXPECT_EQ(plain->getPickRadius(), 0.0f);
    EXPECT_FALSE(plain->containsPoint(0.0f, 0.0f));
    plain->release();
    pickable->release();
}

} // namespace
