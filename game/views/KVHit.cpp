#include "game/views/KVHit.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

KVHit* KVHit::create(KVPawn* pawn, int kind) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVHit::create: no pawn");
        return nullptr;
    }
    auto* hit = new KVHit();
    hit->autorelease();
    (void)hit->initWithPawn(pawn, kind);
    return hit;
}

bool KVHit::initWithPawn(KVPawn* pawn, int kind) {
    (void)KVActor::init();
    m_pawn = pawn;
    holdPawnPosition();
    m_kind = kind;
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVHit::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR);
    // Hits are made inside contact callbacks too: the post then waits for the end of the step,
    // behind the action event posted before it.
    KVPhysWorld* world = KVPhysWorld::existingInstance();
    if (world != nullptr)
        world->postNotification(EVENT_NEW_ACTOR, this);
    else
        CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVHit::cleanupBeforeDelete() {
    m_pawn = nullptr;
    KVActor::cleanupBeforeDelete();
}

void KVHit::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr) return;
    if (object == m_pawn) {
        // The effect ends where the pawn was last seen.
        holdPawnPosition();
        m_pawn = nullptr;
    }
    if (object == this) KVActor::onRemoveActor(notification);
}

void KVHit::holdPawnPosition() {
    if (m_pawn == nullptr) return;
    positionX = m_pawn->positionX;
    positionY = m_pawn->positionY;
}
