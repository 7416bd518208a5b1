#pragma once

#include "game/objects/KVObjectBodies.h"
#include "game/world/KVActor.h"

/// A treasure chest of a solo mission (tile-map object "TreasureChest"): a solid static circle of
/// 0.75 m that pawns bounce off. The first touch by a human player's pawn opens it
/// ("EVENT_TREASURE_CHEST_OPENED") and, on the frame after, drops its pearls (a KVPearl of kind 20)
/// and its helmet (a KVPickupHelmet, which records the chest when taken); a chest without a helmet
/// records its id at once in the mission's opened chests. A chest the profile's "Treasure" records
/// hold as found starts open and gives nothing.
///
/// Properties: "x", "y", "width", "height" (pixels; the centre is the place), "image" (picture
/// stem: "<image>_closed.png", "<image>_opened.png"), "pearlReward" (0 when absent), "chestId" (a
/// chest without it never opens, logged), "helmetReward" (kept only when the profile knows the
/// helmet). On a map without the solo lists (multiplayer) nothing is recorded.
/// Ownership: the body and the three texts are owned. View "KVTreasureChestV".
class KVTreasureChest : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(KVTreasureChest, KVActor)

    static constexpr float kRadius = 0.75f;
    /// The action kind of the dropped pearls.
    static constexpr int kPearlRewardKind = 20;

    void cleanupBeforeDelete() override;
    /// Drops the rewards of an opening (after the physics step that opened it).
    void update(float dt) override;
    /// False (logged) without properties or without a physics world.
    bool initWithDictionary(kvobjects::Dict* properties) override;
    std::string viewClassName() override { return "KVTreasureChestV"; }
    bool beginContact(KVContactInfo* contact) override;
    bool triggersBounce() override { return true; }
    bool countsForBounceAchievement() override { return true; }
    b2Body* getBody() override { return m_body; }
    void onRemoveActor(kvengine::CCNotification* notification) override;

    bool isOpened() const { return m_opened; }
    float getRadius() const { return m_radius; }
    int getPearlReward() const { return m_pearlReward; }
    /// Null when absent.
    kvengine::CCString* getChestId() const { return m_chestId; }
    kvengine::CCString* getImage() const { return m_image; }
    /// Null when absent or unknown to the profile.
    kvengine::CCString* getHelmetReward() const { return m_helmetReward; }

private:
    void dropRewards();

    b2Body* m_body = nullptr;
    float m_radius = kRadius;
    bool m_opened = false;
    bool m_rewardPending = false;
    int m_pearlReward = 0;
    kvengine::CCString* m_chestId = nullptr;
    kvengine::CCString* m_image = nullptr;
    kvengine::CCString* m_helmetReward = nullptr;
};
