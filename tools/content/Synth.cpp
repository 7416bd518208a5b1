#include "tools/content/Synth.h"

#include <algorithm>
#include <cmath>

namespace kvcontent {

namespace {
const double kTwoPi = 6.28318530717959;

// Fixed-seed noise keeps every build's sounds identical.
struct NoiseSource {
    uint32_t state = 0x9E3779B9u;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state / 4294967295.0) * 2.0 - 1.0;
    }
};
NoiseSource g_noise;

double oscillate(Wave wave, double phase) {
    const double p = phase - std::floor(phase);
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * p);
    case Wave::Triangle:
        return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Square:
        return p < 0.5 ? 0.8 : -0.8;
    case Wave::Saw:
        return 2 * p - 1;
    }
    return 0;
}

double envelope(double t, double duration, double attack, double release) {
    if (t < attack) return t / attack;
    if (t > duration - release) return std::max(0.0, (duration - t) / release);
    return 1;
}

// Two-pole resonator (band-pass) used for vowel formants.
struct Resonator {
    double a1 = 0, a2 = 0, gain = 0, y1 = 0, y2 = 0;
    Resonator(double freq, double bandwidth) {
        const double r = std::exp(-3.14159265 * bandwidth / kSampleRate);
        a1 = 2 * r * std::cos(kTwoPi * freq / kSampleRate);
        a2 = -r * r;
        gain = 1 - r;
    }
    double step(double x) {
        const double y = gain * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};
} // namespace

double noteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void Sound::ensure(double seconds) {
    const size_t n = static_cast<size_t>(seconds * kSampleRate) + 1;
    if (samples.size() < n) samples.resize(n, 0.f);
}

void Sound::tone(double at, double duration, double f0, double f1, Wave wave, double amp, double attack,
                 double release) {
    ensure(at + duration);
    const size_t start = static_cast<size_t>(at * kSampleRate);
    const size_t count = static_cast<size_t>(duration * kSampleRate);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = f0 + (f1 - f0) * (t / duration);
        phase += f / kSampleRate;
        samples[start + i] +=
            static_cast<float>(amp * envelope(t, duration, attack, release) * oscillate(wave, phase));
    }
}

void Sound::bubble(double at, double radiusScale, double amp) {
    // A bubble rings near 3 kHz / radius(mm) and rises as it leaves.
    const double f0 = 700.0 / radiusScale, duration = 0.09 * radiusScale + 0.03;
    ensure(at + duration);
    const size_t start = static_cast<size_t>(at * kSampleRate);
    const size_t count = static_cast<size_t>(duration * kSampleRate);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = f0 * (1 + 2.5 * t / duration);
        phase += f / kSampleRate;
        const double env = std::exp(-t * 5 / duration) * std::min(1.0, t / 0.003);
        samples[start + i] += static_cast<float>(amp * env * std::sin(kTwoPi * phase));
    }
}

void Sound::noise(double at, double duration, double cutoff, double amp) {
    ensure(at + duration);
    const size_t start = static_cast<size_t>(at * kSampleRate);
    const size_t count = static_cast<size_t>(duration * kSampleRate);
    const double k = 1 - std::exp(-kTwoPi * cutoff / kSampleRate);
    double y = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        y += k * (g_noise.next() - y);
        samples[start + i] += static_cast<float>(amp * (1 - t / duration) * std::min(1.0, t / 0.002) * y * 2);
    }
}

void Sound::syllable(double at, double duration, double f0, double f1, double formant1, double formant2,
                     double amp, double rasp) {
    ensure(at + duration);
    const size_t start = static_cast<size_t>(at * kSampleRate);
    const size_t count = static_cast<size_t>(duration * kSampleRate);
    Resonator low(formant1, 90), high(formant2, 120);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        // A touch of vibrato keeps the buzz alive.
        const double f = (f0 + (f1 - f0) * (t / duration)) * (1 + 0.02 * std::sin(kTwoPi * 6 * t));
        phase += f / kSampleRate;
        const double buzz = oscillate(Wave::Saw, phase) + rasp * g_noise.next();
        const double voiced = low.step(buzz) * 1.0 + high.step(buzz) * 0.6;
        samples[start + i] +=
            static_cast<float>(amp * 6 * envelope(t, duration, 0.02, duration * 0.35) * voiced);
    }
}

void Sound::normalise(double peak) {
    float loudest = 0;
    for (float s : samples)
        loudest = std::max(loudest, std::fabs(s));
    if (loudest <= 0) return;
    const float k = static_cast<float>(peak / loudest);
    for (float& s : samples)
        s *= k;
}

Bytes Sound::wav() const {
    Bytes out;
    auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t dataSize = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataSize, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(kSampleRate, 4);
    put(kSampleRate * 2, 4);
    put(2, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(dataSize, 4);
    for (float s : samples) {
        const float clamped = std::max(-1.f, std::min(1.f, s));
        put(static_cast<uint16_t>(static_cast<int16_t>(clamped * 32767)), 2);
    }
    return out;
}

} // namespace kvcontent
