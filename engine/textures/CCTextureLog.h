#pragma once

// Internal to engine/textures: one place through which the texture code reports bad input,
// so that every loader writes its failure the same way.

#include <cstdarg>
#include <cstdio>

namespace kvengine {
namespace detail {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
inline void textureLog(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", line);
}

} // namespace detail
} // namespace kvengine
