#include "engine/platform/CCPlatformEvent.h"

#include <cstring>

namespace kvengine {

CCPlatformEvent CCPlatformEvent::textInput(const char* utf8) {
    CCPlatformEvent e = make(CCEventType::TextInput);
    if (!utf8) return e;
    size_t n = std::strlen(utf8);
    if (n >= sizeof(e.text)) {
        n = sizeof(e.text) - 1;
        // Do not cut a multi-byte character in half: back up to the start of a character.
        while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0u) == 0x80u)
            --n;
    }
    std::memcpy(e.text, utf8, n);
    e.text[n] = '\0';
    return e;
}

bool CCQueuedEventSource::poll(CCPlatformEvent& out) {
    if (m_events.empty()) return false;
    out = m_events.front();
    m_events.pop_front();
    return true;
}

} // namespace kvengine
