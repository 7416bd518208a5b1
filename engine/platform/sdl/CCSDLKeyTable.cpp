// The platform half of the key translation: SDL key symbols -> CCKey. The engine's half (CCKey
// -> key code) is in CCKeyTable.cpp.
#include "engine/platform/CCKeyTable.h"

#include <SDL2/SDL_keycode.h>

namespace kvengine {

namespace {

struct SymbolToKey {
    int symbol;
    CCKey key;
};

const SymbolToKey kSymbolTable[] = {
    {SDLK_ESCAPE, CCKey::Escape},
    {SDLK_RIGHT, CCKey::Right},
    {SDLK_LEFT, CCKey::Left},
    {SDLK_UP, CCKey::Up},
    {SDLK_DOWN, CCKey::Down},
    {SDLK_a, CCKey::A},
    {SDLK_d, CCKey::D},
    {SDLK_q, CCKey::Q},
    {SDLK_s, CCKey::S},
    {SDLK_w, CCKey::W},
    {SDLK_z, CCKey::Z},
    {SDLK_KP_PLUS, CCKey::KeypadPlus},
    {SDLK_KP_MINUS, CCKey::KeypadMinus},
    {SDLK_SPACE, CCKey::Space},
    {SDLK_BACKSPACE, CCKey::Backspace},
    {SDLK_RETURN, CCKey::Return},
    {SDLK_KP_ENTER, CCKey::Return},
    {SDLK_LALT, CCKey::Alt},
    {SDLK_RALT, CCKey::Alt},
};

} // namespace

CCKey keyFromPlatformSymbol(int symbol) {
    for (const SymbolToKey& entry : kSymbolTable) {
        if (entry.symbol == symbol) return entry.key;
    }
    return CCKey::Unknown;
}

} // namespace kvengine
