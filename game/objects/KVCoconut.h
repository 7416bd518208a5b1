#pragma once

#include "game/world/KVActor.h"

/// A loose ball that rolls when struck and falls into holes.
///
/// Made from a tile-map object: "x", "y", "width", "height" in pixels (the radius is width / 2, the
/// height only places the centre) and an optional "density". Its body (owned) carries the ball and
/// a small sensor probe of group 1 that only the map border, holes, vortices and other probes meet.
/// While it rolls faster than 0.5 m/s it counts as busy for the turn manager.
class KVCoconut : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVCoconut, KVActor)

    /// Destroys the body (when the world still exists) and stops observing.
    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// False (logged) without a dictionary or without a physics world.
    bool
    initWithDictionary(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties) override;
    std::string viewClassName() override;
    b2Body* getBody() override { return m_body; }
    bool triggersBounce() override { return true; }
    bool countsForBounceAchievement() override { return true; }

    float getRadius() const { return m_radius; }
    float getDensity() const { return m_density; }
    bool isMoving() const { return m_moving != 0.0f; }

protected:
    b2Body* m_body = nullptr;
    float m_radius = 0.0f;
    float m_density = 0.0f;
    float m_moving = 0.0f;
};
