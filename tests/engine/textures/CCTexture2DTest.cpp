#include "engine/textures/CCTexture2D.h"

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/textures/CCDecodedImage.h"

#include "TextureFixtures.h"
#include "support/GLFixture.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

class CCTexture2DTest : public kvtest::GLFixture {
protected:
    CCTexture2DTest() : GLFixture(64, 64) {}
    void tearDownWithGL() override {
        CCTexture2D::setDefaultAlphaPixelFormat(kCCPixelFormatRGBA8888);
        CCTexture2D::setMaxTextureSizeOverride(0);
    }

    // Texels of level 0 of a texture, read back in the given GL format and type.
    template <typename T>
    static std::vector<T> readBack(const CCTexture2D& texture, GLenum format, GLenum type, size_t perTexel) {
        std::vector<T> out(size_t(texture.getPixelsWide()) * texture.getPixelsHigh() * perTexel);
        glBindTexture(GL_TEXTURE_2D, texture.getName());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, type, out.data());
        return out;
    }

    static CCDecodedImage image(uint32_t w, uint32_t h, bool alpha, std::vector<unsigned char> pixel) {
        CCDecodedImage out;
        out.width = w;
        out.height = h;
        out.hasAlpha = alpha;
        out.premultipliedAlpha = alpha;
        out.bitsPerComponent = 8;
        for (uint32_t i = 0; i < w * h; ++i)
            out.pixels.insert(out.pixels.end(), pixel.begin(), pixel.end());
        return out;
    }
};

TEST_F(CCTexture2DTest, PadsAPictureToPowersOfTwo) {
    const CCDecodedImage picture = image(100, 60, true, {10, 20, 30, 255});
    CCTexture2D* texture = new CCTexture2D();
    ASSERT_TRUE(texture->initWithImage(&picture));
    EXPECT_NE(texture->getName(), 0u);
    EXPECT_EQ(texture->getPixelFormat(), kCCPixelFormatRGBA8888);
    EXPECT_EQ(texture->getPixelsWide(), 128u);
    EXPECT_EQ(texture->getPixelsHigh(), 64u);
    EXPECT_FLOAT_EQ(texture->getContentSizeInPixels().width, 100);
    EXPECT_FLOAT_EQ(texture->getContentSizeInPixels().height, 60);
    EXPECT_FLOAT_EQ(texture->getMaxS(), 0.78125f);
    EXPECT_FLOAT_EQ(texture->getMaxT(), 0.9375f);
    EXPECT_TRUE(texture->hasPremultipliedAlpha());
    CCDirector::getInstance()->setContentScaleFactor(2);
    EXPECT_FLOAT_EQ(texture->getContentSize().width, 50);
    EXPECT_FLOAT_EQ(texture->getContentSize().height, 30);
    CCDirector::getInstance()->setContentScaleFactor(1);
    EXPECT_FLOAT_EQ(texture->getContentSize().width, 100);
    const auto texels = readBack<unsigned char>(*texture, GL_RGBA, GL_UNSIGNED_BYTE, 4);
    EXPECT_EQ(texels[0], 10);
    EXPECT_EQ(texels[(59 * 128 + 99) * 4 + 3], 255);
    EXPECT_EQ(texels[(59 * 128 + 100) * 4 + 3], 0); // right margin
    EXPECT_EQ(texels[(60 * 128 + 0) * 4 + 3], 0);   // bottom margin
    texture->release();
}

TEST_F(CCTexture2DTest, ConvertsToTheDefaultAlphaPixelFormat) {
    struct Case {
        int format;
        std::vector<unsigned char> texel;
        GLenum type;
        uint16_t expected;
    } const cases[] = {
        {kCCPixelFormatRGBA4444, {255, 255, 255, 255}, GL_UNSIGNED_SHORT_4_4_4_4, 0xFFFF},
        {kCCPixelFormatRGB5A1, {255, 0, 0, 127}, GL_UNSIGNED_SHORT_5_5_5_1, 0xF800},
        {kCCPixelFormatRGB5A1, {0, 0, 255, 200}, GL_UNSIGNED_SHORT_5_5_5_1, 0x003F},
        {kCCPixelFormatRGBA4444, {0x12, 0x34, 0x56, 0x78}, GL_UNSIGNED_SHORT_4_4_4_4, 0x1357},
        {kCCPixelFormatRGB565, {255, 0, 255, 255}, GL_UNSIGNED_SHORT_5_6_5, 0xF81F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        CCTexture2D::setDefaultAlphaPixelFormat(c.format);
        const CCDecodedImage picture = image(4, 4, true, c.texel);
        CCTexture2D texture;
        ASSERT_TRUE(texture.initWithImage(&picture));
        EXPECT_EQ(texture.getPixelFormat(), c.format);
        const GLenum glFormat = c.format == kCCPixelFormatRGB565 ? GL_RGB : GL_RGBA;
        const auto texels = readBack<uint16_t>(texture, glFormat, c.type, 1);
        EXPECT_EQ(texels[0], c.expected);
        EXPECT_EQ(texels[15], c.expected);
    }
    // Opaque pictures are RGB888 whatever the default says.
    CCTexture2D::setDefaultAlphaPixelFormat(kCCPixelFormatRGBA4444);
    const CCDecodedImage opaque = image(2, 2, false, {1, 2, 3});
    CCTexture2D texture;
    ASSERT_TRUE(texture.initWithImage(&opaque));
    EXPECT_EQ(texture.getPixelFormat(), kCCPixelFormatRGB888);
    EXPECT_EQ(readBack<unsigned char>(texture, GL_RGB, GL_UNSIGNED_BYTE, 3)[2], 3);
    // A8 pictures keep their four bytes a texel.
    CCTexture2D::setDefaultAlphaPixelFormat(kCCPixelFormatA8);
    const CCDecodedImage alpha = image(2, 2, true, {9, 9, 9, 9});
    CCTexture2D a8;
    ASSERT_TRUE(a8.initWithImage(&alpha));
    EXPECT_EQ(a8.getPixelFormat(), kCCPixelFormatRGBA8888);
}

TEST_F(CCTexture2DTest, RefusesWhatItCannotUploadBeforeTouchingGL) {
    fixtures::LogCapture log;
    CCTexture2D::setMaxTextureSizeOverride(2048);
    const CCDecodedImage tall = image(1, 3000, true, {0, 0, 0, 0});
    CCTexture2D* texture = new CCTexture2D();
    EXPECT_FALSE(texture->initWithImage(&tall));
    EXPECT_EQ(texture->getName(), 0u);
    EXPECT_EQ(log.takeCount(), 1u);
    // The caller still owns the texture after a failed init.
    EXPECT_EQ(texture->retainCount(), 1u);
    texture->release();

    CCTexture2D::setDefaultAlphaPixelFormat(kCCPixelFormatI8);
    const CCDecodedImage small = image(2, 2, true, {1, 1, 1, 1});
    CCTexture2D grey;
    EXPECT_FALSE(grey.initWithImage(&small));
    EXPECT_EQ(grey.getName(), 0u);
    EXPECT_EQ(log.takeCount(), 1u);

    CCTexture2D empty;
    EXPECT_FALSE(empty.initWithImage(nullptr));
    EXPECT_FALSE(empty.initWithData(nullptr, 99, 4, 4, CCSize(4, 4)));
    EXPECT_FALSE(empty.initWithData(nullptr, kCCPixelFormatRGBA8888, 4096, 4, CCSize(4, 4)));
    EXPECT_EQ(empty.getName(), 0u);
    EXPECT_EQ(log.takeCount(), 3u);
}

TEST_F(CCTexture2DTest, InitWithDataUploadsEveryTableFormat) {
    const std::pair<int, size_t> formats[] = {
        {kCCPixelFormatRGBA8888, 4}, {kCCPixelFormatRGB888, 3}, {kCCPixelFormatRGB565, 2},
        {kCCPixelFormatA8, 1},       {kCCPixelFormatI8, 1},     {kCCPixelFormatAI88, 2},
        {kCCPixelFormatRGBA4444, 2}, {kCCPixelFormatRGB5A1, 2},
    };
    for (auto [format, bytes] : formats) {
        const std::vector<unsigned char> data(8 * 4 * bytes, 0x7F);
        CCTexture2D texture;
        ASSERT_TRUE(texture.initWithData(data.data(), format, 8, 4, CCSize(6, 3))) << format;
        EXPECT_EQ(texture.getPixelFormat(), format);
        EXPECT_FLOAT_EQ(texture.getMaxS(), 0.75f);
        EXPECT_FLOAT_EQ(texture.getMaxT(), 0.75f);
        EXPECT_FALSE(texture.hasPremultipliedAlpha());
    }
    // I8 uploads as luminance (read back as red).
    const unsigned char grey[4] = {200, 200, 200, 200};
    CCTexture2D texture;
    ASSERT_TRUE(texture.initWithData(grey, kCCPixelFormatI8, 2, 2, CCSize(2, 2)));
    EXPECT_EQ(readBack<unsigned char>(texture, GL_RGBA, GL_UNSIGNED_BYTE, 4)[0], 200);
}

TEST_F(CCTexture2DTest, TextTexturesAreSizedToTheTextAndPadded) {
    CCTexture2D texture;
    ASSERT_TRUE(texture.initWithString("Größe", "Arial", 20));
    CCDecodedImage rendered;
    ASSERT_TRUE(rendered.initWithString("Größe", 0, 0, 0x33, "Arial", 20));
    EXPECT_FLOAT_EQ(texture.getContentSizeInPixels().width, float(rendered.width));
    EXPECT_FLOAT_EQ(texture.getContentSizeInPixels().height, float(rendered.height));
    EXPECT_EQ(texture.getPixelsWide(), nextPowerOfTwo(rendered.width));
    EXPECT_EQ(texture.getPixelsHigh(), nextPowerOfTwo(rendered.height));
    EXPECT_FALSE(texture.hasPremultipliedAlpha());

    CCTexture2D boxed;
    ASSERT_TRUE(boxed.initWithWideString(u"été", "Arial", 20, CCSize(100.7f, 40.2f), 0));
    EXPECT_FLOAT_EQ(boxed.getContentSizeInPixels().width, 100);
    EXPECT_FLOAT_EQ(boxed.getContentSizeInPixels().height, 40);
    EXPECT_EQ(boxed.getPixelsWide(), 128u);

    CCTexture2D none;
    EXPECT_FALSE(none.initWithString(nullptr, "Arial", 20));
    CCTexture2D::setMaxTextureSizeOverride(256);
    EXPECT_FALSE(none.initWithString("a", "Arial", 20, CCSize(300, 10), 1));
    EXPECT_FALSE(none.initWithWideString(u"a", "Arial", 20, CCSize(10, 257), 1));
    EXPECT_EQ(none.getName(), 0u);
}

TEST_F(CCTexture2DTest, FiltersAreSetOnTheTexture) {
    const CCDecodedImage picture = image(2, 2, true, {1, 2, 3, 4});
    CCTexture2D texture;
    ASSERT_TRUE(texture.initWithImage(&picture));
    GLint minFilter = 0, magFilter = 0;
    texture.setAliasTexParameters();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);
    texture.setAntiAliasTexParameters();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
}

} // namespace

TEST_F(CCTexture2DTest, OpaqueTexelsAreKnownFromTheFormatThePictureOrAMark) {
    struct Case {
        const char* name;
        bool alpha;
        unsigned char lastAlpha; // of the picture's last pixel
        bool opaque;
    };
    const Case cases[] = {
        {"no alpha channel", false, 0, true},
        {"alpha 255 everywhere", true, 255, true},
        {"one pixel at 254", true, 254, false},
        {"one pixel clear", true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCDecodedImage picture =
            c.alpha ? image(5, 3, true, {10, 20, 30, 255}) : image(5, 3, false, {10, 20, 30});
        if (c.alpha) picture.pixels.back() = c.lastAlpha;
        CCTexture2D* texture = new CCTexture2D();
        ASSERT_TRUE(texture->initWithImage(&picture));
        EXPECT_EQ(texture->isOpaque(), c.opaque);
        texture->setOpaque(true);
        EXPECT_TRUE(texture->isOpaque());
        // A new upload forgets the mark; an RGBA format has no opaque texels of its own.
        const unsigned char texel[4] = {1, 2, 3, 4};
        ASSERT_TRUE(texture->initWithData(texel, kCCPixelFormatRGBA8888, 1, 1, CCSize(1, 1)));
        EXPECT_FALSE(texture->isOpaque());
        ASSERT_TRUE(texture->initWithData(texel, kCCPixelFormatRGB565, 1, 1, CCSize(1, 1)));
        EXPECT_TRUE(texture->isOpaque());
        texture->release();
    }
}
