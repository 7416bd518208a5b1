#pragma once

#include <string>

#include "engine/base/CCObject.h"
#include "engine/platform/CCAudioBackend.h"

class KVSoundSystem;

/// One instance of a sound event: a sound of a loaded project, with its own volume, started,
/// paused and stopped on its own.
///
/// Made by KVSoundSystem::getEvent (autoreleased). While it plays (fade-out included) the sound
/// system holds a reference, so an instance nobody keeps plays to its end; whoever keeps one to
/// act on it later retains it. After the sound system shuts down the instance is inert.
class KVSoundEvent : public kvengine::CCObject {
public:
    CC_DECLARE_CLASS_NAME(KVSoundEvent, kvengine::CCObject)

    /// Plays the sound from its start, cutting this instance's previous run if any. False when
    /// nothing could play (no output, unreadable sound file, system gone).
    bool start();
    /// Stops the sound: at once when `immediate` or when the event has no fade-out, otherwise
    /// over the event's fade-out time, counted by the sound system's update. Does nothing when
    /// the instance is not playing.
    void stop(bool immediate);
    /// Pauses or resumes; a paused fade-out waits too.
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    /// True from start until the sound ends, is halted or has faded out.
    bool isPlaying() const { return m_voice != 0; }
    /// True while a fade-out runs.
    bool isStopping() const { return m_fadeLeft > 0.0f; }

    /// The instance's volume, 0..1: the event's designed volume until set. The sound is heard at
    /// this volume times its category's volume (times the fade while stopping).
    float getVolume() const { return m_volume; }
    /// Clamped into 0..1.
    void setVolume(float volume);

    const std::string& getPath() const { return m_path; }
    const std::string& getCategory() const { return m_category; }
    /// The reserved slot it plays on, or -1 for an effect channel.
    int getSlot() const { return m_slot; }
    /// The backend voice while playing, 0 otherwise.
    kvengine::CCAudioBackend::VoiceId getVoice() const { return m_voice; }

    void cleanupBeforeDelete() override;

private:
    friend class KVSoundSystem;

    KVSoundEvent() = default;
    // The volume the backend gets: instance x category x fade.
    float heardVolume() const;
    void pushVolume();
    // Called by the system's update with the seconds since the last one.
    void advance(float dt);
    // Forgets the voice and leaves the system's playing list (may free this instance).
    void finish();

    KVSoundSystem* m_system = nullptr;
    std::string m_path;
    std::string m_category;
    kvengine::CCAudioBackend::SoundId m_sound = 0;
    kvengine::CCAudioBackend::VoiceId m_voice = 0;
    int m_slot = -1;
    bool m_loop = false;
    bool m_paused = false;
    float m_volume = 1.0f;
    float m_fadeTime = 0.0f;
    float m_fadeLeft = 0.0f;
};
