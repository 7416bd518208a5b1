#include "engine/tilemaps/CCTMXMapInfo.h"

#include <gtest/gtest.h>

#include "engine/director/CCDirector.h"
#include "tests/engine/files/FilesTestSupport.h"
#include "tests/engine/tilemaps/TmxTestSupport.h"

using namespace kvengine;
using kvtest::TmxData;

namespace {

std::string mapHeader(const char* orientation = "orthogonal", int width = 10, int height = 8) {
    return std::string("<?xml version=\"1.0\"?>\n<map version=\"1.0\" orientation=\"") + orientation +
           "\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" tilewidth=\"32\" tileheight=\"32\">\n";
}

const char* kTileset = " <tileset firstgid=\"1\" name=\"ground\" tilewidth=\"32\" tileheight=\"32\">\n"
                       "  <image source=\"ground.png\" width=\"256\" height=\"64\"/>\n"
                       "  <tile id=\"3\"><property name=\"solid\" value=\"yes\"/></tile>\n"
                       " </tileset>\n";

CCTMXMapInfo* parse(const std::string& document, const char* path = "/maps/level.tmx") {
    auto* info = new CCTMXMapInfo();
    info->autorelease();
    return info->initWithData(document.data(), static_cast<unsigned>(document.size()), path) ? info : nullptr;
}

std::string layer(const char* name, int width, int height, const std::vector<std::uint32_t>& gids,
                  TmxData form, const std::string& attributes = "") {
    return " <layer name=\"" + std::string(name) + "\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\"" + attributes + ">\n  " + kvtest::dataElement(gids, form) +
           "\n </layer>\n";
}

std::string text(CCTMXObject* object, const char* key) {
    CCString* value = object ? object->objectForKey(key) : nullptr;
    return value ? value->text : "<absent>";
}

class TMXMapInfoTest : public ::testing::Test {
protected:
    void TearDown() override { CCDirector::getInstance()->setContentScaleFactor(1.0f); }
    kvtest::PoolScope pool;
};

TEST_F(TMXMapInfoTest, ReadsMapTilesetsLayersInEveryEncoding) {
    std::vector<std::uint32_t> gids = {1, 0, 2, 3, 0, 0, 9, 10};
    std::string doc = mapHeader("orthogonal", 4, 2) +
                      " <properties><property name=\"music\" value=\"a.ogg\"/></properties>\n" + kTileset +
                      layer("plain", 4, 2, gids, TmxData::Base64) + layer("zlib", 4, 2, gids, TmxData::Zlib) +
                      layer("gzip", 4, 2, gids, TmxData::Gzip) +
                      // Plain base64 again after a compressed layer: each data element has its own encoding.
                      layer("plainAgain", 4, 2, gids, TmxData::Base64) + "</map>\n";
    CCTMXMapInfo* info = parse(doc);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->orientation, kCCTMXOrientationOrtho);
    EXPECT_EQ(info->mapSize.width, 4.0f);
    EXPECT_EQ(info->tileSize.height, 32.0f);
    ASSERT_NE(info->getProperties()->objectForKey("music"), nullptr);
    EXPECT_EQ(info->getProperties()->objectForKey("music")->text, "a.ogg");

    ASSERT_EQ(info->getTilesets()->count(), 1u);
    CCTMXTilesetInfo* tileset = info->getTilesets()->objectAtIndex(0);
    EXPECT_EQ(tileset->name, "ground");
    EXPECT_EQ(tileset->firstGID, 1u);
    EXPECT_EQ(tileset->imagePath, "/maps/ground.png");
    ASSERT_NE(info->getTileProperties()->objectForKey(4), nullptr); // id 3 + first GID 1
    EXPECT_EQ(info->getTileProperties()->objectForKey(4)->objectForKey("solid")->text, "yes");

    ASSERT_EQ(info->getLayers()->count(), 4u);
    for (CCTMXLayerInfo* layerInfo : *info->getLayers()) {
        SCOPED_TRACE(layerInfo->name);
        ASSERT_NE(layerInfo->gids, nullptr);
        EXPECT_EQ(std::vector<std::uint32_t>(layerInfo->gids, layerInfo->gids + 8), gids);
        EXPECT_TRUE(layerInfo->visible);
        EXPECT_EQ(layerInfo->opacity, 255);
    }
}

TEST_F(TMXMapInfoTest, LayerVisibilityOpacityAndOffset) {
    struct Case {
        const char* attributes;
        bool visible;
        int opacity;
    } cases[] = {
        {"", true, 255},
        {" visible=\"0\"", false, 255},
        {" visible=\"false\"", true, 255},
        {" visible=\"1\"", true, 255},
        {" opacity=\"0.5\"", true, 127},
        {" opacity=\"1\"", true, 255},
        {" opacity=\"\"", true, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        CCTMXMapInfo* info =
            parse(mapHeader() + " <layer name=\"l\" width=\"1\" height=\"1\" x=\"2\" y=\"3\"" + c.attributes +
                  "/>\n</map>");
        ASSERT_NE(info, nullptr);
        CCTMXLayerInfo* layerInfo = info->getLayers()->objectAtIndex(0);
        EXPECT_EQ(layerInfo->visible, c.visible);
        EXPECT_EQ(layerInfo->opacity, c.opacity);
        EXPECT_EQ(layerInfo->offset.x, 2.0f);
        EXPECT_EQ(layerInfo->offset.y, 3.0f);
    }
}

TEST_F(TMXMapInfoTest, ObjectsGetBottomUpCoordinatesAndProperties) {
    std::string doc =
        mapHeader() +
        " <objectgroup name=\"Objects\">\n"
        "  <properties><property name=\"kind\" value=\"spawn\"/></properties>\n"
        "  <object name=\"chest\" type=\"box\" x=\"12.7\" y=\"64\" width=\"20\" height=\"32\">\n"
        "   <properties><property name=\"type\" value=\"gold\"/><property name=\"hp\" "
        "value=\"5\"/></properties>\n"
        "  </object>\n"
        "  <object name=\"point\" x=\"5\" y=\"10\"/>\n"
        "  <property name=\"late\" value=\"group's\"/>\n"
        " </objectgroup>\n"
        " <objectgroup name=\"GPE\" x=\"2\">\n"
        "  <object name=\"a\" x=\"1\" y=\"0\" height=\"0\"/>\n"
        " </objectgroup>\n</map>";
    CCTMXMapInfo* info = parse(doc);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->getObjectGroups()->count(), 2u);
    CCTMXObjectGroup* group = info->getObjectGroups()->objectAtIndex(0);
    EXPECT_EQ(group->getProperties()->objectForKey("kind")->text, "spawn");
    // A property stands for the element it is in, wherever it comes among the objects.
    ASSERT_NE(group->getProperties()->objectForKey("late"), nullptr);
    EXPECT_EQ(group->getProperties()->objectForKey("late")->text, "group's");

    CCTMXObject* chest = group->findObjectByName("chest");
    EXPECT_EQ(text(chest, "x"), "12");
    EXPECT_EQ(text(chest, "y"), "160"); // 8 x 32 - 64 - 32
    EXPECT_EQ(text(chest, "width"), "20");
    EXPECT_EQ(text(chest, "height"), "32");
    EXPECT_EQ(text(chest, "type"), "gold");
    EXPECT_EQ(text(chest, "hp"), "5");

    CCTMXObject* point = group->findObjectByName("point");
    EXPECT_EQ(text(point, "y"), "246");
    EXPECT_EQ(text(point, "width"), "");
    EXPECT_EQ(text(point, "height"), "");
    EXPECT_EQ(group->findObjectByName("nobody"), nullptr);
    EXPECT_EQ(group->findObjectByName(nullptr), nullptr);

    EXPECT_EQ(text(info->getObjectGroups()->objectAtIndex(1)->findObjectByName("a"), "x"), "65");
}

TEST_F(TMXMapInfoTest, ObjectYFollowsContentScale) {
    CCDirector::getInstance()->setContentScaleFactor(2.0f);
    CCTMXMapInfo* info =
        parse(mapHeader() + "<objectgroup><object name=\"o\" x=\"0\" y=\"64\" height=\"32\"/>"
                            "</objectgroup></map>");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(text(info->getObjectGroups()->objectAtIndex(0)->findObjectByName("o"), "y"), "32");
}

TEST_F(TMXMapInfoTest, TileIdsAreOffsetByFirstGidAndReplaced) {
    CCTMXMapInfo* info = parse(
        mapHeader() + "<tileset firstgid=\"10\"><tile id=\"3\"><property name=\"a\" value=\"1\"/></tile>"
                      "<tile id=\"3\"><property name=\"b\" value=\"2\"/></tile></tileset></map>");
    ASSERT_NE(info, nullptr);
    CCTMXProperties* properties = info->getTileProperties()->objectForKey(13);
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(properties->objectForKey("a"), nullptr);
    EXPECT_EQ(properties->objectForKey("b")->text, "2");
}

TEST_F(TMXMapInfoTest, ATileOfTheSameGidInsideAnOpenTileLeavesItsPropertiesUsable) {
    // A tileset nested in a tile gives a tile of the same GID while the outer one is still open;
    // the outer tile's later properties must land in the map's entry for that GID.
    CCTMXMapInfo* info =
        parse(mapHeader() + "<tileset firstgid=\"1\"><tile id=\"0\">"
                            "<tileset firstgid=\"1\"><tile id=\"0\"><property name=\"inner\" value=\"1\"/>"
                            "</tile></tileset>"
                            "<properties><property name=\"outer\" value=\"2\"/></properties>"
                            "</tile></tileset></map>");
    ASSERT_NE(info, nullptr);
    CCTMXProperties* properties = info->getTileProperties()->objectForKey(1);
    ASSERT_NE(properties, nullptr);
    ASSERT_NE(properties->objectForKey("inner"), nullptr);
    EXPECT_EQ(properties->objectForKey("inner")->text, "1");
    ASSERT_NE(properties->objectForKey("outer"), nullptr);
    EXPECT_EQ(properties->objectForKey("outer")->text, "2");
}

TEST_F(TMXMapInfoTest, TextureRectForGid) {
    CCTMXTilesetInfo tileset;
    tileset.firstGID = 1;
    tileset.tileSize = CCSize(32, 32);
    tileset.imageSize = CCSize(256, 256);
    struct Case {
        std::uint32_t gid, margin, spacing;
        float x, y;
    } cases[] = {
        {1, 0, 0, 0, 0},
        {9, 0, 0, 0, 32},
        {10, 0, 0, 32, 32},
        // 256 - 4 + 2 over 34 gives 7 columns.
        {8, 2, 2, 2, 36},
        {2, 2, 2, 36, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gid);
        tileset.margin = c.margin;
        tileset.spacing = c.spacing;
        CCRect rect = tileset.textureRectForGID(c.gid);
        EXPECT_EQ(rect.origin.x, c.x);
        EXPECT_EQ(rect.origin.y, c.y);
        EXPECT_EQ(rect.size.width, 32.0f);
    }
}

TEST_F(TMXMapInfoTest, NarrowTilesetPictureIsOneColumn) {
    kvtest::LogCapture log;
    CCTMXTilesetInfo tileset;
    tileset.firstGID = 1;
    tileset.tileSize = CCSize(32, 32);
    tileset.imageSize = CCSize(16, 128);
    CCRect rect = tileset.textureRectForGID(3);
    EXPECT_EQ(rect.origin.x, 0.0f);
    EXPECT_EQ(rect.origin.y, 64.0f);
    EXPECT_TRUE(log.contains("narrower than one tile"));
    tileset.tileSize = CCSize(0, 0);
    EXPECT_EQ(tileset.textureRectForGID(5).origin.x, 0.0f);
}

TEST_F(TMXMapInfoTest, FlipBitsAreClearedAndSaidSo) {
    kvtest::LogCapture log;
    CCTMXMapInfo* info = parse(mapHeader("orthogonal", 3, 1) +
                               layer("l", 3, 1, {0x80000005u, 0x60000002u, 3u}, TmxData::Zlib) + "</map>");
    ASSERT_NE(info, nullptr);
    CCTMXLayerInfo* layerInfo = info->getLayers()->objectAtIndex(0);
    ASSERT_NE(layerInfo->gids, nullptr);
    EXPECT_EQ(layerInfo->gids[0], 5u);
    EXPECT_EQ(layerInfo->gids[1], 2u);
    EXPECT_EQ(layerInfo->gids[2], 3u);
    EXPECT_TRUE(log.contains("has 2 flipped or rotated tiles"));
}

// Maps the editor writes that this reader would draw wrong: refused with a log line naming why,
// instead of loading with a layer missing or every tile misplaced.
TEST_F(TMXMapInfoTest, MapsThatCannotBeDrawnRightAreRefused) {
    const std::string cells = "<layer name=\"l\" width=\"2\" height=\"1\">";
    struct Case {
        const char* what;
        std::string document;
        const char* logged;
    } cases[] = {
        {"staggered", mapHeader("staggered") + "</map>", "orientation 'staggered'"},
        {"unknown orientation", mapHeader("octagonal") + "</map>", "orientation 'octagonal'"},
        {"hexagonal rows", "<map orientation=\"hexagonal\" staggeraxis=\"y\" staggerindex=\"odd\"/>",
         "staggered along 'y'"},
        {"hexagonal even columns", "<map orientation=\"hexagonal\" staggeraxis=\"x\" staggerindex=\"even\"/>",
         "index 'even'"},
        {"hexagonal side", "<map orientation=\"hexagonal\" tilewidth=\"32\" hexsidelength=\"10\"/>",
         "side length 10"},
        {"csv, the editor's default", mapHeader() + cells + "<data encoding=\"csv\">1,2</data></layer></map>",
         "encoding 'csv'"},
        {"one element per tile",
         mapHeader() + cells + "<data><tile gid=\"1\"/><tile gid=\"2\"/></data></layer></map>",
         "one XML element per tile"},
        {"zstd",
         mapHeader() + cells + "<data encoding=\"base64\" compression=\"zstd\">AAAA</data></layer></map>",
         "compression 'zstd'"},
        {"infinite",
         mapHeader() + cells +
             "<data encoding=\"base64\"><chunk x=\"0\" y=\"0\" width=\"2\" height=\"1\">"
             "AQAAAAIAAAA=</chunk></data></layer></map>",
         "chunks"},
        {"infinite map attribute", "<map orientation=\"orthogonal\" infinite=\"1\"/>", "infinite maps"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::LogCapture log;
        EXPECT_EQ(parse(c.document), nullptr);
        EXPECT_TRUE(log.contains("refused")) << (log.lines.empty() ? "" : log.lines.back());
        EXPECT_TRUE(log.contains(c.logged)) << (log.lines.empty() ? "" : log.lines.back());
    }
    // What the editor writes for the orientations drawn here still loads.
    for (const char* header :
         {"<map orientation=\"hexagonal\" tilewidth=\"32\" hexsidelength=\"16\" staggeraxis=\"x\" "
          "staggerindex=\"odd\"/>",
          "<map orientation=\"isometric\" infinite=\"0\"/>", "<map/>"}) {
        SCOPED_TRACE(header);
        EXPECT_NE(parse(header), nullptr);
    }
}

TEST_F(TMXMapInfoTest, PropertiesStayOnTheirOwnElement) {
    kvtest::LogCapture log;
    std::string doc =
        mapHeader() +
        " <properties><property name=\"music\" value=\"a.ogg\"/>\n"
        "  <property name=\"story\">first line\nsecond &amp; last</property>\n"
        "  <property name=\"blank\" value=\"\"/></properties>\n"
        " <tileset firstgid=\"1\" name=\"ground\" tilewidth=\"32\" tileheight=\"32\">\n"
        "  <properties><property name=\"tilesetOnly\" value=\"1\"/></properties>\n"
        "  <image source=\"ground.png\" width=\"64\" height=\"32\"/>\n"
        "  <terraintypes><terrain name=\"grass\" tile=\"0\"><properties>"
        "<property name=\"terrainOnly\" value=\"1\"/></properties></terrain></terraintypes>\n"
        "  <tile id=\"1\"><properties><property name=\"solid\" value=\"yes\"/></properties></tile>\n"
        " </tileset>\n"
        " <layer name=\"l\" width=\"1\" height=\"1\"><properties>\n"
        "  <property name=\"spawn\" type=\"class\" propertytype=\"Spawn\"><properties>"
        "<property name=\"memberOnly\" value=\"1\"/></properties></property>\n"
        "  <property name=\"note\">two\nlines</property></properties></layer>\n"
        "</map>";
    CCTMXMapInfo* info = parse(doc);
    ASSERT_NE(info, nullptr);
    CCTMXProperties* map = info->getProperties();
    EXPECT_EQ(map->allKeys(), (std::vector<std::string>{"blank", "music", "story"}));
    EXPECT_EQ(map->objectForKey("story")->text, "first line\nsecond & last");
    EXPECT_EQ(map->objectForKey("blank")->text, "");
    CCTMXProperties* layerProperties = info->getLayers()->objectAtIndex(0)->getProperties();
    EXPECT_EQ(layerProperties->allKeys(), (std::vector<std::string>{"note"}));
    EXPECT_EQ(layerProperties->objectForKey("note")->text, "two\nlines");
    ASSERT_NE(info->getTileProperties()->objectForKey(2), nullptr);
    EXPECT_EQ(info->getTileProperties()->objectForKey(2)->objectForKey("solid")->text, "yes");
    EXPECT_TRUE(log.contains("properties of <tileset>"));
    EXPECT_TRUE(log.contains("properties of <terrain>"));
    EXPECT_TRUE(log.contains("class-type properties"));
}

TEST_F(TMXMapInfoTest, WhatTheReaderDoesNotUseIsPassedOverOnce) {
    kvtest::LogCapture log;
    std::string doc =
        mapHeader() +
        " <tileset firstgid=\"1\" name=\"ground\" tilewidth=\"32\" tileheight=\"32\">\n"
        "  <image source=\"ground.png\"/>\n"
        "  <tile id=\"0\"><objectgroup draworder=\"index\"><object id=\"1\" x=\"0\" y=\"0\" width=\"32\" "
        "height=\"8\"/></objectgroup></tile>\n"
        "  <tile id=\"1\"><objectgroup><object id=\"2\" x=\"4\" y=\"4\"/></objectgroup></tile>\n"
        " </tileset>\n"
        " <tileset firstgid=\"10\" name=\"props\" tilewidth=\"32\" tileheight=\"32\">\n"
        "  <tile id=\"0\"><image source=\"crate.png\"/></tile><tile id=\"1\"><image "
        "source=\"barrel.png\"/></tile>\n"
        " </tileset>\n"
        " <imagelayer name=\"sky\"><image source=\"sky.png\"/></imagelayer>\n"
        " <objectgroup name=\"Objects\"><object name=\"a\" x=\"1\" y=\"2\"/></objectgroup>\n"
        "</map>";
    CCTMXMapInfo* info = parse(doc);
    ASSERT_NE(info, nullptr);
    // Collision shapes do not become object groups of the map.
    ASSERT_EQ(info->getObjectGroups()->count(), 1u);
    EXPECT_EQ(info->getObjectGroups()->objectAtIndex(0)->name, "Objects");
    ASSERT_EQ(info->getTilesets()->count(), 2u);
    EXPECT_EQ(info->getTilesets()->objectAtIndex(0)->imagePath, "/maps/ground.png");
    // No tile's picture is taken for the picture of an image collection.
    EXPECT_EQ(info->getTilesets()->objectAtIndex(1)->imagePath, "");
    for (const char* what : {"collision shapes", "image collections", "image layers"}) {
        SCOPED_TRACE(what);
        int lines = 0;
        for (const std::string& line : log.lines)
            lines += line.find(what) != std::string::npos ? 1 : 0;
        EXPECT_EQ(lines, 1);
    }
}

TEST_F(TMXMapInfoTest, TileElementsOfLayerDataLeaveTileProperties) {
    auto* info = new CCTMXMapInfo();
    info->autorelease();
    kvtest::LogCapture log;
    std::string doc =
        mapHeader() + kTileset +
        "<layer name=\"l\" width=\"2\" height=\"1\"><data><tile gid=\"4\"/><tile/></data></layer>"
        "</map>";
    EXPECT_FALSE(info->initWithData(doc.data(), static_cast<unsigned>(doc.size()), "/maps/level.tmx"));
    ASSERT_NE(info->getTileProperties()->objectForKey(4), nullptr); // id 3 + first GID 1
    EXPECT_EQ(info->getTileProperties()->objectForKey(4)->objectForKey("solid")->text, "yes");
    EXPECT_EQ(info->getTileProperties()->objectForKey(1), nullptr);
}

TEST_F(TMXMapInfoTest, TileObjectsAreStoredByTheirLowerEdge) {
    // 8 x 32 pixels high: a tile object's y is its lower edge, a plain object's y its upper edge.
    CCTMXMapInfo* info =
        parse(mapHeader() + "<objectgroup><object name=\"tile\" gid=\"3\" x=\"0\" y=\"96\" width=\"32\" "
                            "height=\"32\"/><object name=\"box\" x=\"0\" y=\"64\" width=\"32\" "
                            "height=\"32\"/></objectgroup></map>");
    ASSERT_NE(info, nullptr);
    CCTMXObjectGroup* group = info->getObjectGroups()->objectAtIndex(0);
    EXPECT_EQ(text(group->findObjectByName("tile"), "y"), "160");
    EXPECT_EQ(text(group->findObjectByName("box"), "y"), "160");
}

TEST_F(TMXMapInfoTest, BadLayerDataLeavesLayerEmptyWithLogLine) {
    struct Case {
        const char* what;
        std::string data;
        const char* logged;
    } cases[] = {
        {"short", kvtest::dataElement({1, 2, 3}, TmxData::Base64), "expected"},
        {"long", kvtest::dataElement({1, 2, 3, 4, 5}, TmxData::Gzip), "expected"},
        {"not compressed", "<data encoding=\"base64\" compression=\"zlib\">AQAAAAIAAAADAAAABAAAAA==</data>",
         "inflated"},
        {"not base64", "<data encoding=\"base64\">!!</data>", "base64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kvtest::LogCapture log;
        CCTMXMapInfo* info = parse(mapHeader("orthogonal", 2, 2) +
                                   "<layer name=\"l\" width=\"2\" height=\"2\">" + c.data + "</layer></map>");
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->getLayers()->objectAtIndex(0)->gids, nullptr);
        EXPECT_TRUE(log.contains(c.logged));
    }
    kvtest::LogCapture log;
    CCTMXMapInfo* info = parse(mapHeader() + "<layer name=\"l\" width=\"1.5\" height=\"2\">" +
                               kvtest::dataElement({1, 2, 3}, TmxData::Base64) + "</layer></map>");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getLayers()->objectAtIndex(0)->gids, nullptr);
    EXPECT_TRUE(log.contains("unusable size"));
}

TEST_F(TMXMapInfoTest, ElementsOutsideTheirParentAreIgnored) {
    kvtest::LogCapture log;
    CCTMXMapInfo* info = parse(mapHeader() + "<tile id=\"1\"/><image source=\"x.png\"/>" +
                               kvtest::dataElement({1}, TmxData::Base64) +
                               "<property name=\"p\" value=\"v\"/><object name=\"o\"/></map>");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getTileProperties()->count(), 0u);
    EXPECT_EQ(info->getTilesets()->count(), 0u);
    EXPECT_EQ(info->getLayers()->count(), 0u);
    ASSERT_NE(info->getProperties()->objectForKey("p"), nullptr); // the map is the parent here
    for (const char* element : {"tile element", "image element", "data element", "object element"})
        EXPECT_TRUE(log.contains(element)) << element;
}

TEST_F(TMXMapInfoTest, MalformedOrMissingFilesFail) {
    kvtest::LogCapture log;
    EXPECT_EQ(parse(mapHeader() + "<layer name=\"l\">"), nullptr);
    EXPECT_EQ(parse("not xml at all"), nullptr);
    EXPECT_EQ(CCTMXMapInfo::createWithFile("/nonexistent/folder/map.tmx"), nullptr);
    EXPECT_EQ(CCTMXMapInfo::createWithFile(nullptr), nullptr);
    EXPECT_FALSE(log.lines.empty());
}

TEST_F(TMXMapInfoTest, ExternalTilesetsAndSelfInclusion) {
    kvtest::TempDir dir;
    // As the editor writes a tileset file: no first GID of its own (or a stale one), the picture
    // relative to the tileset file.
    kvtest::writeBytes(dir.file("maps/sets/outer.tsx"),
                       "<tileset name=\"outer\" firstgid=\"7\" tilewidth=\"16\" tileheight=\"16\">"
                       "<image source=\"../../art/tiles.png\"/><tile id=\"2\"><properties>"
                       "<property name=\"solid\" value=\"1\"/></properties></tile></tileset>");
    kvtest::writeBytes(
        dir.file("maps/sets/second.tsx"),
        "<tileset name=\"second\" tilewidth=\"16\" tileheight=\"16\"><image source=\"more.png\"/>"
        "<tile id=\"0\"><properties><property name=\"kind\" "
        "value=\"rock\"/></properties></tile>"
        "</tileset>");
    kvtest::writeBytes(dir.file("maps/loop.tsx"), "<tileset source=\"loop.tsx\"/>");
    kvtest::writeBytes(dir.file("maps/level.tmx"),
                       mapHeader() + "<tileset firstgid=\"1\" source=\"sets/outer.tsx\"/>"
                                     "<tileset firstgid=\"30\" source=\"sets/second.tsx\"/>"
                                     "<tileset firstgid=\"50\" source=\"loop.tsx\"/>"
                                     "<tileset firstgid=\"60\" source=\"missing.tsx\"/></map>");
    kvtest::LogCapture log;
    CCTMXMapInfo* info = CCTMXMapInfo::createWithFile(dir.file("maps/level.tmx").c_str());
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->getTilesets()->count(), 2u);
    CCTMXTilesetInfo* outer = info->getTilesets()->objectAtIndex(0);
    EXPECT_EQ(outer->name, "outer");
    EXPECT_EQ(outer->firstGID, 1u); // the map's, so that no tile is cut one tile off
    EXPECT_EQ(outer->tileSize.width, 16.0f);
    EXPECT_EQ(outer->imagePath, dir.file("maps/sets/../../art/tiles.png"));
    CCTMXTilesetInfo* second = info->getTilesets()->objectAtIndex(1);
    EXPECT_EQ(second->firstGID, 30u);
    EXPECT_EQ(second->imagePath, dir.file("maps/sets/more.png"));
    // Tile properties are keyed by the map's GIDs.
    ASSERT_NE(info->getTileProperties()->objectForKey(3), nullptr);
    EXPECT_EQ(info->getTileProperties()->objectForKey(3)->objectForKey("solid")->text, "1");
    ASSERT_NE(info->getTileProperties()->objectForKey(30), nullptr);
    EXPECT_EQ(info->getTileProperties()->objectForKey(30)->objectForKey("kind")->text, "rock");
    EXPECT_TRUE(log.contains("nested deeper"));
}

} // namespace
