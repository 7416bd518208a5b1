#include "game/score/KVScoreManagerSolo.h"

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"

KVScoreManagerSolo::KVScoreManagerSolo() {
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVScoreManagerSolo::onTurnStartPlayer), EVENT_TURN_START_PLAYER);
}

void KVScoreManagerSolo::cleanupBeforeDelete() {
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    KVScoreManager::cleanupBeforeDelete();
}

void KVScoreManagerSolo::onTurnStartPlayer(kvengine::CCNotification* notification) {
    (void)notification;
    ++m_playerTurns;
}
