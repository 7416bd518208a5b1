#include "game/objects/KVAnchor.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotificationCenter;
using kvobjects::kPixelsPerMetre;

void KVAnchor::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    hold(nullptr);
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    KVActor::cleanupBeforeDelete();
}

void KVAnchor::hold(KVPawn* kelvo) {
    if (kelvo != nullptr) kelvo->retain();
    if (m_heldKelvo != nullptr) m_heldKelvo->CCObject::release();
    m_heldKelvo = kelvo;
}

bool KVAnchor::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (properties == nullptr || world == nullptr) {
        kvengine::logDebugMessage(properties == nullptr ? "KVAnchor: no object dictionary"
                                                        : "KVAnchor: no physics world");
        return false;
    }
    kvobjects::placeAtTileCentre(properties, this);
    m_radius = kRadius;

    kvobjects::CircleFixture post;
    post.radius = m_radius;
    post.friction = 1.0f;
    post.restitution = 0.6f;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {post}, "KVAnchor");

    m_anchored = false;
    // From anyone: the held kelvo may be removed while it sits here.
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVAnchor::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, nullptr);
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

std::string KVAnchor::viewClassName() {
    return "KVAnchorV";
}

bool KVAnchor::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || m_heldKelvo != nullptr) return false;
    KVActor* other = contact->other;
    if (other == nullptr || !other->isKindOf("KVKelvo")) return false;
    auto* kelvo = static_cast<KVPawn*>(other);
    if (kelvo->isDead() || kelvo->isAnchored()) return false;
    hold(kelvo);
    return true;
}

bool KVAnchor::endContact(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr || contact->other != m_heldKelvo) return false;
    hold(nullptr);
    return true;
}

bool KVAnchor::preSolve(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr) return false;
    if (!contact->other->isKindOf("KVKelvo") && !contact->other->isKindOf("KVProjectile")) return false;
    if (contact->contact != nullptr) contact->contact->SetEnabled(false);
    return true;
}

void KVAnchor::update(float dt) {
    (void)dt;
    if (!m_anchored && m_heldKelvo != nullptr) {
        if (!m_heldKelvo->isDead()) {
            m_anchored = true;
            m_heldKelvo->setAnchorPoint(kvengine::CCPoint(positionX, positionY));
            kvobjects::post(EVENT_ANCHOR_START, m_heldKelvo);
        } else {
            m_anchored = false;
            hold(nullptr);
        }
    } else if (m_anchored && m_heldKelvo == nullptr) {
        m_anchored = false;
    }
}

void KVAnchor::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* removedObject = notification != nullptr ? notification->getObject() : nullptr;
    if (removedObject == this) KVActor::onRemoveActor(notification);
    if (removedObject != nullptr && removedObject == m_heldKelvo) {
        hold(nullptr);
        m_anchored = false;
    }
}
