// Every environment file of the built content, loaded through the game's own layer manager: each
// enabled entry makes its layer, and every frame, picture, map and drawing it names is found
// (a missing one is logged by the loaders, so a clean load means a complete file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ContentTestSupport.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCMutableArray.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayer.h"
#include "game/environment/KVEnvLayerAnimationSvg.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/world/KVObjectFactory.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"

using namespace kvcontenttest;

namespace {

class ContentEnvironment : public kvtest::GLFixture {
protected:
    ContentEnvironment() : GLFixture(960, 600) {}
    void setUpWithGL() override {
        KVObjectFactory::registerGameClasses();
        kvengine::CCDirector* director = kvengine::CCDirector::getInstance();
        director->setWinSizeInPoints(kvengine::CCSize(960, 600));
        director->enableDoubleContentScale();
        kvengine::CCDirector::wideScreen = 1;
    }
    void tearDownWithGL() override {
        if (KVEnvLayerManager::existingInstance() != nullptr)
            KVEnvLayerManager::existingInstance()->release();
        if (KVGameSetup::existingInstance() != nullptr) KVGameSetup::existingInstance()->release();
    }
    PoolScope pool;
};

std::vector<std::string> environmentFiles() {
    std::vector<std::string> names;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(KELVOS_RESOURCES_DIR) / "data" / "environment";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().stem().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, "_ENV") == 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ContentEnvironment, EveryEnvironmentFileLoadsWholeThroughTheManager) {
    const std::vector<std::string> files = environmentFiles();
    for (const char* needed : {"default_ENV", "M01a_ENV", "M01b_ENV", "M01c_ENV", "C0M01_ENV", "C0M02_ENV"})
        EXPECT_NE(std::find(files.begin(), files.end(), needed), files.end()) << needed;
    std::vector<int> kindsSeen(KVEnvLayer::kUnknown, 0);
    for (const std::string& file : files) {
        Dict* root = loadPlist(file + ".plist");
        ASSERT_NE(root, nullptr) << file;
        unsigned enabled = 0;
        bool hasMain = false;
        for (const std::string& key : keysOf(root)) {
            Dict* entry = dictAt(root, key);
            EXPECT_FALSE(textAt(entry, "disable").empty()) << file << " " << key;
            EXPECT_FALSE(textAt(entry, "type").empty()) << file << " " << key;
            if (std::atoi(textAt(entry, "disable").c_str()) >= 1) continue;
            ++enabled;
            if (textAt(entry, "type") == "main") hasMain = true;
        }
        EXPECT_TRUE(hasMain) << file;

        kvengine::CCNode* gameplay = kvengine::CCNode::create();
        gameplay->setContentSize(kvengine::CCSize(960, 600));
        kvtest::LogLines log;
        KVEnvLayerManager::getInstance()->loadLayersNamed(file, "no fallback", gameplay, gameplay);
        for (const std::string& line : log.lines)
            ADD_FAILURE() << file << ": " << line;
        kvengine::CCMutableArray<KVEnvLayer*>* layers = KVEnvLayerManager::getInstance()->getLayers();
        ASSERT_EQ(layers->count(), enabled) << file;
        for (unsigned i = 0; i < layers->count(); ++i) {
            KVEnvLayer* layer = layers->objectAtIndex(i);
            ++kindsSeen[layer->getKind()];
            kvengine::CCNode* node = layer->getNode();
            if (layer->getKind() == KVEnvLayer::kAnimationTmx || layer->getKind() == KVEnvLayer::kCaustics) {
                EXPECT_GT(node->getChildren() != nullptr ? node->getChildren()->count() : 0u, 0u)
                    << file << " " << i;
            }
            // A picture layer is stretched over the window: moved by the camera it would uncover
            // a black strip at the side of a level wider than the window.
            if (layer->getKind() == KVEnvLayer::kSprite) {
                EXPECT_EQ(layer->getParallaxFactor(), 0.0f) << file << " " << i;
                EXPECT_EQ(layer->getZoomFactor(), 0.0f) << file << " " << i;
            }
            if (layer->getKind() == KVEnvLayer::kAnimationSvg) {
                EXPECT_GT(static_cast<KVEnvLayerAnimationSvg*>(layer)->getAnimatedSprites()->count(), 0u)
                    << file;
            }
        }
    }
    // Between them the missions use every kind.
    for (int kind = 0; kind < KVEnvLayer::kUnknown; ++kind)
        EXPECT_GT(kindsSeen[kind], 0) << "kind " << kind;
}

} // namespace
