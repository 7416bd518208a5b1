// The play-mode, chapter and multiplayer set-up screens: chapter cards and the chapter list, the
// half-second tap lock of the cards and player-count buttons, the chapter screen's way into the
// world map, the play-mode buttons, the player-count buttons and the world map of the multiplayer
// maps.
#include "MenuFixture.h"

#include <string>
#include <vector>

#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPlayScreenItem.h"
#include "game/menu/KVScrollItem.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVHuddleScreenView.h"
#include "game/screens/KVInteractivePictureItem.h"
#include "game/screens/KVPlayScreenView.h"
#include "game/screens/KVPlayerNbScreen.h"
#include "game/screens/KVStoryScreenView.h"
#include "game/screens/KVWorldMapScreenView.h"

using namespace kvengine;

namespace {

const char* const kFramedPicture = "KV_ImagePrologue_CommingSoon.png";
const char* const kPlainPicture = "KV_ImageChapitre1.png";

// Counts the calls of its handler: the target of cards and buttons under test.
class TapTarget : public CCObject {
public:
    void onTap(CCObject* sender) {
        (void)sender;
        ++taps;
    }
    int taps = 0;
};

// What happened, in order: notifications observed and the menu manager's record changes.
std::vector<std::string> g_events;
void recordState(int current, int previous) {
    (void)previous;
    g_events.push_back("state " + std::to_string(current));
}
class EventLog : public CCObject {
public:
    explicit EventLog(CCString* name) {
        CCNotificationCenter::getInstance()->addObserver(this, notification_selector(EventLog::onPost), name);
    }
    ~EventLog() override { CCNotificationCenter::getInstance()->removeObserver(this); }
    void onPost(CCNotification* notification) {
        (void)notification;
        g_events.push_back("clicked");
    }
};

std::string labelText(CCNode* node) {
    if (node == nullptr || node->asLabelProtocol() == nullptr) return "<no label>";
    return node->asLabelProtocol()->getString();
}

struct Chapter {
    const char* key;
    const char* number; // null: none
    const char* status; // "status_locked"
    const char* sprite; // null: none
    int missions;       // -1: none, else the size of a mission dictionary
    bool missionArray;  // the missions as an array
    const char* title;  // null: none
};

kvdata::Dict* chapterTable(const std::vector<Chapter>& chapters) {
    kvdata::Dict* table = kvdata::newDict();
    for (const Chapter& c : chapters) {
        kvdata::Dict* entry = kvdata::newDict();
        if (c.number != nullptr) kvdata::setText(entry, "item_number", c.number);
        kvdata::setText(entry, "status_locked", c.status);
        kvdata::setText(entry, "status_played", "0");
        if (c.sprite != nullptr) kvdata::setText(entry, "sprite_name", c.sprite);
        if (c.title != nullptr) kvdata::setText(entry, "title_name", c.title);
        if (c.missions >= 0 && c.missionArray) {
            kvdata::Array* list = kvdata::newArray();
            for (int i = 0; i < c.missions; ++i)
                list->addObject(kvdata::newString("M0" + std::to_string(i)));
            entry->setObject(list, "mission_list");
        } else if (c.missions >= 0) {
            kvdata::Dict* list = kvdata::newDict();
            for (int i = 0; i < c.missions; ++i)
                kvdata::setText(list, "M0" + std::to_string(i), "x");
            entry->setObject(list, "mission_list");
        }
        table->setObject(entry, c.key);
    }
    return table;
}

class ModeScreensTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        menu = KVMenuManager::getInstance();
        g_events.clear();
        // The game sets the wide flag with a 960-point window.
        CCDirector::wideScreen = 1;
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 0;
        KVMenuManager::setRecordObserver(nullptr);
        MenuFixture::tearDownWithGL();
    }
    /// Asks for a state and draws the frame that shows it.
    void open(int state) {
        menu->changeState(state);
        frame();
    }
    void tapNode(CCNode* node) {
        ASSERT_NE(node, nullptr);
        const CCPoint at = centreOf(node);
        tap(at.x, at.y);
    }
    /// The list laid out over the base scene, under a plain layer (no chapter screen to tell).
    KVScrollItem* showList(kvdata::Dict* chapters) {
        KVScrollItem* list = KVScrollItem::createWithChapters(chapters);
        if (list != nullptr) base->addChild(list);
        return list;
    }
    KVMenuManager* menu = nullptr;
};

TEST_F(ModeScreensTest, TheChapterListMakesACardPerCompleteChapterAndCountsEveryNumberedOne) {
    struct Card {
        int tag;           // the card's tag: its item number - 1
        bool framed;       // the frame with the chapter's picture behind it
        bool enabled;      // reacts to a tap at all
        bool reports;      // its target is the list
        const char* title; // the text shown
    };
    const std::vector<Chapter> chapters = {
        {"Open", "1", "0", kFramedPicture, 2, false, "Story_Screen_Prologue"},
        {"Locked", "2", "1", kFramedPicture, 2, false, "Story_Screen_Prologue"},
        {"Plain", "3", "0", kPlainPicture, 1, false, "Story_Screen_Prologue"},
        {"NoMissions", "4", "0", kFramedPicture, 0, false, "Story_Screen_Prologue"},
        {"NoSprite", "5", "0", nullptr, 1, false, "Story_Screen_Prologue"},
        {"NoTitle", "6", "0", kFramedPicture, 1, false, nullptr},
        {"EmptySprite", "7", "0", "", 1, false, "Story_Screen_Prologue"},
        {"MissingPicture", "8", "0", "KV_NoSuchPicture.png", 1, false, "Story_Screen_Prologue"},
        {"AsArray", "9", "2", kFramedPicture, 3, true, "Story_Screen_Prologue"},
        {"Unnumbered", nullptr, "0", kFramedPicture, 1, false, "Story_Screen_Prologue"},
        {"PastTheScan", "13", "0", kFramedPicture, 1, false, "Story_Screen_Prologue"},
    };
    const Card cards[] = {
        {0, true, true, true, "Prologue"},
        {1, true, true, false, "Prologue: coming soon"},
        {2, false, false, true, "Prologue"},
        {8, true, true, false, "Prologue: coming soon"},
    };
    const unsigned overlaysBefore = director->getOverlayViews().size();
    KVScrollItem* list = showList(chapterTable(chapters));
    ASSERT_NE(list, nullptr);
    frame();
    EXPECT_EQ(list->getCount(), 9) << "numbers 1 to 9 count, cards or not";
    KVScrollViewMenu* row = list->getMenu();
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->getChildren()->count(), 4u);
    for (const Card& c : cards) {
        SCOPED_TRACE(c.tag);
        CCNode* node = row->getChildByTag(c.tag);
        ASSERT_NE(node, nullptr);
        ASSERT_TRUE(node->isKindOf("KVPlayScreenItem"));
        auto* card = static_cast<KVPlayScreenItem*>(node);
        EXPECT_EQ(card->index, c.tag);
        EXPECT_EQ(card->getChildByTag(KVPlayScreenItem::kPictureTag) != nullptr, c.framed);
        EXPECT_EQ(card->isEnabled(), c.enabled);
        EXPECT_EQ(card->getTarget() == list, c.reports);
        EXPECT_EQ(labelText(card->getChildByTag(KVPlayScreenItem::kTitleTag)), c.title);
        EXPECT_NE(card->getUserObject(), nullptr);
    }
    // The row is shifted by the places counted: the five chapters without a card push the first
    // card two and a half pitches right of the centre.
    const float pitch = list->getPitch();
    auto* first = static_cast<CCNode*>(row->getChildByTag(0));
    EXPECT_FLOAT_EQ(pitch, first->getContentSize().width + KVScrollItem::kPadding);
    EXPECT_NEAR(centreOf(first).x, kWidth / 2.0f + 2.5f * pitch, 0.5f);
    EXPECT_NEAR(centreOf(row->getChildByTag(8)).x - centreOf(first).x, 3 * pitch, 0.5f)
        << "cards side by side";
    // The open chapter's stars: none earned of no missions known to the profile.
    EXPECT_EQ(labelText(first->getChildByTag(KVPlayScreenItem::kCaptionTag)), "0/0");
    EXPECT_NE(first->getChildByTag(KVPlayScreenItem::kStarTag), nullptr);

    EXPECT_EQ(director->getOverlayViews().size(), overlaysBefore + 2);
    ASSERT_NE(list->getScrollView(), nullptr);
    EXPECT_EQ(list->getScrollView()->getOwner(), list);
    EXPECT_TRUE(list->getScrollView()->isNoSnapAfterDrag());
    EXPECT_EQ(list->getTouchView()->getScrollView(), list->getScrollView());
    // A tap on a locked or plain card does nothing (the list is under no chapter screen either).
    tapNode(row->getChildByTag(1));
    tapNode(row->getChildByTag(2));
    EXPECT_EQ(menu->getCurrentState(), 0);
    base->removeChild(list, true);
    EXPECT_EQ(director->getOverlayViews().size(), overlaysBefore) << "leaving takes the overlays away";
}

TEST_F(ModeScreensTest, AListWithoutChaptersOrALookUpOfAMissingNumberGivesNothing) {
    KVScrollItem* empty = showList(nullptr);
    ASSERT_NE(empty, nullptr);
    frame();
    EXPECT_EQ(empty->getMenu(), nullptr);
    EXPECT_EQ(empty->getScrollView(), nullptr);
    EXPECT_EQ(empty->keyForItemNumber(1), nullptr);

    KVScrollItem* list = showList(chapterTable({{"Open", "1", "0", kFramedPicture, 1, false, "T"}}));
    EXPECT_EQ(list->keyForItemNumber(2), nullptr);
    // The key is the caller's to keep or drop: it is autoreleased, not handed over.
    CCAutoreleasePoolStack::getInstance().push();
    CCString* key = list->keyForItemNumber(1);
    ASSERT_NE(key, nullptr);
    EXPECT_STREQ(key->c_str(), "Open");
    key->retain();
    CCAutoreleasePoolStack::getInstance().pop();
    EXPECT_EQ(key->retainCount(), 1u);
    key->release();
}

TEST_F(ModeScreensTest, CardsAndPlayerButtonsTakeOneActivationPerHalfSecond) {
    struct Case {
        const char* name;
        CCNode* (*make)(TapTarget* target);
        bool clicksOnRelease;
    };
    const Case cases[] = {
        {"framed chapter card",
         [](TapTarget* target) -> CCNode* {
             KVPlayScreenItem* card = KVPlayScreenItem::createWithCard(
                 kvdata::newString("Open"), kFramedPicture, target, menu_selector(TapTarget::onTap),
                 kvdata::newString("Prologue"));
             return card != nullptr ? KVPlayScreen::createWithItems(card, nullptr) : nullptr;
         },
         false},
        {"player-count button",
         [](TapTarget* target) -> CCNode* {
             return KVPlayerNbScreen::createButton("Bt_2Player_Up.png", "Bt_2Player_Down.png",
                                                   kvdata::newString("2"), target,
                                                   menu_selector(TapTarget::onTap));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* target = new TapTarget();
        menutest::Recorder clicks;
        clicks.observe(EVENT_BUTTON_VALIDATED);
        CCNode* menuNode = c.make(target);
        ASSERT_NE(menuNode, nullptr);
        auto* pressMenu = static_cast<KVPressMenu*>(menuNode);
        pressMenu->fitTo(pressMenu->getItem());
        pressMenu->setPosition(CCPoint(kWidth / 2.0f, kHeight / 2.0f));
        base->addChild(pressMenu);
        frame();
        EXPECT_EQ(pressMenu->getPressState(), KVPressMenu::kReleased);
        press(kWidth / 2.0f, kHeight / 2.0f);
        EXPECT_EQ(pressMenu->getPressState(), KVPressMenu::kPressed);
        lift(kWidth / 2.0f, kHeight / 2.0f);
        EXPECT_EQ(pressMenu->getPressState(), KVPressMenu::kReleased);
        tap(kWidth / 2.0f, kHeight / 2.0f);
        EXPECT_EQ(target->taps, 1) << "a second tap within half a second is ignored";
        run(0.55f);
        tap(kWidth / 2.0f, kHeight / 2.0f);
        EXPECT_EQ(target->taps, 2);
        // A press that leaves the button activates nothing; the button still clicks.
        run(0.55f);
        press(kWidth / 2.0f, kHeight / 2.0f);
        move(5, 5);
        lift(5, 5);
        EXPECT_EQ(target->taps, 2);
        // Clicks: the first press, the tap after the lock and the press dragged off (a tap on the
        // locked button is not even claimed).
        EXPECT_EQ(clicks.count(EVENT_BUTTON_VALIDATED->c_str()), c.clicksOnRelease ? 3 : 0);
        base->removeChild(pressMenu, true);
        target->release();
    }
}

TEST_F(ModeScreensTest, AFramedCardShrinksATitleTooWideForItsPlateAndLeavesAShortOneAlone) {
    const struct {
        const char* title;
        bool shrunk;
    } cases[] = {
        {"Prologue", false},
        {"Chapter 1: The Coconut Reef", true},
        {"Capitulo 1: El arrecife de los cocos muy lejanos", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        KVPlayScreenItem* card = KVPlayScreenItem::createWithCard(kvdata::newString(c.title), kFramedPicture,
                                                                  nullptr, nullptr, nullptr);
        ASSERT_NE(card, nullptr);
        CCNode* title = card->getChildByTag(KVPlayScreenItem::kTitleTag);
        ASSERT_NE(title, nullptr);
        const float plate = card->getContentSize().width * KVPlayScreenItem::kFramedTitleWidthShare;
        const float shown = title->getContentSize().width * title->getScaleX();
        EXPECT_LE(shown, plate + 0.5f);
        EXPECT_GT(title->getContentSize().width, 0.0f);
        if (c.shrunk) {
            EXPECT_LT(title->getScaleX(), 1.0f);
            EXPECT_NEAR(shown, plate, 0.5f) << "shrunk just enough";
        } else {
            EXPECT_FLOAT_EQ(title->getScaleX(), 1.0f);
        }
        EXPECT_FLOAT_EQ(title->getScaleX(), title->getScaleY()) << "the text keeps its proportions";
    }
}

TEST_F(ModeScreensTest, CardsAndButtonsWithoutTheirPicturesAreRefused) {
    EXPECT_EQ(KVPlayScreenItem::createWithCard(kvdata::newString("T"), "KV_NoSuchCard.png", nullptr, nullptr,
                                               nullptr),
              nullptr);
    EXPECT_EQ(KVPlayScreen::createStoryCard(nullptr, "KV_NoSuchCard.png", nullptr, nullptr), nullptr);
    EXPECT_EQ(
        KVPlayerNbScreen::createButton("KV_NoSuch.png", "Bt_2Player_Down.png", nullptr, nullptr, nullptr),
        nullptr);
    // A framed card whose own picture is missing is still a card (frame, title and stars).
    KVPlayScreenItem* framed =
        KVPlayScreenItem::createWithCard(nullptr, "KV_NoSuch_CommingSoon.png", nullptr, nullptr, nullptr);
    ASSERT_NE(framed, nullptr);
    EXPECT_EQ(framed->getChildByTag(KVPlayScreenItem::kPictureTag), nullptr);
    EXPECT_EQ(labelText(framed->getChildByTag(KVPlayScreenItem::kTitleTag)), "");
}

TEST_F(ModeScreensTest, ChoosingTheOpenChapterClicksThenOpensItsWorldMapInSolo) {
    KVGameSetup::getInstance()->solo = false;
    open(KVMenuManager::kStoryState);
    EXPECT_TRUE(KVGameSetup::getInstance()->solo) << "the chapter screen plays solo";
    auto* view = runningView<KVStoryScreenView>("KVStoryScreenView");
    ASSERT_NE(view, nullptr);
    // The game data's chapters, as the list gets them.
    kvdata::Dict* prologue = kvdata::dictAt(KVStoryScreenView::buildChapterDictionary(), "Prologue");
    ASSERT_NE(prologue, nullptr);
    EXPECT_EQ(kvdata::textAt(prologue, "title_name"), "Story_Screen_Prologue");
    EXPECT_EQ(kvdata::textAt(prologue, "status_locked"), "0");
    EXPECT_EQ(kvdata::textAt(prologue, "status_played"), "0");
    EXPECT_EQ(kvdata::textAt(prologue, "item_number"), "1");
    EXPECT_EQ(kvdata::textAt(prologue, "sprite_name"), kFramedPicture);
    EXPECT_EQ(kvdata::arrayAt(prologue, "mission_list")->count(), 3u);
    // Every child on the window: the back button above the top edge would leave no way out.
    for (int tag : {KVStoryScreenView::kBackTag, KVStoryScreenView::kPearlsTag}) {
        const CCPoint at = centreOf(view->getChildByTag(tag));
        EXPECT_TRUE(at.x > 0 && at.x < kWidth && at.y > 0 && at.y < kHeight) << tag;
    }
    KVScrollItem* list = view->getChapterList();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->getMenu(), nullptr);
    EXPECT_NEAR(centreOf(list->getMenu()->getChildByTag(0)).x, kWidth / 2.0f, 0.5f) << "one chapter, centred";
    const unsigned overlays = director->getOverlayViews().size();

    auto* clicked = new EventLog(EVENT_BUTTON_VALIDATED);
    KVMenuManager::setRecordObserver(&recordState);
    tapNode(list->getMenu()->getChildByTag(0));
    KVMenuManager::setRecordObserver(nullptr);
    clicked->release();
    ASSERT_GE(g_events.size(), 2u);
    EXPECT_EQ(g_events.front(), "clicked") << "the click comes before the change of screen";
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kWorldMapState);
    ASSERT_NE(menu->getChapterName(), nullptr);
    EXPECT_STREQ(menu->getChapterName()->c_str(), "Prologue");
    frame();
    auto* map = runningView<KVWorldMapScreenView>("KVWorldMapScreenView");
    ASSERT_NE(map, nullptr);
    EXPECT_NE(map->getChildByTag(KVWorldMapScreenView::kSquadTag), nullptr);
    ASSERT_NE(map->getStarPanel(), nullptr);
    EXPECT_EQ(director->getOverlayViews().size(), overlays) << "the list's overlays gave way to the map's";

    // A choice without a chapter name changes nothing.
    open(KVMenuManager::kStoryState);
    view = runningView<KVStoryScreenView>("KVStoryScreenView");
    ASSERT_NE(view, nullptr);
    view->chapterChosen(view, nullptr);
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kStoryState);
    tapNode(view->getChildByTag(KVStoryScreenView::kBackTag));
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kMainMenuState);
}

TEST_F(ModeScreensTest, ThePlayModeScreenLeadsBackToTheMainMenuAndToTheVideoOnly) {
    struct Case {
        int tag;
        int state; // the state in force after a tap
    };
    const Case cases[] = {
        {KVPlayScreenView::kStoryCardTag, KVMenuManager::kPlayModeState}, // shown disabled
        {KVPlayScreenView::kBackTag, KVMenuManager::kMainMenuState},
        {KVPlayScreenView::kReplayTag, KVMenuManager::kMainMenuState}, // no video: straight on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        open(KVMenuManager::kPlayModeFromGameState);
        ASSERT_EQ(menu->getCurrentState(), KVMenuManager::kPlayModeState);
        auto* view = runningView<KVPlayScreenView>("KVPlayScreenView");
        ASSERT_NE(view, nullptr);
        for (int tag : {KVPlayScreenView::kBackgroundTag, KVPlayScreenView::kMultiplayerTag,
                        KVPlayScreenView::kPearlsTag})
            EXPECT_NE(view->getChildByTag(tag), nullptr) << tag;
        tapNode(view->getChildByTag(c.tag));
        run(0.1f);
        EXPECT_EQ(menu->getCurrentState(), c.state);
    }
}

TEST_F(ModeScreensTest, EachPlayerButtonSetsTheCountAndOpensTheMultiplayerMapsWithoutSquad) {
    struct Case {
        int tag;
        int players;
        float centre; // x of the button's centre, as a part of the width
    };
    const Case cases[] = {
        {KVHuddleScreenView::kTwoPlayersTag, 2, 0.25f},
        {KVHuddleScreenView::kThreePlayersTag, 3, 0.5f},
        {KVHuddleScreenView::kFourPlayersTag, 4, 0.75f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.players);
        KVGameSetup::getInstance()->solo = true;
        KVGameSetup::getInstance()->playerCount = 1;
        open(KVMenuManager::kHuddleState);
        EXPECT_FALSE(KVGameSetup::getInstance()->solo);
        auto* view = runningView<KVHuddleScreenView>("KVHuddleScreenView");
        ASSERT_NE(view, nullptr);
        auto* button = static_cast<KVPlayerNbScreen*>(view->getChildByTag(c.tag));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isKindOf("KVPlayerNbScreen"));
        const CCPoint centre = centreOf(button->getButton());
        const float halfWidth = button->getContentSize().width / 2;
        EXPECT_NEAR(centre.x, kWidth * c.centre, 0.5f);
        EXPECT_NEAR(centre.y, kHeight / 2.0f, 0.5f);
        EXPECT_GE(centre.x - halfWidth, 0.0f);
        EXPECT_LE(centre.x + halfWidth, static_cast<float>(kWidth)) << "wholly inside the window";

        tapNode(button->getButton());
        EXPECT_EQ(KVGameSetup::getInstance()->playerCount, c.players);
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kWorldMapState);
        frame();
        auto* map = runningView<KVWorldMapScreenView>("KVWorldMapScreenView");
        ASSERT_NE(map, nullptr);
        EXPECT_EQ(map->getChildByTag(KVWorldMapScreenView::kSquadTag), nullptr);
        ASSERT_NE(map->getStarPanel(), nullptr);
        KVScrollScalableItem* carousel = map->getStarPanel()->getCarousel();
        ASSERT_NE(carousel, nullptr);
        for (const char* name : {"Map_HUDDLE_02", "Map_BigRock", "Map_Race1"})
            EXPECT_NE(kvdata::dictAt(kvdata::asDict(carousel->getItems()), name), nullptr) << name;
        tapNode(map->getChildByTag(KVWorldMapScreenView::kBackTag));
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kHuddleState) << "the map's Back in multiplayer";
        frame();
    }
    auto* view = runningView<KVHuddleScreenView>("KVHuddleScreenView");
    ASSERT_NE(view, nullptr);
    tapNode(view->getChildByTag(KVHuddleScreenView::kBackTag));
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kPlayModeState);
}

} // namespace
