#pragma once

namespace kvengine {

/// One log line from the platform layer (printf rules). Goes to the engine's log.
void platformLog(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace kvengine
