#include <gtest/gtest.h>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVPhysWorld.h"

using worldtest::BodySpec;
using worldtest::PostRecorder;

namespace {

// A pawn with a side, a death flag and a body, as the pawn code sets them up.
class SidedPawn : public KVPawn {
public:
    SidedPawn(bool enemy, bool deathAnnounced) {
        m_enemy = enemy;
        m_deathAnnounced = deathAnnounced;
    }
    void giveBody(b2World* world, float x, float vx) {
        BodySpec spec;
        spec.x = x;
        spec.vx = vx;
        m_body = worldtest::makeCircle(world, this, spec);
    }
};

TEST(KVContactListenerTest, PlayerAndEnemyPawnsSeparatingMakeThePlayerBlink) {
    struct Case {
        bool enemyA, enemyB, deathAnnounced;
        int blinkingPawn; // 0 none, 1 the first, 2 the second
    };
    const Case cases[] = {
        {false, true, false, 1}, {true, false, false, 2}, {false, false, false, 0},
        {true, true, false, 0},  {false, true, true, 0},
    };
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    KVPhysWorld* physics = KVPhysWorld::getInstance();
    for (const Case& c : cases) {
        physics->createWorld();
        b2World* world = physics->getWorld();
        auto* first = new SidedPawn(c.enemyA, !c.enemyA && c.deathAnnounced);
        auto* second = new SidedPawn(c.enemyB, !c.enemyB && c.deathAnnounced);
        first->init();
        second->init();
        first->giveBody(world, 0.0f, 0.0f);
        second->giveBody(world, 0.9f, 0.0f); // overlapping: touching after the first step
        auto* blinks = new PostRecorder(EVENT_KELVO_BLINKS);
        physics->update(1.0f / 60.0f);
        EXPECT_TRUE(blinks->objects.empty());

        // Pulled apart: the contact ends inside the next step and the post follows it.
        second->getBody()->SetTransform(b2Vec2(5.0f, 0.0f), 0.0f);
        physics->update(1.0f / 60.0f);
        physics->update(1.0f / 60.0f);
        if (c.blinkingPawn == 0) {
            EXPECT_TRUE(blinks->objects.empty());
        } else {
            ASSERT_EQ(blinks->objects.size(), 1u);
            EXPECT_EQ(blinks->objects[0], c.blinkingPawn == 1 ? first : second);
        }
        blinks->release();
        // Releasing the pawns destroys their bodies, and nothing hears of those ends.
        first->release();
        second->release();
        EXPECT_EQ(world->GetBodyCount(), 0);
    }
    physics->release();
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
}

} // namespace
