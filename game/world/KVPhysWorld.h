#pragma once

#include <vector>

#include "engine/base/CCString.h"
#include "game/world/KVSingletonObject.h"

class b2Body;
class b2Fixture;
class b2World;
struct b2Vec2;
class KVActor;
class KVContactListener;

/// The shared owner of the mission's physics world (zero gravity, metres, radians).
///
/// The level builder makes the world at mission load and the game model steps it once per update
/// and destroys it at mission end; the shared object itself lives until shutdown. The installed
/// contact listener hands every contact to both actors involved (see KVContactListener).
///
/// The world is locked while it steps, and contact operations run inside the step. Two services
/// keep observers of game events from touching a locked world:
/// - postNotification() queues a notification while a step runs and delivers it after the step
///   (at once otherwise). Contact code posts through it.
/// - destroyBody() destroys a body at once, or after the running step; a body waiting for the end
///   of the step no longer reaches any actor.
class KVPhysWorld : public KVSingletonObject<KVPhysWorld> {
public:
    CC_DECLARE_CLASS_NAME(KVPhysWorld, KVSingletonObject)

    ~KVPhysWorld() override;
    void cleanupBeforeDelete() override;

    /// Makes a new world (replacing any previous one) with the contact listener installed. The
    /// fixed time step follows the game setting "PhysicsUseFixedTimeStep" (missing setting or no
    /// settings object: off, logged). Refused (logged) during a step.
    void createWorld();
    /// Deletes the world, its bodies and the listener; queued notifications are dropped. No world:
    /// nothing. Refused (logged) during a step.
    void destroyWorld();
    /// The world, owned by this object; null between missions.
    b2World* getWorld() { return m_world; }
    bool usesFixedTimeStep() const { return m_fixedTimeStep; }
    void setFixedTimeStep(bool fixed) { m_fixedTimeStep = fixed; }

    /// Steps the world by `dt` seconds: one step, or with the fixed time step up to five sub-steps
    /// of at most 1/60 s followed by clearing every body's force and torque. Then destroys the
    /// bodies left for after the step and delivers the queued notifications. A negative or
    /// non-finite dt is logged and steps nothing.
    void update(float dt) override;

    /// The sub-steps of the fixed time step for a frame of `dt` seconds, written to `steps`.
    /// Returns their count (0 to 5). Time left after the fifth sub-step is dropped.
    static int planFixedSteps(float dt, float steps[5]);

    /// The first fixture accepted near `centre` (metres) within `radius`: every category; bodies
    /// that are static skipped when `skipStatic`; circles tested by the distance between their
    /// body's position and the centre, polygons by their bounding box. Null when none or no world.
    b2Fixture* queryFixtureNear(const b2Vec2& centre, float radius, bool skipStatic);
    b2Fixture* queryMovableFixtureNear(const b2Vec2& centre, float radius);
    b2Fixture* queryAnyFixtureNear(const b2Vec2& centre, float radius);

    /// True while the world is inside a step (its contact callbacks may be running).
    bool isStepping() const;
    /// Posts at once when the world is not stepping, else queues the post (object and user info
    /// retained) for delivery after the step, in posting order. Null name: logged, nothing posted.
    void postNotification(kvengine::CCString* name, kvengine::CCObject* object = nullptr,
                          kvengine::CCObject* userInfo = nullptr);
    /// Destroys a body of the current world, at once or, during a step, right after it. The body's
    /// user data is cleared at once so no actor hears of it again. False (logged) for null, for a
    /// body that is not in the current world, or, when `owner` is given, for a body whose user data
    /// names another actor (a stale pointer kept from an earlier world whose address came back).
    bool destroyBody(b2Body* body, KVActor* owner = nullptr);
    /// True for a body that waits for the end of the step to be destroyed.
    bool isBodyPendingDestruction(const b2Body* body) const;

private:
    struct QueuedPost {
        kvengine::CCString* name;
        kvengine::CCObject* object;
        kvengine::CCObject* userInfo;
    };

    void finishStep();
    void dropQueuedPosts();
    bool ownsBody(const b2Body* body) const;

    bool m_fixedTimeStep = false;
    b2World* m_world = nullptr;
    KVContactListener* m_contactListener = nullptr;
    std::vector<b2Body*> m_pendingBodies;
    std::vector<QueuedPost> m_queuedPosts;
};
