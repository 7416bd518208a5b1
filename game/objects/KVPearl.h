#pragma once

#include <string>

#include "game/world/KVPickableObject.h"

/// Pearls given where a reward falls: a defeated enemy, an opened chest, a combo. The model only
/// holds the amount and the kind of action that reports it; its view (KVPearlV) shows the pearls,
/// flies them to the pawn whose turn it is and then collects them through postAcquiredEvents.
///
/// Made directly (never by class name) and autoreleased by its maker: the game model keeps it from
/// its "EVENT_NEW_ACTOR" on.
class KVPearl : public KVPickableObject {
public:
    CC_DECLARE_CLASS_NAME(KVPearl, KVPickableObject)

    static constexpr float kPickRadius = 2.5f;

    /// At `source`'s position (the origin when null); posts "EVENT_NEW_ACTOR" with the pearl.
    KVPearl(KVActor* source, int value, int rewardKind);

    std::string viewClassName() override { return "KVPearlV"; }
    /// 2.5 m, or 0 once collected.
    float getPickRadius() override;

    /// "EVENT_PEARL_ACQUIRED" with the pearl once for values up to 6, twice up to 20, three times
    /// up to 50, four times above (one pick-up sound each); then "EVENT_ACTION" of the reward kind
    /// with the value, for the score and the profile. Marks the pearl collected: a second call posts
    /// nothing (logged).
    void postAcquiredEvents();
    /// How many "EVENT_PEARL_ACQUIRED" a value announces.
    static int acquiredPostCount(int value);

    int getValue() const { return m_value; }
    int getRewardKind() const { return m_rewardKind; }
    bool isCollected() const { return m_collected; }

private:
    int m_value = 0;
    int m_rewardKind = 0;
    bool m_collected = false;
};
