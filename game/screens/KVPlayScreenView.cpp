#include "game/screens/KVPlayScreenView.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPearlCountItem.h"
#include "game/menu/KVPlayScreenItem.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 17;
constexpr int kReplayButtonKind = 4;

CCString* localised(const char* key) {
    return localizeString(kvdata::newString(key));
}

} // namespace

CCScene* KVPlayScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVPlayScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVPlayScreenView::KVPlayScreenView() {
    (void)init();
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float W = win.width;
    const float H = win.height;

    addTikiBackdrop(this, true);
    // The buttons sit in the top corners.
    if (KVButton* back = KVButton::createWithLabel(localised("Play_Screen_Back"), 0, 0, kBackButtonKind, this,
                                                   menu_selector(KVPlayScreenView::backChosen))) {
        const CCSize size = back->getContentSize();
        back->setPosition(CCPoint(size.width / 2, H - size.height / 2));
        addChildAtZWithTag(back, 1, kBackTag);
    }
    if (KVButton* replay = KVButton::createWithLabel(localised("Play_Screen_Replay"), 0, 0, kReplayButtonKind,
                                                     this, menu_selector(KVPlayScreenView::replayChosen))) {
        const CCSize size = replay->getContentSize();
        replay->setPosition(CCPoint(W - size.width / 2, H - size.height / 2));
        addChildAtZWithTag(replay, 1, kReplayTag);
    }
    // The story card left of the centre, the multiplayer picture right of it.
    if (KVPlayScreen* story =
            KVPlayScreen::createStoryCard(localised("Play_Screen_Story"), "KV_ImageChapitre1.png",
                                          kvdata::newString("Chapter 1.2"), this)) {
        story->setPosition(CCPoint(W / 2 - story->getContentSize().width / 2, H / 2));
        addChildAtZWithTag(story, 2, kStoryCardTag);
    }
    if (CCSprite* huddle = CCSprite::createWithSpriteFrameName("Bt_HuddleGrey.png")) {
        huddle->setPosition(CCPoint(W / 2 + huddle->getContentSize().width / 2, H / 2));
        addChildAtZWithTag(huddle, 2, kMultiplayerTag);
    }
}

void KVPlayScreenView::addTikiBackdrop(CCNode* view, bool largePearls) {
    if (CCSprite* background = CCSprite::createWithSpriteFrameName("Bg_Tiki.png")) {
        background->setAnchorPoint(CCPoint(0, 0));
        background->setPosition(CCPoint(0, 0));
        view->addChildAtZWithTag(background, 0, kBackgroundTag);
    }
    KVPearlCountItem* pearls =
        largePearls ? KVPearlCountItem::createLarge() : KVPearlCountItem::createSmall();
    pearls->setAnchorPoint(CCPoint(1, 0));
    pearls->setPosition(CCDirector::wideScreen != 0 ? CCPoint(720, 140) : CCPoint(656, 172));
    view->addChildAtZWithTag(pearls, 1, kPearlsTag);
}

void KVPlayScreenView::storyChosen(CCObject* sender) {
    (void)sender;
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
    KVMenuManager::getInstance()->changeState(KVMenuManager::kStoryState);
}

void KVPlayScreenView::replayChosen(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kVideoState);
}

void KVPlayScreenView::backChosen(CCObject* sender) {
    (void)sender;
    // Back leads to the main menu, as every Back of the front end does.
    KVMenuManager::getInstance()->changeState(KVMenuManager::kMainMenuFromGameState);
}
