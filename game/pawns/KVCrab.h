#pragma once

#include "game/pawns/KVPawn.h"

/// An enemy crab. Type tests for "KVCrab" tell a crab's area attack from a kelvo's.
class KVCrab : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVCrab, KVPawn)

    KVCrab() { m_enemy = true; }
};
