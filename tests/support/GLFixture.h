#pragma once
// The fixture of every test that draws: a headless OpenGL context of the fixture's size, open
// for each test and closed after it, with the engine's shared drawing objects released before
// it closes.
//
//   class GridTest : public kvtest::GLFixture {
//   protected:
//       GridTest() : GLFixture(64, 64) {}
//       void setUpWithGL() override { ... }   // runs only when the context opened
//   };
//
// A context that cannot be made skips the test, or fails it when the CI variable is set (see
// Required.h).
#include "support/GLTestContext.h"
#include "support/Required.h"

#include "engine/nodes/CCProtocols.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kvengine {
class CCTexture2D;
}

namespace kvtest {

class GLFixture : public ::testing::Test {
protected:
    explicit GLFixture(int width = 128, int height = 128) : m_width(width), m_height(height) {}

    /// Opens the context, then calls setUpWithGL.
    void SetUp() final;
    /// When the context opened: tearDownWithGL, then the autorelease pools are emptied, the
    /// label, sprite-frame and texture caches purged, the textures of makeTexture released, the
    /// director destroyed and the context closed.
    void TearDown() final;

    /// The test's own preparation, with the context current.
    virtual void setUpWithGL() {}
    /// The test's own clean-up, before the shared objects go.
    virtual void tearDownWithGL() {}

    /// Enables the client arrays, texturing and premultiplied-alpha blending that the director
    /// keeps during a frame, for tests that draw nodes without running a frame.
    static void useFrameDrawingState();
    /// A pixelsWide x pixelsHigh RGBA texture filled with one colour whose picture is the content
    /// size (texels); the fixture owns it until the test ends.
    kvengine::CCTexture2D* makeTexture(uint32_t pixelsWide, uint32_t pixelsHigh, float contentWide,
                                       float contentHigh, kvengine::ccColor4B colour = {255, 0, 0, 255});
    /// Clears to opaque black.
    static void clear();
    /// Counts the pixels of exactly this colour (alpha ignored) inside and outside the rectangle
    /// (x0..x1, y0..y1, window pixels, edges included).
    void countPixels(const RGBA& colour, int x0, int y0, int x1, int y1, int* inside, int* outside) const;

    GLTestContext gl;

private:
    int m_width;
    int m_height;
    std::vector<kvengine::CCTexture2D*> m_textures;
};

} // namespace kvtest
