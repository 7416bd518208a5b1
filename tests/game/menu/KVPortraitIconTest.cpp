// Portrait icons: looks by lock status and kind, marks, badges, taps and the "new"/hint clearing.
#include "game/menu/KVPortraitIcon.h"

#include "MenuFixture.h"
#include "PortraitTestSupport.h"

#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/nodes/CCMenu.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVPortraitItem.h"
#include "game/menu/KVPortraitRadioShopIcon.h"
#include "support/TestFiles.h"

using namespace kvengine;
using portraittest::childrenShowing;
using portraittest::Handler;
using portraittest::showsFrame;

namespace {

class PortraitIconTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        portraittest::loadSheet("frontend_helmet_ss");
    }
    void tearDownWithGL() override {
        CCDirector::wideScreen = 0;
        MenuFixture::tearDownWithGL();
    }
    // Puts the icon alone in a menu on the running scene, centred at (480, 300).
    void show(CCMenuItem* icon) {
        icon->setPosition(CCPoint(480, 300));
        CCMenu* menu = CCMenu::createWithItems(icon, nullptr);
        menu->setPosition(CCPointZero);
        base->addChild(menu);
    }
    static KVPortraitRadioShopIcon* shopIcon(const std::string& picture, int kind,
                                             Handler* handler = nullptr) {
        return KVPortraitRadioShopIcon::createWithName(kvdata::newString(picture), handler,
                                                       portraittest::chosenSelector(), kind);
    }
};

TEST_F(PortraitIconTest, RadioIconLooksByLockStatus) {
    struct Case {
        const char* base;
        int status;
        bool made, framed, lockMark, callsHandler;
        const char* picture;
    };
    const Case cases[] = {
        {"straw_hat", 0, true, true, false, true, "straw_hat_frontend_01.png"},
        {"KV_IconeRemoveHelmet.png", 0, true, true, false, true, "KV_IconeRemoveHelmet.png"},
        {"straw_hat", 1, true, false, false, false, "KV_hiddenLarge.png"},
        {"snorkel", 2, true, true, true, true, "snorkel_frontend_01.png"},
        {"snorkel", 3, false, false, false, false, nullptr},
        {"snorkel", -1, false, false, false, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " status " + std::to_string(c.status));
        Handler handler;
        menutest::Recorder sounds;
        sounds.observe(EVENT_BUTTON_INVALIDATED);
        sounds.observe(EVENT_BUTTON_VALIDATED_LIGHT);
        KVPortraitIcon* icon = KVPortraitItem::createPortraitIcon(kvdata::newString(c.base), c.status, true,
                                                                  &handler, portraittest::chosenSelector());
        if (!c.made) {
            EXPECT_EQ(icon, nullptr);
            continue;
        }
        ASSERT_NE(icon, nullptr);
        EXPECT_TRUE(icon->isKindOf("KVPortraitRadioIcon"));
        EXPECT_FLOAT_EQ(icon->getContentSize().width, 66);
        EXPECT_FLOAT_EQ(icon->getContentSize().height, 71);
        EXPECT_TRUE(icon->isShowingSelectedFrame()) << "the selected flag is passed through";
        EXPECT_TRUE(showsFrame(icon->getSelectedFrame(), "KV_CadreStuffSelect.png"));
        EXPECT_TRUE(showsFrame(icon->getNormalFrame(), "KV_CadreStuffNormal.png"));
        // A framed picture sits in both frames; a plain one on the icon itself.
        EXPECT_EQ(childrenShowing(icon->getNormalFrame(), c.picture), c.framed ? 1 : 0);
        EXPECT_EQ(childrenShowing(icon->getSelectedFrame(), c.picture), c.framed ? 1 : 0);
        EXPECT_EQ(childrenShowing(icon, c.picture), c.framed ? 0 : 1);
        EXPECT_EQ(childrenShowing(icon, "KV_Iconelocked.png"), c.lockMark ? 1 : 0);
        EXPECT_EQ(icon->isInvalidTap(), !c.framed);
        icon->activate();
        EXPECT_EQ(handler.chosen.size(), c.callsHandler ? 1u : 0u);
        icon->unselected();
        EXPECT_EQ(sounds.count(EVENT_BUTTON_INVALIDATED->c_str()), c.framed ? 0 : 1);
        EXPECT_EQ(sounds.count(EVENT_BUTTON_VALIDATED_LIGHT->c_str()), c.framed ? 1 : 0);
        icon->showNormalFrame();
        EXPECT_FALSE(icon->isShowingSelectedFrame());
    }
}

TEST_F(PortraitIconTest, AMissingPictureShowsTheHiddenPictureWithALogLine) {
    kvtest::LogLines log;
    KVPortraitIcon* radio =
        KVPortraitItem::createPortraitIcon(kvdata::newString("no_such_helmet"), 0, false, nullptr, nullptr);
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(childrenShowing(radio->getNormalFrame(), "KV_hiddenLarge.png"), 1);
    EXPECT_TRUE(log.contains("no_such_helmet_frontend_01.png"));
    KVPortraitIcon* simple =
        KVPortraitItem::createSimpleIcon(0, nullptr, kvdata::newString("no_such_creature"), nullptr, false);
    ASSERT_NE(simple, nullptr);
    EXPECT_EQ(childrenShowing(simple, "KV_hiddenLarge.png"), 1);
    EXPECT_TRUE(log.contains("KV_no_such_creatureLarge.png"));
    // A shop icon whose picture is missing: no picture of its own on the icon, a log line.
    KVPortraitRadioShopIcon* shop = shopIcon("KV_nobodyLarge.png", 3);
    ASSERT_NE(shop, nullptr);
    EXPECT_TRUE(log.contains("KV_nobodyLarge.png"));
    EXPECT_EQ(shopIcon("sushi_shop.png", 7), nullptr) << "no shop icon of kind 7";
}

TEST_F(PortraitIconTest, SimpleIconsByLockStatus) {
    struct Case {
        int status;
        bool made, invalid, callsHandler;
    };
    for (const Case& c : {Case{0, true, false, true}, Case{1, true, true, false}, Case{2, true, false, true},
                          Case{3, false, false, false}}) {
        SCOPED_TRACE(c.status);
        Handler handler;
        KVPortraitIcon* icon = KVPortraitItem::createSimpleIcon(c.status, portraittest::chosenSelector(),
                                                                kvdata::newString("steev"), &handler, true);
        if (!c.made) {
            EXPECT_EQ(icon, nullptr);
            continue;
        }
        ASSERT_NE(icon, nullptr);
        EXPECT_TRUE(icon->isKindOf("KVPortraitSimpleIcon"));
        EXPECT_EQ(icon->isInvalidTap(), c.invalid);
        EXPECT_EQ(icon->getSelectedImage(), icon->getSelectedFrame()) << "pressed, the selected frame shows";
        icon->activate();
        EXPECT_EQ(handler.chosen.size(), c.callsHandler ? 1u : 0u);
    }
}

TEST_F(PortraitIconTest, ShopIconMarksByKindAndProfile) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addUnseenItem("coral_crown", "Helmet");
    portraittest::pointTutorialAt("snorkel");
    struct Case {
        const char* picture;
        int kind;
        bool wide;
        bool newMark;
        CCPoint newMarkAt;
        bool hint;
        CCPoint hintAt;
        const char* frame;
    };
    const Case cases[] = {
        {"coral_crown_frontend_01.png",
         4,
         false,
         true,
         CCPoint(66, 62),
         false,
         {},
         "KV_CadreLargeNormal.png"},
        {"coral_crown_frontend_01.png",
         4,
         true,
         true,
         CCPoint(50, 57.5f),
         false,
         {},
         "KV_CadreLargeNormal.png"},
        {"snorkel_frontend_01.png",
         4,
         false,
         false,
         {},
         true,
         CCPoint(228.5f, 224.5f),
         "KV_CadreLargeNormal.png"},
        {"snorkel_frontend_01.png",
         4,
         true,
         false,
         {},
         true,
         CCPoint(292.5f, 192.5f),
         "KV_CadreLargeNormal.png"},
        {"sushi_shop.png", 5, false, false, {}, false, {}, "KV_CadreStuffNormal.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.picture) + (c.wide ? " wide" : " narrow"));
        CCDirector::wideScreen = c.wide ? 1 : 0;
        KVPortraitRadioShopIcon* icon = shopIcon(c.picture, c.kind);
        ASSERT_NE(icon, nullptr);
        EXPECT_TRUE(showsFrame(icon->getNormalImage(), c.frame));
        EXPECT_FALSE(icon->isShowingSelectedFrame());
        EXPECT_EQ(childrenShowing(icon, c.picture), 1) << "the picture stands in front of either frame";
        CCNode* mark = icon->getChildByTag(KVPortraitIcon::kNewMarkTag);
        ASSERT_EQ(mark != nullptr, c.newMark);
        if (mark != nullptr) {
            EXPECT_TRUE(showsFrame(mark, "KV_IconeNew.png"));
            EXPECT_FLOAT_EQ(mark->getPosition().x, c.newMarkAt.x);
            EXPECT_FLOAT_EQ(mark->getPosition().y, c.newMarkAt.y);
        }
        CCNode* hint = icon->getChildByTag(KVPortraitIcon::kHintTag);
        ASSERT_EQ(hint != nullptr, c.hint);
        if (hint != nullptr) {
            EXPECT_EQ(hint->getZOrder(), KVPortraitIcon::kHintZ);
            EXPECT_FLOAT_EQ(hint->getPosition().x, c.hintAt.x);
            EXPECT_FLOAT_EQ(hint->getPosition().y, c.hintAt.y);
            EXPECT_GT(hint->numberOfRunningActions(), 0u);
        }
    }
}

TEST_F(PortraitIconTest, ConsumableIconsShowWhatThePlayerOwns) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->addConsumable("cocktail", 3);
    profile->addConsumable("halloween_pack", 1);
    profile->addConsumable("vesper_pack", 1);
    struct Case {
        const char* picture;
        bool badge, owned;
        const char* amount;
    };
    for (const Case& c :
         {Case{"cocktail_shop.png", true, false, "3"}, Case{"sushi_shop.png", false, false, ""},
          Case{"bonus_missions_shop.png", false, true, ""}, Case{"vesper_pack_shop.png", false, true, ""},
          Case{"jammer_pack_shop.png", false, false, ""}}) {
        SCOPED_TRACE(c.picture);
        KVPortraitRadioShopIcon* icon = shopIcon(c.picture, 5);
        ASSERT_NE(icon, nullptr);
        CCNode* badge = icon->getChildByTag(KVPortraitIcon::kBadgeTag);
        EXPECT_EQ(badge != nullptr, c.badge || c.owned);
        EXPECT_EQ(showsFrame(badge, "KV_Fond_Nb_Item.png"), c.badge);
        EXPECT_EQ(showsFrame(badge, "KV_IconeEquip.png"), c.owned);
        CCNode* label = icon->getChildByTag(KVPortraitIcon::kAmountTag);
        ASSERT_EQ(label != nullptr, c.badge);
        if (label == nullptr) continue;
        EXPECT_STREQ(label->asLabelProtocol()->getString(), c.amount);
        // The badge sits a quarter of its size in from the frame's upper right corner.
        const CCSize frame = icon->getNormalFrame()->getContentSize();
        EXPECT_FLOAT_EQ(badge->getPosition().x, frame.width - badge->getContentSize().width * 0.25f);
        EXPECT_FLOAT_EQ(label->getPosition().y, frame.height - badge->getContentSize().height * 0.25f);
    }
}

TEST_F(PortraitIconTest, ABoughtConsumableGainsItsBadgeAnotherNameChangesNothing) {
    KVPortraitRadioShopIcon* icon = shopIcon("sushi_shop.png", 5);
    ASSERT_NE(icon, nullptr);
    icon->retain();
    EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kBadgeTag), nullptr);
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    profile->addConsumable("sushi", 1);
    profile->addConsumable("cocktail", 1);
    centre->postNotification(SCREEN_MENU_BUY_CONSUMABLE, kvdata::newString("cocktail"));
    EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kBadgeTag), nullptr) << "another consumable was bought";
    centre->postNotification(SCREEN_MENU_BUY_CONSUMABLE, nullptr);
    EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kBadgeTag), nullptr) << "no name, no change";
    centre->postNotification(SCREEN_MENU_BUY_CONSUMABLE, kvdata::newString("sushi"));
    ASSERT_NE(icon->getChildByTag(KVPortraitIcon::kBadgeTag), nullptr);
    EXPECT_STREQ(icon->getChildByTag(KVPortraitIcon::kAmountTag)->asLabelProtocol()->getString(), "1");
    profile->addConsumable("sushi", 1);
    centre->postNotification(SCREEN_MENU_BUY_CONSUMABLE, kvdata::newString("sushi"));
    EXPECT_STREQ(icon->getChildByTag(KVPortraitIcon::kAmountTag)->asLabelProtocol()->getString(), "2");
    // Released, the icon no longer listens: a later purchase reaches nothing.
    icon->release();
    frame();
    profile->addConsumable("sushi", 1);
    centre->postNotification(SCREEN_MENU_BUY_CONSUMABLE, kvdata::newString("sushi"));
}

TEST_F(PortraitIconTest, TwoTapsWithinHalfASecondCallTheHandlerOnce) {
    Handler handler;
    KVPortraitIcon* icon = KVPortraitItem::createPortraitIcon(kvdata::newString("straw_hat"), 0, false,
                                                              &handler, portraittest::chosenSelector());
    ASSERT_NE(icon, nullptr);
    icon->setUserObject(kvdata::newString("straw_hat"));
    show(icon);
    frame();
    tap(480, 300);
    run(0.3f);
    tap(480, 300);
    EXPECT_EQ(handler.chosen.size(), 1u);
    run(0.3f);
    tap(480, 300);
    EXPECT_EQ(handler.chosen.size(), 2u) << "0.6 s after the first tap the icon answers again";
    // An icon taken off the stage is cleaned up: its re-enable timer is not kept.
    icon->retain();
    icon->getParent()->removeChild(icon, true);
    EXPECT_TRUE(icon->isCleanedUp());
    icon->release();
}

TEST_F(PortraitIconTest, ClearHighlightsRemovesTheMarksAndSelects) {
    KVPlayerParameters::getInstance()->addUnseenItem("snorkel", "Helmet");
    portraittest::pointTutorialAt("snorkel");
    for (bool alreadySelected : {false, true}) {
        SCOPED_TRACE(alreadySelected);
        KVPortraitRadioShopIcon* icon = shopIcon("snorkel_frontend_01.png", 4);
        ASSERT_NE(icon, nullptr);
        ASSERT_NE(icon->getChildByTag(KVPortraitIcon::kNewMarkTag), nullptr);
        ASSERT_NE(icon->getChildByTag(KVPortraitIcon::kHintTag), nullptr);
        if (alreadySelected) icon->showSelectedFrame();
        KVPortraitItem::clearHighlights(icon);
        EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kNewMarkTag), nullptr);
        EXPECT_EQ(icon->getChildByTag(KVPortraitIcon::kHintTag), nullptr);
        EXPECT_TRUE(icon->isShowingSelectedFrame());
        // resetLook brings the hint back and the normal frame.
        icon->resetLook();
        EXPECT_NE(icon->getChildByTag(KVPortraitIcon::kHintTag), nullptr);
        EXPECT_FALSE(icon->isShowingSelectedFrame());
        EXPECT_STREQ(icon->getPictureName()->c_str(), "snorkel");
    }
    KVPortraitItem::clearHighlights(nullptr);
}

} // namespace
