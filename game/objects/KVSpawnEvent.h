#pragma once

#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

/// The payload of "EVENT_SPAWN_PAWN": which spawner acts and what it brings: a computer-driven
/// pawn described by the AI creature stats (enemy flag set) or a player creature of the creature
/// stats. Made empty, then filled by set. Retains both names.
class KVSpawnEvent : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVSpawnEvent, KVObject)

    /// Replaces both names (the new ones retained first) and the flag.
    virtual void set(kvengine::CCString* spawnerName, bool enemy, kvengine::CCString* pawnName);
    void cleanupBeforeDelete() override;

    kvengine::CCString* getSpawnerName() const { return m_spawnerName; }
    kvengine::CCString* getPawnName() const { return m_pawnName; }
    bool isEnemy() const { return m_enemy; }

private:
    kvengine::CCString* m_spawnerName = nullptr;
    bool m_enemy = false;
    kvengine::CCString* m_pawnName = nullptr;
};
