// The kelvo view's attacks and power-ups: the aim sectors, the area attack's strike at its impact
// frame, the distance attack's shot, the spiky shell's drop and blink, the ninja log, the power-up
// icon and the sushi's red bubbles.
#include "PawnViewFixture.h"

#include <cmath>

#include "engine/base/CCArray.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "game/attacks/KVProjectile.h"
#include "game/pawns/ControllerTestSupport.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/views/KVKelvoV.h"

using viewtest::PawnViewTest;

namespace {

class KelvoEffectsTest : public PawnViewTest {
protected:
    void addExtraFrames(viewtest::FrameSet& frames) override {
        const std::pair<const char*, int> words[] = {
            {"idle", 6},     {"stretch", 8}, {"stretch_idle", 4}, {"stretch_release", 5},
            {"launched", 4}, {"hit", 4},     {"hit_healed", 4},   {"ko", 6},
            {"fall", 6},     {"anchor", 4}};
        for (const char* sprite : {"steev", "short"})
            for (const auto& word : words)
                frames.addNumbered(std::string(sprite) + "_" + word.first, 1, word.second);
        // "steev" has the whole area-attack strip (32 + 2 frames) and the distance attack's
        // 2 + 8 x 2 + 2 frames; "short" has an area-attack strip of 20 frames, without its impact.
        frames.addNumbered("steev_attack", 1, 34);
        frames.addNumbered("steev_attack_distant", 1, 20);
        frames.addNumbered("short_attack", 1, 20);
        for (const char* name : {"spikyshell_active.png", "spikyshell_blink.png", "PlayingChar_BubbleRed.png",
                                 "Powerup_sushi.png", "powerup_cocktail.png"})
            frames.add(name);
    }

    KVKelvo* makeKelvo(const char* sprite = "steev", float x = 3.0f) {
        kvdata::Dict* stats = pawntest::fighterStats({{"sprite_name", sprite},
                                                      {"spritesheet_name", "steev_ss"},
                                                      {"hasAOEAttack", "YES"},
                                                      {"hasDistanceAttack", "YES"}});
        KVKelvo* kelvo = pawntest::TestKelvo::make(sprite, x, 3.0f, stats);
        pawns.push_back(kelvo);
        view = viewOf<KVKelvoV>(kelvo);
        return kelvo;
    }
    static kvengine::CCArray* shotAt(float x, float y) {
        auto* payload = kvengine::CCArray::createWithCapacity(2);
        for (float value : {x, y}) {
            char text[32];
            std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
            auto* string = new kvengine::CCString(text);
            payload->addObject(string);
            string->release();
        }
        return payload;
    }
    /// The distance-attack projectiles in the world, with their velocity.
    std::vector<b2Vec2> shots() const {
        std::vector<b2Vec2> found;
        for (b2Body* body = physics->getWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
            auto* actor = reinterpret_cast<KVActor*>(body->GetUserData().pointer);
            if (actor != nullptr && actor->isKindOf("KVDistanceAttackProjectile"))
                found.push_back(body->GetLinearVelocity());
        }
        return found;
    }
    bool onSheet(kvengine::CCNode* node, const char* sheet) const {
        return node != nullptr && node->getParent() == layer->sheets.at(sheet);
    }

    KVKelvoV* view = nullptr;
};

TEST(KelvoAimSector, EightDirectionsAndTheBorderOfTheLowerHalf) {
    struct Case {
        float x, y;
        int sector;
    } const cases[] = {
        {1, 0, 3},    {0, 1, 1},    {-1, 0, 7}, {0, -1, 5}, {1, 1, 2},    {-1, 1, 0},
        {-1, -1, 6},  {1, -1, 4},   {2, -1, 4}, {-2, 1, 7}, {4, 2.1f, 2}, {4, 1.9f, 3}, // slope 1/2
        {1, 2.1f, 1}, {1, 1.9f, 2},                                                     // slope 2
        {0, 0, 7}, // no direction at all: on the border, so in the lower half (its last sector)
    };
    for (const Case& c : cases)
        EXPECT_EQ(KVKelvoV::aimSector(c.x, c.y), c.sector) << c.x << ", " << c.y;
}

TEST_F(KelvoEffectsTest, TheAreaAttackStrikesOnceAtItsImpactFrameThenRecoversToIdle) {
    KVKelvo* kelvo = makeKelvo();
    auto* t = makeTrace({EVENT_AOE_ANIM_OVER});
    t->name(kelvo, "kelvo");
    post(EVENT_AOE_ANIM_START, kelvo);
    EXPECT_EQ(view->getState(), KVPawnV::kStateAttack);
    EXPECT_TRUE(view->isAoeStrikePending());
    seconds(1.4f); // frame 29 of 0.05 s each
    EXPECT_TRUE(t->lines.empty());
    seconds(0.1f);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_AOE_ANIM_OVER kelvo"});
    EXPECT_TRUE(shows(view->getSprite(), "steev_attack_30.png"));
    seconds(0.5f); // the rest of "aoe" and "aoeEnd"
    EXPECT_EQ(t->lines.size(), 1u) << "one strike per attack";
    EXPECT_EQ(view->getState(), KVPawnV::kStateIdle);

    // An anchored kelvo goes back to its anchor pose.
    kelvo->setAnchored(true);
    post(EVENT_AOE_ANIM_START, kelvo);
    seconds(2.2f); // 1.7 s of attack, then the anchor's 4 frames of 0.1 s
    EXPECT_EQ(t->lines.size(), 2u);
    EXPECT_EQ(view->getState(), KVPawnV::kStateAnchoredIdle);
}

TEST_F(KelvoEffectsTest, AStripWithoutTheImpactFrameStrikesAtTheEndOfItsWindUp) {
    KVKelvo* kelvo = makeKelvo("short");
    auto* t = makeTrace({EVENT_AOE_ANIM_OVER});
    t->name(kelvo, "kelvo");
    post(EVENT_AOE_ANIM_START, kelvo);
    seconds(0.95f);
    EXPECT_TRUE(t->lines.empty());
    seconds(0.1f); // 20 frames
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_AOE_ANIM_OVER kelvo"});
    seconds(1.0f);
    EXPECT_EQ(t->lines.size(), 1u);
}

TEST_F(KelvoEffectsTest, TheKelvoWhoseTurnRunsShootsAlongItsSectorAtTheTarget) {
    KVKelvo* kelvo = makeKelvo("steev", 3.0f);
    KVKelvoV* shooterView = view;
    KVKelvo* other = makeKelvo("steev", 8.0f);
    auto* t = makeTrace({EVENT_DISTANCE_ATTACK_TRIGGERED, EVENT_NOTIFY_IDLE});
    t->name(kelvo, "kelvo");
    t->name(other, "other");
    post(EVENT_START_TURN, kelvo);
    ASSERT_TRUE(kelvo->isTurnActive());
    // The target lies down and to the left of the shooter: sector 6, shoot frames 2 + 6 x 2 + 1..2.
    post(EVENT_DISTANCE_ATTACK_ANIM_START, shotAt(0.0f, 0.0f));
    EXPECT_EQ(shooterView->getAimSector(), 6);
    EXPECT_EQ(shooterView->getState(), KVPawnV::kStateAttack);
    seconds(0.2f);
    EXPECT_TRUE(shows(shooterView->getSprite(), "steev_attack_distant_14.png") ||
                shows(shooterView->getSprite(), "steev_attack_distant_15.png"));
    EXPECT_TRUE(t->lines.empty()) << "four frames of 0.07 s first";
    seconds(0.1f);
    EXPECT_EQ(t->lines,
              (std::vector<std::string>{"EVENT_DISTANCE_ATTACK_TRIGGERED kelvo", "EVENT_NOTIFY_IDLE kelvo"}));
    const std::vector<b2Vec2> flying = shots();
    ASSERT_EQ(flying.size(), 1u);
    // From (3, 3) towards (0, 0) at 10 m/s.
    EXPECT_NEAR(flying[0].x, -10.0f / std::sqrt(2.0f), 1e-3f);
    EXPECT_NEAR(flying[0].y, -10.0f / std::sqrt(2.0f), 1e-3f);
    seconds(0.2f);
    EXPECT_EQ(shooterView->getState(), KVPawnV::kStateIdle);

    // A payload without its two texts is refused, logged.
    post(EVENT_DISTANCE_ATTACK_ANIM_START, kvengine::CCArray::createWithCapacity(2));
    post(EVENT_DISTANCE_ATTACK_ANIM_START, kelvo);
    seconds(0.5f);
    EXPECT_EQ(t->count("EVENT_DISTANCE_ATTACK_TRIGGERED kelvo"), 1);
    EXPECT_TRUE(logged("a distance attack without its target"));
}

TEST_F(KelvoEffectsTest, TheSpikyShellDropsClosesBlinksAndOpensAgain) {
    KVKelvo* kelvo = makeKelvo();
    auto* t = makeTrace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(view, "view");
    const float radius = kelvo->getRadius();
    kvengine::CCSprite* shell = view->getSpikyShell();
    post(EVENT_SPIKY_SHELL_EQUIP, kelvo);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION view"});
    EXPECT_TRUE(shell->isVisible());
    const float window = kvengine::CCDirector::getInstance()->getWinSize().height;
    EXPECT_NEAR(shell->getPosition().y, view->getSprite()->getPosition().y + window, 1e-3f);
    EXPECT_FALSE(kelvo->isProtected()) << "not while it drops";

    seconds(0.52f); // the 0.5 s drop
    EXPECT_TRUE(shows(shell, "spikyshell_active.png"));
    EXPECT_TRUE(kelvo->isProtected());
    EXPECT_FLOAT_EQ(kelvo->getRadius(), 2.0f * radius);
    EXPECT_FALSE(view->getSprite()->isVisible());
    EXPECT_TRUE(view->getDirtPuff()->isVisible());
    seconds(0.5f); // the dust: 6 frames of 0.08 s
    EXPECT_FALSE(view->getDirtPuff()->isVisible());
    EXPECT_EQ(t->lines, (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION view", "EVENT_NOTIFY_IDLE view"}));

    // The shell blinks now and then, for 20 updates each time, and follows the body.
    kvengine::CCRandom::seed(11);
    int blinkStart = -1;
    for (int frame = 0; frame < 2000 && blinkStart < 0; ++frame) {
        step();
        if (shows(shell, "spikyshell_blink.png")) blinkStart = frame;
    }
    ASSERT_GE(blinkStart, 0);
    step(19);
    EXPECT_TRUE(shows(shell, "spikyshell_blink.png"));
    step();
    EXPECT_TRUE(shows(shell, "spikyshell_active.png"));
    EXPECT_EQ(shell->getPosition().x, view->getSprite()->getPosition().x);
    EXPECT_FALSE(view->getShadow()->isVisible());

    post(EVENT_SPIKY_SHELL_UNEQUIP, kelvo);
    EXPECT_FALSE(shell->isVisible());
    EXPECT_TRUE(view->getSprite()->isVisible());
    EXPECT_FALSE(kelvo->isProtected());
    EXPECT_FLOAT_EQ(kelvo->getRadius(), radius);
}

TEST_F(KelvoEffectsTest, AShellTakenOffWhileDroppingLeavesTheRadiusAndReleasesTheBusyView) {
    KVKelvo* kelvo = makeKelvo();
    auto* t = makeTrace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(view, "view");
    const float radius = kelvo->getRadius();
    post(EVENT_SPIKY_SHELL_EQUIP, kelvo);
    seconds(0.25f);
    post(EVENT_SPIKY_SHELL_UNEQUIP, kelvo);
    seconds(1.0f);
    EXPECT_FLOAT_EQ(kelvo->getRadius(), radius);
    EXPECT_FALSE(kelvo->isProtected());
    EXPECT_FALSE(view->getSpikyShell()->isVisible());
    EXPECT_EQ(t->lines, (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION view", "EVENT_NOTIFY_IDLE view"}));
}

TEST_F(KelvoEffectsTest, APowerupIconBlinksAboveTheKelvoAndASushiTurnsTheBubblesRed) {
    KVKelvo* kelvo = makeKelvo();
    KVKelvo* other = makeKelvo("steev", 8.0f);
    view = static_cast<KVKelvoV*>(views.front());
    auto redBubbles = [&]() {
        int red = 0;
        for (unsigned i = 0; i < view->getBubbles()->count(); ++i)
            red += shows(view->getBubbles()->objectAtIndex(i), "PlayingChar_BubbleRed.png") ? 1 : 0;
        return red;
    };
    auto* sushi = new KVPowerupMaguroSushi();
    kelvo->addModifier(sushi);
    sushi->release();
    kvengine::CCSprite* icon = view->getPowerupIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(shows(icon, "Powerup_sushi.png"));
    EXPECT_TRUE(onSheet(icon, "top_sfx_51_ss"));
    EXPECT_FLOAT_EQ(icon->getScale(), 1.5f);
    EXPECT_EQ(redBubbles(), KVKelvoV::kBubbleCount);
    step();
    EXPECT_NEAR(icon->getPosition().y, view->getSprite()->getPosition().y + kelvo->getRadius() + 15.0f,
                1e-3f);

    // A second power-up while the first icon blinks replaces it.
    seconds(1.0f);
    icon->retain();
    auto* drink = new KVPowerupEnergyDrink();
    kelvo->addModifier(drink);
    drink->release();
    kvengine::CCSprite* second = view->getPowerupIcon();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, icon);
    EXPECT_TRUE(shows(second, "powerup_cocktail.png"));
    EXPECT_EQ(icon->getParent(), nullptr);
    icon->release();
    second->retain();
    seconds(2.1f);
    EXPECT_EQ(view->getPowerupIcon(), nullptr);
    EXPECT_EQ(second->getParent(), nullptr);
    second->release();

    // Another pawn's sushi ending leaves the red bubbles; this kelvo's brings the plain ones back.
    post(EVENT_END_OF_SUSHI, other);
    EXPECT_EQ(redBubbles(), KVKelvoV::kBubbleCount);
    post(EVENT_END_OF_SUSHI, kelvo);
    EXPECT_EQ(redBubbles(), 0);
}

TEST_F(KelvoEffectsTest, TheNinjaLogBlinksWhereTheKelvoWasAndASecondReplacesIt) {
    KVKelvo* kelvo = makeKelvo();
    post(EVENT_NINJA_LOG_FX, kelvo);
    kvengine::CCSprite* log = view->getNinjaLog();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(shows(log, "NinjaLog.png"));
    EXPECT_TRUE(onSheet(log, "low_sfx_51_ss"));
    EXPECT_NEAR(log->getPosition().x, kelvo->positionX * 32.0f, 1e-3f);
    seconds(1.0f);
    post(EVENT_NINJA_LOG_FX, kelvo);
    EXPECT_NE(view->getNinjaLog(), log);
    seconds(1.5f);
    EXPECT_NE(view->getNinjaLog(), nullptr) << "the second log blinks its own 2 s";
    seconds(0.6f);
    EXPECT_EQ(view->getNinjaLog(), nullptr);
}

} // namespace
