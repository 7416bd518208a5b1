#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionManager.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

std::vector<std::string> g_log;

/// An interval action that records its progress, its stop and its destruction.
class Probe : public CCActionInterval {
public:
    static Probe* make(const std::string& name, float duration) {
        auto* p = new Probe(name);
        p->initWithDuration(duration);
        p->autorelease();
        return p;
    }
    explicit Probe(std::string name) : m_name(std::move(name)) {}
    ~Probe() override {
        g_log.push_back(m_name + " freed");
        if (onFree) onFree();
    }
    void step(float dt) override {
        g_log.push_back(m_name + " step");
        CCActionInterval::step(dt);
        if (onStep) onStep();
    }
    void update(float t) override { progress.push_back(t); }
    void stop() override {
        g_log.push_back(m_name + " stop");
        CCActionInterval::stop();
    }
    std::function<void()> onStep;
    std::function<void()> onFree;
    std::vector<float> progress;

private:
    std::string m_name;
};

class ActionManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        manager = CCActionManager::getInstance();
        a = new CCNode();
        b = new CCNode();
    }
    void TearDown() override {
        CCDirector::destroyInstance(); // releases the manager and the scheduler
        a->release();
        b->release();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    void frame(float dt) { CCScheduler::getInstance()->tick(dt); }
    CCActionManager* manager = nullptr;
    CCNode* a = nullptr;
    CCNode* b = nullptr;
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(ActionManagerTest, StepsWithProgressAndRemovesFinishedActions) {
    Probe* p = Probe::make("p", 1.0f);
    manager->addAction(p, a, false);
    EXPECT_EQ(p->getTarget(), a);
    EXPECT_EQ(a->retainCount(), 2u) << "the entry holds the target";
    for (float dt : {5.0f, 0.25f, 0.5f, 0.5f})
        frame(dt);
    // The first step drops its delta; progress is clamped at 1, then the action is stopped.
    EXPECT_EQ(p->progress, (std::vector<float>{0.0f, 0.25f, 0.75f, 1.0f}));
    EXPECT_EQ(manager->countActionsForTarget(a), 0u);
    EXPECT_EQ(a->retainCount(), 1u);
    EXPECT_EQ(p->getOriginalTarget(), a) << "the start target is kept after the stop";
    EXPECT_EQ(p->getTarget(), nullptr);
}

TEST_F(ActionManagerTest, ZeroDurationRunsAsEpsilon) {
    Probe* p = Probe::make("p", 0.0f);
    EXPECT_EQ(p->getDuration(), FLT_EPSILON);
    manager->addAction(p, a, false);
    frame(0.016f);
    frame(0.016f);
    EXPECT_EQ(p->progress, (std::vector<float>{0.0f, 1.0f}));
    EXPECT_EQ(manager->countActionsForTarget(a), 0u);
}

TEST_F(ActionManagerTest, ActionsAndTargetsAreSteppedInTheOrderTheyWereAdded) {
    manager->addAction(Probe::make("b1", 9), b, false);
    manager->addAction(Probe::make("a1", 9), a, false);
    manager->addAction(Probe::make("b2", 9), b, false);
    frame(0.1f);
    EXPECT_EQ(g_log, (Log{"b1 step", "b2 step", "a1 step"}));
}

TEST_F(ActionManagerTest, RemovalsDuringAStepAreSafe) {
    struct Case {
        const char* name;
        std::function<void(CCActionManager*, CCNode*, Probe*, Probe*)> inFirst; // run in p1's step
        Log expected;
        unsigned left;
    };
    const Case cases[] = {
        {"removes itself: released after its step, no stop, the next one still steps",
         [](CCActionManager* m, CCNode*, Probe* p1, Probe*) { m->removeAction(p1); },
         {"p1 step", "p1 freed", "p2 step"},
         1},
        {"removes the next one: it is not stepped",
         [](CCActionManager* m, CCNode*, Probe*, Probe* p2) { m->removeAction(p2); },
         {"p1 step", "p2 freed"},
         1},
        {"removes all of its target: nothing more is stepped, the entry goes",
         [](CCActionManager* m, CCNode* t, Probe*, Probe*) { m->removeAllActionsFromTarget(t); },
         {"p1 step", "p2 freed", "p1 freed"},
         0},
        {"removes all, then adds one: the entry stays with the new one (stepped from the next frame)",
         [](CCActionManager* m, CCNode* t, Probe*, Probe*) {
             m->removeAllActionsFromTarget(t);
             m->addAction(Probe::make("p3", 9), t, false);
         },
         {"p1 step", "p2 freed", "p1 freed"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Probe* p1 = Probe::make("p1", 9);
        Probe* p2 = Probe::make("p2", 9);
        manager->addAction(p1, a, false);
        manager->addAction(p2, a, false);
        CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
        p1->onStep = [&, p1, p2] { c.inFirst(manager, a, p1, p2); };
        g_log.clear();
        frame(0.1f);
        EXPECT_EQ(g_log, c.expected);
        EXPECT_EQ(manager->countActionsForTarget(a), c.left);
        manager->removeAllActionsFromTarget(a);
        CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
    }
}

TEST_F(ActionManagerTest, AnActionWhoseFreeingStopsItsTargetAgainIsFreedOnce) {
    // As a call-back holding the last reference to the owner of its target, whose clean-up stops
    // the target's actions once more.
    Probe* p1 = Probe::make("p1", 9);
    Probe* p2 = Probe::make("p2", 9);
    manager->addAction(p1, a, false);
    manager->addAction(p2, a, false);
    manager->addAction(Probe::make("on b", 9), b, false);
    CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear();
    p2->onFree = [this] { manager->removeAllActionsFromTarget(a); };
    g_log.clear();
    manager->removeAllActionsFromTarget(a);
    EXPECT_EQ(g_log, (Log{"p2 freed", "p1 freed"}));
    EXPECT_EQ(manager->countActionsForTarget(a), 0u);
    EXPECT_EQ(manager->countActionsForTarget(b), 1u) << "the other target keeps its action";
    frame(0.1f);
    EXPECT_EQ(g_log.back(), "on b step");
}

TEST_F(ActionManagerTest, ActionsAddedForAnotherTargetDuringAStepRunInTheSameFrame) {
    Probe* p = Probe::make("p", 9);
    p->onStep = [&] {
        p->onStep = nullptr;
        manager->addAction(Probe::make("q", 9), b, false);
    };
    manager->addAction(p, a, false);
    frame(0.1f);
    EXPECT_EQ(g_log, (Log{"p step", "q step"}));
}

TEST_F(ActionManagerTest, PausedEntriesStartButDoNotStep) {
    Probe* p = Probe::make("p", 9);
    manager->addAction(p, a, true);
    EXPECT_EQ(p->getTarget(), a) << "started at once";
    manager->addAction(Probe::make("q", 9), a, false);
    EXPECT_TRUE(manager->isTargetPaused(a)) << "an existing entry keeps its paused flag";
    frame(0.1f);
    EXPECT_TRUE(g_log.empty());
    manager->resumeTarget(a);
    frame(0.1f);
    EXPECT_EQ(g_log, (Log{"p step", "q step"}));

    // Pausing a target without actions is not remembered.
    manager->pauseTarget(b);
    manager->addAction(Probe::make("r", 9), b, false);
    EXPECT_FALSE(manager->isTargetPaused(b));
}

TEST_F(ActionManagerTest, TagLookupsTakeTheFirstMatchAndRemovalNeedsTheStartTarget) {
    Probe* first = Probe::make("first", 9);
    Probe* second = Probe::make("second", 9);
    first->setTag(7);
    second->setTag(7);
    manager->addAction(first, a, false);
    manager->addAction(second, a, false);
    EXPECT_EQ(manager->getActionByTag(7, a), first);
    EXPECT_EQ(manager->getActionByTag(8, a), nullptr);
    EXPECT_EQ(manager->getActionByTag(7, b), nullptr);
    manager->removeActionByTag(7, b); // not b's: nothing
    EXPECT_EQ(manager->countActionsForTarget(a), 2u);
    manager->removeActionByTag(7, a);
    EXPECT_EQ(manager->getActionByTag(7, a), second);
    EXPECT_EQ(first->description(), "<CCAction | Tag = 7>");
}

TEST_F(ActionManagerTest, BadInputIsLoggedOrIgnored) {
    std::vector<std::string> lines;
    setDebugLogSink([&](const std::string& line) { lines.push_back(line); });
    manager->addAction(nullptr, a, false);
    manager->addAction(Probe::make("p", 1), nullptr, false);
    setDebugLogSink(nullptr);
    EXPECT_EQ(lines.size(), 2u);
    manager->removeAction(nullptr);
    manager->removeAllActionsFromTarget(nullptr);
    manager->removeAction(Probe::make("stray", 1));
    EXPECT_EQ(manager->countActionsForTarget(nullptr), 0u);
    EXPECT_EQ(manager->getActionByTag(1, nullptr), nullptr);
}

TEST_F(ActionManagerTest, NodesPauseTheirActionsOffStageAndCleanupRemovesThem) {
    Probe* p = Probe::make("p", 9);
    a->runAction(p);
    frame(0.1f);
    EXPECT_TRUE(g_log.empty()) << "a node that is not running runs its actions paused";
    a->onEnter();
    frame(0.1f);
    EXPECT_EQ(g_log, (Log{"p step"}));
    a->onExit();
    frame(0.1f);
    EXPECT_EQ(g_log.size(), 1u);
    EXPECT_EQ(a->numberOfRunningActions(), 1u);
    a->cleanup();
    EXPECT_EQ(a->numberOfRunningActions(), 0u);
}

TEST_F(ActionManagerTest, ClassNameAndCopy) {
    Probe* p = Probe::make("p", 0.0f);
    EXPECT_STREQ(p->className(), "CCAction");
    EXPECT_TRUE(p->isKindOf("CCAction"));
    EXPECT_TRUE(p->isKindOf("CCObject"));
    EXPECT_FALSE(p->isKindOf("CCActionInterval"));

    CCActionInterval plain;
    plain.initWithDuration(2.0f);
    plain.setTag(3);
    auto* copy = static_cast<CCActionInterval*>(plain.copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getTag(), 3);
    EXPECT_EQ(copy->getDuration(), 2.0f);
    EXPECT_TRUE(copy->isFirstTick());
    copy->release();
}
