#include "game/objects/KVSpikyBallV.h"

const char* KVSpikyBallV::getFrameName() {
    return "GPE_SpikyBall.png";
}
