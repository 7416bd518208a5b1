// The shop on the wide window: the tab shown first by where the player came from, the tab entries
// and the class chosen first, the info panel of each category, the two-press purchases with their
// pop-ups and prices, items sold for real money, Back, the hints, and the sheets a panel loads.
#include "game/shop/KVShopScreenView.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/achievements/KVAchievement.h"
#include "game/achievements/KVAchievementManager.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPortraitItem.h"
#include "game/menu/KVScreenStates.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVShopInfoItem.h"
#include "game/shop/KVStorePacks.h"

using namespace kvengine;
using kvdata::Dict;

namespace {

const char* const kKelvos[] = {"clint", "jammer", "kapono", "kiwa",  "kiwa0", "kiwa2",
                               "sammo", "steev",  "vahine", "venus", "vesper"};
const char* const kHelmets[] = {"claws_crown", "coconut",     "coral_crown", "diving_goggles",
                                "nacre_crown", "pearl_tiara", "pirate_hat",  "seaweed_band",
                                "shell_helm",  "snorkel",     "straw_hat",   "tiki_mask"};

unsigned childCount(CCNode* node) {
    return node != nullptr && node->getChildren() != nullptr ? node->getChildren()->count() : 0;
}

std::string textOf(CCString* text) {
    return text != nullptr ? text->c_str() : "";
}

class ShopTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        m_wide = CCDirector::wideScreen;
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        CCDirector::wideScreen = 1;
        menu = KVMenuManager::getInstance();
        profile = KVPlayerParameters::getInstance();
        // Offered: the creatures and helmets named, nothing else; 5000 pearls.
        offer({"clint", "sammo"}, {"diving_goggles", "shell_helm", "snorkel"});
        setPearls(5000);
    }
    void tearDownWithGL() override {
        MenuFixture::tearDownWithGL();
        CCDirector::wideScreen = m_wide;
    }
    void offer(const std::vector<std::string>& kelvos, const std::vector<std::string>& helmets) {
        // Written straight into the records: the profile's setters allow only a player's moves.
        for (const char* name : kKelvos)
            kvdata::setInt(profile->getKelvoRecord(name), "status_locked",
                           std::find(kelvos.begin(), kelvos.end(), name) != kelvos.end() ? 2 : 1);
        for (const char* name : kHelmets)
            kvdata::setInt(profile->getHelmetRecord(name), "status_locked",
                           std::find(helmets.begin(), helmets.end(), name) != helmets.end() ? 2 : 1);
    }
    void setPearls(int amount) {
        profile->removePearls(profile->getPearlAmount());
        profile->addPearls(amount);
    }
    /// The shop entered from `from` (0: straight in).
    KVShopScreenView* openShop(int from) {
        if (from != 0) {
            menu->changeState(from);
            frame();
        }
        menu->changeState(KVMenuManager::kShopState);
        return shopView();
    }
    KVShopScreenView* shopView() {
        CCScene* scene = director->getRunningScene();
        // The director swaps scenes at the next frame; the state holds the new one already.
        KVStateMenu* state = menu->getSlot(KVMenuManager::kShopSlot);
        if (state != nullptr && state->isKindOf("KVScreenState"))
            scene = static_cast<KVScreenState*>(state)->getScene();
        if (scene == nullptr || scene->getChildren() == nullptr) return nullptr;
        for (unsigned i = 0; i < scene->getChildren()->count(); ++i) {
            auto* child = static_cast<CCNode*>(scene->getChildren()->objectAtIndex(i));
            if (child->isKindOf("KVShopScreenView")) return static_cast<KVShopScreenView*>(child);
        }
        return nullptr;
    }
    static KVShopInfoItem* panelOf(KVShopScreenView* view) {
        CCNode* panel = view->getChildByTag(KVShopScreenView::kPanelTag);
        return panel != nullptr && panel->isKindOf("KVShopInfoItem") ? static_cast<KVShopInfoItem*>(panel)
                                                                     : nullptr;
    }
    /// The open tab: the tag of the tab menu whose button is disabled.
    static int openTab(KVShopScreenView* view) {
        int open = 0;
        for (int tag : {KVShopScreenView::kKelvosTabTag, KVShopScreenView::kHelmetsTabTag,
                        KVShopScreenView::kStuffTabTag}) {
            CCNode* tabMenu = view->getChildByTag(tag);
            auto* item = tabMenu != nullptr ? dynamic_cast<CCMenuItem*>(tabMenu->getChildByTag(1)) : nullptr;
            if (item != nullptr && !item->isEnabled()) open = open == 0 ? tag : -1;
        }
        return open;
    }
    /// What the panel shows: the entry's name ("" without a panel or entry).
    static std::string panelItem(KVShopScreenView* view) {
        KVShopInfoItem* panel = panelOf(view);
        return panel != nullptr ? kvdata::textAt(panel->getEntry(), "sprite_name") : "";
    }
    static KVButtonItem* buttonOf(KVShopInfoItem* panel) {
        CCNode* button = panel != nullptr ? panel->getChildByTag(KVShopInfoItem::kButtonTag) : nullptr;
        return button != nullptr && button->isKindOf("KVButton") ? static_cast<KVButton*>(button)->getItem()
                                                                 : nullptr;
    }
    static std::string captionOf(KVButtonItem* item) {
        const char* text = item != nullptr ? item->getLabelString() : nullptr;
        return text != nullptr ? text : "";
    }
    /// The panel's button pressed, as its target sees it.
    static void press(KVShopInfoItem* panel, void (KVShopInfoItem::*handler)(CCObject*)) {
        (panel->*handler)(buttonOf(panel));
    }
    /// A catalogue entry put into the loaded catalogue.
    static Dict* sell(const char* key, const char* category, const char* identifier, int cost, int quantity,
                      const char* currency = "pearl") {
        Dict* entry = kvdata::newDict();
        kvdata::setText(entry, "category", category);
        kvdata::setText(entry, "deliverable_identifier", identifier);
        kvdata::setText(entry, "title", identifier);
        kvdata::setInt(entry, "cost", cost);
        kvdata::setInt(entry, "quantity", quantity);
        kvdata::setText(entry, "currency_identifier", currency);
        KVKelvosOFXDelegate::getInstance()->getCatalogue()->setObject(entry, key);
        return entry;
    }
    void setBypass(bool on) {
        kvdata::setText(KVGameSetup::getInstance()->getConfiguration(), "IgnoreOFXForPlists",
                        on ? "YES" : "NO");
    }

    KVMenuManager* menu = nullptr;
    KVPlayerParameters* profile = nullptr;

private:
    int m_wide = 0;
};

TEST_F(ShopTest, TheFirstTabFollowsWhereThePlayerCameFrom) {
    struct Case {
        const char* what;
        int from;
        const char* kelvo;  // the menu manager's selected creature (null: none)
        const char* helmet; // its selected shop item
        int popUpKind;
        std::vector<std::string> offeredKelvos;
        std::vector<std::string> offeredHelmets;
        int tab;
        const char* listClass; // "" : no class chosen
        const char* panel;     // the panel's item, "" : no panel
    };
    const Case cases[] = {
        {"troops, offered creature",
         11,
         "clint",
         nullptr,
         0,
         {"clint", "sammo"},
         {"snorkel"},
         3,
         "Destroyer",
         "clint"},
        {"troops, creature not offered", 11, "steev", nullptr, 0, {"clint", "sammo"}, {}, 3, "", ""},
        {"equipment, offered helmet",
         15,
         "steev",
         "snorkel",
         0,
         {"clint"},
         {"snorkel", "shell_helm"},
         4,
         "Torpedo",
         "snorkel"},
        {"equipment, helmet not offered", 15, "steev", "straw_hat", 0, {"clint"}, {"snorkel"}, 4, "", ""},
        {"equipment, no helmet remembered",
         15,
         "steev",
         nullptr,
         0,
         {},
         {"snorkel", "shell_helm"},
         4,
         "Frigate",
         "shell_helm"},
        {"lack of pearls", 24, "clint", nullptr, 1, {"clint", "sammo"}, {"snorkel"}, 5, "", "tentacle_grip"},
        {"elsewhere, creatures",
         9,
         nullptr,
         nullptr,
         0,
         {"clint", "sammo"},
         {"snorkel"},
         3,
         "Frigate",
         "sammo"},
        {"elsewhere, helmets only",
         9,
         nullptr,
         nullptr,
         0,
         {},
         {"snorkel", "diving_goggles"},
         4,
         "Destroyer",
         "diving_goggles"},
        {"elsewhere, nothing offered", 9, nullptr, nullptr, 0, {}, {}, 5, "", "tentacle_grip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        offer(c.offeredKelvos, c.offeredHelmets);
        if (c.from == KVMenuManager::kItemPopUpState) {
            menu->changeState(KVMenuManager::kTroopsState);
            frame();
        }
        menu->setSelectedKelvoName(c.kelvo != nullptr ? kvdata::newString(c.kelvo) : nullptr);
        menu->setSelectedShopItemName(c.helmet != nullptr ? kvdata::newString(c.helmet) : nullptr);
        menu->popUpKind = c.popUpKind;
        KVShopScreenView* view = openShop(c.from);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->getEnteredFrom(), c.from);
        EXPECT_EQ(openTab(view), c.tab);
        KVPortraitItem* list = view->getList();
        ASSERT_NE(list, nullptr);
        if (c.tab != KVShopScreenView::kStuffTabTag) {
            EXPECT_EQ(textOf(list->getCurrentClass()), c.listClass);
        }
        EXPECT_EQ(panelItem(view), c.panel);
        frame();
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
    }
}

TEST_F(ShopTest, TheBestClassOfATabWinsByClassOrderAndTheLastItemOfARank) {
    struct Case {
        std::vector<std::string> kelvos;
        const char* best;
        const char* selected; // the menu manager's creature afterwards
    };
    const Case cases[] = {
        {{}, "", "before"},
        {{"kiwa", "vahine"}, "Torpedo", "kiwa"}, // a class of no rank never beats Torpedo
        {{"kiwa", "kiwa0"}, "Torpedo", "kiwa0"}, // equal rank: the later one
        {{"clint", "kiwa"}, "Destroyer", "clint"},
        {{"clint", "sammo"}, "Frigate", "sammo"},
        {{"sammo", "steev"}, "Frigate", "steev"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.best);
        offer(c.kelvos, {});
        menu->setSelectedKelvoName(kvdata::newString("before"));
        EXPECT_EQ(textOf(KVShopScreenView::firstShopKelvoClass()), c.best);
        EXPECT_EQ(textOf(menu->getSelectedKelvoName()), c.selected);
    }
    offer({}, {"pearl_tiara", "snorkel", "diving_goggles"});
    EXPECT_EQ(textOf(KVShopScreenView::firstShopHelmetClass()), "Destroyer");
    EXPECT_TRUE(KVShopScreenView::hasShopHelmetOfClass(kvdata::newString("Zodiac")));
    EXPECT_FALSE(KVShopScreenView::hasShopHelmetOfClass(kvdata::newString("Frigate")));
    offer({}, {});
    EXPECT_EQ(textOf(KVShopScreenView::firstShopHelmetClass()), "");

    // The tab buttons: Frigate whenever a Frigate item is offered, else the best class; with
    // nothing offered Frigate and an empty list.
    offer({"clint", "sammo"}, {"pearl_tiara", "snorkel"});
    KVShopScreenView* view = openShop(9);
    ASSERT_NE(view, nullptr);
    frame();
    view->onHelmetsTabPressed(nullptr);
    EXPECT_EQ(openTab(view), KVShopScreenView::kHelmetsTabTag);
    EXPECT_EQ(textOf(view->getList()->getCurrentClass()), "Torpedo");
    EXPECT_EQ(panelItem(view), "snorkel");
    view->onKelvosTabPressed(nullptr);
    EXPECT_EQ(textOf(view->getList()->getCurrentClass()), "Frigate");
    EXPECT_EQ(panelItem(view), "sammo");
    offer({}, {});
    view->onHelmetsTabPressed(nullptr);
    EXPECT_EQ(textOf(view->getList()->getCurrentClass()), "Frigate");
    EXPECT_EQ(view->getList()->getEntryCount(), 0);
    EXPECT_EQ(panelOf(view), nullptr);
}

TEST_F(ShopTest, TabEntriesComeFromTheGameDataAndTheProfile) {
    offer({"clint", "kiwa0"}, {"snorkel"});
    Dict* consumables = KVShopScreenView::buildShopConsumableEntries();
    EXPECT_EQ(kvdata::countOf(consumables),
              kvdata::countOf(KVGameParameters::getInstance()->getConsumables()));
    Dict* sushi = kvdata::dictAt(consumables, "sushi");
    EXPECT_EQ(kvdata::textAt(sushi, "status_locked"), "0"); // no status in the profile record
    EXPECT_EQ(kvdata::textAt(sushi, "key"), "sushi");
    EXPECT_EQ(kvdata::textAt(KVShopScreenView::findFirstConsumableEntry(consumables), "name"),
              "tentacle_grip");

    Dict* helmets = KVShopScreenView::buildShopHelmetEntries();
    EXPECT_EQ(kvdata::keysOf(helmets), std::vector<std::string>{"snorkel"});
    EXPECT_EQ(kvdata::textAt(kvdata::dictAt(helmets, "snorkel"), "status_locked"), "2");

    // A creature offered at level 3 shows its level-3 stats; one without "init_level" its own.
    Dict* kelvos = KVShopScreenView::buildShopKelvoEntries();
    EXPECT_EQ(kvdata::keysOf(kelvos), (std::vector<std::string>{"clint", "kiwa0"}));
    KVGameParameters* data = KVGameParameters::getInstance();
    Dict* levelled = kvdata::asDict(kvdata::deepCopy(data->getKelvoStats("kiwa0")));
    data->applyLevelUps(levelled, 3);
    EXPECT_FLOAT_EQ(kvdata::floatAt(kvdata::dictAt(kelvos, "kiwa0"), "HP"), kvdata::floatAt(levelled, "HP"));
    EXPECT_NE(kvdata::floatAt(levelled, "HP"), kvdata::floatAt(data->getKelvoStats("kiwa0"), "HP"));
    EXPECT_FLOAT_EQ(kvdata::floatAt(kvdata::dictAt(kelvos, "clint"), "HP"),
                    kvdata::floatAt(data->getKelvoStats("clint"), "HP"));
    EXPECT_EQ(KVShopScreenView::findCatalogueEntry(kvdata::newString("steev"), kelvos), nullptr);
}

TEST_F(ShopTest, PanelsShowPricesStatsAndTheBuyButtonByTheirRules) {
    EXPECT_EQ(KVShopInfoItem::statText(0.25f), "  25%");
    EXPECT_EQ(KVShopInfoItem::statText(0), "   0");
    EXPECT_EQ(KVShopInfoItem::statText(1), "   1");
    EXPECT_EQ(KVShopInfoItem::statText(120), "  120");
    EXPECT_EQ(KVShopInfoItem::menuSheetName("straw_hat_ss"), "straw_hat_frontend_ss");
    EXPECT_EQ(KVShopInfoItem::menuSheetName("straw_hat_frontend_ss"), "straw_hat_frontend_ss");
    EXPECT_EQ(KVShopInfoItem::sheetFolder("straw_hat_frontend_ss"), "straw_hat");
    EXPECT_EQ(KVShopInfoItem::sheetFolder("clint_ss"), "clint");

    // Consumables: the button by the amount owned against "max_amount".
    struct Consumable {
        const char* what;
        const char* maximum; // null: none
        int owned;
        bool button;
    };
    sell("consumables.sushi", "consumables", "sushi", 80, 1);
    for (const Consumable& c : {Consumable{"full", "5", 5, false}, Consumable{"room for one", "5", 4, true},
                                Consumable{"no maximum", nullptr, 0, false}}) {
        SCOPED_TRACE(c.what);
        Dict* entry = kvdata::asDict(
            kvdata::deepCopy(KVGameParameters::getInstance()->getConsumableDefinition("sushi")));
        if (c.maximum != nullptr)
            kvdata::setText(entry, "max_amount", c.maximum);
        else
            entry->removeObjectForKey("max_amount");
        profile->addConsumable("sushi", c.owned - profile->getConsumableAmount("sushi"));
        KVShopInfoItem* panel = KVShopInfoItem::createWithEntry(entry, 1, KVShopInfoItem::kConsumable);
        EXPECT_EQ(buttonOf(panel) != nullptr, c.button);
        if (c.button) {
            EXPECT_EQ(captionOf(buttonOf(panel)), "80");
        }
    }

    // A pack's description holds the catalogue quantity; an unknown pearl item is "Unknow item".
    Dict* pack = kvdata::asDict(
        kvdata::deepCopy(KVGameParameters::getInstance()->getConsumableDefinition("miracle_pack")));
    KVShopInfoItem* packPanel = KVShopInfoItem::createWithEntry(pack, 1, KVShopInfoItem::kConsumable);
    auto* description = dynamic_cast<CCLabelTTF*>(packPanel->getChildByTag(KVShopInfoItem::kDescriptionTag));
    ASSERT_NE(description, nullptr);
    EXPECT_NE(std::string(description->getString()).find("15"), std::string::npos)
        << description->getString();

    // Helmets: the catalogue price, or the game data's under "IgnoreOFXForPlists".
    Dict* snorkel =
        kvdata::asDict(kvdata::deepCopy(KVGameParameters::getInstance()->getHelmetDefinition("snorkel")));
    kvdata::setInt(snorkel, "cost", 80);
    sell("helmets.snorkel", "helmets", "snorkel", 500, 1);
    EXPECT_EQ(captionOf(buttonOf(KVShopInfoItem::createWithEntry(snorkel, 1, KVShopInfoItem::kHelmet))),
              "500");
    setBypass(true);
    EXPECT_EQ(captionOf(buttonOf(KVShopInfoItem::createWithEntry(snorkel, 1, KVShopInfoItem::kHelmet))),
              "80");
    setBypass(false);

    // Stats: five rows for a known class, the values written as the panel writes them.
    KVShopInfoItem* helmetPanel = KVShopInfoItem::createWithEntry(snorkel, 1, KVShopInfoItem::kHelmet);
    CCNode* values = helmetPanel->getChildByTag(KVShopInfoItem::kStatsValuesTag);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(childCount(values), 5u);

    // A creature the catalogue does not sell: its sprite name "(not on OFX)" and the data's price.
    KVKelvosOFXDelegate::getInstance()->getCatalogue()->removeObjectForKey("kelvos.clint");
    Dict* clint = kvdata::asDict(kvdata::deepCopy(KVGameParameters::getInstance()->getKelvoStats("clint")));
    clint->removeObjectForKey("cost");
    EXPECT_EQ(captionOf(buttonOf(KVShopInfoItem::createWithEntry(clint, 1, KVShopInfoItem::kCreature))),
              "Cost : todo");
    kvdata::setInt(clint, "cost", 640);
    KVShopInfoItem* creaturePanel = KVShopInfoItem::createWithEntry(clint, 1, KVShopInfoItem::kCreature);
    EXPECT_EQ(captionOf(buttonOf(creaturePanel)), "640");
    bool titled = false;
    for (unsigned i = 0; i < childCount(creaturePanel); ++i) {
        auto* label =
            dynamic_cast<CCLabelTTF*>(static_cast<CCNode*>(creaturePanel->getChildren()->objectAtIndex(i)));
        if (label != nullptr && std::string(label->getString()) == "clint (not on OFX)") titled = true;
    }
    EXPECT_TRUE(titled);
    // Bad input: no entry, or a mode other than 1, leaves the panel empty.
    EXPECT_EQ(childCount(KVShopInfoItem::createWithEntry(nullptr, 1, KVShopInfoItem::kHelmet)), 0u);
    EXPECT_EQ(childCount(KVShopInfoItem::createWithEntry(snorkel, 2, KVShopInfoItem::kHelmet)), 0u);
}

TEST_F(ShopTest, AHelmetTakesTwoPressesLeavesTheTabAndIsPaidAtItsPrice) {
    struct Case {
        const char* what;
        int pearls;
        bool bypass;
        int pearlsAfter;
        int status; // of "snorkel" afterwards
        int popUpKind;
    };
    const Case cases[] = {
        {"enough pearls", 600, false, 100, 0, 5},
        {"too few pearls", 400, false, 400, 2, 1},
        {"game-data price", 100, true, 20, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        offer({}, {"snorkel", "diving_goggles"});
        sell("helmets.snorkel", "helmets", "snorkel", 500, 1);
        kvdata::setInt(KVGameParameters::getInstance()->getHelmetDefinition("snorkel"), "cost", 80);
        setBypass(c.bypass);
        setPearls(c.pearls);
        menu->setSelectedShopItemName(kvdata::newString("snorkel"));
        KVShopScreenView* view = openShop(15);
        ASSERT_NE(view, nullptr);
        frame();
        KVShopInfoItem* panel = panelOf(view);
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(panelItem(view), "snorkel");
        menu->popUpKind = 0;
        press(panel, &KVShopInfoItem::onBuyHelmetPressed);
        EXPECT_TRUE(panel->isConfirming());
        EXPECT_EQ(captionOf(buttonOf(panel)), "Buy");
        EXPECT_EQ(profile->getPearlAmount(), c.pearls);
        press(panel, &KVShopInfoItem::onBuyHelmetPressed);
        EXPECT_EQ(profile->getPearlAmount(), c.pearlsAfter);
        EXPECT_EQ(profile->getHelmetLockStatus("snorkel"), c.status);
        EXPECT_EQ(menu->popUpKind, c.popUpKind);
        if (c.status == 0) {
            // Gone from the tab, which reopens on the next best class.
            EXPECT_FALSE(kvdata::hasKey(view->getList()->getEntries(), "snorkel"));
            EXPECT_EQ(textOf(view->getList()->getCurrentClass()), "Destroyer");
            EXPECT_EQ(panelItem(view), "diving_goggles");
        } else {
            // Refused: the same panel, disarmed; a third press arms again.
            EXPECT_EQ(panelOf(view), panel);
            EXPECT_FALSE(panel->isConfirming());
            press(panel, &KVShopInfoItem::onBuyHelmetPressed);
            EXPECT_TRUE(panel->isConfirming());
        }
        frame();
        // Back leads to the equipment screen, the pop-up over the shop notwithstanding.
        view->onBackPressed(nullptr);
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kEquipmentState);
        frame();
    }
    setBypass(false);
}

TEST_F(ShopTest, RecruitingTheLastCreatureOfAClassReopensTheTabOnTheNextClassAndIsSaved) {
    offer({"clint", "sammo"}, {});
    setPearls(2000);
    menu->setSelectedKelvoName(kvdata::newString("sammo"));
    KVShopScreenView* view = openShop(11);
    ASSERT_NE(view, nullptr);
    frame();
    KVShopInfoItem* panel = panelOf(view);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panelItem(view), "sammo");
    menutest::Recorder recorder;
    recorder.observe(EVENT_KELVO_RECRUITED);
    press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
    EXPECT_EQ(captionOf(buttonOf(panel)), "Recruit");
    press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
    EXPECT_EQ(recorder.count("EVENT_KELVO_RECRUITED"), 1);
    EXPECT_EQ(profile->getPearlAmount(), 1000);
    EXPECT_EQ(textOf(view->getList()->getCurrentClass()), "Destroyer");
    EXPECT_EQ(panelItem(view), "clint");
    frame();

    // Without a catalogue entry the creature is unlocked for the data's price, and saved.
    KVKelvosOFXDelegate::getInstance()->getCatalogue()->removeObjectForKey("kelvos.clint");
    kvdata::setInt(KVGameParameters::getInstance()->getKelvoStats("clint"), "cost", 300);
    view->onKelvosTabPressed(nullptr);
    panel = panelOf(view);
    ASSERT_NE(panel, nullptr);
    press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
    press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
    EXPECT_EQ(profile->getPearlAmount(), 700);
    EXPECT_EQ(panelOf(view), nullptr);
    frame();
    profile->release();
    profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getKelvoLockStatus("clint"), 0);
    EXPECT_EQ(profile->getKelvoLockStatus("sammo"), 0);
    EXPECT_EQ(profile->getPearlAmount(), 700);
}

TEST_F(ShopTest, AConsumableIsBoughtUpToItsMaximumAndItsButtonComesBackWhileThereIsRoom) {
    struct Case {
        const char* what;
        int owned;
        int ownedAtPress; // changed after the panel was built
        int ownedAfter;
        int popUpKind;
        bool buttonAfter;
    };
    const Case cases[] = {
        {"room for one pack", 0, 0, 5, 5, true},
        {"fills the bag", 5, 5, 10, 5, false},
        {"bag filled meanwhile", 4, 9, 9, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sell("consumables.sushi", "consumables", "sushi", 80, 5);
        kvdata::setInt(KVGameParameters::getInstance()->getConsumableDefinition("sushi"), "max_amount", 10);
        profile->addConsumable("sushi", c.owned - profile->getConsumableAmount("sushi"));
        setPearls(1000);
        KVShopScreenView* view = openShop(24);
        ASSERT_NE(view, nullptr);
        frame();
        view->onStuffTabPressed(nullptr);
        Dict* entry = KVShopScreenView::findCatalogueEntry(kvdata::newString("sushi"),
                                                           KVShopScreenView::buildShopConsumableEntries());
        auto* panel = KVShopInfoItem::createWithEntry(entry, 1, KVShopInfoItem::kConsumable);
        view->removeChildByTag(KVShopScreenView::kPanelTag, true);
        view->addChildAtZWithTag(panel, 3, KVShopScreenView::kPanelTag);
        ASSERT_NE(buttonOf(panel), nullptr);
        profile->addConsumable("sushi", c.ownedAtPress - c.owned);
        menutest::Recorder recorder;
        recorder.observe(SCREEN_MENU_BUY_CONSUMABLE);
        menu->popUpKind = 0;
        press(panel, &KVShopInfoItem::onBuyConsumablePressed);
        EXPECT_EQ(profile->getConsumableAmount("sushi"), c.ownedAtPress);
        press(panel, &KVShopInfoItem::onBuyConsumablePressed);
        EXPECT_EQ(profile->getConsumableAmount("sushi"), c.ownedAfter);
        EXPECT_EQ(menu->popUpKind, c.popUpKind);
        EXPECT_EQ(recorder.count("Menu - Buy - Consumable"), c.popUpKind == 5 ? 1 : 0);
        EXPECT_EQ(profile->getPearlAmount(), c.popUpKind == 5 ? 920 : 1000);
        EXPECT_EQ(buttonOf(panel) != nullptr, c.buttonAfter);
        frame();
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
    }
}

TEST_F(ShopTest, AnItemSoldForRealMoneyIsShownButNeverSoldNorDelivered) {
    sell("consumables.sushi", "consumables", "sushi", 0, 1000, "EUR");
    setPearls(50);
    profile->addConsumable("sushi", -profile->getConsumableAmount("sushi"));
    KVShopScreenView* view = openShop(9);
    ASSERT_NE(view, nullptr);
    frame();
    Dict* entry = KVShopScreenView::findCatalogueEntry(kvdata::newString("sushi"),
                                                       KVShopScreenView::buildShopConsumableEntries());
    auto* panel = KVShopInfoItem::createWithEntry(entry, 1, KVShopInfoItem::kConsumable);
    view->removeChildByTag(KVShopScreenView::kPanelTag, true);
    view->addChildAtZWithTag(panel, 3, KVShopScreenView::kPanelTag);
    frame();
    KVButtonItem* button = buttonOf(panel);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(captionOf(button), "Not sold in this edition");
    EXPECT_FALSE(button->isEnabled());
    EXPECT_LT(button->getOpacity(), 255);
    menutest::Recorder recorder;
    recorder.observe(EVENT_BUTTON_INVALIDATED);
    recorder.observe(EVENT_PURCHASE_DONE);
    const CCPoint centre = centreOf(panel->getChildByTag(KVShopInfoItem::kButtonTag));
    tap(centre.x, centre.y);
    tap(centre.x, centre.y);
    // Even a press that reached the handler delivers nothing.
    press(panel, &KVShopInfoItem::onBuyConsumablePressed);
    press(panel, &KVShopInfoItem::onBuyConsumablePressed);
    EXPECT_EQ(recorder.count("EVENT_BUTTON_INVALIDATED"), 2);
    EXPECT_EQ(recorder.count("EVENT_PURCHASE_DONE"), 0);
    EXPECT_EQ(profile->getConsumableAmount("sushi"), 0);
    EXPECT_EQ(profile->getPearlAmount(), 50);
}

TEST_F(ShopTest, BackTheHintsAndTheNewMarks) {
    struct Case {
        int from;
        int back;
    };
    for (const Case& c : {Case{11, 11}, Case{15, 15}, Case{9, 11}}) {
        SCOPED_TRACE(c.from);
        KVShopScreenView* view = openShop(c.from);
        ASSERT_NE(view, nullptr);
        frame();
        // A pop-up over the shop and closed again.
        menu->popUpKind = 1;
        menu->changeState(KVMenuManager::kItemPopUpState);
        menu->changeState(KVMenuManager::kCloseOverlayState);
        view->onBackPressed(nullptr);
        EXPECT_EQ(menu->getCurrentState(), c.back);
        frame();
    }

    // The Back button's hint: only once "clint" and "sammo" are both unlocked, and never twice.
    offer({"clint"}, {});
    profile->setKelvoLockStatus("sammo", 0);
    KVShopScreenView* view = openShop(11);
    ASSERT_NE(view, nullptr);
    KVButtonItem* back = static_cast<KVButton*>(view->getChildByTag(KVShopScreenView::kBackTag))->getItem();
    CCNotificationCenter::getInstance()->postNotification(EVENT_TAP_ANIMATION);
    EXPECT_EQ(back->getChildByTag(KVShopScreenView::kBackHintTag), nullptr);
    profile->setKelvoLockStatus("clint", 0);
    CCNotificationCenter::getInstance()->postNotification(EVENT_TAP_ANIMATION);
    CCNotificationCenter::getInstance()->postNotification(EVENT_TAP_ANIMATION);
    unsigned hints = 0;
    for (unsigned i = 0; i < childCount(back); ++i)
        if (static_cast<CCNode*>(back->getChildren()->objectAtIndex(i))->getTag() ==
            KVShopScreenView::kBackHintTag)
            ++hints;
    EXPECT_EQ(hints, 1u);

    // The Helmets tab's new mark goes once its last unseen helmet is chosen (the shop opens on
    // the creatures here).
    frame();
    offer({"clint"}, {"snorkel"});
    profile->addUnseenItem("snorkel", "Helmet");
    view = openShop(9);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->getChildByTag(KVShopScreenView::kHelmetsNewMarkTag), nullptr);
    frame();
    view->onHelmetsTabPressed(nullptr);
    EXPECT_EQ(view->getChildByTag(KVShopScreenView::kHelmetsNewMarkTag), nullptr);
    EXPECT_FALSE(profile->hasUnseenHelmets());
}

TEST_F(ShopTest, EveryTabAndPanelOpensRepeatedlyAndEverySheetAPanelLoadedIsUnloaded) {
    offer({"clint", "sammo"}, {"diving_goggles", "shell_helm", "snorkel", "pearl_tiara"});
    KVShopScreenView* view = openShop(9);
    ASSERT_NE(view, nullptr);
    frame();
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    for (int round = 0; round < 10; ++round) {
        view->onStuffTabPressed(nullptr);
        view->onHelmetsTabPressed(nullptr);
        for (const char* cls : {"Frigate", "Destroyer", "Torpedo", "Zodiac"}) {
            KVPortraitItem::selectClass(kvdata::newString(cls), view->getList());
            if (KVShopInfoItem* panel = panelOf(view)) {
                EXPECT_EQ(kvdata::countOf(panel->getLoadedSheets()), 1u);
            }
        }
        view->onKelvosTabPressed(nullptr);
        for (const char* cls : {"Frigate", "Destroyer"})
            KVPortraitItem::selectClass(kvdata::newString(cls), view->getList());
        frame();
    }
    view->onStuffTabPressed(nullptr);
    frame();
    for (const char* item : {"clint", "sammo", "diving_goggles", "shell_helm", "snorkel", "pearl_tiara"})
        EXPECT_FALSE(frames->hasSpriteFrame((std::string(item) + "_idle_01.png").c_str())) << item;
    // A sheet that is not there is refused with a log line and not recorded.
    KVShopInfoItem* panel = panelOf(view);
    ASSERT_NE(panel, nullptr);
    panel->loadSheet(kvdata::newString("nothing_here_ss"));
    EXPECT_FALSE(kvdata::hasKey(panel->getLoadedSheets(), "nothing_here_ss"));
}

TEST_F(ShopTest, ScreenshotsOfEachTab) {
    offer({"clint", "sammo"}, {"snorkel", "shell_helm"});
    KVShopScreenView* view = openShop(9);
    ASSERT_NE(view, nullptr);
    run(0.5f);
    screenshot("shop-kelvos.png");
    view->onHelmetsTabPressed(nullptr);
    run(0.5f);
    screenshot("shop-helmets.png");
    view->onStuffTabPressed(nullptr);
    run(0.5f);
    screenshot("shop-stuff.png");
}

// Creatures and their packs as the shipped data sells them.

// The achievements still pending.
std::set<std::string> pendingAchievements() {
    std::set<std::string> names;
    auto* list = KVAchievementManager::getInstance()->getAchievements();
    for (unsigned i = 0; i < list->count(); ++i)
        names.insert(list->objectAtIndex(i)->className());
    return names;
}

TEST_F(ShopTest, EveryCreatureOnSaleIsRecruitedForItsPriceAndEarnsItsRecruitAchievement) {
    // The achievement each recruit completes; the others complete none.
    const std::map<std::string, std::string> achievements = {{"sammo", "KVAchievementTheUntouchable"},
                                                             {"clint", "KVAchievementTheUnforgiven"},
                                                             {"kapono", "KVAchievementTheWeird"},
                                                             {"vesper", "KVAchievementTheProud"},
                                                             {"venus", "KVAchievementTheKinky"}};
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    int sold = 0;
    for (const std::string& name : kvdata::keysOf(KVGameParameters::getInstance()->getKelvoStatsTable())) {
        Dict* item = store->findKelvoItem(name);
        if (item == nullptr) continue;
        // The finder's copy is autoreleased: its price is read now.
        const std::string cost = kvdata::textAt(item, "cost");
        SCOPED_TRACE(name);
        ++sold;
        offer({name}, {});
        setPearls(10000);
        KVAchievementManager::getInstance();
        const std::set<std::string> before = pendingAchievements();
        menu->setSelectedKelvoName(kvdata::newString(name));
        KVShopScreenView* view = openShop(11);
        ASSERT_NE(view, nullptr);
        frame();
        KVShopInfoItem* panel = panelOf(view);
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(panelItem(view), name);
        EXPECT_EQ(captionOf(buttonOf(panel)), cost);
        menutest::Recorder recorder;
        recorder.observe(EVENT_KELVO_RECRUITED);
        press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
        press(panel, &KVShopInfoItem::onRecruitKelvoPressed);
        EXPECT_EQ(recorder.count("EVENT_KELVO_RECRUITED"), 1);
        EXPECT_EQ(profile->getKelvoLockStatus(name), 0);
        EXPECT_EQ(profile->getPearlAmount(), 10000 - std::atoi(cost.c_str()));
        std::set<std::string> completed;
        const std::set<std::string> after = pendingAchievements();
        std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                            std::inserter(completed, completed.end()));
        const auto expected = achievements.find(name);
        EXPECT_EQ(completed, expected == achievements.end() ? std::set<std::string>()
                                                            : std::set<std::string>{expected->second});
        frame();
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
        KVAchievementManager::getInstance()->release();
    }
    EXPECT_GE(sold, 6);
}

TEST_F(ShopTest, EveryCreaturePackIsBoughtOnceInTheStuffTabAndGrantsItsCreatureHelmetAndGifts) {
    int packs = 0;
    for (const std::string& name : kvdata::keysOf(KVGameParameters::getInstance()->getKelvoStatsTable())) {
        const kvstore::PackRow* pack = kvstore::findPack(name + "_pack");
        Dict* item = pack != nullptr
                         ? KVKelvosOFXDelegate::getInstance()->findConsumableItem(pack->identifier)
                         : nullptr;
        if (item == nullptr) continue;
        const std::string cost = kvdata::textAt(item, "cost");
        SCOPED_TRACE(pack->identifier);
        ++packs;
        offer({name}, {});
        setPearls(10000);
        const int giftBefore = profile->getConsumableAmount(pack->consumable);
        KVShopScreenView* view = openShop(24);
        ASSERT_NE(view, nullptr);
        frame();
        view->onStuffTabPressed(nullptr);
        Dict* entry = KVShopScreenView::findCatalogueEntry(kvdata::newString(pack->identifier),
                                                           KVShopScreenView::buildShopConsumableEntries());
        ASSERT_NE(entry, nullptr);
        auto* panel = KVShopInfoItem::createWithEntry(entry, 1, KVShopInfoItem::kConsumable);
        view->removeChildByTag(KVShopScreenView::kPanelTag, true);
        view->addChildAtZWithTag(panel, 3, KVShopScreenView::kPanelTag);
        ASSERT_NE(buttonOf(panel), nullptr);
        EXPECT_EQ(captionOf(buttonOf(panel)), cost);
        menutest::Recorder recorder;
        recorder.observe(EVENT_KELVO_RECRUITED);
        recorder.observe(SCREEN_MENU_BUY_PACK);
        menu->popUpKind = 0;
        press(panel, &KVShopInfoItem::onBuyConsumablePressed);
        press(panel, &KVShopInfoItem::onBuyConsumablePressed);
        EXPECT_EQ(recorder.count("Menu - Buy - Pack"), 1);
        EXPECT_EQ(recorder.count("EVENT_KELVO_RECRUITED"), 1);
        EXPECT_EQ(menu->popUpKind, 5);
        EXPECT_EQ(profile->getKelvoLockStatus(name), 0);
        EXPECT_EQ(profile->getHelmetLockStatus(pack->helmet), 0);
        EXPECT_EQ(profile->getConsumableAmount(pack->consumable), giftBefore + pack->consumableCount);
        EXPECT_EQ(profile->getPearlAmount(), 10000 - std::atoi(cost.c_str()) + pack->pearls);
        // A pack is bought once: its button is gone.
        EXPECT_EQ(buttonOf(panel), nullptr);
        frame();
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
    }
    EXPECT_EQ(packs, 4);
}

} // namespace
