#include "game/pawns/KVPawnAIController.h"

#include <algorithm>
#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVAIBrain.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCPoint;

namespace {

constexpr float kDegrees = 0.0174532925f;
// The bank-shot angles, in the order they are tried.
constexpr float kBankAngles[] = {30.0f, -30.0f, 45.0f, -45.0f, 60.0f, -60.0f};

void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

} // namespace

bool KVPawnAIController::initWithPawn(KVPawn* pawn) {
    if (!KVPawnController::initWithPawn(pawn)) return false;
    releaseBrain();
    KVAIBrain* brain = createBrain();
    if (brain == nullptr || !brain->attachToController(this)) {
        if (brain != nullptr) brain->release();
        kvengine::logDebugMessage("KVPawnAIController::initWithPawn: no brain");
        return false;
    }
    m_brain.adopt(brain);
    m_launchState = kLaunchNone;
    m_launchPower = 0.0f;
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPawnAIController::performLaunch), EVENT_AI_ANIM_IMPULSE_END, pawn);
    return true;
}

KVAIBrain* KVPawnAIController::createBrain() {
    return new KVAIBrain();
}

bool KVPawnAIController::canAct() {
    return m_brain != nullptr && m_brain->decide(true);
}

void KVPawnAIController::releaseBrain() {
    m_brain.reset();
}

void KVPawnAIController::onRemoveActor(CCNotification* notification) {
    retain();
    if (m_brain != nullptr) {
        KVAIBrain* brain = m_brain.take();
        brain->requestRemoval();
        brain->release();
    }
    KVPawnController::onRemoveActor(notification);
    release();
}

void KVPawnAIController::onGameShutdown(CCNotification* notification) {
    retain();
    releaseBrain();
    KVPawnController::onGameShutdown(notification);
    release();
}

void KVPawnAIController::cleanupBeforeDelete() {
    releaseBrain();
    KVPawnController::cleanupBeforeDelete();
}

void KVPawnAIController::requestLaunch(float power, float dx, float dy) {
    if (m_pawn == nullptr) return;
    retain();
    if (m_pawn->isSelected()) m_pawn->setSelected(false);
    // One busy announcement per launch: a request that replaces one still turning or winding up
    // keeps the earlier announcement, since the launch posts a single idle at its end.
    if (m_launchState == kLaunchNone) post(EVENT_NOTIFY_IN_ACTION, this);
    m_launchPower = power;
    m_launchState = kLaunchTurning;
    if (m_pawn != nullptr) {
        const float offset = m_pawn->getAimAngleOffset();
        const float c = std::cos(offset), s = std::sin(offset);
        orientToward(dx * c - dy * s, dx * s + dy * c);
    }
    release();
}

void KVPawnAIController::requestLaunchToward(float x, float y) {
    if (m_pawn == nullptr) return;
    const CCPoint at = pawnPosition();
    requestLaunch(1.0f, x - at.x, y - at.y);
}

void KVPawnAIController::update(float dt) {
    retain();
    KVPawnController::update(dt);
    if (m_pawn != nullptr && m_launchState == kLaunchTurning && !m_orienting) {
        m_launchState = kLaunchWindUp;
        post(EVENT_AI_ANIM_IMPULSE_START, m_pawn);
    }
    release();
}

void KVPawnAIController::performLaunch(CCNotification* notification) {
    (void)notification;
    if (m_launchState == kLaunchNone) {
        kvengine::logDebugMessage("KVPawnAIController::performLaunch: no launch was asked for, ignored");
        return;
    }
    retain();
    launch(m_launchPower);
    consumeStamina(m_launchPower);
    m_launchState = kLaunchNone;
    post(EVENT_NOTIFY_IDLE, this);
    release();
}

bool KVPawnAIController::findLaunchForTarget(KVPawn* target, CCPoint* direction, float* power) {
    if (m_pawn == nullptr || target == nullptr || m_pawn->getBody() == nullptr) return false;
    const float halfWidth = (m_pawn->getRadius() - 1.0f) * KVPawn::kMetresPerPixel;
    const CCPoint p = pawnPosition();
    float tx = 0.0f, ty = 0.0f;
    target->getPosition(&tx, &ty);
    if (hasClearLineOfSight(halfWidth, target, p.x, p.y, tx, ty)) {
        if (direction != nullptr) *direction = CCPoint(tx - p.x, ty - p.y);
        if (power != nullptr) *power = 1.0f;
        return true;
    }
    const float mass = m_pawn->getBody()->GetMass();
    if (!(mass > 0.0f)) return false;
    const float reach = m_pawn->getMovePower() * kLaunchEfficiency / (mass * KVPawn::kDamping);
    const float dx = tx - p.x, dy = ty - p.y;
    const float length = std::hypot(dx, dy);
    if (!(length > 0.0f)) return false;
    const float half = length / 2.0f;
    for (float degrees : kBankAngles) {
        const float angle = degrees * kDegrees;
        const float c = std::cos(angle), s = std::sin(angle);
        const float ux = (dx * c - dy * s) / length;
        const float uy = (dx * s + dy * c) / length;
        const float d = std::min(reach, half / c);
        const float bx = p.x + ux * d, by = p.y + uy * d;
        if (!hasClearLineOfSight(halfWidth, nullptr, p.x, p.y, bx, by)) continue;
        if (!hasClearLineOfSight(halfWidth, target, bx, by, tx, ty)) continue;
        if (direction != nullptr) *direction = CCPoint(ux, uy);
        if (power != nullptr) *power = m_pawn->getLaunchPowerForDistance(d);
        return true;
    }
    return false;
}
