#include "game/score/KVScoreManagerHuddle.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerHuddle.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

KVScoreManagerHuddle::KVScoreManagerHuddle() {
    m_players = new kvengine::CCMutableArray<KVPlayerHuddle*>();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVScoreManagerHuddle::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVScoreManagerHuddle::onStartTurn), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVScoreManagerHuddle::onMoveOver), EVENT_MOVE_OVER);
    centre->addObserver(this, notification_selector(KVScoreManagerHuddle::updatePlacings),
                        EVENT_POST_LOAD_GAME);
}

void KVScoreManagerHuddle::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    setCurrentPlayer(nullptr);
    if (m_players != nullptr) m_players->release();
    m_players = nullptr;
    KVScoreManager::cleanupBeforeDelete();
}

void KVScoreManagerHuddle::setCurrentPlayer(KVPlayer* player) {
    if (player != nullptr) player->retain();
    if (m_currentPlayer != nullptr) m_currentPlayer->release();
    m_currentPlayer = player;
}

void KVScoreManagerHuddle::addPlayer(KVPlayer* player) {
    if (player == nullptr || !player->isKindOf("KVPlayerHuddle")) {
        kvengine::logDebugMessage("KVScoreManagerHuddle::addPlayer: %s is no multiplayer side, ignored",
                                  player != nullptr ? player->className() : "null");
        return;
    }
    if (m_players != nullptr) m_players->addObject(static_cast<KVPlayerHuddle*>(player));
}

void KVScoreManagerHuddle::onStartTurn(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    KVPawn* pawn = object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
    setCurrentPlayer(pawn != nullptr ? pawn->getOwnerPlayer() : nullptr);
}

void KVScoreManagerHuddle::onMoveOver(CCNotification* notification) {
    (void)notification;
    m_streak = 0;
    m_streakMark = 1;
}

void KVScoreManagerHuddle::onRemoveActor(CCNotification* notification) {
    if (m_defeatRequested) return;
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVKelvoPlayer")) return;
    auto* kelvo = static_cast<KVKelvoPlayer*>(object);
    if (m_currentPlayer == nullptr || !m_currentPlayer->isKindOf("KVPlayerHuddle")) {
        // A kelvo lost outside anyone's turn scores for nobody.
        kvengine::logDebugMessage(
            "KVScoreManagerHuddle: a kelvo left the board with no player's turn running");
        return;
    }
    auto* current = static_cast<KVPlayerHuddle*>(m_currentPlayer);
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    if (kelvo->getOwnerPlayer() == m_currentPlayer) {
        current->points -= 1;
        m_streak -= 1;
        if (m_streak <= m_streakMark - 1) {
            m_streakMark = m_streak - 1;
            centre->postNotification(EVENT_SHOW_COMBO_MESSAGE, this);
        }
    } else {
        m_streak += 1;
        current->points += 1;
        if (current->points >= kWinningPoints) m_defeatRequested = true;
        if (m_streak >= m_streakMark) {
            m_streakMark = m_streak + 1;
            centre->postNotification(EVENT_SHOW_COMBO_MESSAGE, this);
        }
    }
    updatePlacings(nullptr);
}

void KVScoreManagerHuddle::updatePlacings(CCNotification* notification) {
    (void)notification;
    KVPlayerHuddle::assignPlacings(m_players);
}
