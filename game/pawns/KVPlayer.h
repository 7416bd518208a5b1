#pragma once

#include "game/world/KVObject.h"

/// A player side of a match (solo: the one human player; multiplayer: one of 2 to 4). A kelvo of a
/// human player retains the player that owns it (KVPawn::getOwnerPlayer).
class KVPlayer : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPlayer, KVObject)
};
