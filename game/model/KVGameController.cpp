#include "game/model/KVGameController.h"

#include "engine/base/CCGeometry.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCValue.h"
#include "engine/input/CCGestureRecognizer.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCPinchGestureRecognizer.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "game/app/KVGlobalNames.h"
#include "game/camera/KVCamera.h"
#include "game/data/KVDialogueService.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVKelvo.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnPlayerController.h"
#include "game/pawns/KVTurnManager.h"
#include "game/score/KVScoreManager.h"
#include "game/score/KVXpManager.h"

using namespace kvengine;

namespace {

KVCamera* camera() {
    KVCameraManager* manager = KVCameraManager::existingInstance();
    return manager != nullptr ? manager->getCamera() : nullptr;
}

bool isActiveGesture(CCGestureRecognizer* recognizer) {
    if (recognizer == nullptr) return false;
    const int state = recognizer->getState();
    return state == kCCGestureRecognizerStateBegan || state == kCCGestureRecognizerStateChanged;
}

} // namespace

KVGameController::KVGameController(KVGameModel* model) {
    m_model = model;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVGameController::onStartTurn), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVGameController::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->addObserver(this, notification_selector(KVGameController::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVGameController::onPause), SCREEN_INGAME_PAUSE);
    centre->addObserver(this, notification_selector(KVGameController::onPearlPicked), EVENT_PEARL_PICKED);
}

void KVGameController::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_model.reset();
    m_currentPawn.reset();
    m_playerController.reset();
    KVObject::cleanupBeforeDelete();
}

// ---- handlers -----------------------------------------------------------------------------

void KVGameController::onStartTurn(CCNotification* notification) {
    auto* pawn = dynamic_cast<KVPawn*>(notification != nullptr ? notification->getObject() : nullptr);
    m_currentPawn = pawn;
    if (pawn != nullptr && !pawn->isAIDriven()) {
        if (auto* controller = dynamic_cast<KVPawnPlayerController*>(pawn->getController()))
            m_playerController = controller;
    }
}

void KVGameController::onRemoveActor(CCNotification* notification) {
    if (notification != nullptr && notification->getObject() == m_currentPawn && m_currentPawn != nullptr)
        m_currentPawn.reset();
}

void KVGameController::onGameShutdown(CCNotification*) {
    m_model.reset();
    m_currentPawn.reset();
    m_playerController.reset();
}

void KVGameController::onPause(CCNotification*) {
    paused = true;
}

void KVGameController::onPearlPicked(CCNotification* notification) {
    // The pick point and label counter belong to the pearl rewards, which keep the pickable
    // objects; a mission without them has nothing to update.
    KVXpManager* xp = m_model != nullptr ? m_model->getXpManager() : nullptr;
    CCObject* info = notification != nullptr ? notification->getUserInfo() : nullptr;
    auto* point = dynamic_cast<kvengine::CCValue<kvengine::CCPoint>*>(info);
    if (xp == nullptr || point == nullptr) return;
    xp->pickPoint = point->value;
    xp->labelCounter = 0;
}

// ---- state tests --------------------------------------------------------------------------

bool KVGameController::isHumanTurn() const {
    return m_currentPawn != nullptr && !m_currentPawn->isAIDriven();
}

bool KVGameController::isCurrentPawnSelected() const {
    KVTurnManager* turns = m_model != nullptr ? m_model->getTurnManager() : nullptr;
    KVPawn* head = turns != nullptr ? turns->getCurrentPawn() : nullptr;
    return head != nullptr && head->isSelected();
}

bool KVGameController::acceptsTouches() const {
    return isHumanTurn() && !paused && isCurrentPawnSelected() && m_playerController != nullptr;
}

bool KVGameController::isDecided() const {
    KVScoreManager* score = m_model != nullptr ? m_model->getScoreManager() : nullptr;
    return score != nullptr && (score->isVictoryRequested() || score->isDefeatRequested());
}

bool KVGameController::isPulling() const {
    KVKelvo* kelvo = m_playerController != nullptr ? m_playerController->getKelvo() : nullptr;
    return kelvo != nullptr && kelvo->isPulling();
}

// ---- touches ------------------------------------------------------------------------------

bool KVGameController::onTouchBegan(float x, float y) {
    if (!acceptsTouches()) return false;
    return m_playerController->beginPull(x, y);
}

void KVGameController::onTouchMoved(float x, float y) {
    if (acceptsTouches()) m_playerController->updatePull(x, y);
}

void KVGameController::onTouchEnded(float, float) {
    if (acceptsTouches()) m_playerController->releasePull();
}

void KVGameController::onTouchCancelled() {
    if (acceptsTouches()) m_playerController->onCancel(nullptr);
}

bool KVGameController::isTapForGame(float x, float y) {
    if (paused) return false;
    // (Pickable objects join here with the pearl rewards.)
    if (m_currentPawn != nullptr && !m_currentPawn->isSelected()) return m_currentPawn->containsPoint(x, y);
    return false;
}

bool KVGameController::isTouchOnPlayablePawn(float x, float y) {
    if (m_currentPawn == nullptr || m_currentPawn->isAIDriven() || paused) return false;
    if (KVCamera* view = camera()) {
        if (isActiveGesture(view->getPinchRecognizer()) || isActiveGesture(view->getPanRecognizer()))
            return false;
    }
    if (isPulling()) return true;
    KVPawn* pawn = m_playerController != nullptr ? m_playerController->getPawn() : nullptr;
    return m_currentPawn->isSelected() && pawn != nullptr && pawn->containsPoint(x, y);
}

bool KVGameController::shouldReceiveGesture(CCGestureRecognizer* recognizer, float x, float y) {
    KVCamera* view = camera();
    if (view != nullptr) view->setInertia(false);
    if (isDecided()) return false;
    KVDialogueService* dialogues = KVDialogueService::existing();
    if ((dialogues != nullptr && (dialogues->isRunningInGameplay() || dialogues->isInputCooldown())) ||
        paused)
        return false;
    if (recognizer != nullptr && recognizer->isKindOf("CCTapGestureRecognizer")) {
        if (isTapForGame(x, y)) return true;
    } else if (m_currentPawn == nullptr || m_currentPawn->isAIDriven()) {
        return false;
    }
    return view == nullptr || !view->isPlayable() || !isTouchOnPlayablePawn(x, y);
}

bool KVGameController::shouldBeginGesture(CCGestureRecognizer* recognizer) {
    if (recognizer == nullptr) return false;
    auto* tap = dynamic_cast<CCTapGestureRecognizer*>(recognizer);
    if (tap != nullptr && tap->getNumberOfTapsRequired() == 2) {
        KVTurnManager* turns = m_model != nullptr ? m_model->getTurnManager() : nullptr;
        KVCamera* view = camera();
        return turns != nullptr && turns->isAllIdle() && !(view != nullptr && view->isPlayable());
    }
    const bool panOrPinch =
        recognizer->isKindOf("CCPanGestureRecognizer") || recognizer->isKindOf("CCPinchGestureRecognizer");
    if (!panOrPinch) return !paused;
    KVCamera* view = camera();
    if ((view != nullptr && view->isAutomatic()) || isPulling()) return false;
    return !paused;
}

void KVGameController::onTap(float x, float y) {
    if (m_currentPawn != nullptr && m_currentPawn->isAIDriven()) {
        CCNotificationCenter::getInstance()->postNotification(EVENT_USELESS_TAP_DURING_AI_TURN);
        return;
    }
    if (!paused && m_playerController != nullptr) m_playerController->onTap(x, y);
}
