#include "engine/base/CCRandom.h"

#include <cstdint>

namespace kvengine {

namespace {
// Linear congruential generator (multiplier and increment of the classic portable rand());
// the high bits are used because the low bits of an LCG have short periods.
std::uint32_t g_state = 1;
} // namespace

void CCRandom::seed(unsigned value) {
    g_state = value;
}

int CCRandom::next() {
    g_state = g_state * 1103515245u + 12345u;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

float CCRandom::random0To1() {
    return static_cast<float>(next()) / static_cast<float>(kMax);
}

float CCRandom::randomMinus1To1() {
    return random0To1() * 2.0f - 1.0f;
}

} // namespace kvengine
