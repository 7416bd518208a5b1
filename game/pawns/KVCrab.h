#pragma once

#include "game/pawns/KVPawnAI.h"

/// An enemy crab: a computer-driven pawn. Type tests for "KVCrab" tell a crab's area attack from a
/// kelvo's.
class KVCrab : public KVPawnAI {
public:
    CC_DECLARE_CLASS_NAME(KVCrab, KVPawnAI)

    KVCrab() { m_enemy = true; }
};
