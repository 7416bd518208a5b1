#include "engine/base/CCOrientation.h"

namespace kvengine {

namespace {

const CCOrientationTransform kTransforms[] = {
    // swapsSides, signX, signY, txW, txH, tyW, tyH, degrees
    {false, 1, -1, 0, 0, 0, 1, 0},   // portrait: (x, h - y)
    {false, -1, 1, 1, 0, 0, 0, 180}, // upside down: (w - x, y)
    {true, 1, 1, 0, 0, 0, 0, -90},   // landscape right: (y, x)
    {true, -1, -1, 0, 1, 1, 0, 90},  // landscape left: (h - y, w - x)
};

} // namespace

const CCOrientationTransform& CCOrientationTransform::of(int orientation) {
    return orientation >= kCCOrientationPortrait && orientation <= kCCOrientationLandscapeLeft
               ? kTransforms[orientation]
               : kTransforms[kCCOrientationPortrait];
}

CCPoint CCOrientationTransform::toGL(const CCPoint& ui, const CCSize& window) const {
    const CCPoint turned = deltaToGL(ui);
    return CCPoint(turned.x + txW * window.width + txH * window.height,
                   turned.y + tyW * window.width + tyH * window.height);
}

CCPoint CCOrientationTransform::toUI(const CCPoint& gl, const CCSize& window) const {
    const float u = (gl.x - (txW * window.width + txH * window.height)) * signX;
    const float v = (gl.y - (tyW * window.width + tyH * window.height)) * signY;
    return swapsSides ? CCPoint(v, u) : CCPoint(u, v);
}

CCPoint CCOrientationTransform::deltaToGL(const CCPoint& delta) const {
    return swapsSides ? CCPoint(signX * delta.y, signY * delta.x) : CCPoint(signX * delta.x, signY * delta.y);
}

CCSize CCOrientationTransform::orient(const CCSize& size) const {
    return swapsSides ? CCSize(size.height, size.width) : size;
}

} // namespace kvengine
