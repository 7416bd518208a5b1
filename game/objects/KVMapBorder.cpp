#include "game/objects/KVMapBorder.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"

void KVMapBorder::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVMapBorder::initWithRect(float x, float y, float width, float height) {
    if (!KVActor::init()) return false;
    kvobjects::EdgeFixture edge;
    edge.sensor = true;
    edge.maskBits = 0x0000;
    edge.groupIndex = 1;
    m_body = kvobjects::createStaticOutline(this, x, y, width, height, edge, "KVMapBorder");
    if (m_body == nullptr) return false;
    positionX = x;
    positionY = y;
    return true;
}

bool KVMapBorder::initWithBody(b2Body* body) {
    if (!KVActor::init()) return false;
    if (body == nullptr) {
        kvengine::logDebugMessage("KVMapBorder::initWithBody: no body");
        return false;
    }
    m_body = body;
    body->GetUserData().pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    for (b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        fixture->SetSensor(true);
        b2Filter filter = fixture->GetFilterData();
        filter.groupIndex = 1;
        fixture->SetFilterData(filter); // also flags its contacts for filtering again
    }
    positionX = body->GetPosition().x;
    positionY = body->GetPosition().y;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVMapBorder::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr) return false;
    KVActor* other = contact->other;
    if (other->isKindOf("KVPawn"))
        kvobjects::post(EVENT_PAWN_FALL, other);
    else if (other->isKindOf("KVCoconut"))
        kvobjects::post(EVENT_COCONUT_FALL, other);
    else
        kvobjects::post(EVENT_REMOVE_ACTOR, other);
    return true;
}
