#pragma once

#include "engine/base/CCRetained.h"
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

    KVTriggerEvent(kvengine::CCString* name_, KVActor* actor_, bool flag_) : actor(actor_), flag(flag_) {
        name = name_;
    }
    void cleanupBeforeDelete() override {
        name.reset();
        actor = nullptr;
    }

    kvengine::CCRetained<kvengine::CCString> name;
    KVActor* actor = nullptr;
    bool flag = false;
};
