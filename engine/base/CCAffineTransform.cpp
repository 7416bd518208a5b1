#include "engine/base/CCAffineTransform.h"

#include <algorithm>
#include <cmath>

namespace kvengine {

CCAffineTransform makeAffineTransform(float a, float b, float c, float d, float tx, float ty) {
    return {a, b, c, d, tx, ty};
}

CCAffineTransform identityAffineTransform() {
    return {};
}

CCPoint applyAffineTransformToPoint(const CCPoint& p, const CCAffineTransform& t) {
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

CCRect applyAffineTransformToRect(const CCRect& r, const CCAffineTransform& t) {
    float left = rectGetMinX(r), right = rectGetMaxX(r);
    float bottom = rectGetMinY(r), top = rectGetMaxY(r);
    CCPoint corners[4] = {
        applyAffineTransformToPoint({left, bottom}, t), applyAffineTransformToPoint({right, bottom}, t),
        applyAffineTransformToPoint({left, top}, t), applyAffineTransformToPoint({right, top}, t)};
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CCPoint& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {minX, minY, maxX - minX, maxY - minY};
}

CCAffineTransform translateAffineTransform(const CCAffineTransform& t, float x, float y) {
    return {t.a, t.b, t.c, t.d, t.tx + t.a * x + t.c * y, t.ty + t.b * x + t.d * y};
}

CCAffineTransform rotateAffineTransform(const CCAffineTransform& t, float angle) {
    float s = std::sin(angle);
    float k = std::cos(angle);
    return {k * t.a + s * t.c, k * t.b + s * t.d, k * t.c - s * t.a, k * t.d - s * t.b, t.tx, t.ty};
}

CCAffineTransform scaleAffineTransform(const CCAffineTransform& t, float sx, float sy) {
    return {t.a * sx, t.b * sx, t.c * sy, t.d * sy, t.tx, t.ty};
}

CCAffineTransform concatAffineTransform(const CCAffineTransform& t1, const CCAffineTransform& t2) {
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CCAffineTransform invertAffineTransform(const CCAffineTransform& t) {
    float det = t.a * t.d - t.b * t.c;
    float r = 1.0f / det;
    return {
        t.d * r, -t.b * r, -t.c * r, t.a * r, r * (t.c * t.ty - t.d * t.tx), r * (t.b * t.tx - t.a * t.ty)};
}

} // namespace kvengine
