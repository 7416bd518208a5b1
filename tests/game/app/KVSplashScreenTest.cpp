#include <gtest/gtest.h>

#include <vector>

#include "AppTestSupport.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSprite.h"
#include "game/achievements/KVAchievementManager.h"
#include "game/app/KVSplashScreen.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"
#include "game/sound/KVSoundManager.h"
#include "game/tutorial/KVHelperManager.h"
#include "support/GLFixture.h"

using namespace kvengine;

namespace {

// A splash layer on a running scene of the wide design size, stepped through the scheduler as
// the frame does. A GL context is open so that the picture can become a texture.
class SplashTest : public kvtest::GLFixture {
protected:
    SplashTest() : GLFixture(64, 64) {}
    void setUpWithGL() override {
        CCDirector::getInstance()->setWinSizeInPoints(CCSize(960, 600));
        scene = CCScene::create();
        scene->retain();
        splash = KVSplashScreen::create();
        ASSERT_NE(splash, nullptr);
        scene->addChildAtZ(splash, 0);
        scene->onEnter();
        scene->onEnterTransitionDidFinish();
    }
    void tearDownWithGL() override {
        if (scene != nullptr) {
            scene->onExit();
            scene->cleanup();
            scene->release();
        }
        kvapptest::releaseEverything();
    }
    /// One scheduler tick of dt seconds; returns the menu state afterwards (0: none asked).
    int step(float dt) {
        CCScheduler::getInstance()->tick(dt);
        KVMenuManager* menu = KVMenuManager::existingInstance();
        return menu != nullptr ? menu->getCurrentState() : 0;
    }
    CCNode* picture() const { return splash->getChildByTag(KVSplashScreen::kPictureTag); }

    CCScene* scene = nullptr;
    KVSplashScreen* splash = nullptr;
};

} // namespace

TEST_F(SplashTest, ThePictureIsCentredDoubledAndStartsInvisible) {
    CCSprite* sprite = dynamic_cast<CCSprite*>(picture());
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getZOrder(), KVSplashScreen::kPictureZOrder);
    EXPECT_FLOAT_EQ(sprite->getPosition().x, 480.0f);
    EXPECT_FLOAT_EQ(sprite->getPosition().y, 300.0f);
    EXPECT_FLOAT_EQ(sprite->getScale(), 2.0f);
    EXPECT_EQ(sprite->getOpacity(), 0);
    EXPECT_STREQ(splash->className(), "CCLayer");
}

TEST_F(SplashTest, TheFirstUpdateMakesTheSharedObjectsInOrderAndKeepsExistingOnes) {
    KVGameSetup* setup = KVGameSetup::getInstance(); // made by the start hook before the scene
    EXPECT_EQ(KVMenuManager::existingInstance(), nullptr);
    step(0.0f);
    EXPECT_NE(KVChatterManager::existingInstance(), nullptr);
    EXPECT_NE(KVSoundManager::existingInstance(), nullptr);
    EXPECT_EQ(KVGameSetup::existingInstance(), setup);
    EXPECT_NE(KVGameParameters::existingInstance(), nullptr);
    EXPECT_NE(KVMenuManager::existingInstance(), nullptr);
    EXPECT_NE(KVPlayerParameters::existingInstance(), nullptr);
    EXPECT_NE(KVHelperManager::existingInstance(), nullptr);
    ASSERT_NE(KVAchievementManager::existingInstance(), nullptr);
    EXPECT_EQ(KVAchievementManager::existingInstance()->getAchievements()->count(), 22u);
    EXPECT_FLOAT_EQ(splash->getElapsed(), 0.0f);
}

TEST_F(SplashTest, SteadyFramesFadeInHoldFadeOutAndHandOverOnceAtAboutFiveSeconds) {
    const float frame = 1.0f / 60.0f;
    step(0.0f); // the timer's first call
    int frames = 1;
    std::vector<int> askedAt;
    CCSprite* sprite = dynamic_cast<CCSprite*>(picture());
    ASSERT_NE(sprite, nullptr);
    bool sawFullOpacity = false;
    int lastOpacity = -1;
    int removedAt = 0;
    while (frames < 400) {
        const int before = KVMenuManager::existingInstance()->getCurrentState();
        const int after = step(frame);
        ++frames;
        if (picture() != nullptr) {
            lastOpacity = sprite->getOpacity();
            if (lastOpacity == 255) sawFullOpacity = true;
        } else if (removedAt == 0) {
            removedAt = frames;
        }
        if (after != before) askedAt.push_back(frames);
    }
    ASSERT_EQ(askedAt.size(), 1u) << "the menu is asked once";
    EXPECT_NEAR(askedAt[0] / 60.0, 5.0, 0.1);
    EXPECT_TRUE(sawFullOpacity);
    // The faded picture leaves the scene with the hand-over instead of being drawn on unseen.
    EXPECT_EQ(removedAt, askedAt[0]);
    EXPECT_LE(lastOpacity, 5);
    EXPECT_EQ(picture(), nullptr);
    // The game data sets DisableIntroductionVideo: state 22 opens the main menu.
    EXPECT_EQ(KVMenuManager::existingInstance()->getCurrentState(), 1);
}

TEST_F(SplashTest, LongFramesNeverRestartTheFade) {
    struct Case {
        const char* name;
        std::vector<float> steps;
        int updateThatHandsOver; // 1-based; 0: no hand-over within the steps
    };
    const Case cases[] = {
        // The first two updates only make the shared objects, whatever their deltas.
        {"second delta of 4 s", {0.0f, 4.0f, 0.01f, 1.0f, 0.6f}, 5},
        // A single long frame while fading out ends the fade instead of starting it again.
        {"3.6 s while fading out", {0.0f, 0.1f, 3.5f, 3.6f}, 4},
        {"10 s while fading out", {0.0f, 0.1f, 3.5f, 10.0f}, 4},
        {"short fade-out steps", {0.0f, 0.1f, 3.5f, 0.5f, 0.5f, 0.49f}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        int handedOverAt = 0;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            if (step(c.steps[i]) != 0 && handedOverAt == 0) handedOverAt = static_cast<int>(i) + 1;
        }
        EXPECT_EQ(handedOverAt, c.updateThatHandsOver);
        if (handedOverAt != 0) {
            EXPECT_TRUE(splash->isFadingOut());
            // Unscheduled: further frames change nothing.
            const float elapsed = splash->getElapsed();
            step(5.0f);
            EXPECT_FLOAT_EQ(splash->getElapsed(), elapsed);
        }
    }
}

TEST_F(SplashTest, LeavingTheSceneRemovesThePicture) {
    scene->onExit();
    EXPECT_EQ(picture(), nullptr);
    scene->onEnter();
}
