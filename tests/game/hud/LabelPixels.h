#pragma once
// Pixel checks of the shadow and stroke labels: a headless GL context of one pixel per point,
// the drawing state the director keeps during a frame, and masks of what a drawing changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GLFixture.h"

namespace kvengine {
class CCNode;
}

namespace labelpixels {

/// One flag a pixel, rows from the bottom.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<bool> set;
    bool at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && set[y * width + x]; }
    int count() const;
    /// The leftmost and rightmost columns holding a set pixel (width and -1 when none).
    int left() const;
    int right() const;
    /// The lowest and highest rows holding a set pixel (height and -1 when none; y grows upwards).
    int bottom() const;
    int top() const;
};

/// The background every test draws on: a blue that neither white text nor a black rim matches.
constexpr unsigned char kBackgroundBlue = 200;

class LabelFixture : public kvtest::GLFixture {
protected:
    LabelFixture(int width, int height) : GLFixture(width, height) {}
    void setUpWithGL() override;
    void tearDownWithGL() override;

    /// Makes the node run, as on a running scene (its actions then advance); it leaves at the end.
    void enter(kvengine::CCNode* node);
    /// Clears to the background and draws the node (and its children) as a frame would.
    void draw(kvengine::CCNode* node);
    /// Pixels of text ink: red well above the background's (white or yellow text).
    Mask ink() const;
    /// Pixels the drawing changed at all (the text's whole footprint, its faint edges included).
    Mask touched() const;
    /// Pixels darkened below the background: shadow or black outline.
    Mask dark() const;
    /// Pixels whose colour is close to (r, g, b).
    Mask near(int r, int g, int b, int tolerance) const;
    /// Saves the back buffer as build/screenshots/<name> for a person to look at.
    void screenshot(const std::string& name) const;
    /// The largest distance (pixels, rounded up) from a pixel of `mask` to the nearest of `reference`.
    static int farthest(const Mask& mask, const Mask& reference);

private:
    std::vector<kvengine::CCNode*> m_entered;
};

} // namespace labelpixels
