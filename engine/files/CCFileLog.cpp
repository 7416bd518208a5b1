#include "engine/files/CCFileLog.h"

#include <cstdarg>
#include <cstdio>

namespace kvengine {
namespace detail {

void logFileMessage(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    fprintf(stderr, "%s\n", line);
}

} // namespace detail
} // namespace kvengine
