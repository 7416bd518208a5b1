// Damage, healing, knock-back and melee of KVPawn.
//
// Damage notes. Every hit goes through takeDamage: the amount times the multiplier, truncated
// towards zero, minus the target's Defense, and never less than 1, so even a weak hit on a strong
// defence counts (combos and scores count hits). Hazards that must take a fixed net amount pass the
// victim's Defense plus that amount. The event's value is the damage before clipping to the hit
// points left, so damage figures show the strength of the hit, not what was left to take.
//
// Melee notes. The pawn of the acting side records, at pre-solve, the other pawn and its own speed
// before the solver changes it; post-solve then scales the melee damage by that speed over the
// pawn's full-launch speed: above 0.4 of it a hit counts in full, at 0.1 or less it is a graze
// (0.01), in between it scales linearly. Contacts at 0.1 m/s or less (resting pawns pressed together)
// do nothing. Melee never adds a push: the collision itself already throws the target.

#include <algorithm>
#include <climits>
#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/views/KVHit.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCObject;

namespace {

// Knock-back needs a direction: attacker and target closer than this on both axes have none.
constexpr float kSamePointTolerance = 0.0001f;
constexpr float kFullHitRatio = 0.4f;
constexpr float kGrazeRatio = 0.1f;
constexpr float kGrazeMultiplier = 0.01f;

// trunc towards zero, kept inside int's range (a non-finite product counts as 0).
int truncatedProduct(int amount, float multiplier) {
    const double product = static_cast<double>(amount) * static_cast<double>(multiplier);
    if (!std::isfinite(product)) return 0;
    return static_cast<int>(
        std::clamp(std::trunc(product), static_cast<double>(INT_MIN / 2), static_cast<double>(INT_MAX / 2)));
}

class Hold {
public:
    explicit Hold(CCObject* object) : m_object(object) { m_object->retain(); }
    ~Hold() { m_object->release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    CCObject* m_object;
};

} // namespace

void KVPawn::takeDamage(int amount, KVPawn* attacker, int actionType, float multiplier, float pushForce) {
    if (!m_takesDamage || amount <= 0) return;
    if (!isDamageable() || m_dead) return;
    // Observers of the posts below may remove and release this pawn.
    Hold hold(this);

    int damage = truncatedProduct(amount, multiplier) - getDefense();
    if (damage <= 1) damage = 1;
    const int taken = std::min(damage, m_hitPoints);
    if (taken > 0) {
        m_hitPoints -= taken;
        const int maxHP = getMaxHP();
        const float ratio = maxHP > 0 ? static_cast<float>(damage) / static_cast<float>(maxHP) : 0.0f;
        postEvent(EVENT_ACTION, KVActionEvent::create(actionType, damage, ratio, attacker, this));
        if (m_aiDriven) KVHit::create(this, KVHit::Damage);
        postEvent(EVENT_PAWN_TAKE_DAMAGE, this);
        if (pushForce > 0.0f && attacker != nullptr && m_body != nullptr) {
            float attackerX = 0.0f, attackerY = 0.0f;
            attacker->getPosition(&attackerX, &attackerY);
            b2Vec2 away(positionX - attackerX, positionY - attackerY);
            if (std::fabs(away.x) > kSamePointTolerance || std::fabs(away.y) > kSamePointTolerance) {
                away.Normalize();
                // At the body's origin, the circle's centre: no spin.
                m_body->ApplyLinearImpulse(pushForce * away, m_body->GetPosition(), true);
            }
        }
    }
    if (m_hitPoints <= 0 && !m_deathAnnounced) {
        postEvent(EVENT_ACTION, KVActionEvent::create(KVActionEvent::KnockOut, 0, 0.0f, attacker, this));
        m_dead = true;
        postEvent(EVENT_DEAD_PAWN, this);
        m_deathAnnounced = true;
    }
}

void KVPawn::dealMeleeDamage(KVPawn* target, int amount, KVPawn* attacker, float multiplier) {
    if (target != nullptr) target->takeDamage(amount, attacker, KVActionEvent::MeleeHit, multiplier, 0.0f);
}

void KVPawn::takeHitDamage(int actionType, KVPawn* attacker, int amount, KVPawn* target) {
    if (target != nullptr) target->takeDamage(amount, attacker, actionType, 1.0f, 0.0f);
}

void KVPawn::heal(int amount, KVPawn* healer) {
    // A knocked-out pawn waiting for its removal stays knocked out.
    if (!m_takesDamage || m_dead) return;
    const int missing = getMaxHP() - m_hitPoints;
    const int restored = std::max(0, std::min(amount, missing));
    m_hitPoints += restored;
    if (restored < 1) return;
    Hold hold(this);
    KVActionEvent* event = KVActionEvent::create(KVActionEvent::Heal, restored, 0.0f, healer, this);
    KVHit::create(this, KVHit::Healing);
    postEvent(EVENT_ACTION, event);
}

void KVPawn::healFully() {
    if (m_dead) return;
    const int missing = getMaxHP() - m_hitPoints;
    if (missing < 1) return;
    m_hitPoints += missing;
    Hold hold(this);
    KVActionEvent* event = KVActionEvent::create(KVActionEvent::Heal, missing, 0.0f, nullptr, this);
    KVHit::create(this, KVHit::Healing);
    postEvent(EVENT_ACTION, event);
}

bool KVPawn::postSolve(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (other == nullptr || !other->isKindOf("KVPawn")) return false;
    // Only the pawn of the acting side that recorded this contact judges it.
    if (!m_ownSideActing || other != m_contactPawn) return false;
    if (!(m_contactSpeed > kMeleeMinSpeed)) {
        m_contactSpeed = 0.0f;
        return false;
    }
    auto* otherPawn = static_cast<KVPawn*>(other);
    Hold hold(this);
    Hold holdOther(otherPawn);
    if (m_enemy == otherPawn->m_enemy) {
        postEvent(EVENT_PAWN_HIT_PAWN, otherPawn);
        // The stored Heal on one side, the getter (with bonuses) on the other, as the game has
        // always done.
        otherPawn->heal(m_heal, this);
        heal(otherPawn->getHeal(), otherPawn);
        m_contactSpeed = 0.0f;
        return true;
    }
    if (!m_hasSpecialMeleeAttack) {
        m_contactSpeed = 0.0f;
        return true;
    }
    float ratio = m_maxLaunchSpeed > 0.0f ? m_contactSpeed / m_maxLaunchSpeed : 1.0f;
    if (ratio > 1.0f) ratio = 1.0f;
    if (ratio > kFullHitRatio)
        ratio = 1.0f;
    else if (ratio <= kGrazeRatio)
        ratio = kGrazeMultiplier;
    dealMeleeDamage(otherPawn, getDmgMelee(), this, ratio);
    m_contactSpeed = 0.0f;
    return true;
}
