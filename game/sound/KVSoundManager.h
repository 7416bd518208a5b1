#pragma once

#include <deque>
#include <memory>
#include <string>

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "engine/platform/CCAudioBackend.h"
#include "game/world/KVSingletonObject.h"

class KVSoundEvent;
class KVSoundSystem;

/// The game's one voice: loads the sound projects "kelvos.fev" and "kelvos_music.fev", observes
/// the game's notifications and answers each with a sound effect, a voice line of the creature
/// concerned, a music change or nothing.
///
/// Effects play on effect channels and are left to play out (only the newest is kept); menu
/// music, game music and the win or lose jingle each have a slot of their own, so they may
/// overlap one another but a new one replaces what played in its slot. The effects and music
/// volumes apply to the categories "SFX" and "music".
///
/// Created by getInstance on first use (or by `new`, which makes it the shared manager when there
/// is none) and released at shutdown. Main thread only.
class KVSoundManager : public KVSingletonObject<KVSoundManager> {
public:
    CC_DECLARE_CLASS_NAME(KVSoundManager, KVSingletonObject)

    /// Slots of the audio backend.
    enum Slot { kSlotMenuMusic = 0, kSlotGameMusic = 1, kSlotJingle = 2, kSlotCount = 3 };

    /// Reads the volume sliders of the profile, loads both projects through the resource index
    /// over `backend` (the SDL2_mixer output when null), observes the game's notifications and
    /// registers its per-frame update.
    explicit KVSoundManager(std::unique_ptr<kvengine::CCAudioBackend> backend = nullptr);
    /// Stops every sound, shuts the sound system down, stops observing and unschedules itself.
    void cleanupBeforeDelete() override;
    /// Runs the sound system and the pearl pick-up queue; `dt` in seconds.
    void update(float dt) override;

    /// The music of a level ("kelvos_music/music/" + name); stops the current game music first.
    /// Nothing when the setting "DisableGameMusic" is set.
    void playGameMusic(kvengine::CCString* name);
    /// The menu music named by the setting "MenuMusicEvent", unless "DisableMenuMusic" is set.
    void playMenuMusic();
    /// Fade out the menu or game music (its instance is kept).
    void stopMenuMusic();
    void stopGameMusic();
    /// Stops (with fade-out) and forgets the effect, menu-music, game-music and jingle instances.
    void stopAllEvents();
    /// One pearl pick-up sound.
    void playPearlPickup();
    /// The hidden-star detector's ping; proximity 0 (near, volume 0.5) to 1 (far, silent).
    void playHiddenStarDetect(float proximity);
    /// The test sound of the effects-volume slider.
    void playPawnHitPawn();
    /// Applies effectsVolume to category "SFX" and musicVolume to category "music".
    void applyCategoryVolumes();

    /// Effects and music volumes (the sliders' values squared). The options screen writes them,
    /// then calls applyCategoryVolumes.
    float effectsVolume = 0.0f;
    float musicVolume = 0.0f;

    /// The layer under the manager (for inspection); null after cleanup.
    KVSoundSystem* getSoundSystem() { return m_eventSystem; }
    KVSoundEvent* getEffectEvent() { return m_effectEvent; }
    KVSoundEvent* getMenuMusic() { return m_menuMusic; }
    KVSoundEvent* getGameMusic() { return m_gameMusic; }
    KVSoundEvent* getJingle() { return m_jingle; }
    /// Pearl pick-up sounds still waiting.
    unsigned pendingPearlSounds() const { return static_cast<unsigned>(m_pearlQueue.size()); }

    // Notification handlers.
    virtual void onPauseGame(kvengine::CCNotification* notification);
    virtual void onResumeGame(kvengine::CCNotification* notification);
    virtual void onKelvoLaunched(kvengine::CCNotification* notification);
    virtual void onIdleStretchStart(kvengine::CCNotification* notification);
    virtual void onAoeTriggered(kvengine::CCNotification* notification);
    virtual void onAction(kvengine::CCNotification* notification);
    virtual void onPawnPlaysKo(kvengine::CCNotification* notification);
    virtual void onPowerupPickedUp(kvengine::CCNotification* notification);
    virtual void onComboSfx(kvengine::CCNotification* notification);
    virtual void onPearlAcquired(kvengine::CCNotification* notification);
    virtual void onHiddenStarFound(kvengine::CCNotification* notification);
    virtual void onMusicMenuStart(kvengine::CCNotification* notification);
    virtual void onMusicMenuStop(kvengine::CCNotification* notification);
    virtual void onMusicGameStop(kvengine::CCNotification* notification);
    virtual void onPawnBounce(kvengine::CCNotification* notification);
    virtual void onVictoryDance(kvengine::CCNotification* notification);
    virtual void onLooseDance(kvengine::CCNotification* notification);
    /// Every notification answered by one fixed effect (or, for a few, by nothing).
    virtual void onFixedEffect(kvengine::CCNotification* notification);

private:
    void initEventSystem(std::unique_ptr<kvengine::CCAudioBackend> backend);
    void subscribe();
    /// Gets `path` as the new effect instance and starts it; false when the event does not exist.
    bool playEffect(const std::string& path);
    /// The voice line "kelvos/SFX/<voice>_<line>", else the same line of "Female", else nothing.
    void playVoiceLine(kvengine::CCString* voice, const char* line);
    /// The pawn's voice (null when the object is not a pawn).
    kvengine::CCString* voiceOfPawn(kvengine::CCObject* object);
    void playJingle(const char* path);
    /// Gets `path` on `slot` into `field` (retained), replacing the instance there.
    KVSoundEvent* getInto(KVSoundEvent*& field, const std::string& path, int slot);
    bool settingIsSet(const char* key);

    KVSoundSystem* m_eventSystem = nullptr;
    KVSoundEvent* m_effectEvent = nullptr;
    KVSoundEvent* m_menuMusic = nullptr;
    KVSoundEvent* m_gameMusic = nullptr;
    KVSoundEvent* m_jingle = nullptr;
    // One entry per pending pearl pick-up sound (the pearl's value).
    std::deque<int> m_pearlQueue;
    float m_pearlTimer = 0.0f;
};
