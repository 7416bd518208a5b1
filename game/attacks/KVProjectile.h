#pragma once

#include "game/world/KVActor.h"

class KVPawn;

/// A small sensor actor that flies straight on at 10 m/s from its owner pawn, harms the first
/// opposing pawn it touches and ends on a pawn, an ordinary level object or a wall of the drawing.
///
/// Its body carries two 5-pixel sensor circles: one of category 1 (group -4: projectiles never
/// meet one another) that meets bodies, and one of category 2 in group 1 that meets the level's
/// group-1 sensors (the pawns' probes, the map border). Contact rules (beginContact):
/// - its owner, and a pawn whose power-up absorbs it (KVPawn::isProjectileIntercepted), let it
///   pass; any other pawn ends it, and is hit (hitActor) when damageable and of the other side;
/// - an anchor (which handles it itself) and a geyser let it pass; another actor ends it when the
///   touched fixture has a category bit besides 2 (sensor zones such as triggers are category 2);
/// - level geometry ends it only for the drawing's walls (group 5).
/// Ending it marks it removed at once, so it hits once even when both circles touch in one step,
/// and posts "EVENT_REMOVE_ACTOR" with it.
///
/// Created directly (construct, launch, autorelease); the game model keeps it from
/// "EVENT_NEW_ACTOR" to "EVENT_REMOVE_ACTOR". The base has no view.
/// Ownership: the body is owned; the owner pawn is retained.
class KVProjectile : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVProjectile, KVActor)

    static constexpr float kRadius = 0.15625f; // 5 pixels
    static constexpr float kSpeed = 10.0f;
    static constexpr short kGroup = -4;
    static constexpr short kWallGroup = 5;

    /// Actor initialisation at (x, y) metres, owner retained, the body flying along (dx, dy);
    /// posts "EVENT_NEW_ACTOR" then "EVENT_NOTIFY_IN_ACTION" with the projectile. False (logged,
    /// nothing posted) without an owner, without a physics world, or for a direction of length 0
    /// or one that is not finite.
    [[nodiscard]] virtual bool launch(float x, float y, float dx, float dy, KVPawn* owner);
    /// The pawn struck; the base does nothing.
    virtual void hitActor(KVPawn* pawn);

    void cleanupBeforeDelete() override;
    /// Copies the body's position and angle.
    void update(float dt) override;
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    bool isCameraTarget() override { return false; }

    KVPawn* getOwner() const { return m_owner; }

protected:
    /// Marks it removed and posts "EVENT_REMOVE_ACTOR" (after the running step).
    void vanish();

    b2Body* m_body = nullptr;
    KVPawn* m_owner = nullptr;
};

/// The distance attack of creatures and enemies: deals the owner's "DMG Target" (action type 1)
/// and pushes with its "Push Off Coef Target". View "KVDistanceAttackProjectileV".
class KVDistanceAttackProjectile : public KVProjectile {
public:
    CC_DECLARE_CLASS_NAME(KVDistanceAttackProjectile, KVProjectile)

    std::string viewClassName() override { return "KVDistanceAttackProjectileV"; }
    void hitActor(KVPawn* pawn) override;
};

/// The shuriken of the power-up and the consumable: 30 % of the target's maximum hit points net of
/// its defence (action type 13), push 10. View "KVShurikenV".
class KVShuriken : public KVProjectile {
public:
    CC_DECLARE_CLASS_NAME(KVShuriken, KVProjectile)

    static constexpr float kShare = 0.3f;
    static constexpr float kPush = 10.0f;

    std::string viewClassName() override { return "KVShurikenV"; }
    /// Amount := target's Defense + int(0.3 x its max HP): the defence taken off by the damage
    /// rule leaves int(0.3 x max HP).
    void hitActor(KVPawn* pawn) override;
};
