// What each kind of layer builds from its dictionary, and how it refuses data it cannot use.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EnvFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTexture2D.h"
#include "game/environment/KVAnimatedEnvSprite.h"
#include "game/environment/KVEnvDrawing.h"
#include "game/environment/KVEnvLayerAnimationSvg.h"
#include "game/environment/KVEnvLayerAnimationTmx.h"
#include "game/environment/KVEnvLayerCaustics.h"
#include "game/environment/KVEnvLayerParticles.h"
#include "game/environment/KVEnvLayerSpriteAnim.h"
#include "support/TestFiles.h"

using namespace kvengine;
using envtest::layerDict;

namespace {

SVGPointList* pathOf(const std::vector<CCPoint>& points) {
    auto* list = new SVGPointList();
    list->autorelease();
    for (const CCPoint& point : points) {
        auto* value = new CCValue<CCPoint>(point);
        list->addObject(value);
        value->release();
    }
    return list;
}

template <typename Layer> Layer* makeLayer(kvdata::Dict* dictionary, bool* ready) {
    auto* layer = new Layer();
    layer->autorelease();
    *ready = layer->initWithDictionary(dictionary);
    return layer;
}

unsigned childCount(CCNode* node) {
    return node != nullptr && node->getChildren() != nullptr ? node->getChildren()->count() : 0;
}

// --- caustics, at one texel a point: the built frames are 254 points wide -------------------

class CausticsAtScaleOne : public envtest::EnvFixture {
protected:
    CausticsAtScaleOne() : EnvFixture(1.0f) {}
};

TEST_F(CausticsAtScaleOne, TilesCoverTheLevelAtTheLayersScale) {
    const struct {
        const char* scale;
        float width, height;
        int columns, rows;
    } cases[] = {{"1", 1000, 600, 4, 3}, {"2", 1000, 600, 2, 2}, {"1", 254, 254, 1, 1}, {"1", 0, 0, 0, 0}};
    for (const auto& c : cases) {
        bool ready = false;
        auto* layer = makeLayer<KVEnvLayerCaustics>(layerDict({{"scale", c.scale}}), &ready);
        ASSERT_TRUE(ready);
        layer->tileArea(c.width, c.height);
        EXPECT_EQ(layer->getColumns(), c.columns) << c.scale << " " << c.width;
        EXPECT_EQ(layer->getRows(), c.rows) << c.scale << " " << c.width;
        EXPECT_EQ(static_cast<int>(childCount(layer->getNode())), c.columns * c.rows);
        EXPECT_FLOAT_EQ(layer->getScale(), 1.0f);
        EXPECT_EQ(layer->getNode()->getTag(), KVEnvLayerCaustics::kNodeTag);
    }
}

TEST_F(CausticsAtScaleOne, AScaleOfZeroLaysNoTileAndSaysSo) {
    kvtest::LogLines log;
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerCaustics>(layerDict({{"opacity", "1"}}), &ready);
    ASSERT_TRUE(ready);
    layer->tileArea(1000, 600);
    EXPECT_EQ(childCount(layer->getNode()), 0u);
    EXPECT_TRUE(log.contains("no tile"));
}

TEST_F(CausticsAtScaleOne, TheMenuOverlayCoversTheWindowAdditively) {
    KVEnvLayerCaustics* layer = KVEnvLayerCaustics::createMenuCausticsLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getBlendingMode(), KVEnvLayer::kBlendAdditive);
    EXPECT_EQ(layer->getOpacity(), 25);
    // 960 x 600 in tiles of 508 points.
    EXPECT_EQ(layer->getColumns(), 2);
    EXPECT_EQ(layer->getRows(), 2);
}

// --- a frame animation over the window -------------------------------------------------------

class SpriteAnimAtScaleOne : public envtest::EnvFixture {
protected:
    SpriteAnimAtScaleOne() : EnvFixture(1.0f) {}
    void setUpWithGL() override {
        EnvFixture::setUpWithGL();
        folder = kvtest::makeTempFolder("env-anim");
        // One 1024 x 512 frame "big_01.png" on its own texture.
        ASSERT_TRUE(kvtest::writeSolidPng(folder + "/big_ss.png", 1024, 512, 30, 90, 60));
        ASSERT_TRUE(kvtest::writeTextFile(
            folder + "/big_ss.plist",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict><key>frames</key><dict>"
            "<key>big_01.png</key><dict><key>frame</key><string>{{0,0},{1024,512}}</string>"
            "<key>offset</key><string>{0,0}</string><key>rotated</key><false/>"
            "<key>sourceColorRect</key><string>{{0,0},{1024,512}}</string>"
            "<key>sourceSize</key><string>{1024,512}</string></dict></dict>"
            "<key>metadata</key><dict><key>format</key><integer>2</integer>"
            "<key>textureFileName</key><string>big_ss.png</string></dict></dict></plist>"));
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 1;
        EnvFixture::tearDownWithGL();
    }
    kvdata::Dict* animation(const std::string& delay) {
        kvdata::Dict* dict = layerDict({{"name", "big_"},
                                        {"spritesheets_array", "[" + folder + "/big_ss]"},
                                        {"frame_index_start", "1"},
                                        {"frame_index_end", "1"},
                                        {"scale", "1.5"},
                                        {"opacity", "1"}});
        if (!delay.empty()) kvdata::setText(dict, "anim_delay", delay);
        return dict;
    }
    std::string folder;
};

TEST_F(SpriteAnimAtScaleOne, OnTheNarrowWindowThePictureCoversIt) {
    CCDirector::wideScreen = 0;
    director->setWinSizeInPoints(CCSize(800, 600));
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerSpriteAnim>(animation("0.1"), &ready);
    ASSERT_TRUE(ready);
    EXPECT_FLOAT_EQ(layer->getScale(), 600.0f / 512.0f);
    EXPECT_FLOAT_EQ(layer->getNode()->getScaleX(), 600.0f / 512.0f);
    EXPECT_EQ(layer->getKind(), KVEnvLayer::kSpriteAnim);
}

TEST_F(SpriteAnimAtScaleOne, OnTheWideWindowTheDataGivesTheScale) {
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerSpriteAnim>(animation("0"), &ready);
    ASSERT_TRUE(ready);
    EXPECT_FLOAT_EQ(layer->getNode()->getScaleX(), 1.5f);
}

TEST_F(SpriteAnimAtScaleOne, WithoutADelayOrAFirstFrameThereIsNoLayer) {
    {
        kvtest::LogLines log;
        bool ready = true;
        makeLayer<KVEnvLayerSpriteAnim>(animation(""), &ready);
        EXPECT_FALSE(ready);
        EXPECT_TRUE(log.contains("anim_delay"));
    }
    {
        kvtest::LogLines log;
        kvdata::Dict* dict = animation("0.1");
        kvdata::setText(dict, "frame_index_start", "2");
        kvdata::setText(dict, "frame_index_end", "3");
        bool ready = true;
        makeLayer<KVEnvLayerSpriteAnim>(dict, &ready);
        EXPECT_FALSE(ready);
        EXPECT_TRUE(log.contains("first frame"));
    }
}

// --- the kinds over the built scenery --------------------------------------------------------

class EnvKinds : public envtest::EnvFixture {};

TEST_F(EnvKinds, ParticlesNeedEveryRequiredKey) {
    const std::vector<std::pair<std::string, std::string>> complete = {{"name", "env_plankton.png"},
                                                                       {"total_particles", "10"},
                                                                       {"lifetime", "5"},
                                                                       {"lifetime_variance", "1"},
                                                                       {"size", "4"},
                                                                       {"size_variance", "1"},
                                                                       {"angle", "90"},
                                                                       {"speed", "10"},
                                                                       {"speed_variance", "1"}};
    bool ready = false;
    makeLayer<KVEnvLayerParticles>(layerDict(complete), &ready);
    EXPECT_TRUE(ready);
    for (size_t skip = 1; skip < complete.size(); ++skip) {
        std::vector<std::pair<std::string, std::string>> partial = complete;
        partial.erase(partial.begin() + static_cast<long>(skip));
        kvtest::LogLines log;
        makeLayer<KVEnvLayerParticles>(layerDict(partial), &ready);
        EXPECT_FALSE(ready) << complete[skip].first;
        EXPECT_TRUE(log.contains(complete[skip].first)) << complete[skip].first;
    }
    for (const char* lifetime : {"0", "-2"}) {
        std::vector<std::pair<std::string, std::string>> broken = complete;
        broken[2].second = lifetime;
        makeLayer<KVEnvLayerParticles>(layerDict(broken), &ready);
        EXPECT_FALSE(ready) << lifetime;
    }
}

TEST_F(EnvKinds, TileMapObjectsBecomeAnimatedSprites) {
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerAnimationTmx>(
        layerDict({{"name", "env_fishschool.tmx"}, {"spritesheet_name", "env_fish_ss"}, {"scale", "1"}}),
        &ready);
    ASSERT_TRUE(ready);
    EXPECT_EQ(childCount(layer->getNode()), 9u);
    // The map is 60 x 38 tiles of 32 texels at two texels a point.
    EXPECT_FLOAT_EQ(layer->getNode()->getContentSize().width, 960.0f);
    EXPECT_FLOAT_EQ(layer->getNode()->getContentSize().height, 608.0f);
    auto* first = static_cast<CCSprite*>(layer->getNode()->getChildren()->objectAtIndex(0));
    EXPECT_EQ(first->numberOfRunningActions(), 1u);
}

TEST_F(EnvKinds, AMissingMapOrSheetGivesNoLayer) {
    const std::vector<std::pair<std::string, std::string>> cases[] = {
        {{"name", "no_such_map.tmx"}, {"spritesheet_name", "env_fish_ss"}},
        {{"name", "env_fishschool.tmx"}, {"spritesheet_name", "no_such_ss"}},
        {{"name", "env_fishschool.tmx"}},
    };
    for (const auto& entries : cases) {
        kvtest::LogLines log;
        bool ready = true;
        makeLayer<KVEnvLayerAnimationTmx>(layerDict(entries), &ready);
        EXPECT_FALSE(ready);
        EXPECT_TRUE(log.contains("KVEnvLayerAnimationTmx"));
    }
}

TEST_F(EnvKinds, EverySvgPathWithParamsSwimsAndMovesOnUpdate) {
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerAnimationSvg>(
        layerDict({{"name", "env_fishpath.svg"}, {"spritesheet_name", "env_fish_ss"}, {"scale", "1"}}),
        &ready);
    ASSERT_TRUE(ready);
    ASSERT_EQ(layer->getAnimatedSprites()->count(), 3u);
    EXPECT_EQ(childCount(layer->getNode()), 3u);
    KVAnimatedEnvSprite* fish = layer->getAnimatedSprites()->objectAtIndex(0);
    EXPECT_FLOAT_EQ(fish->getSpeed(), 70.0f);
    EXPECT_FLOAT_EQ(layer->getAnimatedSprites()->objectAtIndex(2)->getSpeed(), 50.0f); // none given
    // The drawing's first point (200, 500) of 1216 pixels at two pixels a point.
    EXPECT_FLOAT_EQ(fish->getSprite()->getPosition().x, 100.0f);
    EXPECT_FLOAT_EQ(fish->getSprite()->getPosition().y, 358.0f);
    // Half a second at 70 points a second: at most 35 points, less when a path point stops it.
    layer->update(0.5f);
    const CCPoint moved = fish->getSprite()->getPosition();
    const float travelled = std::hypot(moved.x - 100.0f, moved.y - 358.0f);
    EXPECT_GT(travelled, 1.0f);
    EXPECT_LE(travelled, 35.001f);
}

TEST_F(EnvKinds, PathsThatCannotSwimAreSkippedAndLogged) {
    bool ready = false;
    auto* layer = makeLayer<KVEnvLayerAnimationSvg>(
        layerDict({{"name", "no_such_drawing.svg"}, {"spritesheet_name", "env_fish_ss"}}), &ready);
    ASSERT_TRUE(ready); // a layer without sprites
    const struct {
        const char* what;
        std::vector<CCPoint> points;
        const char* gameData;
        const char* logged;
    } cases[] = {
        {"one point", {{0, 0}}, "objectParams=sprite_name:fishB", "two distinct points"},
        {"two equal points", {{5, 5}, {5, 5}}, "objectParams=sprite_name:fishB", "two distinct points"},
        {"no objectParams", {{0, 0}, {10, 0}}, "speed=3", "objectParams"},
        {"no sprite_name", {{0, 0}, {10, 0}}, "objectParams=frame_count:4", "objectParams"},
        {"a frame that is missing", {{0, 0}, {10, 0}}, "objectParams=sprite_name:nobody", "objectParams"},
    };
    for (const auto& c : cases) {
        kvtest::LogLines log;
        layer->addAnimationPath(kvdata::newString(c.gameData), pathOf(c.points));
        EXPECT_EQ(layer->getAnimatedSprites()->count(), 0u) << c.what;
        EXPECT_TRUE(log.contains(c.logged)) << c.what;
    }
    layer->addAnimationPath(kvdata::newString("x=1,objectParams=sprite_name:fishB;frame_count:4;speed:20"),
                            pathOf({{0, 0}, {0, 0}, {10, 0}}));
    ASSERT_EQ(layer->getAnimatedSprites()->count(), 1u);
    EXPECT_EQ(layer->getAnimatedSprites()->objectAtIndex(0)->pointCount(), 2u);
}

TEST(EnvGameData, PairsAndObjectParamsSplit) {
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    EXPECT_EQ(KVEnvLayerAnimationSvg::gameDataValue("a=1,objectParams=x:2;y:3,b=4", "objectParams"),
              "x:2;y:3");
    EXPECT_EQ(KVEnvLayerAnimationSvg::gameDataValue("a=1,b", "b"), "");
    EXPECT_EQ(KVEnvLayerAnimationSvg::gameDataValue("", "a"), "");
    kvdata::Dict* params = KVEnvLayerAnimationSvg::parseObjectParams("sprite_name:fish;broken;speed:40;");
    EXPECT_EQ(kvdata::textAt(params, "sprite_name"), "fish");
    EXPECT_EQ(kvdata::textAt(params, "speed"), "40");
    EXPECT_EQ(kvdata::countOf(params), 2u);
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
}

// --- a sprite on a path ----------------------------------------------------------------------

class AnimatedEnvSprite : public envtest::EnvFixture {
protected:
    void setUpWithGL() override {
        EnvFixture::setUpWithGL();
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(
            (std::string(KELVOS_RESOURCES_DIR) + "/sheets/env_fish_ss.plist").c_str());
    }
    KVAnimatedEnvSprite* swimmer(const std::vector<CCPoint>& points, const char* speed) {
        KVAnimatedEnvSprite* sprite = KVAnimatedEnvSprite::createWithPath(pathOf(points));
        EXPECT_NE(sprite, nullptr);
        kvdata::Dict* params = layerDict({{"sprite_name", "fishB"}, {"frame_count", "4"}});
        if (*speed != '\0') kvdata::setText(params, "speed", speed);
        EXPECT_TRUE(sprite->initWithParams(params));
        return sprite;
    }
};

TEST_F(AnimatedEnvSprite, ReachesTheLastPointThenStartsOver) {
    KVAnimatedEnvSprite* fish = swimmer({{0, 0}, {100, 0}}, "50");
    const struct {
        float dt;
        float x;
        int next;
    } steps[] = {{1.0f, 50, 1}, {0.5f, 75, 1}, {0.49f, 99.5f, 1}, {0.01f, 0, 1}, {1.0f, 50, 1}};
    for (const auto& s : steps) {
        fish->update(s.dt);
        EXPECT_NEAR(fish->getSprite()->getPosition().x, s.x, 1e-3f) << s.dt;
        EXPECT_EQ(fish->getNextPoint(), s.next);
    }
    // At 60 frames a second the loop takes 2 s: the jump back comes on frame 120 (+- rounding).
    KVAnimatedEnvSprite* timed = swimmer({{0, 0}, {100, 0}}, "");
    int frames = 0;
    float furthest = 0;
    while (frames < 200) {
        timed->update(1.0f / 60);
        ++frames;
        const float x = timed->getSprite()->getPosition().x;
        if (x < furthest) break;
        furthest = x;
    }
    EXPECT_NEAR(frames, 120, 1);
}

TEST_F(AnimatedEnvSprite, FacesItsWayOfTravel) {
    const struct {
        CCPoint to;
        float rotation;
    } cases[] = {{{0, 100}, 0}, {{100, 0}, 90}, {{0, -100}, 180}, {{-100, 0}, -90}, {{100, 100}, 45}};
    for (const auto& c : cases) {
        KVAnimatedEnvSprite* fish = swimmer({{0, 0}, c.to}, "10");
        fish->update(1.0f);
        EXPECT_NEAR(fish->getSprite()->getRotation(), c.rotation, 1e-3f) << c.to.x << "," << c.to.y;
    }
}

TEST_F(AnimatedEnvSprite, ItsFrameDelayIsDrawnFromTheSharedSeedableSource) {
    // Making a swimmer takes exactly one value of the shared source, so a seeded run repeats.
    kvengine::CCRandom::seed(5);
    kvengine::CCRandom::next();
    const int second = kvengine::CCRandom::next();
    kvengine::CCRandom::seed(5);
    swimmer({{0, 0}, {10, 0}}, "10");
    EXPECT_EQ(kvengine::CCRandom::next(), second);
}

TEST_F(AnimatedEnvSprite, WalksEveryPointOfALongerPath) {
    KVAnimatedEnvSprite* fish = swimmer({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, "10");
    const CCPoint expected[] = {{10, 0}, {10, 10}, {0, 0}, {10, 0}};
    for (const CCPoint& point : expected) {
        fish->update(1.0f);
        EXPECT_NEAR(fish->getSprite()->getPosition().x, point.x, 1e-4f);
        EXPECT_NEAR(fish->getSprite()->getPosition().y, point.y, 1e-4f);
    }
    fish->update(0.0f); // no time, no move
    fish->update(-1.0f);
    EXPECT_NEAR(fish->getSprite()->getPosition().x, 10.0f, 1e-4f);
}

} // namespace

// --- faint texels are not drawn ---------------------------------------------------------------

class AlphaTestedNodes : public kvtest::GLFixture {
protected:
    AlphaTestedNodes() : GLFixture(32, 32) {}
};

TEST_F(AlphaTestedNodes, OnlyTexelsAboveTheFloorReachTheWindow) {
    const struct {
        uint8_t alpha;
        bool drawn;
    } cases[] = {{0, false}, {5, false}, {12, false}, {40, true}, {255, true}};
    for (const auto& c : cases) {
        clear();
        useFrameDrawingState();
        CCTexture2D* texture = makeTexture(16, 16, 16, 16, ccColor4B{255, 255, 255, c.alpha});
        auto* sprite = new KVAlphaTestedSprite();
        ASSERT_TRUE(sprite->initWithTexture(texture));
        sprite->setAnchorPoint(CCPoint(0, 0));
        sprite->setBlendFunc(ccBlendFunc{GL_ONE, GL_ONE}); // any texel drawn lights the pixel
        sprite->visit();
        sprite->release();
        EXPECT_EQ(gl.pixel(8, 8).r > 0, c.drawn) << int(c.alpha);
    }
    // The test is switched off again after the node: plain sprites draw every texel.
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}
