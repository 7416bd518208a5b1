#pragma once

#include "game/world/KVActor.h"

/// A puffer fish that circles a fixed point: a pawn that touches it loses 15 % of its maximum hit
/// points (action type 12), and whatever strikes it is thrown back at 9.375 m/s. After a blow it
/// puffs up and stands still for 2 s.
///
/// Made from a tile-map object: "x", "y", "width", "height" in pixels (the orbit is the circle
/// inscribed in the width around the rectangle's centre; a width of 0 keeps the fish at the
/// centre), "BombRadius" in pixels (16 when missing or 0) and "SecondsPerRotation" (3 when missing
/// or 0). Its body is static and moved by setting its transform.
///
/// It circles only while a corner of the square around its orbit is on the window (so a fish off
/// screen keeps its phase), and stands still from "EVENT_STOP_FUGU" (a computer pawn's turn, a
/// distance or area attack) until the next "EVENT_NOTIFY_IDLE" or "EVENT_SKIP_TURN".
///
/// Ownership: owns its body; retains the actor that last struck it and the pawn that touched it
/// until the next update uses them or they leave the game.
class KVFishBomb : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVFishBomb, KVActor)

    /// Seconds the fish stays puffed up and still after a blow.
    static constexpr float kAngrySeconds = 2.0f;
    /// Speed, m/s, at which a striker is thrown back along the contact normal.
    static constexpr float kKnockBackSpeed = 9.375f;
    /// Share of the maximum hit points that a touch costs.
    static constexpr float kShareOfMaxHP = 0.15f;
    /// Action type of the damage.
    static constexpr int kActionType = 12;

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// False (logged) without a dictionary or without a physics world.
    bool
    initWithDictionary(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties) override;
    std::string viewClassName() override { return "KVFishBombV"; }
    /// A damageable pawn becomes the touched pawn (hurt at the next update); true for it.
    bool beginContact(KVContactInfo* contact) override;
    bool preSolve(KVContactInfo* contact) override;
    /// Any actor with a body that strikes the fish is thrown back and the fish turns angry.
    bool postSolve(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    /// Any removed actor: forgets it when it is the hitter or the touched pawn.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    virtual void onStopFugu(kvengine::CCNotification* notification);
    virtual void onResumeFugu(kvengine::CCNotification* notification);

    float getBombRadius() const { return m_bombRadius; }
    float getOrbitRadius() const { return m_orbitRadius; }
    float getOrbitAngle() const { return m_orbitAngle; }
    float getAngularSpeed() const { return m_angularSpeed; }
    float getAngryTimer() const { return m_angryTimer; }
    bool isHit() const { return m_hit; }
    /// The view clears it once it shows the puffed-up picture.
    void clearHit() { m_hit = false; }
    bool isStopped() const { return m_stopped; }

private:
    void releaseHitter();
    void releaseTouchedPawn();
    /// Whether any corner of the square around the orbit lies on the window.
    bool isOrbitOnScreen() const;
    void placeOnOrbit();

    b2Body* m_body = nullptr;
    float m_bombRadius = 0.0f;
    float m_orbitRadius = 0.0f;
    float m_orbitAngle = 0.0f;
    float m_angularSpeed = 0.0f;
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
    KVActor* m_hitter = nullptr;
    float m_knockBackX = 0.0f;
    float m_knockBackY = 0.0f;
    float m_angryTimer = 0.0f;
    bool m_hit = false;
    bool m_touched = false;
    KVActor* m_touchedPawn = nullptr;
    bool m_stopped = false;
};
