#pragma once

#include "engine/base/CCGeometry.h"

namespace kvengine {

/// How the picture is turned in the window. The numbers are the codes the director, the view and
/// the grid effects store.
enum CCOrientation : int {
    kCCOrientationPortrait = 0,
    kCCOrientationPortraitUpsideDown = 1, ///< turned half a turn
    kCCOrientationLandscapeRight = 2,     ///< turned a quarter turn clockwise; sides exchanged
    kCCOrientationLandscapeLeft = 3,      ///< turned a quarter turn counter-clockwise; sides exchanged
};

/// One orientation as a transform, so that every conversion reads the same table: a window (UI)
/// point (y growing downwards) is turned into GL by taking (x, y), or (y, x) when the sides are
/// exchanged, multiplying each by its sign and adding a translation made of the window's width and
/// height (in the unit of the point converted).
struct CCOrientationTransform {
    /// Width and height are exchanged (the two landscape codes); GL x then comes from UI y.
    bool swapsSides;
    /// Signs applied to the (possibly exchanged) coordinates.
    float signX, signY;
    /// Translation = (txW w + txH h, tyW w + tyH h).
    float txW, txH, tyW, tyH;
    /// The turn of the drawing about the window's centre, degrees about z.
    float degrees;

    /// The transform of an orientation code; a code outside 0-3 reads as portrait.
    static const CCOrientationTransform& of(int orientation);

    /// A window point to GL, with `window` the window size (unexchanged).
    CCPoint toGL(const CCPoint& ui, const CCSize& window) const;
    /// The inverse of toGL.
    CCPoint toUI(const CCPoint& gl, const CCSize& window) const;
    /// A window movement to GL (no translation).
    CCPoint deltaToGL(const CCPoint& delta) const;
    /// `size` with width and height exchanged when the orientation exchanges them.
    CCSize orient(const CCSize& size) const;
};

} // namespace kvengine
