// Bitmap-font files written by other tools: the formats this reader does not understand, fonts
// without glyphs and fonts spread over several atlas pages are refused with a log line instead of
// loading as fonts that draw nothing.
#include "engine/labels/CCBMFontConfiguration.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace kvengine;

namespace {

const char* const kHead = "info face=\"T\" size=16 padding=0,0,0,0\n"
                          "common lineHeight=16 base=12 scaleW=64 scaleH=64 pages=2\n";

struct Parsed {
    bool used;
    uint32_t lineHeight;
    std::string atlas;
    int advanceOfA;
};

Parsed parse(const std::string& text) {
    auto* config = new CCBMFontConfiguration();
    Parsed parsed{config->parseText(text.data(), text.size(), "/fonts/t.fnt"), config->getLineHeight(),
                  config->getAtlasName(), config->glyph('A').xAdvance};
    config->release();
    return parsed;
}

TEST(CCBMFontConfiguration, RefusesFilesItCannotDrawFromWithALogLine) {
    struct Case {
        const char* what;
        std::string text;
        const char* logged;
    } cases[] = {
        {"XML",
         "<?xml version=\"1.0\"?>\n<font><info face=\"T\" size=\"16\"/><chars count=\"1\">"
         "<char id=\"65\" x=\"0\" y=\"0\" width=\"8\" height=\"8\" xadvance=\"9\" page=\"0\"/>"
         "</chars></font>\n",
         "BMFont XML file"},
        {"XML after a byte-order mark", "\xEF\xBB\xBF  <font></font>", "BMFont XML file"},
        {"binary", std::string("BMF\x03\x01\x0f\x00\x00\x00", 9), "BMFont binary file"},
        {"JSON", "{\"pages\":[\"t.png\"],\"chars\":[{\"id\":65,\"xadvance\":9}]}", "BMFont JSON file"},
        {"no lines it knows", "hello\nworld\n", "no info, common or char lines"},
        {"no glyphs", std::string(kHead) + "page id=0 file=\"t.png\"\nchars count=0\n", "has no glyphs"},
        {"only ids it cannot hold", std::string(kHead) + "char id=5000 x=0 y=0 width=8 height=8 xadvance=9\n",
         "has no glyphs"},
        {"glyphs on two pages",
         std::string(kHead) + "page id=0 file=\"t_0.png\"\npage id=1 file=\"t_1.png\"\n"
                              "char id=65 x=0 y=0 width=8 height=8 xadvance=9 page=0\n"
                              "char id=66 x=0 y=0 width=8 height=8 xadvance=9 page=1\n",
         "several pages"},
        {"no page line for the glyphs' page",
         std::string(kHead) +
             "page id=0 file=\"t_0.png\"\nchar id=65 x=0 y=0 width=8 height=8 xadvance=9 page=3\n",
         "no page line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::LogLines log;
        const Parsed parsed = parse(c.text);
        EXPECT_FALSE(parsed.used);
        EXPECT_TRUE(log.contains(c.logged));
        EXPECT_TRUE(log.contains("/fonts/t.fnt"));
        // Nothing of a refused file is left behind.
        EXPECT_EQ(parsed.lineHeight, 0u);
        EXPECT_EQ(parsed.atlas, "");
        EXPECT_EQ(parsed.advanceOfA, 0);
    }
}

TEST(CCBMFontConfiguration, TheAtlasIsThePageTheGlyphsUse) {
    for (const char* page : {"0", "1"}) {
        SCOPED_TRACE(page);
        kvtest::LogLines log;
        const Parsed parsed =
            parse(std::string(kHead) + "page id=0 file=\"t_0.png\"\r\npage id=1 file=\"t_1.png\"\r\n" +
                  "char id=65 x=0 y=0 width=8 height=8 xadvance=9 page=" + page + "\r\n");
        EXPECT_TRUE(parsed.used);
        EXPECT_EQ(parsed.atlas, std::string("/fonts/t_") + page + ".png");
        EXPECT_EQ(parsed.advanceOfA, 9);
        EXPECT_TRUE(log.lines.empty());
    }
}

TEST(CCBMFontConfiguration, ARefusedFileIsNotKeptInTheSharedCache) {
    const std::string folder = kvtest::makeTempFolder("bmfont-cache");
    const std::string path = folder + "/x.fnt";
    ASSERT_TRUE(kvtest::writeTextFile(path, "<font/>"));
    kvtest::LogLines log;
    EXPECT_EQ(loadFontConfiguration(path.c_str()), nullptr);
    ASSERT_TRUE(kvtest::writeTextFile(path, std::string(kHead) +
                                                "page id=0 file=\"x.png\"\n"
                                                "char id=65 x=0 y=0 width=8 height=8 xadvance=9\n"));
    CCBMFontConfiguration* fixed = loadFontConfiguration(path.c_str());
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->glyph('A').xAdvance, 9);
    purgeFontConfigurations();
}

} // namespace
