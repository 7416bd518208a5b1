// The pawn view on a crab (its animations from the crustacean view): the health gauge, the
// inactivity posts, the knock-out road through the puff, the fall, hits, the spawn flash, the
// target marker, the damage figures and what a view does with bad input or missing frames.
#include "PawnViewFixture.h"

#include <algorithm>

#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/pawns/KVPawnController.h"
#include "game/views/KVPawnDamageFeedback.h"
#include "game/world/KVActionEvent.h"

#include <box2d/box2d.h>

using viewtest::PawnViewTest;

namespace {

class PawnViewCase : public PawnViewTest {
protected:
    KVCrab* crab = nullptr;
    KVCrabV* view = nullptr;

    void makeCrab() {
        crab = enemy<KVCrab>("crab");
        view = viewOf<KVCrabV>(crab);
    }
    void actionOn(int type, int value, float ratio, KVPawn* target, KVPawn* actor = nullptr) {
        post(EVENT_ACTION, KVActionEvent::create(type, value, ratio, actor, target));
    }
};

TEST_F(PawnViewCase, TheGaugeIsPinnedRedAtHalfHealthOrLessAndShownBrieflyAtZero) {
    makeCrab();
    struct Case {
        int hp;
        bool pinned;
        const char* fill;
        bool fillVisible;
    } cases[] = {
        {50, true, "HP_GaugeSmall_RedFill.png", true},     // 0.5: red and pinned
        {51, false, "HP_GaugeSmall_GreenFill.png", false}, // 0.51: green, unpinned and hidden
        {10, true, "HP_GaugeSmall_RedFill.png", true},
        {0, false, nullptr, false}, // 0: the fill hides, the display runs its 2 s
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("HP " + std::to_string(c.hp));
        crab->setHitPoints(c.hp);
        step();
        EXPECT_EQ(view->isGaugePinned(), c.pinned);
        EXPECT_EQ(view->getGaugeFill()->isVisible(), c.fillVisible);
        if (c.fill != nullptr) {
            EXPECT_TRUE(shows(view->getGaugeFill(), c.fill));
        }
        if (c.pinned) {
            EXPECT_TRUE(view->getGaugeStroke()->isVisible());
            EXPECT_FLOAT_EQ(view->getGaugeFill()->getScaleX(), 1.5f * c.hp / 100.0f);
        }
    }
    EXPECT_TRUE(view->isGaugeShown());
    EXPECT_TRUE(view->getGaugeStroke()->isVisible());
    seconds(2.5f);
    EXPECT_FALSE(view->isGaugeShown());
    EXPECT_FALSE(view->getGaugeStroke()->isVisible());
}

TEST_F(PawnViewCase, InactivityIsPostedOnceAfterMoreThanFourSecondsIdleOnTheOwnTurn) {
    makeCrab();
    KVCrab* other = enemy<KVCrab>("crab", 8.0f, 3.0f);
    KVCrabV* otherView = viewOf<KVCrabV>(other);
    makeTrace({EVENT_INACTIVITY, EVENT_ACTIVITY});
    seconds(5.0f);
    EXPECT_EQ(trace->lines.size(), 0u) << "not its turn";

    post(EVENT_START_TURN, crab);
    ASSERT_TRUE(crab->isTurnActive());
    step(240); // exactly 4.0 s
    EXPECT_EQ(trace->count("EVENT_INACTIVITY -"), 0);
    step();
    EXPECT_EQ(trace->count("EVENT_INACTIVITY -"), 1);
    // Every pawn's gauge fades in and stays.
    EXPECT_TRUE(otherView->getGaugeStroke()->isVisible());
    EXPECT_EQ(otherView->getGaugeStroke()->getOpacity(), 0);
    seconds(5.0f);
    EXPECT_EQ(otherView->getGaugeStroke()->getOpacity(), 255);
    EXPECT_TRUE(otherView->getGaugeStroke()->isVisible());
    EXPECT_EQ(trace->count("EVENT_INACTIVITY -"), 1) << "once per idle spell";

    post(EVENT_END_TURN, crab);
    step();
    EXPECT_EQ(trace->count("EVENT_ACTIVITY -"), 1);
    EXPECT_FALSE(otherView->getGaugeStroke()->isVisible());
}

TEST_F(PawnViewCase, AKnockedOutCrabWaitsUntilSlowThenPuffsAndLeavesEvenWhenHitMeanwhile) {
    for (bool hitWhileDying : {false, true}) {
        SCOPED_TRACE(hitWhileDying ? "hit while dying" : "plain");
        makeCrab();
        TearDownTraces();
        auto* t =
            makeTrace({EVENT_DEAD_PAWN, EVENT_PAWN_PLAYS_KO, EVENT_BEGIN_PUFF, EVENT_MIDDLE_PUFF,
                       EVENT_DEAD_PAWN_READY, EVENT_REMOVE_ACTOR, EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
        t->name(crab, "crab");
        t->name(view, "view");
        t->name(crab->getVoice(), "voice");
        crab->getBody()->SetLinearDamping(0.0f);
        crab->getBody()->SetLinearVelocity(b2Vec2(8.0f, 0.0f));
        post(EVENT_DEAD_PAWN, crab);
        EXPECT_EQ(view->getState(), KVPawnV::kStateKoRequested);
        step(30);
        EXPECT_EQ(t->count("EVENT_PAWN_PLAYS_KO voice"), 0) << "still moving at 8 m/s";
        crab->getBody()->SetLinearVelocity(b2Vec2(1.0f, 0.0f)); // exactly 1.0 m/s is slow enough
        step();
        EXPECT_EQ(t->count("EVENT_PAWN_PLAYS_KO voice"), 1);
        EXPECT_EQ(view->getState(), KVPawnV::kStateKoPlaying);
        crab->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        if (hitWhileDying) {
            post(EVENT_PAWN_TAKE_DAMAGE, crab);
            EXPECT_EQ(view->getState(), KVPawnV::kStateKoPlaying);
        }
        seconds(1.5f);
        const char* const road[] = {"EVENT_DEAD_PAWN crab",       "EVENT_NOTIFY_IN_ACTION view",
                                    "EVENT_PAWN_PLAYS_KO voice",  "EVENT_BEGIN_PUFF crab",
                                    "EVENT_MIDDLE_PUFF crab",     "EVENT_NOTIFY_IDLE view",
                                    "EVENT_DEAD_PAWN_READY crab", "EVENT_REMOVE_ACTOR crab"};
        // Posts made inside a handler are heard before the post that caused them, so the road is
        // checked by frame: each step in the frame of the one before it or later.
        int lastFrame = 0;
        for (const char* line : road) {
            const int found = t->find(line);
            ASSERT_GE(found, 0) << line << "\n" << t->dump();
            EXPECT_GE(t->frames[static_cast<size_t>(found)], lastFrame) << line << "\n" << t->dump();
            lastFrame = t->frames[static_cast<size_t>(found)];
        }
        EXPECT_EQ(t->frames[static_cast<size_t>(t->find("EVENT_REMOVE_ACTOR crab"))],
                  t->frames[static_cast<size_t>(t->find("EVENT_MIDDLE_PUFF crab"))])
            << "the pawn leaves half-way through the puff";
        EXPECT_FALSE(view->isAttached());
        EXPECT_EQ(view->getSprite()->getParent(), nullptr);
        EXPECT_EQ(view->getShadow()->getParent(), nullptr);
        EXPECT_EQ(view->getDamageFeedback()->getParent(), nullptr);
        EXPECT_EQ(view->getGaugeStroke()->getParent(), nullptr);
        EXPECT_NE(std::find(layer->removed.begin(), layer->removed.end(), view), layer->removed.end());
    }
}

TEST_F(PawnViewCase, AFallSpinsShrinksAndFadesThenReleasesThePawn) {
    makeCrab();
    auto* t = makeTrace({EVENT_DEAD_PAWN_READY, EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(crab, "crab");
    t->name(view, "view");
    kvengine::CCNode* body = view->getSprite();
    post(EVENT_PAWN_FALL, crab);
    EXPECT_TRUE(crab->isRemoved());
    EXPECT_EQ(view->getState(), KVPawnV::kStateFallRequested);
    step();
    EXPECT_EQ(view->getState(), KVPawnV::kStateFalling);
    post(EVENT_PAWN_TAKE_DAMAGE, crab);
    EXPECT_EQ(view->getState(), KVPawnV::kStateFalling) << "a hit while falling changes nothing";
    seconds(0.9f);
    EXPECT_EQ(static_cast<kvengine::CCSprite*>(body)->getOpacity(), 0);
    EXPECT_EQ(t->count("EVENT_DEAD_PAWN_READY crab"), 0);
    seconds(0.2f);
    EXPECT_NEAR(body->getScale(), 0.1f, 1e-4f);
    EXPECT_EQ(t->lines, (std::vector<std::string>{"EVENT_NOTIFY_IDLE view", "EVENT_NOTIFY_IN_ACTION view",
                                                  "EVENT_NOTIFY_IDLE view", "EVENT_DEAD_PAWN_READY crab"}));
}

TEST_F(PawnViewCase, MissingAnimationsNeverHoldUpTheTurn) {
    // "bare" has no ko, victory, impulse or attack frames; its "fall" falls back to "hit", which
    // it has, so the fall is checked with the entry taken away.
    auto* bare = enemy<KVCrustacean>("bare");
    auto* bareView = viewOf<KVCrustaceanV>(bare);
    auto* t = makeTrace({EVENT_DEAD_PAWN_READY, EVENT_AI_ANIM_IMPULSE_END, EVENT_AOE_ANIM_OVER});
    t->name(bare, "bare");
    EXPECT_FALSE(KVPawnV::hasAnimation(bareView->getAnimations(), "ko"));
    EXPECT_FALSE(KVPawnV::hasAnimation(bareView->getAnimations(), "impulse"));
    EXPECT_FALSE(KVPawnV::hasAnimation(bareView->getAnimations(), "aoe"));
    EXPECT_TRUE(KVPawnV::hasAnimation(bareView->getAnimations(), "fall"));

    post(EVENT_AI_ANIM_IMPULSE_START, bare);
    EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END bare"), 1) << "at once";
    EXPECT_EQ(bareView->getState(), KVPawnV::kStateLaunched);
    post(EVENT_AOE_ANIM_START, bare);
    EXPECT_EQ(t->count("EVENT_AOE_ANIM_OVER bare"), 1);
    EXPECT_EQ(bareView->getState(), KVPawnV::kStateIdle);
    post(EVENT_DEAD_PAWN, bare);
    EXPECT_EQ(t->count("EVENT_DEAD_PAWN_READY bare"), 1) << "no knock-out to wait for";
    EXPECT_TRUE(layer->puffs.empty());

    auto* other = enemy<KVCrustacean>("bare", 8.0f, 3.0f);
    auto* otherView = viewOf<KVCrustaceanV>(other);
    t->name(other, "other");
    otherView->getAnimations()->removeObjectForKey("fall");
    post(EVENT_PAWN_FALL, other);
    EXPECT_EQ(t->count("EVENT_DEAD_PAWN_READY other"), 1);
}

TEST_F(PawnViewCase, AHitPlaysTenTimesThenIdlesUnlessThePawnIsDying) {
    makeCrab();
    post(EVENT_PAWN_TAKE_DAMAGE, crab);
    EXPECT_EQ(view->getState(), KVPawnV::kStateHit);
    seconds(3.9f); // 10 x 4 frames x 0.1 s
    EXPECT_EQ(view->getState(), KVPawnV::kStateHit);
    seconds(0.2f);
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
    EXPECT_TRUE(shows(view->getSprite(), "crab_idle_01.png") || shows(view->getSprite(), "crab_idle_02.png"));

    // Another pawn's hit is not this view's.
    KVCrab* other = enemy<KVCrab>("crab", 8.0f, 3.0f);
    post(EVENT_PAWN_TAKE_DAMAGE, other);
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
}

TEST_F(PawnViewCase, TheSpawnFlashHidesTheBodyUntilItEndsOrThePawnMoves) {
    layer->spawnEffect = true;
    struct Case {
        float speed;
        float after;
        bool shown;
    } cases[] = {{0.0f, 0.7f, false}, {0.0f, 0.85f, true}, {0.8f, 0.05f, true}, {0.45f, 0.05f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.speed) + " m/s after " + std::to_string(c.after) + " s");
        makeCrab();
        ASSERT_NE(view->getSpawnSprite(), nullptr);
        EXPECT_EQ(view->getSpawnSprite()->getParent(), layer->sheets["top_sfx_51_ss"]);
        EXPECT_FALSE(view->getSprite()->isVisible());
        crab->getBody()->SetLinearDamping(0.0f);
        crab->getBody()->SetLinearVelocity(b2Vec2(c.speed, 0.0f));
        seconds(c.after);
        EXPECT_EQ(view->getSprite()->isVisible(), c.shown);
        EXPECT_EQ(view->getShadow()->isVisible(), c.shown);
    }
    seconds(1.5f);
    EXPECT_FALSE(view->getSpawnSprite()->isVisible()) << "hidden after its 13 frames";
}

TEST_F(PawnViewCase, TheTargetMarkerShowsWhenHighlightedOrZoomedOutAndSpansThePawnDuringAPull) {
    makeCrab();
    step();
    EXPECT_FALSE(view->getTargetMarker()->isVisible());
    post(EVENT_KELVO_HIGHLIGHT_ON, crab);
    step();
    EXPECT_TRUE(view->getTargetMarker()->isVisible());
    EXPECT_EQ(view->getTargetMarker()->getPosition().x, view->getSprite()->getPosition().x);
    post(EVENT_KELVO_HIGHLIGHT_OFF, crab);
    step();
    EXPECT_FALSE(view->getTargetMarker()->isVisible());
    layer->zoomedOut = true;
    step();
    EXPECT_TRUE(view->getTargetMarker()->isVisible()) << "an enemy while zoomed out by hand";
    // The marker base: Radius / 14, then 2 x Radius over the marker width during a pull.
    EXPECT_FLOAT_EQ(view->getMarkerBaseScale(), 16.0f / 14.0f);
    post(EVENT_PULL_START, nullptr);
    EXPECT_FLOAT_EQ(view->getMarkerBaseScale(), 32.0f / view->getTargetMarker()->getContentSize().width);
    post(EVENT_PULL_RELEASE, nullptr);
    EXPECT_FALSE(view->getTargetMarker()->isVisible());
    EXPECT_FLOAT_EQ(view->getMarkerBaseScale(), 16.0f / 14.0f);
}

TEST_F(PawnViewCase, ATapShowsTheHitPointsInTheTouchedText) {
    makeCrab();
    crab->setHitPoints(70);
    step();
    post(EVENT_SIMPLE_TAP_ON_PAWN, crab);
    ASSERT_NE(view->getHPLabel(), nullptr);
    EXPECT_STREQ(view->getHPLabel()->getString(), "70/100 HP");
    EXPECT_TRUE(view->getHPLabel()->isVisible());
    EXPECT_TRUE(shows(view->getHPBubble(), "Kv_EncartHP_bleu.png"));
    EXPECT_TRUE(view->getGaugeStroke()->isVisible());
    seconds(2.5f);
    EXPECT_FALSE(view->getHPLabel()->isVisible());
}

TEST_F(PawnViewCase, BadModelsAndMissingFirstFramesAreRefusedWithALogLine) {
    auto* notAPawn = new KVActor();
    notAPawn->init();
    auto* refused = new KVCrabV();
    EXPECT_FALSE(refused->initWithActor(notAPawn, layer));
    EXPECT_FALSE(refused->initWithActor(nullptr, layer));
    EXPECT_TRUE(logged("the model is not a pawn"));

    KVCrab* crabWithoutFrames = enemy<KVCrab>("ghost");
    EXPECT_FALSE(refused->initWithActor(crabWithoutFrames, layer));
    EXPECT_TRUE(logged("no frame \"ghost_idle_01.png\""));
    refused->release();
    notAPawn->release();
}

// ---- Damage figures ----

TEST_F(PawnViewCase, ADamageFigureSwellsWithTheBlow) {
    struct Case {
        float ratio;
        float pop;
        float settle;
    } cases[] = {{0.5f, 3.5f, 1.75f}, {1.0f, 6.0f, 3.0f}, {2.0f, 6.0f, 3.0f}, {0.001f, 1.005f, 0.5025f}};
    for (const Case& c : cases) {
        SCOPED_TRACE("ratio " + std::to_string(c.ratio));
        makeCrab();
        actionOn(KVActionEvent::MeleeHit, 12, c.ratio, crab);
        auto* figures = view->getDamageFeedback()->getFigures();
        ASSERT_EQ(figures->count(), 1u);
        KVDamageFeedback* figure = figures->objectAtIndex(0);
        EXPECT_STREQ(figure->getLabel()->getString(), "-12");
        EXPECT_EQ(figure->getLabel()->getColor().r, 255);
        EXPECT_EQ(figure->getLabel()->getColor().g, 0);
        EXPECT_TRUE(shows(figure->getFrontBubble(), "KV_DommageBulleBlanche2.png"));
        EXPECT_TRUE(shows(figure->getBackBubble(), "KV_DommageBulleBlanche1.png"));
        // The front pops after 0.05 + 0.08 s, then settles with the back (a new action's first
        // step only starts it).
        kvengine::CCActionManager::getInstance()->update(0.0f);
        kvengine::CCActionManager::getInstance()->update(0.05f);
        kvengine::CCActionManager::getInstance()->update(0.08f);
        EXPECT_NEAR(figure->getFrontBubble()->getScale(), c.pop, 1e-3f);
        kvengine::CCActionManager::getInstance()->update(0.06f);
        EXPECT_NEAR(figure->getFrontBubble()->getScale(), c.settle, 1e-3f);
        EXPECT_NEAR(figure->getBackBubble()->getScale(), c.settle, 1e-3f);
        EXPECT_NEAR(figure->getStepHeight(),
                    figure->getFrontBubble()->getContentSize().height * c.settle * 0.4f, 1e-3f);
        EXPECT_TRUE(figure->isBusy());
    }
}

TEST_F(PawnViewCase, FiguresStackWhileShowingAndAreReusedAfterTwoPointSixSeconds) {
    makeCrab();
    KVPawnDamageFeedback* feedback = view->getDamageFeedback();
    actionOn(KVActionEvent::MeleeHit, 5, 0.05f, crab);
    seconds(0.5f);
    actionOn(KVActionEvent::AreaHit, 20, 0.2f, crab);
    seconds(0.5f);
    actionOn(KVActionEvent::Heal, 7, 0.0f, crab);
    auto* figures = feedback->getFigures();
    ASSERT_EQ(figures->count(), 3u);
    KVDamageFeedback* first = figures->objectAtIndex(0);
    KVDamageFeedback* second = figures->objectAtIndex(1);
    KVDamageFeedback* heal = figures->objectAtIndex(2);
    const float base = 16.0f + 10.0f;
    EXPECT_FLOAT_EQ(heal->getPosition().y, base - heal->getStepHeight());
    EXPECT_FLOAT_EQ(second->getPosition().y, base - second->getStepHeight() + 2.0f * heal->getStepHeight());
    EXPECT_FLOAT_EQ(first->getPosition().y, base - first->getStepHeight() + 2.0f * second->getStepHeight() +
                                                2.0f * heal->getStepHeight());
    EXPECT_STREQ(heal->getLabel()->getString(), "+7 (100/100)");
    EXPECT_EQ(heal->getLabel()->getColor().g, 255);
    EXPECT_TRUE(shows(heal->getFrontBubble(), "Kv_EncartHP_Vert.png"));

    seconds(1.7f); // the first is 2.7 s old: free again
    EXPECT_FALSE(first->isBusy());
    EXPECT_TRUE(second->isBusy());
    actionOn(KVActionEvent::MeleeHit, 3, 0.01f, crab);
    EXPECT_EQ(figures->count(), 3u) << "the free figure is reused";
    EXPECT_TRUE(first->isBusy());
}

TEST_F(PawnViewCase, OnlyDamageAndHealsOfItsOwnPawnShowFigures) {
    makeCrab();
    KVCrab* other = enemy<KVCrab>("crab", 8.0f, 3.0f);
    struct Case {
        int type;
        KVPawn* target;
    } cases[] = {{KVActionEvent::KnockOut, crab},
                 {KVActionEvent::Points, crab},
                 {KVActionEvent::MeleeHit, other},
                 {KVActionEvent::SpikyShellPrick, crab},
                 {KVActionEvent::EnemyFell, crab}};
    for (const Case& c : cases)
        actionOn(c.type, 10, 0.1f, c.target);
    EXPECT_EQ(view->getDamageFeedback()->getFigures()->count(), 0u);
    post(EVENT_ACTION, nullptr);
    post(EVENT_ACTION, crab); // not an action event
    EXPECT_EQ(view->getDamageFeedback()->getFigures()->count(), 0u);
}

TEST_F(PawnViewCase, ATextThatCannotTakeItsNumbersFallsBackToEnglishThenToTheKey) {
    makeCrab();
    const std::u16string bad = u"\xFEFF\"Injured pawn\" = \"%s points\";\n\"Healed pawn\" = \"+%d\";\n";
    ASSERT_TRUE(kvengine::CCLocalizationManager::getInstance()->parseStringsData(
        reinterpret_cast<const unsigned char*>(bad.data()), static_cast<unsigned>(bad.size() * 2)));
    struct Case {
        const char* key;
        std::initializer_list<int> values;
        const char* text;
    } const cases[] = {
        {"Injured pawn", {9}, "-9"},            // "%s" is refused: English
        {"Healed pawn", {1, 2, 3}, "+1 (2/3)"}, // one number for three: English
        {"On touched pawn", {4, 5}, "4/5 HP"},  // only in English
        {"Unknown text", {1}, "Unknown text"},  // nowhere: the key
    };
    for (const Case& c : cases)
        EXPECT_EQ(kvviewtext::formatLocalised(c.key, c.values), c.text) << c.key;
    EXPECT_TRUE(logged("\"Injured pawn\" does not take 1 whole numbers"));

    struct Count {
        const char* format;
        int conversions;
    } const counts[] = {{"%d/%d", 2}, {"100%% %d", 1}, {"%5d", 1},  {"%s", -1},  {"%n", -1},
                        {"%", -1},    {"%-3i", 1},     {"none", 0}, {"%.2d", -1}};
    for (const Count& c : counts)
        EXPECT_EQ(kvviewtext::countIntegerConversions(c.format), c.conversions) << c.format;
}

} // namespace
