#pragma once

#include <functional>
#include <string>

namespace kvengine {

/// Writes one line of debug output (printf rules) to standard error. The formatted message is cut
/// to at most 255 bytes, never inside a UTF-8 sequence. The engine's way to report bad input.
void logDebugMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Receives every logged line (without the newline) instead of standard error; an empty function
/// restores standard error. Tests use it to check that bad input was reported.
using CCLogSink = std::function<void(const std::string&)>;
void setDebugLogSink(CCLogSink sink);

} // namespace kvengine
