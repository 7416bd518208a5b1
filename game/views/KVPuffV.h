#pragma once

#include "engine/base/CCRetained.h"
#include "game/world/KVActorV.h"

/// The view of a KVPuff: invisible until "EVENT_BEGIN_PUFF" about its pawn, then 0.3 s of smoke,
/// "EVENT_MIDDLE_PUFF" with the pawn (the pawn may be removed then), 0.3 s more and
/// "EVENT_REMOVE_ACTOR" with the puff. Drawn in the effect sheet "top_sfx_51_ss": scale 1.5 and
/// offset by (25, -10) points over a player-side pawn, 2.0 over a crab, 1.3 over other enemies.
class KVPuffV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVPuffV, KVActorV)

    /// Stops the smoke, releases both halves, then the base members.
    void cleanupBeforeDelete() override;
    /// Binds a KVPuff (anything else refused, logged), makes the hidden sprite, picks the frames
    /// and scale by the pawn's side and kind, and observes "EVENT_BEGIN_PUFF".
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    /// Follows the pawn while the puff knows it; otherwise stays where it is.
    void update(float dt) override;
    /// Starts the smoke when the notification's object is the puff's pawn. Without a sheet on the
    /// screen both halves are skipped: the middle and the end are posted at once.
    virtual void onBeginPuff(kvengine::CCNotification* notification);

    kvengine::CCAnimate* getFirstHalf() const { return m_firstHalf; }
    kvengine::CCAnimate* getSecondHalf() const { return m_secondHalf; }
    /// True when the pawn is on the player side.
    bool isCreature() const { return m_creature; }

private:
    void place();
    void middleStep();
    void endStep();

    kvengine::CCRetained<kvengine::CCAnimate> m_firstHalf;
    kvengine::CCRetained<kvengine::CCAnimate> m_secondHalf;
    bool m_creature = false;
    bool m_shown = false;
};
