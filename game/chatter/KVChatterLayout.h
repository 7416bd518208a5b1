#pragma once
// Helpers shared by the dialogue step views: the window's measures, the skip buttons and hit tests.
#include <string>

#include "engine/base/CCGeometry.h"

namespace kvengine {
class CCMenu;
class CCNode;
class CCSprite;
class CCString;
class CCTouch;
} // namespace kvengine

namespace kvchatter {

/// The window in points.
kvengine::CCSize winSize();
/// True on the wide design size (960 x 600).
bool isWide();
/// Points to pixels (the content scale factor).
float contentScale();

/// A one-item menu of the frames `up` and `down` (no action), the item scaled by `itemScale` with
/// anchor `itemAnchor`, the menu's touch size the item's size; null (logged) when a frame is missing.
kvengine::CCMenu* makeSkipButton(const char* up, const char* down, float itemScale,
                                 const kvengine::CCPoint& itemAnchor);
/// True when the touch, in GL coordinates, lies on `node` (for a menu: on its first item).
bool holds(kvengine::CCNode* node, const kvengine::CCPoint& glPoint);
/// The touch in GL coordinates.
kvengine::CCPoint glLocation(kvengine::CCTouch* touch);
/// The localised text of the step value `key` (the value itself without translation; "" without
/// the key). Autoreleased.
kvengine::CCString* localisedText(kvengine::CCString* key);

/// The text in lower case (ASCII letters).
std::string lowerCase(std::string text);
/// A sprite of a cached frame, or null (logged) when no loaded sheet has the frame.
kvengine::CCSprite* frameSprite(const std::string& name);

} // namespace kvchatter
