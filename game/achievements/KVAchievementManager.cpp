#include "game/achievements/KVAchievementManager.h"

#include <new>
#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/achievements/KVAchievement.h"
#include "game/achievements/KVAchievementKinds.h"
#include "game/achievements/KVMissionAchievements.h"
#include "game/achievements/KVTrainingAchievements.h"
#include "game/app/KVGlobalNames.h"

using namespace kvengine;

KVAchievementManager::KVAchievementManager() {
    m_achievements = new CCMutableArray<KVAchievement*>(kAchievementCount);
    createAchievements();
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVAchievementManager::onSaveStats), EVENT_SAVE_STATS);
}

void KVAchievementManager::cleanupBeforeDelete() {
    if (CCNotificationCenter* center = CCNotificationCenter::existingInstance()) center->removeObserver(this);
    if (m_achievements != nullptr) m_achievements->release();
    m_achievements = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

void KVAchievementManager::adopt(KVAchievement* achievement) {
    if (achievement == nullptr) return;
    if (achievement->init()) m_achievements->addObject(achievement);
    achievement->release();
}

void KVAchievementManager::createAchievements() {
    adopt(new (std::nothrow) KVAchievementTheUntouchable());
    adopt(new (std::nothrow) KVAchievementTheUnforgiven());
    adopt(new (std::nothrow) KVAchievementTheWeird());
    adopt(new (std::nothrow) KVAchievementTheProud());
    adopt(new (std::nothrow) KVAchievementTheKinky());
    adopt(new (std::nothrow) KVAchievementCallMeIndie());
    adopt(new (std::nothrow) KVAchievementCallMeFlash());
    adopt(new (std::nothrow) KVAchievementCallMeBarlok());
    adopt(new (std::nothrow) KVAchievementKissMyKelvo());
    adopt(new (std::nothrow) KVAchievementKrabbyPatty());
    adopt(new (std::nothrow) KVAchievementSparringTheKelvo());
    adopt(new (std::nothrow) KVAchievementTolpeWasRight());
    adopt(new (std::nothrow) KVAchievementHolyKelvo());
    adopt(new (std::nothrow) KVAchievementPolePosition());
    adopt(new (std::nothrow) KVAchievementSeafoodPorridge());
    adopt(new (std::nothrow) KVAchievementDontRunNearThePool());
    adopt(new (std::nothrow) KVAchievementKungFuKelvo());
    adopt(new (std::nothrow) KVAchievementKelvoCalibur());
    adopt(new (std::nothrow) KVAchievementYodaIsMyFather());
    adopt(new (std::nothrow) KVAchievementLegendaryArmy());
    adopt(new (std::nothrow) KVAchievementLetsBounce());
    adopt(new (std::nothrow) KVAchievementSocialKelvo());
}

void KVAchievementManager::remove(KVAchievement* achievement) {
    if (m_achievements == nullptr || achievement == nullptr) return;
    const unsigned before = m_achievements->count();
    m_achievements->removeObject(achievement);
    if (m_achievements->count() < before) ++m_completedCount;
}

void KVAchievementManager::onSaveStats(CCNotification* notification) {
    (void)notification;
    std::string pending;
    const unsigned count = m_achievements != nullptr ? m_achievements->count() : 0;
    for (unsigned i = 0; i < count; ++i) {
        if (!pending.empty()) pending += ", ";
        pending += m_achievements->objectAtIndex(i)->getIdentifier();
    }
    logDebugMessage("achievements: %u completed in this run, %u pending (%s)", m_completedCount, count,
                    pending.c_str());
}
