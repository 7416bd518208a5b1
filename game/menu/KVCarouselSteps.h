#pragma once

namespace kvengine {
class CCMenu;
class CCNotification;
} // namespace kvengine
class KVScrollScalableItem;

/// The arrows and arrow keys of a screen with a carousel (the world map, the about screen): each
/// press glides the row one entry along, and an arrow shows only while there is somewhere to go.
namespace kvmenu {

/// Moves the carousel one entry forward (`direction` +1) or back (-1), by `step` points, when its
/// row is at rest and `current` (0 .. last) is not already at that end; `current` then follows,
/// the arrow behind is shown and the arrow ahead hidden at the end. False (nothing changed) when
/// the press is refused, when the carousel is null or has no scroll view yet.
bool stepCarousel(KVScrollScalableItem* carousel, int direction, float step, int& current, int last,
                  kvengine::CCMenu* previousArrow, kvengine::CCMenu* nextArrow);

/// The direction an "EVENT_KEY_PRESS" asks for: +1 for "TOUCH_RIGHT", -1 for "TOUCH_LEFT", 0 for
/// other keys or a notification without a key name.
int arrowKeyDirection(kvengine::CCNotification* notification);

} // namespace kvmenu
