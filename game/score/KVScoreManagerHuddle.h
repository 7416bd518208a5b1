#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/score/KVScoreManager.h"

class KVPlayerHuddle;

/// The score manager of a multiplayer match.
///
/// The player whose kelvo started the turn scores a point for each other player's kelvo that
/// leaves the board during it and loses one for each of its own. The first to reach 3 points
/// decides the match (through the defeat path: "EVENT_LOOSE_DANCE", then "EVENT_GAME_WINNER"
/// 1 s later). Within a move the net eliminations form a streak; each new best (or new worst)
/// streak posts "EVENT_SHOW_COMBO_MESSAGE" with the manager. Placings follow the points.
class KVScoreManagerHuddle : public KVScoreManager {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManagerHuddle, KVScoreManager)

    static constexpr int kWinningPoints = 3;

    /// Observes the removals, turn starts, move ends and the loaded game.
    KVScoreManagerHuddle();
    /// Removes its observers, releases the current player and the players.
    void cleanupBeforeDelete() override;

    /// Appends a KVPlayerHuddle (retained); anything else is logged and ignored.
    void addPlayer(KVPlayer* player) override;

    /// Writes every player's placing from the points.
    virtual void updatePlacings(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// The current player := the owner of the pawn that starts the turn.
    virtual void onStartTurn(kvengine::CCNotification* notification);
    /// A new move: streak 0, mark 1.
    virtual void onMoveOver(kvengine::CCNotification* notification);

    KVPlayer* getCurrentPlayer() const { return m_currentPlayer; }
    kvengine::CCMutableArray<KVPlayerHuddle*>* getPlayers() const { return m_players; }
    int getStreak() const { return m_streak; }
    int getStreakMark() const { return m_streakMark; }

private:
    void setCurrentPlayer(KVPlayer* player);

    KVPlayer* m_currentPlayer = nullptr;
    kvengine::CCMutableArray<KVPlayerHuddle*>* m_players = nullptr;
    int m_streak = 0;
    int m_streakMark = 1;
};
