#include "game/tutorial/KVHelpCase.h"

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"

using namespace kvengine;

KVHelpCase::KVHelpCase() {
    observe(SCREEN_INGAME_GAME, notification_selector(KVHelpCase::onGameStart));
}

void KVHelpCase::observe(CCString* name, SEL_Notification selector) {
    CCNotificationCenter::getInstance()->addObserver(this, selector, name);
}

void KVHelpCase::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVObject::cleanupBeforeDelete();
}

void KVHelpCase::reset() {
    m_counter = 0;
    m_armed = false;
}

std::string KVHelpCase::getChatterName() const {
    return "Tutos_chatot";
}

void KVHelpCase::onGameStart(CCNotification*) {
    reset();
}

void KVHelpCase::onDamageModeOn(CCNotification*) {}
void KVHelpCase::onTurnEndOrAction(CCNotification*) {}
void KVHelpCase::onDamageModeOff(CCNotification*) {}

void KVHelpCase::startChatter() {
    KVChatterManager* chatter = KVChatterManager::getInstance();
    chatter->loadChatter(getChatterName());
    // The start ends a dialogue that still runs before this one is shown.
    chatter->startChatter();
}
