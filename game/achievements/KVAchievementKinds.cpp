#include "game/achievements/KVAchievementKinds.h"

#include "game/app/KVGlobalNames.h"

using namespace kvengine;

CCString* KVAchievementCallMeIndie::getEventName() {
    return EVENT_STAR_HIDDEN_UNLOCKED;
}

CCString* KVAchievementCallMeFlash::getEventName() {
    return EVENT_STAR_SPEED_UNLOCKED;
}

CCString* KVAchievementCallMeBarlok::getEventName() {
    return EVENT_STAR_SURVIVAL_UNLOCKED;
}

bool KVAchievementKissMyKelvo::registerObservers() {
    return observe(EVENT_ACTION, notification_selector(KVAchievementKissMyKelvo::handleEvent));
}

void KVAchievementKissMyKelvo::handleEvent(CCNotification* notification) {
    (void)notification;
}

bool KVAchievementKrabbyPatty::registerObservers() {
    return observe(EVENT_COCONUT_CRAB_DEAD, notification_selector(KVAchievementKrabbyPatty::handleEvent));
}

void KVAchievementKrabbyPatty::handleEvent(CCNotification* notification) {
    (void)notification;
    complete();
}

bool KVAchievementTolpeWasRight::registerObservers() {
    return observe(EVENT_KRAKEN_TRIGGERED, notification_selector(KVAchievementTolpeWasRight::handleEvent));
}

void KVAchievementTolpeWasRight::handleEvent(CCNotification* notification) {
    (void)notification;
    complete();
}

bool KVAchievementHolyKelvo::registerObservers() {
    return observe(EVENT_MIRACLE_TENTACLE_TRIGGERED,
                   notification_selector(KVAchievementHolyKelvo::handleEvent));
}

void KVAchievementHolyKelvo::handleEvent(CCNotification* notification) {
    (void)notification;
    complete();
}

CCString* KVAchievementSeafoodPorridge::getEventName() {
    return EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE;
}

CCString* KVAchievementDontRunNearThePool::getEventName() {
    return EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL;
}

CCString* KVAchievementKungFuKelvo::getEventName() {
    return EVENT_ACHIEVEMENT_KUNG_FU_KELVO;
}

CCString* KVAchievementSocialKelvo::getEventName() {
    return EVENT_ACHIEVEMENT_FACEBOOK;
}
