#pragma once
// A small synthesiser for the game's sound effects, voices and music: oscillators,
// noise, envelopes, a resonant filter for vowel sounds, and a 16-bit mono WAV writer.
// Everything is deterministic (a fixed-seed noise source), so builds are repeatable.
#include <cstdint>
#include <vector>

#include "tools/content/ContentFiles.h"

namespace kvcontent {

const int kSampleRate = 22050;

enum class Wave { Sine, Triangle, Square, Saw };

/// A mono sound under construction, samples in [-1, 1] (mixing may exceed it until
/// normalise).
struct Sound {
    std::vector<float> samples;

    void ensure(double seconds);
    /// Adds a tone gliding from f0 to f1 Hz, starting at `at` seconds, with an attack and
    /// an exponential-looking release shaping the amplitude.
    void tone(double at, double duration, double f0, double f1, Wave wave, double amp, double attack = 0.005,
              double release = 0.05);
    /// Adds a bubble: a sine rising in pitch with a fast decay, the sound of air in water.
    void bubble(double at, double radiusScale, double amp);
    /// Adds filtered noise (cutoff in Hz, a one-pole low-pass) with a linear decay.
    void noise(double at, double duration, double cutoff, double amp);
    /// Adds a voiced syllable: a buzz at a gliding pitch through two vowel resonances.
    void syllable(double at, double duration, double f0, double f1, double formant1, double formant2,
                  double amp, double rasp = 0);
    /// Scales so that the loudest sample reaches `peak`.
    void normalise(double peak = 0.89);
    /// 16-bit PCM WAV bytes.
    Bytes wav() const;
};

/// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double noteHz(int midi);

} // namespace kvcontent
