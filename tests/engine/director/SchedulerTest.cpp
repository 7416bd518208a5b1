#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace kvengine;

namespace {

std::vector<std::string> g_trace;

/// A scheduler target that records its calls and can run a hook inside each of them.
class Probe : public CCObject {
public:
    explicit Probe(std::string name) : m_name(std::move(name)) {}
    void update(float dt) override {
        g_trace.push_back(m_name + ".update");
        lastDelta = dt;
        if (onUpdate) onUpdate();
    }
    void timerA(float dt) { fire("A", dt); }
    void timerB(float dt) { fire("B", dt); }
    void timerC(float dt) { fire("C", dt); }

    std::function<void()> onUpdate;
    std::function<void(const std::string&)> onTimer;
    float lastDelta = -1.0f;
    std::vector<float> fired;

private:
    void fire(const std::string& which, float dt) {
        g_trace.push_back(m_name + "." + which);
        fired.push_back(dt);
        if (onTimer) onTimer(which);
    }
    std::string m_name;
};

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_trace.clear();
        scheduler = CCScheduler::getInstance();
    }
    void TearDown() override {
        CCScheduler::purge();
        for (Probe* p : probes)
            p->release();
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
    }
    Probe* probe(const std::string& name) {
        probes.push_back(new Probe(name));
        return probes.back();
    }

    CCScheduler* scheduler = nullptr;
    std::vector<Probe*> probes;
};

using Trace = std::vector<std::string>;

} // namespace

TEST_F(SchedulerTest, UpdatesRunByPriorityAndEqualPrioritiesKeepRegistrationOrder) {
    const int priorities[] = {-5, 0, 3, -5, 1};
    const char* names[] = {"m5a", "z", "p3", "m5b", "p1"};
    for (int i = 0; i < 5; ++i)
        scheduler->scheduleUpdateForTarget(probe(names[i]), priorities[i], false);
    scheduler->tick(0.5f);
    EXPECT_EQ(g_trace, (Trace{"m5a.update", "m5b.update", "z.update", "p1.update", "p3.update"}));
    EXPECT_FLOAT_EQ(probes[0]->lastDelta, 0.5f);
}

TEST_F(SchedulerTest, TimerDropsItsFirstDeltaAndFiresOncePerTickAfterItsInterval) {
    Probe* p = probe("p");
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 0.25f, false);
    const float deltas[] = {0.5f, 0.1f, 0.1f, 0.1f, 1.0f};
    for (float d : deltas)
        scheduler->tick(d);
    // Tick 1 only starts the count; 0.1 x 3 reaches 0.25 at tick 4 (argument 0.3); tick 5 fires
    // once with the whole 1.0 (the excess is dropped).
    ASSERT_EQ(p->fired.size(), 2u);
    EXPECT_NEAR(p->fired[0], 0.3f, 1e-5f);
    EXPECT_NEAR(p->fired[1], 1.0f, 1e-5f);

    // Interval 0: every tick, the first time with 0.
    Probe* q = probe("q");
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), q, 0.0f, false);
    scheduler->tick(0.2f);
    scheduler->tick(0.3f);
    EXPECT_EQ(q->fired, (std::vector<float>{0.0f, 0.3f}));
}

TEST_F(SchedulerTest, ReschedulingASelectorOnlyChangesItsInterval) {
    Probe* p = probe("p");
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 10.0f, false);
    scheduler->tick(0.0f);
    scheduler->tick(0.4f);
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 0.5f, false);
    EXPECT_EQ(scheduler->timerCount(p), 1u);
    scheduler->tick(0.1f); // elapsed continues: 0.4 + 0.1 reaches the new interval
    ASSERT_EQ(p->fired.size(), 1u);
    EXPECT_NEAR(p->fired[0], 0.5f, 1e-5f);
}

// Changes made from inside timer callbacks, and what the same tick then runs.
TEST_F(SchedulerTest, TimerWalkSurvivesChangesMadeByTheRunningTimer) {
    struct Case {
        const char* name;
        std::function<void(CCScheduler*, Probe*, Probe*)> onA; // run inside p.A (first call only)
        Trace expected;                                        // trace of the tick it runs in
        unsigned timersLeft;
    };
    const Case cases[] = {
        {"A unschedules itself: B still runs",
         [](CCScheduler* s, Probe* p, Probe*) { s->unscheduleSelector(schedule_selector(Probe::timerA), p); },
         {"p.A", "p.B", "p.C", "o.A"},
         2},
        {"A unschedules the later B: B does not run",
         [](CCScheduler* s, Probe* p, Probe*) { s->unscheduleSelector(schedule_selector(Probe::timerB), p); },
         {"p.A", "p.C", "o.A"},
         2},
        {"A unschedules everything of its target: the entry goes after its turn",
         [](CCScheduler* s, Probe* p, Probe*) { s->unscheduleAllSelectorsForTarget(p); },
         {"p.A", "o.A"},
         0},
        {"A pauses its target: the remaining timers still run in this tick",
         [](CCScheduler* s, Probe* p, Probe*) { s->pauseTarget(p); },
         {"p.A", "p.B", "p.C", "o.A"},
         3},
        {"A unschedules the next target: it does not run",
         [](CCScheduler* s, Probe*, Probe* o) { s->unscheduleAllSelectorsForTarget(o); },
         {"p.A", "p.B", "p.C"},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Probe* p = probe("p");
        Probe* o = probe("o");
        for (SEL_SCHEDULE sel : {schedule_selector(Probe::timerA), schedule_selector(Probe::timerB),
                                 schedule_selector(Probe::timerC)}) {
            scheduler->scheduleSelector(sel, p, 0.0f, false);
        }
        scheduler->scheduleSelector(schedule_selector(Probe::timerA), o, 0.0f, false);
        bool once = false; // armed for the second tick only
        p->onTimer = [&](const std::string& which) {
            if (which == "A" && once) {
                once = false;
                c.onA(scheduler, p, o);
            }
        };
        scheduler->tick(0.0f);
        g_trace.clear();
        once = true;
        scheduler->tick(0.0f);
        EXPECT_EQ(g_trace, c.expected);
        EXPECT_EQ(scheduler->timerCount(p), c.timersLeft);
        scheduler->unscheduleAllSelectors();
        g_trace.clear();
    }
}

TEST_F(SchedulerTest, UnschedulingAnEarlierTimerDoesNotSkipTheNextOne) {
    Probe* p = probe("p");
    for (SEL_SCHEDULE sel : {schedule_selector(Probe::timerA), schedule_selector(Probe::timerB),
                             schedule_selector(Probe::timerC)}) {
        scheduler->scheduleSelector(sel, p, 0.0f, false);
    }
    p->onTimer = [&](const std::string& which) {
        if (which == "B") scheduler->unscheduleSelector(schedule_selector(Probe::timerA), p);
    };
    scheduler->tick(0.0f);
    EXPECT_EQ(g_trace, (Trace{"p.A", "p.B", "p.C"}));
}

TEST_F(SchedulerTest, TimersAddedDuringTheTimerPassRunInTheSameTick) {
    Probe* p = probe("p");
    Probe* late = probe("late");
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 0.0f, false);
    p->onTimer = [&](const std::string& which) {
        if (which != "A") return;
        scheduler->scheduleSelector(schedule_selector(Probe::timerB), p, 0.0f, false);
        scheduler->scheduleSelector(schedule_selector(Probe::timerC), p, 5.0f, false);
        scheduler->scheduleSelector(schedule_selector(Probe::timerA), late, 0.0f, false);
    };
    scheduler->tick(0.0f);
    // B (interval 0) fires at once; C only starts counting; the new target is visited too.
    EXPECT_EQ(g_trace, (Trace{"p.A", "p.B", "late.A"}));
}

TEST_F(SchedulerTest, EmptiedRunningEntryStaysWhenItGotANewTimerDuringItsTurn) {
    Probe* p = probe("p");
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 0.0f, false);
    p->onTimer = [&](const std::string& which) {
        if (which != "A") return;
        scheduler->unscheduleSelector(schedule_selector(Probe::timerA), p);
        scheduler->scheduleSelector(schedule_selector(Probe::timerB), p, 1.0f, false);
    };
    scheduler->tick(0.0f);
    EXPECT_EQ(scheduler->timerCount(p), 1u);
}

TEST_F(SchedulerTest, UpdatesUnscheduledDuringThePassAreSkippedAndRescheduleKeepsTheOldEntry) {
    Probe* a = probe("a");
    Probe* b = probe("b");
    Probe* c = probe("c");
    scheduler->scheduleUpdateForTarget(a, 0, false);
    scheduler->scheduleUpdateForTarget(b, 0, false);
    scheduler->scheduleUpdateForTarget(c, 7, true);
    a->onUpdate = [&] {
        scheduler->unscheduleUpdateForTarget(b); // the walk's noted successor: only marked
        scheduler->unscheduleUpdateForTarget(c);
        scheduler->scheduleUpdateForTarget(c, -100, false); // mark cleared; priority and pause kept
    };
    scheduler->tick(0.1f);
    EXPECT_EQ(g_trace, (Trace{"a.update"}));
    EXPECT_FALSE(scheduler->isUpdateScheduled(b));
    EXPECT_TRUE(scheduler->isUpdateScheduled(c));
    EXPECT_TRUE(scheduler->isTargetPaused(c));

    a->onUpdate = nullptr;
    scheduler->resumeTarget(c);
    g_trace.clear();
    scheduler->tick(0.1f);
    EXPECT_EQ(g_trace, (Trace{"a.update", "c.update"})) << "c keeps its priority 7, after a";
}

TEST_F(SchedulerTest, PausedTargetsAreSkippedAndPauseOfAnUnknownTargetIsNotRemembered) {
    Probe* p = probe("p");
    scheduler->pauseTarget(p);
    scheduler->scheduleUpdateForTarget(p, 0, false);
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), p, 0.0f, false);
    scheduler->tick(0.1f);
    EXPECT_EQ(g_trace, (Trace{"p.update", "p.A"}));
    scheduler->pauseTarget(p);
    g_trace.clear();
    scheduler->tick(0.1f);
    EXPECT_TRUE(g_trace.empty());
}

TEST_F(SchedulerTest, NullArgumentsAreLoggedAndIgnored) {
    std::vector<std::string> lines;
    setDebugLogSink([&](const std::string& line) { lines.push_back(line); });
    scheduler->scheduleSelector(nullptr, probe("p"), 0.0f, false);
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), nullptr, 0.0f, false);
    scheduler->scheduleUpdateForTarget(nullptr, 0, false);
    scheduler->unscheduleSelector(nullptr, nullptr);
    scheduler->unscheduleUpdateForTarget(nullptr);
    scheduler->unscheduleAllSelectorsForTarget(nullptr);
    scheduler->pauseTarget(nullptr);
    setDebugLogSink(nullptr);
    EXPECT_EQ(lines.size(), 3u);
    scheduler->tick(0.1f);
    EXPECT_TRUE(g_trace.empty());
}

TEST_F(SchedulerTest, NodesStayAliveWhileScheduledAndServicesUnscheduleInTheirTeardown) {
    CCNode* node = new CCNode();
    scheduler->scheduleUpdateForTarget(node, 0, false);
    EXPECT_EQ(node->retainCount(), 2u);
    scheduler->unscheduleUpdateForTarget(node);
    EXPECT_EQ(node->retainCount(), 1u);
    node->release();

    // A service (not a node) is not kept alive by the scheduler: it unschedules in its teardown,
    // so a tick after its release never reaches it.
    struct Service : public CCObject {
        int* calls;
        explicit Service(int* c) : calls(c) {}
        void update(float) override { ++*calls; }
        void cleanupBeforeDelete() override {
            if (CCScheduler* s = CCScheduler::existingInstance()) s->unscheduleAllSelectorsForTarget(this);
        }
    };
    int calls = 0;
    auto* service = new Service(&calls);
    scheduler->scheduleUpdateForTarget(service, 0, false);
    scheduler->tick(0.1f);
    service->release();
    scheduler->tick(0.1f);
    EXPECT_EQ(calls, 1);
}

TEST_F(SchedulerTest, AServiceFreedInsideItsOwnCallbackIsNeverTouchedAgain) {
    // The service drops its last reference from inside its update and its timer; its teardown
    // unschedules it. Run under the address sanitizer this catches any later access.
    struct Service : public CCObject {
        void update(float) override { release(); }
        void onTimer(float) { release(); }
        void cleanupBeforeDelete() override {
            if (CCScheduler* s = CCScheduler::existingInstance()) s->unscheduleAllSelectorsForTarget(this);
        }
    };
    auto* viaUpdate = new Service();
    scheduler->scheduleUpdateForTarget(viaUpdate, 0, false);
    auto* viaTimer = new Service();
    scheduler->scheduleSelector(schedule_selector(Service::onTimer), viaTimer, 0.0f, false);
    Probe* after = probe("after");
    scheduler->scheduleUpdateForTarget(after, 1, false);
    scheduler->scheduleSelector(schedule_selector(Probe::timerA), after, 0.0f, false);
    scheduler->tick(0.1f);
    scheduler->tick(0.1f);
    EXPECT_EQ(g_trace, (Trace{"after.update", "after.A", "after.update", "after.A"}));
    EXPECT_FALSE(scheduler->isUpdateScheduled(viaUpdate));
}

TEST_F(SchedulerTest, PurgeReleasesEveryTarget) {
    struct TimedNode : public CCNode {
        void onTimer(float) {}
    };
    CCNode* node = new TimedNode();
    scheduler->scheduleUpdateForTarget(node, 3, false);
    scheduler->scheduleSelector(schedule_selector(TimedNode::onTimer), node, 1.0f, false);
    EXPECT_EQ(node->retainCount(), 3u);
    CCScheduler::purge();
    EXPECT_EQ(CCScheduler::existingInstance(), nullptr);
    EXPECT_EQ(node->retainCount(), 1u);
    node->release();
}
