#pragma once

namespace kvengine {
namespace detail {

/// One diagnostic line from the file layer (printf rules, no trailing newline needed).
void logFileMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace detail
} // namespace kvengine
