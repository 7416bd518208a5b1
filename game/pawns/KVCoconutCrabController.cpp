#include "game/pawns/KVCoconutCrabController.h"

#include <box2d/box2d.h>

#include <cmath>
#include <cstdio>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVSpikyBall.h"
#include "game/pawns/KVCoconutCrab.h"
#include "game/pawns/KVCoconutCrabBrain.h"
#include "game/pawns/KVCoconutCrabEye.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCRandom;

namespace {

constexpr float kSwipeOrQuakeStamina = 0.5f;
constexpr float kThrowStamina = 1.0f;
constexpr float kTwoPi = 6.2831855f;
constexpr int kBallPixels = 32;
constexpr float kBallDensity = 3.0f;

void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

} // namespace

bool KVCoconutCrabController::initWithPawn(KVPawn* pawn) {
    if (!KVPawnController::initWithPawn(pawn)) return false;
    releaseBrain();
    auto* brain = new KVCoconutCrabBrain();
    if (!brain->attachToController(this)) {
        brain->release();
        return false;
    }
    m_brain.adopt(brain);
    m_state = kIdle;
    m_quakeCount = 0;
    m_timer = 0.0f;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onQuakeAnimEnd),
                        EVENT_COCONUT_CRAB_QUAKE_ANIM_END);
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onSwipeAnimEnd),
                        EVENT_COCONUT_CRAB_SWIPE_ANIM_END);
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onThrowLeftAttackTrigger),
                        EVENT_COCONUT_CRAB_THROW_LEFT_ATTACK_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onThrowAnimEnd),
                        EVENT_COCONUT_CRAB_THROW_LEFT_ANIM_END);
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onThrowRightAttackTrigger),
                        EVENT_COCONUT_CRAB_THROW_RIGHT_ATTACK_TRIGGER);
    centre->addObserver(this, notification_selector(KVCoconutCrabController::onThrowAnimEnd),
                        EVENT_COCONUT_CRAB_THROW_RIGHT_ANIM_END);
    return true;
}

void KVCoconutCrabController::releaseBrain() {
    m_brain.reset();
}

void KVCoconutCrabController::setThrowTarget(KVPawn* target) {
    m_throwTarget = target;
}

void KVCoconutCrabController::onRemoveActor(CCNotification* notification) {
    retain();
    if (m_brain != nullptr) {
        KVCoconutCrabBrain* brain = m_brain.take();
        brain->requestRemoval();
        brain->release();
    }
    setThrowTarget(nullptr);
    KVPawnController::onRemoveActor(notification);
    release();
}

void KVCoconutCrabController::onGameShutdown(CCNotification* notification) {
    retain();
    releaseBrain();
    setThrowTarget(nullptr);
    KVPawnController::onGameShutdown(notification);
    release();
}

void KVCoconutCrabController::cleanupBeforeDelete() {
    releaseBrain();
    setThrowTarget(nullptr);
    KVPawnController::cleanupBeforeDelete();
}

KVCoconutCrab* KVCoconutCrabController::boss() const {
    return m_pawn != nullptr && m_pawn->isKindOf("KVCoconutCrab") ? static_cast<KVCoconutCrab*>(m_pawn.get())
                                                                  : nullptr;
}

void KVCoconutCrabController::deselect() {
    if (m_pawn == nullptr || !m_pawn->isSelected()) return;
    m_pawn->setSelectedFlag(false);
    post(EVENT_PAWN_UNSELECTED, m_pawn);
}

void KVCoconutCrabController::requestSwipe() {
    retain();
    post(EVENT_COCONUT_CRAB_SWIPE_TRIGGER);
    deselect();
    post(EVENT_NOTIFY_IN_ACTION, this);
    m_timer = kWindUpSeconds;
    m_state = kSwipeWindUp;
    release();
}

void KVCoconutCrabController::requestThrow(KVPawn* target, bool leftArm) {
    if (target == nullptr) {
        kvengine::logDebugMessage("KVCoconutCrabController::requestThrow: no target");
        return;
    }
    retain();
    // Held before the post: the view's blow may come at once when its animation is short.
    setThrowTarget(target);
    post(leftArm ? EVENT_COCONUT_CRAB_THROW_LEFT_TRIGGER : EVENT_COCONUT_CRAB_THROW_RIGHT_TRIGGER);
    deselect();
    post(EVENT_NOTIFY_IN_ACTION, this);
    release();
}

void KVCoconutCrabController::requestQuake() {
    retain();
    deselect();
    post(EVENT_NOTIFY_IN_ACTION, this);
    m_quakeCount = 1;
    post(EVENT_COCONUT_CRAB_QUAKE_TRIGGER);
    m_timer = kWindUpSeconds;
    m_state = kQuakeWindUp;
    consumeStamina(kSwipeOrQuakeStamina);
    release();
}

void KVCoconutCrabController::update(float dt) {
    KVPawnController::update(dt);
    switch (m_state) {
    case kSwipeWindUp:
        m_timer -= dt;
        if (m_timer <= 0.0f) {
            dropAttackBody();
            m_state = kSlabFalling;
            consumeStamina(kSwipeOrQuakeStamina);
        }
        break;
    case kSlabFalling:
    case kQuakeStruck:
        settleAttackBody();
        break;
    case kQuakeWindUp:
        m_timer -= dt;
        if (m_timer <= 0.0f) applyQuakeImpulses();
        break;
    default:
        break;
    }
}

void KVCoconutCrabController::dropAttackBody() {
    KVCoconutCrab* crab = boss();
    b2Body* slab = crab != nullptr ? crab->getAttackBody() : nullptr;
    if (slab == nullptr) return;
    slab->SetTransform(b2Vec2(crab->positionX, crab->positionY + kSlabStartHeight), 0.0f);
    slab->SetLinearVelocity(b2Vec2(0.0f, -kSlabStartSpeed));
    slab->SetEnabled(true);
    crab->setAttackBodyInUse(true);
}

void KVCoconutCrabController::settleAttackBody() {
    KVCoconutCrab* crab = boss();
    b2Body* slab = crab != nullptr ? crab->getAttackBody() : nullptr;
    if (slab == nullptr) return;
    const b2Vec2 position = slab->GetPosition();
    const float minY = crab->positionY;
    if (minY >= position.y) {
        slab->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        slab->SetEnabled(false);
        slab->SetTransform(b2Vec2(position.x, minY), 0.0f);
    }
}

void KVCoconutCrabController::onThrowLeftAttackTrigger(CCNotification* notification) {
    (void)notification;
    throwSpikyBall(true);
}

void KVCoconutCrabController::onThrowRightAttackTrigger(CCNotification* notification) {
    (void)notification;
    throwSpikyBall(false);
}

void KVCoconutCrabController::throwSpikyBall(bool leftArm) {
    (void)leftArm; // the arm changes only the animation: both throw from the same point
    if (m_pawn == nullptr) return;
    KVPawn* target = m_throwTarget;
    if (target == nullptr) return;
    retain();
    target->retain();
    setThrowTarget(nullptr);
    if (target->isRemoved()) {
        kvengine::logDebugMessage("KVCoconutCrabController: the throw's target left the game, no throw");
    } else {
        const float sx = m_pawn->positionX - kThrowOffsetX;
        const float sy = m_pawn->positionY;
        float ux = target->positionX - sx;
        float uy = target->positionY - sy;
        const float length = std::sqrt(ux * ux + uy * uy);
        if (length > 0.0f) {
            ux /= length;
            uy /= length;
        } else {
            ux = 0.0f;
            uy = -1.0f;
        }
        kvdata::Dict* place = kvdata::newDict();
        kvdata::setInt(place, "x", static_cast<int>(sx * 32.0f));
        kvdata::setInt(place, "y", static_cast<int>(sy * 32.0f));
        kvdata::setInt(place, "width", kBallPixels);
        kvdata::setInt(place, "height", kBallPixels);
        kvdata::setFloat(place, "density", kBallDensity);
        auto* ball = new KVSpikyBall();
        if (ball->initWithDictionary(place) && ball->getBody() != nullptr) {
            b2Body* body = ball->getBody();
            body->ApplyLinearImpulse(b2Vec2(kThrowImpulse * ux, kThrowImpulse * uy), body->GetPosition(),
                                     true);
        }
        // The mission's actor list keeps it from its announcement on.
        ball->autorelease();
        consumeStamina(kThrowStamina);
    }
    target->release();
    release();
}

void KVCoconutCrabController::applyQuakeImpulses() {
    KVCoconutCrab* crab = boss();
    auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    kvengine::CCMutableArray<KVObject*>* actors = mission != nullptr ? mission->getMissionActors() : nullptr;
    if (actors != nullptr) {
        b2Body* skipped[3] = {crab != nullptr ? crab->getBody() : nullptr, nullptr, nullptr};
        if (crab != nullptr && crab->getLeftEye() != nullptr) skipped[1] = crab->getLeftEye()->getBody();
        if (crab != nullptr && crab->getRightEye() != nullptr) skipped[2] = crab->getRightEye()->getBody();
        kvengine::CCMutableArray<KVObject*>* list =
            kvengine::CCMutableArray<KVObject*>::createWithArray(actors);
        for (KVObject* object : *list) {
            if (object == nullptr || !object->isKindOf("KVActor")) continue;
            b2Body* body = static_cast<KVActor*>(object)->getBody();
            if (body == nullptr || body->GetType() == b2_staticBody) continue;
            if (body == skipped[0] || body == skipped[1] || body == skipped[2]) continue;
            const float magnitude = CCRandom::randomMinus1To1() * kQuakeImpulseSpread + kQuakeImpulse;
            const float direction = CCRandom::random0To1() * kTwoPi;
            body->ApplyLinearImpulse(b2Vec2(magnitude * std::cos(direction), magnitude * std::sin(direction)),
                                     body->GetPosition(), true);
        }
    }
    if (m_quakeCount == 1) dropAttackBody();
    m_state = kQuakeStruck;
    post(EVENT_COCONUT_CRAB_QUAKE_ACTION_START, this);
}

void KVCoconutCrabController::onQuakeAnimEnd(CCNotification* notification) {
    (void)notification;
    if (m_state != kQuakeStruck && m_state != kQuakeWindUp) return;
    retain();
    if (m_quakeCount < kQuakesPerAttack) {
        ++m_quakeCount;
        post(EVENT_COCONUT_CRAB_QUAKE_TRIGGER);
        m_timer = kWindUpSeconds;
        m_state = kQuakeWindUp;
    } else {
        post(EVENT_NOTIFY_IDLE, this);
        m_state = kIdle;
    }
    release();
}

void KVCoconutCrabController::onSwipeAnimEnd(CCNotification* notification) {
    (void)notification;
    KVCoconutCrab* crab = boss();
    if (crab == nullptr) return;
    retain();
    if (b2Body* slab = crab->getAttackBody()) {
        slab->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        slab->SetEnabled(false);
    }
    post(EVENT_NOTIFY_IDLE, this);
    m_state = kIdle;
    crab->setAttackBodyInUse(false);
    release();
}

void KVCoconutCrabController::onThrowAnimEnd(CCNotification* notification) {
    (void)notification;
    retain();
    post(EVENT_NOTIFY_IDLE, this);
    m_state = kIdle;
    release();
}
