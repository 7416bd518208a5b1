#pragma once

class KVActor;

/// The damage that spikes deal on contact, shared by the spiky ball and the spiky wall.
namespace kvspikes {

/// Action types of the two spiky objects.
constexpr int kSpikyBallAction = 10;
constexpr int kSpikyWallAction = 11;

/// The factor of an impact at `speed` m/s against a pawn whose full speed is `maxSpeed`: 1 above
/// 20 % of it, the ratio itself from just above 10 % to 20 %, 0.01 below. 0 when the speed is
/// 0.1 m/s or less (no damage at all).
float factor(float speed, float maxSpeed);

/// Hurts `other` when it is a damageable pawn and `speed` is above 0.1 m/s: the amount is the
/// pawn's defence plus 30 % of its maximum hit points times the factor, so a full-speed hit costs
/// 30 % whatever the defence. True when the pawn was hit.
bool hurt(KVActor* other, float speed, int actionType);

} // namespace kvspikes
