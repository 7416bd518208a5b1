#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCBlink.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCTintTo.h"

using namespace kvengine;
using namespace actiontest;

using AppearanceActionTest = ActionTest;

TEST_F(AppearanceActionTest, FadesFollowTheirTimeline) {
    struct Case {
        const char* name;
        uint8_t startOpacity;
        CCAction* action;
        std::vector<int> opacities; // after each frame of 0.25 s; the first frame is t = 0
    };
    const Case cases[] = {
        {"fade in", 255, CCFadeIn::createWithDuration(1), {0, 63, 127, 191, 255}},
        {"fade out", 0, CCFadeOut::createWithDuration(1), {255, 191, 127, 63, 0}},
        {"fade out reversed", 0, CCFadeOut::createWithDuration(1)->reverse(), {0, 63, 127, 191, 255}},
        {"fade to", 200, CCFadeTo::createWithDurationOpacity(1, 100), {200, 175, 150, 125, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        node->setOpacity(c.startOpacity);
        run(c.action);
        for (int expected : c.opacities) {
            frame(0.25f);
            EXPECT_EQ(node->getOpacity(), expected);
        }
        EXPECT_EQ(actionCount(), 0u);
    }
}

TEST_F(AppearanceActionTest, FadeToStartsFromTheOpacityAtStartTime) {
    CCFadeTo* fade = CCFadeTo::createWithDurationOpacity(1, 0);
    node->setOpacity(10);
    node->setOpacity(100);
    run(fade);
    frames(3, 0.5f);
    EXPECT_EQ(node->getOpacity(), 0);
    node->setOpacity(40);
    run(fade);
    frames(2, 0.5f);
    EXPECT_EQ(node->getOpacity(), 20);
}

TEST_F(AppearanceActionTest, TintsReachTheirColourAndTintByWrapsEachChannel) {
    ccColor3B start;
    start.r = 200;
    start.g = 10;
    start.b = 0;
    node->setColor(start);
    run(CCTintBy::createWithDurationDeltas(1, 100, -20, 5));
    frames(3, 0.5f);
    EXPECT_EQ(node->getColor().r, 44);  // 300 wraps modulo 256
    EXPECT_EQ(node->getColor().g, 246); // -10 wraps too
    EXPECT_EQ(node->getColor().b, 5);

    node->setColor(start);
    CCTintBy* tint = CCTintBy::createWithDurationDeltas(1, -100, 0, 50);
    run(tint);
    frames(3, 0.5f);
    run(tint->reverse());
    frames(3, 0.5f);
    EXPECT_EQ(node->getColor(), start);

    run(CCTintTo::createWithDurationColor(1, 0, 110, 250));
    frames(2, 0.5f);
    EXPECT_EQ(node->getColor().r, 100);
    EXPECT_EQ(node->getColor().g, 60);
    EXPECT_EQ(node->getColor().b, 125);
    frame(0.5f);
    EXPECT_EQ(node->getColor().b, 250);
}

TEST_F(AppearanceActionTest, ColourActionsLeaveNodesWithoutColourAlone) {
    CCNode* plain = new CCNode();
    plain->onEnter();
    plain->runAction(CCFadeIn::createWithDuration(1));
    plain->runAction(CCTintBy::createWithDurationDeltas(1, 1, 1, 1));
    plain->runAction(CCTintTo::createWithDurationColor(1, 1, 1, 1));
    plain->runAction(CCFadeTo::createWithDurationOpacity(1, 1));
    frames(3, 0.5f);
    EXPECT_EQ(CCActionManager::getInstance()->countActionsForTarget(plain), 0u);
    plain->onExit();
    plain->release();
}

TEST_F(AppearanceActionTest, BlinkHidesInTheFirstHalfOfEachSliceAndKeepsTheLastVisibility) {
    CCBlink* blink = CCBlink::createWithDurationBlinks(1, 5);
    run(blink);
    // Frames of 1/16 s: t = 0, 1/16, ... The slice is 0.2.
    frame(0.0625f);
    for (int i = 1; i < 16; ++i) {
        frame(0.0625f);
        float t = blink->getElapsed() / blink->getDuration();
        bool visible = std::fmod(t, 0.2f) > 0.1f;
        EXPECT_EQ(node->isVisible(), visible) << "t = " << t;
    }
    bool beforeLast = node->isVisible();
    frame(0.0625f);
    EXPECT_EQ(node->isVisible(), beforeLast);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(AppearanceActionTest, BlinkWithNoBlinksLeavesTheNodeAsItIsAndFinishes) {
    LogCapture log;
    for (bool visible : {true, false}) {
        node->setVisible(visible);
        run(CCBlink::createWithDurationBlinks(1, 0));
        frames(4, 0.25f);
        EXPECT_EQ(node->isVisible(), visible);
        frame(0.25f);
        EXPECT_EQ(actionCount(), 0u);
    }
    EXPECT_FALSE(log.lines.empty());
}
