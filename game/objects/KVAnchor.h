#pragma once

#include "game/world/KVActor.h"

class KVPawn;

/// A post that catches a kelvo passing over it: kelvos and projectiles pass through it (their
/// contacts are disabled), and the first live, unanchored kelvo to touch it is held; in the next
/// update the anchor sets the kelvo's anchor point and posts EVENT_ANCHOR_START with it. One kelvo
/// at a time; the anchor is free again when the kelvo leaves, dies or is removed.
///
/// Ownership: the body is owned (destroyed at clean-up while the world exists); the held kelvo is
/// retained.
class KVAnchor : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVAnchor, KVActor)

    static constexpr float kRadius = 0.46875f; // 15 pixels

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// "x", "y", "width", "height" in pixels place the centre. False (logged) without a
    /// dictionary or without a physics world.
    bool
    initWithDictionary(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties) override;
    std::string viewClassName() override;
    bool beginContact(KVContactInfo* contact) override;
    bool endContact(KVContactInfo* contact) override;
    bool preSolve(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    /// Observer of EVENT_REMOVE_ACTOR from anyone: lets go of a removed held kelvo.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    float getRadius() const { return m_radius; }
    KVPawn* getHeldKelvo() const { return m_heldKelvo; }
    bool isAnchored() const { return m_anchored; }

private:
    void hold(KVPawn* kelvo);

    b2Body* m_body = nullptr;
    float m_radius = kRadius;
    KVPawn* m_heldKelvo = nullptr;
    bool m_anchored = false;
};
