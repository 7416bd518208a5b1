#include "engine/actions/CCActionManager.h"

#include "engine/actions/CCAction.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCNode.h"

#include <algorithm>

namespace kvengine {

CCActionManager* CCActionManager::makeSharedInstance() {
    auto* manager = new CCActionManager();
    // Made first, so that the scheduler outlives the manager when the director purges both.
    CCScheduler::getInstance()->scheduleUpdateForTarget(manager, 0, false);
    return manager;
}

void CCActionManager::purgeInstance() {
    CCActionManager* manager = existingInstance();
    if (!manager) return;
    if (CCScheduler* scheduler = CCScheduler::existingInstance())
        scheduler->unscheduleUpdateForTarget(manager);
    CCSingleton::purgeInstance();
}

CCActionManager::~CCActionManager() {
    removeAllActions();
}

CCActionManager::Entry* CCActionManager::findEntry(CCObject* target) const {
    if (!target) return nullptr;
    auto found = m_table.find(target);
    return found == m_table.end() ? nullptr : found->second;
}

void CCActionManager::addAction(CCAction* action, CCNode* target, bool paused) {
    if (!action || !target) {
        logDebugMessage("CCActionManager::addAction: null %s ignored", action ? "target" : "action");
        return;
    }
    Entry* entry = findEntry(target);
    if (!entry) {
        entry = new Entry();
        entry->paused = paused;
        entry->target = target;
        target->retain();
        entry->actions.reserve(4);
        entry->prev = m_tail;
        if (m_tail) {
            m_tail->next = entry;
        } else {
            m_head = entry;
        }
        m_tail = entry;
        m_table.emplace(target, entry);
    }
    action->retain();
    entry->actions.push_back(action);
    action->startWithTarget(target);
}

void CCActionManager::removeActionAtIndex(size_t index, Entry* entry) {
    CCAction* action = entry->actions[index];
    if (action == entry->currentAction && !entry->currentActionSalvaged) {
        // Removed during its own step: it stays alive until the step returns.
        action->retain();
        entry->currentActionSalvaged = true;
    }
    entry->actions.erase(entry->actions.begin() + static_cast<std::ptrdiff_t>(index));
    action->release();
    // The action that moved into the freed place is stepped next (from 0 this wraps, and the
    // walk's increment brings it back to 0).
    if (entry->actionIndex >= index) --entry->actionIndex;
    if (entry->actions.empty()) {
        if (entry == m_currentTarget) {
            m_currentTargetSalvaged = true;
        } else {
            deleteTargetEntry(entry);
        }
    }
}

void CCActionManager::deleteTargetEntry(Entry* entry) {
    if (entry->prev) {
        entry->prev->next = entry->next;
    } else {
        m_head = entry->next;
    }
    if (entry->next) {
        entry->next->prev = entry->prev;
    } else {
        m_tail = entry->prev;
    }
    m_table.erase(entry->target);
    std::vector<CCAction*> actions;
    actions.swap(entry->actions);
    CCObject* target = entry->target;
    delete entry;
    for (auto it = actions.rbegin(); it != actions.rend(); ++it)
        (*it)->release();
    target->release();
}

void CCActionManager::removeAllActions() {
    for (Entry* entry = m_head; entry;) {
        Entry* next = entry->next;
        removeAllActionsFromTarget(entry->target);
        entry = next;
    }
}

void CCActionManager::removeAllActionsFromTarget(CCObject* target) {
    Entry* entry = findEntry(target);
    if (!entry) return;
    if (entry->currentAction && !entry->currentActionSalvaged &&
        std::find(entry->actions.begin(), entry->actions.end(), entry->currentAction) !=
            entry->actions.end()) {
        entry->currentAction->retain();
        entry->currentActionSalvaged = true;
    }
    if (entry != m_currentTarget) {
        // Out of the table before any action is released: a release may free an owner that
        // stops this target's actions again, and must find nothing left to delete.
        deleteTargetEntry(entry);
        return;
    }
    m_currentTargetSalvaged = true;
    std::vector<CCAction*> actions;
    actions.swap(entry->actions);
    for (auto it = actions.rbegin(); it != actions.rend(); ++it)
        (*it)->release();
}

void CCActionManager::removeAction(CCAction* action) {
    if (!action) return;
    Entry* entry = findEntry(action->getOriginalTarget());
    if (!entry) return;
    auto found = std::find(entry->actions.begin(), entry->actions.end(), action);
    if (found == entry->actions.end()) return;
    removeActionAtIndex(static_cast<size_t>(found - entry->actions.begin()), entry);
}

void CCActionManager::removeActionByTag(int tag, CCObject* target) {
    Entry* entry = findEntry(target);
    if (!entry) return;
    for (size_t i = 0; i < entry->actions.size(); ++i) {
        CCAction* action = entry->actions[i];
        if (action->getTag() == tag && action->getOriginalTarget() == target) {
            removeActionAtIndex(i, entry);
            return;
        }
    }
}

CCAction* CCActionManager::getActionByTag(int tag, CCObject* target) const {
    Entry* entry = findEntry(target);
    if (!entry) return nullptr;
    for (CCAction* action : entry->actions) {
        if (action->getTag() == tag) return action;
    }
    return nullptr;
}

unsigned CCActionManager::countActionsForTarget(CCObject* target) const {
    Entry* entry = findEntry(target);
    return entry ? static_cast<unsigned>(entry->actions.size()) : 0u;
}

void CCActionManager::pauseTarget(CCObject* target) {
    if (Entry* entry = findEntry(target)) entry->paused = true;
}

void CCActionManager::resumeTarget(CCObject* target) {
    if (Entry* entry = findEntry(target)) entry->paused = false;
}

bool CCActionManager::isTargetPaused(CCObject* target) const {
    Entry* entry = findEntry(target);
    return entry && entry->paused;
}

void CCActionManager::update(float dt) {
    for (Entry* entry = m_head; entry;) {
        m_currentTarget = entry;
        m_currentTargetSalvaged = false;
        if (!entry->paused) {
            for (entry->actionIndex = 0; entry->actionIndex < entry->actions.size(); ++entry->actionIndex) {
                CCAction* action = entry->actions[entry->actionIndex];
                entry->currentAction = action;
                if (!action) continue;
                entry->currentActionSalvaged = false;
                action->step(dt);
                if (entry->currentActionSalvaged) {
                    action->release();
                } else if (action->isDone()) {
                    action->stop();
                    // Cleared first so the removal does not salvage it.
                    entry->currentAction = nullptr;
                    removeAction(action);
                }
                entry->currentAction = nullptr;
            }
        }
        Entry* next = entry->next;
        if (m_currentTargetSalvaged && entry->actions.empty()) {
            m_currentTarget = nullptr;
            deleteTargetEntry(entry);
        }
        entry = next;
    }
    m_currentTarget = nullptr;
}

} // namespace kvengine
