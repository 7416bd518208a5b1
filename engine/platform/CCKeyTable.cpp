// Every key translation of the engine lives in this file: platform symbol -> CCKey -> key code.
#include "engine/platform/CCKeyTable.h"

#include <SDL2/SDL_keycode.h>

namespace kvengine {

namespace {

struct SymbolToKey {
    int symbol;
    CCKey key;
};

const SymbolToKey kSymbolTable[] = {
    {SDLK_ESCAPE, CCKey::Escape},       {SDLK_RIGHT, CCKey::Right},
    {SDLK_LEFT, CCKey::Left},           {SDLK_UP, CCKey::Up},
    {SDLK_DOWN, CCKey::Down},           {SDLK_a, CCKey::A},
    {SDLK_d, CCKey::D},                 {SDLK_q, CCKey::Q},
    {SDLK_s, CCKey::S},                 {SDLK_w, CCKey::W},
    {SDLK_z, CCKey::Z},                 {SDLK_KP_PLUS, CCKey::KeypadPlus},
    {SDLK_KP_MINUS, CCKey::KeypadMinus}, {SDLK_SPACE, CCKey::Space},
    {SDLK_BACKSPACE, CCKey::Backspace}, {SDLK_RETURN, CCKey::Return},
    {SDLK_KP_ENTER, CCKey::Return},     {SDLK_LALT, CCKey::Alt},
    {SDLK_RALT, CCKey::Alt},
};

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

CCKey keyFromPlatformSymbol(int symbol) {
    for (const SymbolToKey& entry : kSymbolTable) {
        if (entry.symbol == symbol) return entry.key;
    }
    return CCKey::Unknown;
}

} // namespace kvengine
