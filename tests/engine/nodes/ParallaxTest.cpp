#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCParallaxNode.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

class ParallaxTest : public ::testing::Test {
protected:
    void TearDown() override {
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    /// Where the child appears in world space after a visit.
    static CCPoint onScreen(CCNode* child) { return child->convertToWorldSpace(CCPointZero); }
};

} // namespace

TEST_F(ParallaxTest, ChildrenMoveByTheirRatioOfTheMovement) {
    struct Case {
        CCPoint ratio;
        float expectedShift;
    };
    const Case cases[] = {{{1, 1}, 100}, {{0, 0}, 0}, {{0.5f, 0}, 50}};
    for (const Case& c : cases) {
        CCParallaxNode* parallax = CCParallaxNode::create();
        CCNode* child = CCNode::create();
        parallax->addChildWithRatioAndOffset(child, 0, c.ratio, CCPoint(10, 20));
        parallax->visit();
        const CCPoint before = onScreen(child);
        EXPECT_FLOAT_EQ(before.x, 10.0f);
        parallax->setPosition(CCPoint(100, 0));
        parallax->visit();
        EXPECT_FLOAT_EQ(onScreen(child).x - before.x, c.expectedShift) << "ratio " << c.ratio.x;
    }
}

TEST_F(ParallaxTest, MovingAnAncestorCountsAndAStillPositionLeavesChildrenAlone) {
    CCNode* world = CCNode::create();
    CCParallaxNode* parallax = CCParallaxNode::create();
    world->addChild(parallax);
    CCNode* child = CCNode::create();
    parallax->addChildWithRatioAndOffset(child, 0, CCPoint(0.5f, 0.5f), CCPointZero);
    parallax->visit();
    world->setPosition(CCPoint(0, 40));
    parallax->visit();
    EXPECT_FLOAT_EQ(onScreen(child).y, 20.0f);

    child->setPosition(CCPoint(7, 7)); // nothing moved since: the next visit keeps it
    parallax->visit();
    EXPECT_FLOAT_EQ(child->getPosition().x, 7.0f);
}

TEST_F(ParallaxTest, RemovingAChildDropsItsEntryAndPlainAddsAreIgnored) {
    CCParallaxNode* parallax = CCParallaxNode::create();
    CCNode* a = CCNode::create();
    CCNode* b = CCNode::create();
    parallax->addChildWithRatioAndOffset(a, 0, CCPoint(1, 1), CCPointZero);
    parallax->addChildWithRatioAndOffset(b, 1, CCPoint(1, 1), CCPointZero);
    parallax->addChildWithZAndTag(CCNode::create(), 0, 3);
    EXPECT_EQ(parallax->getChildren()->count(), 2u);
    a->retain();
    parallax->removeChild(a, true);
    EXPECT_EQ(parallax->entryCount(), 1u);
    parallax->setPosition(CCPoint(50, 50));
    parallax->visit();
    EXPECT_FLOAT_EQ(a->getPosition().x, 0.0f) << "a removed child is no longer placed";
    a->release();
    parallax->removeAllChildren(true);
    EXPECT_EQ(parallax->entryCount(), 0u);
    parallax->addChildWithRatioAndOffset(nullptr, 0, CCPoint(1, 1), CCPointZero);
    EXPECT_EQ(parallax->entryCount(), 0u);
    EXPECT_STREQ(parallax->className(), "CCNode");
}
