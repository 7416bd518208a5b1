#pragma once

#include <string>
#include <vector>

#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItem.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVMenuItem.h"

namespace kvengine {
class CCMenuItemSprite;
class CCString;
} // namespace kvengine
class KVPortraitIcon;

/// The menu that holds the first page of a build or of a class change (later pages live in a plain
/// `CCMenu`); it only names its class.
class KVPortraitItemMenu : public kvengine::CCMenu {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitItemMenu, kvengine::CCMenu)
    /// An empty, autoreleased menu.
    static KVPortraitItemMenu* create();
};

/// A portrait list: the items of one kind as a grid of portrait icons, a page at a time, with page
/// arrows and, for the shop's creatures and helmets, four class tabs.
///
/// Kinds: 1 plain list of `KVPortraitSimpleIcon` (6 a page, no arrows); 2 the equipment screen's
/// helmets (`KVPortraitRadioIcon`; page 1 holds the remove-helmet icon and 5 helmets, later pages 6);
/// 3 shop creatures, 4 shop helmets (`KVPortraitRadioShopIcon`, 6 a page, class tabs); 5 shop
/// consumables (9 a page).
///
/// Entries: key = the item's name (it becomes the icon's user object) -> dictionary of strings:
/// "item_number" (list position from 0; kinds 2-5), "sprite_name", "status_locked" (0 unlocked,
/// 1 locked, 2 offered in the shop, 3 not shown; kinds 1 and 2), "status_selected" (1 for the item
/// in use; kinds 1 and 2) and "Class" (kinds 2-4).
///
/// Every icon, on every page, calls the handler given at creation on the given target (the screen
/// view, which adds the list at (0, 0)); kind 2's remove-helmet icon calls the remove handler. Icons
/// are tagged 20 + their position in list order in the page menu (tag 100). The list finds the
/// shop view's first-build flag through `KVPortraitListOwner` on its target, and hands the equipment
/// screen's character card (child 9 of the target) the worn helmet's icon through
/// `KVChosenHelmetIconHolder`.
///
///     KVPortraitItem* list = KVPortraitItem::createWithEntries(entries, 4, view,
///                                                             menu_selector(KVShopScreenView::onHelmetSelected));
///     view->addChildAtZWithTag(list, 3, 7);
///     KVPortraitItem::selectClass(kvdata::newString("Frigate"), list);
class KVPortraitItem : public KVMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitItem, KVMenuItem)

    enum Kind { kSimple = 1, kEquipHelmets = 2, kShopCreatures = 3, kShopHelmets = 4, kShopConsumables = 5 };

    /// Child tags of the list.
    static constexpr int kPageMenuTag = 100;
    static constexpr int kFirstIconTag = 20;     ///< in the page menu: 20 + position
    static constexpr int kRemoveHelmetTag = 362; ///< in the page menu (kind 2, page 1)
    static constexpr int kBannerTag = 239;
    static constexpr int kArrowTag = 240;
    static constexpr int kNothingLabelTag = 363;
    static constexpr int kComeBackLabelTag = 364;
    static constexpr int kHintTag = 365;
    static constexpr int kTabButtonTag = 1; ///< the button inside a tab's menu
    /// Tag of the screen view's child that the list removes on a class change (the shop's details
    /// panel), and of the equipment screen's character card.
    static constexpr int kDetailsPanelTag = 6;
    static constexpr int kCharacterCardTag = 9;

    /// A new autoreleased list, already built. `removeSelector` is the remove-helmet icon's handler
    /// (kind 2). Null for a kind other than 1 to 5 (logged).
    static KVPortraitItem* createWithEntries(kvdata::Dict* entries, int kind, kvengine::CCObject* target,
                                             kvengine::SEL_MenuHandler selector,
                                             kvengine::SEL_MenuHandler removeSelector = nullptr);

    KVPortraitItem();
    void cleanupBeforeDelete() override;

    /// Fills the list: page 1, the banner or remove-helmet icon, tabs, arrows, empty-list labels.
    void build(kvengine::SEL_MenuHandler selector, kvengine::CCObject* target, kvdata::Dict* entries);
    /// Re-applies the looks of the shown page after the screen recorded a choice (kind 2: the
    /// selected frame follows "status_selected"; kinds 3-5: every icon back to its normal look).
    void refreshPortraits(kvengine::SEL_MenuHandler selector, kvdata::Dict* entries,
                          kvengine::CCObject* target);

    /// Page turns (bound to the arrows): nothing past the first or last page.
    void showNextPage(kvengine::CCObject* sender);
    void showPreviousPage(kvengine::CCObject* sender);
    /// Rebuilds both arrows (none for a single page).
    void refreshPageArrows();
    /// Page 1 of the class `className` (null or empty: "Frigate"), with its automatic first choice.
    void rebuildForClass(kvdata::Dict* entries, kvengine::CCString* className);
    /// Class tab handlers.
    void onFrigateTab(kvengine::CCObject* sender);
    void onDestroyerTab(kvengine::CCObject* sender);
    void onTorpedoTab(kvengine::CCObject* sender);
    void onZodiacTab(kvengine::CCObject* sender);
    /// The tabs' "new" markers and the tutorial hint pointing at a creature's tab.
    void refreshNewMarkers();
    /// Chooses the consumable at position 12 when the shown page holds it.
    void selectItemTwelve();

    /// The tab of `className` bright and not tappable, the others dimmed; the class's page 1
    /// (kinds 3 and 4; nothing for the others).
    static void selectClass(kvengine::CCString* className, KVPortraitItem* list);
    /// The class banner `frameName`, then the tab markers.
    static void showClassBanner(kvengine::CCString* frameName, KVPortraitItem* list);
    /// New autoreleased dictionary of the entries whose "Class" is `className` (same keys and
    /// entry objects); empty for a null dictionary.
    static kvdata::Dict* filterByClass(kvengine::CCString* className, kvdata::Dict* entries);
    /// The keys in list order: kind 1 key order; kinds 2-5 by "item_number", entries sharing a
    /// number in key order. Kind 5 keeps a position for every number up to the highest one, an
    /// empty key marking a number that no entry carries. Entries that are not dictionaries or whose
    /// number is negative (or, kind 5, absurdly high) are left out (logged).
    static std::vector<std::string> listOrder(kvdata::Dict* entries, int kind);

    /// Radio icon for lock status 0 (framed), 1 ("KV_hiddenLarge.png", not framed, no handler) or 2
    /// (framed, lock mark); null for another status. `baseName` "KV_IconeRemoveHelmet.png" is
    /// taken as is, any other gets "_frontend_01.png".
    static KVPortraitIcon* createPortraitIcon(kvengine::CCString* baseName, int lockStatus, bool selected,
                                              kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
    /// Simple icon for lock status 0 (framed, check mark when selected), 1 ("LockedChar", not
    /// framed, no handler) or 2 (framed, lock mark); null for another status.
    static KVPortraitIcon* createSimpleIcon(int lockStatus, kvengine::SEL_MenuHandler selector,
                                            kvengine::CCString* baseName, kvengine::CCObject* target,
                                            bool selected);
    /// Removes the icon's "new" mark and tutorial hint and shows its selected frame.
    static void clearHighlights(kvengine::CCMenuItemSprite* icon);

    kvdata::Dict* getEntries() const { return m_entries; }
    int getKind() const { return m_kind; }
    int getCurrentPage() const { return m_currentPage; }
    int getPageCount() const { return m_pageCount; }
    int getEntryCount() const { return m_entryCount; }
    kvengine::CCString* getCurrentClass() const { return m_currentClass; }
    /// The page menu (tag 100), or null.
    kvengine::CCMenu* getPageMenu() const;
    /// The page icon tagged 20 + position, or null.
    KVPortraitIcon* iconAtPosition(int position) const;
    /// Icons a page holds.
    int pageSize() const;
    /// The point of slot `slot` (from 0 on each page) for this kind, in the list's coordinates.
    kvengine::CCPoint slotPoint(int slot) const;

private:
    void setEntries(kvdata::Dict* entries);
    void setCurrentClass(kvengine::CCString* className);
    void placePageMenu(kvengine::CCMenu* menu);
    void addRemoveHelmetIcon(kvengine::CCMenu* menu);
    void addNewHelmetMark(KVPortraitIcon* icon, const std::string& key, int status, bool inUse,
                          kvengine::CCNode* cardOwner);
    KVPortraitIcon* makeShopIcon(kvdata::Dict* entry);
    void addPageIcon(kvengine::CCMenu* menu, KVPortraitIcon* icon, const std::string& key, int slot,
                     int position);
    void addClassTabs();
    void addTab(const char* className, int tag, const kvengine::CCPoint& at,
                kvengine::SEL_MenuHandler handler);
    void onTab(const char* className);
    void showEmptyLabels();
    void removeEmptyLabels();
    void turnPage(int step);
    void chooseIcon(KVPortraitIcon* icon);
    /// Page count for `entryCount` entries.
    int pagesFor(int count) const;

    kvdata::Dict* m_entries = nullptr;
    int m_kind = 0;
    int m_currentPage = 0;
    int m_pageCount = 0;
    int m_entryCount = 0;
    kvengine::CCString* m_currentClass = nullptr;
    kvengine::CCObject* m_target = nullptr; // the screen view: not retained (it owns the list)
    kvengine::SEL_MenuHandler m_selector = nullptr;
    kvengine::SEL_MenuHandler m_removeSelector = nullptr;
};
