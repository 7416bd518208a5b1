#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ActionTestSupport.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCSequence.h"

using namespace kvengine;
using namespace actiontest;

using InstantActionTest = ActionTest;

TEST_F(InstantActionTest, VisibilityAndPlacementActionsActWhenStarted) {
    struct Case {
        const char* name;
        bool visibleBefore;
        std::function<CCAction*()> make;
        bool visibleAfter;
    };
    const Case cases[] = {
        {"hide", true, [] { return CCHide::create(); }, false},
        {"show", false, [] { return CCShow::create(); }, true},
        {"invert visible", true, [] { return CCInvertVisibility::create(); }, false},
        {"invert hidden", false, [] { return CCInvertVisibility::create(); }, true},
        {"hide then its reverse", true,
         [] {
             CCHide* hide = CCHide::create();
             return CCSequence::createWithTwoActions(hide, hide->reverse());
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        node->setVisible(c.visibleBefore);
        run(c.make());
        frames(2, 0.1f);
        EXPECT_EQ(node->isVisible(), c.visibleAfter);
        EXPECT_EQ(actionCount(), 0u);
    }

    CCPlace* place = CCPlace::createWithPosition(CCPoint(3, 4));
    run(place);
    EXPECT_FLOAT_EQ(node->getPosition().x, 3.0f);
    EXPECT_FLOAT_EQ(node->getPosition().y, 4.0f);
}

TEST_F(InstantActionTest, CallBackFiresInsideRunActionAndIsRemovedAtTheNextStep) {
    run(CCCallFunc::createWithTargetSelector(&listener, callfunc_selector(Listener::onCall)));
    EXPECT_EQ(listener.calls, std::vector<std::string>{"call"});
    EXPECT_EQ(actionCount(), 1u);
    frame(0.1f);
    EXPECT_EQ(actionCount(), 0u);
    EXPECT_EQ(listener.calls.size(), 1u);
}

TEST_F(InstantActionTest, EveryCallFunctionKindPassesItsArguments) {
    int data = 0;
    CCObject* payload = new CCObject();
    CCCallFuncO* withObject = CCCallFuncO::createWithTargetSelectorObject(
        &listener, callfuncO_selector(Listener::onObject), payload);
    EXPECT_EQ(payload->retainCount(), 2u);
    payload->release();

    run(CCCallFuncN::createWithTargetSelector(&listener, callfuncN_selector(Listener::onNode)));
    run(CCCallFuncND::createWithTargetSelectorData(&listener, callfuncND_selector(Listener::onNodeData),
                                                   &data));
    run(withObject);
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"node", "nodeData", "object"}));
    EXPECT_EQ(listener.nodes, (std::vector<CCNode*>{node, node}));
    EXPECT_EQ(listener.datas[0], &data);
    EXPECT_EQ(listener.objects[0], payload);
}

TEST_F(InstantActionTest, NullSelectorDoesNothingAndCopiesCallTheSameMember) {
    run(CCCallFunc::createWithTargetSelector(&listener, nullptr));
    run(CCCallFunc::createWithTargetSelector(nullptr, callfunc_selector(Listener::onCall)));
    EXPECT_TRUE(listener.calls.empty());

    CCCallFunc* original =
        CCCallFunc::createWithTargetSelector(&listener, callfunc_selector(Listener::onCall));
    original->setTag(3);
    CCCallFunc* copy = static_cast<CCCallFunc*>(original->copy()->autorelease());
    EXPECT_EQ(copy->getTag(), 3);
    run(copy);
    run(copy->reverse());
    EXPECT_EQ(listener.calls.size(), 2u);
}

TEST_F(InstantActionTest, NodeSelectorTargetIsKeptAliveByTheAction) {
    CCNode* target = new CCNode();
    CCCallFunc* action = new CCCallFunc();
    action->initWithTarget(target);
    EXPECT_EQ(target->retainCount(), 2u);
    action->initWithTarget(target); // the same target again: still one hold
    EXPECT_EQ(target->retainCount(), 2u);
    action->release();
    EXPECT_EQ(target->retainCount(), 1u);
    target->release();
}
