#pragma once

namespace kvengine {

/// The engine's one seedable random source. next() answers 0..kMax like the C library's rand()
/// with a RAND_MAX of 32767, on every platform, so seeded runs repeat exactly.
class CCRandom {
public:
    static constexpr int kMax = 32767;

    /// Restarts the sequence; the sequence at program start is that of seed(1).
    static void seed(unsigned value);
    /// Next value in 0..32767.
    static int next();
    /// next() / 32767: a float in [0, 1].
    static float random0To1();
    /// next() / 32767 * 2 - 1: a float in [-1, 1].
    static float randomMinus1To1();
};

} // namespace kvengine
