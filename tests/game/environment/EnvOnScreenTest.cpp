// The stacks of the built missions drawn in a real window over an empty gameplay layer, kept as
// screenshots (build/screenshots/environment_*.png) for a person to look at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EnvFixture.h"
#include "engine/base/CCMutableArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "game/environment/KVEnvLayer.h"
#include "game/environment/KVEnvLayerManager.h"
#include "support/TestFiles.h"

using namespace kvengine;

namespace {

class EnvOnScreen : public envtest::EnvFixture {
protected:
    /// Loads the stack, shows it for `frames` frames (the camera's per-frame update included)
    /// and returns the window's pixels, bottom row first.
    std::vector<uint8_t> show(const std::string& file, int frames) {
        KVEnvLayerManager* manager = KVEnvLayerManager::getInstance();
        manager->loadLayersNamed(file, file, gameplay, gameplay);
        CCScene* scene = CCScene::create();
        manager->addLayersToNode(scene);
        director->runWithScene(scene);
        for (int i = 0; i < frames; ++i) {
            manager->updateLayers(1.0f / 60);
            frame();
        }
        screenshot("environment_" + file + ".png");
        return gl.readAll();
    }

    /// Mean of one channel over a band of rows.
    static double meanChannel(const std::vector<uint8_t>& pixels, int firstRow, int lastRow, int channel) {
        double sum = 0;
        int count = 0;
        for (int y = firstRow; y <= lastRow; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                sum += pixels[(static_cast<size_t>(y) * kWidth + x) * 4 + channel];
                ++count;
            }
        }
        return sum / count;
    }
};

TEST_F(EnvOnScreen, TheFirstReefMissionShowsEveryKindOfLayer) {
    kvtest::LogLines log;
    const std::vector<uint8_t> pixels = show("M01a_ENV", 90);
    CCMutableArray<KVEnvLayer*>* layers = KVEnvLayerManager::getInstance()->getLayers();
    ASSERT_EQ(layers->count(), 8u);
    std::vector<int> kinds;
    for (unsigned i = 0; i < layers->count(); ++i)
        kinds.push_back(layers->objectAtIndex(i)->getKind());
    EXPECT_EQ(kinds, (std::vector<int>{KVEnvLayer::kSpriteAnim, KVEnvLayer::kParticles, KVEnvLayer::kMain,
                                       KVEnvLayer::kCaustics, KVEnvLayer::kAnimationSvg,
                                       KVEnvLayer::kAnimationTmx, KVEnvLayer::kTmx, KVEnvLayer::kSprite}));
    int black = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] == 0 && pixels[i + 1] == 0 && pixels[i + 2] == 0) ++black;
    EXPECT_EQ(black, 0) << "the backdrop covers the window";
    // Light from above: the top band is brighter than the reef along the bottom.
    EXPECT_GT(meanChannel(pixels, kHeight - 40, kHeight - 1, 2), meanChannel(pixels, 0, 30, 2) + 40);
    // The weed in front is green where the backdrop has little: somewhere near the bottom,
    // green wins over blue.
    int weed = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
            if (p[1] > p[2] + 10) ++weed;
        }
    EXPECT_GT(weed, 500);
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
}

TEST_F(EnvOnScreen, TheDefaultStackIsDeepWater) {
    const std::vector<uint8_t> pixels = show("default_ENV", 2);
    EXPECT_EQ(KVEnvLayerManager::getInstance()->getLayers()->count(), 2u);
    EXPECT_GT(meanChannel(pixels, kHeight - 10, kHeight - 1, 2), meanChannel(pixels, 0, 9, 2) + 80);
}

TEST_F(EnvOnScreen, TheSecondReefMissionDraws) {
    kvtest::LogLines log;
    show("M01b_ENV", 30);
    EXPECT_EQ(KVEnvLayerManager::getInstance()->getLayers()->count(), 6u);
    EXPECT_TRUE(log.lines.empty()) << log.lines.front();
}

} // namespace
