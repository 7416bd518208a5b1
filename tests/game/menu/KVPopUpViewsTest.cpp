// The pop-ups with no state id of their own, laid over a screen through the menu manager: the
// shop's buy confirmation, pearl notice and training confirmation, and the level-info pop-up.
// Their texts and button rows, what each button posts and does, and that every other touch stays
// with the pop-up.
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCLayer.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVTitleItem.h"
#include "game/screens/KVPopUpLevelInfoScreenView.h"
#include "game/shop/KVPopUpLevelUpScreenView.h"
#include "game/shop/KVPopUpPearlLackScreenView.h"
#include "game/shop/KVPopUpShopBuyScreenView.h"

using namespace kvengine;

namespace {

/// A screen under the pop-up that counts the touches it gets.
class ScreenBelow : public CCLayer {
public:
    ScreenBelow() {
        init();
        setTouchEnabled(true);
        autorelease();
    }
    void registerWithTouchDispatcher() override {
        m_registered = true;
        CCTouchDispatcher::getInstance()->addTargetedDelegate(this, 0, true);
    }
    bool touchBegan(CCTouch*, CCEvent*) override {
        ++touches;
        return true;
    }
    int touches = 0;
};

// The screen the pop-ups lie over in these tests: the shop.
constexpr int kScreenState = KVMenuManager::kShopState;

class PopUpViewsTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        menu = KVMenuManager::getInstance();
        profile = KVPlayerParameters::getInstance();
        recorder = new menutest::Recorder();
        for (CCString* name :
             {SCREEN_MENU_BUY_CONFIRM, SCREEN_MENU_TRAIN_KELVO, SCREEN_MENU_TRAIN_KELVO_CONFIRM})
            recorder->observe(name);
        below = new ScreenBelow();
        base->addChildAtZ(below, 0);
        menu->getStateRecord()->setCurrentId(kScreenState);
        frame();
    }
    void tearDownWithGL() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        MenuFixture::tearDownWithGL();
    }
    /// Lays the pop-up of `state` over the base scene and returns its view.
    KVPopUpItem* open(KVScreenState* state) {
        menu->openPopUpState(state);
        frame();
        CCNode* overlay = base->getChildByTag(KVMenuManager::kOverlayTag);
        if (overlay == nullptr || overlay->getChildren() == nullptr) return nullptr;
        return static_cast<KVPopUpItem*>(overlay->getChildren()->objectAtIndex(0));
    }
    bool isOpen() const { return base->getChildByTag(KVMenuManager::kOverlayTag) != nullptr; }
    /// The button child with `tag` (texts may share the frame's tags).
    static KVButton* button(CCNode* view, int tag) {
        CCArray* children = view->getChildren();
        for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getTag() == tag && child->isKindOf("KVButton")) return static_cast<KVButton*>(child);
        }
        return nullptr;
    }
    static std::string caption(KVButton* b) {
        const char* text = b != nullptr ? b->getLabelString() : nullptr;
        return text != nullptr ? text : "<none>";
    }
    /// The message: the view's one plain label.
    static CCLabelTTF* message(CCNode* view) {
        CCArray* children = view->getChildren();
        for (unsigned i = 0; children != nullptr && i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getZOrder() == 2 && !child->isKindOf("KVButton"))
                return static_cast<CCLabelTTF*>(child);
        }
        return nullptr;
    }
    void tapOn(CCNode* node) {
        const CCPoint at = centreOf(node);
        tap(at.x, at.y);
        frame();
    }

    KVMenuManager* menu = nullptr;
    KVPlayerParameters* profile = nullptr;
    menutest::Recorder* recorder = nullptr;
    ScreenBelow* below = nullptr;
};

TEST_F(PopUpViewsTest, ShopPopUpsShowTheirFrameMessageAndButtonRow) {
    menu->setSelectedKelvoName(kvdata::newString("clint"));
    kvdata::setInt(KVGameParameters::getInstance()->getKelvoStats("clint"), "cost", 40);
    struct Case {
        const char* what;
        KVScreenState* (*make)();
        const char* frameName;
        const char* action;
        const char* text;
        bool rowAtFrameBottom;
    };
    const Case cases[] = {
        {"buy", [] { return static_cast<KVScreenState*>(new KVPopUpShopBuyScreenState()); },
         "Bg_PopUpLevelInfo.png", "Buy", "You need more pearls for this.", false},
        {"pearl notice", [] { return static_cast<KVScreenState*>(new KVPopUpPearlLackScreenState()); },
         "Bg_PopUpSquad.png", "More pearls", "You need more pearls for this.", true},
        {"training", [] { return static_cast<KVScreenState*>(new KVPopUpLevelUpScreenState()); },
         "Bg_PopUpLevelInfo.png", "Train", "Do you want to Train this kelvo? It'll cost 40 pearls!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KVPopUpItem* view = open(c.make());
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kItemPopUpState);
        EXPECT_EQ(menu->getPreviousState(), kScreenState);
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag)->getZOrder(), KVMenuManager::kItemPopUpZ);
        auto* frameSprite = static_cast<CCSprite*>(view->getChildByTag(KVPopUpItem::kFrameTag));
        ASSERT_NE(frameSprite, nullptr);
        EXPECT_TRUE(frameSprite->isFrameDisplayed(
            CCSpriteFrameCache::getInstance()->findSpriteFrameByName(c.frameName)));
        KVButton* cancel = button(view, KVPopUpItem::kCancelTag);
        KVButton* action = button(view, KVPopUpItem::kActionTag);
        ASSERT_NE(cancel, nullptr);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(caption(cancel), "Cancel");
        EXPECT_EQ(caption(action), c.action);
        const CCSize a = action->getContentSize();
        const CCSize k = cancel->getContentSize();
        EXPECT_FLOAT_EQ(cancel->getPosition().x, kWidth / 2.0f - k.width);
        EXPECT_FLOAT_EQ(action->getPosition().x, kWidth / 2.0f + a.width);
        const CCSize f = frameSprite->getContentSize();
        if (c.rowAtFrameBottom) {
            const float rowY = kHeight / 2.0f - f.height / 2 + k.height / 2;
            EXPECT_FLOAT_EQ(cancel->getPosition().y, rowY);
            EXPECT_FLOAT_EQ(action->getPosition().y, rowY);
        } else {
            EXPECT_FLOAT_EQ(cancel->getPosition().y, kHeight / 2.0f - k.height / 0.7f);
            EXPECT_FLOAT_EQ(action->getPosition().y, kHeight / 2.0f - a.height / 0.7f);
        }
        CCLabelTTF* text = message(view);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text->getString()), c.text);
        EXPECT_EQ(text->getColor().b, 255);
        EXPECT_EQ(text->getColor().r, 0);
        frame();
        screenshot(std::string("popup_view_") + c.what + ".png");
        tapOn(cancel);
        EXPECT_FALSE(isOpen()) << "Cancel closes the pop-up";
        EXPECT_EQ(menu->getCurrentState(), kScreenState);
        EXPECT_EQ(menu->getPreviousState(), KVMenuManager::kItemPopUpState);
    }
    EXPECT_EQ(recorder->count("Menu - Train Kelvo"), 1) << "the training question announces itself";
    EXPECT_EQ(recorder->count("Menu - Buy - Confirm"), 0);
    EXPECT_EQ(below->touches, 0);
}

TEST_F(PopUpViewsTest, EveryTouchOutsideTheButtonsStaysWithThePopUp) {
    KVPopUpItem* view = open(new KVPopUpShopBuyScreenState());
    ASSERT_NE(view, nullptr);
    const CCPoint centre(kWidth / 2.0f, kHeight / 2.0f);
    for (const CCPoint& point : {CCPoint(5, 5), centre, CCPoint(kWidth - 5.0f, kHeight - 5.0f)})
        tap(point.x, point.y);
    EXPECT_EQ(below->touches, 0);
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(recorder->names.empty());
    tapOn(button(view, KVPopUpItem::kActionTag));
    EXPECT_EQ(recorder->names, std::vector<std::string>{"Menu - Buy - Confirm"});
    EXPECT_FALSE(isOpen()) << "Buy closes the pop-up";
    EXPECT_EQ(menu->getCurrentState(), kScreenState);
    tap(5, 5);
    EXPECT_EQ(below->touches, 1) << "the screen reacts again";
}

TEST_F(PopUpViewsTest, TheButtonToMorePearlsOpensTheShop) {
    menu->getStateRecord()->setCurrentId(KVMenuManager::kEquipmentState);
    KVPopUpItem* view = open(new KVPopUpPearlLackScreenState());
    ASSERT_NE(view, nullptr);
    tapOn(button(view, KVPopUpItem::kActionTag));
    EXPECT_EQ(recorder->names, std::vector<std::string>{"Menu - Buy - Confirm"});
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kShopState);
    EXPECT_EQ(menu->getPreviousState(), KVMenuManager::kEquipmentState) << "the screen under it was left";
    EXPECT_EQ(menu->getSlot(KVMenuManager::kPopUpItemSlot), nullptr);
}

TEST_F(PopUpViewsTest, TrainingRaisesTheLevelOnlyWhenThePearlsPayForIt) {
    struct Case {
        const char* what;
        const char* creature;
        int pearls;
        int levelAfter; // -1: no record
        int pearlsAfter;
        bool confirmed;
    };
    kvdata::setInt(KVGameParameters::getInstance()->getKelvoStats("clint"), "cost", 40);
    const Case cases[] = {
        {"enough pearls", "clint", 100, 2, 60, true},
        {"exactly enough", "clint", 40, 2, 0, true},
        {"too few", "clint", 39, 1, 39, false},
        {"no such creature", "whale", 100, -1, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder->names.clear();
        profile->removePearls(profile->getPearlAmount());
        profile->addPearls(c.pearls);
        if (c.levelAfter >= 0) profile->setKelvoLevel(c.creature, 1);
        menu->setSelectedKelvoName(kvdata::newString(c.creature));
        // The screen under the pop-up with its pearl counter.
        CCLayer* screen = CCLayer::create();
        KVPearlCountItem* counter = KVPearlCountItem::createSmall();
        ASSERT_NE(counter, nullptr);
        screen->addChildAtZWithTag(counter, 1, KVPopUpLevelUpScreenView::kPearlCounterTag);
        base->addChildAtZWithTag(screen, 0, KVPopUpLevelUpScreenView::kScreenTag);
        frame();
        const int shownBefore = counter->getShownAmount();

        KVPopUpItem* view = open(new KVPopUpLevelUpScreenState());
        ASSERT_NE(view, nullptr);
        tapOn(button(view, KVPopUpItem::kActionTag));
        EXPECT_FALSE(isOpen()) << "closed in every case";
        if (c.levelAfter >= 0) {
            EXPECT_EQ(profile->getKelvoLevel(c.creature), c.levelAfter);
        }
        EXPECT_EQ(profile->getPearlAmount(), c.pearlsAfter);
        EXPECT_EQ(recorder->count("Menu - Train Kelvo - Confirm"), c.confirmed ? 1 : 0);
        if (c.confirmed) {
            run(3);
            EXPECT_NE(counter->getShownAmount(), shownBefore) << "the counter counted";
        }
        base->removeChildByTag(KVPopUpLevelUpScreenView::kScreenTag, true);
    }
}

class LevelInfoTest : public PopUpViewsTest {
protected:
    void setUpWithGL() override {
        PopUpViewsTest::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        menu->setChapterName(kvdata::newString("Prologue"));
        menu->setMissionName(kvdata::newString("M01a"));
        menu->getStateRecord()->setCurrentId(KVMenuManager::kWorldMapState);
    }
    kvdata::Dict* record() { return profile->getMissionRecord("M01a", "Prologue"); }
    static bool shows(CCNode* sprite, const char* frameName) {
        // Buttons and titles lie among the sprites: only a sprite shows a frame.
        auto* shown = dynamic_cast<CCSprite*>(sprite);
        return shown != nullptr &&
               shown->isFrameDisplayed(CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frameName));
    }
    /// The stars of the view, top row first.
    static std::vector<CCSprite*> stars(CCNode* view) {
        std::vector<CCSprite*> found;
        CCArray* children = view->getChildren();
        for (unsigned i = 0; i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (shows(child, "KV_StarNotFound.png")) found.push_back(static_cast<CCSprite*>(child));
        }
        return found;
    }
};

TEST_F(LevelInfoTest, TheRecordDecidesTheButtonStatusPictureAndStars) {
    ASSERT_NE(record(), nullptr) << "the Prologue's first mission is in the profile";
    struct Case {
        const char* what;
        int played, locked, hidden, survival, speed;
        const char* button;
        const char* picture;
        std::vector<bool> found;
    };
    const Case cases[] = {
        {"open, not played, no star", 0, 0, 1, 1, 1, "Play", "Pic_Check.png", {false, false, false}},
        {"played with the hidden and speed stars",
         1,
         0,
         0,
         1,
         0,
         "RePlay",
         "Pic_Check.png",
         {true, false, true}},
        {"shown locked", 0, 2, 1, 0, 1, "Play", "Pic_Lock.png", {false, true, false}},
        {"hidden: no picture of its own, the padlock",
         0,
         1,
         1,
         1,
         1,
         "Play",
         "Pic_Lock.png",
         {false, false, false}},
        {"an unknown status", 0, 7, 1, 1, 1, "Play", "Pic_Lock.png", {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        kvdata::setInt(record(), "status_played", c.played);
        kvdata::setInt(record(), "status_locked", c.locked);
        kvdata::setInt(record(), "hidden_locked", c.hidden);
        kvdata::setInt(record(), "surviva_locked", c.survival);
        kvdata::setInt(record(), "speed_locked", c.speed);
        auto* view = static_cast<KVPopUpLevelInfoScreenView*>(open(new KVPopUpLevelInfoScreenState()));
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->isPlayable(), c.played == 0);
        KVButton* play = button(view, KVPopUpItem::kActionTag);
        EXPECT_EQ(caption(play), c.button);
        CCNode* picture = nullptr;
        CCArray* children = view->getChildren();
        for (unsigned i = 0; i < children->count(); ++i) {
            auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
            if (child->getTag() == KVPopUpLevelInfoScreenView::kStatusTag && child->getZOrder() == 1)
                picture = child;
        }
        EXPECT_TRUE(shows(picture, c.picture));
        const std::vector<CCSprite*> rowStars = stars(view);
        ASSERT_EQ(rowStars.size(), 3u);
        std::vector<bool> found;
        for (CCSprite* star : rowStars)
            found.push_back(star->getChildren() != nullptr && star->getChildren()->count() == 1);
        EXPECT_EQ(found, c.found);
        menu->changeState(KVMenuManager::kCloseOverlayState);
    }
}

TEST_F(LevelInfoTest, LayoutAgainstTheStatusPicture) {
    kvdata::setInt(record(), "status_locked", 0);
    KVPopUpItem* view = open(new KVPopUpLevelInfoScreenState());
    ASSERT_NE(view, nullptr);
    CCNode* picture = nullptr;
    std::vector<CCNode*> titles(7, nullptr);
    CCArray* children = view->getChildren();
    for (unsigned i = 0; i < children->count(); ++i) {
        auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
        if (child->isKindOf("KVTitleItem") && child->getTag() >= 2 && child->getTag() <= 6)
            titles[child->getTag()] = child;
        if (child->getTag() == 1 && shows(child, "Pic_Check.png")) picture = child;
    }
    ASSERT_NE(picture, nullptr);
    for (int tag = 2; tag <= 6; ++tag)
        ASSERT_NE(titles[tag], nullptr) << tag;
    const CCSize p = picture->getContentSize();
    const CCPoint at = picture->getPosition();
    EXPECT_FLOAT_EQ(at.x, kWidth / 2.0f - p.width / 0.33f);
    EXPECT_FLOAT_EQ(at.y, kHeight / 2.0f + p.height / 0.55f);
    EXPECT_FLOAT_EQ(titles[2]->getPosition().x, at.x + titles[2]->getContentSize().width);
    EXPECT_FLOAT_EQ(titles[3]->getPosition().y, at.y - titles[3]->getContentSize().height / 2);
    const float rowY[] = {kHeight / 2.0f + titles[4]->getContentSize().height,
                          kHeight / 2.0f - titles[5]->getContentSize().height / 3.5f,
                          kHeight / 2.0f - titles[6]->getContentSize().height / 0.7f};
    for (int row = 0; row < 3; ++row) {
        EXPECT_FLOAT_EQ(titles[4 + row]->getPosition().y, rowY[row]) << row;
        EXPECT_FLOAT_EQ(titles[4 + row]->getPosition().x, at.x + titles[4 + row]->getContentSize().width / 2);
    }
    const std::vector<CCSprite*> rowStars = stars(view);
    ASSERT_EQ(rowStars.size(), 3u);
    EXPECT_FLOAT_EQ(rowStars[0]->getPosition().y, rowY[0]);
    frame();
    screenshot("popup_view_level_info.png");
}

TEST_F(LevelInfoTest, PlayLaunchesAnOpenMissionReplayDoesNothingCancelCloses) {
    kvdata::setInt(record(), "status_played", 1);
    KVPopUpItem* view = open(new KVPopUpLevelInfoScreenState());
    ASSERT_NE(view, nullptr);
    tapOn(button(view, KVPopUpItem::kActionTag));
    EXPECT_TRUE(isOpen()) << "RePlay launches nothing";
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kItemPopUpState);
    tapOn(button(view, KVPopUpItem::kCancelTag));
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kWorldMapState);

    kvdata::setInt(record(), "status_played", 0);
    view = open(new KVPopUpLevelInfoScreenState());
    ASSERT_NE(view, nullptr);
    tapOn(button(view, KVPopUpItem::kActionTag));
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kInGameState) << "the mission fades in";
    EXPECT_EQ(menu->getSlot(KVMenuManager::kPopUpItemSlot), nullptr);
    EXPECT_EQ(below->touches, 0);
}

} // namespace
