#pragma once

// An audio backend that plays nothing and records what it was asked, for the sound tests.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/platform/CCAudioBackend.h"

namespace kvtest {

/// Everything the backend was asked. Shared with the test, since the backend itself is owned by
/// the sound system.
struct AudioRecord {
    struct Voice {
        kvengine::CCAudioBackend::VoiceId id = 0;
        std::string file;
        int slot = -1;
        bool loop = false;
        float volume = 0.0f;
        bool paused = false;
        bool playing = true;
    };
    std::vector<Voice> voices;
    std::map<kvengine::CCAudioBackend::SoundId, std::string> sounds;
    /// Files that fail to load.
    std::set<std::string> unreadable;

    Voice* find(kvengine::CCAudioBackend::VoiceId id) {
        for (Voice& voice : voices)
            if (voice.id == id && id != 0) return &voice;
        return nullptr;
    }
    /// Voices still sounding (paused ones included).
    std::vector<Voice> live() const {
        std::vector<Voice> result;
        for (const Voice& voice : voices)
            if (voice.playing) result.push_back(voice);
        return result;
    }
    /// The newest voice, or an empty one.
    Voice last() const { return voices.empty() ? Voice{} : voices.back(); }
};

class RecordingAudioBackend : public kvengine::CCAudioBackend {
public:
    explicit RecordingAudioBackend(std::shared_ptr<AudioRecord> record, int slots = 3)
        : m_record(std::move(record)), m_slots(slots) {}

    int slotCount() const override { return m_slots; }
    SoundId loadSound(const std::string& path) override {
        if (m_record->unreadable.count(path) != 0) {
            kvengine::logDebugMessage("test backend: cannot load \"%s\"", path.c_str());
            return 0;
        }
        SoundId id = static_cast<SoundId>(m_record->sounds.size()) + 1;
        m_record->sounds[id] = path;
        return id;
    }
    void freeSound(SoundId sound) override { m_record->sounds.erase(sound); }
    VoiceId play(SoundId sound, int slot, bool loop, float volume) override {
        if (m_record->sounds.count(sound) == 0 || slot >= m_slots) return 0;
        if (slot >= 0)
            for (AudioRecord::Voice& voice : m_record->voices)
                if (voice.slot == slot) voice.playing = false;
        AudioRecord::Voice voice;
        voice.id = ++m_nextVoice;
        voice.file = m_record->sounds[sound];
        voice.slot = slot;
        voice.loop = loop;
        voice.volume = kvengine::clampAudioVolume(volume);
        m_record->voices.push_back(voice);
        return voice.id;
    }
    void setVolume(VoiceId id, float volume) override {
        if (AudioRecord::Voice* voice = live(id)) voice->volume = kvengine::clampAudioVolume(volume);
    }
    void setPaused(VoiceId id, bool paused) override {
        if (AudioRecord::Voice* voice = live(id)) voice->paused = paused;
    }
    void halt(VoiceId id) override {
        if (AudioRecord::Voice* voice = live(id)) voice->playing = false;
    }
    bool isPlaying(VoiceId id) override { return live(id) != nullptr; }

private:
    AudioRecord::Voice* live(VoiceId id) {
        AudioRecord::Voice* voice = m_record->find(id);
        return voice != nullptr && voice->playing ? voice : nullptr;
    }

    std::shared_ptr<AudioRecord> m_record;
    int m_slots;
    VoiceId m_nextVoice = 0;
};

} // namespace kvtest
