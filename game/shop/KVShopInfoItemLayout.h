#pragma once

#include <string>

#include "engine/base/CCGeometry.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"

/// Fonts, button kinds and positions the shop panel's build and purchase code share.
namespace kvshoplayout {

inline const char* const kProductFont = "fonts/Kelvos-Kelvos.ttf";
inline const char* const kPriceFont = "Junction 02";
/// A price with the pearl; the buy button's text; the unavailable button (a plain centred caption).
constexpr int kPriceKind = 8;
constexpr int kBuyKind = 9;
constexpr int kUnavailableKind = 25;
constexpr int kHintZ = 1010;
/// The armed label of the buy button.
inline const kvengine::ccColor3B kArmedColour{247, 181, 5};
/// The unavailable button's look.
inline const kvengine::ccColor3B kDimmed{110, 110, 110};
constexpr unsigned char kDimmedOpacity = 150;

inline bool isWide() {
    return kvengine::CCDirector::wideScreen != 0;
}

/// A fixed position of the 800 x 600 layout, moved by (+64, -32) on the wide one.
inline kvengine::CCPoint at(float x, float y) {
    return isWide() ? kvengine::CCPoint(x + 64, y - 32) : kvengine::CCPoint(x, y);
}

inline std::string textOf(kvengine::CCString* text) {
    return text != nullptr ? text->c_str() : "";
}

} // namespace kvshoplayout
