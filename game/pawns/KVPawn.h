#pragma once

#include "engine/base/CCString.h"
#include "game/world/KVActor.h"

class b2Body;

/// A fighting pawn: a player kelvo or an enemy, with a physics body.
///
/// What the contact listener and the sound manager read of a pawn: its side, whether its death has
/// been posted, its voice (prefix of its voice sound events) and its maximum launch speed. The
/// pawn owns its body; the body's user data points back to the pawn.
class KVPawn : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVPawn, KVActor)

    /// Releases the voice, destroys the body (when it is still in the world) and stops observing.
    void cleanupBeforeDelete() override;

    b2Body* getBody() override { return m_body; }

    /// True for pawns of the enemy side, false for the player's.
    bool isEnemy() const { return m_enemy; }
    /// True once the pawn's death has been posted.
    bool isDeathAnnounced() const { return m_deathAnnounced; }
    /// The "Voice" text of the pawn's parameters; null when it has none. Not retained for the caller.
    kvengine::CCString* getVoice() const { return m_voice; }
    /// Launch impulse over body mass, m/s; 0 until the body is made.
    float getMaxLaunchSpeed() const { return m_maxLaunchSpeed; }

protected:
    /// Stores (retains) the voice; null clears it.
    void setVoice(kvengine::CCString* voice);
    /// Destroys the body through the physics world (after the running step, if any) and forgets it.
    void destroyBody();

    kvengine::CCString* m_voice = nullptr;
    b2Body* m_body = nullptr;
    bool m_deathAnnounced = false;
    bool m_enemy = false;
    float m_maxLaunchSpeed = 0.0f;
};
