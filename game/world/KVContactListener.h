#pragma once

#include <box2d/box2d.h>

class KVActor;
class KVPhysWorld;
struct KVContactInfo;

/// Turns every contact event of the physics world into calls on the two actors involved.
///
/// An actor is found through its body's user data (null: no actor). Actor A (of fixture A) is
/// called first with the manifold normal as is, then actor B with the normal reversed, unless A
/// answers true. A contact that involves a removed actor, or a body waiting to be destroyed, calls
/// nobody, and pre-solve disables it for the step. The listener keeps no state of its own; the
/// physics world it reports to queues what it posts until the step is over.
class KVContactListener : public b2ContactListener {
public:
    explicit KVContactListener(KVPhysWorld* world) : m_physWorld(world) {}

    void BeginContact(b2Contact* contact) override;
    void EndContact(b2Contact* contact) override;
    void PreSolve(b2Contact* contact, const b2Manifold* oldManifold) override;
    void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;

    /// The actor stored in a body's user data; null for a null body or one without an actor.
    static KVActor* actorOf(const b2Body* body);

private:
    enum class Event { Begin, PreSolve, PostSolve };

    // The actor of a fixture's body; null when it has none or the body waits to be destroyed.
    KVActor* actorOfFixture(b2Fixture* fixture) const;
    bool isIgnored(b2Fixture* fixture) const;
    void reportToBoth(b2Contact* contact, Event event);
    static bool call(KVActor* actor, Event event, KVContactInfo* info);
    void postBlinkIfNeeded(KVActor* a, KVActor* b);

    KVPhysWorld* m_physWorld;
};
