#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// A whirlpool of the level (tile-map object "Vortex"): a static circular sensor (category 2, empty
/// mask, group 1) that meets only the small group-1 probes of pawns and coconuts. Every frame it
/// pulls each pawn or coconut whose probe is inside towards its centre with the linear impulse
/// "PullPower" x unit(centre - body); nearer than 1.25 m it only slows the body by 5 % a frame.
///
/// Properties: "x", "y", "width", "height" (pixels: the centre, and half the width is the
/// radius) and "PullPower" (required).
/// Ownership: the body is owned; the list of actors inside is retained (the actors are not kept
/// beyond their removal: "EVENT_REMOVE_ACTOR" drops them).
class KVVortex : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVVortex, KVActor)

    /// Inside this distance of the centre, metres, a body is slowed instead of pulled.
    static constexpr float kSlowZone = 1.25f;
    static constexpr float kSlowFactor = 0.95f;

    void cleanupBeforeDelete() override;
    /// Pulls or slows every listed actor.
    void update(float dt) override;
    /// False (logged) without properties, without a physics world or without "PullPower".
    bool initWithDictionary(kvobjects::Dict* properties) override;
    std::string viewClassName() override { return "KVVortexV"; }
    /// A pawn or a coconut joins the list (true); anything else: false.
    bool beginContact(KVContactInfo* contact) override;
    /// A pawn or a coconut leaves the list (true); anything else: false.
    bool endContact(KVContactInfo* contact) override;
    b2Body* getBody() override { return m_body; }
    bool isCameraTarget() override { return false; }
    /// From anyone: a removed actor leaves the list; about itself, it is marked removed.
    void onRemoveActor(kvengine::CCNotification* notification) override;

    float getRadius() const { return m_radius; }
    float getPullPower() const { return m_pullPower; }
    kvengine::CCMutableArray<KVActor*>* getActors() const { return m_actors; }

private:
    b2Body* m_body = nullptr;
    float m_radius = 0.0f;
    float m_pullPower = 0.0f;
    kvengine::CCMutableArray<KVActor*>* m_actors = nullptr;
};

/// True for the actors that hazards move: pawns and coconuts (spiky balls included).
bool kvIsPushedByHazards(KVActor* actor);

/// The list of actors a hazard holds: a contact adds the other actor once and its end removes it,
/// both only for actors that hazards move (true then); a removed actor leaves the list.
bool kvHazardContactBegins(kvengine::CCMutableArray<KVActor*>* actors, KVContactInfo* contact);
bool kvHazardContactEnds(kvengine::CCMutableArray<KVActor*>* actors, KVContactInfo* contact);
void kvHazardForgetsActor(kvengine::CCMutableArray<KVActor*>* actors, kvengine::CCObject* removed);
