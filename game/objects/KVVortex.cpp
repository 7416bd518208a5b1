#include "game/objects/KVVortex.h"

#include <box2d/box2d.h>

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;

bool kvIsPushedByHazards(KVActor* actor) {
    return actor != nullptr && (actor->isKindOf("KVPawn") || actor->isKindOf("KVCoconut"));
}

bool kvHazardContactBegins(CCMutableArray<KVActor*>* actors, KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (!kvIsPushedByHazards(other) || actors == nullptr) return false;
    if (!actors->containsObject(other)) actors->addObject(other);
    return true;
}

bool kvHazardContactEnds(CCMutableArray<KVActor*>* actors, KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (!kvIsPushedByHazards(other) || actors == nullptr) return false;
    actors->removeObject(other);
    return true;
}

void kvHazardForgetsActor(CCMutableArray<KVActor*>* actors, kvengine::CCObject* removed) {
    auto* actor = dynamic_cast<KVActor*>(removed);
    if (actor != nullptr && actors != nullptr) actors->removeObject(actor);
}

void KVVortex::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    if (m_actors != nullptr) m_actors->release();
    m_actors = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVVortex::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    const bool hasPull = properties != nullptr && properties->objectForKey("PullPower") != nullptr;
    if (properties == nullptr || physics == nullptr || physics->getWorld() == nullptr || !hasPull) {
        kvengine::logDebugMessage("KVVortex: %s", properties == nullptr ? "no object dictionary"
                                                  : !hasPull            ? "no \"PullPower\": no vortex made"
                                                                        : "no physics world");
        return false;
    }
    m_radius =
        static_cast<float>(kvobjects::intProperty(properties, "width")) * 0.5f / kvobjects::kPixelsPerMetre;
    auto* pull = dynamic_cast<kvengine::CCString*>(properties->objectForKey("PullPower"));
    m_pullPower = pull != nullptr ? static_cast<float>(std::atof(pull->text.c_str())) : 0.0f;
    kvobjects::placeAtTileCentre(properties, this);
    if (m_actors == nullptr) m_actors = new CCMutableArray<KVActor*>();

    kvobjects::CircleFixture sensor;
    sensor.radius = m_radius;
    sensor.sensor = true;
    sensor.categoryBits = 0x0002;
    sensor.maskBits = 0x0000;
    sensor.groupIndex = 1;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {sensor}, "KVVortex");
    // From anyone: an actor inside may be removed.
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVVortex::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, nullptr);
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

void KVVortex::update(float dt) {
    (void)dt;
    if (m_actors == nullptr || m_actors->count() == 0) return;
    CCMutableArray<KVActor*>* inside = CCMutableArray<KVActor*>::createWithArray(m_actors);
    for (KVActor* actor : *inside) {
        b2Body* body = actor->getBody();
        if (body == nullptr) continue;
        const b2Vec2 d = b2Vec2(positionX, positionY) - body->GetPosition();
        const float dist = d.Length();
        if (dist >= kSlowZone) {
            body->ApplyLinearImpulse((m_pullPower / dist) * d, body->GetPosition(), true);
        } else if (body->GetType() != b2_staticBody) {
            const b2Vec2 slowed = kSlowFactor * body->GetLinearVelocity();
            body->SetLinearVelocity(slowed);
            if (slowed.LengthSquared() > 0.0f) body->SetAwake(true);
        }
    }
}

bool KVVortex::beginContact(KVContactInfo* contact) {
    return kvHazardContactBegins(m_actors, contact);
}

bool KVVortex::endContact(KVContactInfo* contact) {
    return kvHazardContactEnds(m_actors, contact);
}

void KVVortex::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == this) KVActor::onRemoveActor(notification);
    kvHazardForgetsActor(m_actors, object);
}
