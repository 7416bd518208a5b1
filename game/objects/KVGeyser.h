#pragma once

#include <utility>
#include <vector>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// A current along a rectangle drawn in the level's SVG (object description "object=Geyser",
/// "objectparams=power:N"): every frame it pushes each pawn and coconut touching the rectangle
/// with the linear impulse J = power x (cos a, sin a), a = the body's angle + pi/2 (the drawn
/// rectangle's "up"); a body at a dead stop is first given J as its velocity (anchored pawns
/// excepted). Dead pawns are not pushed.
///
/// Busy: while it holds an actor that is not an anchored pawn, the geyser counts as busy
/// ("EVENT_NOTIFY_IN_ACTION" once, "EVENT_NOTIFY_IDLE" when that ends), so a move waits for what it
/// pushes. When no body it holds has got more than 0.5 m from where it was a second earlier
/// (pushed against a wall, say: it only bounces there) it counts as idle, so the move can end.
///
/// The drawn body must carry a four-vertex polygon (a rectangle); its first vertex pair gives
/// the width, the second the height, and the position is the rectangle's base corner.
/// Ownership: the drawn body is adopted (destroyed at clean-up while the world exists); the list
/// of actors inside is retained.
/// A position, metres (a plain pair: this header stays free of the physics library).
struct b2Vec2Pod {
    float x = 0.0f;
    float y = 0.0f;
};

class KVGeyser : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVGeyser, KVActor)

    /// A body that stays within this distance, metres, of where it was for this long, seconds,
    /// is stuck (0.5 m/s on average): the geyser stops waiting for it.
    static constexpr float kRestDistance = 0.5f;
    static constexpr float kRestSeconds = 1.0f;

    void cleanupBeforeDelete() override;
    void update(float dt) override;
    /// False (logged) for a null body or one whose first fixture is not a polygon of four
    /// vertices or more. The first fixture becomes category 2.
    [[nodiscard]] bool initWithBody(b2Body* body) override;
    /// power := atof("power") x 0.5.
    void applyParameters(kvobjects::Dict* extra) override;
    std::string viewClassName() override { return "KVGeyserV"; }
    bool beginContact(KVContactInfo* contact) override;
    bool endContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    /// The camera does not follow it.
    bool isCameraTarget() override { return false; }
    void onRemoveActor(kvengine::CCNotification* notification) override;

    float getPower() const { return m_power; }
    float getPushAngle() const { return m_pushAngle; }
    float getWidth() const { return m_width; }
    float getHeight() const { return m_height; }
    bool isBusy() const { return m_busy; }
    kvengine::CCMutableArray<KVActor*>* getActors() const { return m_actors; }

private:
    /// True once every held body has stayed near where it was for kRestSeconds.
    bool areBodiesStuck(kvengine::CCMutableArray<KVActor*>* inside, float dt);

    b2Body* m_body = nullptr;
    float m_power = 0.0f;
    float m_pushAngle = 0.0f;
    float m_width = 0.0f;
    float m_height = 0.0f;
    /// Where each held body was when the current rest window began, and how long it has run.
    std::vector<std::pair<KVActor*, b2Vec2Pod>> m_restFrom;
    float m_restTime = 0.0f;
    bool m_busy = false;
    kvengine::CCMutableArray<KVActor*>* m_actors = nullptr;
};
