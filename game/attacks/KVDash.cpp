#include "game/attacks/KVDash.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCNotificationCenter;

bool KVDash::initWithPawn(KVPawn* pawn) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVDash::initWithPawn: no pawn");
        return false;
    }
    if (!KVActor::init()) return false;
    m_pawn = pawn;
    pawn->getPosition(&positionX, &positionY);
    angle = pawn->angle;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVDash::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVDash::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == this) KVActor::onRemoveActor(notification);
    if (object != nullptr && object == m_pawn) m_pawn = nullptr;
}

void KVDash::cleanupBeforeDelete() {
    m_pawn = nullptr;
    KVActor::cleanupBeforeDelete();
}
