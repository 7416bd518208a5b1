#pragma once

#include <string>

#include "game/menu/KVPortraitIcon.h"

namespace kvengine {
class CCNotification;
class CCString;
} // namespace kvengine

/// An icon of the shop's lists: a creature (kind 3), a helmet (kind 4) or a consumable (kind 5).
///
/// Creatures and helmets sit in the large frames "KV_CadreLargeNormal.png" / "KV_CadreLargeSelect.png",
/// consumables in "KV_CadreStuffNormal.png" / "KV_CadreStuffSelect.png". The picture is a child of the
/// icon in front of either frame; a picture missing from the loaded sheets is replaced by
/// "KV_vesperLarge.png" inside the normal frame. An item the profile lists as unseen carries the
/// "new" mark (tag 25), the item the tutorial points at carries the double-tap hint (tag 365).
///
/// A consumable icon shows what the player owns: a pack the owned mark "KV_IconeEquip.png", any
/// other consumable a badge with its amount (tags 26 and 27). It listens to
/// "Menu - Buy - Consumable" (object: the bought consumable's name) for as long as it lives.
class KVPortraitRadioShopIcon : public KVPortraitIcon {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitRadioShopIcon, KVPortraitIcon)

    enum Kind { kCreature = 3, kHelmet = 4, kConsumable = 5 };

    /// Autoreleased icon for a picture frame name ("KV_<creature>Large.png",
    /// "<helmet>_frontend_01.png", "<consumable>_shop.png"); null (logged) for a kind other than 3,
    /// 4 and 5 or when the frames are not loaded.
    static KVPortraitRadioShopIcon* createWithName(kvengine::CCString* pictureName,
                                                   kvengine::CCObject* target,
                                                   kvengine::SEL_MenuHandler selector, int kind);
    [[nodiscard]] bool initWithName(kvengine::CCString* pictureName, kvengine::CCObject* target,
                                    kvengine::SEL_MenuHandler selector, int kind);

    void cleanupBeforeDelete() override;

    /// Takes the tutorial hint away, adds it again when the tutorial's step points at this item,
    /// and shows the normal frame.
    void resetLook();
    /// The owned mark or amount badge from the player profile (consumables; nothing when the
    /// player owns none).
    void refreshAmount();
    /// Observer of "Menu - Buy - Consumable": refreshes the amount when this consumable was bought.
    virtual void onConsumableBought(kvengine::CCNotification* notification);

    /// The picture name as the icon keeps it (trimmed of its suffix by resetLook and refreshAmount).
    kvengine::CCString* getPictureName() const { return m_pictureName; }
    int getKind() const { return m_kind; }

private:
    void setPictureName(const std::string& name);
    /// The picture name without "_frontend_01.png", "KV_" and "Large.png": the item's base name.
    std::string baseName() const;
    void addTutorialHintIfPointed();

    kvengine::CCString* m_pictureName = nullptr;
    int m_kind = 0;
};
