// What a sprite costs to draw: a quad that leaves the picture as it was sends no fragment, and an
// opaque one is drawn with blending off (seen through a blend equation that would blacken it).
#include "engine/sprites/CCSprite.h"

#include "engine/platform/CCGL.h"
#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kvengine;

namespace {

constexpr ccBlendFunc kStraight{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
constexpr ccBlendFunc kPremultiplied{GL_ONE, GL_ONE_MINUS_SRC_ALPHA};
constexpr ccBlendFunc kAdditive{GL_SRC_ALPHA, GL_ONE};

class CCSpriteDrawCostTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override { useFrameDrawingState(); }
    void tearDownWithGL() override {
        for (CCTexture2D* texture : m_own)
            texture->release();
    }

    /// A 16 x 16 texture of one colour in `format` (RGBA8888 or RGB888).
    CCTexture2D* solid(int format, ccColor4B colour) {
        std::vector<uint8_t> texels;
        for (int i = 0; i < 16 * 16; ++i) {
            texels.insert(texels.end(), {colour.r, colour.g, colour.b});
            if (format == kCCPixelFormatRGBA8888) texels.push_back(colour.a);
        }
        auto* texture = new CCTexture2D();
        EXPECT_TRUE(texture->initWithData(texels.data(), format, 16, 16, CCSize(16, 16)));
        m_own.push_back(texture);
        return texture;
    }

    /// A sprite covering 32..47 x 32..47.
    static CCSprite* spriteOf(CCTexture2D* texture) {
        CCSprite* sprite = CCSprite::createWithTexture(texture);
        EXPECT_NE(sprite, nullptr);
        sprite->setPosition(CCPoint(40, 40));
        return sprite;
    }

private:
    std::vector<CCTexture2D*> m_own;
};

TEST_F(CCSpriteDrawCostTest, QuadsThatChangeNothingSendNoFragment) {
    struct Case {
        const char* name;
        ccBlendFunc blend;
        bool modifyRGB;
        uint8_t opacity;
        bool drawn;
    };
    const Case cases[] = {
        {"straight alpha, opacity 0", kStraight, false, 0, false},
        {"straight alpha, opacity 1", kStraight, false, 1, true},
        {"premultiplied colour, opacity 0", kPremultiplied, true, 0, false},
        // White at alpha 0 under (ONE, ONE_MINUS_SRC_ALPHA) still adds its colour.
        {"unpremultiplied colour under ONE, opacity 0", kPremultiplied, false, 0, true},
        {"additive, opacity 0", ccBlendFunc{GL_ONE, GL_ONE}, true, 0, true},
        {"additive with alpha, opacity 0", kAdditive, false, 0, true},
    };
    CCTexture2D* texture = solid(kCCPixelFormatRGBA8888, {255, 255, 255, 255});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCSprite* sprite = spriteOf(texture);
        sprite->setOpacityModifyRGB(c.modifyRGB);
        sprite->setColor(ccColor3B{255, 255, 255});
        sprite->setOpacity(c.opacity);
        sprite->setBlendFunc(c.blend);
        clear();
        EXPECT_EQ(gl.samplesPassed([&] { sprite->visit(); }), c.drawn ? 16u * 16u : 0u);
    }
}

TEST_F(CCSpriteDrawCostTest, ChildrenOfAFadedSpriteAreStillDrawn) {
    CCTexture2D* texture = solid(kCCPixelFormatRGBA8888, {0, 255, 0, 255});
    CCSprite* parent = spriteOf(texture);
    parent->setOpacity(0);
    CCSprite* below = CCSprite::createWithTexture(texture);
    CCSprite* above = CCSprite::createWithTexture(texture);
    below->setPosition(CCPoint(-8, 8)); // parent space: its centre, 16 pixels left
    above->setPosition(CCPoint(24, 8));
    parent->addChildAtZ(below, -1);
    parent->addChildAtZ(above, 1);
    clear();
    EXPECT_EQ(gl.samplesPassed([&] { parent->visit(); }), 2u * 16u * 16u);
    EXPECT_EQ(gl.pixel(24, 40), (kvtest::RGBA{0, 255, 0, 255}));
    EXPECT_EQ(gl.pixel(40, 40), (kvtest::RGBA{0, 0, 0, 255})); // the faded parent
    EXPECT_EQ(gl.pixel(56, 40), (kvtest::RGBA{0, 255, 0, 255}));

    parent->setVisible(false); // an invisible node hides its children as before
    EXPECT_EQ(gl.samplesPassed([&] { parent->visit(); }), 0u);
}

TEST_F(CCSpriteDrawCostTest, OpaqueSpritesDrawWithBlendingOff) {
    struct Case {
        const char* name;
        int format;
        uint8_t texelAlpha;
        bool markOpaque;
        uint8_t opacity;
        ccBlendFunc blend;
        bool blended;
    };
    const Case cases[] = {
        {"RGB texture", kCCPixelFormatRGB888, 255, false, 255, kStraight, false},
        {"RGB texture, premultiplied pair", kCCPixelFormatRGB888, 255, false, 255, kPremultiplied, false},
        {"RGBA texture marked opaque", kCCPixelFormatRGBA8888, 255, true, 255, kStraight, false},
        {"RGBA texture", kCCPixelFormatRGBA8888, 255, false, 255, kStraight, true},
        {"RGB texture at opacity 254", kCCPixelFormatRGB888, 255, false, 254, kStraight, true},
        {"RGB texture, additive pair", kCCPixelFormatRGB888, 255, false, 255, kAdditive, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCTexture2D* texture = solid(c.format, {200, 100, 50, c.texelAlpha});
        texture->setOpaque(c.markOpaque);
        CCSprite* sprite = spriteOf(texture);
        sprite->setOpacity(c.opacity);
        sprite->setBlendFunc(c.blend);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // Reverse subtraction turns a blended opaque source into black (dst x 0 - src); with
        // blending off the texel itself is written.
        glBlendEquation(GL_FUNC_REVERSE_SUBTRACT);
        sprite->visit();
        glBlendEquation(GL_FUNC_ADD);
        EXPECT_EQ(gl.pixel(40, 40) == (kvtest::RGBA{200, 100, 50, 255}), !c.blended);
        EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "blending is on again after the sprite";
    }
    glClearColor(0, 0, 0, 1);
}

TEST_F(CCSpriteDrawCostTest, BlendingLeftOffByTheCallerStaysOff) {
    CCSprite* sprite = spriteOf(solid(kCCPixelFormatRGB888, {200, 100, 50, 255}));
    glDisable(GL_BLEND);
    clear();
    sprite->visit();
    EXPECT_EQ(gl.pixel(40, 40), (kvtest::RGBA{200, 100, 50, 255}));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glEnable(GL_BLEND);
}

} // namespace
