#pragma once

#include <string>

#include "game/data/KVDataAccess.h"
#include "game/menu/KVPortraitListOwner.h"
#include "game/menu/KVScreenView.h"

namespace kvengine {
class CCNotification;
class CCScene;
class CCString;
} // namespace kvengine
class KVPlayerParameters;
class KVPortraitItem;

/// The shop: three tabs (Stuff, Helmets, Kelvos) over the portrait grid of the open tab, the info
/// panel of the chosen entry (`KVShopInfoItem`) with its buy button, the pearl counter and Back.
///
/// The tab shown first follows the screen the player came from (remembered when the view is
/// built): the troops screen opens the Kelvos tab on the selected creature's class, the equipment
/// screen the Helmets tab on the remembered helmet's class, a lack-of-pearls pop-up the Stuff tab;
/// otherwise the best class of the offered creatures, then of the offered helmets, then Stuff.
/// Back returns to the equipment screen when the shop was entered from it, else to the troops
/// screen, whatever pop-ups were shown over the shop meanwhile.
///
/// Entries of a tab are rebuilt from the game data and the profile at every opening, choice and
/// refresh. The classes of a tab are ranked Frigate, Destroyer, Torpedo, then any other; among
/// items of the same rank the last in key order wins.
class KVShopScreenView : public KVScreenView, public KVPortraitListOwner {
public:
    CC_DECLARE_CLASS_NAME(KVShopScreenView, KVScreenView)

    /// Child tags.
    static constexpr int kKelvosTabTag = 3;
    static constexpr int kHelmetsTabTag = 4;
    static constexpr int kStuffTabTag = 5;
    static constexpr int kPanelTag = 6;
    static constexpr int kListTag = 7;
    static constexpr int kPearlCounterTag = 8;
    static constexpr int kKelvosNewMarkTag = 9;
    static constexpr int kHelmetsNewMarkTag = 10;
    static constexpr int kTabHintTag = 11;
    static constexpr int kBackTag = 5002;
    /// The Back button's hint, a child of the button's item.
    static constexpr int kBackHintTag = 5001;
    /// The tab button inside each tab menu.
    static constexpr int kTabButtonTag = 1;

    /// An autoreleased scene holding a new view at z 0.
    static kvengine::CCScene* createScene();

    KVShopScreenView();
    void cleanupBeforeDelete() override;
    void onEnterTransitionDidFinish() override;

    bool isOnFirstPortraitBuild() const override { return m_firstBuild; }
    /// The state the front end came from when the view was built.
    int getEnteredFrom() const { return m_enteredFrom; }

    /// The pearl counter counts to the profile's amount (observer of "EVENT_POP_UP_CLOSED"; the
    /// panel calls it after a purchase).
    virtual void onPopUpClosed(kvengine::CCNotification* notification);
    /// Points at the Back button once "clint" and "sammo" are both unlocked (observer of
    /// "EVENT_TAP_ANIMATION"); never twice.
    virtual void showBackButtonHint(kvengine::CCNotification* notification);
    void onBackPressed(kvengine::CCObject* sender);

    // ---- tabs ----
    /// Every consumable of the game data, with the player's lock status and its "key".
    static kvdata::Dict* buildShopConsumableEntries();
    /// The helmets offered in the shop (lock status 2).
    static kvdata::Dict* buildShopHelmetEntries();
    /// The creatures offered in the shop, levelled to their "init_level".
    static kvdata::Dict* buildShopKelvoEntries();
    /// The entry stored under `name`; null when none.
    static kvdata::Dict* findCatalogueEntry(kvengine::CCString* name, kvdata::Dict* entries);
    /// The first entry in key order numbered 0; null when none.
    static kvdata::Dict* findFirstConsumableEntry(kvdata::Dict* entries);
    static bool hasShopHelmetOfClass(kvengine::CCString* className);
    static bool hasShopKelvoOfClass(kvengine::CCString* className);
    /// The best class among the offered helmets; an empty string when none (never null).
    static kvengine::CCString* firstShopHelmetClass();
    /// The same among the offered creatures; the menu manager's selected creature becomes the last
    /// creature of that class in key order (unchanged when none is offered).
    static kvengine::CCString* firstShopKelvoClass();

    void showStuffTab();
    void showHelmetsTab(kvengine::CCString* className);
    void showKelvosTab(kvengine::CCString* className);
    void onStuffTabPressed(kvengine::CCObject* sender);
    void onHelmetsTabPressed(kvengine::CCObject* sender);
    void onKelvosTabPressed(kvengine::CCObject* sender);
    /// The portrait list's handlers; the icon's user object is the entry's key.
    void onStuffSelected(kvengine::CCObject* icon);
    void onHelmetSelected(kvengine::CCObject* icon);
    void onKelvoSelected(kvengine::CCObject* icon);
    /// Reopen a tab after a purchase: the same class while it still offers something, else the
    /// best class left.
    void refreshHelmetsTab(kvengine::CCString* className);
    void refreshKelvosTab(kvengine::CCString* className);

    /// The open list (tag 7), or null.
    KVPortraitItem* getList() const;

private:
    enum Tab { kStuff, kHelmets, kKelvos };
    /// How a tab treats a chosen portrait: its "new" mark (0: none), the profile category and
    /// test of its unseen items, its entries, the panel category and the list's handler.
    struct ChoiceRules {
        int markTag;
        const char* category;
        bool (KVPlayerParameters::*hasUnseen)();
        kvdata::Dict* (*entries)();
        int panelCategory;
        kvengine::SEL_MenuHandler handler;
    };
    void chooseEntry(kvengine::CCObject* icon, const ChoiceRules& rules);
    void addTabButton(const char* selectedFrame, const char* textKey, int kind,
                      kvengine::SEL_MenuHandler selector, const kvengine::CCPoint& at, int tag);
    void selectTabButtons(Tab open);
    void replaceTabHint(bool mayPoint);
    void replaceList(kvdata::Dict* entries, int kind, kvengine::SEL_MenuHandler handler);
    void showPanel(kvdata::Dict* entry, int category);
    void openFirstTab();
    /// The chosen icon's key; empty when the icon has none.
    static std::string iconKey(kvengine::CCObject* icon);

    bool m_firstBuild = false;
    int m_enteredFrom = 0;
};
