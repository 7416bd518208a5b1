#pragma once

#include "game/world/KVActor.h"

/// The sensor outline of the playing field or of a hole. Its edges (group 1, empty mask) meet only
/// the fall probes of pawns and coconuts, and any other sensor of group 1: a pawn that reaches it
/// falls (EVENT_PAWN_FALL), a coconut falls (EVENT_COCONUT_FALL), any other actor leaves the game
/// (EVENT_REMOVE_ACTOR).
///
/// The level builder keeps the borders it makes with initWithRect (they are not announced); a hole
/// drawn in the level's SVG is adopted through initWithBody and announced. The body belongs to the
/// physics world; the border destroys it at clean-up while the world still holds it.
class KVMapBorder : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVMapBorder, KVActor)

    void cleanupBeforeDelete() override;
    /// Turns every fixture of `body` into a group-1 sensor (category and mask kept). False
    /// (logged) for a null body.
    [[nodiscard]] bool initWithBody(b2Body* body) override;
    bool beginContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }

    /// (x, y) the lower-left corner, all in metres. False (logged) without a physics world.
    [[nodiscard]] virtual bool initWithRect(float x, float y, float width, float height);

private:
    b2Body* m_body = nullptr;
};
