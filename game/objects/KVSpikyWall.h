#pragma once

#include "game/world/KVActor.h"

/// A static outline with spikes: pawns that strike it are hurt by their own speed (action type 11).
///
/// Made from a tile-map rectangle ("x", "y", "width", "height" in pixels; four solid edges), or
/// handed a body drawn in the level's SVG, which it keeps as drawn. It has no view: the level art
/// shows it. The body belongs to the physics world (it goes with the world at mission end).
class KVSpikyWall : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVSpikyWall, KVActor)

    /// Destroys the body when the world still holds it.
    void cleanupBeforeDelete() override;
    /// False (logged) without a dictionary or without a physics world.
    bool
    initWithDictionary(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties) override;
    /// False (logged) for a null body.
    [[nodiscard]] bool initWithBody(b2Body* body) override;
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }

private:
    b2Body* m_body = nullptr;
};
