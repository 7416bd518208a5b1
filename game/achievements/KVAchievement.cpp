#include "game/achievements/KVAchievement.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/achievements/KVAchievementManager.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"

using namespace kvengine;

void KVAchievement::cleanupBeforeDelete() {
    if (CCNotificationCenter* center = CCNotificationCenter::existingInstance()) center->removeObserver(this);
    KVObject::cleanupBeforeDelete();
}

bool KVAchievement::init() {
    if (registerObservers()) return true;
    logDebugMessage("achievement %s: it observes no notification", className());
    return false;
}

bool KVAchievement::observe(CCString* name, SEL_Notification selector) {
    if (name == nullptr || name->text.empty()) return false;
    CCNotificationCenter::getInstance()->addObserver(this, selector, name);
    return true;
}

void KVAchievement::complete() {
    completed = true;
    logDebugMessage("achievement %s (%s) completed", className(), getIdentifier().c_str());
    // It stops observing even when someone else still holds it; the manager's list normally holds
    // the last reference, so this object is gone once the removal returns.
    if (CCNotificationCenter* center = CCNotificationCenter::existingInstance()) center->removeObserver(this);
    if (KVAchievementManager* manager = KVAchievementManager::existingInstance()) manager->remove(this);
}

// ---- recruit ----

bool KVAchievementRecruit::registerObservers() {
    return observe(EVENT_KELVO_RECRUITED, notification_selector(KVAchievementRecruit::handleEvent));
}

void KVAchievementRecruit::handleEvent(CCNotification* notification) {
    CCString* name = kvdata::asString(notification != nullptr ? notification->getObject() : nullptr);
    if (name == nullptr) return;
    if (name->text == getKelvoName()) complete();
}

// ---- star ----

bool KVAchievementStar::registerObservers() {
    return observe(getEventName(), notification_selector(KVAchievementStar::handleEvent));
}

void KVAchievementStar::handleEvent(CCNotification* notification) {
    CCString* chapter = kvdata::asString(notification != nullptr ? notification->getObject() : nullptr);
    if (chapter == nullptr) {
        logDebugMessage("achievement %s: the star notification names no chapter", className());
        return;
    }
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::Array* missions = profile->getChapterMissionList(chapter->text);
    if (missions == nullptr) {
        logDebugMessage("achievement %s: the profile has no mission list for chapter \"%s\"; not complete",
                        className(), chapter->c_str());
        return;
    }
    const int starType = getStarType();
    for (unsigned i = 0; i < missions->count(); ++i) {
        const std::string mission = kvdata::textOf(missions, i);
        int lock = 0;
        if (starType == HiddenStar)
            lock = profile->getMissionHiddenLock(mission, chapter->text);
        else if (starType == SurvivalStar)
            lock = profile->getMissionSurvivalLock(mission, chapter->text);
        else
            lock = profile->getMissionSpeedLock(mission, chapter->text);
        // 1: the star is not earned yet; -1: the mission has no record.
        if (lock != 0) return;
    }
    complete();
}

// ---- single notification ----

bool KVAchievementSimpleEvent::registerObservers() {
    return observe(getEventName(), notification_selector(KVAchievementSimpleEvent::handleEvent));
}

void KVAchievementSimpleEvent::handleEvent(CCNotification* notification) {
    (void)notification;
    complete();
}
