#pragma once

#include "engine/nodes/CCMenuItemSprite.h"

namespace kvengine {
class CCSprite;
class CCString;
} // namespace kvengine

/// One mission bubble of the world-map carousel: the mission's picture ("KV_bubbleMission<name>",
/// or "KV_bubbleMissionDefault" when the mission has none) at scale 1.2 inside the frame
/// "KV_CadreBulle", with the stars earned in a strip underneath (tag 3, three stars wide, the stars
/// from the left). A locked mission shows the default picture in "KV_CadreBulleLocked" and starts
/// disabled. Its target is the carousel (KVScrollScalableItem::onItemActivated).
class KVMissionItem : public kvengine::CCMenuItemSprite {
public:
    CC_DECLARE_CLASS_NAME(KVMissionItem, kvengine::CCMenuItemSprite)

    static constexpr int kStarStripTag = 3;
    static constexpr float kBubbleScale = 1.2f;

    /// An autoreleased bubble; null (logged) when its pictures are missing.
    static KVMissionItem* createWithMission(bool locked, int starCount, kvengine::CCString* missionName,
                                            kvengine::CCObject* target);
    [[nodiscard]] bool initWithMission(bool locked, int starCount, kvengine::CCString* missionName,
                                       kvengine::CCObject* target);
    void cleanupBeforeDelete() override;

    int starCount = 0;

private:
    kvengine::CCSprite* m_bubble = nullptr;
    kvengine::CCSprite* m_pressedBubble = nullptr;
};
