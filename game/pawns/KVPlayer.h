#pragma once

#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "engine/base/CCString.h"
#include "game/world/KVActor.h"

class KVPawn;
class KVSpawnPoints;

/// A human side of a match: the base of the solo player (KVPlayerSolo, the list of the player's
/// kelvos) and of the multiplayer players (KVPlayerHuddle, one kelvo at a time, brought back at a
/// free spawn point whenever it leaves the board). An actor of the game model, so it is updated
/// every frame; it notices when one of its kelvos is removed. A kelvo of a human player retains
/// the player that owns it (KVPawn::getOwnerPlayer).
///
/// Ownership: retains the model (through KVSpawnPoints::spawnPointsOwner) and the respawn names.
class KVPlayer : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPlayer, KVActor)

    /// Half size, metres, of the box that must be free around a spawn point.
    static constexpr float kSpawnHalfSize = 1.5f;

    /// Actor initialisation; keeps the model (retained; null: logged, false); observes
    /// "EVENT_REMOVE_ACTOR" (any) and "EVENT_GAME_SHUTDOWN"; posts "EVENT_NEW_ACTOR".
    [[nodiscard]] virtual bool initWithModel(KVSpawnPoints* model);
    /// Nothing here.
    virtual void addPawn(KVPawn* pawn);
    /// False here.
    virtual bool hasPawn(KVPawn* pawn);
    /// Nothing here.
    virtual void removePawn(KVPawn* pawn);
    /// Drops the kelvos it holds.
    virtual void onGameShutdown(kvengine::CCNotification* notification);

    /// The respawn, when one is pending: a new kelvo of the same kind at a random spawn point
    /// whose 3 x 3 m box is free (any spawn point when none is), with the stamina and owner index
    /// of the one that left and full hit points. With no spawn point at all the kelvo stays out
    /// (logged). Random draws come from CCRandom.
    void update(float dt) override;
    /// A removed KVKelvoPlayer that this player holds: removePawn.
    void onRemoveActor(kvengine::CCNotification* notification) override;
    void cleanupBeforeDelete() override;

    bool isRespawnPending() const { return m_respawnPending != 0; }
    kvengine::CCString* getRespawnName() const { return m_respawnName; }
    kvengine::CCString* getRespawnHelmet() const { return m_respawnHelmet; }
    int getRespawnStamina() const { return m_respawnStamina; }
    int getRespawnOwnerIndex() const { return m_respawnOwnerIndex; }

protected:
    /// Remembers what to bring back at the next update.
    void scheduleRespawn(KVPawn* pawn);

    KVSpawnPoints* m_model = nullptr;
    kvengine::CCRetained<kvengine::CCObject> m_modelObject;
    int m_respawnPending = 0;
    kvengine::CCRetained<kvengine::CCString> m_respawnName;
    kvengine::CCRetained<kvengine::CCString> m_respawnHelmet;
    int m_respawnStamina = 0;
    int m_respawnOwnerIndex = 0;
};
