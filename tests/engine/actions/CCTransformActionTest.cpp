#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCBezierBy.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCJumpBy.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSkewTo.h"

using namespace kvengine;
using namespace actiontest;

namespace {

// The node state the transform actions touch, read back as one record.
struct State {
    float x, y, rotation, scaleX, scaleY, skewX, skewY;
};

State stateOf(CCNode* n) {
    return {n->getPosition().x, n->getPosition().y, n->getRotation(), n->getScaleX(),
            n->getScaleY(),     n->getSkewX(),      n->getSkewY()};
}

void expectState(const State& actual, const State& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4);
    EXPECT_NEAR(actual.y, expected.y, 1e-4);
    EXPECT_NEAR(actual.rotation, expected.rotation, 1e-4);
    EXPECT_NEAR(actual.scaleX, expected.scaleX, 1e-5);
    EXPECT_NEAR(actual.scaleY, expected.scaleY, 1e-5);
    EXPECT_NEAR(actual.skewX, expected.skewX, 1e-4);
    EXPECT_NEAR(actual.skewY, expected.skewY, 1e-4);
}

void setState(CCNode* n, const State& s) {
    n->setPosition(CCPoint(s.x, s.y));
    n->setRotation(s.rotation);
    n->setScaleX(s.scaleX);
    n->setScaleY(s.scaleY);
    n->setSkewX(s.skewX);
    n->setSkewY(s.skewY);
}

} // namespace

using TransformActionTest = ActionTest;

TEST_F(TransformActionTest, ToAndByActionsReachTheirValuesUnderAFixedStep) {
    struct Case {
        const char* name;
        State start;
        std::function<CCAction*()> make;
        State half;
        State end;
    };
    const State origin{10, 20, 30, 0.5f, 2, 10, 20};
    const Case cases[] = {
        {"move to",
         origin,
         [] { return CCMoveTo::createWithDurationPosition(1, CCPoint(30, -20)); },
         {20, 0, 30, 0.5f, 2, 10, 20},
         {30, -20, 30, 0.5f, 2, 10, 20}},
        {"move by",
         origin,
         [] { return CCMoveBy::createWithDurationPosition(1, CCPoint(30, -20)); },
         {25, 10, 30, 0.5f, 2, 10, 20},
         {40, 0, 30, 0.5f, 2, 10, 20}},
        {"rotate to",
         origin,
         [] { return CCRotateTo::createWithDurationAngle(1, 90); },
         {10, 20, 60, 0.5f, 2, 10, 20},
         {10, 20, 90, 0.5f, 2, 10, 20}},
        {"rotate by",
         origin,
         [] { return CCRotateBy::createWithDurationAngle(1, -90); },
         {10, 20, -15, 0.5f, 2, 10, 20},
         {10, 20, -60, 0.5f, 2, 10, 20}},
        {"scale to",
         origin,
         [] { return CCScaleTo::createWithDurationScaleXY(1, 1.5f, 1); },
         {10, 20, 30, 1, 1.5f, 10, 20},
         {10, 20, 30, 1.5f, 1, 10, 20}},
        {"scale by",
         origin,
         [] { return CCScaleBy::createWithDurationScale(1, 2); },
         {10, 20, 30, 0.75f, 3, 10, 20},
         {10, 20, 30, 1, 4, 10, 20}},
        {"skew to",
         origin,
         [] { return CCSkewTo::createWithDurationSkew(1, 30, -20); },
         {10, 20, 30, 0.5f, 2, 20, 0},
         {10, 20, 30, 0.5f, 2, 30, -20}},
        {"skew by",
         origin,
         [] { return CCSkewBy::createWithDurationSkew(1, 30, -20); },
         {10, 20, 30, 0.5f, 2, 25, 10},
         {10, 20, 30, 0.5f, 2, 40, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setState(node, c.start);
        run(c.make());
        frame(0.5f); // first step: t = 0
        expectState(stateOf(node), c.start);
        frame(0.5f);
        expectState(stateOf(node), c.half);
        frame(0.5f);
        expectState(stateOf(node), c.end);
        EXPECT_EQ(actionCount(), 0u);
    }
}

TEST_F(TransformActionTest, RotateToTurnsTheShortWayWithoutReducingTheResult) {
    struct Case {
        float from, to, end;
    };
    // 350 -> 10 turns +20 and ends at 370; from 370 the start reduces to 10; from -350 the
    // difference 360 wraps to 0; exactly +-180 keeps its sign.
    const Case cases[] = {{350, 10, 370}, {370, 10, 10},   {-350, 10, -350},
                          {0, 180, 180},  {0, -180, -180}, {10, 200, -160}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        node->setRotation(c.from);
        run(CCRotateTo::createWithDurationAngle(1, c.to));
        frames(3, 0.5f);
        EXPECT_FLOAT_EQ(node->getRotation(), c.end);
    }
}

TEST_F(TransformActionTest, RestartedActionsReadTheNodeAgain) {
    CCMoveBy* moveBy = CCMoveBy::createWithDurationPosition(1, CCPoint(5, 0));
    CCMoveTo* moveTo = CCMoveTo::createWithDurationPosition(1, CCPoint(50, 0));
    for (float startX : {0.0f, 100.0f}) {
        node->setPosition(CCPoint(startX, 0));
        run(moveBy);
        frames(3, 0.5f);
        EXPECT_FLOAT_EQ(node->getPosition().x, startX + 5);
        run(moveTo);
        frames(3, 0.5f);
        EXPECT_FLOAT_EQ(node->getPosition().x, 50.0f);
    }
}

TEST_F(TransformActionTest, ReversesUndoTheByActionsAndToActionsHaveNone) {
    node->setScale(0.5f);
    CCScaleBy* scale = CCScaleBy::createWithDurationScale(1, 2);
    run(CCSequence::createWithTwoActions(scale, scale->reverse()));
    frames(3, 0.5f);
    EXPECT_FLOAT_EQ(node->getScaleX(), 1.0f);
    frames(2, 0.5f);
    EXPECT_FLOAT_EQ(node->getScaleX(), 0.5f);

    EXPECT_EQ(CCMoveTo::createWithDurationPosition(1, CCPoint())->reverse(), nullptr);
    EXPECT_EQ(CCRotateTo::createWithDurationAngle(1, 0)->reverse(), nullptr);
    EXPECT_EQ(CCScaleTo::createWithDurationScale(1, 1)->reverse(), nullptr);
    EXPECT_EQ(CCSkewTo::createWithDurationSkew(1, 0, 0)->reverse(), nullptr);
}

TEST_F(TransformActionTest, JumpIsOnTheLineAtWholeJumpsAndAtFullHeightMidJump) {
    CCJumpBy* jump = CCJumpBy::createWithDurationHeightJumps(3, 20, 3, CCPoint(30, 6));
    jump->startWithTarget(node);
    const float onLine[] = {0.0f, 1.0f / 3, 2.0f / 3, 1.0f};
    for (float t : onLine) {
        jump->update(t);
        EXPECT_NEAR(node->getPosition().x, 30 * t, 1e-4);
        EXPECT_NEAR(node->getPosition().y, 6 * t, 1e-4) << "t = " << t;
    }
    const float peaks[] = {1.0f / 6, 0.5f, 5.0f / 6};
    for (float t : peaks) {
        jump->update(t);
        EXPECT_NEAR(node->getPosition().y, 6 * t + 20, 1e-3) << "t = " << t;
    }
    jump->stop();
}

TEST_F(TransformActionTest, JumpToAndBezierToAimAtTheirAbsolutePointsOnEveryRepetition) {
    CCBezierPoints path{CCPoint(40, 0), CCPoint(10, 30), CCPoint(30, 30)};
    run(CCRepeat::createWithActionTimes(CCJumpTo::createWithDurationHeightJumps(1, 10, 2, CCPoint(40, 0)),
                                        2));
    frames(6, 0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 40.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 0.0f);

    node->setPosition(CCPoint(0, 0));
    CCBezierTo* bezier = CCBezierTo::createWithDurationConfig(1, path);
    run(CCRepeat::createWithActionTimes(bezier, 2));
    frames(6, 0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 40.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 0.0f);

    node->setPosition(CCPoint(5, 5));
    run(static_cast<CCAction*>(bezier->copy()->autorelease()));
    frames(3, 0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 40.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 0.0f);
}

TEST_F(TransformActionTest, BezierRunsFromStartToStartPlusEndAndItsReverseRetracesTheCurve) {
    EXPECT_FLOAT_EQ(bezierAt(0, 10, 20, 30, 0.5f), 15.0f);
    EXPECT_FLOAT_EQ(bezierAt(1, 2, 3, 4, 0), 1.0f);
    EXPECT_FLOAT_EQ(bezierAt(1, 2, 3, 4, 1), 4.0f);

    node->setPosition(CCPoint(100, 100));
    CCBezierBy* forward =
        CCBezierBy::createWithDurationConfig(1, {CCPoint(40, 0), CCPoint(0, 30), CCPoint(40, 60)});
    forward->startWithTarget(node);
    std::vector<CCPoint> there;
    for (float t : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        forward->update(t);
        there.push_back(node->getPosition());
    }
    EXPECT_FLOAT_EQ(there.front().x, 100.0f);
    EXPECT_FLOAT_EQ(there.back().x, 140.0f);
    EXPECT_FLOAT_EQ(there.back().y, 100.0f);

    CCFiniteTimeAction* back = forward->reverse();
    back->startWithTarget(node);
    const float times[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        back->update(times[i]);
        EXPECT_NEAR(node->getPosition().x, there[4 - i].x, 1e-3);
        EXPECT_NEAR(node->getPosition().y, there[4 - i].y, 1e-3);
    }
}

TEST_F(TransformActionTest, OnlyFourActionClassesAnswerTheirOwnName) {
    struct Case {
        CCAction* action;
        const char* name;
        std::vector<const char*> kinds;
    };
    const Case cases[] = {
        {CCMoveBy::createWithDurationPosition(1, CCPoint()),
         "CCMoveBy",
         {"CCMoveBy", "CCMoveTo", "CCAction"}},
        {CCMoveTo::createWithDurationPosition(1, CCPoint()),
         "CCMoveTo",
         {"CCMoveTo", "CCAction", "CCObject"}},
        {CCSequence::createWithTwoActions(CCFadeIn::createWithDuration(1), CCFadeIn::createWithDuration(1)),
         "CCSequence",
         {"CCSequence", "CCAction"}},
        {CCFadeIn::createWithDuration(1), "CCFadeIn", {"CCFadeIn", "CCAction"}},
        {CCRotateBy::createWithDurationAngle(1, 1), "CCAction", {"CCAction", "CCObject"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.action->className(), c.name);
        for (const char* kind : c.kinds)
            EXPECT_TRUE(c.action->isKindOf(kind)) << kind;
        EXPECT_FALSE(c.action->isKindOf("CCActionInterval"));
    }
    EXPECT_FALSE(CCMoveTo::createWithDurationPosition(1, CCPoint())->isKindOf("CCMoveBy"));
}

TEST_F(TransformActionTest, UpdatesWithoutATargetDoNothing) {
    CCSkewTo* skew = CCSkewTo::createWithDurationSkew(1, 10, 10);
    skew->update(0.5f);
    CCMoveBy* move = CCMoveBy::createWithDurationPosition(1, CCPoint(1, 1));
    move->update(0.5f);
    CCJumpBy* jump = CCJumpBy::createWithDurationHeightJumps(1, 1, 1, CCPoint(1, 1));
    jump->startWithTarget(nullptr);
    jump->update(0.5f);
    EXPECT_EQ(skew->getTarget(), nullptr);
}
