#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/pawns/KVPlayer.h"

/// The one human side of a solo mission: the list of its kelvos, which only shrinks as they are
/// removed. Ownership: the list retains the kelvos until they leave or the game shuts down.
class KVPlayerSolo : public KVPlayer {
public:
    CC_DECLARE_CLASS_NAME(KVPlayerSolo, KVPlayer)

    [[nodiscard]] bool initWithModel(KVSpawnPoints* model) override;
    void addPawn(KVPawn* pawn) override;
    bool hasPawn(KVPawn* pawn) override;
    void removePawn(KVPawn* pawn) override;
    void onGameShutdown(kvengine::CCNotification* notification) override;
    void cleanupBeforeDelete() override;

    /// The kelvos (the list itself); null after shutdown.
    kvengine::CCMutableArray<KVPawn*>* getKelvos() const { return m_kelvos; }

private:
    kvengine::CCMutableArray<KVPawn*>* m_kelvos = nullptr;
};
