#include "engine/textures/CCDecodedImage.h"

#include "TextureFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kvengine;
using fixtures::Bytes;

namespace {

struct PngCase {
    const char* name;
    uint32_t width, height;
    int colorType, bitDepth;
    Bytes rows, palette, trns;
    bool hasAlpha;
    Bytes expected; // decoded pixels
};

std::vector<PngCase> pngCases() {
    return {
        // Colour premultiplied by (a + 1) >> 8; a = 0 clears the colour, a = 255 keeps it.
        {"rgba",
         3,
         1,
         6,
         8,
         {200, 100, 50, 128, 255, 255, 255, 0, 10, 20, 30, 255},
         {},
         {},
         true,
         {100, 50, 25, 128, 0, 0, 0, 0, 10, 20, 30, 255}},
        {"rgb", 2, 1, 2, 8, {1, 2, 3, 250, 251, 252}, {}, {}, false, {1, 2, 3, 250, 251, 252}},
        {"grey becomes rgb", 2, 1, 0, 8, {7, 200}, {}, {}, false, {7, 7, 7, 200, 200, 200}},
        // tRNS on grey: the grey value 9 is transparent, so its colour is premultiplied to 0.
        {"grey with tRNS", 2, 1, 0, 8, {9, 200}, {}, {0, 9}, true, {0, 0, 0, 0, 200, 200, 200, 255}},
        {"grey 1 bit", 8, 1, 0, 1, {0xA0}, {}, {}, false, {255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0,
                                                           0,   0,   0,   0, 0, 0, 0,   0,   0,   0, 0, 0}},
        {"palette with tRNS",
         2,
         1,
         3,
         8,
         {1, 0},
         {10, 20, 30, 40, 50, 60},
         {255, 0},
         true,
         {0, 0, 0, 0, 10, 20, 30, 255}},
        {"16-bit rgb stripped",
         1,
         1,
         2,
         16,
         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
         {},
         {},
         false,
         {0x12, 0x56, 0x9A}},
        {"grey alpha", 1, 2, 4, 8, {100, 255, 100, 0}, {}, {}, true, {100, 100, 100, 255, 0, 0, 0, 0}},
    };
}

TEST(CCDecodedImagePng, DecodesEveryColourTypeToEightBitRgbOrRgba) {
    for (const PngCase& c : pngCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file =
            fixtures::makePng(c.width, c.height, c.colorType, c.bitDepth, c.rows, c.palette, c.trns);
        CCDecodedImage image;
        ASSERT_TRUE(image.initWithPngData(file.data(), file.size()));
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.bitsPerComponent, 8);
        EXPECT_EQ(image.hasAlpha, c.hasAlpha);
        EXPECT_TRUE(image.premultipliedAlpha);
        EXPECT_EQ(image.pixels, c.expected);
    }
}

TEST(CCDecodedImagePng, RefusesBadInputWithoutKeepingPixels) {
    const Bytes good = fixtures::makeRgbaPng(4, 4, Bytes(64, 0x80));
    struct Case {
        const char* name;
        Bytes data;
    } cases[] = {
        {"seven bytes", Bytes(good.begin(), good.begin() + 7)},
        {"not a png", Bytes(100, 'x')},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"cut in the header", Bytes(good.begin(), good.begin() + 20)},
        {"cut in the image data", Bytes(good.begin(), good.end() - 20)},
    };
    fixtures::LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCDecodedImage image;
        image.pixels.assign(3, 1); // must not survive a failed decode
        EXPECT_FALSE(image.initWithPngData(c.data.data(), c.data.size()));
        EXPECT_GE(log.takeCount(), 1u);
        EXPECT_TRUE(image.pixels.empty());
        EXPECT_EQ(image.width, 0u);
    }
    CCDecodedImage image;
    EXPECT_FALSE(image.initWithPngData(nullptr, 100));
    EXPECT_FALSE(image.initWithImageData(good.data(), 0, CCDecodedImage::kFormatPng));
    EXPECT_FALSE(image.initWithImageData(good.data(), good.size(), 2));
    EXPECT_TRUE(image.initWithImageData(good.data(), good.size(), CCDecodedImage::kFormatPng));
}

TEST(CCDecodedImagePng, RefusesPicturesLargerThanTheLimitBeforeDecoding) {
    // The header claims 70000 x 1; the limit stops it before any row is allocated.
    const Bytes huge = fixtures::makePng(70000, 1, 0, 8, Bytes(70000, 0));
    CCDecodedImage image;
    EXPECT_FALSE(image.initWithPngData(huge.data(), huge.size()));
    const Bytes wide = fixtures::makeRgbaPng(65, 2, Bytes(65 * 2 * 4, 0xFF));
    EXPECT_FALSE(image.initWithPngData(wide.data(), wide.size(), 64));
    EXPECT_TRUE(image.initWithPngData(wide.data(), wide.size(), 65));
    EXPECT_EQ(image.width, 65u);
}

TEST(CCDecodedImageJpeg, DecodesGreyAndColourToRgb) {
    const Bytes grey = fixtures::makeJpeg(16, 8, 1, Bytes(16 * 8, 128));
    CCDecodedImage image;
    ASSERT_TRUE(image.initWithImageData(grey.data(), grey.size(), CCDecodedImage::kFormatJpeg));
    EXPECT_EQ(image.width, 16u);
    EXPECT_EQ(image.height, 8u);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_FALSE(image.premultipliedAlpha);
    EXPECT_EQ(image.bitsPerComponent, 8);
    ASSERT_EQ(image.pixels.size(), 16u * 8u * 3u);
    for (unsigned char v : image.pixels)
        EXPECT_NEAR(v, 128, 1);

    Bytes red;
    for (int i = 0; i < 8 * 8; ++i)
        red.insert(red.end(), {255, 0, 0});
    const Bytes colour = fixtures::makeJpeg(8, 8, 3, red);
    ASSERT_TRUE(image.initWithJpegData(colour.data(), colour.size()));
    ASSERT_EQ(image.pixels.size(), 8u * 8u * 3u);
    for (size_t i = 0; i < image.pixels.size(); i += 3) {
        EXPECT_NEAR(image.pixels[i], 255, 3);
        EXPECT_NEAR(image.pixels[i + 1], 0, 3);
        EXPECT_NEAR(image.pixels[i + 2], 0, 3);
    }
}

TEST(CCDecodedImageJpeg, RefusesBadInputWithoutEndingTheProcess) {
    // Varied samples, so that the entropy-coded data is long enough to cut in the middle.
    Bytes samples(32 * 32 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<unsigned char>((i * 37) ^ (i >> 5));
    const Bytes good = fixtures::makeJpeg(32, 32, 3, samples);
    Bytes garbled = good;
    for (size_t i = good.size() / 2; i < good.size() - 2; ++i)
        garbled[i] = 0xFF;
    // The entropy-coded data of the one scan starts after the SOS segment and ends at EOI.
    size_t scan = 0;
    for (size_t i = 0; i + 3 < good.size(); ++i) {
        if (good[i] == 0xFF && good[i + 1] == 0xDA) {
            scan = i + 2 + (size_t(good[i + 2]) << 8 | good[i + 3]);
            break;
        }
    }
    ASSERT_GT(scan, 0u);
    ASSERT_GT(good.size(), scan + 64);
    Bytes flipped = good; // one damaged byte in the scan data
    flipped[scan + 20] ^= 0xFF;
    struct Case {
        const char* name;
        Bytes data;
    } cases[] = {
        {"rgb coded", fixtures::makeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 90), true)},
        {"cmyk", fixtures::makeJpeg(8, 8, 4, Bytes(8 * 8 * 4, 90))},
        {"not a jpeg", Bytes(64, 'x')},
        {"header only", Bytes(good.begin(), good.begin() + 2)},
        {"cut in the tables", Bytes(good.begin(), good.begin() + 100)},
        // libjpeg would pad these out with grey rows and call them whole pictures.
        {"cut in the scan", Bytes(good.begin(), good.begin() + static_cast<long>((scan + good.size()) / 2))},
        {"cut before the end marker", Bytes(good.begin(), good.end() - 2)},
        {"scan data overwritten", garbled},
    };
    fixtures::LogCapture log;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCDecodedImage image;
        EXPECT_FALSE(image.initWithJpegData(c.data.data(), c.data.size()));
        EXPECT_GE(log.takeCount(), 1u);
        EXPECT_TRUE(image.pixels.empty());
    }
    // A damaged byte inside the scan may still decode as valid codes (no warning to go on), but
    // the result is a whole picture or a clean failure.
    CCDecodedImage image;
    if (image.initWithJpegData(flipped.data(), flipped.size())) {
        EXPECT_EQ(image.pixels.size(), 32u * 32u * 3u);
    }
    EXPECT_TRUE(image.initWithJpegData(good.data(), good.size()));
    const Bytes big = fixtures::makeJpeg(40, 8, 1, Bytes(40 * 8, 1));
    EXPECT_FALSE(image.initWithJpegData(big.data(), big.size(), 32));
}

// Alpha of pixel (x, y) of a w-wide 32-bit image.
unsigned char& alphaAt(Bytes& pixels, uint32_t w, uint32_t x, uint32_t y) {
    return pixels[(y * w + x) * 4 + 3];
}

TEST(SmoothAlphaChannel, WeighsSelfLeftAboveTwiceAndRightBelowOnce) {
    Bytes pixels(5 * 5 * 4, 0);
    alphaAt(pixels, 5, 2, 2) = 255;
    pixels[(2 * 5 + 2) * 4] = 77; // a colour byte, which the filter leaves alone
    smoothAlphaChannel(5, pixels.data(), 5);
    EXPECT_EQ(alphaAt(pixels, 5, 2, 2), 63); // floor(2 x 255 / 8)
    EXPECT_EQ(alphaAt(pixels, 5, 3, 2), 63); // its left neighbour is opaque
    EXPECT_EQ(alphaAt(pixels, 5, 2, 3), 63); // its upper neighbour is opaque
    EXPECT_EQ(alphaAt(pixels, 5, 1, 2), 31); // its right neighbour is opaque
    EXPECT_EQ(alphaAt(pixels, 5, 2, 1), 31); // its lower neighbour is opaque
    EXPECT_EQ(alphaAt(pixels, 5, 1, 1), 0);
    EXPECT_EQ(pixels[(2 * 5 + 2) * 4], 77);

    // Border pixels keep their values, and so do images too small to have an interior.
    Bytes border(3 * 3 * 4, 0);
    alphaAt(border, 3, 0, 1) = 200;
    smoothAlphaChannel(3, border.data(), 3);
    EXPECT_EQ(alphaAt(border, 3, 0, 1), 200);
    EXPECT_EQ(alphaAt(border, 3, 1, 1), 50); // 2 x 200 / 8
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{2, 5}, {5, 2}}) {
        Bytes small(w * h * 4, 0);
        for (size_t i = 3; i < small.size(); i += 4)
            small[i] = uint8_t(i);
        const Bytes before = small;
        smoothAlphaChannel(h, small.data(), w);
        EXPECT_EQ(small, before);
    }
}

} // namespace
