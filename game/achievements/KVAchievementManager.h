#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVSingletonObject.h"

class KVAchievement;

/// Holds the achievements still pending in this run.
///
/// Made at start-up with the other shared services and released at shutdown. Its constructor makes
/// the 22 achievements; the list holds the only reference to each, so releasing the list (at
/// shutdown) or removing one (when it completes) destroys it. Completions are neither saved nor
/// shown; "EVENT_SAVE_STATS", posted at the end of a mission, writes the run's tally to the log.
class KVAchievementManager : public KVSingletonObject<KVAchievementManager> {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementManager, KVSingletonObject)

    static constexpr unsigned kAchievementCount = 22;

    KVAchievementManager();
    /// Releases the list, and with it every pending achievement.
    void cleanupBeforeDelete() override;

    /// Makes the 22 achievements in their fixed order and adds each to the list.
    void createAchievements();
    /// Takes `achievement` out of the list (releasing it). Unknown achievements change nothing.
    void remove(KVAchievement* achievement);

    /// The pending achievements, in creation order.
    kvengine::CCMutableArray<KVAchievement*>* getAchievements() { return m_achievements; }
    /// How many achievements completed since the manager was made.
    unsigned getCompletedCount() const { return m_completedCount; }

    /// "EVENT_SAVE_STATS": logs how many are completed and which are pending.
    virtual void onSaveStats(kvengine::CCNotification* notification);

private:
    /// Initialises the new achievement and hands its creation reference to the list.
    void adopt(KVAchievement* achievement);

    kvengine::CCMutableArray<KVAchievement*>* m_achievements = nullptr;
    unsigned m_completedCount = 0;
};
