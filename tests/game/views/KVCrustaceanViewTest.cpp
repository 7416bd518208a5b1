// The crustaceans: their classes and axes, the wind-up that closes the computer's launch, the
// area-attack animation, the hermit's shot and the dance when the player's side loses.
#include "PawnViewFixture.h"

#include "engine/base/CCArray.h"

#include "game/attacks/KVProjectile.h"
#include "game/world/KVObjectFactory.h"
#include <box2d/box2d.h>
#include <cmath>

using viewtest::PawnViewTest;

namespace {

class CrustaceanViewTest : public PawnViewTest {
protected:
    static kvengine::CCArray* shotAt(const char* x, const char* y) {
        auto* payload = kvengine::CCArray::createWithCapacity(2);
        for (const char* text : {x, y}) {
            auto* value = new kvengine::CCString(text);
            payload->addObject(value);
            value->release();
        }
        return payload;
    }
};

TEST_F(CrustaceanViewTest, EachCrustaceanNamesItsViewAndTravelsSideways) {
    KVObjectFactory::registerGameClasses();
    struct Case {
        const char* model;
        const char* view;
        const char* animationSet;
    } cases[] = {{"KVCrustacean", "KVCrustaceanV", "crustacean"},
                 {"KVCrab", "KVCrabV", "crab"},
                 {"KVHermit", "KVHermitV", "hermit"},
                 {"KVShrimp", "KVShrimpV", "shrimp"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        kvengine::CCObject* made = KVObjectFactory::create(c.model);
        ASSERT_NE(made, nullptr);
        auto* pawn = static_cast<KVCrustacean*>(made);
        EXPECT_EQ(pawn->viewClassName(), c.view);
        float x = 0.0f, y = 1.0f;
        pawn->getForwardVector(&x, &y);
        EXPECT_EQ(x, 1.0f);
        EXPECT_EQ(y, 0.0f);
        EXPECT_FLOAT_EQ(pawn->getAimAngleOffset(), 1.5707964f);
        EXPECT_TRUE(pawn->isEnemy());
        kvengine::CCObject* view = KVObjectFactory::create(c.view);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(static_cast<KVCrustaceanV*>(view)->getAnimationSetName(), c.animationSet);
        view->release();
        made->release();
    }
}

TEST_F(CrustaceanViewTest, TheWindUpPlaysBeforeTheLaunchIsAllowed) {
    auto* crab = enemy<KVCrab>("crab");
    auto* view = viewOf<KVCrabV>(crab);
    auto* t = makeTrace({EVENT_AI_ANIM_IMPULSE_END});
    t->name(crab, "crab");
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
    post(EVENT_AI_ANIM_IMPULSE_START, crab);
    step();
    EXPECT_TRUE(shows(view->getSprite(), "crab_impulse_01.png") ||
                shows(view->getSprite(), "crab_impulse_02.png"));
    seconds(0.35f); // 4 frames x 0.1 s
    EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END crab"), 0);
    // Moving as if launched, so the launched loop is not left for idle at once.
    crab->getBody()->SetLinearDamping(0.0f);
    crab->getBody()->SetLinearVelocity(b2Vec2(5.0f, 0.0f));
    seconds(0.1f);
    EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END crab"), 1);
    EXPECT_EQ(view->getState(), KVPawnV::kStateLaunched);
    EXPECT_TRUE(shows(view->getSprite(), "crab_throw_01.png") ||
                shows(view->getSprite(), "crab_throw_02.png"));
    // Another pawn's wind-up is not this view's.
    auto* other = enemy<KVCrab>("crab", 8.0f, 3.0f);
    post(EVENT_AI_ANIM_IMPULSE_START, other);
    EXPECT_EQ(view->getState(), KVPawnV::kStateLaunched);
}

TEST_F(CrustaceanViewTest, TheAreaAttackStrikesInTheFrameItsAnimationStarts) {
    auto* crab = enemy<KVCrab>("crab");
    auto* view = viewOf<KVCrabV>(crab);
    auto* hermit = enemy<KVHermit>("hermit", 8.0f, 3.0f);
    auto* hermitView = viewOf<KVHermitV>(hermit);
    EXPECT_TRUE(KVPawnV::hasAnimation(view->getAnimations(), "aoe"));
    EXPECT_FALSE(KVPawnV::hasAnimation(hermitView->getAnimations(), "aoe")) << "no hasAOEAttack";
    auto* t = makeTrace({EVENT_AOE_ANIM_OVER});
    t->name(crab, "crab");
    post(EVENT_AOE_ANIM_START, crab);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_AOE_ANIM_OVER crab"});
    step();
    EXPECT_TRUE(shows(view->getSprite(), "crab_attack_01.png") ||
                shows(view->getSprite(), "crab_attack_02.png"));
    seconds(0.25f);
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);

    // A player-driven pawn's area attack is not animated here.
    crab->setAIDriven(false);
    post(EVENT_AOE_ANIM_START, crab);
    EXPECT_EQ(t->lines.size(), 1u);
}

TEST_F(CrustaceanViewTest, OnlyTheHermitWhoseTurnItIsShootsAtTheTarget) {
    auto* first = enemy<KVHermit>("hermit", 3.0f, 3.0f);
    auto* second = enemy<KVHermit>("hermit", 9.0f, 3.0f);
    auto* firstView = viewOf<KVHermitV>(first);
    auto* secondView = viewOf<KVHermitV>(second);
    auto* t = makeTrace({EVENT_DISTANCE_ATTACK_TRIGGERED, EVENT_NOTIFY_IDLE});
    t->name(first, "first");
    t->name(second, "second");
    post(EVENT_START_TURN, second);
    ASSERT_TRUE(second->isTurnActive());
    post(EVENT_DISTANCE_ATTACK_ANIM_START, shotAt("4.500000", "-2.250000"));
    seconds(0.15f);
    EXPECT_TRUE(t->lines.empty()) << "three frames of 0.07 s first";
    seconds(0.1f);
    EXPECT_EQ(t->lines, (std::vector<std::string>{"EVENT_DISTANCE_ATTACK_TRIGGERED second",
                                                  "EVENT_NOTIFY_IDLE second"}));
    EXPECT_FLOAT_EQ(secondView->getShotX(), 4.5f);
    EXPECT_FLOAT_EQ(secondView->getShotY(), -2.25f);
    EXPECT_FLOAT_EQ(firstView->getShotX(), 0.0f);
    // The shot flies from the shooter at the target at 10 m/s: (-4.5, -5.25) turned to length 10.
    int shots = 0;
    for (b2Body* body = physics->getWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
        auto* actor = reinterpret_cast<KVActor*>(body->GetUserData().pointer);
        if (actor == nullptr || !actor->isKindOf("KVDistanceAttackProjectile")) continue;
        ++shots;
        EXPECT_EQ(static_cast<KVProjectile*>(actor)->getOwner(), second);
        EXPECT_NEAR(body->GetLinearVelocity().x, -4.5f / std::hypot(4.5f, 5.25f) * 10.0f, 1e-4f);
        EXPECT_NEAR(body->GetLinearVelocity().y, -5.25f / std::hypot(4.5f, 5.25f) * 10.0f, 1e-4f);
    }
    EXPECT_EQ(shots, 1);
    step();
    EXPECT_TRUE(shows(secondView->getSprite(), "hermit_attack_04.png") ||
                shows(secondView->getSprite(), "hermit_attack_05.png"));
    seconds(0.2f);
    EXPECT_EQ(secondView->getState(), KVPawnV::kStateIdle);

    // A payload without its two texts is refused with a log line.
    post(EVENT_DISTANCE_ATTACK_ANIM_START, kvengine::CCArray::createWithCapacity(2));
    post(EVENT_DISTANCE_ATTACK_ANIM_START, second);
    seconds(0.5f);
    EXPECT_EQ(t->count("EVENT_DISTANCE_ATTACK_TRIGGERED second"), 1);
    EXPECT_TRUE(logged("a distance attack without its target"));
}

TEST_F(CrustaceanViewTest, WhenThePlayerLosesTheCrabsDanceOnceUpright) {
    auto* crab = enemy<KVCrab>("crab");
    auto* view = viewOf<KVCrabV>(crab);
    crab->setSelected(true);
    crab->getBody()->SetTransform(crab->getBody()->GetPosition(), 1.0f); // tilted
    crab->getBody()->SetAngularVelocity(0.0f);
    post(EVENT_LOOSE_DANCE);
    step();
    EXPECT_TRUE(view->isVictoryPending());
    EXPECT_FALSE(crab->isSelected());
    crab->getBody()->SetTransform(crab->getBody()->GetPosition(), 0.0f);
    step();
    EXPECT_FALSE(view->isVictoryPending());
    EXPECT_EQ(view->getState(), KVPawnV::kStateVictory);
    step(3);
    EXPECT_TRUE(shows(view->getSprite(), "crab_victory_01.png") ||
                shows(view->getSprite(), "crab_victory_02.png"));
    // Heard once: a second post changes nothing.
    view->setVictoryPending(false);
    post(EVENT_LOOSE_DANCE);
    EXPECT_FALSE(view->isVictoryPending());
}

} // namespace
