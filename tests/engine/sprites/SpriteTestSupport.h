#pragma once
// Shared set-up of the sprite tests: a headless GL context with the client arrays and texturing
// the director enables for a frame, and textures of known size and colour.
#include "support/GLTestContext.h"
#include "support/TestFiles.h"

#include "engine/nodes/CCProtocols.h"
#include "engine/textures/CCTexture2D.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace spritetest {

class GLFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    /// A pixelsWide x pixelsHigh RGBA texture filled with one colour whose picture is the
    /// content size (texels); owned by the fixture.
    kvengine::CCTexture2D* makeTexture(uint32_t pixelsWide, uint32_t pixelsHigh, float contentWide,
                                       float contentHigh, kvengine::ccColor4B colour = {255, 0, 0, 255});
    /// Clears to opaque black.
    void clear();

    kvtest::GLTestContext gl;

private:
    std::vector<kvengine::CCTexture2D*> m_textures;
};

} // namespace spritetest
