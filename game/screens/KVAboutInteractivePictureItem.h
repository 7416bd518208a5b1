#pragma once

#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCString;
}
class KVScrollScalableItem;

/// The body of the about screen, a layer of the window's size: the carousel of staff bubbles, and
/// under it the current member's title (tag 10) and the description of their job in a text box
/// (tag 11). The carousel tells it of every new current bubble (showStaffMember).
///
/// Staff table (key: staff key; values as strings): "item_number" (the member's place in the row,
/// from 0), "name" (the title when the staff key has no text of its own), optional "fontSize" of
/// the description (20 when absent). The title is the localised text of the staff key, else the
/// localised "name", else "name" itself; the description is the text "about_screen_<key>", the key
/// lower-cased with its first space as "_", and empty when the tables have none.
class KVAboutInteractivePictureItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVAboutInteractivePictureItem, KVMenuItem)

    enum Tag { kNameTag = 10, kDescriptionTag = 11 };
    /// Item numbers the carousel looks up.
    static constexpr int kScanCount = 64;
    /// Size of a description without its own "fontSize".
    static constexpr float kDescriptionSize = 20.0f;
    static constexpr float kNameSize = 24.0f;

    /// An autoreleased display of the staff table (each entry also gets "key"); null when the layer
    /// cannot be made.
    static KVAboutInteractivePictureItem* createWithStaff(kvdata::Dict* staff);
    bool initWithStaff(kvdata::Dict* staff);
    void cleanupBeforeDelete() override;

    /// The carousel's entry-changed handler; `number` is a CCValue<int>, the member's item number.
    void showStaffMember(kvengine::CCNode* node, void* number);
    /// The staff key of the first member (in key order) whose "item_number" reads `number`, or null.
    kvengine::CCString* findMemberKey(int number);

    /// The text key of a member's description: "about_screen_" + key, lower-cased, first space "_".
    static std::string descriptionKey(const std::string& staffKey);

    KVScrollScalableItem* getCarousel() const { return m_carousel; }

private:
    kvdata::Dict* m_memberByNumber = nullptr;
    KVScrollScalableItem* m_carousel = nullptr; // a child
};
