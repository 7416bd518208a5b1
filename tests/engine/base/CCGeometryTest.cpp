#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/base/CCAffineTransform.h"
#include "engine/base/CCGeometry.h"

using namespace kvengine;

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

void expectTransformNear(const CCAffineTransform& t, const CCAffineTransform& e) {
    EXPECT_NEAR(t.a, e.a, 1e-5f);
    EXPECT_NEAR(t.b, e.b, 1e-5f);
    EXPECT_NEAR(t.c, e.c, 1e-5f);
    EXPECT_NEAR(t.d, e.d, 1e-5f);
    EXPECT_NEAR(t.tx, e.tx, 1e-4f);
    EXPECT_NEAR(t.ty, e.ty, 1e-4f);
}
} // namespace

TEST(CCGeometryTest, RectContainsPointWithInclusiveEdges) {
    CCRect rect(0, 0, 10, 10);
    struct Case {
        CCPoint point;
        bool inside;
    } cases[] = {{{0, 0}, true},        {{10, 10}, true},      {{10, 0}, true},   {{5, 5}, true},
                 {{10.001f, 5}, false}, {{-0.001f, 5}, false}, {{kNaN, 5}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(rectContainsPoint(rect, c.point), c.inside) << c.point.x;
    EXPECT_FALSE(rectContainsPoint(CCRect(kNaN, 0, 10, 10), {5, 5}));
    EXPECT_EQ(rectGetMaxX(CCRect(1, 2, 3, 4)), 4.0f);
    EXPECT_EQ(rectGetMaxY(CCRect(1, 2, 3, 4)), 6.0f);
}

TEST(CCGeometryTest, EqualityIsExact) {
    EXPECT_TRUE(pointEqualToPoint({0, -0.0f}, {0, 0}));
    EXPECT_FALSE(pointEqualToPoint({kNaN, 0}, {kNaN, 0}));
    EXPECT_FALSE(pointEqualToPoint({1, 1}, {1, 1.0000001f}));
    EXPECT_TRUE(rectEqualToRect(CCRect(1, 2, 3, 4), CCRect(1, 2, 3, 4)));
    EXPECT_FALSE(sizeEqualToSize({1, 2}, {2, 1}));
}

TEST(CCGeometryTest, VectorHelpers) {
    EXPECT_FLOAT_EQ(pointDistance({1, 1}, {4, 5}), 5.0f);
    CCPoint n = normalizePoint({0, 0});
    EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y));
    EXPECT_FLOAT_EQ(signedAngleBetweenVectors({1, 0}, {0, 1}), kPi / 2);
    EXPECT_FLOAT_EQ(signedAngleBetweenVectors({0, 1}, {1, 0}), -kPi / 2);
    EXPECT_EQ(signedAngleBetweenVectors({3, 4}, {3, 4}), 0.0f);
    EXPECT_TRUE(std::isnan(signedAngleBetweenVectors({0, 0}, {1, 0})));
    CCPoint turned = rotatePointAroundPivot({2, 1}, {1, 1}, kPi / 2);
    EXPECT_NEAR(turned.x, 1.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 2.0f, 1e-6f);
    EXPECT_TRUE(pointEqualToPoint(lerpPoint({0, 0}, {10, 20}, -1), {0, 0}));
    EXPECT_TRUE(pointEqualToPoint(lerpPoint({0, 0}, {10, 20}, 2), {10, 20}));
    EXPECT_TRUE(pointEqualToPoint(lerpPoint({0, 0}, {10, 20}, 0.5f), {5, 10}));
    EXPECT_TRUE(isPointNearZero({0, 0}, 0));
    EXPECT_FALSE(isPointNearZero({0.1f, 0}, 0));
    EXPECT_TRUE(isPointNearZero({1, -1}, 1));
}

TEST(CCGeometryTest, ClampFloat) {
    struct Case {
        float value, min, max, expected;
    } cases[] = {{5, 0, 10, 5}, {-1, 0, 10, 0}, {11, 0, 10, 10}, {5, 10, 0, 0}, {-5, 10, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(clampFloat(c.value, c.min, c.max), c.expected);
}

TEST(CCAffineTransformTest, ConcatenationAppliesTheFirstTransformFirst) {
    CCAffineTransform move = translateAffineTransform(identityAffineTransform(), 10, 0);
    CCAffineTransform twice = scaleAffineTransform(identityAffineTransform(), 2, 2);
    CCPoint p = applyAffineTransformToPoint({1, 1}, concatAffineTransform(move, twice));
    EXPECT_TRUE(pointEqualToPoint(p, {22, 2}));
    p = applyAffineTransformToPoint({1, 1}, concatAffineTransform(twice, move));
    EXPECT_TRUE(pointEqualToPoint(p, {12, 2}));
    // Each step helper puts its step before the given transform.
    CCAffineTransform t = makeAffineTransform(1, 2, 3, 4, 5, 6);
    CCAffineTransform turn = rotateAffineTransform(identityAffineTransform(), 0.3f);
    expectTransformNear(rotateAffineTransform(t, 0.3f), concatAffineTransform(turn, t));
    expectTransformNear(scaleAffineTransform(t, 2, 3),
                        concatAffineTransform(makeAffineTransform(2, 0, 0, 3, 0, 0), t));
    expectTransformNear(translateAffineTransform(t, 7, 8),
                        concatAffineTransform(makeAffineTransform(1, 0, 0, 1, 7, 8), t));
}

TEST(CCAffineTransformTest, Inversion) {
    expectTransformNear(invertAffineTransform(CCAffineTransformIdentity), CCAffineTransformIdentity);
    CCAffineTransform t =
        rotateAffineTransform(scaleAffineTransform(makeAffineTransform(1, 0, 0, 1, 30, -4), 2, 0.5f), 1.1f);
    expectTransformNear(concatAffineTransform(t, invertAffineTransform(t)), CCAffineTransformIdentity);
    expectTransformNear(concatAffineTransform(invertAffineTransform(t), t), CCAffineTransformIdentity);
    CCAffineTransform singular = invertAffineTransform(makeAffineTransform(0, 0, 0, 0, 1, 1));
    EXPECT_FALSE(std::isfinite(singular.a));
    EXPECT_FALSE(std::isfinite(singular.tx));
}

TEST(CCAffineTransformTest, RectBoundsUnderRotation) {
    CCRect r = applyAffineTransformToRect(CCRect(0, 0, 2, 1),
                                          rotateAffineTransform(identityAffineTransform(), kPi / 2));
    EXPECT_NEAR(r.origin.x, -1, 1e-5f);
    EXPECT_NEAR(r.origin.y, 0, 1e-5f);
    EXPECT_NEAR(r.size.width, 1, 1e-5f);
    EXPECT_NEAR(r.size.height, 2, 1e-5f);
}
