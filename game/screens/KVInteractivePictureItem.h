#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCString;
}
class KVScrollScalableItem;

/// The world map's central panel: the carousel of mission bubbles and, under it, the current
/// mission's title and its three stars (secret, survival, speed), each earned or not, with
/// captions. A new current bubble refreshes them and becomes the profile's last played mission; a
/// tap on the current bubble hands the mission's name to the world map (its parent).
///
/// Children: carousel (z 1), title (tag 11), zone (tag 1), secret star not earned / earned / caption
/// (12, 13, 14), survival (15, 16, 17), speed (18, 19, 20, the caption with the turn figure).
class KVInteractivePictureItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVInteractivePictureItem, KVMenuItem)

    enum Tag {
        kZoneTag = 1,
        kTitleTag = 11,
        kSecretMissingTag = 12,
        kSecretEarnedTag = 13,
        kSecretCaptionTag = 14,
        kSurvivalMissingTag = 15,
        kSurvivalEarnedTag = 16,
        kSurvivalCaptionTag = 17,
        kSpeedMissingTag = 18,
        kSpeedEarnedTag = 19,
        kSpeedCaptionTag = 20,
    };
    /// Item numbers the carousel looks up.
    static constexpr int kScanCount = 64;

    /// An autoreleased panel of the missions (name -> entry); null when the layer cannot be made.
    static KVInteractivePictureItem* createWithMissions(kvdata::Dict* missions);
    [[nodiscard]] bool initWithMissions(kvdata::Dict* missions);
    void cleanupBeforeDelete() override;

    /// The first mission whose "item_number" reads `number` (autoreleased), or null.
    kvengine::CCString* keyForItemNumber(int number);
    /// The carousel's entry-changed handler; `index` is a CCValue<int> display position.
    void showMission(kvengine::CCNode* node, void* index);
    /// The carousel's activation handler; `missionName` is the bubble's CCString.
    void missionActivated(kvengine::CCNode* node, void* missionName);

    KVScrollScalableItem* getCarousel() const { return m_carousel; }
    kvdata::Dict* getMissions() const { return m_missions; }

private:
    kvdata::Dict* m_missions = nullptr;
    KVScrollScalableItem* m_carousel = nullptr; // a child
};
