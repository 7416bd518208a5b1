// The engine's key translation CCKey -> key code; the platform's symbols become CCKeys in
// sdl/CCSDLKeyTable.cpp.
#include "engine/platform/CCKeyTable.h"

namespace kvengine {

namespace {

// Indexed by CCKey; one entry per enumerator up to Count.
const int kKeyCodeTable[] = {
    kCCKeyCodeNone,     // Unknown
    kCCKeyCodeEscape,   // Escape
    kCCKeyCodeRight,    // Right
    kCCKeyCodeLeft,     // Left
    kCCKeyCodeUp,       // Up
    kCCKeyCodeDown,     // Down
    kCCKeyCodeLeft,     // A
    kCCKeyCodeRight,    // D
    kCCKeyCodeLeft,     // Q
    kCCKeyCodeDown,     // S
    kCCKeyCodeUp,       // W
    kCCKeyCodeUp,       // Z
    kCCKeyCodeAdd,      // KeypadPlus
    kCCKeyCodeSubtract, // KeypadMinus
    kCCKeyCodeSpace,    // Space
    kCCKeyCodeNone,     // Backspace (text input)
    kCCKeyCodeNone,     // Return (text input)
    kCCKeyCodeNone,     // Alt
};
static_assert(sizeof(kKeyCodeTable) / sizeof(kKeyCodeTable[0]) == static_cast<size_t>(CCKey::Count),
              "one key code per CCKey");

} // namespace

int keyCodeForKey(CCKey key) {
    const int index = static_cast<int>(key);
    if (index < 0 || index >= static_cast<int>(CCKey::Count)) return kCCKeyCodeNone;
    return kKeyCodeTable[index];
}

} // namespace kvengine
