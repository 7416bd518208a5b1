#include "engine/textures/CCTexturePixels.h"

#include "engine/textures/CCDecodedImage.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kvengine;

namespace {

TEST(CCTexturePixels, NextPowerOfTwo) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0, 0},           {1, 1},    {2, 2},       {3, 4},
        {64, 64},         {65, 128}, {3000, 4096}, {0x80000000u, 0x80000000u},
        {0x80000001u, 0},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(nextPowerOfTwo(in), out) << in;
}

TEST(CCTexturePixels, RepacksTexelsToSixteenBits) {
    struct Case {
        int format;
        uint8_t r, g, b, a;
        uint16_t expected;
    } const cases[] = {
        {kCCPixelFormatRGBA4444, 255, 255, 255, 255, 0xFFFF},
        {kCCPixelFormatRGBA4444, 0x12, 0x34, 0x56, 0x78, 0x1357},
        {kCCPixelFormatRGB5A1, 255, 0, 0, 127, 0xF800},
        {kCCPixelFormatRGB5A1, 255, 0, 0, 128, 0xF801},
        {kCCPixelFormatRGB5A1, 0, 255, 0, 255, 0x07C1},
        {kCCPixelFormatRGB565, 255, 255, 255, 0, 0xFFFF},
        {kCCPixelFormatRGB565, 8, 4, 8, 255, 0x0821},
        {kCCPixelFormatRGB565, 0, 255, 0, 0, 0x07E0},
    };
    for (const Case& c : cases) {
        CCDecodedImage image;
        image.width = image.height = 1;
        image.hasAlpha = true;
        image.pixels = {c.r, c.g, c.b, c.a};
        std::vector<unsigned char> out;
        ASSERT_TRUE(convertImageToTexels(image, c.format, 1, 1, &out));
        ASSERT_EQ(out.size(), 2u);
        uint16_t v = 0;
        std::memcpy(&v, out.data(), 2);
        EXPECT_EQ(v, c.expected) << "format " << c.format << " texel " << int(c.r) << "," << int(c.g) << ","
                                 << int(c.b) << "," << int(c.a);
    }
}

CCDecodedImage filledImage(uint32_t w, uint32_t h, bool alpha, unsigned char value) {
    CCDecodedImage image;
    image.width = w;
    image.height = h;
    image.hasAlpha = alpha;
    image.bitsPerComponent = 8;
    image.pixels.assign(size_t(w) * h * (alpha ? 4 : 3), value);
    return image;
}

TEST(CCTexturePixels, PadsPicturesIntoTheTopLeftCorner) {
    const CCDecodedImage image = filledImage(100, 60, true, 0xAB);
    std::vector<unsigned char> out;
    ASSERT_TRUE(convertImageToTexels(image, kCCPixelFormatRGBA8888, 128, 64, &out));
    ASSERT_EQ(out.size(), 128u * 64u * 4u);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 128; ++x) {
            const unsigned char expected = (x < 100 && y < 60) ? 0xAB : 0;
            ASSERT_EQ(out[(y * 128 + x) * 4 + 3], expected) << x << "," << y;
        }
    }
    // A picture already of power-of-two size is taken as it is.
    CCDecodedImage square = filledImage(64, 64, false, 0);
    for (size_t i = 0; i < square.pixels.size(); ++i)
        square.pixels[i] = uint8_t(i * 7);
    ASSERT_TRUE(convertImageToTexels(square, kCCPixelFormatRGB888, 64, 64, &out));
    EXPECT_EQ(out, square.pixels);
    // A picture with alpha in RGB888 loses its alpha bytes.
    CCDecodedImage rgba = filledImage(1, 1, true, 0);
    rgba.pixels = {1, 2, 3, 4};
    ASSERT_TRUE(convertImageToTexels(rgba, kCCPixelFormatRGB888, 2, 1, &out));
    EXPECT_EQ(out, std::vector<unsigned char>({1, 2, 3, 0, 0, 0}));
    // Opaque pictures pad to RGB565 with a black margin.
    ASSERT_TRUE(convertImageToTexels(filledImage(3, 1, false, 0xFF), kCCPixelFormatRGB565, 4, 2, &out));
    EXPECT_EQ(out,
              std::vector<unsigned char>({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(CCTexturePixels, RefusesPairingsItCannotConvert) {
    std::vector<unsigned char> out;
    const CCDecodedImage alpha = filledImage(2, 2, true, 1);
    const CCDecodedImage opaque = filledImage(2, 2, false, 1);
    EXPECT_FALSE(convertImageToTexels(alpha, kCCPixelFormatI8, 2, 2, &out));
    EXPECT_FALSE(convertImageToTexels(alpha, kCCPixelFormatAI88, 2, 2, &out));
    EXPECT_FALSE(convertImageToTexels(alpha, 42, 2, 2, &out));
    EXPECT_FALSE(convertImageToTexels(opaque, kCCPixelFormatRGBA4444, 2, 2, &out));
    EXPECT_FALSE(convertImageToTexels(alpha, kCCPixelFormatRGBA8888, 1, 2, &out)); // texture too small
    CCDecodedImage broken = alpha;
    broken.pixels.pop_back();
    EXPECT_FALSE(convertImageToTexels(broken, kCCPixelFormatRGBA8888, 2, 2, &out));
    EXPECT_TRUE(out.empty());
}

} // namespace
