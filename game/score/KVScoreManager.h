#pragma once

#include "game/world/KVObject.h"

class KVPlayer;

/// Keeps the score of a running mission and decides its winner. The game model makes one per
/// mission (solo or multiplayer kind) and updates it last in each frame. This base keeps nothing
/// yet: scoring joins it in place.
class KVScoreManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManager, KVObject)

    /// A multiplayer side joins the score; nothing here.
    virtual void addPlayer(KVPlayer* player) { (void)player; }
    /// Whether the match has been decided for the player or against: input stops then.
    virtual bool isVictoryRequested() const { return false; }
    virtual bool isDefeatRequested() const { return false; }
};
