#pragma once

#include "game/objects/KVCoconutV.h"

/// The view of a spiky ball: a coconut view with the spiky picture.
class KVSpikyBallV : public KVCoconutV {
public:
    CC_DECLARE_CLASS_NAME(KVSpikyBallV, KVCoconutV)

    const char* getFrameName() override;
};
