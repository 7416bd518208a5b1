#include "game/screens/KVHuddleScreenView.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVTitleItem.h"
#include "game/screens/KVPlayScreenView.h"
#include "game/screens/KVPlayerNbScreen.h"

using namespace kvengine;

namespace {

constexpr int kBackButtonKind = 2;
constexpr int kTitleSize = 30;

CCString* localised(const char* key) {
    return localizeString(kvdata::newString(key));
}

struct PlayerButton {
    const char* normal;
    const char* pressed;
    const char* label;
    SEL_MenuHandler selector;
    int tag;
    float centreOfWidth; // the button's centre, as a part of the window's width
};

const PlayerButton kPlayerButtons[] = {
    {"Bt_2Player_Up.png", "Bt_2Player_Down.png", "Huddle_2_Player",
     menu_selector(KVHuddleScreenView::twoPlayersChosen), KVHuddleScreenView::kTwoPlayersTag, 0.25f},
    {"Bt_3Player_Up.png", "Bt_3Player_Down.png", "Huddle_3_Player",
     menu_selector(KVHuddleScreenView::threePlayersChosen), KVHuddleScreenView::kThreePlayersTag, 0.5f},
    {"Bt_4Player_Up.png", "Bt_4Player_Down.png", "Huddle_4_Player",
     menu_selector(KVHuddleScreenView::fourPlayersChosen), KVHuddleScreenView::kFourPlayersTag, 0.75f},
};

} // namespace

CCScene* KVHuddleScreenView::createScene() {
    CCScene* scene = CCScene::create();
    auto* view = new KVHuddleScreenView();
    view->autorelease();
    scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

KVHuddleScreenView::KVHuddleScreenView() {
    (void)init();
    const CCSize win = CCDirector::getInstance()->getWinSize();
    const float W = win.width;
    const float H = win.height;

    KVPlayScreenView::addTikiBackdrop(this, false);
    if (KVTitleItem* title =
            KVTitleItem::createWithTitle(localised("Huddle_Screen_Huddle"), "TrebuchetMS-Bold", kTitleSize)) {
        title->setPosition(CCPoint(W / 2, H - title->getContentSize().height / 1.5f));
        addChildAtZWithTag(title, 1, kTitleTag);
    }
    if (KVButton* back = KVButton::createWithLabel(localised("Huddle_Screen_Back"), 0, 0, kBackButtonKind,
                                                   this, menu_selector(KVHuddleScreenView::backChosen))) {
        const CCSize size = back->getContentSize();
        back->setPosition(CCPoint(size.width / 2, H - size.height / 2));
        addChildAtZWithTag(back, 1, kBackTag);
    }
    for (const PlayerButton& row : kPlayerButtons) {
        KVPlayerNbScreen* button =
            KVPlayerNbScreen::createButton(row.normal, row.pressed, localised(row.label), this, row.selector);
        if (button == nullptr) continue;
        // Evenly spread over the window, every button wholly inside it.
        button->setPosition(CCPoint(W * row.centreOfWidth, H / 2));
        addChildAtZWithTag(button, 2, row.tag);
    }
}

void KVHuddleScreenView::playersChosen(int players) {
    KVGameSetup::getInstance()->playerCount = players;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kWorldMapState);
}

void KVHuddleScreenView::twoPlayersChosen(CCObject* sender) {
    (void)sender;
    playersChosen(2);
}

void KVHuddleScreenView::threePlayersChosen(CCObject* sender) {
    (void)sender;
    playersChosen(3);
}

void KVHuddleScreenView::fourPlayersChosen(CCObject* sender) {
    (void)sender;
    playersChosen(4);
}

void KVHuddleScreenView::backChosen(CCObject* sender) {
    (void)sender;
    KVMenuManager::getInstance()->changeState(KVMenuManager::kPlayModeFromGameState);
}
