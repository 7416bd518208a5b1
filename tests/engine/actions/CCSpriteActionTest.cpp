#include <gtest/gtest.h>

#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCFlipX.h"
#include "engine/actions/CCSequence.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"

using namespace kvengine;
using namespace actiontest;

namespace {

// Frames are told apart by their rectangle; no texture is needed for that.
CCSpriteFrame* frameAt(float x) {
    return CCSpriteFrame::createWithTexture(nullptr, false, CCRect(x, 0, 10, 10), CCPoint(), CCSize(10, 10));
}

CCAnimation* fourFrames() {
    CCMutableArray<CCSpriteFrame*>* frames = new CCMutableArray<CCSpriteFrame*>();
    frames->autorelease();
    for (int i = 0; i < 4; ++i)
        frames->addObject(frameAt(10.0f * static_cast<float>(i)));
    return CCAnimation::createWithFramesDelay(frames, 0.25f);
}

class SpriteActionTest : public ActionTest {
protected:
    void SetUp() override {
        ActionTest::SetUp();
        sprite = new CCSprite();
        sprite->initWithTextureRect(nullptr, CCRect(100, 100, 5, 5));
        sprite->onEnter();
    }
    void TearDown() override {
        CCActionManager::getInstance()->removeAllActionsFromTarget(sprite);
        sprite->onExit();
        sprite->release();
        ActionTest::TearDown();
    }
    float shownX() const { return sprite->getTextureRect().origin.x; }

    CCSprite* sprite = nullptr;
};

} // namespace

TEST_F(SpriteActionTest, AnimateGivesEachFrameAnEqualShareAndRestoresTheOriginalFrame) {
    CCAnimate* animate = CCAnimate::createWithAnimation(fourFrames());
    ASSERT_NE(animate, nullptr);
    EXPECT_FLOAT_EQ(animate->getDuration(), 1.0f);
    sprite->runAction(animate);
    // Frames of 1/8 s: t = 0, 0.125, ..., 1.
    const float shown[] = {0, 0, 10, 10, 20, 20, 30, 30};
    for (float x : shown) {
        frame(0.125f);
        EXPECT_FLOAT_EQ(shownX(), x);
    }
    frame(0.125f); // t = 1: the last frame, then the stop puts the original back
    EXPECT_FLOAT_EQ(shownX(), 100.0f);
    EXPECT_FLOAT_EQ(sprite->getTextureRect().size.width, 5.0f);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(sprite), 0u);
}

TEST_F(SpriteActionTest, AnimateWithoutRestoreLeavesTheLastFrameAndItsReversePlaysBackwards) {
    CCAnimate* animate = CCAnimate::createWithAnimationRestore(fourFrames(), false);
    sprite->runAction(animate);
    frames(6, 0.25f);
    EXPECT_FLOAT_EQ(shownX(), 30.0f);

    CCAnimate* backwards = static_cast<CCAnimate*>(animate->reverse());
    ASSERT_NE(backwards, nullptr);
    EXPECT_FALSE(backwards->isRestoreOriginalFrame());
    sprite->runAction(backwards);
    std::vector<float> seen;
    for (int i = 0; i < 5; ++i) {
        frame(0.25f);
        seen.push_back(shownX());
    }
    EXPECT_EQ(seen, (std::vector<float>{30, 20, 10, 0, 0}));

    CCAnimate* copy = static_cast<CCAnimate*>(animate->copy()->autorelease());
    EXPECT_EQ(copy->getAnimation(), animate->getAnimation());
    EXPECT_FLOAT_EQ(copy->getDuration(), 1.0f);
}

TEST_F(SpriteActionTest, AnimationWithoutFramesShowsNothingAndFinishes) {
    LogCapture log;
    CCAnimate* animate = CCAnimate::createWithAnimation(CCAnimation::createWithFramesDelay(nullptr, 0.1f));
    ASSERT_NE(animate, nullptr);
    EXPECT_FALSE(log.lines.empty());
    sprite->runAction(animate);
    frames(2, 0.1f);
    EXPECT_FLOAT_EQ(shownX(), 100.0f);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(sprite), 0u);

    EXPECT_EQ(CCAnimate::createWithAnimation(nullptr), nullptr);
    run(CCAnimate::createWithAnimation(fourFrames())); // a node that is no sprite
    frames(6, 0.25f);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(SpriteActionTest, FlipsSetTheSpriteFlagAndReverseToTheOpposite) {
    CCFlipX* flipX = CCFlipX::createWithFlip(true);
    sprite->runAction(CCSequence::createWithTwoActions(flipX, CCFlipY::createWithFlip(true)));
    frame(0.1f);
    EXPECT_TRUE(sprite->isFlipX());
    EXPECT_TRUE(sprite->isFlipY());
    sprite->runAction(flipX->reverse());
    EXPECT_FALSE(sprite->isFlipX());

    LogCapture log;
    run(CCFlipX::createWithFlip(true));
    EXPECT_FALSE(log.lines.empty());
}
