#include "game/attacks/KVProjectile.h"

#include <box2d/box2d.h>

#include <cmath>

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActionEvent.h"

namespace {

// The category the level's sensor zones have alone: touching only that lets a projectile pass.
constexpr std::uint16_t kSensorCategory = 0x0002;

} // namespace

bool KVProjectile::launch(float x, float y, float dx, float dy, KVPawn* owner) {
    const float length = std::hypot(dx, dy);
    if (owner == nullptr || !(length > 0.0f) || !std::isfinite(length) || !std::isfinite(x) ||
        !std::isfinite(y)) {
        kvengine::logDebugMessage("%s::launch: %s", className(),
                                  owner == nullptr ? "no owner" : "no direction or no place to fly from");
        return false;
    }
    if (!KVActor::init()) return false;
    positionX = x;
    positionY = y;
    owner->retain();
    m_owner = owner;

    kvobjects::CircleFixture solid;
    solid.radius = kRadius;
    solid.sensor = true;
    solid.groupIndex = kGroup;
    kvobjects::CircleFixture probe;
    probe.radius = kRadius;
    probe.sensor = true;
    probe.categoryBits = kSensorCategory;
    probe.maskBits = 0;
    probe.groupIndex = 1;
    m_body = kvobjects::createCircleBody(this, true, x, y, {solid, probe}, className());
    if (m_body == nullptr) return false;
    m_body->SetLinearVelocity(b2Vec2(dx / length * kSpeed, dy / length * kSpeed));

    kvobjects::post(EVENT_NEW_ACTOR, this);
    kvobjects::post(EVENT_NOTIFY_IN_ACTION, this);
    return true;
}

void KVProjectile::hitActor(KVPawn* pawn) {
    (void)pawn;
}

void KVProjectile::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    if (m_owner != nullptr) m_owner->release();
    m_owner = nullptr;
    KVActor::cleanupBeforeDelete();
}

void KVProjectile::update(float dt) {
    (void)dt;
    if (m_body == nullptr) return;
    positionX = m_body->GetPosition().x;
    positionY = m_body->GetPosition().y;
    angle = m_body->GetAngle();
}

void KVProjectile::vanish() {
    removed = true;
    kvobjects::post(EVENT_REMOVE_ACTOR, this);
}

bool KVProjectile::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || removed || m_owner == nullptr) return false;
    KVActor* other = contact->other;
    if (other == nullptr) {
        if (contact->otherFilter.groupIndex != kWallGroup) return false;
        vanish();
        return true;
    }
    if (other->isKindOf("KVPawn")) {
        auto* pawn = static_cast<KVPawn*>(other);
        if (pawn == m_owner || pawn->isProjectileIntercepted(this)) return false;
        vanish();
        if (pawn->isDamageable() && pawn->isEnemy() != m_owner->isEnemy()) hitActor(pawn);
        return true;
    }
    if (other->isKindOf("KVAnchor") || other->isKindOf("KVGeyser")) return false;
    if ((contact->otherFilter.categoryBits & ~kSensorCategory) == 0) return false;
    vanish();
    return true;
}

void KVDistanceAttackProjectile::hitActor(KVPawn* pawn) {
    if (pawn == nullptr || m_owner == nullptr) return;
    pawn->takeDamage(m_owner->getDmgTarget(), m_owner, KVActionEvent::DistanceHit, 1.0f,
                     m_owner->getPushOffCoefTarget());
}

void KVShuriken::hitActor(KVPawn* pawn) {
    if (pawn == nullptr) return;
    const int amount = pawn->getDefense() + static_cast<int>(kShare * static_cast<float>(pawn->getMaxHP()));
    pawn->takeDamage(amount, m_owner, KVActionEvent::ShurikenHit, 1.0f, kPush);
}
