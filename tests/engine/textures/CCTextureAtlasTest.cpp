#include "engine/textures/CCTextureAtlas.h"

#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"

#include "TextureFixtures.h"
#include "support/GLFixture.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

// A quad tagged by the x of its top-left corner.
ccV3F_C4B_T2F_Quad tagged(float tag) {
    ccV3F_C4B_T2F_Quad quad;
    quad.tl.vertices.x = tag;
    return quad;
}

std::vector<float> tags(const CCTextureAtlas& atlas) {
    std::vector<float> out;
    for (uint32_t i = 0; i < atlas.getTotalQuads(); ++i)
        out.push_back(atlas.getQuads()[i].tl.vertices.x);
    return out;
}

TEST(CCTextureAtlas, FillsTheIndexPatternForTheCapacity) {
    CCTextureAtlas atlas;
    ASSERT_TRUE(atlas.initWithTexture(nullptr, 2));
    const std::vector<uint16_t> indices(atlas.getIndices(), atlas.getIndices() + 12);
    EXPECT_EQ(indices, std::vector<uint16_t>({0, 1, 2, 3, 2, 1, 4, 5, 6, 7, 6, 5}));
    EXPECT_EQ(atlas.getTotalQuads(), 0u);
    EXPECT_EQ(atlas.getCapacity(), 2u);
    ASSERT_TRUE(atlas.resizeCapacity(3));
    EXPECT_EQ(atlas.getIndices()[17], 9);

    CCTextureAtlas tooBig;
    fixtures::LogCapture log;
    EXPECT_FALSE(tooBig.initWithTexture(nullptr, CCTextureAtlas::kMaxCapacity + 1));
    EXPECT_EQ(log.takeCount(), 1u);
    EXPECT_TRUE(tooBig.initWithTexture(nullptr, 0)); // an empty atlas that can grow
    EXPECT_TRUE(tooBig.resizeCapacity(CCTextureAtlas::kMaxCapacity));
    EXPECT_EQ(tooBig.getIndices()[CCTextureAtlas::kMaxCapacity * 6 - 3], 65535);
}

TEST(CCTextureAtlas, UpdatesInsertsAndRemovesQuads) {
    CCTextureAtlas atlas;
    ASSERT_TRUE(atlas.initWithTexture(nullptr, 10));
    atlas.updateQuad(tagged(1), 0);
    atlas.updateQuad(tagged(2), 1);
    atlas.updateQuad(tagged(6), 5); // beyond the quads in use: they grow to 6
    EXPECT_EQ(atlas.getTotalQuads(), 6u);

    atlas.removeAllQuads();
    for (float t : {1.f, 2.f, 3.f})
        atlas.insertQuad(tagged(t), atlas.getTotalQuads());
    atlas.insertQuad(tagged(0), 0);
    EXPECT_EQ(tags(atlas), std::vector<float>({0, 1, 2, 3}));
    atlas.insertQuad(tagged(9), 2);
    EXPECT_EQ(tags(atlas), std::vector<float>({0, 1, 9, 2, 3}));
    atlas.removeQuadAtIndex(0);
    atlas.removeQuadAtIndex(3);
    EXPECT_EQ(tags(atlas), std::vector<float>({1, 9, 2}));

    // Indices outside the buffers are refused, logged and change nothing.
    fixtures::LogCapture log;
    atlas.updateQuad(tagged(7), 10);
    atlas.insertQuad(tagged(7), 4);
    atlas.removeQuadAtIndex(3);
    EXPECT_EQ(log.takeCount(), 3u);
    EXPECT_EQ(tags(atlas), std::vector<float>({1, 9, 2}));
    while (atlas.getTotalQuads() < atlas.getCapacity())
        atlas.insertQuad(tagged(5), 0);
    atlas.insertQuad(tagged(7), 0); // full
    EXPECT_EQ(log.takeCount(), 1u);
    EXPECT_EQ(atlas.getTotalQuads(), 10u);
}

TEST(CCTextureAtlas, ResizingKeepsQuadsAndCutsTheCount) {
    CCTextureAtlas atlas;
    ASSERT_TRUE(atlas.initWithTexture(nullptr, 10));
    for (int i = 0; i < 7; ++i)
        atlas.updateQuad(tagged(float(i)), uint32_t(i));
    ASSERT_TRUE(atlas.resizeCapacity(4));
    EXPECT_EQ(atlas.getCapacity(), 4u);
    EXPECT_EQ(tags(atlas), std::vector<float>({0, 1, 2, 3}));
    ASSERT_TRUE(atlas.resizeCapacity(40));
    EXPECT_EQ(tags(atlas), std::vector<float>({0, 1, 2, 3}));
    // Too large: refused without losing anything.
    EXPECT_FALSE(atlas.resizeCapacity(CCTextureAtlas::kMaxCapacity + 1));
    EXPECT_EQ(atlas.getCapacity(), 40u);
    EXPECT_EQ(atlas.getTotalQuads(), 4u);
}

class CCTextureAtlasDraw : public kvtest::GLFixture {
protected:
    CCTextureAtlasDraw() : GLFixture(64, 64) {}
    void setUpWithGL() override {
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void tearDownWithGL() override {
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    // A quad covering x0..x1, y0..y1 (pixels, origin bottom left) showing the whole texture.
    static ccV3F_C4B_T2F_Quad quad(float x0, float y0, float x1, float y1, ccColor4B colour) {
        ccV3F_C4B_T2F_Quad q;
        q.tl = {{x0, y1, 0}, colour, {0, 0}};
        q.bl = {{x0, y0, 0}, colour, {0, 1}};
        q.tr = {{x1, y1, 0}, colour, {1, 0}};
        q.br = {{x1, y0, 0}, colour, {1, 1}};
        return q;
    }
};

TEST_F(CCTextureAtlasDraw, DrawsTexturedQuadsWithPremultipliedBlending) {
    // 2 x 2 texels, premultiplied; the first row in memory is the top of the picture.
    const unsigned char texels[] = {
        255, 0, 0, 255, 0,   128, 0,   128, // top: opaque red, half-transparent green
        0,   0, 0, 0,   255, 255, 255, 255, // bottom: transparent, opaque white
    };
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithData(texels, kCCPixelFormatRGBA8888, 2, 2, CCSize(2, 2)));
    texture->setAliasTexParameters();
    texture->setTexParameters(GL_NEAREST, GL_NEAREST);
    CCTextureAtlas* atlas = new CCTextureAtlas();
    ASSERT_TRUE(atlas->initWithTexture(texture, 2));
    texture->release(); // the atlas keeps it alive
    EXPECT_EQ(texture->retainCount(), 1u);

    atlas->updateQuad(quad(0, 0, 32, 32, {255, 255, 255, 255}), 0);
    atlas->drawQuads(0);
    EXPECT_EQ(gl.pixel(8, 24), (kvtest::RGBA{0, 0, 255, 255})); // nothing drawn yet
    atlas->drawAllQuads();

    EXPECT_EQ(gl.pixel(8, 24), (kvtest::RGBA{255, 0, 0, 255})); // top left: red covers blue
    EXPECT_EQ(gl.pixel(8, 8), (kvtest::RGBA{0, 0, 255, 255}));  // bottom left: transparent
    EXPECT_EQ(gl.pixel(24, 8), (kvtest::RGBA{255, 255, 255, 255}));
    const kvtest::RGBA half = gl.pixel(24, 24); // green 128 over blue with 1 - 128/255 left
    EXPECT_EQ(half.r, 0);
    EXPECT_NEAR(half.g, 128, 1);
    EXPECT_NEAR(half.b, 127, 1);
    EXPECT_EQ(gl.pixel(40, 40), (kvtest::RGBA{0, 0, 255, 255})); // outside the quad

    // A second quad with a half-opaque vertex colour: premultiplied sprites fade by scaling all
    // four channels, so the red texel becomes (128, 0, 0, 128) over blue.
    atlas->updateQuad(quad(32, 32, 64, 64, {128, 128, 128, 128}), 1);
    atlas->drawQuads(2);
    const kvtest::RGBA faded = gl.pixel(40, 56);
    EXPECT_NEAR(faded.r, 128, 1);
    EXPECT_EQ(faded.g, 0);
    EXPECT_NEAR(faded.b, 127, 1);
    atlas->release();
}

} // namespace
