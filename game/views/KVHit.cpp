#include "game/views/KVHit.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVPhysWorld.h"

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
    attachToPawn(pawn);
    m_kind = kind;
    // Hits are made inside contact callbacks too: the post then waits for the end of the step,
    // behind the action event posted before it.
    KVPhysWorld* world = KVPhysWorld::existingInstance();
    if (world != nullptr)
        world->postNotification(EVENT_NEW_ACTOR, this);
    else
        CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}
