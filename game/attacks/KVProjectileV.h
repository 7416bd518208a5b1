#pragma once

#include <string>

#include "game/world/KVActorV.h"

/// The views of flying projectiles: one sprite that follows the model's position (it never turns
/// with the body). Each is drawn in a sheet of the gameplay layer; without that sheet the sprite
/// is made but shown nowhere (logged).
class KVProjectileV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVProjectileV, KVActorV)

    /// The model must be a projectile (else logged, false); false when the frame is missing.
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// Sprite position := model position x 32.
    void update(float dt) override;

protected:
    /// The frame shown for `model` and the sheet that holds it.
    virtual std::string frameFor(KVActor* model) = 0;
    virtual const char* sheetName() = 0;
    /// After the sprite is placed: a chance to animate it. Nothing here.
    virtual void decorate() {}
};

/// "projectile_enemy.png" for an AI-driven owner, else "projectile_kelvos.png"; sheet "global_ss".
class KVDistanceAttackProjectileV : public KVProjectileV {
public:
    CC_DECLARE_CLASS_NAME(KVDistanceAttackProjectileV, KVProjectileV)

protected:
    std::string frameFor(KVActor* model) override;
    const char* sheetName() override { return "global_ss"; }
};

/// "ShurikenIcon.png" turning 360 degrees a second; sheet "top_sfx_51_ss".
class KVShurikenV : public KVProjectileV {
public:
    CC_DECLARE_CLASS_NAME(KVShurikenV, KVProjectileV)

protected:
    std::string frameFor(KVActor* model) override;
    const char* sheetName() override { return "top_sfx_51_ss"; }
    void decorate() override;
};
