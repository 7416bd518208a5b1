#include "game/objects/KVSpikeDamage.h"

#include <algorithm>

#include "game/pawns/KVPawn.h"

namespace kvspikes {

namespace {
constexpr float kMinSpeed = 0.1f;
constexpr float kShareOfMaxHP = 0.3f;
} // namespace

float factor(float speed, float maxSpeed) {
    if (!(speed > kMinSpeed)) return 0.0f;
    // A pawn that cannot be launched has no measure of speed: any real impact counts in full.
    const float ratio = maxSpeed > 0.0f ? std::min(speed / maxSpeed, 1.0f) : 1.0f;
    if (ratio > 0.2f) return 1.0f;
    if (ratio > 0.1f) return ratio;
    return 0.01f;
}

bool hurt(KVActor* other, float speed, int actionType) {
    if (other == nullptr || !other->isKindOf("KVPawn")) return false;
    auto* pawn = static_cast<KVPawn*>(other);
    if (!pawn->isDamageable()) return false;
    const float f = factor(speed, pawn->getMaxLaunchSpeed());
    if (f <= 0.0f) return false;
    const int amount = static_cast<int>(static_cast<float>(pawn->getDefense()) +
                                        kShareOfMaxHP * static_cast<float>(pawn->getMaxHP()) * f);
    pawn->takeDamage(amount, nullptr, actionType, 1.0f, 0.0f);
    return true;
}

} // namespace kvspikes
