#include "game/pawns/KVCoconutCrabBrain.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVCoconutCrabController.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCRandom;

namespace {
// The swipe zone around the boss centre, metres: the slab's width, from just below the centre to
// where the slab starts its fall.
constexpr float kZoneLeft = -6.25f;
constexpr float kZoneWidth = 12.5f;
constexpr float kZoneBottom = -0.5f;
constexpr float kZoneHeight = 8.1875f;
// From this many spiky balls on, the boss also quakes; from the upper bound on it throws again.
constexpr int kFewBalls = 4;
constexpr int kManyBalls = 11;
} // namespace

bool KVCoconutCrabBrain::attachToController(KVCoconutCrabController* controller) {
    if (controller == nullptr) {
        kvengine::logDebugMessage("KVCoconutCrabBrain::attachToController: no controller");
        return false;
    }
    if (!KVActor::init()) return false;
    m_bossController = controller;
    m_state = kIdle;
    m_delayTimer = 0.0f;
    m_cameraPlayable = true;
    m_spikyBallCount = 0;
    KVPawn* boss = controller->getPawn();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVAIBrain::onStartTurn), EVENT_START_TURN, boss);
    centre->addObserver(this, notification_selector(KVAIBrain::onCamPlayable), EVENT_CAM_PLAYABLE);
    centre->addObserver(this, notification_selector(KVAIBrain::onCamUnplayable), EVENT_CAM_UNPLAYABLE);
    centre->addObserver(this, notification_selector(KVCoconutCrabBrain::onNewActor), EVENT_NEW_ACTOR);
    centre->addObserver(this, notification_selector(KVCoconutCrabBrain::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVCoconutCrabBrain::onNewActor(CCNotification* notification) {
    kvengine::CCObject* actor = notification != nullptr ? notification->getObject() : nullptr;
    if (actor != nullptr && actor->isKindOf("KVSpikyBall")) ++m_spikyBallCount;
}

void KVCoconutCrabBrain::onGameShutdown(CCNotification* notification) {
    releaseBossController();
    KVAIBrain::onGameShutdown(notification);
}

void KVCoconutCrabBrain::releaseBossController() {
    m_bossController.reset();
}

void KVCoconutCrabBrain::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseBossController();
    KVAIBrain::cleanupBeforeDelete();
}

KVPawn* KVCoconutCrabBrain::brainPawn() {
    return m_bossController != nullptr ? m_bossController->getPawn() : nullptr;
}

void KVCoconutCrabBrain::decideAttack() {
    KVCoconutCrabController* controller = m_bossController;
    KVPawn* boss = controller != nullptr ? controller->getPawn() : nullptr;
    if (boss == nullptr) return;
    controller->retain();
    boss->retain();
    const float bx = boss->positionX;
    const float by = boss->positionY;
    // A copy: the requests' posts may change the pawn lists.
    auto* players =
        kvengine::CCMutableArray<KVPawn*>::createWithArray(KVPawnManager::getInstance()->getPlayerPawns());
    const int count = static_cast<int>(players->count());

    int inZone = 0;
    for (KVPawn* pawn : *players) {
        const float x = pawn->positionX;
        const float y = pawn->positionY;
        const float left = bx + kZoneLeft;
        const float bottom = by + kZoneBottom;
        if (left <= x && x <= left + kZoneWidth && bottom <= y && y <= bottom + kZoneHeight) ++inZone;
    }

    if (inZone > 0) {
        controller->requestSwipe();
    } else {
        bool throwBall = count > 0;
        if (throwBall && m_spikyBallCount >= kFewBalls && m_spikyBallCount <= kManyBalls)
            throwBall = CCRandom::random0To1() < 0.5f;
        if (throwBall) {
            KVPawn* target = players->objectAtIndex(static_cast<unsigned>(CCRandom::next() % count));
            controller->requestThrow(target, target->positionX - bx > 0.0f);
        } else {
            controller->requestQuake();
        }
    }
    boss->release();
    controller->release();
}
