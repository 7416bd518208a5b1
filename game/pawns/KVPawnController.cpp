#include "game/pawns/KVPawnController.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <box2d/box2d.h>

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVAOEAttack.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVTriggerEvent.h"

// Orienting notes. The pawn is turned by its angular velocity (4 pi rad/s), not by setting the
// angle, so that it turns visibly and collides while it turns; the physics step does the turning.
// Each step compares the turning side with the previous one: a change of sign means the last step
// went past the wanted direction, and the angle is then set exactly. The turn waits while the
// pawn moves faster than 1 m/s, so a flying pawn is not spun in the air.

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCPoint;

namespace {

constexpr float kAnchorPullRate = 12.0f;
constexpr float kAnchorSnapDistance = 0.01f;
constexpr float kAnchorMassFactor = 100.0f;
constexpr float kHalfPi = 1.57079633f;

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

void post(kvengine::CCString* name, CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

} // namespace

// ---- Binding ----

bool KVPawnController::initWithPawn(KVPawn* pawn) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVPawnController::initWithPawn: no pawn");
        return false;
    }
    m_pawn = pawn;
    m_damageMode = kDamageNone;
    m_targets.adopt(new kvengine::CCMutableArray<KVPawn*>());
    m_waitingForUpright = false;
    m_braking = false;
    m_anchorPullIn = false;
    m_orienting = false;
    m_distanceAimPending = false;
    m_orientationTarget = CCPoint(0.0f, 0.0f);
    m_lastTurnSign = 0.0f;

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->removeObserver(this);
    auto observe = [centre, this](kvengine::CCString* name, kvengine::SEL_Notification selector,
                                  CCObject* filter) { centre->addObserver(this, selector, name, filter); };
    observe(EVENT_REMOVE_ACTOR, notification_selector(KVPawnController::onRemoveActor), pawn);
    observe(EVENT_GAME_SHUTDOWN, notification_selector(KVPawnController::onGameShutdown), nullptr);
    observe(EVENT_DAMAGE_MODE_REQUEST_ON, notification_selector(KVPawnController::onDamageModeRequestOn),
            pawn);
    observe(EVENT_DAMAGE_MODE_REQUEST_OFF, notification_selector(KVPawnController::onDamageModeRequestOff),
            pawn);
    observe(EVENT_HAS_FOUND_HIDDEN_STAR, notification_selector(KVPawnController::onHiddenStarFound), nullptr);
    observe(EVENT_PAWN_SELECTED, notification_selector(KVPawnController::onPawnSelected), pawn);
    observe(EVENT_PAWN_UNSELECTED, notification_selector(KVPawnController::onPawnUnselected), pawn);
    observe(EVENT_HIDDEN_STAR_FOUND, notification_selector(KVPawnController::onHiddenStarFound), nullptr);
    observe(EVENT_TRIGGER_TRIGGERED, notification_selector(KVPawnController::onTriggerTriggered), nullptr);
    if (!pawn->isEnemy())
        observe(EVENT_VICTORY_DANCE, notification_selector(KVPawnController::onLooseDance), nullptr);
    observe(EVENT_LOOSE_DANCE, notification_selector(KVPawnController::onLooseDance), nullptr);
    observe(EVENT_DEAD_PAWN, notification_selector(KVPawnController::onDeadPawn), nullptr);
    observe(EVENT_PAWN_FALL, notification_selector(KVPawnController::onPawnFall), nullptr);
    observe(EVENT_ANCHOR_START, notification_selector(KVPawnController::onAnchorStart), pawn);
    observe(EVENT_SPAWN_PAWN, notification_selector(KVPawnController::onSpawnPawn), nullptr);
    post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVPawnController::canAct() {
    return true;
}

void KVPawnController::releasePawn() {
    m_pawn.reset();
}

void KVPawnController::onRemoveActor(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr) return;
    // Kept alive through the post: the pawn's release may have been its last owner but ours.
    retain();
    releasePawn();
    post(EVENT_REMOVE_ACTOR, this);
    release();
}

void KVPawnController::onGameShutdown(CCNotification* notification) {
    (void)notification;
    releasePawn();
}

void KVPawnController::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releasePawn();
    m_areaPreview.reset();
    m_targets.reset();
    KVObject::cleanupBeforeDelete();
}

// ---- Moves ----

void KVPawnController::launch(float power) {
    if (m_pawn == nullptr) return;
    b2Body* body = m_pawn->getBody();
    if (body != nullptr) {
        const float magnitude = m_pawn->getMovePower() * power;
        float fx = 0.0f, fy = 0.0f;
        m_pawn->getForwardVector(&fx, &fy);
        const float a = body->GetAngle();
        const b2Vec2 impulse((fx * std::cos(a) - fy * std::sin(a)) * magnitude,
                             (fx * std::sin(a) + fy * std::cos(a)) * magnitude);
        if (m_pawn->isAnchored()) {
            body->SetFixedRotation(false);
            // Twice, as the anchor made the body heavy through its mass data: the first reset
            // restores the mass of the fixtures, the second recomputes it with rotation allowed.
            body->ResetMassData();
            body->ResetMassData();
            m_pawn->setAnchored(false);
            m_anchorPullIn = false;
        }
        if (std::isfinite(impulse.x) && std::isfinite(impulse.y))
            body->ApplyLinearImpulse(impulse, body->GetPosition(), true);
        else
            kvengine::logDebugMessage("KVPawnController::launch: power %f gives no usable impulse",
                                      static_cast<double>(power));
    }
    // Held through the posts: the pawn's observers may end its last other owner.
    KVPawn* pawn = m_pawn;
    pawn->retain();
    post(EVENT_PULL_RELEASE, pawn);
    auto* value = new kvengine::CCValue<float>(power);
    post(EVENT_KELVO_LAUNCHED, value);
    value->release();
    pawn->release();
}

void KVPawnController::consumeStamina(float power) {
    if (m_pawn == nullptr || !(power > 0.0f)) return;
    // In double and bounded, so a huge power cannot overflow the truncation.
    const double cost = std::max(1.0, std::trunc(std::min(static_cast<double>(power), 1.0e6) *
                                                 static_cast<double>(kStaminaPerFullPull)));
    const double left = std::max(0.0, static_cast<double>(m_pawn->getStamina()) - cost);
    m_pawn->setStamina(static_cast<int>(left));
}

bool KVPawnController::isPawnUpright() {
    if (m_pawn == nullptr || m_pawn->getBody() == nullptr) return false;
    return std::cos(m_pawn->getBody()->GetAngle()) > kFacingCosine;
}

void KVPawnController::orientToward(float x, float y) {
    m_orientationTarget = CCPoint(x, y);
    m_orienting = true;
}

CCPoint KVPawnController::pawnPosition() const {
    if (m_pawn == nullptr) return CCPoint();
    if (b2Body* body = m_pawn->getBody()) return CCPoint(body->GetPosition().x, body->GetPosition().y);
    return CCPoint(m_pawn->positionX, m_pawn->positionY);
}

void KVPawnController::setAngularVelocity(float omega) {
    b2Body* body = m_pawn != nullptr ? m_pawn->getBody() : nullptr;
    if (body != nullptr && body->GetType() != b2_staticBody) body->SetAngularVelocity(omega);
}

// ---- Frame ----

void KVPawnController::update(float dt) {
    if (m_pawn == nullptr) return;
    // Held for the frame: a post below may end the pawn's other owners.
    retain();
    if (m_orienting) orientStep();

    b2Body* body = m_pawn != nullptr ? m_pawn->getBody() : nullptr;
    if (m_waitingForUpright && body != nullptr && isPawnUpright()) {
        setAngularVelocity(0.0f);
        body->SetTransform(body->GetPosition(), 0.0f);
        m_waitingForUpright = false;
        KVPawn* pawn = m_pawn;
        pawn->retain();
        post(EVENT_AOE_ANIM_START, pawn);
        // The attack goes on by itself from here (its attacker's view ends it).
        m_areaPreview.reset();
        pawn->setAttackCharges(pawn->getAttackCharges() - 1);
        pawn->release();
    }

    body = m_pawn != nullptr ? m_pawn->getBody() : nullptr;
    if (m_braking && body != nullptr) {
        const b2Vec2 velocity = (1.0f / kBrakeFactor) * body->GetLinearVelocity();
        body->SetLinearVelocity(velocity);
        if (velocity.Length() <= kSlowSpeed) m_braking = false;
    }

    if (m_anchorPullIn && body != nullptr) {
        const b2Vec2 p = body->GetPosition();
        const CCPoint anchor = m_pawn->getAnchorPoint();
        const b2Vec2 q(anchor.x, anchor.y);
        const float t = std::min(1.0f, std::max(0.0f, kAnchorPullRate * dt));
        b2Vec2 n = (1.0f - t) * p + t * q;
        if ((n - p).Length() <= kAnchorSnapDistance) {
            n = q;
            m_anchorPullIn = false;
        }
        body->SetTransform(n, body->GetAngle());
    }
    release();
}

void KVPawnController::orientStep() {
    b2Body* body = m_pawn != nullptr ? m_pawn->getBody() : nullptr;
    if (body == nullptr) return;
    if (body->GetLinearVelocity().Length() > kSlowSpeed) return;
    const CCPoint w = m_orientationTarget;
    const float length = std::hypot(w.x, w.y);
    if (!(length > 0.0f) || !std::isfinite(length)) {
        // No direction to face: the turn ends where the pawn is.
        kvengine::logDebugMessage("KVPawnController: no orientation target, the turn ends");
        m_orienting = false;
        m_lastTurnSign = 0.0f;
        m_distanceAimPending = false;
        return;
    }
    // u: w turned by -90 degrees; the body's x axis lies along u when its up axis lies along w.
    const float ux = w.y / length;
    const float uy = -w.x / length;
    const float a = body->GetAngle();
    const float ca = std::cos(a);
    const float sa = std::sin(a);
    const bool facing = ux * ca + uy * sa > kFacingCosine;
    if (!facing) {
        const float side = ca * uy - sa * ux;
        if (!(side * m_lastTurnSign < 0.0f)) {
            setAngularVelocity(side > 0.0f ? kTurnRate : -kTurnRate);
            m_lastTurnSign = side;
            return;
        }
    }
    m_lastTurnSign = 0.0f;
    setAngularVelocity(0.0f);
    body->SetTransform(body->GetPosition(), std::atan2(w.y, w.x) - kHalfPi);
    m_orienting = false;
    if (m_distanceAimPending) {
        m_distanceAimPending = false;
        // The shot's target, as the views read it: two "%f" texts, x then y.
        auto* payload = kvengine::CCArray::createWithCapacity(2);
        char text[64];
        std::snprintf(text, sizeof text, "%f", static_cast<double>(m_distanceTarget.x));
        auto* x = new kvengine::CCString(text);
        std::snprintf(text, sizeof text, "%f", static_cast<double>(m_distanceTarget.y));
        auto* y = new kvengine::CCString(text);
        payload->addObject(x);
        payload->addObject(y);
        x->release();
        y->release();
        post(EVENT_DISTANCE_ATTACK_ANIM_START, payload);
    }
}

// ---- Handlers that end or freeze a move ----

void KVPawnController::onTriggerTriggered(CCNotification* notification) {
    if (m_pawn == nullptr || m_pawn->isEnemy() || m_pawn->isAIDriven()) return;
    CCObject* object = objectOf(notification);
    if (object == nullptr || !object->isKindOf("KVTriggerEvent")) return;
    auto* event = static_cast<KVTriggerEvent*>(object);
    if (!event->flag || event->actor != m_pawn) return;
    orientToward(0.0f, 1.0f);
    m_braking = true;
}

void KVPawnController::onHiddenStarFound(CCNotification* notification) {
    if (m_pawn != nullptr && objectOf(notification) == m_pawn) {
        orientToward(0.0f, 1.0f);
        m_braking = true;
    }
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_HIDDEN_STAR_FOUND);
}

void KVPawnController::onDeadPawn(CCNotification* notification) {
    if (m_pawn != nullptr && objectOf(notification) == m_pawn) orientToward(0.0f, 1.0f);
}

void KVPawnController::onLooseDance(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr) return;
    if (b2Body* body = m_pawn->getBody()) body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    orientToward(0.0f, 1.0f);
}

void KVPawnController::onPawnFall(CCNotification* notification) {
    if (m_pawn == nullptr || objectOf(notification) != m_pawn) return;
    b2Body* body = m_pawn->getBody();
    if (body != nullptr && body->GetType() != b2_staticBody) body->SetAwake(true);
    setAngularVelocity(kTurnRate);
    m_braking = true;
}

void KVPawnController::onAnchorStart(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr) return;
    m_pawn->setAnchored(true);
    if (b2Body* body = m_pawn->getBody()) {
        body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        body->SetAngularVelocity(0.0f);
        body->SetFixedRotation(true);
        body->ResetMassData();
        b2MassData mass;
        body->GetMassData(&mass);
        mass.mass *= kAnchorMassFactor;
        body->SetMassData(&mass);
    }
    orientToward(0.0f, 1.0f);
    m_anchorPullIn = true;
}
