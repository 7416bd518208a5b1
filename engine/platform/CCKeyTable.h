#pragma once
#include "engine/platform/CCPlatformEvent.h"

namespace kvengine {

/// Engine key codes, the values of the director's key-code queue (see CCDirector).
enum CCKeyCode : int {
    kCCKeyCodeNone = -1,
    kCCKeyCodeEscape = 0,
    kCCKeyCodeRight = 1,
    kCCKeyCodeLeft = 2,
    kCCKeyCodeUp = 3,
    kCCKeyCodeDown = 4,
    kCCKeyCodeAdd = 5,
    kCCKeyCodeSubtract = 6,
    kCCKeyCodeSpace = 7,
};

/// The key code a key-down produces, or kCCKeyCodeNone. Escape and Space are reported here too;
/// whether they are blocked is the view's decision.
int keyCodeForKey(CCKey key);

/// Translates a platform key symbol (an SDL keycode) into a CCKey; Unknown for keys the engine
/// does not use. Letters are matched by symbol, so the Z/Q/S/D layout works as W/A/S/D does.
CCKey keyFromPlatformSymbol(int symbol);

} // namespace kvengine
