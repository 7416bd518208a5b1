#include "engine/effects/CCRenderTexture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/director/CCDirector.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "tests/engine/files/FilesTestSupport.h"

using namespace kvengine;

namespace {

class RenderTextureTest : public kvtest::GLFixture {
protected:
    RenderTextureTest() : GLFixture(64, 64) {}
    void setUpWithGL() override { CCDirector::getInstance()->setWinSizeInPoints(CCSize(64, 64)); }
    void tearDownWithGL() override { CCDirector::getInstance()->setContentScaleFactor(1.0f); }
    kvtest::PoolScope pool;
};

TEST_F(RenderTextureTest, TextureIsPaddedToPowersOfTwoAndShownUpsideDown) {
    struct Case {
        float scale;
        int width, height;
        unsigned wide, high;
        float contentW, contentH;
    } cases[] = {
        {1, 100, 30, 128, 32, 100, 30},
        {1, 64, 64, 64, 64, 64, 64},
        {1, 65, 1, 128, 1, 65, 1},
        {2, 100, 30, 256, 64, 200, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width * c.scale);
        CCDirector::getInstance()->setContentScaleFactor(c.scale);
        CCRenderTexture* render = CCRenderTexture::createWithWidthHeight(c.width, c.height);
        ASSERT_NE(render, nullptr);
        CCTexture2D* texture = render->getTexture();
        EXPECT_EQ(texture->getPixelsWide(), c.wide);
        EXPECT_EQ(texture->getPixelsHigh(), c.high);
        EXPECT_FLOAT_EQ(texture->getContentSizeInPixels().width, c.contentW);
        EXPECT_FLOAT_EQ(texture->getContentSizeInPixels().height, c.contentH);
        CCSprite* sprite = render->getSprite();
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->getParent(), render);
        EXPECT_FLOAT_EQ(sprite->getContentSize().width, static_cast<float>(c.width));
        EXPECT_FLOAT_EQ(sprite->getContentSize().height, static_cast<float>(c.height));
        EXPECT_FLOAT_EQ(sprite->getScaleY(), -1);
    }
}

TEST_F(RenderTextureTest, BadSizesGiveNull) {
    kvtest::LogCapture log;
    EXPECT_EQ(CCRenderTexture::createWithWidthHeight(0, 10), nullptr);
    EXPECT_EQ(CCRenderTexture::createWithWidthHeight(10, -3), nullptr);
    EXPECT_EQ(CCRenderTexture::createWithWidthHeight(1 << 20, 4), nullptr);
    EXPECT_TRUE(log.contains("cannot be made"));
}

TEST_F(RenderTextureTest, DrawingBetweenBeginAndEndReachesTheTextureAndNotTheWindow) {
    CCRenderTexture* render = CCRenderTexture::createWithWidthHeight(32, 32);
    ASSERT_NE(render, nullptr);
    ASSERT_TRUE(render->drawsIntoTexture()) << "the test context has frame-buffer objects";
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    render->begin();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // A red square over the lower-left quarter of the texture: window points (0..16, 0..16).
    CCLayerColor::createWithColor(ccColor4B{255, 0, 0, 255}, 16, 16)->draw();
    render->end();
    GLint after[4];
    glGetIntegerv(GL_VIEWPORT, after);
    EXPECT_EQ(after[2], 64);
    EXPECT_EQ(after[3], 64);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(gl.pixel(4, 4), (kvtest::RGBA{0, 0, 0, 255})) << "the window is left alone";

    std::vector<unsigned char> texels(32 * 32 * 4, 9);
    glBindTexture(GL_TEXTURE_2D, render->getTexture()->getName());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto texel = [&texels](int x, int y) { return &texels[(static_cast<size_t>(y) * 32 + x) * 4]; };
    EXPECT_EQ(texel(2, 2)[0], 255);
    EXPECT_EQ(texel(2, 2)[3], 255);
    EXPECT_EQ(texel(15, 15)[0], 255);
    EXPECT_EQ(texel(20, 4)[3], 0) << "nothing drawn there: still transparent";
    EXPECT_EQ(texel(4, 20)[3], 0);
}

} // namespace
