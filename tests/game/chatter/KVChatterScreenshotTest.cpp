// The three dialogue presentations drawn over the splash picture: screenshots for a person to look
// at (build/screenshots/chatter_*.png) and a few pixels that must hold.
#include <gtest/gtest.h>

#include "ChatterFixture.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/sprites/CCSprite.h"
#include "game/chatter/KVChatterManager.h"
#include "game/chatter/KVChatterTextItem.h"
#include "game/chatter/KVChatterTextView.h"

using namespace kvengine;
using chattertest::ChatterFixture;

class ChatterScreenshotTest : public ChatterFixture {
protected:
    void setUpWithGL() override {
        ChatterFixture::setUpWithGL();
        CCDirector::wideScreen = 1;
        CCSprite* splash =
            CCSprite::createWithFile(CCResourceIndex::getInstance()->pathForFileName("splash.png").c_str());
        ASSERT_NE(splash, nullptr);
        splash->setScale(2);
        splash->setPosition(CCPoint(kWidth / 2.0f, kHeight / 2.0f));
        base->addChild(splash);
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 0;
        ChatterFixture::tearDownWithGL();
    }
    // Pixels in the window rectangle whose colour passes the test.
    template <typename Test> int count(int x0, int y0, int x1, int y1, Test test) const {
        int found = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (test(gl.pixel(x, y))) ++found;
        return found;
    }
};

TEST_F(ChatterScreenshotTest, FullBoxWithAHighlightedWord) {
    play("M01a_chatin");
    run(4.2f);
    ASSERT_EQ(chatter->getStep(), 2);
    tap(480, 100); // completes the page
    tap(480, 100); // next step: the speaker on the right, with "@cpearls"
    ASSERT_EQ(chatter->getStep(), 3);
    run(0.1f);
    tap(480, 100);
    frame();
    screenshot("chatter_full.png");
    // The box's blue panel along the bottom, a red word in the text.
    EXPECT_GT(count(250, 10, 700, 120, [](const kvtest::RGBA& p) { return p.b > 90 && p.r < 80; }), 20000);
    EXPECT_GT(
        count(250, 30, 720, 160, [](const kvtest::RGBA& p) { return p.r > 200 && p.g < 80 && p.b < 80; }),
        30);
    // The picture of the first step stays behind the box.
    EXPECT_NE(stepView(0), nullptr);
}

TEST_F(ChatterScreenshotTest, LightBoxWithItsAnimatedPortrait) {
    play("M01a_chatlt");
    run(0.5f);
    screenshot("chatter_light.png");
    EXPECT_GT(count(270, 160, 640, 225, [](const kvtest::RGBA& p) { return p.b > 90 && p.r < 90; }), 10000);
    // White text on the box.
    EXPECT_GT(
        count(330, 160, 640, 225, [](const kvtest::RGBA& p) { return p.r > 220 && p.g > 220 && p.b > 220; }),
        100);
}

TEST_F(ChatterScreenshotTest, ImageStepCoversTheScreen) {
    play("M01a_chatin");
    run(1.0f);
    screenshot("chatter_image.png");
    // Sea blue over most of the window: the splash is hidden.
    EXPECT_GT(count(0, 0, 959, 599, [](const kvtest::RGBA& p) { return p.b > p.r + 40; }), 960 * 600 / 2);
}
