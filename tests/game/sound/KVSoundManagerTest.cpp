#include "tests/game/sound/SoundManagerFixture.h"

#include <cmath>

#include "game/world/KVActionEvent.h"

namespace kvtest {
namespace {

using kvengine::CCObject;
using kvengine::CCString;

const float kSfxCategory = 0.75f * 0.75f; // the profile's default effects slider, squared

// What a notification carries in the cases below.
enum class Carried { Nothing, MalePawn, Crab, MaleText, UnknownText, LightLaunch, FullLaunch };

struct NotificationCase {
    CCString* name;
    Carried object;
    const char* effect; // null: nothing plays
};

class KVSoundManagerTest : public SoundManagerTest {
protected:
    // An autoreleased object of the given kind.
    CCObject* carried(Carried kind) {
        CCObject* object = nullptr;
        switch (kind) {
        case Carried::Nothing:
            return nullptr;
        case Carried::MalePawn:
            object = new SoundTestPawn("Male");
            break;
        case Carried::Crab:
            object = new SoundTestCrab("Crab");
            break;
        case Carried::MaleText:
            object = new CCString("Male");
            break;
        case Carried::UnknownText:
            object = new CCString("Nobody");
            break;
        case Carried::LightLaunch:
            object = new kvengine::CCValue<float>(0.99f);
            break;
        case Carried::FullLaunch:
            object = new kvengine::CCValue<float>(1.0f);
            break;
        }
        object->autorelease();
        return object;
    }
};

TEST_F(KVSoundManagerTest, EachNotificationPlaysItsEffectAtTheDesignedVolumeInCategorySfx) {
    makeManager();
    const NotificationCase cases[] = {
        {EVENT_KELVO_LAUNCHED, Carried::LightLaunch, "kelvos/SFX/Kelvo_launch_light"},
        {EVENT_KELVO_LAUNCHED, Carried::FullLaunch, "kelvos/SFX/Kelvo_launch_max"},
        {EVENT_PAWN_HIT_PAWN, Carried::Nothing, "kelvos/SFX/Pawn_hit_pawn"},
        {EVENT_CAMERA_AUTO_FOCUS, Carried::Nothing, "kelvos/SFX/UI_Cam_AutoFocus"},
        {EVENT_KELVO_IDLE_STRETCH_START, Carried::MalePawn, "kelvos/SFX/Male_stretch"},
        {EVENT_KELVO_STRETCH_START, Carried::Nothing, "kelvos/SFX/Kelvo_stretch"},
        {EVENT_DAMAGE_MODE_ON, Carried::Nothing, nullptr},
        {EVENT_SKIP_TURN, Carried::Nothing, "kelvos/SFX/UI_skip_turn"},
        {EVENT_PAWN_FALL, Carried::Nothing, "kelvos/SFX/Pawn_fall"},
        {EVENT_AOE_TRIGGERED, Carried::Crab, "kelvos/SFX/Crab_Aoe_Attack"},
        {EVENT_AOE_TRIGGERED, Carried::MalePawn, "kelvos/SFX/Kelvo_Aoe_Attack"},
        {EVENT_AOE_TRIGGERED, Carried::Nothing, "kelvos/SFX/Kelvo_Aoe_Attack"},
        {EVENT_DISTANCE_ATTACK_TRIGGERED, Carried::Nothing, "kelvos/SFX/Kelvo_distant_attack"},
        {EVENT_PAWN_PLAYS_KO, Carried::UnknownText, "kelvos/SFX/Female_ko"},
        {EVENT_POWERUP_PICKED_UP, Carried::MalePawn, "kelvos/SFX/Male_powerup1"},
        {EVENT_POWERUP_PICKED_UP, Carried::MaleText, "kelvos/SFX/Male_powerup2"},
        {EVENT_UPDATE_STAT_NUMBER, Carried::Nothing, "kelvos/SFX/Stat_levelup"},
        {EVENT_GAME_PLAYER_WIN, Carried::Nothing, nullptr},
        {EVENT_GAME_PLAYER_LOSE, Carried::Nothing, nullptr},
        {EVENT_POST_LOAD_GAME, Carried::Nothing, nullptr},
        {EVENT_BUTTON_VALIDATED, Carried::Nothing, "kelvos/SFX/UI_Bt_Validated"},
        {EVENT_BUTTON_VALIDATED_LIGHT, Carried::Nothing, "kelvos/SFX/UI_bt_validated_light"},
        {EVENT_BUTTON_INVALIDATED, Carried::Nothing, "kelvos/SFX/UI_bt_not_validated_light"},
        {EVENT_COMBO_SFX, Carried::MalePawn, "kelvos/SFX/Male_combo"},
        {SCREEN_MENU_BUY_ITEM, Carried::Nothing, "kelvos/SFX/Male_girly_powerup2"},
        {EVENT_HIDDEN_STAR_FOUND, Carried::MalePawn, "kelvos/SFX/Male_hiddenstar_pickup"},
        {EVENT_HIDDEN_STAR_FOUND, Carried::MaleText, "kelvos/SFX/Male_hiddenstar_pickup"},
        {EVENT_CHATTER_NEXT, Carried::Nothing, "kelvos/SFX/UI_Chatter_Next"},
        {EVENT_CHATTER_UPDATE, Carried::Nothing, nullptr},
        {EVENT_MENU_SCROLL_STARTED, Carried::Nothing, "kelvos/SFX/UI_Menu_Scroll"},
        {EVENT_MENU_DROP, Carried::Nothing, "kelvos/SFX/UI_BubblePop"},
        {EVENT_DASH, Carried::Nothing, "kelvos/SFX/Kelvo_Dash"},
        {EVENT_ANCHOR_START, Carried::Nothing, "kelvos/SFX/Kelvo_Grab_Anchor"},
        {EVENT_SHURIKEN_THROW, Carried::Nothing, "kelvos/SFX/Shuriken_throw"},
        {EVENT_SPIKY_SHELL_EQUIP, Carried::Nothing, "kelvos/SFX/Spiky_shell_drop"},
        {EVENT_VICTORY_STAR_GAINED, Carried::Nothing, "kelvos/SFX/VictoryScreen_StarAppear"},
        {EVENT_VICTORY_STAR_NOT_OBTAINED, Carried::Nothing, "kelvos/SFX/VictoryScreen_StarNotGained"},
        {EVENT_SPAWN_PAWN, Carried::Nothing, "kelvos/SFX/Spawn_pawn"},
        {EVENT_NINJA_LOG_FX, Carried::Nothing, "kelvos/SFX/Ninja_teleport"},
        {EVENT_PEARL_SPWANED, Carried::Nothing, "kelvos/SFX/Pearls_spawn"},
        {EVENT_BUBBLE_POP, Carried::Nothing, "kelvos/SFX/UI_BubblePop"},
        {EVENT_COCONUT_CRAB_QUAKE_TRIGGER, Carried::Nothing, "kelvos/SFX/Boss_Crab_QuakeAtk"},
        {EVENT_COCONUT_CRAB_SWIPE_TRIGGER, Carried::Nothing, "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER, Carried::Nothing, "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER, Carried::Nothing, "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_DEAD, Carried::Nothing, "kelvos/SFX/Boss_Crab_KO"},
        {EVENT_KRAKEN_SOUND_TRIGGER, Carried::Nothing, "kelvos/SFX/Kraken_animation"},
    };
    for (const NotificationCase& entry : cases) {
        SCOPED_TRACE(entry.name->text);
        const size_t before = record->voices.size();
        post(entry.name, carried(entry.object));
        if (entry.effect == nullptr) {
            EXPECT_EQ(record->voices.size(), before);
            continue;
        }
        ASSERT_EQ(record->voices.size(), before + 1);
        const AudioRecord::Voice& voice = record->voices.back();
        EXPECT_EQ(eventOf(voice), entry.effect);
        EXPECT_EQ(voice.slot, -1);
        EXPECT_NEAR(voice.volume, kEffectVolume * kSfxCategory, 1e-5f);
        ASSERT_NE(manager->getEffectEvent(), nullptr);
        EXPECT_EQ(manager->getEffectEvent()->getPath(), entry.effect);
        EXPECT_EQ(manager->getEffectEvent()->getCategory(), "SFX");
        EXPECT_NEAR(manager->getEffectEvent()->getVolume(), kEffectVolume, 1e-5f);
    }
    // Effects play on: each new one leaves the earlier ones sounding.
    EXPECT_EQ(record->live().size(), record->voices.size());
}

TEST_F(KVSoundManagerTest, VoiceLinesFallBackToFemaleThenToNothing) {
    makeManager();
    struct Case {
        CCString* name;
        CCObject* object;
        const char* effect;
    };
    auto* silent = new SoundTestPawn(nullptr);
    silent->autorelease();
    const Case cases[] = {
        {EVENT_PAWN_PLAYS_KO, carried(Carried::MaleText), "kelvos/SFX/Female_ko"},
        {EVENT_KELVO_IDLE_STRETCH_START, carried(Carried::Crab), "kelvos/SFX/Female_stretch"},
        {EVENT_KELVO_IDLE_STRETCH_START, silent, "kelvos/SFX/Female_stretch"},
        {EVENT_COMBO_SFX, nullptr, "kelvos/SFX/Female_combo"},
        {EVENT_PAWN_PLAYS_KO, nullptr, "kelvos/SFX/Female_ko"},
        {EVENT_POWERUP_PICKED_UP, carried(Carried::UnknownText), "kelvos/SFX/Female_powerup2"},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.name->text);
        post(entry.name, entry.object);
        EXPECT_EQ(eventOf(record->last()), entry.effect);
    }

    // Without the "Female" line either, nothing plays.
    manager->release();
    manager = nullptr;
    record = std::make_shared<AudioRecord>();
    writeProject("kelvos.fev", "kelvos", eventEntry("kelvos/SFX/Male_stretch", "SFX", kEffectVolume, false));
    makeManager();
    post(EVENT_PAWN_PLAYS_KO, carried(Carried::MaleText));
    post(EVENT_KELVO_IDLE_STRETCH_START, carried(Carried::Crab));
    EXPECT_TRUE(record->voices.empty());
    EXPECT_EQ(manager->getEffectEvent(), nullptr);
}

TEST_F(KVSoundManagerTest, ActionsPlayTheTargetsImpactOrHealLine) {
    makeManager();
    struct Case {
        int type;
        float ratio;
        const char* effect;
    };
    const Case cases[] = {
        {3, 0.2f, "kelvos/SFX/Male_impact_light"},
        {3, 0.21f, "kelvos/SFX/Male_impact_heavy"},
        {1, 0.0f, "kelvos/SFX/Male_impact_light"},
        {2, 0.9f, "kelvos/SFX/Male_impact_heavy"},
        {10, 0.1f, "kelvos/SFX/Male_impact_light"},
        {15, 0.5f, "kelvos/SFX/Male_impact_heavy"},
        {4, 0.0f, "kelvos/SFX/Female_heal"},
        {0, 0.5f, nullptr},
        {5, 0.5f, nullptr},
        {9, 0.5f, nullptr},
        {16, 0.5f, nullptr},
        {-1, 0.5f, nullptr},
    };
    auto* target = static_cast<KVActor*>(carried(Carried::MalePawn));
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.type);
        const size_t before = record->voices.size();
        post(EVENT_ACTION, KVActionEvent::create(entry.type, 10, entry.ratio, nullptr, target));
        if (entry.effect == nullptr) {
            EXPECT_EQ(record->voices.size(), before);
        } else {
            ASSERT_EQ(record->voices.size(), before + 1);
            EXPECT_EQ(eventOf(record->last()), entry.effect);
        }
    }
    // No target: the fallback voice. Not an action: nothing, and a log line.
    post(EVENT_ACTION, KVActionEvent::create(3, 10, 0.5f, nullptr, nullptr));
    EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Female_impact_heavy");
    const size_t before = record->voices.size();
    post(EVENT_ACTION, carried(Carried::MaleText));
    post(EVENT_ACTION);
    EXPECT_EQ(record->voices.size(), before);
    EXPECT_TRUE(logged("action"));
}

TEST_F(KVSoundManagerTest, BounceVolumeFollowsSpeedFromTheDesignedVolumeAndNeverPassesOne) {
    makeManager();
    b2World world(b2Vec2(0.0f, 0.0f));
    b2BodyDef definition;
    definition.type = b2_dynamicBody;
    b2Body* body = world.CreateBody(&definition);
    struct Case {
        float maxSpeed;
        float speed;
        float volume;
    };
    const Case cases[] = {
        {10.0f, 1.0f, kEffectVolume * 0.3f}, // a tenth of the top speed: the floor
        {10.0f, 0.0f, kEffectVolume * 0.3f}, //
        {10.0f, 5.0f, kEffectVolume * 0.5f}, //
        {10.0f, 12.5f, 1.0f},                // 1.25 x 0.8: exactly full
        {10.0f, 20.0f, 1.0f},                // twice the top speed: clamped, not 1.6
        {0.0f, 20.0f, kEffectVolume},        // no top speed known: designed volume
        {0.01f, 20.0f, kEffectVolume},       //
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(testing::Message() << entry.maxSpeed << " " << entry.speed);
        body->SetLinearVelocity(b2Vec2(entry.speed * 0.6f, entry.speed * 0.8f));
        auto* pawn = new SoundTestPawn("Male", entry.maxSpeed, body);
        post(EVENT_PAWN_BOUNCE, pawn);
        pawn->release();
        EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Pawn_bounce");
        ASSERT_NE(manager->getEffectEvent(), nullptr);
        EXPECT_NEAR(manager->getEffectEvent()->getVolume(), entry.volume, 1e-4f);
        EXPECT_NEAR(record->last().volume, entry.volume * kSfxCategory, 1e-4f);
    }
    // Every bounce above started from the designed volume, so none compounded. Not a pawn: nothing.
    const size_t before = record->voices.size();
    post(EVENT_PAWN_BOUNCE, carried(Carried::MaleText));
    EXPECT_EQ(record->voices.size(), before);
    EXPECT_TRUE(logged("bounce"));
}

TEST_F(KVSoundManagerTest, HiddenStarPingIsLouderWhenNear) {
    makeManager();
    const float cases[][2] = {{0.0f, 0.5f}, {0.5f, 0.25f}, {1.0f, 0.0f}, {-3.0f, 0.5f}, {4.0f, 0.0f}};
    for (const auto& entry : cases) {
        manager->playHiddenStarDetect(entry[0]);
        EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Hidden_Star_Detect");
        EXPECT_NEAR(manager->getEffectEvent()->getVolume(), entry[1], 1e-5f) << entry[0];
    }
}

TEST_F(KVSoundManagerTest, PearlBurstPlaysOnePickupEachTimeTheTimerPassesTheInterval) {
    makeManager();
    for (int i = 0; i < 5; ++i)
        post(EVENT_PEARL_ACQUIRED);
    EXPECT_EQ(manager->pendingPearlSounds(), 5u);
    EXPECT_TRUE(record->voices.empty());
    // Frames of 0.02 s: the timer reads 0.02, 0.04, 0.06; the next update plays and resets it.
    std::vector<int> framesWithSound;
    for (int frame = 1; frame <= 30; ++frame) {
        const size_t before = record->voices.size();
        manager->update(0.02f);
        if (record->voices.size() != before) {
            framesWithSound.push_back(frame);
            EXPECT_EQ(eventOf(record->last()), "kelvos/SFX/Pearls_pickup");
        }
        // A pearl picked mid-burst joins the queue without restarting the timer.
        if (frame == 5) post(EVENT_PEARL_ACQUIRED, carried(Carried::Nothing));
    }
    EXPECT_EQ(framesWithSound, (std::vector<int>{4, 8, 12, 16, 20, 24}));
    EXPECT_EQ(manager->pendingPearlSounds(), 0u);

    // One long frame is one sound, not a catch-up burst.
    post(EVENT_PEARL_ACQUIRED);
    post(EVENT_PEARL_ACQUIRED);
    manager->update(1.0f);
    manager->update(1.0f);
    EXPECT_EQ(manager->pendingPearlSounds(), 1u);
}

} // namespace
} // namespace kvtest
