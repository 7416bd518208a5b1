#include "game/objects/KVSpikyBall.h"

#include <box2d/box2d.h>

#include "game/objects/KVSpikeDamage.h"

std::string KVSpikyBall::viewClassName() {
    return "KVSpikyBallV";
}

bool KVSpikyBall::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr) return false;
    b2Body* pawnBody = contact->other->getBody();
    float speed = pawnBody != nullptr ? pawnBody->GetLinearVelocity().Length() : 0.0f;
    if (m_body != nullptr) speed += m_body->GetLinearVelocity().Length();
    return kvspikes::hurt(contact->other, speed, kvspikes::kSpikyBallAction);
}
