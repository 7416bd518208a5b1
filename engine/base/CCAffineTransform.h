#pragma once

#include "engine/base/CCGeometry.h"

namespace kvengine {

/// 2-D affine transform: maps (x, y) to (a*x + c*y + tx, b*x + d*y + ty). Angles in radians,
/// positive counter-clockwise with y up.
struct CCAffineTransform {
    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, tx = 0.0f, ty = 0.0f;
};

inline constexpr CCAffineTransform CCAffineTransformIdentity{};

CCAffineTransform makeAffineTransform(float a, float b, float c, float d, float tx, float ty);
CCAffineTransform identityAffineTransform();
CCPoint applyAffineTransformToPoint(const CCPoint& point, const CCAffineTransform& t);
/// Axis-aligned bounding box of the four transformed corners.
CCRect applyAffineTransformToRect(const CCRect& rect, const CCAffineTransform& t);
/// The translation acts on a point first, then t.
CCAffineTransform translateAffineTransform(const CCAffineTransform& t, float x, float y);
/// The rotation acts on a point first, then t.
CCAffineTransform rotateAffineTransform(const CCAffineTransform& t, float angle);
/// The scale acts on a point first, then t.
CCAffineTransform scaleAffineTransform(const CCAffineTransform& t, float sx, float sy);
/// Applies t1 first, then t2.
CCAffineTransform concatAffineTransform(const CCAffineTransform& t1, const CCAffineTransform& t2);
/// The inverse; a singular transform gives infinite or NaN fields (the determinant is not tested).
CCAffineTransform invertAffineTransform(const CCAffineTransform& t);

} // namespace kvengine
