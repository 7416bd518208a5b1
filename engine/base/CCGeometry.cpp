#include "engine/base/CCGeometry.h"

#include <cfloat>
#include <cmath>

namespace kvengine {

float rectGetMinX(const CCRect& rect) {
    return rect.origin.x;
}
float rectGetMaxX(const CCRect& rect) {
    return rect.origin.x + rect.size.width;
}
float rectGetMinY(const CCRect& rect) {
    return rect.origin.y;
}
float rectGetMaxY(const CCRect& rect) {
    return rect.origin.y + rect.size.height;
}

bool rectContainsPoint(const CCRect& rect, const CCPoint& point) {
    // Every comparison with NaN is false, so a NaN anywhere gives false.
    return point.x >= rectGetMinX(rect) && point.x <= rectGetMaxX(rect) && point.y >= rectGetMinY(rect) &&
           point.y <= rectGetMaxY(rect);
}

bool pointEqualToPoint(const CCPoint& a, const CCPoint& b) {
    return a.x == b.x && a.y == b.y;
}
bool sizeEqualToSize(const CCSize& a, const CCSize& b) {
    return a.width == b.width && a.height == b.height;
}
bool rectEqualToRect(const CCRect& a, const CCRect& b) {
    return pointEqualToPoint(a.origin, b.origin) && sizeEqualToSize(a.size, b.size);
}

CCPoint pointAdd(const CCPoint& a, const CCPoint& b) {
    return {a.x + b.x, a.y + b.y};
}
CCPoint pointSubtract(const CCPoint& a, const CCPoint& b) {
    return {a.x - b.x, a.y - b.y};
}
CCPoint pointMultiply(const CCPoint& v, float s) {
    return {v.x * s, v.y * s};
}
float pointDot(const CCPoint& a, const CCPoint& b) {
    return a.x * b.x + a.y * b.y;
}
float pointLengthSquared(const CCPoint& v) {
    return pointDot(v, v);
}
float pointLength(const CCPoint& v) {
    return std::sqrt(pointLengthSquared(v));
}
float pointDistance(const CCPoint& a, const CCPoint& b) {
    return pointLength(pointSubtract(b, a));
}
CCPoint normalizePoint(const CCPoint& v) {
    return pointMultiply(v, 1.0f / pointLength(v));
}
float pointToAngle(const CCPoint& v) {
    return std::atan2(v.y, v.x);
}
CCPoint pointForAngle(float angle) {
    return {std::cos(angle), std::sin(angle)};
}

CCPoint rotatePointAroundPivot(const CCPoint& point, const CCPoint& pivot, float angle) {
    float s = std::sin(angle);
    float k = std::cos(angle);
    float dx = point.x - pivot.x;
    float dy = point.y - pivot.y;
    return {pivot.x + (k * dx - s * dy), pivot.y + (s * dx + k * dy)};
}

CCPoint lerpPoint(const CCPoint& a, const CCPoint& b, float t) {
    t = clampFloat(t, 0.0f, 1.0f);
    return pointAdd(pointMultiply(a, 1.0f - t), pointMultiply(b, t));
}

float signedAngleBetweenVectors(const CCPoint& a, const CCPoint& b) {
    CCPoint na = normalizePoint(a);
    CCPoint nb = normalizePoint(b);
    float angle = std::atan2(na.x * nb.y - na.y * nb.x, pointDot(na, nb));
    if (std::fabs(angle) < FLT_EPSILON) return 0.0f;
    return angle;
}

bool isPointNearZero(const CCPoint& point, float variance) {
    return point.x >= -variance && point.x <= variance && point.y >= -variance && point.y <= variance;
}

float clampFloat(float value, float min, float max) {
    if (max < min) min = max;
    if (value < min) return min;
    if (value < max) return value;
    return max;
}

} // namespace kvengine
