#pragma once

#include "engine/base/CCNotification.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

class KVPowerupPickup;

/// An invisible spot of the level (tile-map object "PowerUpSpawner") that puts a power-up pick-up
/// there every "SpawnRate" turn starts (of any pawn), as long as its previous pick-up is gone and
/// nothing but sensor zones (category 2) covers the spot (a box of +-0.625 m; a circle only when
/// its centre is nearer than its radius + 0.625 m).
///
/// Properties: "x", "y", "width", "height" (pixels: the spot is the centre) and "SpawnRate"
/// (turn starts between two pick-ups; below 1 it is taken as 1, logged).
/// Ownership: no body, no view; the current pick-up is not retained (the game model keeps it
/// from its announcement on), and is forgotten once taken or at shutdown.
class KVPowerupSpawner : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupSpawner, KVActor)

    /// Half size of the spot, metres, and the pick-up's radius.
    static constexpr float kSpotHalfSize = 0.625f;

    /// Runs KVActor::init only; the three numbers are not used.
    virtual bool initWithRect(float x, float y, float size);
    /// Forgets the current pick-up.
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    /// Counts the turn start; makes a pick-up when the count reaches the rate, the last one is
    /// gone and the spot is free.
    virtual void onStartTurn(kvengine::CCNotification* notification);

    void cleanupBeforeDelete() override;
    /// A taken pick-up is forgotten.
    void update(float dt) override;
    /// False (logged) without properties.
    bool initWithDictionary(kvobjects::Dict* properties) override;
    bool isCameraTarget() override { return false; }

    /// True when a fixture with a category besides 2 covers the spot.
    bool isSpotCovered() const;
    /// Told by the pick-up when a pawn takes it.
    void setTaken() { m_taken = true; }
    KVPowerupPickup* getPickup() const { return m_pickup; }
    int getSpawnRate() const { return m_spawnRate; }
    int getCounter() const { return m_counter; }

private:
    int m_spawnRate = 1;
    int m_counter = 0;
    KVPowerupPickup* m_pickup = nullptr;
    bool m_taken = false;
};

/// A power-up waiting on the map: a 0.625 m sensor (category 2) at its spawner's spot. The first
/// player-side pawn to touch it that is neither dead nor protected gets a power-up from the
/// running mission's power-up manager; the pick-up then leaves ("EVENT_REMOVE_ACTOR"), at once
/// for any other contact in the same step. View "KVPowerupPickupV".
/// Ownership: the body is owned; the spawner is retained until shutdown or clean-up.
class KVPowerupPickup : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPowerupPickup, KVActor)

    /// Lets go of the spawner.
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    /// At the spawner's spot; posts "EVENT_NEW_ACTOR". False (logged) without a spawner or a
    /// physics world.
    [[nodiscard]] virtual bool initWithSpawner(KVPowerupSpawner* spawner);

    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVPowerupPickupV"; }
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    bool isCameraTarget() override { return false; }

    KVPowerupSpawner* getSpawner() const { return m_spawner; }

private:
    void setSpawner(KVPowerupSpawner* spawner);

    KVPowerupSpawner* m_spawner = nullptr;
    b2Body* m_body = nullptr;
};
