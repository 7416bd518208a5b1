// The layer stack of a level: file order to depth, skipped entries, the fallback file, and what
// the camera does with the layers (parallax, zoom, per-frame update).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "EnvFixture.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCParticleExamples.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayer.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/environment/KVEnvLayerParticles.h"
#include "support/TestFiles.h"

using namespace kvengine;
using envtest::backdrop;
using envtest::layerDict;
using envtest::rootDict;

namespace {

class EnvLayerManager : public envtest::EnvFixture {
protected:
    KVEnvLayerManager* manager() { return KVEnvLayerManager::getInstance(); }

    std::vector<int> kinds() {
        std::vector<int> found;
        CCMutableArray<KVEnvLayer*>* layers = manager()->getLayers();
        for (unsigned i = 0; layers != nullptr && i < layers->count(); ++i)
            found.push_back(layers->objectAtIndex(i)->getKind());
        return found;
    }

    /// The z orders the layers take in a parent, in file order.
    std::vector<int> zOrders() {
        CCNode* parent = CCNode::create();
        manager()->addLayersToNode(parent);
        std::vector<int> found;
        CCMutableArray<KVEnvLayer*>* layers = manager()->getLayers();
        for (unsigned i = 0; layers != nullptr && i < layers->count(); ++i) {
            CCNode* node = layers->objectAtIndex(i)->getNode();
            EXPECT_EQ(node->getParent(), parent);
            found.push_back(node->getZOrder());
        }
        parent->removeAllChildren(true);
        return found;
    }

    KVEnvLayer* layer(unsigned index) { return manager()->getLayers()->objectAtIndex(index); }
};

kvdata::Dict* mainEntry() {
    return layerDict({{"disable", "0"}, {"type", "main"}});
}

TEST_F(EnvLayerManager, EntriesStackInKeyOrderAroundTheGameplayLayer) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, kvdata::Dict*>> entries;
        std::vector<int> kinds;
        std::vector<int> zOrders;
        const char* logged; // a line the load must log, or ""
    };
    kvdata::Dict* disabled = backdrop();
    kvdata::setText(disabled, "disable", "1");
    kvdata::Dict* unknown = backdrop();
    kvdata::setText(unknown, "type", "hologram");
    kvdata::Dict* noDisable = layerDict({{"type", "sprite"}, {"name", "env_deepwater.png"}});
    kvdata::Dict* noType = layerDict({{"disable", "0"}, {"name", "env_deepwater.png"}});
    const int sprite = KVEnvLayer::kSprite, main = KVEnvLayer::kMain;
    const Case cases[] = {
        {"front, main, back",
         {{"c", backdrop()}, {"a", backdrop()}, {"b", mainEntry()}},
         {sprite, main, sprite},
         {100, 99, 98},
         ""},
        {"a disabled entry leaves no gap",
         {{"a", backdrop()}, {"b", disabled}, {"c", mainEntry()}, {"d", backdrop()}},
         {sprite, main, sprite},
         {100, 99, 98},
         ""},
        {"an unknown type is skipped", {{"a", unknown}, {"b", mainEntry()}}, {main}, {100}, "hologram"},
        {"keys compare byte-wise", {{"B", backdrop()}, {"a", mainEntry()}}, {sprite, main}, {100, 99}, ""},
        {"entries without \"disable\" or \"type\" are skipped",
         {{"a", noDisable}, {"b", mainEntry()}, {"c", noType}},
         {main},
         {100},
         "needs \"disable\" and \"type\""},
    };
    for (const Case& c : cases) {
        kvtest::LogLines log;
        manager()->loadLayersFromDictionary(rootDict(c.entries), gameplay, gameplay);
        EXPECT_EQ(kinds(), c.kinds) << c.what;
        EXPECT_EQ(zOrders(), c.zOrders) << c.what;
        if (*c.logged != '\0') {
            EXPECT_TRUE(log.contains(c.logged)) << c.what;
        }
    }
}

TEST_F(EnvLayerManager, TheMainEntryIsTheGameplayLayerWhateverTheFileSays) {
    kvdata::Dict* main =
        layerDict({{"disable", "0"}, {"type", "main"}, {"scale", "7"}, {"parallax_factor", "3"}});
    manager()->loadLayersFromDictionary(rootDict({{"m", main}}), gameplay, gameplay);
    ASSERT_EQ(kinds(), std::vector<int>{KVEnvLayer::kMain});
    EXPECT_EQ(layer(0)->getNode(), gameplay);
    EXPECT_TRUE(layer(0)->isFixed());
    EXPECT_FLOAT_EQ(layer(0)->getScale(), 1.0f);
    EXPECT_FLOAT_EQ(layer(0)->getParallaxFactor(), 1.0f);
    EXPECT_STREQ(layer(0)->getName()->c_str(), "main layer");
    // The gameplay layer keeps its size and sits at the origin: its centre is the window's.
    EXPECT_FLOAT_EQ(gameplay->getContentSize().width, kWidth);
    EXPECT_FLOAT_EQ(gameplay->getPosition().x, 0.0f);
    EXPECT_FLOAT_EQ(gameplay->getPosition().y, 0.0f);
}

TEST_F(EnvLayerManager, ALevelWithoutItsOwnFileUsesTheDefaultOne) {
    KVGameSetup::getInstance()->setMissionName(kvdata::newString("NoSuchMission"));
    manager()->loadLayers(gameplay);
    EXPECT_EQ(kinds(), (std::vector<int>{KVEnvLayer::kMain, KVEnvLayer::kSprite}));

    KVGameSetup::getInstance()->setMissionName(kvdata::newString("M01a"));
    manager()->loadLayers(gameplay);
    EXPECT_EQ(kinds().size(), 8u);
}

TEST_F(EnvLayerManager, WithNeitherFileTheLevelGetsTheGameplayLayerAlone) {
    kvtest::LogLines log;
    manager()->loadLayersNamed("Nowhere_ENV", "AlsoNowhere_ENV", gameplay, gameplay);
    EXPECT_EQ(kinds(), std::vector<int>{KVEnvLayer::kMain});
    EXPECT_TRUE(log.contains("AlsoNowhere_ENV"));
}

TEST_F(EnvLayerManager, BlendingModesMapToBlendFunctions) {
    struct Case {
        const char* mode;
        int code;
        ccBlendFunc blend;
    };
    // The sprite's own function for its picture, as a plain sprite of it gets.
    const ccBlendFunc normal =
        CCSprite::createWithFile(
            (std::string(KELVOS_RESOURCES_DIR) + "/environment/env_deepwater.png").c_str())
            ->getBlendFunc();
    const Case cases[] = {{"additive", KVEnvLayer::kBlendAdditive, {GL_ONE, GL_ONE}},
                          {"multiply", KVEnvLayer::kBlendMultiply, {GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA}},
                          {"screen", KVEnvLayer::kBlendNormal, normal},
                          {"", KVEnvLayer::kBlendNormal, normal}};
    for (const Case& c : cases) {
        kvdata::Dict* entry = backdrop();
        // Half opacity keeps the picture blended, so the sprite's own function shows.
        kvdata::setText(entry, "opacity", "0.5");
        if (*c.mode != '\0') kvdata::setText(entry, "blending_mode", c.mode);
        manager()->loadLayersFromDictionary(rootDict({{"a", entry}}), gameplay, gameplay);
        ASSERT_EQ(kinds().size(), 1u) << c.mode;
        EXPECT_EQ(layer(0)->getBlendingMode(), c.code) << c.mode;
        const ccBlendFunc blend = dynamic_cast<CCSprite*>(layer(0)->getNode())->getBlendFunc();
        EXPECT_EQ(blend.src, c.blend.src) << c.mode;
        EXPECT_EQ(blend.dst, c.blend.dst) << c.mode;
        EXPECT_EQ(layer(0)->getOpacity(), 127) << c.mode;
    }
}

TEST_F(EnvLayerManager, ScrollingMovesEachLayerByItsShareAndLeavesTheGameAlone) {
    manager()->loadLayersFromDictionary(
        rootDict({{"a", backdrop("0.5")}, {"b", mainEntry()}, {"c", backdrop("0")}, {"d", backdrop("1.5")}}),
        gameplay, gameplay);
    ASSERT_EQ(kinds().size(), 4u);
    std::vector<CCPoint> before;
    for (unsigned i = 0; i < 4; ++i)
        before.push_back(layer(i)->getNode()->getPosition());
    manager()->scrollLayers(CCPoint(40, -20));
    const float shares[] = {0.5f, 0.0f, 0.0f, 1.5f}; // the main layer is fixed
    for (unsigned i = 0; i < 4; ++i) {
        const CCPoint after = layer(i)->getNode()->getPosition();
        EXPECT_FLOAT_EQ(after.x - before[i].x, 40 * shares[i]) << i;
        EXPECT_FLOAT_EQ(after.y - before[i].y, -20 * shares[i]) << i;
    }
}

TEST_F(EnvLayerManager, ZoomingScalesAboutTheWindowCentreByTheLayersShare) {
    kvdata::Dict* zoomed = backdrop("1", "1");
    kvdata::setText(zoomed, "scale", "2");
    manager()->loadLayersFromDictionary(
        rootDict({{"a", zoomed}, {"b", backdrop("1", "0")}, {"c", mainEntry()}}), gameplay, gameplay);
    ASSERT_EQ(kinds().size(), 3u);
    CCNode* node = layer(0)->getNode();
    const float scaleX = node->getScaleX();
    const CCPoint centre(kWidth / 2.0f, kHeight / 2.0f);
    const CCPoint underCentre = node->convertToNodeSpace(centre);
    const float keptScale = layer(1)->getNode()->getScaleX();

    manager()->zoomLayers(0.25f);
    // zoom factor 1 x layer scale 2 x step 0.25
    EXPECT_FLOAT_EQ(node->getScaleX(), scaleX + 0.5f);
    const CCPoint back = node->convertToWorldSpace(underCentre);
    EXPECT_NEAR(back.x, centre.x, 0.01f);
    EXPECT_NEAR(back.y, centre.y, 0.01f);
    EXPECT_FLOAT_EQ(layer(0)->getHomePosition().x, node->getPosition().x);
    EXPECT_FLOAT_EQ(layer(0)->getHomePosition().y, node->getPosition().y);
    // Zoom factor 0 keeps the scale; the gameplay layer is not the manager's to zoom.
    EXPECT_FLOAT_EQ(layer(1)->getNode()->getScaleX(), keptScale);
    EXPECT_FLOAT_EQ(gameplay->getScaleX(), 1.0f);
}

TEST_F(EnvLayerManager, ParticlesGrowFivePointsPerUnitOfZoom) {
    kvdata::Dict* plankton = layerDict({{"disable", "0"},
                                        {"type", "particles"},
                                        {"name", "env_plankton.png"},
                                        {"total_particles", "20"},
                                        {"lifetime", "4"},
                                        {"lifetime_variance", "1"},
                                        {"size", "6"},
                                        {"size_variance", "2"},
                                        {"angle", "90"},
                                        {"speed", "10"},
                                        {"speed_variance", "2"},
                                        {"zoom_factor", "0"}});
    manager()->loadLayersFromDictionary(rootDict({{"a", plankton}}), gameplay, gameplay);
    ASSERT_EQ(kinds(), std::vector<int>{KVEnvLayer::kParticles});
    auto* particles = static_cast<KVEnvLayerParticles*>(layer(0));
    EXPECT_FLOAT_EQ(particles->getParticleSystem()->getEmissionRate(), 5.0f); // 20 over 4 s
    EXPECT_STREQ(particles->getName()->c_str(), "Environment/hawaii/env_plankton.png");
    manager()->zoomLayers(1.0f);
    EXPECT_FLOAT_EQ(particles->getParticleSystem()->getStartSize(), 11.0f);
    manager()->zoomLayers(-0.4f);
    EXPECT_FLOAT_EQ(particles->getParticleSystem()->getStartSize(), 9.0f);
}

TEST_F(EnvLayerManager, LayersAreCentredOnTheWindowAndOnlyTheGameKeepsItsSize) {
    kvdata::Dict* reef = layerDict({{"disable", "0"},
                                    {"type", "tmx"},
                                    {"name", "env_reef.tmx"},
                                    {"scale", "1"},
                                    {"opacity", "1"},
                                    {"parallax_factor", "0.6"},
                                    {"zoom_factor", "0.6"}});
    CCNode* level = CCNode::create();
    level->setContentSize(CCSize(1600, 900));
    manager()->loadLayersFromDictionary(rootDict({{"a", reef}, {"b", mainEntry()}}), gameplay, level);
    ASSERT_EQ(kinds(), (std::vector<int>{KVEnvLayer::kTmx, KVEnvLayer::kMain}));
    // The reef map is 960 x 608 points: its centre lands on the window's centre.
    EXPECT_FLOAT_EQ(layer(0)->getHomePosition().x, 0.0f);
    EXPECT_FLOAT_EQ(layer(0)->getHomePosition().y, -4.0f);
    EXPECT_FLOAT_EQ(layer(0)->getNode()->getContentSize().width, 0.0f);
    // The gameplay layer takes the level's size, centred too.
    EXPECT_FLOAT_EQ(gameplay->getContentSize().width, 1600.0f);
    EXPECT_FLOAT_EQ(layer(1)->getHomePosition().x, (kWidth - 1600) / 2.0f);
    EXPECT_FLOAT_EQ(layer(1)->getHomePosition().y, (kHeight - 900) / 2.0f);
}

TEST_F(EnvLayerManager, GameShutdownReleasesTheLayers) {
    manager()->loadLayersFromDictionary(rootDict({{"a", backdrop()}}), gameplay, gameplay);
    ASSERT_NE(manager()->getLayers(), nullptr);
    CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN, nullptr, nullptr);
    EXPECT_EQ(manager()->getLayers(), nullptr);
    manager()->scrollLayers(CCPoint(1, 1)); // nothing left to move
    manager()->zoomLayers(1);
    manager()->updateLayers(0.1f);
}

TEST_F(EnvLayerManager, CentringPutsANodesPointOnTheWindowCentre) {
    const struct { float scale, x, y; } cases[] = {{1, 0, 0}, {1, 100, 50}, {2, 100, 50}, {0.5f, -30, 400}};
    for (const auto& c : cases) {
        CCNode* node = CCNode::create();
        node->setAnchorPoint(CCPoint(0, 0));
        node->setScale(c.scale);
        centreNodePointOnScreen(node, c.x, c.y);
        const CCPoint world = node->convertToWorldSpace(CCPoint(c.x, c.y));
        EXPECT_NEAR(world.x, kWidth / 2.0f, 0.01f) << c.scale << " " << c.x;
        EXPECT_NEAR(world.y, kHeight / 2.0f, 0.01f) << c.scale << " " << c.y;
    }
}

} // namespace
