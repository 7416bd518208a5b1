#pragma once

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

class KVActor;
class KVPawn;
class KVProjectile;
struct KVContactInfo;

/// A temporary modifier carried by a pawn (energy drink, sushi, spiky shell, ninja log, shuriken).
///
/// The pawn keeps its modifiers in a list (KVPawn::getModifiers) and calls the hooks below: update
/// every frame, the turn hooks at its own turn start and end, the contact hooks from its contact
/// callbacks, getMovePowerFactor inside KVPawn::getMovePower. After each update and turn hook, and
/// when a new modifier displaces it (canCoexistWith false), a modifier whose `active` flag is clear
/// is dropped: the pawn calls detachFromOwner and takes it out of its list.
///
/// Ownership: the owner's list retains the modifier and the modifier retains its owner; the
/// owner's "EVENT_REMOVE_ACTOR", "EVENT_GAME_SHUTDOWN" or a drop break the cycle (detachFromOwner).
/// The base is kind 5 and changes nothing; the kinds override what they need.
class KVPowerup : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVPowerup, KVObject)

    /// Kind 5, no owner, active; observes "EVENT_GAME_SHUTDOWN" (-> detachFromOwner).
    KVPowerup();
    /// Stops observing and releases the owner.
    void cleanupBeforeDelete() override;
    /// Every frame, from the owner's update. The base does nothing.
    void update(float dt) override;

    /// Releases the owner and stops observing its removal. Also the handler of the owner's
    /// "EVENT_REMOVE_ACTOR" and of "EVENT_GAME_SHUTDOWN" (the notification may be null).
    virtual void detachFromOwner(kvengine::CCNotification* notification);
    /// Owner := pawn (retained); observes "EVENT_REMOVE_ACTOR" about the pawn.
    virtual void attachToPawn(KVPawn* pawn);
    /// At the owner's own "EVENT_START_TURN" / "EVENT_END_TURN_BEFORE_BUFFER". Base: nothing.
    virtual void onOwnerTurnStart();
    virtual void onOwnerTurnEnd();
    /// From the owner's pre-solve: true disables that contact for the step. Base: false.
    virtual bool interceptContact(KVActor* other);
    /// True absorbs a projectile's hit on the owner. Base: false.
    virtual bool interceptProjectile(KVProjectile* projectile);
    /// False when this modifier must give way to `newModifier`; base: true when the kinds differ.
    virtual bool canCoexistWith(KVPowerup* newModifier);
    /// From the owner's begin and end contact callbacks. Base: false.
    virtual bool onOwnerBeginContact(KVContactInfo* contact);
    virtual bool onOwnerEndContact(KVContactInfo* contact);
    /// Factor on the owner's Move Power while carried. Base: 1.
    virtual float getMovePowerFactor();
    /// Display name, picture and HUD picture, autoreleased; null for the base.
    virtual kvengine::CCString* getName();
    virtual kvengine::CCString* getIconName();
    virtual kvengine::CCString* getHudIconName();

    /// The pawn carrying it; null before attachToPawn and after detachFromOwner. Not retained for
    /// the caller.
    KVPawn* getOwner() const { return m_owner; }

    /// 0 energy drink, 1 sushi, 2 spiky shell, 3 ninja log, 4 shuriken, 5 the base.
    int kind = 5;

protected:
    KVPawn* m_owner = nullptr;
};
