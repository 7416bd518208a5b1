#pragma once

#include "game/world/KVObject.h"

/// The pearl rewards of a solo mission. Made by the game model in solo missions only; it gives
/// nothing yet.
class KVXpManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVXpManager, KVObject)
};
