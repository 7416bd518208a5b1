#pragma once

#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

class KVActor;

/// Payload of "EVENT_TRIGGER_TRIGGERED" (the trigger's name, the pawn that set it off and the
/// trigger's reach-point flag) and of "EVENT_TRIGGER_ENABLE" / "EVENT_TRIGGER_DISABLE" (name, no
/// actor, false).
///
/// Ownership: retains the name; the actor is not retained (the event lives for one post).
class KVTriggerEvent : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVTriggerEvent, KVObject)

    KVTriggerEvent(kvengine::CCString* name_, KVActor* actor_, bool flag_)
        : name(name_), actor(actor_), flag(flag_) {
        if (name != nullptr) name->retain();
    }
    void cleanupBeforeDelete() override {
        if (name != nullptr) name->release();
        name = nullptr;
        actor = nullptr;
    }

    kvengine::CCString* name = nullptr;
    KVActor* actor = nullptr;
    bool flag = false;
};
