#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// A named point of the level (tile-map object "PSpawner") where "EVENT_SPAWN_PAWN" events naming
/// it bring a pawn: a computer-driven pawn of the class its AI stats name ("engine_class"), unless
/// that creature is in the player's team, or a player creature that joins the human player's side
/// with its default helmet. No body, no view.
///
/// Spawns that cannot be made are logged and make nothing: a pawn name without a stats entry, an
/// unknown or non-pawn "engine_class", a player side without pawns, no running mission.
class KVSpawner : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVSpawner, KVActor)

    void cleanupBeforeDelete() override;
    /// Reads "x", "y", "width", "height" (the centre is the point) and "Name"; false (logged)
    /// without properties or a "Name".
    bool initWithDictionary(kvobjects::Dict* properties) override;
    std::string viewClassName() override { return ""; }

    virtual void onSpawnPawn(kvengine::CCNotification* notification);

    kvengine::CCString* getName() const { return m_name; }

private:
    void spawnEnemy(kvengine::CCString* pawnName);
    void spawnPlayerCreature(kvengine::CCString* pawnName);

    kvengine::CCString* m_name = nullptr;
};
