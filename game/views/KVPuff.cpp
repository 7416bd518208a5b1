#include "game/views/KVPuff.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

KVPuff* KVPuff::create(KVPawn* pawn) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVPuff::create: no pawn");
        return nullptr;
    }
    auto* puff = new KVPuff();
    puff->autorelease();
    (void)puff->initWithPawn(pawn);
    return puff;
}

bool KVPuff::initWithPawn(KVPawn* pawn) {
    (void)KVActor::init();
    m_pawn = pawn;
    holdPawnPosition();
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVPuff::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR);
    CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVPuff::cleanupBeforeDelete() {
    m_pawn = nullptr;
    KVActor::cleanupBeforeDelete();
}

void KVPuff::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr) return;
    if (object == m_pawn) {
        // The effect ends where the pawn was last seen.
        holdPawnPosition();
        m_pawn = nullptr;
    }
    if (object == this) KVActor::onRemoveActor(notification);
}

void KVPuff::holdPawnPosition() {
    if (m_pawn == nullptr) return;
    positionX = m_pawn->positionX;
    positionY = m_pawn->positionY;
}
