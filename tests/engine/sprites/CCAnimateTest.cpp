#include "engine/actions/CCAnimate.h"

#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"

#include "engine/textures/CCTexture2D.h"
#include "support/GLFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

class CCAnimateTest : public kvtest::GLFixture {
protected:
    void setUpWithGL() override {
        useFrameDrawingState();
        CCTexture2D* texture = makeTexture(64, 64, 64, 64);
        for (int i = 0; i < 4; ++i)
            frames.push_back(CCSpriteFrame::createWithTexture(texture, false, CCRect(i * 16.f, 0, 16, 16),
                                                              CCPointZero, CCSize(16, 16)));
        auto* list = new CCMutableArray<CCSpriteFrame*>();
        for (CCSpriteFrame* f : frames)
            list->addObject(f);
        animation = CCAnimation::createWithFramesDelay(list, 0.25f);
        list->release();
        sprite = CCSprite::createWithTexture(texture);
        sprite->setTextureRect(CCRect(0, 32, 8, 8)); // not one of the frames
    }
    // Which frame the sprite shows, -1 for none of them.
    int shown() const {
        for (size_t i = 0; i < frames.size(); ++i)
            if (sprite->isFrameDisplayed(frames[i])) return static_cast<int>(i);
        return -1;
    }

    std::vector<CCSpriteFrame*> frames;
    CCAnimation* animation = nullptr;
    CCSprite* sprite = nullptr;
};

TEST_F(CCAnimateTest, ShowsEachFrameForAnEqualShareAndRestoresTheOriginal) {
    CCAnimate* animate = CCAnimate::createWithAnimation(animation);
    ASSERT_NE(animate, nullptr);
    EXPECT_FLOAT_EQ(animate->getDuration(), 1.0f);
    animate->startWithTarget(sprite);
    const struct {
        float t;
        int frame;
    } cases[] = {{0, 0}, {0.24f, 0}, {0.25f, 1}, {0.6f, 2}, {0.75f, 3}, {1, 3}};
    for (const auto& c : cases) {
        animate->update(c.t);
        EXPECT_EQ(shown(), c.frame) << "t " << c.t;
    }
    animate->stop();
    EXPECT_EQ(shown(), -1);
    EXPECT_FLOAT_EQ(sprite->getTextureRect().origin.y, 32); // the original rectangle is back

    CCAnimate* keep = CCAnimate::createWithAnimationRestore(animation, false);
    keep->startWithTarget(sprite);
    keep->update(1);
    keep->stop();
    EXPECT_EQ(shown(), 3);
}

TEST_F(CCAnimateTest, ReversesCopiesAndRefusesWhatItCannotPlay) {
    CCAnimate* animate = CCAnimate::createWithDurationAnimation(2, animation, false);
    auto* reversed = static_cast<CCAnimate*>(animate->reverse());
    ASSERT_NE(reversed, nullptr);
    EXPECT_FLOAT_EQ(reversed->getDuration(), 2);
    reversed->startWithTarget(sprite);
    reversed->update(0);
    EXPECT_EQ(shown(), 3);

    animate->setTag(7);
    auto* copy = static_cast<CCAnimate*>(animate->copy());
    EXPECT_EQ(copy->getTag(), 7);
    EXPECT_EQ(copy->getAnimation(), animation);
    EXPECT_FLOAT_EQ(copy->getDuration(), 2);
    copy->release();

    kvtest::LogLines log;
    EXPECT_EQ(CCAnimate::createWithAnimation(nullptr), nullptr);
    CCAnimate* onNode = CCAnimate::createWithAnimation(animation);
    CCNode* node = CCNode::create();
    onNode->startWithTarget(node); // not a sprite: nothing happens
    onNode->update(0.5f);
    onNode->stop();
    EXPECT_TRUE(log.contains("not a sprite"));
}

} // namespace
