#include "game/objects/KVFishBomb.h"

#include <box2d/box2d.h>

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVCameraService.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvobjects::kPixelsPerMetre;

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kDefaultBombRadiusPixels = 16.0f;
constexpr float kDefaultSecondsPerRotation = 3.0f;
} // namespace

void KVFishBomb::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseHitter();
    releaseTouchedPawn();
    KVActor::cleanupBeforeDelete();
}

bool KVFishBomb::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    b2World* world = kvobjects::worldForObject(properties, className());
    if (world == nullptr) return false;
    const int x = kvobjects::intProperty(properties, "x");
    const int y = kvobjects::intProperty(properties, "y");
    const int width = kvobjects::intProperty(properties, "width");
    const int height = kvobjects::intProperty(properties, "height");
    m_orbitRadius = static_cast<float>(width) / 2.0f / kPixelsPerMetre;
    float bombPixels = kvobjects::floatProperty(properties, "BombRadius");
    if (bombPixels == 0.0f) bombPixels = kDefaultBombRadiusPixels;
    m_bombRadius = bombPixels / kPixelsPerMetre;
    m_centreX = static_cast<float>((x + width / 2.0) / kPixelsPerMetre);
    m_centreY = static_cast<float>((y + height / 2.0) / kPixelsPerMetre);
    m_orbitAngle = 0.0f;
    float secondsPerRotation = kvobjects::floatProperty(properties, "SecondsPerRotation");
    if (secondsPerRotation == 0.0f) secondsPerRotation = kDefaultSecondsPerRotation;
    m_angularSpeed = kTwoPi / secondsPerRotation;
    positionX = m_centreX + m_orbitRadius * std::cos(m_orbitAngle);
    positionY = m_centreY + m_orbitRadius * std::sin(m_orbitAngle);
    angle = m_orbitAngle;

    kvobjects::CircleFixture fish;
    fish.radius = m_bombRadius;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {fish}, className());
    if (m_body == nullptr) return false;

    m_hit = false;
    m_touched = false;
    m_stopped = false;
    m_angryTimer = 0.0f;
    releaseTouchedPawn();
    kvobjects::post(EVENT_NEW_ACTOR, this);

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVFishBomb::onRemoveActor), EVENT_REMOVE_ACTOR, nullptr);
    centre->addObserver(this, notification_selector(KVFishBomb::onStopFugu), EVENT_STOP_FUGU, nullptr);
    centre->addObserver(this, notification_selector(KVFishBomb::onResumeFugu), EVENT_NOTIFY_IDLE, nullptr);
    centre->addObserver(this, notification_selector(KVFishBomb::onResumeFugu), EVENT_SKIP_TURN, nullptr);
    return true;
}

bool KVFishBomb::beginContact(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr || !contact->other->isKindOf("KVPawn")) return false;
    auto* pawn = static_cast<KVPawn*>(contact->other);
    if (!pawn->isDamageable()) return false;
    pawn->retain();
    releaseTouchedPawn();
    m_touchedPawn = pawn;
    m_touched = true;
    return true;
}

bool KVFishBomb::preSolve(KVContactInfo* contact) {
    (void)contact;
    return false;
}

bool KVFishBomb::postSolve(KVContactInfo* contact) {
    if (contact == nullptr || contact->other == nullptr) return false;
    KVActor* other = contact->other;
    if (other->getBody() == nullptr) return true;
    other->retain();
    releaseHitter();
    m_hitter = other;
    m_knockBackX = contact->normalX * kKnockBackSpeed;
    m_knockBackY = contact->normalY * kKnockBackSpeed;
    m_hit = true;
    m_angryTimer = kAngrySeconds;
    return true;
}

void KVFishBomb::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* gone = notification != nullptr ? notification->getObject() : nullptr;
    if (gone == nullptr) return;
    if (gone == this) KVActor::onRemoveActor(notification);
    if (gone == m_hitter) releaseHitter();
    if (gone == m_touchedPawn) releaseTouchedPawn();
}

void KVFishBomb::onStopFugu(CCNotification* notification) {
    (void)notification;
    m_stopped = true;
}

void KVFishBomb::onResumeFugu(CCNotification* notification) {
    (void)notification;
    m_stopped = false;
}

void KVFishBomb::update(float dt) {
    if (m_stopped) return;
    if (m_angryTimer > 0.0f) m_angryTimer -= dt;

    if (m_hitter != nullptr) {
        const bool deadPawn = m_hitter->isKindOf("KVPawn") && static_cast<KVPawn*>(m_hitter)->isDead();
        b2Body* body = m_hitter->getBody();
        if (!deadPawn && body != nullptr) body->SetLinearVelocity(b2Vec2(m_knockBackX, m_knockBackY));
        releaseHitter();
    }

    if (m_touched && m_touchedPawn != nullptr) {
        auto* pawn = static_cast<KVPawn*>(m_touchedPawn);
        // The damage step takes the defence off again, so the loss is 15 % of the maximum.
        const int amount = static_cast<int>(static_cast<float>(pawn->getDefense()) +
                                            kShareOfMaxHP * static_cast<float>(pawn->getMaxHP()));
        pawn->takeDamage(amount, nullptr, kActionType, 1.0f, 0.0f);
        m_touched = false;
        releaseTouchedPawn();
        return;
    }

    if (m_angryTimer > 0.0f) return;
    if (!isOrbitOnScreen()) return;
    m_orbitAngle += m_angularSpeed * dt;
    if (m_orbitAngle > kTwoPi) m_orbitAngle -= kTwoPi;
    placeOnOrbit();
}

bool KVFishBomb::isOrbitOnScreen() const {
    KVCameraService* camera = KVCameraService::existing();
    if (camera == nullptr) return true;
    const float half = (m_bombRadius + m_orbitRadius) * kPixelsPerMetre;
    const float cx = m_centreX * kPixelsPerMetre;
    const float cy = m_centreY * kPixelsPerMetre;
    return camera->isLevelPointOnScreen(cx - half, cy - half) ||
           camera->isLevelPointOnScreen(cx + half, cy - half) ||
           camera->isLevelPointOnScreen(cx - half, cy + half) ||
           camera->isLevelPointOnScreen(cx + half, cy + half);
}

void KVFishBomb::placeOnOrbit() {
    positionX = m_centreX + m_orbitRadius * std::cos(m_orbitAngle);
    positionY = m_centreY + m_orbitRadius * std::sin(m_orbitAngle);
    angle = m_orbitAngle;
    if (m_body != nullptr) m_body->SetTransform(b2Vec2(positionX, positionY), m_orbitAngle);
}

void KVFishBomb::releaseHitter() {
    if (m_hitter == nullptr) return;
    KVActor* hitter = m_hitter;
    m_hitter = nullptr;
    hitter->release();
}

void KVFishBomb::releaseTouchedPawn() {
    if (m_touchedPawn == nullptr) return;
    KVActor* pawn = m_touchedPawn;
    m_touchedPawn = nullptr;
    pawn->release();
}
