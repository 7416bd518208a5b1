#pragma once

#include "game/menu/KVLayer.h"

/// The base layer of the front end's composite items (character cards, portraits, scroll items,
/// pop-up frames, dialogue items). It adds nothing; screens find their items by testing
/// `isKindOf("KVMenuItem")`.
class KVMenuItem : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVMenuItem, KVLayer)
};
