#include <box2d/box2d.h>

#include <cmath>

#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVProjectile.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCString;

namespace {

// A body found near the escaping owner counts as come to rest at this speed or less, m/s.
constexpr float kRestSpeed = 0.5f;

CCString* autoreleased(const char* text) {
    auto* made = new CCString(text);
    made->autorelease();
    return made;
}

} // namespace

KVPowerupNinjaLog::KVPowerupNinjaLog() {
    kind = 3;
}

void KVPowerupNinjaLog::cleanupBeforeDelete() {
    setAttacker(nullptr);
    KVPowerup::cleanupBeforeDelete();
}

void KVPowerupNinjaLog::setAttacker(KVActor* attacker) {
    if (attacker != nullptr) attacker->retain();
    if (m_attacker != nullptr) m_attacker->release();
    m_attacker = attacker;
}

bool KVPowerupNinjaLog::interceptContact(KVActor* other) {
    if (m_state == 1) return true;
    if (other == nullptr || m_owner == nullptr) return false;
    if (other->isKindOf("KVPawn")) {
        if (m_owner->isOwnSideActing()) return false;
        if (m_owner->takesDamage() && other->isEnemy() == m_owner->isEnemy()) return false;
        return absorb(other);
    }
    if (other->isKindOf("KVProjectile")) return absorb(other);
    return false;
}

bool KVPowerupNinjaLog::interceptProjectile(KVProjectile* projectile) {
    return interceptContact(projectile);
}

bool KVPowerupNinjaLog::absorb(KVActor* attacker) {
    if (m_owner->isAnchored()) {
        m_timed = true;
        m_timer = kAnchoredHideSeconds;
    }
    m_pending = true;
    m_state = 1;
    setAttacker(attacker);
    const b2Body* body = attacker->getBody();
    m_escapeX = body != nullptr ? body->GetLinearVelocity().x : 0.0f;
    m_escapeY = body != nullptr ? body->GetLinearVelocity().y : 0.0f;
    kvobjects::post(EVENT_NINJA_LOG_FX, m_owner);
    kvobjects::post(EVENT_MAKE_PAWN_INVISIBLE, m_owner);
    kvobjects::post(EVENT_NOTIFY_IN_ACTION, this);
    return true;
}

void KVPowerupNinjaLog::update(float dt) {
    if (m_owner == nullptr) return;
    b2Body* body = m_owner->getBody();
    if (m_pending) {
        m_pending = false;
        if (body != nullptr) body->SetEnabled(false);
        if (m_attacker != nullptr && m_attacker->isKindOf("KVPawn")) {
            auto* event = new KVActionEvent();
            event->type = KVActionEvent::NinjaLogAbsorbed;
            event->actor = m_owner;
            event->target = m_attacker;
            kvobjects::post(EVENT_ACTION, event);
            event->release();
        }
    }
    if (m_state != 1) return;
    if (m_timed) {
        m_timer -= dt;
        if (m_timer <= 0.0f) finishEscape();
        return;
    }
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    const float r = m_owner->getRadius();
    const b2Vec2 here(m_owner->positionX, m_owner->positionY);
    b2Fixture* near =
        physics != nullptr ? physics->queryFixtureNear(here, r / kvobjects::kPixelsPerMetre, true) : nullptr;
    if (near == nullptr || body == nullptr || m_attacker == nullptr) {
        finishEscape();
        return;
    }
    if (near->GetBody()->GetLinearVelocity().Length() > kRestSpeed) return; // wait for it to settle
    b2Vec2 target = here;
    const float speed = std::hypot(m_escapeX, m_escapeY);
    if (speed > 0.0f && std::isfinite(speed)) {
        const float back = (2.0f * r + 6.0f) / kvobjects::kPixelsPerMetre;
        target.Set(m_attacker->positionX - m_escapeX / speed * back,
                   m_attacker->positionY - m_escapeY / speed * back);
        if (physics->queryAnyFixtureNear(target, r / kvobjects::kPixelsPerMetre) != nullptr) {
            kvengine::CCPoint spot;
            KVPawnManager* manager = KVPawnManager::existingInstance();
            if (m_attacker->isKindOf("KVPawn") && manager != nullptr &&
                manager->findFreeSpotNear(m_attacker, r, &spot))
                target.Set(spot.x, spot.y);
            else
                target = here;
        }
    }
    body->SetTransform(target, body->GetAngle());
    finishEscape();
}

void KVPowerupNinjaLog::finishEscape() {
    m_state = 0;
    if (m_owner != nullptr && m_owner->getBody() != nullptr) m_owner->getBody()->SetEnabled(true);
    kvobjects::post(EVENT_MAKE_PAWN_VISIBLE, m_owner);
    kvobjects::post(EVENT_NOTIFY_IDLE, this);
    active = false;
    setAttacker(nullptr);
}

bool KVPowerupNinjaLog::canCoexistWith(KVPowerup* newModifier) {
    return KVPowerup::canCoexistWith(newModifier) && (newModifier == nullptr || newModifier->kind != 2);
}

CCString* KVPowerupNinjaLog::getName() {
    return autoreleased("ninja log");
}

CCString* KVPowerupNinjaLog::getIconName() {
    return autoreleased("powerup_ninjalog.png");
}

CCString* KVPowerupNinjaLog::getHudIconName() {
    return autoreleased("powerup_ninjalogHud.png");
}
