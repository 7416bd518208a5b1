#include "game/sound/KVSoundManager.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/platform/CCAudioBackend.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/sound/KVSoundEvent.h"
#include "game/sound/KVSoundSystem.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVActor.h"

using namespace kvengine;

namespace {

// Pick-up sounds of a burst of pearls are spread out: one each time this much time has passed.
constexpr float kPearlSoundInterval = 0.05f;
// Quietest bounce, as a share of the event's volume.
constexpr float kMinBounceFactor = 0.3f;
// Hits that take at most this share of the target's hit points sound light.
constexpr float kLightImpactRatio = 0.2f;

// Action types that hurt the target (hits, area and distance attacks and their kin), and healing.
bool isHitAction(int type) {
    return (type >= 1 && type <= 3) || (type >= 10 && type <= 15);
}
constexpr int kHealAction = 4;

const char* const kMusicPrefix = "kelvos_music/music/";
const char* const kFallbackVoice = "Female";

// One observed notification: its handler, and for the fixed-effect handler the event it plays
// (null: the notification is observed but makes no sound).
struct Subscription {
    CCString* name;
    SEL_Notification selector;
    const char* effect;
};

#define KV_SOUND_HANDLER(method) notification_selector(KVSoundManager::method)

// Registration order: this list, then the per-frame update, then kLateSubscriptions.
std::vector<Subscription> earlySubscriptions() {
    return {
        {EVENT_KELVO_LAUNCHED, KV_SOUND_HANDLER(onKelvoLaunched), nullptr},
        {EVENT_PAWN_HIT_PAWN, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Pawn_hit_pawn"},
        {EVENT_CAMERA_AUTO_FOCUS, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_Cam_AutoFocus"},
        {EVENT_KELVO_IDLE_STRETCH_START, KV_SOUND_HANDLER(onIdleStretchStart), nullptr},
        {EVENT_KELVO_STRETCH_START, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Kelvo_stretch"},
        {EVENT_DAMAGE_MODE_ON, KV_SOUND_HANDLER(onFixedEffect), nullptr},
        {EVENT_SKIP_TURN, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_skip_turn"},
        {EVENT_PAWN_FALL, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Pawn_fall"},
        {EVENT_AOE_TRIGGERED, KV_SOUND_HANDLER(onAoeTriggered), nullptr},
        {EVENT_DISTANCE_ATTACK_TRIGGERED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Kelvo_distant_attack"},
        {EVENT_ACTION, KV_SOUND_HANDLER(onAction), nullptr},
        {EVENT_PAWN_PLAYS_KO, KV_SOUND_HANDLER(onPawnPlaysKo), nullptr},
        {EVENT_POWERUP_PICKED_UP, KV_SOUND_HANDLER(onPowerupPickedUp), nullptr},
        {EVENT_UPDATE_STAT_NUMBER, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Stat_levelup"},
        {EVENT_GAME_PLAYER_WIN, KV_SOUND_HANDLER(onFixedEffect), nullptr},
        {EVENT_GAME_PLAYER_LOSE, KV_SOUND_HANDLER(onFixedEffect), nullptr},
        {EVENT_POST_LOAD_GAME, KV_SOUND_HANDLER(onFixedEffect), nullptr},
        {EVENT_BUTTON_VALIDATED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_Bt_Validated"},
        {EVENT_BUTTON_VALIDATED_LIGHT, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_bt_validated_light"},
        {EVENT_BUTTON_INVALIDATED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_bt_not_validated_light"},
        {EVENT_COMBO_SFX, KV_SOUND_HANDLER(onComboSfx), nullptr},
        {EVENT_PEARL_ACQUIRED, KV_SOUND_HANDLER(onPearlAcquired), nullptr},
        {SCREEN_MENU_BUY_ITEM, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Male_girly_powerup2"},
        {EVENT_HIDDEN_STAR_FOUND, KV_SOUND_HANDLER(onHiddenStarFound), nullptr},
        {EVENT_CHATTER_NEXT, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_Chatter_Next"},
        {EVENT_CHATTER_UPDATE, KV_SOUND_HANDLER(onFixedEffect), nullptr},
        {EVENT_MENU_SCROLL_STARTED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_Menu_Scroll"},
        {EVENT_MENU_DROP, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_BubblePop"},
        {EVENT_MUSIC_MENU_START, KV_SOUND_HANDLER(onMusicMenuStart), nullptr},
        {EVENT_MUSIC_MENU_STOP, KV_SOUND_HANDLER(onMusicMenuStop), nullptr},
        {EVENT_MUSIC_GAME_STOP, KV_SOUND_HANDLER(onMusicGameStop), nullptr},
        {EVENT_PAWN_BOUNCE, KV_SOUND_HANDLER(onPawnBounce), nullptr},
        {EVENT_DASH, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Kelvo_Dash"},
        {EVENT_ANCHOR_START, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Kelvo_Grab_Anchor"},
        {EVENT_SHURIKEN_THROW, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Shuriken_throw"},
        {EVENT_SPIKY_SHELL_EQUIP, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Spiky_shell_drop"},
        {EVENT_VICTORY_DANCE, KV_SOUND_HANDLER(onVictoryDance), nullptr},
        {EVENT_VICTORY_STAR_GAINED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/VictoryScreen_StarAppear"},
        {EVENT_VICTORY_STAR_NOT_OBTAINED, KV_SOUND_HANDLER(onFixedEffect),
         "kelvos/SFX/VictoryScreen_StarNotGained"},
        {EVENT_LOOSE_DANCE, KV_SOUND_HANDLER(onLooseDance), nullptr},
        {EVENT_SPAWN_PAWN, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Spawn_pawn"},
        {EVENT_NINJA_LOG_FX, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Ninja_teleport"},
        {EVENT_PEARL_SPWANED, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Pearls_spawn"},
    };
}

std::vector<Subscription> lateSubscriptions() {
    return {
        {EVENT_BUBBLE_POP, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/UI_BubblePop"},
        {EVENT_COCONUT_CRAB_QUAKE_TRIGGER, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Boss_Crab_QuakeAtk"},
        {EVENT_COCONUT_CRAB_SWIPE_TRIGGER, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER, KV_SOUND_HANDLER(onFixedEffect),
         "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER, KV_SOUND_HANDLER(onFixedEffect),
         "kelvos/SFX/Boss_Crab_SwipeAtk"},
        {EVENT_COCONUT_CRAB_DEAD, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Boss_Crab_KO"},
        {EVENT_KRAKEN_SOUND_TRIGGER, KV_SOUND_HANDLER(onFixedEffect), "kelvos/SFX/Kraken_animation"},
        {ccEventPauseGame(), KV_SOUND_HANDLER(onPauseGame), nullptr},
        {ccEventResumeGame(), KV_SOUND_HANDLER(onResumeGame), nullptr},
    };
}

// Notification name -> the fixed effect it plays ("" for none).
const std::map<std::string, std::string>& fixedEffects() {
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> effects;
        for (const auto& list : {earlySubscriptions(), lateSubscriptions()})
            for (const Subscription& entry : list)
                if (entry.selector == KV_SOUND_HANDLER(onFixedEffect))
                    effects[entry.name->text] = entry.effect != nullptr ? entry.effect : "";
        return effects;
    }();
    return table;
}

void setRetained(KVSoundEvent*& field, KVSoundEvent* value) {
    if (value != nullptr) value->retain();
    if (field != nullptr) field->release();
    field = value;
}

} // namespace

KVSoundManager::KVSoundManager(std::unique_ptr<CCAudioBackend> backend) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const float sfx = profile != nullptr ? profile->getSfxVolume() : 0.75f;
    const float music = profile != nullptr ? profile->getMusicVolume() : 1.0f;
    effectsVolume = sfx * sfx;
    musicVolume = music * music;
    initEventSystem(std::move(backend));
    subscribe();
}

void KVSoundManager::initEventSystem(std::unique_ptr<CCAudioBackend> backend) {
    if (!backend) backend = createPlatformAudioBackend(kSlotCount);
    m_eventSystem = new KVSoundSystem(std::move(backend));
    CCResourceIndex* index = CCResourceIndex::getInstance();
    for (const char* project : {"kelvos.fev", "kelvos_music.fev"}) {
        if (!index->containsFileName(project)) {
            logDebugMessage("Sound: project \"%s\" not found", project);
            continue;
        }
        m_eventSystem->loadProject(index->pathForFileName(project));
    }
    applyCategoryVolumes();
}

void KVSoundManager::subscribe() {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    for (const Subscription& entry : earlySubscriptions())
        centre->addObserver(this, entry.selector, entry.name);
    CCScheduler::getInstance()->scheduleUpdateForTarget(this, 0, false);
    for (const Subscription& entry : lateSubscriptions())
        centre->addObserver(this, entry.selector, entry.name);
}

void KVSoundManager::cleanupBeforeDelete() {
    stopAllEvents();
    if (m_eventSystem != nullptr) {
        m_eventSystem->shutdown();
        m_eventSystem->release();
        m_eventSystem = nullptr;
    }
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (CCScheduler* scheduler = CCScheduler::existingInstance()) scheduler->unscheduleUpdateForTarget(this);
    m_pearlQueue.clear();
    KVSingletonObject::cleanupBeforeDelete();
}

void KVSoundManager::update(float dt) {
    if (m_eventSystem != nullptr) m_eventSystem->update(dt);
    if (m_pearlQueue.empty()) return;
    if (m_pearlTimer <= kPearlSoundInterval) {
        m_pearlTimer += dt;
        return;
    }
    playPearlPickup();
    m_pearlQueue.pop_front();
    m_pearlTimer = 0.0f;
}

bool KVSoundManager::playEffect(const std::string& path) {
    KVSoundEvent* event = m_eventSystem != nullptr ? m_eventSystem->getEvent(path) : nullptr;
    if (event == nullptr) return false;
    // The previous effect plays on; only the newest is remembered.
    setRetained(m_effectEvent, event);
    event->start();
    return true;
}

void KVSoundManager::playVoiceLine(CCString* voice, const char* line) {
    if (voice != nullptr && playEffect("kelvos/SFX/" + voice->text + "_" + line)) return;
    playEffect(std::string("kelvos/SFX/") + kFallbackVoice + "_" + line);
}

CCString* KVSoundManager::voiceOfPawn(CCObject* object) {
    if (object == nullptr || !object->isKindOf("KVPawn")) return nullptr;
    return static_cast<KVActor*>(object)->getVoice();
}

KVSoundEvent* KVSoundManager::getInto(KVSoundEvent*& field, const std::string& path, int slot) {
    KVSoundEvent* event = m_eventSystem != nullptr ? m_eventSystem->getEvent(path, slot) : nullptr;
    if (event != nullptr) setRetained(field, event);
    return event;
}

bool KVSoundManager::settingIsSet(const char* key) {
    return KVGameSetup::getInstance()->getConfigBool(key);
}

void KVSoundManager::applyCategoryVolumes() {
    if (m_eventSystem == nullptr) return;
    m_eventSystem->setCategoryVolume("SFX", effectsVolume);
    m_eventSystem->setCategoryVolume("music", musicVolume);
}

// Music ---------------------------------------------------------------------------------------

void KVSoundManager::playMenuMusic() {
    if (settingIsSet("DisableMenuMusic")) return;
    const std::string name = KVGameSetup::getInstance()->getConfigText("MenuMusicEvent");
    if (name.empty()) return;
    // What plays in the slot stops first, so two menu tracks never overlap.
    stopMenuMusic();
    if (KVSoundEvent* music = getInto(m_menuMusic, kMusicPrefix + name, kSlotMenuMusic)) music->start();
}

void KVSoundManager::playGameMusic(CCString* name) {
    if (name == nullptr) {
        logDebugMessage("Sound: game music without a name");
        return;
    }
    if (settingIsSet("DisableGameMusic")) return;
    stopGameMusic();
    if (KVSoundEvent* music = getInto(m_gameMusic, kMusicPrefix + name->text, kSlotGameMusic)) music->start();
}

void KVSoundManager::stopMenuMusic() {
    if (m_menuMusic != nullptr) m_menuMusic->stop(false);
}

void KVSoundManager::stopGameMusic() {
    if (m_gameMusic != nullptr) m_gameMusic->stop(false);
}

void KVSoundManager::playJingle(const char* path) {
    stopGameMusic();
    if (m_jingle != nullptr) m_jingle->stop(false);
    if (KVSoundEvent* jingle = getInto(m_jingle, path, kSlotJingle)) jingle->start();
}

void KVSoundManager::stopAllEvents() {
    for (KVSoundEvent** field : {&m_effectEvent, &m_menuMusic, &m_gameMusic, &m_jingle}) {
        if (*field == nullptr) continue;
        (*field)->stop(false);
        setRetained(*field, nullptr);
    }
}

// Directly called sounds ----------------------------------------------------------------------

void KVSoundManager::playPearlPickup() {
    playEffect("kelvos/SFX/Pearls_pickup");
}

void KVSoundManager::playPawnHitPawn() {
    playEffect("kelvos/SFX/Pawn_hit_pawn");
}

void KVSoundManager::playHiddenStarDetect(float proximity) {
    KVSoundEvent* event =
        m_eventSystem != nullptr ? m_eventSystem->getEvent("kelvos/SFX/Hidden_Star_Detect") : nullptr;
    if (event == nullptr) return;
    setRetained(m_effectEvent, event);
    event->setVolume((1.0f - clampAudioVolume(proximity)) * 0.5f);
    event->start();
}

// Handlers ------------------------------------------------------------------------------------

void KVSoundManager::onPauseGame(CCNotification*) {
    for (KVSoundEvent* music : {m_menuMusic, m_gameMusic, m_jingle})
        if (music != nullptr) music->setPaused(true);
}

void KVSoundManager::onResumeGame(CCNotification*) {
    for (KVSoundEvent* music : {m_menuMusic, m_gameMusic, m_jingle})
        if (music != nullptr) music->setPaused(false);
}

void KVSoundManager::onFixedEffect(CCNotification* notification) {
    const auto& table = fixedEffects();
    auto found = table.find(notification->getName()->text);
    if (found != table.end() && !found->second.empty()) playEffect(found->second);
}

void KVSoundManager::onKelvoLaunched(CCNotification* notification) {
    auto* power = dynamic_cast<CCValue<float>*>(notification->getObject());
    if (power == nullptr) {
        logDebugMessage("Sound: launch without a power value");
        return;
    }
    playEffect(power->value < 1.0f ? "kelvos/SFX/Kelvo_launch_light" : "kelvos/SFX/Kelvo_launch_max");
}

void KVSoundManager::onIdleStretchStart(CCNotification* notification) {
    playVoiceLine(voiceOfPawn(notification->getObject()), "stretch");
}

void KVSoundManager::onComboSfx(CCNotification* notification) {
    playVoiceLine(voiceOfPawn(notification->getObject()), "combo");
}

void KVSoundManager::onAoeTriggered(CCNotification* notification) {
    CCObject* object = notification->getObject();
    const bool crab = object != nullptr && object->isKindOf("KVCrab");
    playEffect(crab ? "kelvos/SFX/Crab_Aoe_Attack" : "kelvos/SFX/Kelvo_Aoe_Attack");
}

void KVSoundManager::onAction(CCNotification* notification) {
    CCObject* object = notification->getObject();
    if (object == nullptr || !object->isKindOf("KVActionEvent")) {
        logDebugMessage("Sound: action notification without an action");
        return;
    }
    auto* action = static_cast<KVActionEvent*>(object);
    CCString* voice = voiceOfPawn(action->target);
    if (isHitAction(action->type)) {
        playVoiceLine(voice, action->ratio <= kLightImpactRatio ? "impact_light" : "impact_heavy");
    } else if (action->type == kHealAction) {
        playVoiceLine(voice, "heal");
    }
}

void KVSoundManager::onPawnPlaysKo(CCNotification* notification) {
    CCObject* object = notification->getObject();
    CCString* voice =
        object != nullptr && object->isKindOf("CCString") ? static_cast<CCString*>(object) : nullptr;
    playVoiceLine(voice, "ko");
}

void KVSoundManager::onPowerupPickedUp(CCNotification* notification) {
    CCObject* object = notification->getObject();
    if (object != nullptr && object->isKindOf("KVPawn")) {
        playVoiceLine(voiceOfPawn(object), "powerup1");
    } else if (object != nullptr && object->isKindOf("CCString")) {
        playVoiceLine(static_cast<CCString*>(object), "powerup2");
    } else {
        logDebugMessage("Sound: power-up pick-up without a pawn or voice");
    }
}

void KVSoundManager::onHiddenStarFound(CCNotification* notification) {
    CCObject* object = notification->getObject();
    if (object != nullptr && object->isKindOf("KVPawn")) {
        playVoiceLine(voiceOfPawn(object), "hiddenstar_pickup");
    } else if (object != nullptr && object->isKindOf("CCString")) {
        playVoiceLine(static_cast<CCString*>(object), "hiddenstar_pickup");
    } else {
        logDebugMessage("Sound: hidden star found without a pawn or voice");
    }
}

void KVSoundManager::onPearlAcquired(CCNotification* notification) {
    auto* value = dynamic_cast<CCValue<int>*>(notification->getObject());
    if (m_pearlQueue.empty()) m_pearlTimer = 0.0f;
    m_pearlQueue.push_back(value != nullptr ? value->value : 1);
}

void KVSoundManager::onMusicMenuStart(CCNotification*) {
    playMenuMusic();
}

void KVSoundManager::onMusicMenuStop(CCNotification*) {
    stopMenuMusic();
}

void KVSoundManager::onMusicGameStop(CCNotification*) {
    stopGameMusic();
}

void KVSoundManager::onPawnBounce(CCNotification* notification) {
    CCObject* object = notification->getObject();
    if (object == nullptr || !object->isKindOf("KVPawn")) {
        logDebugMessage("Sound: bounce without a pawn");
        return;
    }
    auto* pawn = static_cast<KVActor*>(object);
    KVSoundEvent* event =
        m_eventSystem != nullptr ? m_eventSystem->getEvent("kelvos/SFX/Pawn_bounce") : nullptr;
    if (event == nullptr) return;
    float factor = 1.0f;
    if (pawn->getMaxLaunchSpeed() > 0.01f && pawn->getBody() != nullptr) {
        factor = std::max(kMinBounceFactor, pawn->getBodySpeed() / pawn->getMaxLaunchSpeed());
    }
    // From the designed volume (a fresh instance holds it), never above full volume.
    event->setVolume(event->getVolume() * factor);
    setRetained(m_effectEvent, event);
    event->start();
}

void KVSoundManager::onVictoryDance(CCNotification*) {
    playJingle("kelvos_music/music/jingle_win");
}

void KVSoundManager::onLooseDance(CCNotification*) {
    playJingle("kelvos_music/music/jingle_lose");
}
