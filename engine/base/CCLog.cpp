#include "engine/base/CCLog.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace kvengine {

namespace {
// Never destroyed: destructors that run during program exit may still log.
CCLogSink& logSink() {
    static CCLogSink* sink = new CCLogSink();
    return *sink;
}
} // namespace

void setDebugLogSink(CCLogSink sink) {
    logSink() = std::move(sink);
}

void logDebugMessage(const char* format, ...) {
    if (format == nullptr) return;
    char buffer[256];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0) return;
    std::size_t length = std::char_traits<char>::length(buffer);
    // A cut may have split a UTF-8 sequence: drop its lead and continuation bytes.
    if (static_cast<std::size_t>(written) > length) {
        std::size_t end = length;
        while (end > 0 && (static_cast<unsigned char>(buffer[end - 1]) & 0xC0) == 0x80)
            --end;
        if (end > 0 && (static_cast<unsigned char>(buffer[end - 1]) & 0x80) != 0) --end;
        // Keep the bytes when the tail was a complete sequence after all.
        std::size_t tail = length - end;
        unsigned char lead = end < length ? static_cast<unsigned char>(buffer[end]) : 0;
        std::size_t need = (lead >= 0xF0) ? 4 : (lead >= 0xE0) ? 3 : (lead >= 0xC0) ? 2 : 1;
        if (tail != need) length = end;
        buffer[length] = '\0';
    }
    if (logSink()) {
        logSink()(std::string(buffer, length));
        return;
    }
    std::fwrite(buffer, 1, length, stderr);
    std::fputc('\n', stderr);
}

} // namespace kvengine
