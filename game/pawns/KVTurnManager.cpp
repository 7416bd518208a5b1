#include "game/pawns/KVTurnManager.h"

#include <cmath>
#include <initializer_list>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDialogueService.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVCameraService.h"

// Buffer notes. Ending a move or a turn takes two ticks: the first posts the "..._BEFORE_BUFFER"
// notification (the score manager judges the board on it), the second, normally in the next frame,
// completes it. When the manager stops before the decision in between (paused, camera busy,
// something moving), the second tick waits for the next decision and completes whatever that
// decision gives.
//
// Search notes. Passing from one pawn to the next skips computer-driven pawns that have nobody
// near; each skipped pawn gets "EVENT_END_TURN" without a "EVENT_START_TURN". The search switches
// sides at most twice, so when nobody on either side can play it ends: the manager logs it, starts
// no turn and, each frame, asks (without posting) whether some pawn can play again.

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;

namespace {

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

void post(kvengine::CCString* name, CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

int compareBySpeed(KVPawn* a, KVPawn* b, void* context) {
    (void)context;
    return KVPawn::compareBySpeed(a, b);
}

// True when a pawn of `others` stands strictly closer than the play distance to `pawn`.
bool hasOpponentNear(KVPawn* pawn, CCMutableArray<KVPawn*>* others) {
    float x = 0.0f, y = 0.0f;
    pawn->getPosition(&x, &y);
    for (KVPawn* other : *others) {
        float ox = 0.0f, oy = 0.0f;
        other->getPosition(&ox, &oy);
        if (std::hypot(ox - x, oy - y) < KVTurnManager::kPlayDistance) return true;
    }
    return false;
}

// Keeps an object alive for a scope in which observers may release it.
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

KVTurnManager::KVTurnManager()
    : m_queue(new CCMutableArray<KVPawn*>()), m_busy(new CCMutableArray<CCObject*>()) {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVTurnManager::onSkipTurn), EVENT_SKIP_TURN);
    centre->addObserver(this, notification_selector(KVTurnManager::onCamPlayable), EVENT_CAM_PLAYABLE);
    centre->addObserver(this, notification_selector(KVTurnManager::onCamUnplayable), EVENT_CAM_UNPLAYABLE);
    centre->addObserver(this, notification_selector(KVTurnManager::onNotifyInAction), EVENT_NOTIFY_IN_ACTION);
    centre->addObserver(this, notification_selector(KVTurnManager::onNotifyIdle), EVENT_NOTIFY_IDLE);
    centre->addObserver(this, notification_selector(KVTurnManager::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVTurnManager::onVictoryDance), EVENT_VICTORY_DANCE);
    centre->addObserver(this, notification_selector(KVTurnManager::onLooseDance), EVENT_LOOSE_DANCE);
    centre->addObserver(this, notification_selector(KVTurnManager::onChatterStart), EVENT_CHATTER_START);
    centre->addObserver(this, notification_selector(KVTurnManager::onEndSpeech), EVENT_END_SPEECH);
    centre->addObserver(this, notification_selector(KVTurnManager::onPause), SCREEN_INGAME_PAUSE);
}

void KVTurnManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_queue != nullptr) m_queue->release();
    m_queue = nullptr;
    if (m_busy != nullptr) m_busy->release();
    m_busy = nullptr;
    KVObject::cleanupBeforeDelete();
}

KVPawn* KVTurnManager::getCurrentPawn() const {
    return m_queue != nullptr ? m_queue->objectAtIndex(0) : nullptr;
}

void KVTurnManager::startFirstTurn() {
    Hold hold(this);
    startSide(m_currentSide);
    if (KVPawn* first = getCurrentPawn()) {
        post(EVENT_SET_CAMERA_TO_OBJECT, first);
        post(EVENT_START_TURN, first);
    }
    setCurrentPawnActive(true);
}

void KVTurnManager::startSide(bool playerSide) {
    KVPawnManager* pawns = KVPawnManager::getInstance();
    if ((playerSide ? pawns->getPlayerPawns() : pawns->getEnemyPawns())->count() == 0)
        playerSide = !playerSide;
    m_currentSide = playerSide;
    CCMutableArray<KVPawn*>* queue = (playerSide ? pawns->getPlayerPawns() : pawns->getEnemyPawns())->copy();
    m_queue->release();
    m_queue = queue;
    post(playerSide ? EVENT_TURN_START_PLAYER : EVENT_TURN_START_ENEMY);
    // The boss's eyes and mouth never take turns.
    CCMutableArray<KVPawn*>* sideCopy = CCMutableArray<KVPawn*>::createWithArray(m_queue);
    for (KVPawn* pawn : *sideCopy)
        if (pawn->isBossWeakPoint()) m_queue->removeObject(pawn);
    m_queue->sortWithFunction(&compareBySpeed, nullptr);
}

bool KVTurnManager::canPawnPlay(KVPawn* pawn) {
    if (pawn == nullptr) return false;
    if (!pawn->isAIDriven()) return true;
    KVPawnManager* pawns = KVPawnManager::getInstance();
    if (pawn->isEnemy()) {
        CCMutableArray<KVPawn*>* players = pawns->getPlayerPawns();
        if (players->count() == 0) return true;
        return hasOpponentNear(pawn, players) && pawn->canAct();
    }
    return hasOpponentNear(pawn, pawns->getEnemyPawns());
}

void KVTurnManager::setCurrentPawnActive(bool makeActive) {
    m_currentPawnActive = makeActive;
    KVPawn* pawn = getCurrentPawn();
    if (pawn == nullptr) return;
    pawn->setSelected(makeActive);
    if (makeActive && !pawn->isAIDriven()) post(EVENT_SHOW_SKIP_TURN, this);
}

void KVTurnManager::update(float dt) {
    if (m_frozen || m_paused) return;
    Hold hold(this);
    trackPawnOnScreen();
    if (m_stalled) {
        if (!anyPawnCanPlay()) return;
        m_stalled = false;
        kvengine::logDebugMessage("KVTurnManager: a pawn can play again");
        m_bufferStarted = false;
        if (KVPawn* next = findNextPawn()) {
            post(EVENT_START_TURN, next);
            m_waitingForPawnOnScreen = true;
            finishMove(next, false);
        }
        return;
    }
    if (!m_cameraPlayable && !m_skipRequested) return;
    if (m_currentPawnActive && !m_currentPawnRemoved) {
        // Waiting for the move: it has begun once the pawn is no longer selected.
        KVPawn* pawn = getCurrentPawn();
        if (pawn == nullptr || !pawn->isSelected()) setCurrentPawnActive(false);
        return;
    }
    if (!m_allIdle) return;
    decide(dt);
}

void KVTurnManager::decide(float dt) {
    (void)dt;
    KVPawn* pawn = m_currentPawnRemoved ? nullptr : getCurrentPawn();
    const bool attackLeft = pawn != nullptr && pawn->getAttackCharges() > 0 && pawn->hasTargetInAttackRange();
    const bool soloAttackLeft = attackLeft && isSolo();
    // Another move while the pawn has stamina (or a solo attack) and has not used up its pull: a
    // cancelled pull spends nothing, and the view may still show stamina marks.
    const bool anotherMove =
        !m_skipRequested && pawn != nullptr && (pawn->getStamina() > 0 || soloAttackLeft) &&
        (pawn->getStamina() == pawn->getMaxSP() || pawn->getStaminaMarks() != 0 || attackLeft);
    if (anotherMove) {
        if (!m_bufferStarted) {
            m_bufferStarted = true;
            post(EVENT_MOVE_OVER_BEFORE_BUFFER);
            return;
        }
        m_bufferStarted = false;
        finishMove(pawn, soloAttackLeft);
        return;
    }
    if (!m_bufferStarted) {
        m_bufferStarted = true;
        post(EVENT_END_TURN_BEFORE_BUFFER, pawn);
        return;
    }
    m_bufferStarted = false;
    KVPawn* next = findNextPawn();
    if (next == nullptr) {
        m_stalled = true;
        m_currentPawnActive = false;
        kvengine::logDebugMessage("KVTurnManager: no pawn of either side can play; no turn starts");
        return;
    }
    post(EVENT_START_TURN, next);
    m_waitingForPawnOnScreen = true;
    finishMove(next, soloAttackLeft);
}

KVPawn* KVTurnManager::findNextPawn() {
    int sidesStarted = 0;
    for (;;) {
        KVPawn* head = getCurrentPawn();
        if (!m_currentPawnRemoved && head != nullptr) {
            Hold holdHead(head);
            post(EVENT_END_TURN, head);
            m_queue->removeObject(head);
        }
        m_currentPawnRemoved = false;
        if (m_queue->count() == 0) {
            if (sidesStarted == 2) return nullptr;
            startSide(!m_currentSide);
            ++sidesStarted;
            // A side of boss weak points only: on to the other side.
            if (m_queue->count() == 0) continue;
        }
        KVPawn* candidate = getCurrentPawn();
        if (canPawnPlay(candidate)) return candidate;
    }
}

bool KVTurnManager::anyPawnCanPlay() {
    KVPawnManager* pawns = KVPawnManager::getInstance();
    for (CCMutableArray<KVPawn*>* side : {pawns->getPlayerPawns(), pawns->getEnemyPawns()}) {
        CCMutableArray<KVPawn*>* copy = CCMutableArray<KVPawn*>::createWithArray(side);
        for (KVPawn* pawn : *copy)
            if (!pawn->isBossWeakPoint() && canPawnPlay(pawn)) return true;
    }
    return false;
}

void KVTurnManager::finishMove(KVPawn* pawn, bool soloAttackLeft) {
    post(EVENT_MOVE_OVER);
    m_skipRequested = false;
    if (isCameraPlayable()) {
        setCurrentPawnActive(true);
    } else {
        // The camera selects the pawn when it is ready ("EVENT_CAM_PLAYABLE").
        post(EVENT_AUTO_FOCUS_REQUEST);
        m_currentPawnActive = true;
    }
    if (soloAttackLeft && pawn != nullptr && pawn->getStamina() <= 0) post(EVENT_PLAYER_MOVE_REMAINING, pawn);
}

void KVTurnManager::trackPawnOnScreen() {
    KVPawn* pawn = getCurrentPawn();
    if (pawn == nullptr) return;
    const bool onScreen = isPawnOnScreen(pawn);
    if (m_waitingForPawnOnScreen) {
        if (onScreen) m_waitingForPawnOnScreen = false;
        return;
    }
    if (onScreen == m_pawnOnScreen) return;
    m_pawnOnScreen = onScreen;
    post(onScreen ? EVENT_PAWN_ON_SCREEN : EVENT_PAWN_OUT_OF_SCREEN, pawn);
}

// ---- Handlers ----

void KVTurnManager::onNotifyInAction(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object == nullptr) {
        // Nobody could ever announce it idle again.
        kvengine::logDebugMessage("KVTurnManager: busy notification without an object ignored");
        return;
    }
    m_busy->addObject(object);
    m_allIdle = false;
}

void KVTurnManager::onNotifyIdle(CCNotification* notification) {
    removeFirstBusyEntry(objectOf(notification));
    updateAllIdle();
}

void KVTurnManager::onChatterStart(CCNotification* notification) {
    (void)notification;
    m_allIdle = false;
}

void KVTurnManager::onEndSpeech(CCNotification* notification) {
    (void)notification;
    if (m_busy->count() == 0) m_allIdle = true;
}

void KVTurnManager::onRemoveActor(CCNotification* notification) {
    CCObject* object = objectOf(notification);
    if (object == nullptr) return;
    // An actor that leaves never announces idle again: every announcement of it is dropped.
    while (m_busy->containsObject(object))
        m_busy->removeObject(object);
    updateAllIdle();
    if (object == getCurrentPawn()) m_currentPawnRemoved = true;
    if (object->isKindOf("KVPawn")) m_queue->removeObject(static_cast<KVPawn*>(object));
}

void KVTurnManager::onLooseDance(CCNotification* notification) {
    (void)notification;
    m_frozen = true;
}

void KVTurnManager::onVictoryDance(CCNotification* notification) {
    (void)notification;
    m_frozen = true;
}

void KVTurnManager::onCamPlayable(CCNotification* notification) {
    (void)notification;
    m_cameraPlayable = true;
    setCurrentPawnActive(true);
}

void KVTurnManager::onCamUnplayable(CCNotification* notification) {
    (void)notification;
    m_cameraPlayable = false;
    setCurrentPawnActive(false);
}

void KVTurnManager::onSkipTurn(CCNotification* notification) {
    (void)notification;
    KVPawn* pawn = getCurrentPawn();
    if (pawn != nullptr && pawn->isSelected()) pawn->setSelected(false);
    m_skipRequested = true;
}

void KVTurnManager::onPause(CCNotification* notification) {
    (void)notification;
    m_paused = true;
}

// ---- Collaborators ----

bool KVTurnManager::isPawnOnScreen(KVPawn* pawn) {
    KVCameraService* camera = KVCameraService::existing();
    return camera != nullptr ? camera->isPawnOnScreen(pawn) : true;
}

bool KVTurnManager::isCameraPlayable() {
    return m_cameraPlayable;
}

bool KVTurnManager::isDialogueRunning() {
    KVDialogueService* dialogues = KVDialogueService::existing();
    return dialogues != nullptr && dialogues->isChatterRunning();
}

void KVTurnManager::removeFirstBusyEntry(CCObject* object) {
    if (object != nullptr) m_busy->removeObject(object);
}

void KVTurnManager::updateAllIdle() {
    if (m_busy->count() == 0 && !isDialogueRunning()) m_allIdle = true;
}

bool KVTurnManager::isSolo() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    return setup != nullptr ? setup->solo : true;
}
