// The kelvo view: stamina bubbles, the stretch that follows the pull, the release, the stretch
// idle at full pull, the computer's wind-up, blinks in flight, fidgets and the area attack.
#include "PawnViewFixture.h"

#include <cmath>

#include "engine/base/CCRandom.h"
#include "game/pawns/ControllerTestSupport.h"
#include "game/views/KVKelvoV.h"

using viewtest::PawnViewTest;

namespace {

class KelvoViewTest : public PawnViewTest {
protected:
    void addExtraFrames(viewtest::FrameSet& frames) override {
        const std::pair<const char*, int> words[] = {
            {"idle", 6}, {"stretch", 8},    {"stretch_idle", 4}, {"stretch_release", 5}, {"launched", 4},
            {"hit", 4},  {"hit_healed", 4}, {"wait", 8},         {"victory", 8},         {"ko", 6},
            {"fall", 6}, {"anchor", 4},     {"stretch_blink", 8}};
        for (const auto& word : words)
            frames.addNumbered(std::string("steev_") + word.first, 1, word.second);
        frames.add("steev_launched_blink.png");
        frames.add("steev_anchor_blink.png");
    }

    KVKelvo* makeKelvo(const char* sp = "60", bool aoe = false) {
        kvdata::Dict* stats = pawntest::fighterStats({{"SP", sp},
                                                      {"sprite_name", "steev"},
                                                      {"spritesheet_name", "steev_ss"},
                                                      {"hasAOEAttack", aoe ? "YES" : "NO"}});
        KVKelvo* kelvo = pawntest::TestKelvo::make("steev", 3.0f, 3.0f, stats);
        pawns.push_back(kelvo);
        view = viewOf<KVKelvoV>(kelvo);
        return kelvo;
    }
    void pull(KVKelvo* kelvo, float power) {
        kelvo->setPulling(true);
        kelvo->setPullPower(power);
    }

    KVKelvoV* view = nullptr;
};

TEST_F(KelvoViewTest, TheBubblesShowTheStaminaLeftAfterThePull) {
    KVKelvo* kelvo = makeKelvo();
    kelvo->setSelected(true);
    struct Case {
        int stamina;
        bool pulling;
        float power;
        int bubbles;
        const char* circle;
    } cases[] = {
        {30, false, 0.0f, 6, "PlayingChar_Circle.png"},
        {30, true, 0.1f, 6, nullptr}, // 27.5 floored to 27: 12 x 27 / 60 = 5.4, rounded up
        {30, true, 1.0f, 1, nullptr}, // 5 left
        {60, false, 0.0f, 12, "PlayingChar_Circle.png"},
        {59, false, 0.0f, 12, "PlayingChar_Circle.png"},
        {1, false, 0.0f, 1, "PlayingChar_Circle.png"},
        {0, false, 0.0f, 0, "PlayingChar_CircleGrey.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("SP " + std::to_string(c.stamina) + " pull " + std::to_string(c.power));
        kelvo->setStamina(c.stamina);
        kelvo->setPulling(c.pulling);
        kelvo->setPullPower(c.power);
        step();
        EXPECT_EQ(view->getShownBubbleCount(), c.bubbles);
        EXPECT_EQ(kelvo->getStaminaMarks(), c.bubbles);
        if (c.circle != nullptr) {
            EXPECT_TRUE(shows(view->getTurnCircle(), c.circle));
        }
    }
    // The first bubble sits 30 degrees left of the top of the ring.
    kelvo->setPulling(false);
    kelvo->setStamina(60);
    step();
    const kvengine::CCPoint body = view->getSprite()->getPosition();
    const kvengine::CCPoint first = view->getBubbles()->objectAtIndex(0)->getPosition();
    const float r = (view->getTurnCircle()->getContentSize().height +
                     view->getBubbles()->objectAtIndex(0)->getContentSize().height) /
                    2.0f;
    EXPECT_NEAR(first.x - body.x, -0.5f * r, 1e-3f);
    EXPECT_NEAR(first.y - body.y, 0.8660254f * r, 1e-3f);
    const kvengine::CCPoint last = view->getBubbles()->objectAtIndex(11)->getPosition();
    EXPECT_NEAR(last.x - body.x, 0.0f, 1e-3f);
    EXPECT_NEAR(last.y - body.y, r, 1e-3f);

    kelvo->setSelected(false);
    step();
    EXPECT_EQ(view->getShownBubbleCount(), 0);
}

TEST_F(KelvoViewTest, TheStretchFollowsThePullAndTheReleaseStartsByHowFarItWent) {
    KVKelvo* kelvo = makeKelvo();
    struct Case {
        float power;
        int frame;
        int releaseFirst;
    } cases[] = {{-0.3f, 1, 2}, {0.0f, 1, 2}, {0.5f, 4, 2}, {0.99f, 7, 2}, {1.0f, 8, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE("power " + std::to_string(c.power));
        pull(kelvo, c.power);
        post(EVENT_PULL_START, kelvo);
        EXPECT_EQ(view->getState(), KVPawnV::kStateStretching);
        step();
        EXPECT_EQ(view->getStretchFrame(), c.frame);
        char name[32];
        std::snprintf(name, sizeof name, "steev_stretch_%02d.png", c.frame);
        char blink[40];
        std::snprintf(blink, sizeof blink, "steev_stretch_blink_%02d.png", c.frame);
        EXPECT_TRUE(shows(view->getSprite(), name) || shows(view->getSprite(), blink));
        EXPECT_FALSE(view->getShadow()->isVisible());
        kelvo->setPulling(false);
        post(EVENT_PULL_RELEASE, kelvo);
        EXPECT_EQ(view->getReleaseFirstFrame(), c.releaseFirst);
        EXPECT_EQ(view->getState(), KVPawnV::kStateRelease);
        // The release frames (0.08 s each), then the launched loop.
        kelvo->getBody()->SetLinearDamping(0.0f);
        kelvo->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
        seconds(0.45f);
        EXPECT_EQ(view->getState(), KVPawnV::kStateLaunched);
        kelvo->getBody()->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        step(2);
        EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
    }
}

TEST_F(KelvoViewTest, AHundredUpdatesAtFullPullPlayTheStretchIdleAndEasingCancelsIt) {
    KVKelvo* kelvo = makeKelvo();
    auto* t = makeTrace({EVENT_KELVO_IDLE_STRETCH_START, EVENT_KELVO_STRETCH_START});
    t->name(kelvo, "kelvo");
    pull(kelvo, 0.0f);
    post(EVENT_PULL_START, kelvo);
    kelvo->setPullPower(1.0f);
    step(60);
    kelvo->setPullPower(0.95f); // a pause below full pull keeps the count
    step(10);
    EXPECT_EQ(view->getFullPullCounter(), 60);
    kelvo->setPullPower(1.0f);
    step(39);
    EXPECT_EQ(t->count("EVENT_KELVO_IDLE_STRETCH_START kelvo"), 0);
    step();
    EXPECT_EQ(t->count("EVENT_KELVO_IDLE_STRETCH_START kelvo"), 1);
    EXPECT_EQ(view->getState(), KVPawnV::kStateStretchIdle);
    kelvo->setPullPower(0.9f);
    step();
    EXPECT_EQ(view->getState(), KVPawnV::kStateStretching);
    EXPECT_EQ(view->getFullPullCounter(), 0);
    // The pull moved from 0 to 10 tenths once, then never by three tenths again.
    EXPECT_EQ(t->count("EVENT_KELVO_STRETCH_START kelvo"), 1);
    kelvo->setPullPower(0.6f);
    step();
    EXPECT_EQ(t->count("EVENT_KELVO_STRETCH_START kelvo"), 2) << "four tenths down from 10";
}

TEST_F(KelvoViewTest, AComputerKelvoLaunchesAfterItsStretchAndTheAreaAttackStrikesAtTheEndOfItsFrames) {
    KVKelvo* kelvo = makeKelvo("60", true);
    auto* t = makeTrace({EVENT_AI_ANIM_IMPULSE_END, EVENT_AOE_ANIM_OVER});
    t->name(kelvo, "kelvo");
    post(EVENT_AI_ANIM_IMPULSE_START, kelvo);
    seconds(0.6f); // 8 stretch frames x 0.083 s
    EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END kelvo"), 0);
    seconds(0.1f);
    EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END kelvo"), 1);
    EXPECT_EQ(view->getState(), KVPawnV::kStateRelease);

    // The area attack: no "attack" frames in this set, so the strike is posted at once.
    post(EVENT_AOE_ANIM_START, kelvo);
    EXPECT_EQ(t->count("EVENT_AOE_ANIM_OVER kelvo"), 1);
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
}

TEST_F(KelvoViewTest, ABlinkInFlightReturnsToTheLaunchedLoop) {
    KVKelvo* kelvo = makeKelvo();
    kelvo->getBody()->SetLinearDamping(0.0f);
    kelvo->getBody()->SetLinearVelocity(b2Vec2(6.0f, 0.0f));
    view->setState(KVPawnV::kStateRelease);
    view->playLaunched();
    ASSERT_EQ(view->getState(), KVPawnV::kStateLaunched);
    post(EVENT_KELVO_BLINKS, kelvo);
    step();
    EXPECT_TRUE(shows(view->getSprite(), "steev_launched_blink.png"));
    seconds(0.35f);
    EXPECT_TRUE(shows(view->getSprite(), "steev_launched_blink.png"));
    seconds(0.15f);
    EXPECT_FALSE(shows(view->getSprite(), "steev_launched_blink.png"));
    EXPECT_EQ(view->getState(), KVPawnV::kStateLaunched);
}

TEST_F(KelvoViewTest, AnIdleKelvoFidgetsOnlyAfterThreeHundredFramesOffItsTurn) {
    kvengine::CCRandom::seed(7);
    makeKelvo();
    int firstFidget = -1;
    for (int frame = 1; frame <= 3000 && firstFidget < 0; ++frame) {
        step();
        if (view->getState() == KVPawnV::kStateFidget) firstFidget = frame;
    }
    EXPECT_GT(firstFidget, 300);
    step();
    EXPECT_EQ(view->getWaitCounter(), 0) << "the pose starts a new wait";
    seconds(1.0f); // 8 frames x 0.1 s
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);
}

TEST_F(KelvoViewTest, AKelvoThatWaitedLongOffItsTurnNeitherFidgetsNorLosesItsWindUpOnItsTurn) {
    kvengine::CCRandom::seed(7);
    KVKelvo* kelvo = makeKelvo();
    auto* t = makeTrace({EVENT_AI_ANIM_IMPULSE_END});
    t->name(kelvo, "kelvo");
    // Long enough off its turn to fidget, but caught idle.
    for (int frame = 0;
         frame < 1000 && !(view->getWaitCounter() > 300 && view->getState() == KVPawnV::kStateIdle); ++frame)
        step();
    ASSERT_GT(view->getWaitCounter(), 300);
    post(EVENT_START_TURN, kelvo);
    ASSERT_TRUE(kelvo->isTurnActive());
    step();
    EXPECT_EQ(view->getWaitCounter(), 0) << "its own turn starts a new wait";
    // The computer's wind-up, over many seeds of the fidget's draw: the launch always follows.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        kvengine::CCRandom::seed(seed);
        const int before = t->count("EVENT_AI_ANIM_IMPULSE_END kelvo");
        post(EVENT_AI_ANIM_IMPULSE_START, kelvo);
        seconds(0.7f);
        EXPECT_EQ(t->count("EVENT_AI_ANIM_IMPULSE_END kelvo"), before + 1);
        EXPECT_NE(view->getState(), KVPawnV::kStateFidget);
        seconds(1.0f);
    }
}

TEST_F(KelvoViewTest, AHealPlaysTheHealedFramesAndAViewRefusesAPawnThatIsNotAKelvo) {
    KVKelvo* kelvo = makeKelvo();
    post(EVENT_ACTION, KVActionEvent::create(KVActionEvent::Heal, 5, 0.0f, nullptr, kelvo));
    EXPECT_EQ(view->getState(), KVPawnV::kStateHit);
    step();
    EXPECT_TRUE(shows(view->getSprite(), "steev_hit_healed_01.png") ||
                shows(view->getSprite(), "steev_hit_healed_02.png"));
    seconds(2.1f); // 10 x 4 frames x 0.05 s
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);

    auto* crab = enemy<KVCrab>("crab");
    auto* refused = new KVKelvoV();
    EXPECT_FALSE(refused->initWithActor(crab, layer));
    EXPECT_TRUE(logged("the model is not a kelvo"));
    refused->release();
}

} // namespace
