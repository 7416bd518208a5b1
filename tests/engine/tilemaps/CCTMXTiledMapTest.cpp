#include "engine/tilemaps/CCTMXTiledMap.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/tilemaps/CCTMXLayer.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"
#include "tests/engine/files/FilesTestSupport.h"
#include "tests/engine/tilemaps/TmxTestSupport.h"

using namespace kvengine;
using kvtest::TmxData;

namespace {

unsigned childCount(CCNode* node) {
    return node->getChildren() ? node->getChildren()->count() : 0u;
}

// Writes maps of 3 x 2 cells of 32 x 32 pixels over a 128 x 64 tileset picture (4 x 2 tiles)
// into a temporary folder; the tileset of "external" maps lives in its own file.
class TMXTiledMapTest : public kvtest::GLFixture {
protected:
    TMXTiledMapTest() : GLFixture(32, 32) {}
    void setUpWithGL() override {
        folder = kvtest::makeTempFolder("tmx");
        ASSERT_TRUE(kvtest::writeSolidPng(folder + "/tiles.png", 128, 64, 200, 100, 50));
        // As the editor writes it: no first GID, the picture relative to the tileset file.
        kvtest::writeBytes(folder + "/sets/ground.tsx",
                           "<tileset name=\"ground\" tilewidth=\"32\" "
                           "tileheight=\"32\"><image source=\"../tiles.png\"/></tileset>");
    }
    void tearDownWithGL() override {
        std::error_code ec;
        if (!folder.empty()) std::filesystem::remove_all(folder, ec);
    }

    std::string writeMap(const char* orientation, const std::string& body, bool externalTileset = false) {
        std::string tileset = externalTileset ? "<tileset firstgid=\"1\" source=\"sets/ground.tsx\"/>"
                                              : "<tileset firstgid=\"1\" name=\"ground\" tilewidth=\"32\" "
                                                "tileheight=\"32\"><image source=\"tiles.png\"/></tileset>";
        std::string path = folder + "/map" + std::to_string(++maps) + ".tmx";
        kvtest::writeBytes(path, std::string("<map version=\"1.0\" orientation=\"") + orientation +
                                     "\" width=\"3\" height=\"2\" tilewidth=\"32\" tileheight=\"32\">" +
                                     tileset + body + "</map>");
        return path;
    }

    static std::string layer(const char* name, TmxData form, const std::string& extra = "") {
        return std::string("<layer name=\"") + name + "\" width=\"3\" height=\"2\">" + extra +
               kvtest::dataElement({1, 0, 6, 0, 2, 8}, form) + "</layer>";
    }

    kvtest::PoolScope pool;
    std::string folder;
    int maps = 0;
};

TEST_F(TMXTiledMapTest, LayersPlaceOneQuadPerTileInEveryOrientation) {
    struct Case {
        const char* orientation;
        TmxData form;
        bool external;
        CCPoint cell2, cell5; // positions of the tiles at cells (2, 0) and (2, 1)
    } cases[] = {
        {"orthogonal", TmxData::Base64, false, {64, 32}, {64, 0}},
        {"hexagonal", TmxData::Zlib, true, {48, 32}, {48, 0}},
        {"isometric", TmxData::Gzip, false, {64, 0}, {48, -16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        CCTMXTiledMap* map = CCTMXTiledMap::createWithFile(
            writeMap(c.orientation, layer("ground", c.form), c.external).c_str());
        ASSERT_NE(map, nullptr);
        CCTMXLayer* ground = map->layerNamed("ground");
        ASSERT_NE(ground, nullptr);
        EXPECT_EQ(ground->getTextureAtlas()->getTotalQuads(), 4u);
        const CCValueArrayData* indexes = ground->getAtlasIndexes();
        ASSERT_EQ(indexes->count, 4u);
        const std::uint32_t cells[] = {0, 2, 4, 5};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(indexes->items[i], cells[i]);
        EXPECT_EQ(ground->getMinGID(), 1u);
        EXPECT_EQ(ground->getMaxGID(), 8u);
        EXPECT_EQ(ground->tilePosition(CCPoint(2, 0)).x, c.cell2.x);
        EXPECT_EQ(ground->tilePosition(CCPoint(2, 0)).y, c.cell2.y);
        EXPECT_EQ(ground->tilePosition(CCPoint(2, 1)).x, c.cell5.x);
        EXPECT_EQ(ground->tilePosition(CCPoint(2, 1)).y, c.cell5.y);
        // Quad 1 is the tile of cell (2, 0), GID 6: picture column 1, row 1.
        const ccV3F_C4B_T2F_Quad& quad = ground->getTextureAtlas()->getQuads()[1];
        EXPECT_FLOAT_EQ(quad.bl.vertices.x, c.cell2.x);
        EXPECT_FLOAT_EQ(quad.bl.vertices.y, c.cell2.y);
        EXPECT_NEAR(quad.tl.texCoords.u, 32.0f / 128, 1e-6);
    }
}

TEST_F(TMXTiledMapTest, VertexZFromLayerProperties) {
    struct Case {
        const char* orientation;
        const char* value;
        int z00, z21;
    } cases[] = {
        {"orthogonal", "automatic", -2, -1},
        {"isometric", "automatic", -5, -2},
        {"hexagonal", "automatic", 0, 0},
        {"orthogonal", "7", 7, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.orientation) + " " + c.value);
        std::string props = std::string("<properties><property name=\"cc_vertexz\" value=\"") + c.value +
                            "\"/><property name=\"cc_alpha_func\" value=\"0.5\"/></properties>";
        CCTMXTiledMap* map = CCTMXTiledMap::createWithFile(
            writeMap(c.orientation, layer("l", TmxData::Base64, props)).c_str());
        ASSERT_NE(map, nullptr);
        CCTMXLayer* l = map->layerNamed("l");
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->tileVertexZ(CCPoint(0, 0)), c.z00);
        EXPECT_EQ(l->tileVertexZ(CCPoint(2, 1)), c.z21);
        EXPECT_FLOAT_EQ(l->getAlphaTestValue(), 0.5f);
        ASSERT_NE(l->findProperty("cc_vertexz"), nullptr);
        l->draw(); // with the alpha test around the batch draw
        EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    }
}

TEST_F(TMXTiledMapTest, MapKeepsObjectGroupsPropertiesAndSkipsUnusableLayers) {
    std::string body = "<properties><property name=\"music\" value=\"deep\"/></properties>" +
                       layer("a", TmxData::Base64) +
                       "<layer name=\"hidden\" width=\"3\" height=\"2\" visible=\"0\">" +
                       kvtest::dataElement({1, 1, 1, 1, 1, 1}, TmxData::Base64) + "</layer>" +
                       "<layer name=\"empty\" width=\"3\" height=\"2\">" +
                       kvtest::dataElement({0, 0, 0, 0, 0, 0}, TmxData::Base64) + "</layer>" +
                       "<layer name=\"broken\" width=\"3\" height=\"2\">" +
                       kvtest::dataElement({1}, TmxData::Base64) + "</layer>" + layer("b", TmxData::Zlib) +
                       "<objectgroup name=\"Holes\"><object name=\"h1\" x=\"10\" y=\"20\" width=\"4\" "
                       "height=\"4\"/></objectgroup>"
                       "<objectgroup name=\"GPE\"/><objectgroup name=\"Holes\"/>";
    kvtest::LogCapture log;
    CCTMXTiledMap* map = CCTMXTiledMap::createWithFile(writeMap("orthogonal", body).c_str());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(childCount(map), 2u);
    ASSERT_NE(map->layerNamed("b"), nullptr);
    EXPECT_EQ(map->layerNamed("b")->getZOrder(), 1);
    EXPECT_EQ(map->layerNamed("hidden"), nullptr);
    EXPECT_EQ(map->layerNamed("broken"), nullptr);
    EXPECT_FLOAT_EQ(map->getContentSize().width, 96);
    EXPECT_FLOAT_EQ(map->getContentSize().height, 64);
    EXPECT_EQ(map->getProperties()->objectForKey("music")->text, "deep");

    CCTMXObjectGroup* holes = map->findObjectGroupByName("Holes");
    ASSERT_NE(holes, nullptr);
    ASSERT_NE(holes->findObjectByName("h1"), nullptr);
    EXPECT_EQ(holes->findObjectByName("h1")->objectForKey("y")->text, "40"); // 64 - 20 - 4
    EXPECT_EQ(map->findObjectGroupByName("Nothing"), nullptr);
    EXPECT_EQ(map->findObjectGroupByName(nullptr), nullptr);
}

TEST_F(TMXTiledMapTest, TileLayersRefuseChildrenAndBadMapsFail) {
    CCTMXTiledMap* map =
        CCTMXTiledMap::createWithFile(writeMap("orthogonal", layer("a", TmxData::Base64)).c_str());
    ASSERT_NE(map, nullptr);
    CCTMXLayer* a = map->layerNamed("a");
    kvtest::LogCapture log;
    auto* sprite = new CCSprite();
    sprite->init();
    a->addChild(sprite);
    sprite->release();
    EXPECT_EQ(childCount(a), 0u);
    a->removeChild(nullptr, true);

    EXPECT_EQ(CCTMXTiledMap::createWithFile((folder + "/missing.tmx").c_str()), nullptr);
    kvtest::writeBytes(folder + "/bad.tmx", "<map><layer>");
    EXPECT_EQ(CCTMXTiledMap::createWithFile((folder + "/bad.tmx").c_str()), nullptr);
    // A tileset whose picture is missing skips the layer.
    kvtest::writeBytes(folder + "/nopic.tmx",
                       "<map width=\"3\" height=\"2\" tilewidth=\"32\" tileheight=\"32\">"
                       "<tileset firstgid=\"1\" tilewidth=\"32\" tileheight=\"32\">"
                       "<image source=\"none.png\"/></tileset>" +
                           layer("a", TmxData::Base64) + "</map>");
    CCTMXTiledMap* noPicture = CCTMXTiledMap::createWithFile((folder + "/nopic.tmx").c_str());
    ASSERT_NE(noPicture, nullptr);
    EXPECT_EQ(childCount(noPicture), 0u);
    EXPECT_FALSE(log.lines.empty());
}

TEST(ValueArrayData, InsertGrowsAndRemoveShifts) {
    CCValueArrayData* array = createValueArrayData(0);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->capacity, 1u);
    for (std::uint32_t v = 0; v < 5; ++v)
        ASSERT_TRUE(insertIntoValueArrayData(array, v * 10, v));
    ASSERT_TRUE(insertIntoValueArrayData(array, 99, 1));
    ASSERT_TRUE(insertIntoValueArrayData(array, 77, 1000)); // clamped to the end
    removeFromValueArrayData(array, 0);
    removeFromValueArrayData(array, 500); // ignored
    const std::uint32_t expected[] = {99, 10, 20, 30, 40, 77};
    ASSERT_EQ(array->count, 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(array->items[i], expected[i]);
    freeValueArrayData(array);
    freeValueArrayData(nullptr);
}

} // namespace
