#pragma once
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <cstddef>
#include <memory>
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

    // Timers come from blocks of consecutive records (see CCScheduler's entry pools): a tick
    // visits every timer, and scattered allocations would make it chase memory.
    static void* operator new(size_t size);
    static void operator delete(void* pointer, size_t size);

    /// Advances the timer by `dt` seconds and fires it when its interval has passed. The first
    /// call after scheduling only starts the count (its delta is dropped); what exceeds the
    /// interval is dropped too, so a timer fires at most once per tick.
    void update(float dt) override { advance(dt); }
    /// The same, without the virtual call (the scheduler's tick uses it).
    void advance(float dt) {
        if (m_elapsed == -1.0f) {
            m_elapsed = 0.0f;
        } else {
            m_elapsed += dt;
        }
        if (m_elapsed >= m_interval) fire();
    }

    SEL_SCHEDULE getSelector() const { return m_selector; }
    float getInterval() const { return m_interval; }
    void setInterval(float interval) { m_interval = interval; }
    float getElapsed() const { return m_elapsed; }

private:
    void fire();

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
///
/// The shared scheduler (getInstance) is released by the director's purge.
class CCScheduler : public CCSingleton<CCScheduler, CCObject, kReleasedWithDirectorPurge> {
public:
    /// Releases the shared scheduler (purgeInstance); every target gets its releaseAsTarget.
    static void purge() { purgeInstance(); }

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
        bool retained = false; // retainAsTarget took a reference that the entry must give back
        void reset() { *this = UpdateEntry(); }
    };

    /// The timers of one target. Most targets have one or two timers: those live inside the
    /// entry itself, so a tick does not follow one more pointer per target.
    class TimerArray {
    public:
        TimerArray() = default;
        TimerArray(const TimerArray&) = delete;
        TimerArray& operator=(const TimerArray&) = delete;
        ~TimerArray() { clear(); }

        size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        CCTimer* operator[](size_t index) const { return m_data[index]; }
        CCTimer* const* begin() const { return m_data; }
        CCTimer* const* end() const { return m_data + m_size; }
        void push_back(CCTimer* timer);
        void eraseAt(size_t index);
        /// Hands the timers over (the caller releases them) and leaves the array empty.
        std::vector<CCTimer*> takeAll();
        /// Forgets the timers without releasing them and frees any heap storage.
        void clear();

    private:
        static constexpr size_t kInline = 2;
        CCTimer* m_inline[kInline] = {};
        CCTimer** m_data = m_inline;
        size_t m_size = 0;
        size_t m_capacity = kInline;
    };

    struct TimerEntry {
        TimerArray timers;
        CCObject* target = nullptr;
        size_t timerIndex = 0;
        CCTimer* currentTimer = nullptr;
        bool currentTimerSalvaged = false;
        bool paused = false;
        bool retained = false;      // retainAsTarget took a reference that the entry must give back
        TimerEntry* prev = nullptr; // order of registration
        TimerEntry* next = nullptr;

        void reset() {
            timers.clear();
            target = nullptr;
            timerIndex = 0;
            currentTimer = nullptr;
            currentTimerSalvaged = false;
            paused = false;
            retained = false;
            prev = next = nullptr;
        }
    };

    struct UpdateList {
        UpdateEntry* head = nullptr;
        UpdateEntry* tail = nullptr;
    };

    /// Entries come from blocks of consecutive records, so a tick walks memory that lies close
    /// together instead of one scattered allocation per target; freed records are reused.
    template <class Entry> class EntryPool {
    public:
        Entry* make() {
            if (m_free.empty()) {
                m_blocks.emplace_back(new Entry[kBlock]);
                for (size_t i = kBlock; i > 0; --i)
                    m_free.push_back(&m_blocks.back()[i - 1]);
            }
            Entry* entry = m_free.back();
            m_free.pop_back();
            entry->reset();
            return entry;
        }
        void free(Entry* entry) {
            entry->reset();
            m_free.push_back(entry);
        }

    private:
        static constexpr size_t kBlock = 128;
        std::vector<std::unique_ptr<Entry[]>> m_blocks;
        std::vector<Entry*> m_free;
    };

    void linkUpdate(UpdateEntry* entry);
    void unlinkUpdate(UpdateEntry* entry);
    void freeUpdateEntry(UpdateEntry* entry);
    void freeTimerEntry(TimerEntry* entry);
    void removeTimerAt(TimerEntry* entry, size_t index);
    void releaseTarget(CCObject* target);
    static bool retainTarget(CCObject* target);

    EntryPool<UpdateEntry> m_updatePool;
    EntryPool<TimerEntry> m_timerPool;
    float m_timeScale = 1.0f;
    UpdateList m_lists[3];
    std::unordered_map<CCObject*, UpdateEntry*> m_updateTable;
    std::unordered_map<CCObject*, TimerEntry*> m_timerTable;
    TimerEntry* m_timerHead = nullptr;
    TimerEntry* m_timerTail = nullptr;
    TimerEntry* m_currentTimerEntry = nullptr;
    bool m_currentEntryEmptied = false;
    bool m_tickRunning = false;
    unsigned m_markedForRemoval = 0;
    std::vector<CCObject*> m_deferredReleases;
};

} // namespace kvengine
