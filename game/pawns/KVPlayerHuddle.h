#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRetained.h"
#include "game/pawns/KVPlayer.h"

class KVKelvoPlayer;

/// One of the two to four players of a multiplayer match: exactly one kelvo at a time, brought
/// back at a spawn point whenever it leaves the board, and the points and placing that the
/// multiplayer score manager writes. Ownership: retains its current kelvo.
class KVPlayerHuddle : public KVPlayer {
public:
    CC_DECLARE_CLASS_NAME(KVPlayerHuddle, KVPlayer)

    /// Points := 0, placing := 0.
    [[nodiscard]] bool initWithModel(KVSpawnPoints* model) override;
    /// The current kelvo := `pawn` (a KVKelvoPlayer; anything else is logged and ignored).
    void addPawn(KVPawn* pawn) override;
    bool hasPawn(KVPawn* pawn) override;
    /// Lets the kelvo go and schedules its return.
    void removePawn(KVPawn* pawn) override;
    void onGameShutdown(kvengine::CCNotification* notification) override;
    void cleanupBeforeDelete() override;

    /// For the stable sort by points: -1 when a has more points than b, 1 when fewer, else 0.
    static int compareByPoints(KVPlayerHuddle* a, KVPlayerHuddle* b);
    /// Writes every player's placing: the players sorted by points, highest first (stable);
    /// placing 1 for the first, one more each time the points differ from the previous player's
    /// (points 5, 5, 3 give placings 1, 1, 2). The list itself keeps its order. Null: nothing.
    static void assignPlacings(kvengine::CCMutableArray<KVPlayerHuddle*>* players);

    KVKelvoPlayer* getKelvo() const { return m_kelvo; }
    int points = 0;
    /// 1 for the leader; players with equal points share a placing.
    int placing = 0;

private:
    void releaseKelvo();

    kvengine::CCRetained<KVKelvoPlayer> m_kelvo;
};
