#include "game/views/KVPuff.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"

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
    attachToPawn(pawn);
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}
