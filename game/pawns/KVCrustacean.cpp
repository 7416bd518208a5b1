#include "game/pawns/KVCrustacean.h"

void KVCrustacean::getForwardVector(float* x, float* y) {
    if (x != nullptr) *x = 1.0f;
    if (y != nullptr) *y = 0.0f;
}
