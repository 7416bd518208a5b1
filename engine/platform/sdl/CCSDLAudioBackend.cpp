#include "engine/platform/CCSDLAudioBackend.h"

#include <algorithm>
#include <cmath>

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

// Effect channels form one mixer group, so a free one (or the oldest busy one) is found among
// them only and the slots are never taken by an effect.
constexpr int kEffectGroup = 1;
constexpr int kMaxSlots = 8;

int mixerVolume(float volume) {
    return static_cast<int>(std::lround(clampAudioVolume(volume) * MIX_MAX_VOLUME));
}

} // namespace

CCSDLAudioBackend::CCSDLAudioBackend(int slotCount)
    : m_slotCount(std::clamp(slotCount, 0, kMaxSlots)), m_channelVoice(kChannelCount, 0),
      m_channelSound(kChannelCount, 0) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logDebugMessage("Sound: no audio output (%s); the game runs silent", SDL_GetError());
        return;
    }
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
        logDebugMessage("Sound: no audio device (%s); the game runs silent", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    m_open = true;
    Mix_AllocateChannels(kChannelCount);
    Mix_ReserveChannels(m_slotCount);
    Mix_GroupChannels(m_slotCount, kChannelCount - 1, kEffectGroup);
    for (int channel = 0; channel < kChannelCount; ++channel)
        Mix_Volume(channel, MIX_MAX_VOLUME);
}

CCSDLAudioBackend::~CCSDLAudioBackend() {
    if (!m_open) return;
    Mix_HaltChannel(-1);
    for (auto& [id, chunk] : m_sounds)
        Mix_FreeChunk(chunk);
    m_sounds.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

CCAudioBackend::SoundId CCSDLAudioBackend::loadSound(const std::string& path) {
    if (!m_open) return 0;
    // The file is opened and closed here: the mixer does not close it on every failure path.
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    Mix_Chunk* chunk = file != nullptr ? Mix_LoadWAV_RW(file, 0) : nullptr;
    if (file != nullptr) SDL_RWclose(file);
    if (chunk == nullptr) {
        logDebugMessage("Sound: cannot load \"%s\" (%s)", path.c_str(), Mix_GetError());
        return 0;
    }
    SoundId id = m_nextSound++;
    m_sounds[id] = chunk;
    return id;
}

void CCSDLAudioBackend::freeSound(SoundId sound) {
    auto found = m_sounds.find(sound);
    if (found == m_sounds.end()) return;
    // The mixer reads the chunk from its own thread: no channel may still play it when it goes.
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (m_channelSound[channel] != sound) continue;
        Mix_HaltChannel(channel);
        m_channelVoice[channel] = 0;
        m_channelSound[channel] = 0;
    }
    Mix_FreeChunk(found->second);
    m_sounds.erase(found);
}

CCAudioBackend::VoiceId CCSDLAudioBackend::play(SoundId sound, int slot, bool loop, float volume) {
    auto found = m_sounds.find(sound);
    if (!m_open || found == m_sounds.end()) return 0;
    int channel = -1;
    if (slot >= 0) {
        if (slot >= m_slotCount) {
            logDebugMessage("Sound: no slot %d", slot);
            return 0;
        }
        channel = slot;
    } else {
        channel = Mix_GroupAvailable(kEffectGroup);
        if (channel < 0) channel = Mix_GroupOldest(kEffectGroup);
        if (channel < 0) return 0;
    }
    Mix_HaltChannel(channel);
    Mix_Volume(channel, mixerVolume(volume));
    if (Mix_PlayChannel(channel, found->second, loop ? -1 : 0) < 0) {
        m_channelVoice[channel] = 0;
        m_channelSound[channel] = 0;
        return 0;
    }
    // The channel number rides in the low byte, so a voice finds its channel without a table.
    VoiceId voice = (m_nextSerial++ << 8) | static_cast<VoiceId>(channel);
    m_channelVoice[channel] = voice;
    m_channelSound[channel] = sound;
    return voice;
}

int CCSDLAudioBackend::channelOf(VoiceId voice) const {
    if (!m_open || voice == 0) return -1;
    int channel = static_cast<int>(voice & 0xFF);
    if (channel >= kChannelCount || m_channelVoice[channel] != voice) return -1;
    return channel;
}

void CCSDLAudioBackend::setVolume(VoiceId voice, float volume) {
    int channel = channelOf(voice);
    if (channel >= 0) Mix_Volume(channel, mixerVolume(volume));
}

void CCSDLAudioBackend::setPaused(VoiceId voice, bool paused) {
    int channel = channelOf(voice);
    if (channel < 0) return;
    if (paused)
        Mix_Pause(channel);
    else
        Mix_Resume(channel);
}

void CCSDLAudioBackend::halt(VoiceId voice) {
    int channel = channelOf(voice);
    if (channel < 0) return;
    Mix_HaltChannel(channel);
    m_channelVoice[channel] = 0;
    m_channelSound[channel] = 0;
}

bool CCSDLAudioBackend::isPlaying(VoiceId voice) {
    int channel = channelOf(voice);
    return channel >= 0 && Mix_Playing(channel) != 0;
}

std::unique_ptr<CCAudioBackend> createPlatformAudioBackend(int slotCount) {
    return std::make_unique<CCSDLAudioBackend>(slotCount);
}

} // namespace kvengine
