#pragma once

namespace kvengine {

/// A point or vector in points (the engine's logical pixels; the game uses 32 points per metre).
struct CCPoint {
    float x = 0.0f;
    float y = 0.0f;
    constexpr CCPoint() = default;
    constexpr CCPoint(float x_, float y_) : x(x_), y(y_) {}
};

/// A size in points.
struct CCSize {
    float width = 0.0f;
    float height = 0.0f;
    constexpr CCSize() = default;
    constexpr CCSize(float width_, float height_) : width(width_), height(height_) {}
};

/// A rectangle in points; origin is the minimum corner.
struct CCRect {
    CCPoint origin;
    CCSize size;
    constexpr CCRect() = default;
    constexpr CCRect(float x, float y, float width, float height) : origin(x, y), size(width, height) {}
    constexpr CCRect(const CCPoint& origin_, const CCSize& size_) : origin(origin_), size(size_) {}
};

inline constexpr CCPoint CCPointZero{};
inline constexpr CCSize CCSizeZero{};
inline constexpr CCRect CCRectZero{};

float rectGetMinX(const CCRect& rect);
float rectGetMaxX(const CCRect& rect);
float rectGetMinY(const CCRect& rect);
float rectGetMaxY(const CCRect& rect);
/// Every edge inclusive; false when any value is NaN.
bool rectContainsPoint(const CCRect& rect, const CCPoint& point);

/// Exact float equality of every field (no tolerance; NaN is never equal; -0 equals 0).
bool pointEqualToPoint(const CCPoint& a, const CCPoint& b);
bool sizeEqualToSize(const CCSize& a, const CCSize& b);
bool rectEqualToRect(const CCRect& a, const CCRect& b);

CCPoint pointAdd(const CCPoint& a, const CCPoint& b);
CCPoint pointSubtract(const CCPoint& a, const CCPoint& b);
CCPoint pointMultiply(const CCPoint& v, float s);
float pointDot(const CCPoint& a, const CCPoint& b);
float pointLengthSquared(const CCPoint& v);
float pointLength(const CCPoint& v);
/// Length of b - a.
float pointDistance(const CCPoint& a, const CCPoint& b);
/// v / |v|; the zero vector gives NaN components.
CCPoint normalizePoint(const CCPoint& v);
/// atan2(v.y, v.x), radians.
float pointToAngle(const CCPoint& v);
/// (cos angle, sin angle).
CCPoint pointForAngle(float angle);
/// Counter-clockwise turn of `point` by `angle` radians about `pivot`.
CCPoint rotatePointAroundPivot(const CCPoint& point, const CCPoint& pivot, float angle);
/// a * (1 - t) + b * t with t first limited to [0, 1].
CCPoint lerpPoint(const CCPoint& a, const CCPoint& b, float t);
/// The turn from a to b in radians, positive counter-clockwise, in [-pi, pi]; exactly 0 below
/// the float epsilon; NaN when either vector is zero.
float signedAngleBetweenVectors(const CCPoint& a, const CCPoint& b);
/// True when both components lie in [-variance, variance].
bool isPointNearZero(const CCPoint& point, float variance);
/// value limited to [min, max]; when max < min every value yields max.
float clampFloat(float value, float min, float max);

} // namespace kvengine
