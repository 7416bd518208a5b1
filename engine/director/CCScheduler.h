#pragma once
#include "engine/base/CCObject.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvengine {

/// A timer callback: a member function of the target taking the seconds since it last fired.
using SEL_SCHEDULE = void (CCObject::*)(float);
#define schedule_selector(_SELECTOR) static_cast<kvengine::SEL_SCHEDULE>(&_SELECTOR)

/// One selector timer of a scheduler target. Owned by the scheduler; the target is not retained
/// by the timer (the scheduler's entry holds the target).
class CCTimer : public CCObject {
public:
    CCTimer(CCObject* target, SEL_SCHEDULE selector, float interval);

    /// Advances the timer by `dt` seconds and fires it when its interval has passed. The first
    /// call after scheduling only starts the count (its delta is dropped); what exceeds the
    /// interval is dropped too, so a timer fires at most once per tick.
    void update(float dt) override;

    SEL_SCHEDULE getSelector() const { return m_selector; }
    float getInterval() const { return m_interval; }
    void setInterval(float interval) { m_interval = interval; }
    float getElapsed() const { return m_elapsed; }

private:
    SEL_SCHEDULE m_selector;
    float m_interval;
    std::string m_scriptFunction; // no script engine exists: always empty
    CCObject* m_target;
    float m_elapsed = -1.0f;
};

/// The engine's one distributor of time: per-frame updates by priority, then selector timers.
///
/// Re-entrancy: any callback may schedule, unschedule, pause or resume any target, itself
/// included, during a tick. Update entries removed during a tick are only marked and freed at
/// its end; the timer entry being run and the timer being run are kept alive until their turn
/// ends.
///
/// Ownership: every target gets CCObject::retainAsTarget when it is first registered and
/// releaseAsTarget when its last entry goes. Nodes and the action manager retain themselves
/// there; any other target is not kept alive and must unschedule itself in its teardown
/// (cleanupBeforeDelete), through existingInstance() so a purged scheduler is not re-created.
class CCScheduler : public CCObject {
public:
    /// The shared scheduler, made on first use.
    static CCScheduler* getInstance();
    /// The shared scheduler, or null when none exists (after purge or before first use).
    static CCScheduler* existingInstance();
    /// Releases the shared scheduler; every target gets its releaseAsTarget.
    static void purge();

    CCScheduler() = default;
    ~CCScheduler() override;

    /// One frame of callbacks with `dt` seconds.
    void tick(float dt) override;

    /// Adds a timer for (selector, target) firing every `interval` seconds (0: every tick). When
    /// the target already has that selector only the interval changes. `paused` applies only
    /// when the target has no timers yet. Null target or selector: logged and ignored.
    void scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, bool paused);
    void unscheduleSelector(SEL_SCHEDULE selector, CCObject* target);
    /// Registers target->update(dt) every frame; lower priorities run first, equal ones in
    /// registration order. An existing registration keeps its priority and paused state.
    void scheduleUpdateForTarget(CCObject* target, int priority, bool paused);
    void unscheduleUpdateForTarget(CCObject* target);
    void unscheduleAllSelectorsForTarget(CCObject* target);
    void unscheduleAllSelectors();
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);

    float getTimeScale() const { return m_timeScale; }
    /// True when the target has a per-frame update that is not marked for removal.
    bool isUpdateScheduled(CCObject* target) const;
    /// Number of selector timers of the target.
    unsigned timerCount(CCObject* target) const;
    /// True when the target's timer or update entry is paused.
    bool isTargetPaused(CCObject* target) const;

private:
    enum ListKind { kNegative = 0, kZero = 1, kPositive = 2 };

    struct UpdateEntry {
        UpdateEntry* prev = nullptr;
        UpdateEntry* next = nullptr;
        CCObject* target = nullptr;
        int priority = 0;
        int list = kZero;
        bool paused = false;
        bool markedForRemoval = false;
    };

    struct TimerEntry {
        std::vector<CCTimer*> timers;
        CCObject* target = nullptr;
        size_t timerIndex = 0;
        CCTimer* currentTimer = nullptr;
        bool currentTimerSalvaged = false;
        bool paused = false;
        TimerEntry* prev = nullptr; // order of registration
        TimerEntry* next = nullptr;
    };

    struct UpdateList {
        UpdateEntry* head = nullptr;
        UpdateEntry* tail = nullptr;
    };

    void linkUpdate(UpdateEntry* entry);
    void unlinkUpdate(UpdateEntry* entry);
    void freeUpdateEntry(UpdateEntry* entry);
    void freeTimerEntry(TimerEntry* entry);
    void removeTimerAt(TimerEntry* entry, size_t index);
    void releaseTarget(CCObject* target);

    float m_timeScale = 1.0f;
    UpdateList m_lists[3];
    std::unordered_map<CCObject*, UpdateEntry*> m_updateTable;
    std::unordered_map<CCObject*, TimerEntry*> m_timerTable;
    TimerEntry* m_timerHead = nullptr;
    TimerEntry* m_timerTail = nullptr;
    TimerEntry* m_currentTimerEntry = nullptr;
    bool m_currentEntryEmptied = false;
    bool m_tickRunning = false;
    std::vector<CCObject*> m_deferredReleases;
};

} // namespace kvengine
