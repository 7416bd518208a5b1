#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCEvent;
class CCNode;
class CCNotification;
class CCSprite;
class CCString;
class CCTouch;
} // namespace kvengine

/// The shop's panel of the chosen entry: picture, name, description or stats, and the price on
/// the buy (recruit) button. Categories: 0 creature, 1 helmet, 2 consumable.
///
/// A purchase takes two presses: the first arms the button (it flashes and reads "Buy" or
/// "Recruit"), the second checks the price (pop-up kind 1 when the player lacks pearls) and the
/// maximum amount of a consumable (pop-up kind 3) and hands the catalogue entry to the store
/// delegate, which delivers it, takes the price, shows the purchase pop-up and saves. A helmet or
/// creature bought leaves the shop: the view reopens its tab. An item sold for real money is shown
/// with its picture and text and a dimmed, disabled "Not sold in this edition" button: this edition
/// has no store to pay in.
///
/// The panel loads the item's own sheet (creatures "<name>/<name>_ss", helmets the menu form
/// "<name>/<name>_frontend_ss") while it lives and unloads every sheet it loaded when it goes.
class KVShopInfoItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVShopInfoItem, KVMenuItem)

    enum Category { kCreature = 0, kHelmet = 1, kConsumable = 2 };

    /// Child tags.
    static constexpr int kIdleTag = 0;
    static constexpr int kHelmetPictureTag = 1;
    static constexpr int kPictureTag = 2; ///< the consumable's picture; the stats labels menu
    static constexpr int kStatsValuesTag = 3;
    static constexpr int kDescriptionTag = 6;
    static constexpr int kButtonTag = 7;
    static constexpr int kHintTag = 8;

    static KVShopInfoItem* createWithEntry(kvdata::Dict* entry, int mode, int category);

    KVShopInfoItem();
    void cleanupBeforeDelete() override;
    /// Builds the panel; a null entry or a mode other than 1 leaves it empty.
    void initWithEntry(kvdata::Dict* entry, int mode, int category);

    /// Adds a sheet's frames once ("<folder>/<name>.plist", the folder being the name without its
    /// "_ss" and "_frontend"); a missing sheet is logged and not recorded.
    void loadSheet(kvengine::CCString* sheetName);
    /// Removes the frames and texture of a sheet this panel loaded.
    void unloadSheet(kvengine::CCString* sheetName);
    /// The creature's idle loop as child 0 of `parent`; null for an empty name or a missing frame.
    kvengine::CCSprite* playIdleAnimation(kvengine::CCString* spriteName, kvengine::CCNode* parent);
    /// Removes the buy button (observer of "Menu - Buy - Consumable" after a money purchase).
    virtual void removeBuyButton(kvengine::CCNotification* notification);
    void setCatalogueItem(kvdata::Dict* item);
    /// Touches are taken only by the unavailable button of an item sold for real money: a touch
    /// on it gets the refusal sound ("EVENT_BUTTON_INVALIDATED") and nothing else.
    void registerWithTouchDispatcher() override;
    bool touchBegan(kvengine::CCTouch* touch, kvengine::CCEvent* event) override;

    void onBuyConsumablePressed(kvengine::CCObject* sender);
    void onBuyHelmetPressed(kvengine::CCObject* sender);
    void onRecruitKelvoPressed(kvengine::CCObject* sender);

    kvdata::Dict* getEntry() const { return m_entry; }
    kvdata::Dict* getCatalogueItem() const { return m_catalogueItem; }
    kvdata::Dict* getLoadedSheets() const { return m_loadedSheets; }
    bool isConfirming() const { return m_confirm; }

    /// A helmet sheet in its menu form: "_ss" becomes "_frontend_ss" unless the name already ends
    /// in "_frontend_ss".
    static std::string menuSheetName(const std::string& sheetName);
    /// The folder of a sheet: the name without "_ss" and "_frontend".
    static std::string sheetFolder(const std::string& sheetName);
    /// A stat as the panel writes it: "  %2.0f%%" of v x 100 for 0 < v < 1, else "  %2.0f".
    static std::string statText(float value);

private:
    void buildConsumable();
    void buildHelmet();
    void buildCreature();
    void buildStats(bool helmet);
    void addBackdrop();
    void addTitle(kvengine::CCString* title);
    /// The unavailable button of an item sold for real money.
    void addUnavailableButton();
    bool paidWithMoney() const;
    /// Arms the button on a first press; true when the press was a first press.
    bool armOnFirstPress(const char* labelKey);
    void disarmButton();
    void replaceLabel(kvengine::CCNode* item, const char* key);
    /// The price in pearls: the catalogue's, or the game data's under "IgnoreOFXForPlists" or
    /// without a catalogue item.
    int price(bool bypass) const;
    /// Second press of a helmet or creature.
    void buyUnlockable(bool creature);
    /// Calls the shop view (the parent) after a purchase; false when there is none.
    void notifyView(bool creature, kvengine::CCString* className);
    std::string framesFile(const std::string& sheetName, const char* extension) const;

    kvdata::Dict* m_loadedSheets = nullptr;
    kvdata::Dict* m_entry = nullptr;
    kvdata::Dict* m_catalogueItem = nullptr;
    bool m_confirm = false;
    int m_category = -1;
};
