#pragma once

#include "game/pawns/KVKelvo.h"

/// The kelvo of a human player. The pawn manager lists the ones that die or fall, with their
/// helmets, for the revival consumables.
class KVKelvoPlayer : public KVKelvo {
public:
    CC_DECLARE_CLASS_NAME(KVKelvoPlayer, KVKelvo)
};
