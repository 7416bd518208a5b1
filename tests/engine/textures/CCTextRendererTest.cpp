#include "engine/textures/CCTextRenderer.h"

#include "engine/files/CCFileUtils.h"
#include "engine/textures/CCDecodedImage.h"

#include "TextureFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kvengine;

namespace {

constexpr int kSize = 20;

CCTextRenderer* renderer() {
    CCTextRenderer* r = CCTextRenderer::getInstance();
    r->setFont("Arial", kSize);
    return r;
}

int lineHeight() {
    return renderer()->measureText(0, "X", 1).height;
}

TEST(CCTextRenderer, MeasuresLinesAndWrapsAtSpacesOnly) {
    CCTextRenderer* r = renderer();
    const CCTextSize one = r->measureText(0, "abc def", 7);
    EXPECT_GT(one.width, 0);
    EXPECT_GT(one.height, kSize - 2);
    const CCTextSize abc = r->measureText(0, "abc", 3);

    // A limit narrower than both words puts each on its own line; the dropped space at the break
    // does not count.
    const CCTextSize wrapped = r->measureText(abc.width + 2, "abc def", 7);
    EXPECT_EQ(wrapped.height, 2 * one.height);
    EXPECT_LE(wrapped.width, abc.width + 2);
    // A word longer than the limit stays whole and makes the text wider than the limit.
    const CCTextSize longWord = r->measureText(5, "abcdefgh", 8);
    EXPECT_EQ(longWord.height, one.height);
    EXPECT_EQ(longWord.width, r->measureText(0, "abcdefgh", 8).width);
    // Line feeds break lines with or without a limit; CR LF is one break.
    EXPECT_EQ(r->measureText(0, "a\nb\r\nc", 6).height, 3 * one.height);
    EXPECT_EQ(r->measureText(0, "", 0).width, 0);
    EXPECT_EQ(r->measureText(0, nullptr, 4).height, 0);
}

struct FitCase {
    const char* name;
    int boxWidth, boxHeight, alignment;
    const char* text;
};

// Fitting, alignment and clipping of the text rectangle inside the box.
TEST(CCTextRenderer, FitsAlignsAndClipsTheTextRectangle) {
    const int lh = lineHeight();
    const CCTextSize hello = renderer()->measureText(0, "Hello", 5);
    const FitCase cases[] = {
        {"fit", 0, 0, 0x33, "Hello"},
        {"centre both ways", 200, 100, 0x33, "Hello"},
        {"right and bottom", 200, 100, 0x22, "Hello"},
        {"left and top", 200, 100, 0x11, "Hello"},
        {"odd horizontal value is offset like centre", 200, 100, 0x15, "Hello"},
        {"height from the text", 200, 0, 0x33, "Hello"},
        {"clipped at the box height", 200, lh / 2, 0x33, "Hello"},
        {"text wider than the box is not moved", 10, 100, 0x32, "Hello"},
    };
    struct Expected {
        int boxWidth, boxHeight;
        CCTextRenderer::Rect rect;
    } const expected[] = {
        {hello.width, lh, {0, 0, hello.width, lh}},
        {200,
         100,
         {(200 - hello.width) / 2, (100 - lh) / 2, (200 - hello.width) / 2 + hello.width,
          (100 - lh) / 2 + lh}},
        {200, 100, {200 - hello.width, 100 - lh, 200, 100}},
        {200, 100, {0, 0, hello.width, lh}},
        {200, 100, {(200 - hello.width) / 2, 0, (200 - hello.width) / 2 + hello.width, lh}},
        {200, lh, {(200 - hello.width) / 2, 0, (200 - hello.width) / 2 + hello.width, lh}},
        {200, lh / 2, {(200 - hello.width) / 2, 0, (200 - hello.width) / 2 + hello.width, lh / 2}},
        {10, 100, {0, (100 - lh) / 2, hello.width, (100 - lh) / 2 + lh}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const FitCase& c = cases[i];
        SCOPED_TRACE(c.name);
        CCTextRenderer* r = renderer();
        int w = c.boxWidth, h = c.boxHeight;
        // One word: even a box narrower than the text wraps nothing.
        ASSERT_EQ(r->drawText(c.alignment, &w, &h, c.text), lh);
        EXPECT_EQ(w, expected[i].boxWidth);
        EXPECT_EQ(h, expected[i].boxHeight);
        EXPECT_EQ(r->bitmapWidth(), w);
        EXPECT_EQ(r->bitmapHeight(), h);
        const CCTextRenderer::Rect& rect = r->lastTextRect();
        EXPECT_EQ(rect.left, expected[i].rect.left);
        EXPECT_EQ(rect.top, expected[i].rect.top);
        EXPECT_EQ(rect.right, expected[i].rect.right);
        EXPECT_EQ(rect.bottom, expected[i].rect.bottom);

        // Ink only inside the text rectangle (glyphs do not overhang with this face and text).
        const auto& bits = r->bitmap();
        bool inked = false;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (bits[size_t(y) * size_t(w) + size_t(x)] == 0) continue;
                inked = true;
                EXPECT_TRUE(x >= rect.left && x < rect.right + 1 && y >= rect.top && y < rect.bottom)
                    << "ink at " << x << "," << y;
            }
        }
        EXPECT_TRUE(inked);
    }
}

TEST(CCTextRenderer, ClipsASecondLineThatDoesNotFit) {
    CCTextRenderer* r = renderer();
    const int lh = lineHeight();
    int w = 200, h = lh + 1;
    EXPECT_EQ(r->drawText(0x11, &w, &h, "Top\nBottom"), 2 * lh);
    EXPECT_EQ(r->bitmapHeight(), lh + 1);
    EXPECT_EQ(r->lastTextRect().bottom, lh + 1);
    int w2 = 0, h2 = 0;
    EXPECT_EQ(r->drawText(0x11, &w2, &h2, "Top\nBottom"), 2 * lh);
    EXPECT_EQ(h2, 2 * lh);
}

TEST(CCTextRenderer, FailsOnNothingToDraw) {
    CCTextRenderer* r = renderer();
    int w = 0, h = 0;
    EXPECT_EQ(r->drawText(0x33, &w, &h, nullptr), 0);
    EXPECT_EQ(r->drawText(0x33, &w, &h, ""), 0);
    CCDecodedImage image;
    EXPECT_FALSE(image.initWithString(nullptr, 0, 0, 0x33, "Arial", 12));
    EXPECT_FALSE(image.initWithString("", 0, 0, 0x33, "Arial", 12));
    // An absurd size is reduced to the largest drawable one rather than exhausting memory.
    fixtures::LogCapture log;
    r->setFont("Arial", 1 << 30);
    EXPECT_EQ(log.takeCount(), 1u);
    const int hugeHeight = r->measureText(0, "X", 1).height;
    r->setFont("Arial", CCTextRenderer::kMaxFontSize);
    EXPECT_EQ(hugeHeight, r->measureText(0, "X", 1).height);
}

// Sum of coverage of the last drawn text.
long ink() {
    long sum = 0;
    for (unsigned char c : CCTextRenderer::getInstance()->bitmap())
        sum += c;
    return sum;
}

long inkOf(const char16_t* text) {
    int w = 0, h = 0;
    if (renderer()->drawWideText(0x11, &w, &h, text) == 0) return -1;
    return ink();
}

TEST(CCTextRenderer, DrawsEveryAccentedLetterOfFrenchAndGerman) {
    // Each accented letter must carry more ink than its base letter (the accent is drawn) and
    // differ from the box drawn for a character the face lacks.
    const long missing = inkOf(u"\uE000");
    const std::pair<const char16_t*, const char16_t*> pairs[] = {
        {u"é", u"e"}, {u"è", u"e"}, {u"ê", u"e"}, {u"ë", u"e"}, {u"à", u"a"}, {u"â", u"a"}, {u"î", u"i"},
        {u"ï", u"i"}, {u"ô", u"o"}, {u"ù", u"u"}, {u"û", u"u"}, {u"ü", u"u"}, {u"ç", u"c"}, {u"ÿ", u"y"},
        {u"ä", u"a"}, {u"ö", u"o"}, {u"Ä", u"A"}, {u"Ö", u"O"}, {u"Ü", u"U"}, {u"É", u"E"}, {u"Ç", u"C"},
        {u"á", u"a"}, {u"ñ", u"n"}, {u"ó", u"o"}, {u"í", u"i"}, {u"ò", u"o"}, {u"ì", u"i"},
    };
    for (const auto& [accented, base] : pairs) {
        const long a = inkOf(accented);
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << int(accented[0]));
        EXPECT_GT(a, inkOf(base));
        EXPECT_NE(a, missing);
    }
    EXPECT_GT(inkOf(u"ß"), 0);
    EXPECT_NE(inkOf(u"ß"), missing);
    EXPECT_NE(inkOf(u"œ"), missing);

    // Whole sentences, as UTF-8 and as UTF-16, give the same picture.
    CCDecodedImage fromUtf8, fromUtf16;
    ASSERT_TRUE(fromUtf8.initWithString("Où est la forêt ? Größe übermäßig", 0, 0, 0x33, "Arial", 16));
    ASSERT_TRUE(fromUtf16.initWithWideString(u"Où est la forêt ? Größe übermäßig", 0, 0, 0x33, "Arial", 16));
    EXPECT_EQ(fromUtf8.width, fromUtf16.width);
    EXPECT_EQ(fromUtf8.pixels, fromUtf16.pixels);
}

TEST(CCTextRenderer, RendersWithAFontFileAndFallsBackWhenItIsMissing) {
    namespace fs = std::filesystem;
    // Font files are named relative to the program's folder (the resource root).
    std::string dir = resourceRootPath() + "kelvos-fonts-XXXXXX";
    ASSERT_NE(mkdtemp(dir.data()), nullptr);
    const std::string relative = dir.substr(resourceRootPath().size()) + "/Maker-Face.ttf";
    std::error_code error;
    fs::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", dir + "/Maker-Face.ttf", error);
    ASSERT_FALSE(error) << error.message();

    CCTextRenderer* r = CCTextRenderer::getInstance();
    ASSERT_TRUE(r->setFont(relative.c_str(), 20));
    const int mono = r->measureText(0, "iiii", 4).width;
    ASSERT_TRUE(r->setFont("Arial", 20));
    const int proportional = r->measureText(0, "iiii", 4).width;
    EXPECT_GT(mono, proportional); // the file's face is the one measured

    EXPECT_FALSE(r->setFont((dir + "/Missing.ttf").c_str(), 20));
    EXPECT_EQ(r->measureText(0, "iiii", 4).width, proportional);
    CCDecodedImage image;
    EXPECT_TRUE(image.initWithString("iiii", 0, 0, 0x33, (dir + "/Missing.ttf").c_str(), 20));
    fs::remove_all(dir, error);
}

TEST(CCDecodedImageText, MakesOpaqueBinarisedAlphaThenSmoothsIt) {
    CCDecodedImage image;
    ASSERT_TRUE(image.initWithString("H", 0, 0, 0x33, "Arial", 40));
    CCTextRenderer::getInstance()->setFont("Arial", 40);
    const CCTextSize size = CCTextRenderer::getInstance()->measureText(0, "H", 1);
    EXPECT_EQ(int(image.width), size.width);
    EXPECT_EQ(int(image.height), size.height);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_FALSE(image.premultipliedAlpha);
    EXPECT_EQ(image.bitsPerComponent, 8);
    ASSERT_EQ(image.pixels.size(), size_t(image.width) * image.height * 4);
    // Deep inside the stem of the H every pixel and its neighbours are inked: the filter keeps
    // alpha at 255 there, and colour is the white of full coverage. Away from ink alpha is 0.
    int opaque = 0;
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const unsigned char* p = &image.pixels[(y * image.width + x) * 4];
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            if (p[3] == 255) {
                ++opaque;
                EXPECT_GT(p[0], 0);
            }
        }
    }
    EXPECT_GT(opaque, 20);
    EXPECT_EQ(image.pixels[3], 0); // top-left corner of an H
}

} // namespace
