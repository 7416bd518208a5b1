// Portrait lists: grid points, list order, page counts and turns, the equipment list's looks, class
// tabs, tab markers, the automatic first choice and a screenshot of each kind.
#include "game/menu/KVPortraitItem.h"

#include "MenuFixture.h"
#include "PortraitTestSupport.h"

#include "engine/base/CCArray.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCLayer.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPortraitIcon.h"
#include "game/menu/KVPortraitListOwner.h"
#include "game/menu/KVStateMenu.h"
#include "support/TestFiles.h"

using namespace kvengine;
using kvdata::Dict;
using portraittest::childrenShowing;
using portraittest::showsFrame;

namespace {

const char* const kHelmets[] = {"coral_crown",  "diving_goggles", "pearl_tiara", "pirate_hat",
                                "seaweed_band", "shell_helm",     "snorkel",     "straw_hat"};

// A screen view that owns lists: records the chosen entries and answers the first-build flag.
class FakeView : public CCLayer, public KVPortraitListOwner {
public:
    bool isOnFirstPortraitBuild() const override { return firstBuild; }
    void onChosen(CCObject* sender) {
        CCString* key = kvdata::asString(static_cast<CCNode*>(sender)->getUserObject());
        chosen.push_back(key != nullptr ? key->c_str() : "");
    }
    void onRemoved(CCObject*) { ++removed; }
    bool firstBuild = false;
    std::vector<std::string> chosen;
    int removed = 0;
};

// The equipment screen's character card.
class FakeCard : public CCNode, public KVChosenHelmetIconHolder {
public:
    void setChosenHelmetIcon(KVPortraitIcon* icon) override { chosenIcon = icon; }
    KVPortraitIcon* chosenIcon = nullptr;
};

Dict* entry(int number, const char* sprite, const char* cls = "Frigate", int status = 0, int selected = 0) {
    Dict* e = kvdata::newDict();
    kvdata::setInt(e, "item_number", number);
    kvdata::setText(e, "sprite_name", sprite);
    kvdata::setText(e, "Class", cls);
    kvdata::setInt(e, "status_locked", status);
    kvdata::setInt(e, "status_selected", selected);
    return e;
}

// n entries "e00".."e<n-1>" numbered from 0, pictures taken from the helmets in turn.
Dict* entries(int n, const char* cls = "Frigate") {
    Dict* all = kvdata::newDict();
    for (int i = 0; i < n; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "e%02d", i);
        all->setObject(entry(i, kHelmets[i % 8], cls), key);
    }
    return all;
}

std::string keyOf(CCNode* icon) {
    CCString* key = icon != nullptr ? kvdata::asString(icon->getUserObject()) : nullptr;
    return key != nullptr ? key->c_str() : "";
}

class PortraitItemTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        portraittest::loadSheet("frontend_helmet_ss");
        view = new FakeView();
        view->init();
        base->addChild(view);
        view->release();
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 0;
        MenuFixture::tearDownWithGL();
    }
    KVPortraitItem* makeList(Dict* all, int kind) {
        KVPortraitItem* list = KVPortraitItem::createWithEntries(
            all, kind, view, menu_selector(FakeView::onChosen), menu_selector(FakeView::onRemoved));
        if (list != nullptr) view->addChildAtZWithTag(list, 3, 7);
        return list;
    }
    // The positions of the icons on the shown page, in slot order.
    static std::vector<std::string> shownKeys(KVPortraitItem* list) {
        std::vector<std::string> keys;
        for (int position = 0; position < 64; ++position)
            if (KVPortraitIcon* icon = list->iconAtPosition(position)) keys.push_back(keyOf(icon));
        return keys;
    }
    // What the arrows are: "" none, "a" active menu, "d" dimmed sprite; right then left.
    static std::string arrows(KVPortraitItem* list) {
        std::string looks;
        CCArray* children = list->getChildren();
        for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getTag() != KVPortraitItem::kArrowTag) continue;
            looks += child->isKindOf("CCMenu") ? "a" : "d";
            if (!child->isKindOf("CCMenu")) {
                EXPECT_EQ(dynamic_cast<CCSprite*>(child)->getOpacity(), 100);
            }
        }
        return looks;
    }
    FakeView* view = nullptr;
};

TEST_F(PortraitItemTest, GridPointsPerKindOnBothWidths) {
    struct Case {
        int kind;
        bool wide;
        float rows[3];
    };
    const Case cases[] = {
        {2, false, {337, 267, 197}}, {2, true, {305, 235, 165}},  {3, false, {322, 252, 182}},
        {3, true, {290, 220, 150}},  {1, false, {322, 252, 182}}, {4, true, {290, 220, 150}},
        {5, false, {394, 324, 254}}, {5, true, {362, 292, 222}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.wide ? " wide" : " narrow"));
        CCDirector::wideScreen = c.wide ? 1 : 0;
        KVPortraitItem* list = KVPortraitItem::createWithEntries(nullptr, c.kind, nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        const float columns[] = {c.wide ? 540.f : 476.f, c.wide ? 611.f : 547.f, c.wide ? 682.f : 618.f};
        for (int slot = 0; slot < 9; ++slot) {
            EXPECT_FLOAT_EQ(list->slotPoint(slot).x, columns[slot % 3]) << slot;
            EXPECT_FLOAT_EQ(list->slotPoint(slot).y, c.rows[slot / 3]) << slot;
        }
    }
    kvtest::LogLines log;
    EXPECT_EQ(KVPortraitItem::createWithEntries(nullptr, 6, nullptr, nullptr), nullptr);
    EXPECT_TRUE(log.contains("kind 6"));
}

TEST_F(PortraitItemTest, ListOrderWithGapsDuplicatesAndBadEntries) {
    Dict* all = kvdata::newDict();
    all->setObject(entry(5, "a"), "d");
    all->setObject(entry(2, "a"), "c");
    all->setObject(entry(2, "a"), "b");
    all->setObject(entry(0, "a"), "a");
    all->setObject(kvdata::newString("not an entry"), "junk");
    all->setObject(entry(-1, "a"), "hidden");
    kvtest::LogLines log;
    using Keys = std::vector<std::string>;
    EXPECT_EQ(KVPortraitItem::listOrder(all, 2), (Keys{"a", "b", "c", "d"}));
    EXPECT_EQ(KVPortraitItem::listOrder(all, 4), (Keys{"a", "b", "c", "d"}));
    EXPECT_EQ(KVPortraitItem::listOrder(all, 5), (Keys{"a", "", "b", "c", "", "", "d"}));
    EXPECT_EQ(KVPortraitItem::listOrder(all, 1), (Keys{"a", "b", "c", "d", "hidden"}));
    EXPECT_TRUE(log.contains("\"junk\" is not a dictionary"));
    EXPECT_TRUE(log.contains("\"hidden\" has no usable"));
    EXPECT_TRUE(KVPortraitItem::listOrder(nullptr, 3).empty());
    // A consumable numbered far out is left out instead of filling thousands of empty places.
    Dict* far = kvdata::newDict();
    far->setObject(entry(2000000000, "a"), "far");
    EXPECT_TRUE(KVPortraitItem::listOrder(far, 5).empty());

    // Many entries sharing one number: every list kind finishes and shows them all in key order.
    Dict* same = kvdata::newDict();
    for (int i = 0; i < 200; ++i)
        same->setObject(entry(3, "snorkel"), "k" + std::to_string(1000 + i));
    for (int kind : {2, 3, 4, 5}) {
        SCOPED_TRACE(kind);
        KVPortraitItem* list = makeList(same, kind);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->getEntryCount(), kind == 5 ? 203 : 200);
        view->removeChild(list, true);
    }
}

TEST_F(PortraitItemTest, PageCountsAndPageTurnsPerKind) {
    struct Case {
        int kind;
        int entries;
        int pages;          // pageCount
        int firstPageIcons; // icons of page 1 (kind 2: without the remove-helmet icon)
        int lastPageIcons;  // icons once turned to the last page
    };
    const Case cases[] = {
        {2, 5, 0, 5, 5},  {2, 6, 2, 5, 1},  {2, 7, 2, 5, 2}, {2, 11, 2, 5, 6}, {2, 12, 3, 5, 1},
        {2, 13, 3, 5, 2}, {3, 5, 1, 5, 5},  {3, 6, 1, 6, 6}, {3, 7, 2, 6, 1},  {3, 11, 2, 6, 5},
        {3, 12, 2, 6, 6}, {3, 13, 3, 6, 1}, {4, 6, 1, 6, 6}, {4, 7, 2, 6, 1},  {4, 13, 3, 6, 1},
        {5, 5, 1, 5, 5},  {5, 6, 1, 6, 6},  {5, 7, 1, 7, 7}, {5, 11, 2, 9, 2}, {5, 12, 2, 9, 3},
        {5, 13, 2, 9, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + ", " + std::to_string(c.entries) + " entries");
        menutest::Recorder clicks;
        clicks.observe(EVENT_BUTTON_VALIDATED_LIGHT);
        KVPortraitItem* list = makeList(entries(c.entries), c.kind);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->getEntryCount(), c.entries);
        EXPECT_EQ(list->getPageCount(), c.pages);
        EXPECT_EQ(list->getCurrentPage(), 1);
        EXPECT_EQ(static_cast<int>(shownKeys(list).size()), c.firstPageIcons);
        EXPECT_EQ(arrows(list), std::string(c.pages > 1 ? "ad" : ""));
        list->showPreviousPage(nullptr);
        EXPECT_EQ(list->getCurrentPage(), 1) << "nothing before the first page";
        for (int page = 2; page <= c.pages; ++page)
            list->showNextPage(nullptr);
        const int last = std::max(c.pages, 1);
        EXPECT_EQ(list->getCurrentPage(), last);
        EXPECT_EQ(static_cast<int>(shownKeys(list).size()), c.lastPageIcons);
        if (c.pages > 1) {
            EXPECT_EQ(arrows(list), "da");
        }
        list->showNextPage(nullptr);
        EXPECT_EQ(list->getCurrentPage(), last) << "nothing past the last page";
        EXPECT_EQ(clicks.count(EVENT_BUTTON_VALIDATED_LIGHT->c_str()), last - 1) << "a click per turn only";
        // The icons of a page carry the tags of their list positions.
        const int perPage = c.kind == 5 ? 9 : 6;
        const int firstOnLast = c.kind == 2 ? (last == 1 ? 0 : 6 * last - 7) : perPage * (last - 1);
        if (c.lastPageIcons > 0) {
            EXPECT_NE(list->iconAtPosition(firstOnLast), nullptr);
        }
        view->removeChild(list, true);
    }
}

TEST_F(PortraitItemTest, TheEquipmentListFollowsTheHelmetInUse) {
    KVMenuManager::getInstance()->setSelectedKelvoName(kvdata::newString("steev"));
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoHelmet("steev", "");
    profile->addTransferredHelmet("pirate_hat", "steev");
    auto* card = new FakeCard();
    view->addChildAtZWithTag(card, 1, KVPortraitItem::kCharacterCardTag);
    card->release();
    Dict* all = kvdata::newDict();
    all->setObject(entry(0, "coral_crown"), "coral_crown");
    all->setObject(entry(1, "pirate_hat"), "pirate_hat");
    all->setObject(entry(2, "snorkel", "Frigate", 1), "snorkel");
    all->setObject(entry(3, "shell_helm", "Frigate", 2), "shell_helm");
    all->setObject(entry(4, "straw_hat", "Frigate", 3), "straw_hat"); // not shown, not counted
    all->setObject(entry(5, "pearl_tiara"), "pearl_tiara");
    all->setObject(entry(6, "seaweed_band", "Frigate", 0, 1), "seaweed_band");
    KVPortraitItem* list = makeList(all, 2);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getEntryCount(), 6);
    EXPECT_EQ(list->getPageCount(), 2);
    auto* remove =
        static_cast<KVPortraitIcon*>(list->getPageMenu()->getChildByTag(KVPortraitItem::kRemoveHelmetTag));
    ASSERT_NE(remove, nullptr);
    EXPECT_TRUE(remove->isShowingSelectedFrame()) << "steev wears no helmet";
    EXPECT_FLOAT_EQ(remove->getPosition().x, 476);
    EXPECT_FLOAT_EQ(remove->getPosition().y, 337);
    // Page 1: positions 0-4 in slots 1-5; unlocked helmets not transferred carry the new-helmet mark.
    const std::string keys[] = {"coral_crown", "pirate_hat", "snorkel", "shell_helm", "pearl_tiara"};
    const bool marks[] = {true, false, false, false, true};
    for (int p = 0; p < 5; ++p) {
        SCOPED_TRACE(keys[p]);
        KVPortraitIcon* icon = list->iconAtPosition(p);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(keyOf(icon), keys[p]);
        EXPECT_FALSE(icon->isShowingSelectedFrame());
        EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kNewHelmetMarkTag) != nullptr, marks[p]);
        EXPECT_FLOAT_EQ(icon->getPosition().x, list->slotPoint(p + 1).x);
        EXPECT_FLOAT_EQ(icon->getPosition().y, list->slotPoint(p + 1).y);
    }
    // The worn-in-the-entries helmet is on page 2 and goes to the card.
    list->showNextPage(nullptr);
    EXPECT_EQ(list->getPageMenu()->getChildByTag(KVPortraitItem::kRemoveHelmetTag), nullptr);
    ASSERT_NE(list->iconAtPosition(5), nullptr);
    EXPECT_EQ(card->chosenIcon, list->iconAtPosition(5));
    list->showPreviousPage(nullptr);
    EXPECT_NE(list->getPageMenu()->getChildByTag(KVPortraitItem::kRemoveHelmetTag), nullptr)
        << "page 1 brings the remove-helmet icon back";

    // The screen records a choice: the selected frame moves to it, then back to the remove icon.
    kvdata::setInt(kvdata::dictAt(all, "seaweed_band"), "status_selected", 0);
    kvdata::setInt(kvdata::dictAt(all, "coral_crown"), "status_selected", 1);
    list->refreshPortraits(menu_selector(FakeView::onChosen), all, view);
    remove =
        static_cast<KVPortraitIcon*>(list->getPageMenu()->getChildByTag(KVPortraitItem::kRemoveHelmetTag));
    EXPECT_TRUE(list->iconAtPosition(0)->isShowingSelectedFrame());
    EXPECT_FALSE(remove->isShowingSelectedFrame());
    kvdata::setInt(kvdata::dictAt(all, "coral_crown"), "status_selected", 0);
    list->refreshPortraits(menu_selector(FakeView::onChosen), all, view);
    EXPECT_FALSE(list->iconAtPosition(0)->isShowingSelectedFrame());
    EXPECT_TRUE(remove->isShowingSelectedFrame());
    // A tap on the remove icon calls the remove handler; the helmet icons call the chosen one.
    remove->activate();
    list->iconAtPosition(1)->activate();
    EXPECT_EQ(view->removed, 1);
    EXPECT_EQ(view->chosen, (std::vector<std::string>{"pirate_hat"}));

    // A mystery creature shows no new-helmet mark at all.
    KVMenuManager::getInstance()->setSelectedKelvoName(kvdata::newString("quorrel"));
    view->removeChild(list, true);
    list = makeList(all, 2);
    for (int p = 0; p < 5; ++p)
        EXPECT_EQ(list->iconAtPosition(p)->getChildByTag(KVPortraitIcon::kNewHelmetMarkTag), nullptr);
}

TEST_F(PortraitItemTest, ClassTabsLooksAndHandlers) {
    Dict* all = kvdata::newDict();
    all->setObject(entry(0, "steev", "Frigate"), "steev");
    all->setObject(entry(1, "clint", "Destroyer"), "clint");
    all->setObject(entry(2, "sammo", "Frigate"), "sammo");
    all->setObject(entry(3, "kiwa", "Destroyer"), "kiwa");
    auto* panel = new CCNode();
    view->addChildAtZWithTag(panel, 1, KVPortraitItem::kDetailsPanelTag);
    panel->release();
    KVPortraitItem* list = makeList(all, 3);
    ASSERT_NE(list, nullptr);
    EXPECT_FLOAT_EQ(list->getContentSize().width, 480);
    EXPECT_EQ(list->getCurrentClass(), nullptr);
    EXPECT_EQ(shownKeys(list), (std::vector<std::string>{"steev", "sammo"})) << "opens on the Frigate class";
    EXPECT_TRUE(view->chosen.empty()) << "no parent at build: no first choice";
    EXPECT_TRUE(showsFrame(list->getChildByTag(KVPortraitItem::kBannerTag), "KV_BT_ClassFrigate.png"));

    list->onDestroyerTab(nullptr);
    EXPECT_EQ(view->getChildByTag(KVPortraitItem::kDetailsPanelTag), nullptr) << "the details panel goes";
    CCNode* banner = list->getChildByTag(KVPortraitItem::kBannerTag);
    EXPECT_TRUE(showsFrame(banner, "KV_BT_ClassDestroyer.png"));
    EXPECT_FLOAT_EQ(banner->getPosition().x, 416);
    EXPECT_FLOAT_EQ(banner->getPosition().y, 399);
    struct Tab {
        int tag;
        float x;
        bool chosen;
    };
    for (const Tab& tab :
         {Tab{10, 256.5f, false}, Tab{12, 365, true}, Tab{13, 471.5f, false}, Tab{14, 566, false}}) {
        SCOPED_TRACE(tab.tag);
        CCNode* menu = list->getChildByTag(tab.tag);
        ASSERT_NE(menu, nullptr);
        EXPECT_FLOAT_EQ(menu->getPosition().x, tab.x);
        EXPECT_FLOAT_EQ(menu->getPosition().y, 401);
        auto* button = static_cast<KVButtonItem*>(menu->getChildByTag(KVPortraitItem::kTabButtonTag));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->getKind(), 10);
        EXPECT_EQ(button->isEnabled(), !tab.chosen);
        EXPECT_EQ(button->getOpacity(), tab.chosen ? 255 : 150);
    }
    EXPECT_STREQ(list->getCurrentClass()->c_str(), "Destroyer");
    EXPECT_EQ(shownKeys(list), (std::vector<std::string>{"clint", "kiwa"}));
    EXPECT_EQ(view->chosen, (std::vector<std::string>{"clint"})) << "the first Destroyer is chosen";
    EXPECT_EQ(list->getPageMenu()->className(), std::string("KVPortraitItemMenu"));

    // A class without entries: the two labels, no icon, no arrows, no details panel.
    auto* again = new CCNode();
    view->addChildAtZWithTag(again, 1, KVPortraitItem::kDetailsPanelTag);
    again->release();
    KVPortraitItem::selectClass(kvdata::newString("Zodiac"), list);
    EXPECT_TRUE(shownKeys(list).empty());
    EXPECT_NE(list->getChildByTag(KVPortraitItem::kNothingLabelTag), nullptr);
    EXPECT_NE(list->getChildByTag(KVPortraitItem::kComeBackLabelTag), nullptr);
    EXPECT_EQ(arrows(list), "");
    EXPECT_EQ(view->getChildByTag(KVPortraitItem::kDetailsPanelTag), nullptr);
    EXPECT_EQ(view->chosen.size(), 1u) << "nothing to choose";
    // The next class that places an icon takes the labels away.
    list->onFrigateTab(nullptr);
    EXPECT_EQ(list->getChildByTag(KVPortraitItem::kNothingLabelTag), nullptr);
    EXPECT_EQ(list->getChildByTag(KVPortraitItem::kComeBackLabelTag), nullptr);
    EXPECT_EQ(view->chosen.back(), "steev");
}

TEST_F(PortraitItemTest, PagesOfAChosenClassAndTheShopHelmetKeptHighlighted) {
    Dict* all = entries(7, "Torpedo");
    all->setObject(entry(20, "snorkel", "Frigate"), "zz_frigate");
    KVMenuManager::getInstance()->setSelectedShopItemName(kvdata::newString("e06"));
    KVPortraitItem* list = makeList(all, 4);
    EXPECT_EQ(shownKeys(list), (std::vector<std::string>{"zz_frigate"}));
    EXPECT_EQ(arrows(list), "");
    KVPortraitItem::selectClass(kvdata::newString("Torpedo"), list);
    EXPECT_EQ(list->getPageCount(), 2);
    EXPECT_EQ(arrows(list), "ad");
    list->showNextPage(nullptr);
    EXPECT_EQ(shownKeys(list), (std::vector<std::string>{"e06"}));
    EXPECT_TRUE(list->iconAtPosition(6)->isShowingSelectedFrame()) << "the helmet chosen last stays marked";
    EXPECT_EQ(arrows(list), "da");
    EXPECT_EQ(list->getPageMenu()->className(), std::string("CCMenu")) << "later pages live in a plain menu";
}

TEST_F(PortraitItemTest, NewMarkersPerClassAndTheCreatureTabHint) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    kvdata::dictAt(profile->getProfile(), "UnseenItems")->removeAllObjects();
    profile->addUnseenItem("pearl_tiara", "Helmet"); // a Zodiac helmet
    profile->addUnseenItem("clint", "Kelvo");        // a Destroyer
    struct Case {
        int kind;
        bool wide;
        int marker;
        CCPoint at;
    };
    for (const Case& c : {Case{4, false, 514, CCPoint(590, 415.5f)}, Case{4, true, 514, CCPoint(654, 383.5f)},
                          Case{3, false, 512, CCPoint(389, 415.5f)}, Case{5, false, 0, {}}}) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.wide ? " wide" : " narrow"));
        CCDirector::wideScreen = c.wide ? 1 : 0;
        KVPortraitItem* list = makeList(entries(3), c.kind);
        for (int tag : {510, 512, 513, 514}) {
            CCNode* marker = list->getChildByTag(tag);
            ASSERT_EQ(marker != nullptr, tag == c.marker) << tag;
            if (marker == nullptr) continue;
            EXPECT_TRUE(showsFrame(marker, "KV_IconeNew.png"));
            EXPECT_FLOAT_EQ(marker->getPosition().x, c.at.x);
            EXPECT_FLOAT_EQ(marker->getPosition().y, c.at.y);
        }
        view->removeChild(list, true);
    }
    // Seen at last: the shop marks the helmet seen and refreshes the markers.
    CCDirector::wideScreen = 0;
    KVPortraitItem* helmets = makeList(entries(3), 4);
    profile->markItemSeen("pearl_tiara", "Helmet");
    helmets->refreshNewMarkers();
    EXPECT_EQ(helmets->getChildByTag(514), nullptr);

    // The tutorial points the shop at a Frigate creature still to buy: the hint sits on its tab
    // while no other class is shown.
    portraittest::pointTutorialAt("sammo");
    KVPortraitItem* creatures = makeList(entries(3), 3);
    CCNode* hint = creatures->getChildByTag(KVPortraitItem::kHintTag);
    ASSERT_NE(hint, nullptr);
    EXPECT_FLOAT_EQ(hint->getPosition().x, 270);
    EXPECT_FLOAT_EQ(hint->getPosition().y, 415.5f);
    EXPECT_EQ(hint->getZOrder(), 1010);
    creatures->onDestroyerTab(nullptr);
    EXPECT_EQ(creatures->getChildByTag(KVPortraitItem::kHintTag), nullptr);
    creatures->onFrigateTab(nullptr);
    EXPECT_NE(creatures->getChildByTag(KVPortraitItem::kHintTag), nullptr);
    // A creature the game does not know gives no hint.
    portraittest::pointTutorialAt("nobody");
    creatures->refreshNewMarkers();
    EXPECT_EQ(creatures->getChildByTag(KVPortraitItem::kHintTag), nullptr);
}

TEST_F(PortraitItemTest, AutomaticFirstChoiceFollowsWhereTheShopWasOpenedFrom) {
    KVMenuManager* manager = KVMenuManager::getInstance();
    manager->setSelectedKelvoName(kvdata::newString("e02"));
    manager->setSelectedShopItemName(kvdata::newString("e04"));
    struct Case {
        int kind;
        bool firstBuild;
        int previous;
        const char* chosen;
    };
    for (const Case& c : {Case{3, true, 11, "e02"}, Case{3, false, 11, "e00"}, Case{3, true, 15, "e00"},
                          Case{4, true, 15, "e04"}, Case{4, true, 11, "e00"}}) {
        SCOPED_TRACE(std::to_string(c.kind) + " from " + std::to_string(c.previous));
        view->chosen.clear();
        view->firstBuild = c.firstBuild;
        manager->getStateRecord()->setPreviousId(c.previous);
        KVPortraitItem* list = makeList(entries(8), c.kind);
        KVPortraitItem::selectClass(kvdata::newString("Frigate"), list);
        EXPECT_EQ(view->chosen, (std::vector<std::string>{c.chosen}));
        view->removeChild(list, true);
    }
    // Wanted but not on page 1: nothing is chosen.
    view->chosen.clear();
    view->firstBuild = true;
    manager->getStateRecord()->setPreviousId(11);
    manager->setSelectedKelvoName(kvdata::newString("e07"));
    KVPortraitItem::selectClass(kvdata::newString("Frigate"), makeList(entries(8), 3));
    EXPECT_TRUE(view->chosen.empty());
}

TEST_F(PortraitItemTest, TheConsumableListMarksItsFirstAndItsChosenItem) {
    KVMenuManager::getInstance()->setPopUpText(kvdata::newString("e10"));
    KVPortraitItem* list = makeList(entries(13), 5);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(showsFrame(list->getChildByTag(KVPortraitItem::kBannerTag), "KV_FondhautZoneShop.png"));
    EXPECT_TRUE(list->iconAtPosition(0)->isShowingSelectedFrame()) << "the first consumable is marked";
    EXPECT_FALSE(list->iconAtPosition(1)->isShowingSelectedFrame());
    EXPECT_TRUE(view->chosen.empty());
    list->selectItemTwelve();
    EXPECT_TRUE(view->chosen.empty()) << "position 12 is not shown on page 1";
    list->showNextPage(nullptr);
    EXPECT_TRUE(list->iconAtPosition(10)->isShowingSelectedFrame()) << "the consumable chosen last";
    list->selectItemTwelve();
    EXPECT_EQ(view->chosen, (std::vector<std::string>{"e12"}));
    // The shop records a choice: the page returns to its normal looks.
    list->refreshPortraits(menu_selector(FakeView::onChosen), list->getEntries(), view);
    EXPECT_FALSE(list->iconAtPosition(10)->isShowingSelectedFrame());
    // A gap in the numbers leaves its place empty.
    Dict* gapped = entries(4);
    gapped->removeObjectForKey("e01");
    view->removeChild(list, true);
    list = makeList(gapped, 5);
    EXPECT_EQ(list->iconAtPosition(1), nullptr);
    EXPECT_FLOAT_EQ(list->iconAtPosition(2)->getPosition().x, list->slotPoint(2).x);
}

TEST_F(PortraitItemTest, EmptyShopListsShowTheirLabels) {
    for (int kind : {3, 4, 5}) {
        SCOPED_TRACE(kind);
        KVPortraitItem* list = makeList(kvdata::newDict(), kind);
        CCNode* nothing = list->getChildByTag(KVPortraitItem::kNothingLabelTag);
        ASSERT_NE(nothing, nullptr);
        EXPECT_STREQ(nothing->asLabelProtocol()->getString(), "Nothing to display here");
        EXPECT_FLOAT_EQ(nothing->getPosition().x, 416);
        EXPECT_FLOAT_EQ(nothing->getPosition().y, 317);
        EXPECT_NE(list->getChildByTag(KVPortraitItem::kComeBackLabelTag), nullptr);
        EXPECT_EQ(list->getPageCount(), 0);
        view->removeChild(list, true);
    }
    KVPortraitItem* equipment = makeList(nullptr, 2);
    EXPECT_EQ(equipment->getChildByTag(KVPortraitItem::kNothingLabelTag), nullptr);
    EXPECT_NE(equipment->getPageMenu()->getChildByTag(KVPortraitItem::kRemoveHelmetTag), nullptr);
}

TEST_F(PortraitItemTest, ScreenshotOfEachListKind) {
    CCDirector::wideScreen = 1;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addConsumable("cocktail", 4);
    profile->addConsumable("sushi", 12);
    profile->addUnseenItem("shell_helm", "Helmet");
    KVMenuManager::getInstance()->setSelectedKelvoName(kvdata::newString("steev"));
    profile->setKelvoHelmet("steev", "snorkel");
    Dict* helmets = kvdata::newDict();
    for (int i = 0; i < 8; ++i)
        helmets->setObject(entry(i, kHelmets[i], "Frigate", i == 2 ? 1 : (i == 3 ? 2 : 0),
                                 std::string(kHelmets[i]) == "snorkel" ? 1 : 0),
                           kHelmets[i]);
    Dict* consumables = kvdata::newDict();
    const char* const stuff[] = {"brainwash_medusa", "cocktail", "mighty_kraken", "miracle_tentacle_final",
                                 "shuriken",         "sushi",    "tentacle_grip"};
    for (int i = 0; i < 7; ++i)
        consumables->setObject(entry(i, stuff[i], "powerUpPack"), stuff[i]);
    Dict* creatures = kvdata::newDict();
    const char* const kelvos[] = {"steev", "sammo", "clint", "kiwa", "vahine"};
    const char* const classes[] = {"Frigate", "Frigate", "Destroyer", "Torpedo", "Zodiac"};
    for (int i = 0; i < 5; ++i)
        creatures->setObject(entry(i, kelvos[i], classes[i]), kelvos[i]);
    // The frames between the shots drain the autorelease pool: keep the entries.
    for (Dict* all : {helmets, consumables, creatures})
        all->retain();
    struct Shot {
        int kind;
        Dict* all;
        const char* name;
    };
    for (const Shot& shot :
         {Shot{2, helmets, "portrait_list_equipment.png"}, Shot{3, creatures, "portrait_list_creatures.png"},
          Shot{4, helmets, "portrait_list_helmets.png"},
          Shot{5, consumables, "portrait_list_consumables.png"}}) {
        SCOPED_TRACE(shot.name);
        KVPortraitItem* list = makeList(shot.all, shot.kind);
        ASSERT_NE(list, nullptr);
        if (shot.kind == 3 || shot.kind == 4) KVPortraitItem::selectClass(kvdata::newString("Frigate"), list);
        run(0.5f);
        screenshot(shot.name);
        view->removeChild(list, true);
    }
    for (Dict* all : {helmets, consumables, creatures})
        all->release();
}

} // namespace
