// Frame overhead of the scheduler: one tick with 1,000 per-frame updates and 1,000 timers,
// beside the same callbacks called from a plain loop over std::vector.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace kvengine;

namespace {

constexpr int kTargets = 1000;

class Target : public CCObject {
public:
    void update(float dt) override { sum += dt; }
    void onTimer(float dt) { sum += dt; }
    float sum = 0.0f;
};

struct Targets {
    std::vector<Target*> updates;
    std::vector<Target*> timers;
    Targets() {
        for (int i = 0; i < kTargets; ++i) {
            updates.push_back(new Target());
            timers.push_back(new Target());
        }
    }
    ~Targets() {
        for (Target* t : updates)
            t->release();
        for (Target* t : timers)
            t->release();
    }
};

void BM_SchedulerTick(benchmark::State& state) {
    Targets targets;
    CCScheduler* scheduler = CCScheduler::getInstance();
    for (int i = 0; i < kTargets; ++i) {
        scheduler->scheduleUpdateForTarget(targets.updates[i], i % 7 - 3, false);
        scheduler->scheduleSelector(schedule_selector(Target::onTimer), targets.timers[i], 0.0f, false);
    }
    scheduler->tick(0.016f);
    for (auto _ : state)
        scheduler->tick(0.016f);
    benchmark::DoNotOptimize(targets.updates[0]->sum);
    CCDirector::destroyInstance();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
}
BENCHMARK(BM_SchedulerTick);

// The same work without the scheduler: the same virtual updates, and the same timer arithmetic
// (elapsed, interval test, member call) over plain vectors.
void BM_PlainLoop(benchmark::State& state) {
    Targets targets;
    struct PlainTimer {
        Target* target;
        SEL_SCHEDULE selector;
        float interval;
        float elapsed;
    };
    std::vector<CCObject*> updates(targets.updates.begin(), targets.updates.end());
    std::vector<PlainTimer> timers;
    for (Target* t : targets.timers)
        timers.push_back({t, schedule_selector(Target::onTimer), 0.0f, 0.0f});
    for (auto _ : state) {
        const float dt = 0.016f;
        for (CCObject* o : updates)
            o->update(dt);
        for (PlainTimer& t : timers) {
            t.elapsed += dt;
            if (t.elapsed >= t.interval) {
                (t.target->*t.selector)(t.elapsed);
                t.elapsed = 0.0f;
            }
        }
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(targets.updates[0]->sum);
}
BENCHMARK(BM_PlainLoop);

} // namespace
