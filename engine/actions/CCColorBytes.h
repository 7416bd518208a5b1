#pragma once

#include <cmath>
#include <cstdint>

namespace kvengine {
namespace detail {

/// A colour or opacity channel from an interpolated value: truncated towards zero, low 8 bits
/// kept, so a tint that leaves 0..255 wraps modulo 256. Values a float-to-int cast cannot hold
/// (NaN, huge) give 0 instead of undefined behaviour.
inline uint8_t colorByte(float value) {
    if (!(std::fabs(value) < 2147483648.0f)) return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(value) & 0xFF);
}

} // namespace detail
} // namespace kvengine
