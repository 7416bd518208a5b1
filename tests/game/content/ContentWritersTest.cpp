// The content tool's writers, checked against the engine's readers: what the tool
// scrambles, wraps and encodes must come back unchanged through the game's file layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/files/CCFileUtils.h"
#include "engine/files/CCZipUtils.h"
#include "tools/content/ContentFiles.h"
#include "tools/content/ContentSteps.h"
#include "tools/content/DataFiles.h"
#include "tools/content/Plist.h"
#include "tools/content/PvrWriter.h"
#include "tools/content/StringsTable.h"

using namespace kvcontent;

TEST(ContentWriters, ScramblingMatchesTheGameForEveryLength) {
    for (size_t length : {0u, 1u, 2u, 7u, 8u, 9u, 64u, 1000u}) {
        Bytes plain(length);
        for (size_t i = 0; i < length; ++i)
            plain[i] = static_cast<uint8_t>(i * 37 + 11);
        Bytes stored = plain;
        scrambleBytes(stored);
        Bytes engineCopy = plain;
        kvengine::scrambleDataBuffer(engineCopy.data(), static_cast<unsigned>(engineCopy.size()));
        EXPECT_EQ(stored, engineCopy) << length;
        kvengine::unscrambleDataBuffer(stored.data(), static_cast<unsigned>(stored.size()));
        EXPECT_EQ(stored, plain) << length;
    }
}

TEST(ContentWriters, ScrambledNamesFollowTheGamesRule) {
    const std::pair<const char*, bool> cases[] = {
        {"a.plist", true},     {"sheet.pvr.ccz", true}, {"x.PNG", true},
        {"x.Png", false},      {"t.strings", true},     {"font.fnt", false},
        {"kelvos.fev", false}, {"music.wav", false},    {"Kelvos-Kelvos.ttf", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isScrambledName(c.first), c.second) << c.first;
        EXPECT_EQ(kvengine::isScrambledDataPath(c.first), c.second) << c.first;
    }
}

TEST(ContentWriters, CczContainerInflatesThroughTheEngine) {
    Bytes payload(5000);
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(i % 251);
    const Bytes ccz = wrapCCZ(payload);
    unsigned char* out = nullptr;
    const int length = kvengine::inflateCCZBuffer(ccz.data(), static_cast<unsigned>(ccz.size()), &out);
    ASSERT_EQ(length, static_cast<int>(payload.size()));
    EXPECT_EQ(std::memcmp(out, payload.data(), payload.size()), 0);
    std::free(out);
}

TEST(ContentWriters, PvrHeaderAndTexelPacking) {
    Image image;
    image.width = 2;
    image.height = 1;
    image.rgba = {255, 0, 0, 255, 255, 255, 255, 0}; // opaque red, transparent white
    const Bytes rgba4444 = encodePvr(image, PvrFormat::RGBA4444);
    ASSERT_EQ(rgba4444.size(), 52u + 4u);
    EXPECT_EQ(rgba4444[16], 0x10);
    EXPECT_EQ(std::memcmp(&rgba4444[44], "PVR!", 4), 0);
    EXPECT_EQ(rgba4444[52] | (rgba4444[53] << 8), 0xF00F);
    EXPECT_EQ(rgba4444[54] | (rgba4444[55] << 8), 0x0000); // premultiplied: no colour without alpha
    EXPECT_EQ(encodePvr(image, PvrFormat::RGBA8888).size(), 52u + 8u);
    image.width = 3;
    image.rgba.resize(12);
    EXPECT_TRUE(encodePvr(image, PvrFormat::RGBA8888).empty()); // not a power of two
    EXPECT_EQ(pvrFormatForSheet("top_sfx_51_ss"), PvrFormat::RGBA5551);
    EXPECT_EQ(pvrFormatForSheet("low_sfx_88_ss.plist"), PvrFormat::RGBA8888);
    EXPECT_EQ(pvrFormatForSheet("ui_44_ss"), PvrFormat::RGBA4444);
}

TEST(ContentWriters, TextTablesRejectWhatTheGameWouldMisread) {
    const std::pair<const char*, bool> cases[] = {
        {"a = Hello\nb = World\n", true},      {"# comment only\n", true},
        {"title = one\nTITLE = two\n", false}, // keys match ignoring case
        {"say = he said \"hi\";\n", false},    // a quote followed by ';' ends the text early
        {"no equals sign\n", false},           {"\"k\" = quoted key\n", false},
    };
    for (const auto& c : cases) {
        StringsTable table;
        EXPECT_EQ(table.parse(c.first, "case"), c.second) << c.first;
    }
    StringsTable table;
    ASSERT_TRUE(table.parse("Greeting = Hé %s\\n%d%%\n", "case"));
    const Bytes bytes = table.encode();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(*table.find("greeting"), "Hé %s\n%d%%");
    EXPECT_EQ(placeholders("Hé %s\n%d%% %.2d"), (std::vector<std::string>{"%s", "%d", "%.2d"}));
}

TEST(ContentWriters, PlistWriterRefusesTextTheReaderWouldCut) {
    PlistNode root = PlistNode::makeDict();
    root.set("name", PlistNode::str("Steev"));
    std::string out;
    EXPECT_TRUE(writePlistDocument(root, out));
    EXPECT_NE(out.find("<key>name</key>"), std::string::npos);
    root.set("bad", PlistNode::str("fish & chips"));
    EXPECT_FALSE(writePlistDocument(root, out));
}

TEST(ContentWriters, DataSourcesAreCheckedAsTheGameWillReadThem) {
    const std::string head = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    const std::pair<std::string, bool> cases[] = {
        {head + "<dict><key>a</key><string>1</string><key>b</key><true/></dict></plist>", true},
        {head + "<dict><key>list</key><array><string>x</string></array></dict></plist>", true},
        {head + "<dict><key>a</key><string>1</string></plist>", false},       // not well-formed
        {head + "<array><string>x</string></array></plist>", false},          // root is not a dict
        {head + "<dict><key>a</key><string></string></dict></plist>", false}, // lost on reading
        {head + "<dict><key></key><string>1</string></dict></plist>", false}, // empty key
        {head + "<dict><key>a</key><string>fish &amp; chips</string></dict></plist>", false}, // cut text
        {"", false},
    };
    for (const auto& c : cases) {
        const Bytes data(c.first.begin(), c.first.end());
        EXPECT_EQ(checkPlistSource(data, "case"), c.second) << c.first;
    }
    // A mission's rule file is an array of rules, and only an array.
    const std::pair<std::string, bool> rules[] = {
        {head + "<array><dict><key>ConditionList</key><array/></dict></array></plist>", true},
        {head + "<dict><key>a</key><string>1</string></dict></plist>", false},
        {head + "<array><dict><key>EffectType</key><string></string></dict></array></plist>", false},
    };
    for (const auto& c : rules) {
        const Bytes data(c.first.begin(), c.first.end());
        EXPECT_EQ(checkPlistSource(data, "rules/M01x_RULE.plist"), c.second) << c.first;
    }
}

// A mission's own drawing gives its rock tiles: a tile is rock only where a reef polygon covers it
// whole; a reef path that is not a closed polygon of absolute points fails the build.
TEST(ContentWriters, DrawnReefGivesRockTilesOnlyWhereItCoversWholeTiles) {
    // 4 x 3 tiles (128 x 96 points): a floor one tile high and a step two tiles high on the right,
    // its top edge halfway through the second column's tile.
    const std::string svg = "<svg width=\"128\" height=\"96\"><g inkscape:label=\"physics:reef\">"
                            "<path id=\"edges\" d=\"M 0,0 L 128,0 L 128,96 L 0,96 Z\"/>"
                            "<path id=\"reef\" d=\"M 0,96 L 0,64 L 48,64 L 48,32 L 128,32 L 128,96 Z\"/>"
                            "</g></svg>";
    std::vector<bool> tiles;
    ASSERT_TRUE(drawnReefTiles(svg, "step.svg", 4, 3, tiles));
    const std::vector<bool> expected = {false, false, false, false, //
                                        false, false, true,  true,  //
                                        true,  true,  true,  true};
    EXPECT_EQ(tiles, expected);

    const char* const broken[] = {
        "<svg><g inkscape:label=\"physics:reef\"><path id=\"reef\" d=\"M 0,96 L 0,64 L 48,64\"/></g></svg>",
        "<svg><g inkscape:label=\"physics:reef\"><path id=\"reef\" d=\"m 0,96 l 0,-32 l 48,0 z\"/></g></svg>",
        "<svg><g inkscape:label=\"physics:rocks\"><path id=\"reef\" d=\"M 0,0 L 9,0 L 9,9 Z\"/></g></svg>",
        "<svg><g inkscape:label=\"physics:reef\"><path id=\"edges\" d=\"M 0,0 L 9,0 L 9,9 Z\"/></g></svg>",
    };
    for (const char* drawing : broken)
        EXPECT_FALSE(drawnReefTiles(drawing, "broken.svg", 4, 3, tiles)) << drawing;
}

// Spiky and sticky walls have no view: the map's objects mark the tiles whose centres they hold.
// A collision box whose "isStickyWall" reads 0 and other objects mark nothing.
TEST(ContentWriters, WallObjectsOfTheMapGiveSpikeAndKelpTiles) {
    // 4 x 3 tiles (128 x 96 points).
    const std::string map = "<map width=\"4\" height=\"3\">"
                            "<objectgroup name=\"Collisions\">"
                            "<object name=\"Kelp\" x=\"0\" y=\"0\" width=\"24\" height=\"96\">"
                            "<properties><property name=\"isStickyWall\" value=\"1\"/></properties></object>"
                            "<object name=\"Box\" x=\"32\" y=\"0\" width=\"32\" height=\"32\">"
                            "<properties><property name=\"isStickyWall\" value=\"0\"/></properties></object>"
                            "</objectgroup><objectgroup name=\"GPE\">"
                            "<object name=\"SpikyWall\" x=\"64\" y=\"64\" width=\"64\" height=\"32\"/>"
                            "<object name=\"SpikyBall\" x=\"64\" y=\"0\" width=\"64\" height=\"64\"/>"
                            "</objectgroup></map>";
    const std::vector<int> expected = {3, 0, 0, 0, //
                                       3, 0, 0, 0, //
                                       3, 0, 2, 2};
    EXPECT_EQ(wallTiles(map, 4, 3), expected);
    EXPECT_EQ(wallTiles("<map width=\"4\" height=\"3\"></map>", 4, 3), std::vector<int>(12, 0));
}
