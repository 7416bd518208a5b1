// The troops screen on the wide window: the team row built from the profile, the slot hit test,
// every kind of drop with what it writes to the profile and shows, taps by lock status, the
// tutorial hands, the creature cards' looks, the page arrows and the sheets the screen loads.
#include "game/screens/KVTroopsScreenView.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVSquadItem.h"

using namespace kvengine;

namespace {

using Team = std::map<std::string, int>; // member -> "turnSpeed"

class TroopsTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        m_wide = CCDirector::wideScreen;
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        // The window is 960 wide: the wide layout.
        CCDirector::wideScreen = 1;
        menu = KVMenuManager::getInstance();
        profile = KVPlayerParameters::getInstance();
    }
    void tearDownWithGL() override {
        MenuFixture::tearDownWithGL();
        CCDirector::wideScreen = m_wide;
    }
    /// Exactly these creatures in the team, with these positions; the others out of it.
    void setTeam(const Team& team) {
        // A troops screen still running writes its own order when it leaves: leave it first.
        if (menu->getCurrentState() == KVMenuManager::kTroopsState) {
            menu->changeState(KVMenuManager::kWorldMapState);
            frame();
        }
        for (const char* name : {"steev", "vahine", "kiwa", "clint", "sammo", "kiwa0", "kiwa2"}) {
            const auto found = team.find(name);
            profile->setKelvoSelectedStatus(name, found != team.end() ? 1 : 0);
            profile->setKelvoTurnSpeed(name, found != team.end() ? found->second : 5);
        }
    }
    KVTroopsScreenView* openTroops() {
        menu->changeState(KVMenuManager::kTroopsState);
        frame();
        CCScene* scene = director->getRunningScene();
        if (scene == nullptr || scene->getChildren() == nullptr) return nullptr;
        for (unsigned i = 0; i < scene->getChildren()->count(); ++i) {
            auto* child = static_cast<CCNode*>(scene->getChildren()->objectAtIndex(i));
            if (child->isKindOf("KVTroopsScreenView")) return static_cast<KVTroopsScreenView*>(child);
        }
        return nullptr;
    }
    static std::vector<std::string> row(KVTroopsScreenView* view) {
        std::vector<std::string> names;
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s)
            names.push_back(view->teamName(s));
        return names;
    }
    static CCString* text(const char* value) { return kvdata::newString(value); }
    /// Where a card is drawn, in the view's coordinates.
    static CCPoint cardAt(KVTroopsScreenView* view, const char* name) {
        CCNode* card = view->getCardCarousel()->cardForKelvo(name);
        return card->convertToWorldSpace(
            CCPoint(card->getContentSize().width / 2, card->getContentSize().height / 2));
    }
    /// A pan that starts at `from` (already pressed) and ends at `to`, reported as the scroll view
    /// does, then the drop.
    static void panTo(KVTroopsScreenView* view, const CCPoint& from, const CCPoint& to) {
        view->onCardsScrolled(to.x - from.x, to.y - from.y);
        view->onPanFinished();
    }
    void dragCard(KVTroopsScreenView* view, const char* name, const CCPoint& to) {
        view->onCardsScrolled(0, 0);
        const CCPoint from = cardAt(view, name);
        view->onTouchBeganOnCard(from.x, from.y, text(name), profile->getKelvoLockStatus(name));
        panTo(view, from, to);
    }
    void dragSlot(KVTroopsScreenView* view, int slot, const CCPoint& to) {
        view->onCardsScrolled(0, 0);
        const CCPoint from = KVTroopsScreenView::slotPosition(slot);
        view->onTouchBeganOffCard(from.x, from.y);
        panTo(view, from, to);
    }
    int speed(const char* name) { return profile->getKelvoTurnSpeed(name); }
    int selected(const char* name) { return profile->getKelvoSelectedStatus(name); }
    static bool hasEquipMark(KVTroopsScreenView* view, const char* name) {
        CCNode* card = view->getCardCarousel()->cardForKelvo(name);
        return card != nullptr && card->getChildByTag(KVSquadItem::kEquipMarkTag) != nullptr;
    }

    KVMenuManager* menu = nullptr;
    KVPlayerParameters* profile = nullptr;

private:
    int m_wide = 0;
};

TEST_F(TroopsTest, TheTeamRowPlacesMembersByPositionDemotesDuplicatesAndFillsTheFirstEmptySlots) {
    struct Case {
        const char* what;
        Team team;
        std::vector<std::string> row;
        Team speedsAfter;
    };
    const Case cases[] = {
        {"two on slot 2: the first by name keeps it, the other takes slot 1",
         {{"steev", 2}, {"vahine", 2}},
         {"vahine", "steev", "", ""},
         {{"steev", 2}, {"vahine", 5}}},
        {"a position outside 1..5 is placed as one without a slot",
         {{"kiwa", 0}, {"steev", 1}},
         {"steev", "kiwa", "", ""},
         {{"kiwa", 5}, {"steev", 1}}},
        {"position 6 likewise", {{"steev", 6}, {"vahine", 3}}, {"steev", "", "vahine", ""}, {{"steev", 5}}},
        {"a fifth member without a slot is not shown",
         {{"steev", 1}, {"vahine", 2}, {"kiwa", 3}, {"clint", 4}, {"sammo", 5}},
         {"steev", "vahine", "kiwa", "clint"},
         {{"sammo", 5}}},
        {"members without a slot in name order",
         {{"vahine", 5}, {"kiwa", 5}},
         {"kiwa", "vahine", "", ""},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTeam(c.team);
        KVTroopsScreenView* view = openTroops();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(row(view), c.row);
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s) {
            const bool filled = !c.row[static_cast<size_t>(s)].empty();
            EXPECT_EQ(view->getChildByTag(KVTroopsScreenView::kFigureTag + s) != nullptr, filled) << s;
            EXPECT_EQ(view->getChildByTag(KVTroopsScreenView::kIconTag + s) != nullptr, filled) << s;
            if (filled) {
                EXPECT_EQ(view->getChildByTag(KVTroopsScreenView::kFigureTag + s)->getPosition().x,
                          KVTroopsScreenView::slotPosition(s).x);
            }
        }
        for (const auto& [name, position] : c.speedsAfter)
            EXPECT_EQ(speed(name.c_str()), position) << name;
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
        // Leaving writes the shown order.
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s)
            if (!c.row[static_cast<size_t>(s)].empty()) {
                EXPECT_EQ(speed(c.row[static_cast<size_t>(s)].c_str()), s + 1);
            }
    }
}

TEST_F(TroopsTest, TheSlotHitTestUsesTheShownFrameAndTheNearerSlotWhereAreasOverlap) {
    const float rowY = 310; // the wide window
    struct Case {
        const char* what;
        CCSize frame;
        CCPoint at;
        int slot;
    };
    const Case cases[] = {
        {"60 above slot 2 with a frame 20 high lies on the limit", CCSize(60, 20), CCPoint(438, rowY + 60),
         -1},
        {"the same with a frame 21 high hits slot 2", CCSize(60, 21), CCPoint(438, rowY + 60), 1},
        {"below the row likewise", CCSize(60, 21), CCPoint(438, rowY - 60), 1},
        {"a narrow frame: the nearer slot", CCSize(60, 40), CCPoint(348 + 40, rowY), 0},
        {"left of the first slot", CCSize(60, 40), CCPoint(348 - 76, rowY), -1},
        {"wide frames: midway the left slot wins", CCSize(100, 40), CCPoint(348 + 45, rowY), 0},
        {"wide frames: nearer the right slot", CCSize(100, 40), CCPoint(348 + 47, rowY), 1},
        {"wide frames: a slot's centre is that slot", CCSize(100, 40), CCPoint(618, rowY), 3},
        {"right of the last slot", CCSize(60, 40), CCPoint(618 + 80, rowY), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KVTroopsScreenView::slotAtPoint(c.at, c.frame), c.slot);
    }
    // With nobody shown in the row nothing can be hit.
    setTeam({});
    KVTroopsScreenView* view = openTroops();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->teamSlotAtPoint(KVTroopsScreenView::slotPosition(0)), -1);
}

TEST_F(TroopsTest, EachDropWritesTheTeamShowsItAndIsSaved) {
    struct Case {
        const char* what;
        Team team;
        bool fromCard;
        const char* card; // fromCard: the creature; else the slot's index in `slot`
        int slot;
        int to; // target slot, -1 outside the row
        std::vector<std::string> row;
        Team speeds;
        std::map<std::string, bool> marks; // card -> equip mark shown
        int drops;
    };
    const Case cases[] = {
        {"a creature from its card into an empty slot",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "kiwa",
         0,
         2,
         {"steev", "vahine", "kiwa", ""},
         {{"kiwa", 3}},
         {{"kiwa", true}},
         1},
        {"a creature from its card onto an occupied slot replaces the occupant",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "kiwa",
         0,
         0,
         {"kiwa", "vahine", "", ""},
         {{"kiwa", 1}, {"steev", 5}},
         {{"kiwa", true}, {"steev", false}},
         1},
        {"a member from its card onto another member's slot: they swap",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "steev",
         0,
         1,
         {"vahine", "steev", "", ""},
         {{"steev", 2}, {"vahine", 1}},
         {{"steev", true}},
         1},
        {"a member from its card into an empty slot moves there",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "steev",
         0,
         3,
         {"", "vahine", "", "steev"},
         {{"steev", 4}},
         {{"steev", true}},
         1},
        {"a member from its card onto its own slot changes nothing",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "steev",
         0,
         0,
         {"steev", "vahine", "", ""},
         {{"steev", 1}},
         {{"steev", true}},
         1},
        {"a creature from its card outside the row is cancelled",
         {{"steev", 1}, {"vahine", 2}},
         true,
         "kiwa",
         0,
         -1,
         {"steev", "vahine", "", ""},
         {{"kiwa", 5}},
         {{"kiwa", false}},
         0},
        {"a member onto another member's slot: they swap",
         {{"steev", 1}, {"vahine", 2}, {"kiwa", 4}},
         false,
         nullptr,
         0,
         3,
         {"kiwa", "vahine", "", "steev"},
         {{"steev", 4}, {"kiwa", 1}},
         {},
         1},
        {"a member into an empty slot",
         {{"steev", 1}, {"vahine", 2}},
         false,
         nullptr,
         1,
         2,
         {"steev", "", "vahine", ""},
         {{"vahine", 3}},
         {},
         1},
        {"a member of three dropped outside leaves the team",
         {{"steev", 1}, {"vahine", 2}, {"kiwa", 3}},
         false,
         nullptr,
         1,
         -1,
         {"steev", "", "kiwa", ""},
         {{"vahine", 5}},
         {{"vahine", false}, {"kiwa", true}},
         0},
        {"the only member dropped outside flies back",
         {{"steev", 2}},
         false,
         nullptr,
         1,
         -1,
         {"", "steev", "", ""},
         {{"steev", 2}},
         {{"steev", true}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTeam(c.team);
        profile->saveProfile();
        KVTroopsScreenView* view = openTroops();
        ASSERT_NE(view, nullptr);
        menutest::Recorder drops;
        drops.observe(EVENT_MENU_DROP);
        const CCPoint to = c.to >= 0 ? KVTroopsScreenView::slotPosition(c.to) : CCPoint(480, 450);
        if (c.fromCard)
            dragCard(view, c.card, to);
        else
            dragSlot(view, c.slot, to);
        EXPECT_EQ(drops.count("EVENT_MENU_DROP"), c.drops);
        run(1.5f);
        EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kIdle);
        EXPECT_FALSE(view->isAnimating());
        EXPECT_EQ(row(view), c.row);
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s) {
            const bool filled = !c.row[static_cast<size_t>(s)].empty();
            CCNode* figure = view->getChildByTag(KVTroopsScreenView::kFigureTag + s);
            EXPECT_EQ(figure != nullptr, filled) << "figure " << s;
            EXPECT_EQ(view->getChildByTag(KVTroopsScreenView::kIconTag + s) != nullptr, filled)
                << "icon " << s;
            if (figure != nullptr) {
                EXPECT_FLOAT_EQ(figure->getPosition().x, KVTroopsScreenView::slotPosition(s).x) << s;
                CCNode* icon = view->getChildByTag(KVTroopsScreenView::kIconTag + s);
                if (icon != nullptr) {
                    EXPECT_FLOAT_EQ(icon->getPosition().x, KVTroopsScreenView::iconPosition(s).x);
                }
            }
        }
        for (int tag : {KVTroopsScreenView::kFadingFigureTag, KVTroopsScreenView::kFadingIconTag,
                        KVTroopsScreenView::kDragFigureTag, KVTroopsScreenView::kDragHelmetTag})
            EXPECT_EQ(view->getChildByTag(tag), nullptr) << "tag " << tag;
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s) {
            const std::string& name = c.row[static_cast<size_t>(s)];
            if (name.empty()) continue;
            EXPECT_EQ(selected(name.c_str()), 1) << name;
        }
        for (const auto& [name, position] : c.speeds)
            EXPECT_EQ(speed(name.c_str()), position) << name;
        for (const auto& [name, shown] : c.marks)
            EXPECT_EQ(hasEquipMark(view, name.c_str()), shown) << name;
        // What the drop changed is on disk already: a profile read afresh has the same team.
        profile->release();
        profile = KVPlayerParameters::getInstance();
        for (int s = 0; s < KVTroopsScreenView::kSlotCount; ++s) {
            const std::string& name = c.row[static_cast<size_t>(s)];
            if (!name.empty()) {
                EXPECT_EQ(profile->getKelvoSelectedStatus(name), 1) << "saved " << name;
            }
        }
        for (const auto& [name, position] : c.speeds)
            EXPECT_EQ(speed(name.c_str()), position) << "saved " << name;
    }
}

TEST_F(TroopsTest, ACreatureTakenFromACardShowsAsTheFingerRisesOutOfTheCards) {
    setTeam({{"steev", 1}});
    KVTroopsScreenView* view = openTroops();
    ASSERT_NE(view, nullptr);
    view->onCardsScrolled(0, 0);
    const CCPoint from = cardAt(view, "kiwa");
    view->onTouchBeganOnCard(from.x, from.y, text("kiwa"), 0);
    EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kOwnedCardPressed);
    EXPECT_TRUE(view->getCardCarousel()->getScrollView()->isEnabled());
    const struct {
        float rise;
        int opacity;
    } steps[] = {{10, 0}, {74, 0}, {112.5f, 127}, {149, 251}, {151, 255}, {300, 255}};
    for (const auto& step : steps) {
        view->onCardsScrolled(0, step.rise);
        ASSERT_NE(view->getDragFigure(), nullptr);
        EXPECT_EQ(view->getDragFigure()->getOpacity(), step.opacity) << step.rise;
        EXPECT_TRUE(view->isDragInProgress());
    }
    EXPECT_FLOAT_EQ(view->getDragFigure()->getPosition().y, from.y + 300);
    view->onPanFinished(); // far from any slot: cancelled
    EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kIdle);
    EXPECT_FALSE(view->isDragInProgress());
    EXPECT_FALSE(view->getCardCarousel()->getScrollView()->isEnabled());
    EXPECT_FALSE(view->isSheetLoaded("kiwa_ss")) << "only the dragged figure used it";
    EXPECT_TRUE(view->isSheetLoaded("steev_ss"));
}

TEST_F(TroopsTest, TapsOpenTheEquipmentScreenOrTheShopByLockStatus) {
    struct Case {
        const char* what;
        const char* creature;
        bool onCard;
        bool slot; // the press was on a team slot (slot 0)
        int lockStatus;
        int state; // 0: no change
    };
    const Case cases[] = {
        {"an owned creature's card", "kiwa", true, false, 0, KVMenuManager::kEquipmentState},
        {"a card of a creature in the shop", "clint", true, false, 2, KVMenuManager::kShopState},
        {"a shop card released off the cards", "clint", false, false, 2, KVMenuManager::kShopState},
        {"a team slot", "steev", false, true, 0, KVMenuManager::kEquipmentState},
        {"a team member whose record says locked: no screen to open", "steev", false, true, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTeam({{"steev", 1}});
        KVTroopsScreenView* view = openTroops();
        ASSERT_NE(view, nullptr);
        // The record as a broken save may hold it (the lock setter never locks an owned creature).
        kvdata::setInt(profile->getKelvoRecord("steev"), "status_locked", c.slot ? c.lockStatus : 0);
        menutest::Recorder sounds;
        sounds.observe(EVENT_BUTTON_VALIDATED_LIGHT);
        if (c.slot) {
            const CCPoint at = KVTroopsScreenView::slotPosition(0);
            view->onTouchBeganOffCard(at.x, at.y);
            EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kSlotPressed);
            view->onTouchEndedOffCard(at.x, at.y);
        } else {
            const CCPoint at = cardAt(view, c.creature);
            view->onTouchBeganOnCard(at.x, at.y, text(c.creature), c.lockStatus);
            if (c.onCard)
                view->onTouchEndedOnCard(at.x, at.y, text(c.creature), c.lockStatus);
            else
                view->onTouchEndedOffCard(at.x, 590);
            if (!c.onCard) {
                EXPECT_EQ(sounds.count("EVENT_BUTTON_VALIDATED_LIGHT"), 1);
            }
        }
        if (c.state == 0) {
            EXPECT_FALSE(view->isInputBlocked()) << "the screen stays usable";
            EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kIdle);
            EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kTroopsState);
            EXPECT_NE(view->getChildByTag(KVTroopsScreenView::kFigureTag), nullptr);
            continue;
        }
        EXPECT_TRUE(view->isInputBlocked());
        EXPECT_EQ(menu->getCurrentState(), c.state);
        ASSERT_NE(menu->getSelectedKelvoName(), nullptr);
        EXPECT_STREQ(menu->getSelectedKelvoName()->c_str(), c.creature);
        EXPECT_EQ(profile->getLastVisitedKelvo(), c.creature);
        // Blocked: a further press is ignored.
        const CCPoint other = cardAt(view, "vahine");
        view->onTouchBeganOnCard(other.x, other.y, text("vahine"), 0);
        EXPECT_STREQ(view->getSelectedName()->c_str(), c.creature);
        frame();
    }
    // A press on a shop creature's card never enables the pan (no drag can start).
    setTeam({{"steev", 1}});
    kvdata::setInt(profile->getKelvoRecord("steev"), "status_locked", 0);
    profile->saveProfile();
    KVTroopsScreenView* view = openTroops();
    ASSERT_NE(view, nullptr);
    view->getCardCarousel()->getScrollView()->setEnabled(false);
    const CCPoint at = cardAt(view, "clint");
    view->onTouchBeganOnCard(at.x, at.y, text("clint"), 2);
    EXPECT_EQ(view->getTouchState(), KVTroopsScreenView::kShopCardPressed);
    EXPECT_FALSE(view->getCardCarousel()->getScrollView()->isEnabled());
    view->onCardsScrolled(0, 200);
    EXPECT_EQ(view->getDragFigure(), nullptr);
}

TEST_F(TroopsTest, TheTutorialHandGoesFromTheCardOrSlotToTheSlotToFill) {
    struct Case {
        const char* what;
        Team team;
        std::vector<std::pair<std::string, std::string>> condition;
        bool fromCard;
        const char* creature; // the card, or the slot's occupant
        int toSlot;
    };
    const Case cases[] = {
        {"one creature to place, the row full of others: to slot 1",
         {{"steev", 1}, {"vahine", 2}, {"clint", 3}, {"sammo", 4}},
         {{"kiwa", "placeInTeam"}},
         true,
         "kiwa",
         0},
        {"two to place, one already in slot 1: from the other's card to slot 2",
         {{"kiwa", 1}, {"steev", 2}},
         {{"kiwa", "placeInTeam"}, {"vahine", "placeInTeam"}},
         true,
         "vahine",
         1},
        {"the last position for a member in slot 2: from that slot",
         {{"steev", 1}, {"kiwa", 2}},
         {{"kiwa", "placeInTeamLastPosition"}},
         false,
         "kiwa",
         3},
        {"the last position for a creature out of the team: from its card",
         {{"steev", 1}},
         {{"vahine", "placeInTeamLastPosition"}},
         true,
         "vahine",
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setTeam(c.team);
        profile->getProfile()->removeObjectForKey("forcedSteps");
        kvdata::Dict* condition = kvdata::newDict();
        for (const auto& [key, value] : c.condition)
            kvdata::setText(condition, key, value);
        kvdata::Dict* step = kvdata::newDict();
        step->setObject(condition, "condition");
        kvdata::Dict* steps = kvdata::newDict();
        steps->setObject(step, "step01");
        profile->startForcedSteps(steps);
        menu->changeState(KVMenuManager::kWorldMapState);
        frame();
        KVTroopsScreenView* view = openTroops();
        ASSERT_NE(view, nullptr);
        frame();
        CCNode* hand = view->getChildByTag(KVTroopsScreenView::kHandTag);
        ASSERT_NE(hand, nullptr);
        CCPoint start = KVTroopsScreenView::slotPosition(view->teamIndexOf(c.creature));
        if (c.fromCard) {
            const CCPoint card = cardAt(view, c.creature);
            start = CCPoint(card.x, 150); // a quarter of the window's height
        }
        EXPECT_NEAR(hand->getPosition().x, start.x, 1.0f);
        EXPECT_NEAR(hand->getPosition().y, start.y, 8.0f);
        run(1.0f); // fade in, press, then half a second's move
        const CCPoint dest = KVTroopsScreenView::slotPosition(c.toSlot);
        EXPECT_NEAR(hand->getPosition().x, dest.x, 1.0f);
        EXPECT_NEAR(hand->getPosition().y, dest.y, 8.0f);
        // The first scroll report of a drag takes the hand away.
        view->onCardsScrolled(0, 0);
        EXPECT_EQ(view->getChildByTag(KVTroopsScreenView::kHandTag), nullptr);
    }
}

TEST_F(TroopsTest, TheShopHintComesWithTheScreenAndOnceMoreAfterAValidatedStep) {
    setTeam({{"steev", 1}});
    profile->getProfile()->removeObjectForKey("forcedSteps");
    kvdata::Dict* condition = kvdata::newDict();
    kvdata::setText(condition, "clint", "buyKelvo");
    kvdata::Dict* step = kvdata::newDict();
    step->setObject(condition, "condition");
    kvdata::Dict* steps = kvdata::newDict();
    steps->setObject(step, "step01");
    profile->startForcedSteps(steps);
    KVTroopsScreenView* view = openTroops();
    ASSERT_NE(view, nullptr);
    KVButtonItem* shop = static_cast<KVButton*>(view->getChildByTag(KVTroopsScreenView::kShopTag))->getItem();
    ASSERT_NE(shop, nullptr);
    EXPECT_NE(shop->getChildByTag(KVTroopsScreenView::kShopHintTag), nullptr);
    EXPECT_EQ(shop->getChildByTag(KVTroopsScreenView::kShopStepHintTag), nullptr);
    const unsigned before = shop->getChildren()->count();
    CCNotificationCenter::getInstance()->postNotification(EVENT_STEP_VALIDATED);
    EXPECT_NE(shop->getChildByTag(KVTroopsScreenView::kShopStepHintTag), nullptr);
    CCNotificationCenter::getInstance()->postNotification(EVENT_STEP_VALIDATED);
    EXPECT_EQ(shop->getChildren()->count(), before + 1) << "a third hint adds nothing";
}

TEST_F(TroopsTest, CardsLookByLockedSelectedAndActive) {
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    struct Case {
        const char* sprite;
        bool locked, selected, active;
        const char* picture; // null: none
        bool mark, padlock, inactive;
    };
    const Case cases[] = {
        {"steev", false, false, true, "KV_steevLarge.png", false, false, false},
        {"steev", false, true, true, "KV_steevLarge.png", true, false, false},
        {"clint", true, false, true, "KV_clintLargeLock.png", false, true, false},
        {"kiwa0", false, false, false, "KV_hiddenLarge.png", false, false, true},
        {"kiwa0", true, false, false, nullptr, false, false, true},
        {"nobody", false, false, true, "KV_hiddenLarge.png", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sprite) + (c.locked ? " locked" : "") + (c.selected ? " selected" : "") +
                     (c.active ? " active" : ""));
        KVSquadItem* card =
            KVSquadItem::createWithCard(text(c.sprite), c.locked, c.selected, c.active, nullptr);
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->isInactive(), c.inactive);
        EXPECT_EQ(card->getChildByTag(KVSquadItem::kEquipMarkTag) != nullptr, c.mark);
        bool picture = false;
        bool padlock = false;
        for (unsigned i = 0; i < card->getChildren()->count(); ++i) {
            auto* child =
                dynamic_cast<CCSprite*>(static_cast<CCNode*>(card->getChildren()->objectAtIndex(i)));
            if (child == nullptr) continue;
            if (c.picture != nullptr && child->isFrameDisplayed(frames->findSpriteFrameByName(c.picture)))
                picture = true;
            if (child->isFrameDisplayed(frames->findSpriteFrameByName("KV_Iconelocked.png"))) padlock = true;
        }
        if (c.picture != nullptr) {
            EXPECT_TRUE(picture);
        }
        EXPECT_EQ(padlock, c.padlock);
    }

    // A hidden card refuses to be selected; an active card is re-enabled half a second after a tap.
    menutest::Recorder sounds;
    sounds.observe(EVENT_BUTTON_INVALIDATED);
    KVSquadItem* hidden = KVSquadItem::createWithCard(text("kiwa0"), false, false, false, nullptr);
    hidden->selected();
    EXPECT_FALSE(hidden->isSelected());
    EXPECT_EQ(sounds.count("EVENT_BUTTON_INVALIDATED"), 1);
    KVSquadItem* card = KVSquadItem::createWithCard(text("steev"), false, true, true, nullptr);
    base->addChild(card);
    card->activate();
    EXPECT_FALSE(card->isEnabled());
    run(0.4f);
    EXPECT_FALSE(card->isEnabled());
    run(0.2f);
    EXPECT_TRUE(card->isEnabled());
    card->showEquipMark(false);
    run(0.2f);
    EXPECT_NE(card->getChildByTag(KVSquadItem::kFadingMarkTag), nullptr) << "fading";
    EXPECT_EQ(card->getChildByTag(KVSquadItem::kEquipMarkTag), nullptr);
    run(0.2f);
    EXPECT_EQ(card->getChildByTag(KVSquadItem::kFadingMarkTag), nullptr) << "gone after 0.3 s";
    card->showEquipMark(true);
    EXPECT_NE(card->getChildByTag(KVSquadItem::kEquipMarkTag), nullptr);
    base->removeChild(card, true);
}

TEST_F(TroopsTest, TheScreenShowsItsPartsNamesTheCurrentCardAndPagesWithArrowsAndKeys) {
    setTeam({{"steev", 1}});
    KVTroopsScreenView* view = openTroops();
    ASSERT_NE(view, nullptr);
    const struct {
        int tag;
        CCPoint at;
    } parts[] = {{KVTroopsScreenView::kBackTag, CCPoint(160, 560)},
                 {KVTroopsScreenView::kShopTag, CCPoint(800, 560)},
                 {KVTroopsScreenView::kPanelTag, CCPoint(480, 337.5f)},
                 {KVTroopsScreenView::kTitleTag, CCPoint(479.5f, 400)},
                 {KVTroopsScreenView::kFigureTag, CCPoint(348, 310)},
                 {KVTroopsScreenView::kIconTag, CCPoint(348, 367)},
                 {KVTroopsScreenView::kNameTag, CCPoint(480, 75)}};
    for (const auto& part : parts) {
        CCNode* node = view->getChildByTag(part.tag);
        ASSERT_NE(node, nullptr) << part.tag;
        EXPECT_NEAR(node->getPosition().x, part.at.x, 0.5f) << part.tag;
        EXPECT_NEAR(node->getPosition().y, part.at.y, 0.5f) << part.tag;
    }
    KVScrollScalableItem* cards = view->getCardCarousel();
    const int creatures =
        static_cast<int>(kvdata::keysOf(KVGameParameters::getInstance()->getKelvoStatsTable()).size());
    EXPECT_EQ(cards->getCount(), creatures) << "every creature of the game data has a card";
    auto name = [view] { return std::string(static_cast<CCLabelTTF*>(view->getChildByTag(7))->getString()); };
    EXPECT_EQ(name(), "Steev");
    EXPECT_EQ(view->getLastPageIndex(), creatures - 1);
    EXPECT_FALSE(view->getPreviousArrowMenu()->isVisible());
    EXPECT_TRUE(view->getNextArrowMenu()->isVisible());
    auto key = [](const char* which) {
        CCNotificationCenter::getInstance()->postNotification(ccEventKeyPress(), kvdata::newString(which));
    };
    key("TOUCH_RIGHT");
    EXPECT_EQ(view->getPageIndex(), 1);
    key("TOUCH_RIGHT"); // the row is still moving: ignored
    EXPECT_EQ(view->getPageIndex(), 1);
    run(0.5f);
    EXPECT_EQ(cards->getCurrentIndex(), 1);
    EXPECT_EQ(name(), "Vahine");
    EXPECT_TRUE(view->getPreviousArrowMenu()->isVisible());
    for (int i = 0; i < 5; ++i) {
        view->nextPage(nullptr);
        run(0.5f);
    }
    EXPECT_EQ(view->getPageIndex(), 6);
    EXPECT_EQ(name(), "...") << "a locked creature's card";
    key("TOUCH_LEFT");
    run(0.5f);
    EXPECT_EQ(name(), "...");
    key("TOUCH_LEFT");
    run(0.5f);
    EXPECT_EQ(name(), "Sammo");
    while (view->getPageIndex() < creatures - 1) {
        const int page = view->getPageIndex();
        view->nextPage(nullptr);
        run(0.5f);
        ASSERT_EQ(view->getPageIndex(), page + 1);
    }
    EXPECT_FALSE(view->getNextArrowMenu()->isVisible());
    EXPECT_EQ(KVTroopsScreenView::titleCaseWords("kiwa the bold"), "kiwa The Bold");
    EXPECT_EQ(KVTroopsScreenView::titleCaseWords("Kiwa the  Bold "), "Kiwa The  Bold ");
}

TEST_F(TroopsTest, LeavingTenTimesUnloadsEverySheetTheScreenLoaded) {
    setTeam({{"steev", 1}, {"vahine", 2}});
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        KVTroopsScreenView* view = openTroops();
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->isSheetLoaded("steev_ss"));
        EXPECT_TRUE(frames->hasSpriteFrame("steev_idle_01.png"));
        view->backPressed(nullptr);
        EXPECT_TRUE(view->isInputBlocked());
        EXPECT_FALSE(view->isSheetLoaded("steev_ss"));
        EXPECT_FALSE(view->isSheetLoaded("vahine_ss"));
        EXPECT_FALSE(frames->hasSpriteFrame("steev_idle_01.png"));
        frame();
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kWorldMapState);
    }
}

} // namespace
