#include "engine/sprites/CCSprite.h"

#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"

#include "engine/platform/CCGL.h"

#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace kvengine;

namespace {

class CCSpriteTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override { useFrameDrawingState(); }
};

struct TexBox {
    float left, right, top, bottom;
};

// Reads the four texture coordinates back as (left, right, top, bottom) of an unrotated quad.
TexBox texBox(const ccV3F_C4B_T2F_Quad& q) {
    return {q.bl.texCoords.u, q.br.texCoords.u, q.tl.texCoords.v, q.bl.texCoords.v};
}

void expectTex(const ccTex2F& t, float u, float v, const char* what) {
    EXPECT_FLOAT_EQ(t.u, u) << what;
    EXPECT_FLOAT_EQ(t.v, v) << what;
}

void expectXY(const ccVertex3F& p, float x, float y, const char* what) {
    EXPECT_FLOAT_EQ(p.x, x) << what;
    EXPECT_FLOAT_EQ(p.y, y) << what;
}

TEST_F(CCSpriteTest, WholeTextureCoordinatesCornersAndFlips) {
    CCTexture2D* texture = makeTexture(128, 64, 100, 60);
    CCSprite* sprite = CCSprite::createWithTexture(texture);
    ASSERT_NE(sprite, nullptr);
    const TexBox box = texBox(sprite->getQuad());
    EXPECT_FLOAT_EQ(box.left, 0.0f);
    EXPECT_FLOAT_EQ(box.right, 0.78125f);
    EXPECT_FLOAT_EQ(box.top, 0.0f);
    EXPECT_FLOAT_EQ(box.bottom, 0.9375f);
    expectXY(sprite->getQuad().bl.vertices, 0, 0, "bottom-left");
    expectXY(sprite->getQuad().tr.vertices, 100, 60, "top-right");
    EXPECT_FLOAT_EQ(sprite->getContentSize().width, 100.0f);

    sprite->setFlipX(true);
    expectTex(sprite->getQuad().bl.texCoords, 0.78125f, 0.9375f, "flipped x bottom-left");
    expectTex(sprite->getQuad().br.texCoords, 0.0f, 0.9375f, "flipped x bottom-right");
    sprite->setFlipY(true);
    expectTex(sprite->getQuad().bl.texCoords, 0.78125f, 0.0f, "flipped both bottom-left");
    sprite->setFlipX(false);
    sprite->setFlipY(false);
    expectTex(sprite->getQuad().bl.texCoords, 0.0f, 0.9375f, "unflipped bottom-left");

    // Straight-alpha texture: straight blending and no premultiplied colours.
    EXPECT_EQ(sprite->getBlendFunc().src, 770u);
    EXPECT_FALSE(sprite->isOpacityModifyRGB());
}

TEST_F(CCSpriteTest, TrimmedFrameOffsetFollowsFlipX) {
    CCTexture2D* texture = makeTexture(128, 64, 128, 64);
    CCSpriteFrame* frame = CCSpriteFrame::createWithTexture(texture, false, CCRect(0, 0, 100, 60),
                                                            CCPoint(5, 0), CCSize(110, 60));
    CCSprite* sprite = CCSprite::createWithSpriteFrame(frame);
    ASSERT_NE(sprite, nullptr);
    EXPECT_FLOAT_EQ(sprite->getContentSizeInPixels().width, 110.0f);
    EXPECT_FLOAT_EQ(sprite->getOffsetPositionInPixels().x, 10.0f); // 5 + (110 - 100) / 2
    expectXY(sprite->getQuad().bl.vertices, 10, 0, "bottom-left");
    sprite->setFlipX(true);
    EXPECT_FLOAT_EQ(sprite->getOffsetPositionInPixels().x, 0.0f); // -5 + 5
    expectXY(sprite->getQuad().tr.vertices, 100, 60, "flipped top-right");
    EXPECT_TRUE(sprite->isFrameDisplayed(frame));

    CCSpriteFrame* shown = sprite->createDisplayedFrame();
    EXPECT_EQ(shown->getTexture(), texture);
    EXPECT_FLOAT_EQ(shown->getOffsetInPixels().x, 5.0f);
    EXPECT_FLOAT_EQ(shown->getOriginalSizeInPixels().width, 110.0f);
}

TEST_F(CCSpriteTest, RotatedFrameMapsItsCornersAcrossTheTexture) {
    CCTexture2D* texture = makeTexture(64, 64, 64, 64);
    CCSpriteFrame* frame =
        CCSpriteFrame::createWithTexture(texture, true, CCRect(10, 10, 20, 40), CCPointZero, CCSize(20, 40));
    CCSprite* sprite = CCSprite::createWithSpriteFrame(frame);
    ASSERT_NE(sprite, nullptr);
    const float left = 10 / 64.f, right = 50 / 64.f, top = 10 / 64.f, bottom = 30 / 64.f;
    const ccV3F_C4B_T2F_Quad& q = sprite->getQuad();
    expectTex(q.bl.texCoords, left, top, "bottom-left");
    expectTex(q.br.texCoords, left, bottom, "bottom-right");
    expectTex(q.tl.texCoords, right, top, "top-left");
    expectTex(q.tr.texCoords, right, bottom, "top-right");
    expectXY(q.tr.vertices, 20, 40, "top-right corner");
    EXPECT_TRUE(sprite->isTextureRectRotated());

    sprite->setFlipX(true); // rotated: flip x swaps top and bottom
    expectTex(sprite->getQuad().bl.texCoords, left, bottom, "flipped bottom-left");
}

TEST_F(CCSpriteTest, ColourIsPremultipliedOnlyWhenOpacityModifiesRGB) {
    CCSprite* sprite = CCSprite::createWithTexture(makeTexture(8, 8, 8, 8));
    ASSERT_NE(sprite, nullptr);
    struct Case {
        bool modify;
        ccColor4B vertex;
    } cases[] = {{true, {100, 50, 25, 128}}, {false, {200, 100, 50, 128}}};
    for (const Case& c : cases) {
        sprite->setOpacityModifyRGB(c.modify);
        sprite->setOpacity(128);
        sprite->setColor(ccColor3B{200, 100, 50});
        EXPECT_EQ(sprite->getQuad().tl.colors, c.vertex) << "modify " << c.modify;
        EXPECT_EQ(sprite->getQuad().br.colors, c.vertex) << "modify " << c.modify;
        EXPECT_EQ(sprite->getColor(), (ccColor3B{200, 100, 50}));
        EXPECT_EQ(sprite->getOpacity(), 128);
    }
}

TEST_F(CCSpriteTest, BadInputGivesNullAndALogLine) {
    kvtest::LogLines log;
    EXPECT_EQ(CCSprite::createWithFile("/nonexistent/none.png"), nullptr);
    EXPECT_EQ(CCSprite::createWithFile(nullptr), nullptr);
    EXPECT_EQ(CCSprite::createWithTexture(nullptr), nullptr);
    EXPECT_EQ(CCSprite::createWithSpriteFrame(nullptr), nullptr);
    EXPECT_EQ(CCSprite::createWithSpriteFrameName("no_such_frame.png"), nullptr);
    EXPECT_TRUE(log.contains("no_such_frame.png"));
    const size_t before = log.lines.size();
    CCSprite* sprite = CCSprite::createWithTexture(makeTexture(8, 8, 8, 8));
    sprite->setDisplayFrame(nullptr); // refused, the sprite keeps what it shows
    EXPECT_GT(log.lines.size(), before);
    EXPECT_FLOAT_EQ(sprite->getTextureRect().size.width, 8.0f);
    EXPECT_FALSE(sprite->isFrameDisplayed(nullptr));

    // No texture: draws with texture 0 and keeps zero texture coordinates.
    CCSprite* empty = new CCSprite();
    empty->setTextureRect(CCRect(0, 0, 10, 10));
    expectTex(empty->getQuad().tr.texCoords, 0, 0, "untextured");
    empty->draw();
    empty->release();
}

TEST_F(CCSpriteTest, DrawsItsTintedQuadInsideItsBoxOnly) {
    CCSprite* sprite = CCSprite::createWithTexture(makeTexture(16, 16, 16, 16, {255, 255, 255, 255}));
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(CCPoint(40, 40)); // anchor at the centre: covers 32..48
    sprite->setColor(ccColor3B{0, 0, 255});
    clear();
    sprite->visit();
    EXPECT_EQ(gl.pixel(40, 40), (kvtest::RGBA{0, 0, 255, 255}));
    EXPECT_EQ(gl.pixel(33, 47), (kvtest::RGBA{0, 0, 255, 255}));
    for (auto [x, y] : {std::pair{30, 40}, {50, 40}, {40, 30}, {40, 50}, {10, 100}})
        EXPECT_EQ(gl.pixel(x, y), (kvtest::RGBA{0, 0, 0, 255})) << x << "," << y;
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE); // the sprite's own blend pair is restored after drawing
}

} // namespace
