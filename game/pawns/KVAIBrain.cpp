#include "game/pawns/KVAIBrain.h"

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnAIController.h"
#include "game/pawns/KVPawnManager.h"

// Decision notes. The order is fixed: healing a team mate comes before any attack, an attack
// before a charge, a charge (straight, in sight) before a bank shot. The bank shot costs the most
// stamina, so it is only tried from 50 stamina up. Every choice takes the nearest candidate
// strictly closer than 12.5 m; ties keep the pawn manager's order.

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCPoint;

namespace {

constexpr float kInitialBestDistance = 9999.0f;

void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

float distanceBetween(KVPawn* a, KVPawn* b) {
    float ax = 0.0f, ay = 0.0f, bx = 0.0f, by = 0.0f;
    a->getPosition(&ax, &ay);
    b->getPosition(&bx, &by);
    return std::hypot(bx - ax, by - ay);
}

} // namespace

bool KVAIBrain::attachToController(KVPawnAIController* controller) {
    if (controller == nullptr) {
        kvengine::logDebugMessage("KVAIBrain::attachToController: no controller");
        return false;
    }
    if (!KVActor::init()) return false;
    m_controller = controller;
    m_state = kIdle;
    m_delayTimer = 0.0f;
    m_cameraPlayable = true;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVAIBrain::onStartTurn), EVENT_START_TURN,
                        controller->getPawn());
    centre->addObserver(this, notification_selector(KVAIBrain::onCamPlayable), EVENT_CAM_PLAYABLE);
    centre->addObserver(this, notification_selector(KVAIBrain::onCamUnplayable), EVENT_CAM_UNPLAYABLE);
    centre->addObserver(this, notification_selector(KVAIBrain::onGameShutdown), EVENT_GAME_SHUTDOWN);
    post(EVENT_NEW_ACTOR, this);
    return true;
}

void KVAIBrain::onStartTurn(CCNotification* notification) {
    (void)notification;
}

void KVAIBrain::onCamPlayable(CCNotification* notification) {
    (void)notification;
    m_cameraPlayable = true;
}

void KVAIBrain::onCamUnplayable(CCNotification* notification) {
    (void)notification;
    m_cameraPlayable = false;
}

void KVAIBrain::requestRemoval() {
    retain();
    post(EVENT_REMOVE_ACTOR, this);
    release();
}

void KVAIBrain::onGameShutdown(CCNotification* notification) {
    (void)notification;
    releaseController();
}

void KVAIBrain::releaseController() {
    m_controller.reset();
}

void KVAIBrain::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseController();
    KVActor::cleanupBeforeDelete();
}

void KVAIBrain::update(float dt) {
    KVPawn* pawn = brainPawn();
    switch (m_state) {
    case kIdle:
        if (pawn != nullptr && pawn->isSelected()) {
            m_state = kWaitingForCamera;
            onTurnNoticed();
        }
        break;
    case kWaitingForCamera:
        if (m_cameraPlayable) {
            m_state = kDelay;
            m_delayTimer = 0.0f;
        }
        break;
    case kDelay:
        // One frame: the camera settles on the pawn before anything moves.
        m_delayTimer += dt;
        if (m_delayTimer >= 0.0f) m_state = kDecide;
        break;
    case kDecide: {
        retain();
        act();
        m_state = kIdle;
        release();
        break;
    }
    default:
        m_state = kIdle;
        break;
    }
}

KVPawn* KVAIBrain::brainPawn() {
    return m_controller != nullptr ? m_controller->getPawn() : nullptr;
}

void KVAIBrain::onTurnNoticed() {
    post(EVENT_STOP_FUGU);
}

void KVAIBrain::act() {
    if (!decide(false)) post(EVENT_SKIP_TURN);
}

bool KVAIBrain::decide(bool testOnly) {
    KVPawnAIController* controller = m_controller;
    KVPawn* p = controller != nullptr ? controller->getPawn() : nullptr;
    if (p == nullptr) return false;
    // Held through the decision: the posts of an attack or a launch reach many observers.
    retain();
    controller->retain();
    p->retain();
    KVPawnManager* manager = KVPawnManager::getInstance();
    CCMutableArray<KVPawn*>* ownSide = CCMutableArray<KVPawn*>::createWithArray(
        p->isEnemy() ? manager->getEnemyPawns() : manager->getPlayerPawns());
    CCMutableArray<KVPawn*>* opponents = CCMutableArray<KVPawn*>::createWithArray(
        p->isEnemy() ? manager->getPlayerPawns() : manager->getEnemyPawns());
    bool result = false;
    bool decided = false;

    // 1. Heal the nearest badly hurt team mate in sight.
    if (p->getHeal() > 0) {
        KVPawn* best = nullptr;
        float bestDistance = kInitialBestDistance;
        for (KVPawn* mate : *ownSide) {
            if (mate == p || mate->getMaxHP() <= 0) continue;
            const float share =
                static_cast<float>(mate->getHitPoints()) / static_cast<float>(mate->getMaxHP());
            const float distance = distanceBetween(p, mate);
            if (share <= kHealThreshold && distance > 0.0f && distance < kSearchDistance &&
                distance < bestDistance && controller->canSeeTarget(mate)) {
                best = mate;
                bestDistance = distance;
            }
        }
        if (best != nullptr) {
            if (!testOnly) {
                float x = 0.0f, y = 0.0f;
                best->getPosition(&x, &y);
                controller->requestLaunchToward(x, y);
            }
            result = true;
            decided = true;
        }
    }

    if (!decided) {
        // 2. and 3. The special attacks.
        if (testOnly) {
            if (p->hasDistanceAttack())
                result = controller->hasDistanceTargets();
            else if (p->hasAOEAttack())
                result = controller->hasAreaTargets();
        } else if (p->getAttackCharges() > 0) {
            if (p->hasDistanceAttack()) {
                controller->onDamageModeRequestOn(nullptr);
                CCMutableArray<KVPawn*>* targets = controller->getTargets();
                if (targets != nullptr && targets->count() > 0) {
                    targets->sortWithFunction(
                        [](KVPawn* a, KVPawn* b, void*) { return KVPawn::compareByDefense(a, b); }, nullptr);
                    KVPawn* first = *targets->begin();
                    first->retain();
                    controller->startDistanceAttack(first);
                    first->release();
                    result = true;
                }
                controller->onDamageModeRequestOff(nullptr);
            } else if (p->hasAOEAttack()) {
                controller->onDamageModeRequestOn(nullptr);
                CCMutableArray<KVPawn*>* targets = controller->getTargets();
                if (targets != nullptr && targets->count() > 0) {
                    controller->startAreaAttack();
                    result = true;
                }
                controller->onDamageModeRequestOff(nullptr);
            }
        }
    }

    // 4. An attack ends the decision; without a charge only a pawn that spends all its stamina
    // goes on moving.
    if (!result && (testOnly || p->getAttackCharges() > 0 || p->usesAllStamina())) {
        // 5. Charge the nearest opponent in sight.
        KVPawn* best = nullptr;
        float bestDistance = kInitialBestDistance;
        for (KVPawn* opponent : *opponents) {
            const float distance = distanceBetween(p, opponent);
            if (distance > 0.0f && distance < kSearchDistance && distance < bestDistance &&
                opponent->isDamageable() && controller->canSeeTarget(opponent)) {
                best = opponent;
                bestDistance = distance;
            }
        }
        if (best != nullptr) {
            if (!testOnly) {
                float px = 0.0f, py = 0.0f, bx = 0.0f, by = 0.0f;
                p->getPosition(&px, &py);
                best->getPosition(&bx, &by);
                controller->requestLaunch(1.0f, bx - px, by - py);
            }
            result = true;
        } else if (p->getStamina() >= kBankShotStamina) {
            // 6. A two-leg path around what hides the nearest one.
            best = nullptr;
            bestDistance = kInitialBestDistance;
            CCPoint bestDirection;
            float bestPower = 0.0f;
            for (KVPawn* opponent : *opponents) {
                const float distance = distanceBetween(p, opponent);
                if (!(distance > 0.0f && distance < kSearchDistance && distance < bestDistance &&
                      opponent->isDamageable()))
                    continue;
                CCPoint direction;
                float power = 0.0f;
                if (!controller->findLaunchForTarget(opponent, &direction, &power)) continue;
                best = opponent;
                bestDistance = distance;
                bestDirection = direction;
                bestPower = power;
            }
            if (best != nullptr) {
                if (!testOnly) controller->requestLaunch(bestPower, bestDirection.x, bestDirection.y);
                result = true;
            }
        }
    }
    p->release();
    controller->release();
    release();
    return result;
}
