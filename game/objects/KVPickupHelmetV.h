#pragma once

#include "engine/base/CCGeometry.h"
#include "game/world/KVActorV.h"

class KVPickupHelmet;

/// The view of a helmet out of a chest: its icon ("<helmet>_frontend_01.png") grows on the
/// gameplay layer (0.3 s), bobs until 0.4 s, then the view takes it: "EVENT_TREASURE_CHEST_HELMET_REWARD"
/// with the helmet name, the reward recorded (KVPickupHelmet::grantReward), and a 0.4 s flight to
/// the pawn whose turn it is (else it stays where it is) while it shrinks and fades, after which it
/// posts "EVENT_REMOVE_ACTOR" for the model.
///
/// Without the icon the view still takes the helmet at 0.4 s and removes it at once (logged).
class KVPickupHelmetV : public KVActorV {
public:
    CC_DECLARE_CLASS_NAME(KVPickupHelmetV, KVActorV)

    static constexpr float kAppearTime = 0.3f;
    static constexpr float kRestTime = 0.4f;
    static constexpr float kFlightTime = 0.4f;

    /// False for a model that is no pick-up helmet (logged). Posts "EVENT_PEARL_SPWANED".
    [[nodiscard]] bool initWithActor(KVActor* model, KVActorViewHost* host) override;
    void cleanupBeforeDelete() override;
    void update(float dt) override;

    virtual void onSingleTap(kvengine::CCNotification* notification);

    bool hasAppeared() const { return m_appeared; }
    bool isCollecting() const { return m_collecting; }
    /// Points.
    kvengine::CCPoint getTarget() const { return m_target; }

private:
    void pickUp();
    void postRemoval();

    float m_elapsed = 0.0f;
    bool m_appeared = false;
    bool m_collecting = false;
    kvengine::CCPoint m_target;
};
