#include "game/pawns/KVPawnPlayerController.h"

#include <algorithm>
#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCEGLView.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVDash.h"
#include "game/pawns/KVKelvo.h"
#include "game/pawns/KVPawnManager.h"

using kvengine::CCDirector;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

namespace {

constexpr float kHalfPi = 1.57079633f;
void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

// The system pointer is kept hidden during and after a pull: the director draws its own.
void hideSystemPointer(CCDirector* director) {
    const bool wasShown = director->isSystemCursorShown();
    if (!wasShown) return;
    director->setCursor(CCDirector::kCursorStateHidden);
    if (kvengine::CCEGLView* view = director->getOpenGLView())
        if (kvengine::CCGLWindow* window = view->getWindow()) window->setSystemCursorVisible(false);
}

} // namespace

bool KVPawnPlayerController::initWithPawn(KVPawn* pawn) {
    if (pawn != nullptr && !pawn->isKindOf("KVKelvo")) {
        kvengine::logDebugMessage("KVPawnPlayerController::initWithPawn: %s is not a kelvo",
                                  pawn->className());
        return false;
    }
    if (!KVPawnController::initWithPawn(pawn)) return false;
    m_kelvo = static_cast<KVKelvo*>(pawn);
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPawnPlayerController::onCancel), EVENT_NOTIFY_IN_ACTION,
                        pawn);
    centre->addObserver(this, notification_selector(KVPawnPlayerController::onCancel), SCREEN_INGAME_PAUSE);
    return true;
}

void KVPawnPlayerController::onRemoveActor(CCNotification* notification) {
    m_kelvo = nullptr;
    KVPawnController::onRemoveActor(notification);
}

void KVPawnPlayerController::onGameShutdown(CCNotification* notification) {
    m_kelvo = nullptr;
    KVPawnController::onGameShutdown(notification);
}

void KVPawnPlayerController::cleanupBeforeDelete() {
    m_kelvo = nullptr;
    KVPawnController::cleanupBeforeDelete();
}

void KVPawnPlayerController::onCancel(CCNotification* notification) {
    (void)notification;
    if (m_kelvo != nullptr && m_kelvo->isPulling()) cancelPull();
}

// ---- The pull ----

bool KVPawnPlayerController::beginPull(float x, float y) {
    if (m_kelvo == nullptr || m_kelvo->isPulling() || !m_kelvo->containsPoint(x, y)) return false;
    if (m_kelvo->getStamina() <= 0) {
        post(EVENT_PULL_NO_STAMINA, m_kelvo);
        return false;
    }
    if (CCDirector* director = CCDirector::existingInstance()) {
        m_pullOriginX = static_cast<float>(director->getMouseX());
        m_pullOriginY = static_cast<float>(director->getMouseY());
        hideSystemPointer(director);
        director->setCursor(CCDirector::kCursorStateHidden);
    }
    m_kelvo->setPulling(true);
    m_kelvo->setStretchFraction(0.0f);
    m_orienting = false;
    KVKelvo* kelvo = m_kelvo;
    kelvo->retain();
    post(EVENT_PULL_START, kelvo);
    updatePull(x, y);
    kelvo->release();
    return true;
}

void KVPawnPlayerController::updatePull(float x, float y) {
    if (m_kelvo == nullptr || !m_kelvo->isPulling()) return;
    if (!std::isfinite(x) || !std::isfinite(y)) {
        kvengine::logDebugMessage("KVPawnPlayerController::updatePull: point (%f, %f) ignored",
                                  static_cast<double>(x), static_cast<double>(y));
        return;
    }
    b2Body* body = m_kelvo->getBody();
    float kx = m_kelvo->positionX, ky = m_kelvo->positionY;
    if (body != nullptr) {
        kx = body->GetPosition().x;
        ky = body->GetPosition().y;
    }
    float vx = x - kx, vy = y - ky;
    const float length = std::hypot(vx, vy);
    if (length > 0.0f && length < kEasingLength) {
        // Same direction, length L^2 / 5: short pulls are gentle, long ones reach full stretch.
        const float scale = length / kEasingLength;
        vx *= scale;
        vy *= scale;
    }
    if (body != nullptr) {
        // The forward axis then points away from the touch: where the kelvo will fly.
        body->SetTransform(body->GetPosition(), std::atan2(vy, vx) + kHalfPi);
        if (body->GetType() != b2_staticBody) body->SetAngularVelocity(0.0f);
    }
    const int stamina = m_kelvo->getStamina();
    const float fullPullStamina = kStaminaPerFullPull;
    const float maxStretch =
        static_cast<float>(stamina) > fullPullStamina
            ? KVKelvo::kFullStretch
            : kDeadStretch + kStretchPerPower * static_cast<float>(stamina) / fullPullStamina;
    const float stretch = std::min(std::hypot(vx, vy), maxStretch);
    m_kelvo->setStretchFraction(stretch / KVKelvo::kFullStretch);
    m_kelvo->setPullPower((stretch - kDeadStretch) / kStretchPerPower);
}

void KVPawnPlayerController::restorePointer() {
    CCDirector* director = CCDirector::existingInstance();
    if (director == nullptr) return;
    const int x = static_cast<int>(m_pullOriginX);
    const int y = static_cast<int>(m_pullOriginY);
    if (kvengine::CCEGLView* view = director->getOpenGLView())
        if (kvengine::CCGLWindow* window = view->getWindow()) window->warpPointer(x, y);
    director->setMousePosition(x, y);
    hideSystemPointer(director);
    director->setCursor(CCDirector::kCursorStatePoint);
}

void KVPawnPlayerController::releasePull() {
    if (m_kelvo == nullptr || !m_kelvo->isPulling()) return;
    KVKelvo* kelvo = m_kelvo;
    kelvo->retain();
    restorePointer();
    const float power = kelvo->getPullPower();
    if (power > 0.0f) {
        launch(power);
        consumeStamina(power);
        kelvo->setPullPower(0.0f);
        kelvo->setStretchFraction(0.0f);
    } else {
        cancelPull();
    }
    kelvo->setPulling(false);
    kelvo->release();
}

void KVPawnPlayerController::cancelPull() {
    if (m_kelvo == nullptr || !m_kelvo->isPulling()) return;
    KVKelvo* kelvo = m_kelvo;
    kelvo->retain();
    restorePointer();
    kelvo->setPullPower(0.0f);
    kelvo->setStretchFraction(0.0f);
    post(EVENT_MISSED_PULL, kelvo);
    post(EVENT_PULL_RELEASE, kelvo);
    auto* value = new kvengine::CCValue<float>(0.0f);
    post(EVENT_KELVO_LAUNCHED, value);
    value->release();
    if (kelvo->isAnchored()) post(EVENT_ANCHOR_START, kelvo);
    kelvo->setPulling(false);
    kelvo->release();
}

// ---- Taps ----

void KVPawnPlayerController::onTap(float x, float y) {
    if (m_kelvo == nullptr) return;
    retain();
    if (m_kelvo->isSelected())
        tapWhileSelected(x, y);
    else
        tapInFlight(x, y);
    release();
}

void KVPawnPlayerController::tapWhileSelected(float x, float y) {
    KVKelvo* kelvo = m_kelvo;
    if (m_damageMode == kDamageDistance) {
        for (KVPawn* target : *m_targets) {
            if (!target->containsPoint(x, y)) continue;
            target->retain();
            startDistanceAttack(target);
            onDamageModeRequestOff(nullptr);
            target->release();
            return;
        }
    } else if (m_damageMode == kDamageArea) {
        const float distance = std::hypot(x - kelvo->positionX, y - kelvo->positionY);
        bool onTarget = false;
        for (KVPawn* target : *m_targets)
            onTarget = onTarget || target->containsPoint(x, y);
        if (distance / KVPawn::kMetresPerPixel <= static_cast<float>(kelvo->getRangeAoE()) || onTarget) {
            startAreaAttack();
            onDamageModeRequestOff(nullptr);
            return;
        }
    }
    if (KVPawn* tapped = KVPawnManager::getInstance()->findPawnAtPoint(x, y)) {
        post(EVENT_SIMPLE_TAP_ON_PAWN, tapped);
        return;
    }
    if (m_damageMode == kDamageDistance)
        post(EVENT_MISSED_DISTANCE_ATTACK, kelvo);
    else if (m_damageMode == kDamageArea)
        post(EVENT_MISSED_AOE, kelvo);
}

void KVPawnPlayerController::tapInFlight(float x, float y) {
    KVKelvo* kelvo = m_kelvo;
    b2Body* body = kelvo->getBody();
    const bool moving = body != nullptr && body->GetLinearVelocity().LengthSquared() > 0.0f;
    if (kelvo->hasDashAbility() && kelvo->getDashesLeft() > 0 && moving) {
        kelvo->setDashesLeft(kelvo->getDashesLeft() - 1);
        const float a = body->GetAngle() + kHalfPi;
        b2Vec2 direction(std::cos(a), std::sin(a));
        direction.Normalize();
        body->ApplyLinearImpulse(kelvo->getMovePower() * kDashPowerFactor * direction, body->GetPosition(),
                                 true);
        auto* dash = new KVDash();
        if (dash->initWithPawn(kelvo))
            dash->autorelease();
        else
            dash->release();
        post(EVENT_DASH, kelvo);
        return;
    }
    if (KVPawn* tapped = KVPawnManager::getInstance()->findPawnAtPoint(x, y))
        post(EVENT_SIMPLE_TAP_ON_PAWN, tapped);
}
