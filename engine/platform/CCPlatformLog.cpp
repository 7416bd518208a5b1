#include "engine/platform/CCPlatformLog.h"

#include <cstdarg>
#include <cstdio>

namespace kvengine {

void platformLog(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", buffer);
}

} // namespace kvengine
