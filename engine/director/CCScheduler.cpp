#include "engine/director/CCScheduler.h"

#include "engine/base/CCLog.h"

namespace kvengine {

// --- CCTimer -------------------------------------------------------------------------------

namespace {

/// Fixed-size records in blocks of 256, recycled through a free list; never returned to the
/// system (the number of timers alive at once is small and bounded by the program).
class TimerStorage {
public:
    void* take() {
        if (!m_free) grow();
        Slot* slot = m_free;
        m_free = slot->next;
        return slot;
    }
    void give(void* pointer) {
        Slot* slot = static_cast<Slot*>(pointer);
        slot->next = m_free;
        m_free = slot;
    }

private:
    union Slot {
        Slot* next;
        alignas(CCTimer) unsigned char bytes[sizeof(CCTimer)];
    };
    void grow() {
        m_blocks.emplace_back(new Slot[kBlock]);
        Slot* block = m_blocks.back().get();
        for (size_t i = kBlock; i > 0; --i)
            give(&block[i - 1]);
    }
    static constexpr size_t kBlock = 256;
    std::vector<std::unique_ptr<Slot[]>> m_blocks;
    Slot* m_free = nullptr;
};

TimerStorage& timerStorage() {
    // Deliberately never destroyed: timers may be released during static destruction.
    static TimerStorage* storage = new TimerStorage();
    return *storage;
}

} // namespace

void* CCTimer::operator new(size_t size) {
    if (size != sizeof(CCTimer)) return ::operator new(size);
    return timerStorage().take();
}

void CCTimer::operator delete(void* pointer, size_t size) {
    if (!pointer) return;
    if (size != sizeof(CCTimer)) {
        ::operator delete(pointer);
        return;
    }
    timerStorage().give(pointer);
}

CCTimer::CCTimer(CCObject* target, SEL_SCHEDULE selector, float interval)
    : m_selector(selector), m_interval(interval), m_target(target) {}

void CCTimer::fire() {
    // Without a selector the timer would call a script function; no script engine exists, so
    // nothing happens and the elapsed time keeps growing.
    if (!m_selector || !m_target) return;
    (m_target->*m_selector)(m_elapsed);
    m_elapsed = 0.0f;
}

// --- timer arrays ----------------------------------------------------------------------------

void CCScheduler::TimerArray::push_back(CCTimer* timer) {
    if (m_size == m_capacity) {
        const size_t capacity = m_capacity * 2;
        auto** data = new CCTimer*[capacity];
        for (size_t i = 0; i < m_size; ++i)
            data[i] = m_data[i];
        if (m_data != m_inline) delete[] m_data;
        m_data = data;
        m_capacity = capacity;
    }
    m_data[m_size++] = timer;
}

void CCScheduler::TimerArray::eraseAt(size_t index) {
    if (index >= m_size) return;
    for (size_t i = index + 1; i < m_size; ++i)
        m_data[i - 1] = m_data[i];
    --m_size;
}

std::vector<CCTimer*> CCScheduler::TimerArray::takeAll() {
    std::vector<CCTimer*> timers(begin(), end());
    clear();
    return timers;
}

void CCScheduler::TimerArray::clear() {
    if (m_data != m_inline) delete[] m_data;
    m_data = m_inline;
    m_capacity = kInline;
    m_size = 0;
}

// --- shared instance -------------------------------------------------------------------------

CCScheduler::~CCScheduler() {
    unscheduleAllSelectors();
    // Entries that a tick left behind (a tick cannot be running here, but be thorough).
    for (auto& list : m_lists) {
        while (list.head)
            freeUpdateEntry(list.head);
    }
}

// --- the tick --------------------------------------------------------------------------------

void CCScheduler::tick(float dt) {
    m_tickRunning = true;
    if (m_timeScale != 1.0f) dt *= m_timeScale;

    // Update pass. Entries removed during the pass are only marked, so the successor noted
    // before a call is still valid after it.
    for (auto& list : m_lists) {
        for (UpdateEntry* entry = list.head; entry;) {
            UpdateEntry* next = entry->next;
            if (!entry->paused && !entry->markedForRemoval) entry->target->update(dt);
            entry = next;
        }
    }

    // Timer pass. The current entry is never freed during its own turn (the emptied flag defers
    // it), and its successor is read only after the turn, when earlier removals are settled.
    for (TimerEntry* entry = m_timerHead; entry;) {
        m_currentTimerEntry = entry;
        m_currentEntryEmptied = false;
        if (!entry->paused) {
            for (entry->timerIndex = 0; entry->timerIndex < entry->timers.size(); ++entry->timerIndex) {
                entry->currentTimer = entry->timers[entry->timerIndex];
                entry->currentTimerSalvaged = false;
                entry->currentTimer->advance(dt);
                if (entry->currentTimerSalvaged) entry->currentTimer->release();
                entry->currentTimer = nullptr;
            }
        }
        TimerEntry* next = entry->next;
        if (m_currentEntryEmptied && entry->timers.empty()) {
            m_currentTimerEntry = nullptr;
            freeTimerEntry(entry);
        }
        entry = next;
    }
    m_currentTimerEntry = nullptr;

    // Removal pass; most ticks remove nothing, so the walk is skipped then.
    if (m_markedForRemoval > 0) {
        for (auto& list : m_lists) {
            for (UpdateEntry* entry = list.head; entry;) {
                UpdateEntry* next = entry->next;
                if (entry->markedForRemoval) freeUpdateEntry(entry);
                entry = next;
            }
        }
        m_markedForRemoval = 0;
    }

    m_tickRunning = false;
    m_currentTimerEntry = nullptr;

    std::vector<CCObject*> releases;
    releases.swap(m_deferredReleases);
    for (CCObject* target : releases)
        target->releaseAsTarget();
}

// --- timers ----------------------------------------------------------------------------------

void CCScheduler::scheduleSelector(SEL_SCHEDULE selector, CCObject* target, float interval, bool paused) {
    if (!selector || !target) {
        logDebugMessage("CCScheduler::scheduleSelector: null %s ignored", target ? "selector" : "target");
        return;
    }
    TimerEntry* entry = nullptr;
    auto found = m_timerTable.find(target);
    if (found == m_timerTable.end()) {
        entry = m_timerPool.make();
        entry->target = target;
        entry->paused = paused;
        entry->prev = m_timerTail;
        if (m_timerTail) {
            m_timerTail->next = entry;
        } else {
            m_timerHead = entry;
        }
        m_timerTail = entry;
        m_timerTable.emplace(target, entry);
        entry->retained = retainTarget(target);
    } else {
        entry = found->second;
        for (CCTimer* timer : entry->timers) {
            if (timer->getSelector() == selector) {
                timer->setInterval(interval);
                return;
            }
        }
    }
    entry->timers.push_back(new CCTimer(target, selector, interval));
}

void CCScheduler::removeTimerAt(TimerEntry* entry, size_t index) {
    CCTimer* timer = entry->timers[index];
    if (timer == entry->currentTimer && !entry->currentTimerSalvaged) {
        // The timer is inside its own call: keep it alive until the call returns.
        timer->retain();
        entry->currentTimerSalvaged = true;
    }
    entry->timers.eraseAt(index);
    timer->release();
    // The walk continues with the timer that moved into the freed place. From 0 this wraps and
    // the walk's increment brings it back to 0.
    if (entry->timerIndex >= index) --entry->timerIndex;
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE selector, CCObject* target) {
    if (!selector || !target) return;
    auto found = m_timerTable.find(target);
    if (found == m_timerTable.end()) return;
    TimerEntry* entry = found->second;
    for (size_t i = 0; i < entry->timers.size(); ++i) {
        if (entry->timers[i]->getSelector() != selector) continue;
        removeTimerAt(entry, i);
        if (entry->timers.empty()) {
            if (entry == m_currentTimerEntry) {
                m_currentEntryEmptied = true;
            } else {
                freeTimerEntry(entry);
            }
        }
        return;
    }
}

void CCScheduler::unscheduleAllSelectorsForTarget(CCObject* target) {
    if (!target) return;
    // The update entry goes first: freeing the timer entry may release the target for good.
    unscheduleUpdateForTarget(target);
    auto found = m_timerTable.find(target);
    if (found == m_timerTable.end()) return;
    TimerEntry* entry = found->second;
    if (entry->currentTimer && !entry->currentTimerSalvaged) {
        entry->currentTimer->retain();
        entry->currentTimerSalvaged = true;
    }
    std::vector<CCTimer*> timers = entry->timers.takeAll();
    for (auto it = timers.rbegin(); it != timers.rend(); ++it)
        (*it)->release();
    if (entry == m_currentTimerEntry) {
        m_currentEntryEmptied = true;
    } else {
        freeTimerEntry(entry);
    }
}

void CCScheduler::freeTimerEntry(TimerEntry* entry) {
    if (entry->prev) {
        entry->prev->next = entry->next;
    } else {
        m_timerHead = entry->next;
    }
    if (entry->next) {
        entry->next->prev = entry->prev;
    } else {
        m_timerTail = entry->prev;
    }
    m_timerTable.erase(entry->target);
    std::vector<CCTimer*> timers = entry->timers.takeAll();
    CCObject* target = entry->target;
    const bool retained = entry->retained;
    m_timerPool.free(entry);
    for (auto it = timers.rbegin(); it != timers.rend(); ++it)
        (*it)->release();
    if (retained) releaseTarget(target);
}

bool CCScheduler::retainTarget(CCObject* target) {
    // A target that does not keep itself alive (anything but nodes and the action manager)
    // may be gone by the time its entry is freed, so its entry must never touch it again: the
    // entry remembers whether a reference was actually taken.
    const uint32_t before = target->retainCount();
    target->retainAsTarget();
    return target->retainCount() != before;
}

void CCScheduler::releaseTarget(CCObject* target) {
    // Releasing may destroy the target, and its teardown may unschedule other targets. During a
    // tick that would pull entries from under the walk, so the releases wait for its end.
    if (m_tickRunning) {
        m_deferredReleases.push_back(target);
    } else {
        target->releaseAsTarget();
    }
}

// --- per-frame updates ---------------------------------------------------------------------

void CCScheduler::linkUpdate(UpdateEntry* entry) {
    UpdateList& list = m_lists[entry->list];
    UpdateEntry* before = nullptr;
    if (entry->list != kZero) {
        for (UpdateEntry* e = list.head; e; e = e->next) {
            if (e->priority > entry->priority) {
                before = e;
                break;
            }
        }
    }
    if (before) {
        entry->next = before;
        entry->prev = before->prev;
        if (before->prev) {
            before->prev->next = entry;
        } else {
            list.head = entry;
        }
        before->prev = entry;
    } else {
        entry->prev = list.tail;
        entry->next = nullptr;
        if (list.tail) {
            list.tail->next = entry;
        } else {
            list.head = entry;
        }
        list.tail = entry;
    }
}

void CCScheduler::unlinkUpdate(UpdateEntry* entry) {
    UpdateList& list = m_lists[entry->list];
    if (entry->prev) {
        entry->prev->next = entry->next;
    } else {
        list.head = entry->next;
    }
    if (entry->next) {
        entry->next->prev = entry->prev;
    } else {
        list.tail = entry->prev;
    }
    entry->prev = entry->next = nullptr;
}

void CCScheduler::freeUpdateEntry(UpdateEntry* entry) {
    unlinkUpdate(entry);
    m_updateTable.erase(entry->target);
    CCObject* target = entry->target;
    const bool retained = entry->retained;
    m_updatePool.free(entry);
    if (retained) releaseTarget(target);
}

void CCScheduler::scheduleUpdateForTarget(CCObject* target, int priority, bool paused) {
    if (!target) {
        logDebugMessage("CCScheduler::scheduleUpdateForTarget: null target ignored");
        return;
    }
    auto found = m_updateTable.find(target);
    if (found != m_updateTable.end()) {
        if (found->second->markedForRemoval) {
            found->second->markedForRemoval = false;
            --m_markedForRemoval;
        }
        return;
    }
    UpdateEntry* entry = m_updatePool.make();
    entry->target = target;
    entry->priority = priority;
    entry->list = priority < 0 ? kNegative : (priority > 0 ? kPositive : kZero);
    entry->paused = paused;
    linkUpdate(entry);
    m_updateTable.emplace(target, entry);
    entry->retained = retainTarget(target);
}

void CCScheduler::unscheduleUpdateForTarget(CCObject* target) {
    if (!target) return;
    auto found = m_updateTable.find(target);
    if (found == m_updateTable.end()) return;
    if (m_tickRunning) {
        if (!found->second->markedForRemoval) {
            found->second->markedForRemoval = true;
            ++m_markedForRemoval;
        }
    } else {
        freeUpdateEntry(found->second);
    }
}

void CCScheduler::unscheduleAllSelectors() {
    for (TimerEntry* entry = m_timerHead; entry;) {
        TimerEntry* next = entry->next;
        unscheduleAllSelectorsForTarget(entry->target);
        entry = next;
    }
    for (int kind : {kZero, kNegative, kPositive}) {
        for (UpdateEntry* entry = m_lists[kind].head; entry;) {
            UpdateEntry* next = entry->next;
            unscheduleUpdateForTarget(entry->target);
            entry = next;
        }
    }
}

void CCScheduler::pauseTarget(CCObject* target) {
    if (!target) return;
    if (auto t = m_timerTable.find(target); t != m_timerTable.end()) t->second->paused = true;
    if (auto u = m_updateTable.find(target); u != m_updateTable.end()) u->second->paused = true;
}

void CCScheduler::resumeTarget(CCObject* target) {
    if (!target) return;
    if (auto t = m_timerTable.find(target); t != m_timerTable.end()) t->second->paused = false;
    if (auto u = m_updateTable.find(target); u != m_updateTable.end()) u->second->paused = false;
}

bool CCScheduler::isUpdateScheduled(CCObject* target) const {
    auto found = m_updateTable.find(target);
    return found != m_updateTable.end() && !found->second->markedForRemoval;
}

unsigned CCScheduler::timerCount(CCObject* target) const {
    auto found = m_timerTable.find(target);
    return found == m_timerTable.end() ? 0u : static_cast<unsigned>(found->second->timers.size());
}

bool CCScheduler::isTargetPaused(CCObject* target) const {
    if (auto t = m_timerTable.find(target); t != m_timerTable.end()) return t->second->paused;
    if (auto u = m_updateTable.find(target); u != m_updateTable.end()) return u->second->paused;
    return false;
}

} // namespace kvengine
