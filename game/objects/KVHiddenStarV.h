#pragma once

#include "game/world/KVActorV.h"

/// The view of the hidden star: "hidden_star.png" in the sheet "global_ss" behind everything
/// (z -2000), scaled by the star's radius in metres (the picture is drawn for a radius of 32
/// points). It stays transparent until a human-driven pawn of the player's side comes within
/// 8 m and is fully seen within 2 m.
///
/// While the current pawn plays its own turn within 6 m of the star, the detection sound plays
/// every 3 s, louder as it comes nearer (volume 0.5 within 2 m).
class KVHiddenStarV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVHiddenStarV, KVActorV)

    static constexpr float kSeenFrom = 8.0f;
    static constexpr float kFullySeenWithin = 2.0f;
    static constexpr float kSoundInterval = 3.0f;
    static constexpr int kZ = -2000;

    /// False for a model that is no hidden star (logged) or without its picture (the cache logs).
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void update(float dt) override;

    /// 0..255 for the distance (metres) of the nearest human-driven player pawn.
    static unsigned char opacityForDistance(float distance);
    /// The detection's proximity for the current pawn: 1000 without one, 2 outside its own turn
    /// or beyond 6 m, 0 within 2 m, else 1 - (6 - distance) / 4. The sound plays below 1.
    static float proximityFor(bool hasPawn, bool inTurn, float distance);

    /// The detection sound at `proximity` (the sound manager's volume: (1 - proximity) x 0.5).
    virtual void playDetectSound(float proximity);

    float getSoundTimer() const { return m_soundTimer; }

private:
    float m_soundTimer = 0.0f;
};
