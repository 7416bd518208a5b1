#pragma once

// Helpers for tests that run the SDL2_mixer backend: a WAV writer and the audio-driver switch.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace kvtest {

/// Writes a 16-bit mono 22050 Hz WAV of `seconds` of a sine at `hertz` with peak `amplitude`.
inline void writeToneWav(const std::string& path, float seconds, float hertz, int amplitude) {
    const std::uint32_t rate = 22050;
    const std::uint32_t frames = static_cast<std::uint32_t>(seconds * rate);
    std::vector<std::int16_t> samples(frames);
    for (std::uint32_t i = 0; i < frames; ++i)
        samples[i] = static_cast<std::int16_t>(amplitude * std::sin(2.0 * M_PI * hertz * i / rate));
    auto u32 = [](std::ofstream& out, std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](std::ofstream& out, std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::uint32_t dataBytes = frames * 2;
    out.write("RIFF", 4);
    u32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(out, 16);
    u16(out, 1); // PCM
    u16(out, 1); // mono
    u32(out, rate);
    u32(out, rate * 2);
    u16(out, 2);
    u16(out, 16);
    out.write("data", 4);
    u32(out, dataBytes);
    out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

/// Sets SDL_AUDIODRIVER (and further variables) for one scope, restoring the driver afterwards.
class AudioDriverScope {
public:
    explicit AudioDriverScope(const char* driver) {
        const char* old = std::getenv("SDL_AUDIODRIVER");
        m_hadOld = old != nullptr;
        if (m_hadOld) m_old = old;
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~AudioDriverScope() {
        if (m_hadOld)
            setenv("SDL_AUDIODRIVER", m_old.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }
    AudioDriverScope(const AudioDriverScope&) = delete;
    AudioDriverScope& operator=(const AudioDriverScope&) = delete;

private:
    bool m_hadOld = false;
    std::string m_old;
};

} // namespace kvtest
