#include "engine/base/CCOrientation.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

// A window of 800 x 600 points; the point (10, 50) is 10 from the left and 50 from the top.
TEST(OrientationTest, EachOrientationMapsTheWindowCornersAndConvertsBackExactly) {
    const CCSize window(800.0f, 600.0f);
    struct Case {
        int orientation;
        CCPoint gl;    // of the UI point (10, 50)
        CCPoint delta; // of the UI movement (3, 4)
        CCSize sides;  // the window's sides as seen by the scene
        float degrees;
    };
    const Case cases[] = {
        {kCCOrientationPortrait, {10, 550}, {3, -4}, {800, 600}, 0},
        {kCCOrientationPortraitUpsideDown, {790, 50}, {-3, 4}, {800, 600}, 180},
        {kCCOrientationLandscapeRight, {50, 10}, {4, 3}, {600, 800}, -90},
        {kCCOrientationLandscapeLeft, {550, 790}, {-4, -3}, {600, 800}, 90},
        {7, {10, 550}, {3, -4}, {800, 600}, 0}, // unknown codes read as portrait
        {-1, {10, 550}, {3, -4}, {800, 600}, 0},
    };
    const CCPoint probes[] = {{10, 50}, {0, 0}, {800, 600}, {-25.5f, 1234.25f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        const CCOrientationTransform& t = CCOrientationTransform::of(c.orientation);
        const CCPoint gl = t.toGL(CCPoint(10, 50), window);
        EXPECT_EQ(gl.x, c.gl.x);
        EXPECT_EQ(gl.y, c.gl.y);
        const CCPoint d = t.deltaToGL(CCPoint(3, 4));
        EXPECT_EQ(d.x, c.delta.x);
        EXPECT_EQ(d.y, c.delta.y);
        EXPECT_EQ(t.orient(window).width, c.sides.width);
        EXPECT_EQ(t.orient(window).height, c.sides.height);
        EXPECT_EQ(t.degrees, c.degrees);
        for (const CCPoint& p : probes) {
            // Back and forth gives the same point, and a movement is the difference of its ends.
            const CCPoint back = t.toUI(t.toGL(p, window), window);
            EXPECT_EQ(back.x, p.x);
            EXPECT_EQ(back.y, p.y);
            const CCPoint moved = t.toGL(CCPoint(p.x + 3, p.y + 4), window);
            const CCPoint start = t.toGL(p, window);
            EXPECT_EQ(moved.x - start.x, c.delta.x);
            EXPECT_EQ(moved.y - start.y, c.delta.y);
        }
    }
}

} // namespace
