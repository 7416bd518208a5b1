#include "game/views/KVPawnEffect.h"

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"

void KVPawnEffect::attachToPawn(KVPawn* pawn) {
    m_pawn = pawn;
    holdPawnPosition();
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPawnEffect::onRemoveActor), EVENT_REMOVE_ACTOR);
}

void KVPawnEffect::cleanupBeforeDelete() {
    m_pawn = nullptr;
    KVActor::cleanupBeforeDelete();
}

void KVPawnEffect::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr) return;
    if (object == m_pawn) {
        // The effect ends where the pawn was last seen.
        holdPawnPosition();
        m_pawn = nullptr;
    }
    if (object == this) KVActor::onRemoveActor(notification);
}

void KVPawnEffect::holdPawnPosition() {
    if (m_pawn == nullptr) return;
    positionX = m_pawn->positionX;
    positionY = m_pawn->positionY;
}
