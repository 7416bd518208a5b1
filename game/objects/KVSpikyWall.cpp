#include "game/objects/KVSpikyWall.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/objects/KVSpikeDamage.h"

using kvobjects::kPixelsPerMetre;

void KVSpikyWall::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVSpikyWall::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    if (properties == nullptr) {
        kvengine::logDebugMessage("KVSpikyWall: no object dictionary");
        return false;
    }
    const float x = static_cast<float>(kvobjects::intProperty(properties, "x")) / kPixelsPerMetre;
    const float y = static_cast<float>(kvobjects::intProperty(properties, "y")) / kPixelsPerMetre;
    const float width = static_cast<float>(kvobjects::intProperty(properties, "width")) / kPixelsPerMetre;
    const float height = static_cast<float>(kvobjects::intProperty(properties, "height")) / kPixelsPerMetre;
    kvobjects::EdgeFixture edge;
    m_body = kvobjects::createStaticOutline(this, x, y, width, height, edge, "KVSpikyWall");
    if (m_body == nullptr) return false;
    positionX = x;
    positionY = y;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVSpikyWall::initWithBody(b2Body* body) {
    if (!KVActor::init()) return false;
    if (body == nullptr) {
        kvengine::logDebugMessage("KVSpikyWall::initWithBody: no body");
        return false;
    }
    m_body = body;
    body->GetUserData().pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    positionX = body->GetPosition().x;
    positionY = body->GetPosition().y;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVSpikyWall::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr) return false;
    b2Body* pawnBody = contact->other->getBody();
    const float speed = pawnBody != nullptr ? pawnBody->GetLinearVelocity().Length() : 0.0f;
    return kvspikes::hurt(contact->other, speed, kvspikes::kSpikyWallAction);
}
