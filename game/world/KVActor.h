#pragma once

#include <string>

#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVContactInfo.h"
#include "game/world/KVObject.h"

class b2Body;

namespace kvengine {
class CCString;
}

/// A game model that lives in the physics world: pawns, level objects, attacks, pick-ups.
///
/// Units: metres and radians (counter-clockwise); its view shows it at 32 points per metre.
/// Subclasses with a body copy the body's position and angle into the actor each update and store
/// the actor in the body's user data, which is how the contact listener finds it.
///
/// Lifetime: whoever ends an actor posts EVENT_REMOVE_ACTOR with the actor as object. The actor then
/// marks itself removed (the contact listener ignores it from then on); subclasses also destroy
/// their body there (through KVPhysWorld::destroyBody, which waits for the end of a running step).
class KVActor : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVActor, KVObject)

    /// Stops every notification registration of the actor. Overrides end with this step.
    void cleanupBeforeDelete() override;

    /// Position (0, 0); observes EVENT_REMOVE_ACTOR about itself. Always true.
    virtual bool init();
    /// Initialises from a property dictionary (may be null); the base ignores it and calls init().
    virtual bool
    initWithDictionary(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties);
    /// Adopts a body made by the level builder; the base refuses (false).
    [[nodiscard]] virtual bool initWithBody(b2Body* body);
    /// Extra parameters after initialisation; the base does nothing.
    virtual void applyParameters(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* extra);
    /// Class name of the view made for this actor through the factory; "" for none.
    virtual std::string viewClassName();

    /// Contact operations, called by the contact listener (the world may be stepping: never change
    /// the world from here, and post notifications through KVPhysWorld::postNotification). A true
    /// answer keeps the other actor from hearing about this event.
    virtual bool beginContact(KVContactInfo* contact);
    virtual bool endContact(KVContactInfo* contact);
    virtual bool preSolve(KVContactInfo* contact);
    virtual bool postSolve(KVContactInfo* contact);

    /// The actor's body, owned by the actor; null for actors without one.
    virtual b2Body* getBody();
    virtual bool isCameraTarget();
    virtual bool triggersBounce();
    virtual bool countsForBounceAchievement();
    /// The stored position, metres.
    virtual void getPosition(float* x, float* y);
    /// Observer of EVENT_REMOVE_ACTOR about this actor: marks it removed.
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    /// False when the actor has no body or its speed is 0.5 m/s or less (the body is then stopped);
    /// true while it moves faster.
    bool stopIfSlow();
    /// Speed of the actor's body, m/s; 0 for an actor without a body.
    float getBodySpeed();

    /// What the physics world's listener and the sound manager ask of any actor, so they need not
    /// know the classes that answer (pawns answer theirs).
    /// True for an actor of the enemy side; false for the player's side and for actors without one.
    virtual bool isEnemy() const { return false; }
    /// True once the actor's death has been posted; false for actors that never die.
    virtual bool isDeathAnnounced() const { return false; }
    /// The prefix of the actor's voice sound events; null for an actor that does not speak. Not
    /// retained for the caller.
    virtual kvengine::CCString* getVoice() const { return nullptr; }
    /// Launch impulse over body mass, m/s; 0 for an actor that is never launched.
    virtual float getMaxLaunchSpeed() const { return 0.0f; }

    bool isRemoved() const { return removed; }

    float angle = 0.0f;
    float positionX = 0.0f;
    float positionY = 0.0f;
    /// Set once EVENT_REMOVE_ACTOR has named this actor.
    bool removed = false;
};
