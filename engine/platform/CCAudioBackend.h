#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kvengine {

/// The sound output under the game's sound layer: decoded sounds played on mixer channels.
///
/// A few channels are reserved as slots (long sounds that may overlap each other, such as
/// music); every other sound takes a free effect channel, or the oldest effect channel when all
/// are busy. A started sound is a voice: its id stays valid until the sound ends, is halted or is
/// replaced on its channel, after which operations on it do nothing. Volumes are 0..1 (clamped).
/// Single-threaded: call from the main thread only.
class CCAudioBackend {
public:
    using SoundId = int;
    using VoiceId = std::uint64_t;

    virtual ~CCAudioBackend() = default;

    /// Number of reserved slots, 0 to slotCount() - 1.
    virtual int slotCount() const = 0;
    /// Decodes a sound file (WAV) into memory. Returns an id > 0, or 0 when the file cannot be
    /// read (logged) or when there is no output.
    virtual SoundId loadSound(const std::string& path) = 0;
    /// Forgets a loaded sound; voices playing it are halted first. Unknown ids do nothing.
    virtual void freeSound(SoundId sound) = 0;
    /// Starts `sound` on slot `slot` (what plays there is halted), or on an effect channel when
    /// `slot` is -1. Returns the voice, or 0 when nothing plays (no output, bad id or slot).
    virtual VoiceId play(SoundId sound, int slot, bool loop, float volume) = 0;
    virtual void setVolume(VoiceId voice, float volume) = 0;
    virtual void setPaused(VoiceId voice, bool paused) = 0;
    /// Stops the voice at once.
    virtual void halt(VoiceId voice) = 0;
    /// True while the voice sounds or is paused.
    virtual bool isPlaying(VoiceId voice) = 0;
};

/// Clamps a volume into 0..1; NaN becomes 0.
float clampAudioVolume(float volume);

/// The platform's audio output with `slotCount` reserved slots (clamped to 0..8). Never null: when
/// no audio device opens, the backend stays silent (one log line) and every operation does nothing.
std::unique_ptr<CCAudioBackend> createPlatformAudioBackend(int slotCount);

} // namespace kvengine
