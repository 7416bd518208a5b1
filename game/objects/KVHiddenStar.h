#pragma once

#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// The mission's secret star (tile-map object "hidden_star"): an invisible round sensor that a
/// human player's creature (KVKelvoPlayer) finds by touching it. The finder is healed fully and
/// its stamina refilled; "EVENT_HIDDEN_STAR_FOUND" (the pawn) and "EVENT_REMOVE_ACTOR" (the star)
/// follow after the physics step, once. Its view (KVHiddenStarV) fades it in as such a pawn comes
/// near and plays the detection sound.
///
/// The sensor is in category 2, with the other sensor zones: projectiles fly through it and the
/// free-spot and line-of-sight queries do not see it.
///
/// Properties: "x", "y", "width", "height" (pixels): centre and radius (width / 2). When the
/// profile says the running mission's star was found before, the place also becomes a power-up
/// spawner with "SpawnRate" 1.
/// Ownership: the body is owned. View "KVHiddenStarV".
class KVHiddenStar : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVHiddenStar, KVActor)

    /// Runs KVActor::init only; the four numbers are not used.
    virtual bool initWithRect(float x, float y, float width, float height);
    /// False (logged) without properties or without a physics world.
    bool initWithDictionary(kvobjects::Dict* properties) override;
    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVHiddenStarV"; }
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    bool isCameraTarget() override { return false; }
    void onRemoveActor(kvengine::CCNotification* notification) override;

    /// Metres.
    float getRadius() const { return m_radius; }
    bool isFound() const { return m_found; }

private:
    b2Body* m_body = nullptr;
    float m_radius = 0.0f;
    bool m_found = false;
};
