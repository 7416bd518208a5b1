#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCReverseTime.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"

using namespace kvengine;
using namespace actiontest;

namespace {

using Journal = std::vector<std::string>;

int countOf(const Journal& journal, const std::string& entry) {
    return static_cast<int>(std::count(journal.begin(), journal.end(), entry));
}

} // namespace

using CompositeActionTest = ActionTest;

TEST_F(CompositeActionTest, SequenceCallsBackInTheFrameTheMoveEndsAfterItsFinalUpdate) {
    int data = 0;
    float xSeenByCallback = -1.0f;
    listener.onNodeDataHook = [&](CCNode* n) { xSeenByCallback = n->getPosition().x; };
    run(CCSequence::createWithActions(CCMoveBy::createWithDurationPosition(1.0f, CCPoint(100, 0)),
                                      CCCallFuncND::createWithTargetSelectorData(
                                          &listener, callfuncND_selector(Listener::onNodeData), &data),
                                      nullptr));

    const float expected[] = {0, 25, 50, 75};
    for (float x : expected) {
        frame(0.25f);
        EXPECT_FLOAT_EQ(node->getPosition().x, x);
        EXPECT_TRUE(listener.calls.empty());
    }
    frame(0.25f);
    ASSERT_EQ(listener.calls, std::vector<std::string>{"nodeData"});
    EXPECT_EQ(listener.nodes[0], node);
    EXPECT_EQ(listener.datas[0], &data);
    EXPECT_FLOAT_EQ(xSeenByCallback, 100.0f);
    EXPECT_EQ(actionCount(), 0u);
    frames(3, 0.25f);
    EXPECT_EQ(listener.calls.size(), 1u);
}

TEST_F(CompositeActionTest, SequenceRunsAnInstantFirstActionToItsEndBeforeTheSecondStarts) {
    CCPlace* place = new CCPlace();
    place->initWithPosition(CCPoint(50, 50));
    place->autorelease();
    run(CCSequence::createWithTwoActions(place, CCMoveBy::createWithDurationPosition(1.0f, CCPoint(10, 0))));
    frame(0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 50.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 50.0f);
    frames(2, 0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 60.0f);
}

TEST_F(CompositeActionTest, SequenceGivesEachChildExactlyOneFinalUpdateEvenWhenAFrameJumpsOverIt) {
    Journal journal;
    run(CCSequence::createWithTwoActions(RecordingAction::create(1.0f, &journal, "a"),
                                         RecordingAction::create(1.0f, &journal, "b")));
    frame(0.1f);
    frame(1.5f); // t = 0.75: past the whole first half in one frame
    EXPECT_EQ(journal, (Journal{"a:start", "a:u0", "a:u1", "a:stop", "b:start", "b:u0.5"}));
    frame(0.5f);
    EXPECT_EQ(countOf(journal, "a:u1"), 1);
    EXPECT_EQ(countOf(journal, "b:u1"), 1);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CompositeActionTest, SequenceListFactoryNestsPairsLeftToRight) {
    Journal journal;
    CCFiniteTimeAction* a = RecordingAction::create(1, &journal, "a");
    CCFiniteTimeAction* b = RecordingAction::create(2, &journal, "b");
    CCFiniteTimeAction* c = RecordingAction::create(3, &journal, "c");

    EXPECT_EQ(CCSequence::createWithActions(a, nullptr), a);
    EXPECT_EQ(CCSequence::createWithActions(a), a);
    EXPECT_EQ(CCSequence::createWithActions(nullptr), nullptr);

    CCSequence* outer = dynamic_cast<CCSequence*>(CCSequence::createWithActions(a, b, c, nullptr));
    ASSERT_NE(outer, nullptr);
    EXPECT_FLOAT_EQ(outer->getDuration(), 6.0f);
    EXPECT_EQ(outer->getSecondAction(), c);
    CCSequence* inner = dynamic_cast<CCSequence*>(outer->getFirstAction());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->getFirstAction(), a);
    EXPECT_EQ(inner->getSecondAction(), b);
}

TEST_F(CompositeActionTest, SpawnLastsTheLongerDurationAndPadsTheShorterChild) {
    Journal journal;
    CCSpawn* spawn = CCSpawn::createWithTwoActions(RecordingAction::create(1.0f, &journal, "short"),
                                                   RecordingAction::create(3.0f, &journal, "long"));
    EXPECT_FLOAT_EQ(spawn->getDuration(), 3.0f);
    run(spawn);
    frame(0.0f);
    frame(1.0f); // a third of the spawn
    EXPECT_EQ(countOf(journal, "short:u1"), 1);
    EXPECT_EQ(countOf(journal, "short:stop"), 1);
    frames(2, 1.0f);
    EXPECT_EQ(countOf(journal, "long:u1"), 1);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CompositeActionTest, RepeatedMoveFollowsAnExactTimelineAndEndsAtItsLastStep) {
    run(CCRepeat::createWithActionTimes(CCMoveBy::createWithDurationPosition(1.0f, CCPoint(10, 0)), 3));
    // A repetition that ends exactly on a frame shows its end (10, 20), not its start again.
    const float expected[] = {0, 2.5f, 5, 7.5f, 10, 12.5f, 15, 17.5f, 20, 22.5f, 25, 27.5f, 30};
    for (float x : expected) {
        frame(0.25f);
        EXPECT_FLOAT_EQ(node->getPosition().x, x);
    }
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CompositeActionTest, RepeatCallsBackOncePerRepetition) {
    run(CCRepeat::createWithActionTimes(
        CCSequence::createWithTwoActions(
            CCDelayTime::createWithDuration(0.5f),
            CCCallFunc::createWithTargetSelector(&listener, callfunc_selector(Listener::onCall))),
        4));
    frames(20, 0.25f);
    EXPECT_EQ(listener.calls.size(), 4u);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CompositeActionTest, RepeatThatSkipsRepetitionsNeverDrivesTheInnerActionPastItsEnd) {
    Journal journal;
    CCRepeat* repeat = CCRepeat::createWithActionTimes(RecordingAction::create(1.0f, &journal), 3);
    run(repeat);
    frame(0.0f);
    frame(2.5f);
    for (int i = 0; i < 4 && actionCount() > 0; ++i)
        frame(0.5f);
    EXPECT_EQ(actionCount(), 0u);
    EXPECT_EQ(repeat->getRepetitionsDone(), 3u);
    for (const std::string& entry : journal) {
        if (entry[0] == 'u') {
            EXPECT_LE(std::stof(entry.substr(1)), 1.0f) << entry;
        }
    }
}

TEST_F(CompositeActionTest, ZeroLengthActionsFinishCleanly) {
    Journal zeroRepeat;
    run(CCRepeat::createWithActionTimes(RecordingAction::create(1.0f, &zeroRepeat), 0));
    Journal zeroDuration;
    run(RecordingAction::create(0.0f, &zeroDuration));
    CCRepeat* nullInner = CCRepeat::createWithActionTimes(nullptr, 2);
    run(nullInner);

    frame(0.25f);
    EXPECT_EQ(zeroRepeat, (Journal{"start", "u0", "stop"}));
    EXPECT_EQ(zeroDuration, (Journal{"start", "u0"}));
    frame(0.25f);
    EXPECT_EQ(zeroDuration, (Journal{"start", "u0", "u1", "stop"}));
    frame(0.25f);
    EXPECT_EQ(actionCount(), 0u);
}

TEST_F(CompositeActionTest, RepeatForeverRestartsEachLoopAtItsStartAndNeverFinishes) {
    Journal journal;
    run(CCRepeatForever::createWithAction(RecordingAction::create(1.0f, &journal)));
    frames(5, 0.25f);
    EXPECT_EQ(journal, (Journal{"start", "u0", "u0.25", "u0.5", "u0.75", "u1", "start", "u0"}));
    frames(40, 0.25f);
    EXPECT_EQ(actionCount(), 1u);
    EXPECT_EQ(countOf(journal, "u1"), 11); // the first loop takes 5 frames, every later one 4
}

TEST_F(CompositeActionTest, ReverseTimeRunsTheMoveFromItsEndBackToItsStart) {
    run(CCReverseTime::createWithAction(CCMoveBy::createWithDurationPosition(1.0f, CCPoint(100, 0))));
    frame(0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 100.0f);
    frame(0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 50.0f);
    frame(0.5f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 0.0f);
}

TEST_F(CompositeActionTest, ReversesRunChildrenBackwardsInReverseOrder) {
    Journal journal;
    CCSequence* sequence = CCSequence::createWithTwoActions(RecordingAction::create(1, &journal, "a"),
                                                            RecordingAction::create(1, &journal, "b"));
    run(sequence->reverse());
    frames(5, 0.5f);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.front(), "b':start");
    EXPECT_EQ(countOf(journal, "a':u1"), 1);
}

TEST_F(CompositeActionTest, CopiesKeepTagAndTimeline) {
    CCFiniteTimeAction* original = CCSequence::createWithTwoActions(
        CCMoveBy::createWithDurationPosition(1.0f, CCPoint(10, 0)),
        CCRepeat::createWithActionTimes(CCMoveBy::createWithDurationPosition(0.5f, CCPoint(0, 4)), 2));
    original->setTag(7);
    CCFiniteTimeAction* copy = static_cast<CCFiniteTimeAction*>(original->copy()->autorelease());
    EXPECT_EQ(copy->getTag(), 7);
    EXPECT_FLOAT_EQ(copy->getDuration(), 2.0f);
    EXPECT_STREQ(copy->className(), "CCSequence");
    run(copy);
    frames(9, 0.25f);
    EXPECT_FLOAT_EQ(node->getPosition().x, 10.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 8.0f);
}

TEST_F(CompositeActionTest, MissingActionsGiveNullAndALogLine) {
    struct Case {
        const char* name;
        std::function<CCObject*()> make;
    };
    CCFiniteTimeAction* delay = CCDelayTime::createWithDuration(1);
    const Case cases[] = {
        {"sequence first", [&] { return CCSequence::createWithTwoActions(nullptr, delay); }},
        {"sequence second", [&] { return CCSequence::createWithTwoActions(delay, nullptr); }},
        {"spawn", [&] { return CCSpawn::createWithTwoActions(delay, nullptr); }},
        {"repeat forever", [&] { return CCRepeatForever::createWithAction(nullptr); }},
        {"reverse time", [&] { return CCReverseTime::createWithAction(nullptr); }},
        {"reverse of move-to",
         [&] {
             return CCSequence::createWithTwoActions(delay,
                                                     CCMoveTo::createWithDurationPosition(1, CCPoint()))
                 ->reverse();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        EXPECT_EQ(c.make(), nullptr);
        EXPECT_FALSE(log.lines.empty());
    }
}
