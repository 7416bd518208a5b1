#pragma once
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace kvengine {

class CCAction;
class CCNode;

/// Holds every running action per target node and steps them once per frame, as a per-frame
/// update of the scheduler with priority 0.
///
/// Ownership: a target's entry retains the target and each of its actions; the entry lives from
/// the first addAction until its last action goes. Actions are stepped in the order they were
/// added, targets in the order their entries were made.
///
/// Re-entrancy: an action may, during its own step, add actions (to any target), remove itself
/// or others, or remove all actions of any target. The action being stepped stays alive until its
/// step returns, the entry being stepped is not freed during its turn, and no action is skipped.
///
/// The shared manager (getInstance) is registered with the scheduler when made, and released by
/// the director's purge.
class CCActionManager : public CCSingleton<CCActionManager, CCObject, kReleasedWithDirectorPurge> {
public:
    /// Unschedules and releases the shared manager (all actions are released).
    static void purgeInstance();
    static void releaseInstance() { purgeInstance(); }

    CCActionManager() = default;
    ~CCActionManager() override;

    /// The scheduler keeps the manager alive while it is registered.
    void retainAsTarget() override { retain(); }
    void releaseAsTarget() override { release(); }

    /// Adds and starts `action` on `target`. `paused` applies only to a target without an entry.
    /// The same action added twice is held twice. Null action or target: logged and ignored.
    void addAction(CCAction* action, CCNode* target, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(CCObject* target);
    /// Removes the action from the entry of its start target; its stop() is not called.
    void removeAction(CCAction* action);
    /// Removes the first action of `target` with that tag whose start target is `target`.
    void removeActionByTag(int tag, CCObject* target);
    /// The first action of `target` with that tag, or null.
    CCAction* getActionByTag(int tag, CCObject* target) const;
    unsigned countActionsForTarget(CCObject* target) const;
    void pauseTarget(CCObject* target);
    void resumeTarget(CCObject* target);
    /// True when the target has an entry and it is paused.
    bool isTargetPaused(CCObject* target) const;

    /// The per-frame step, called by the scheduler with the frame delta.
    void update(float dt) override;

private:
    friend CCSingleton;
    static CCActionManager* makeSharedInstance();

    struct Entry {
        std::vector<CCAction*> actions;
        CCObject* target = nullptr;
        size_t actionIndex = 0;
        CCAction* currentAction = nullptr;
        bool currentActionSalvaged = false;
        bool paused = false;
        Entry* prev = nullptr;
        Entry* next = nullptr;
    };

    Entry* findEntry(CCObject* target) const;
    void removeActionAtIndex(size_t index, Entry* entry);
    void deleteTargetEntry(Entry* entry);

    std::unordered_map<CCObject*, Entry*> m_table;
    Entry* m_head = nullptr;
    Entry* m_tail = nullptr;
    Entry* m_currentTarget = nullptr;
    bool m_currentTargetSalvaged = false;
};

} // namespace kvengine
