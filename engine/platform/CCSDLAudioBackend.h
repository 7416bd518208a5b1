#pragma once

#include <map>
#include <vector>

#include "engine/platform/CCAudioBackend.h"

struct Mix_Chunk;

namespace kvengine {

/// The audio backend over SDL2_mixer: 32 channels, the first `slotCount` reserved as slots, the
/// rest grouped as effect channels. When no audio device opens (no driver, no hardware) the
/// backend stays silent: it logs one line at construction and every operation does nothing.
class CCSDLAudioBackend : public CCAudioBackend {
public:
    static constexpr int kChannelCount = 32;

    /// Opens the audio device (44100 Hz, 16-bit stereo). `slotCount` is clamped to 0..8.
    explicit CCSDLAudioBackend(int slotCount);
    ~CCSDLAudioBackend() override;
    CCSDLAudioBackend(const CCSDLAudioBackend&) = delete;
    CCSDLAudioBackend& operator=(const CCSDLAudioBackend&) = delete;

    /// True when the device opened.
    bool isOpen() const { return m_open; }

    int slotCount() const override { return m_slotCount; }
    SoundId loadSound(const std::string& path) override;
    void freeSound(SoundId sound) override;
    VoiceId play(SoundId sound, int slot, bool loop, float volume) override;
    void setVolume(VoiceId voice, float volume) override;
    void setPaused(VoiceId voice, bool paused) override;
    void halt(VoiceId voice) override;
    bool isPlaying(VoiceId voice) override;

private:
    // The channel of a live voice, or -1 when the voice has ended or was replaced.
    int channelOf(VoiceId voice) const;

    bool m_open = false;
    int m_slotCount = 0;
    SoundId m_nextSound = 1;
    std::uint64_t m_nextSerial = 1;
    std::map<SoundId, Mix_Chunk*> m_sounds;
    // The voice last started on each channel, and the sound it plays.
    std::vector<VoiceId> m_channelVoice;
    std::vector<SoundId> m_channelSound;
};

} // namespace kvengine
