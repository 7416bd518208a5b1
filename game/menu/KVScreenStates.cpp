#include "game/menu/KVScreenStates.h"

#include "engine/director/CCScene.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVMainMenuScreenView.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/menu/KVScreenView.h"
#include "game/screens/KVAboutScreenView.h"
#include "game/screens/KVEquipScreenView.h"
#include "game/screens/KVHuddleScreenView.h"
#include "game/screens/KVOptionsScreenView.h"
#include "game/screens/KVPlayScreenView.h"
#include "game/screens/KVPopUpSquadScreenView.h"
#include "game/screens/KVStoryScreenView.h"
#include "game/screens/KVTroopsScreenView.h"
#include "game/screens/KVWorldMapScreenView.h"

using namespace kvengine;

void KVScreenState::cleanupBeforeDelete() {
    setScene(nullptr);
    KVStateMenu::cleanupBeforeDelete();
}

void KVScreenState::buildView() {
    setScene(createScene());
}

void KVScreenState::setScene(CCScene* scene) {
    if (scene != nullptr) scene->retain();
    if (m_scene != nullptr) m_scene->release();
    m_scene = scene;
}

CCScene* KVMainMenuScreenState::createScene() {
    CCScene* scene = CCScene::create();
    if (KVMainMenuScreenView* view = KVMainMenuScreenView::create())
        scene->addChildAtZWithTag(view, 0, view->getTag());
    return scene;
}

CCScene* KVAboutScreenState::createScene() {
    return KVAboutScreenView::createScene();
}

CCScene* KVOptionsScreenState::createScene() {
    return KVOptionsScreenView::createScene();
}

CCScene* KVPlayScreenState::createScene() {
    return KVPlayScreenView::createScene();
}

KVStoryScreenState::KVStoryScreenState() {
    KVGameSetup::getInstance()->solo = true;
}

CCScene* KVStoryScreenState::createScene() {
    return KVStoryScreenView::createScene();
}

KVHuddleScreenState::KVHuddleScreenState() {
    KVGameSetup::getInstance()->solo = false;
}

CCScene* KVHuddleScreenState::createScene() {
    return KVHuddleScreenView::createScene();
}

CCScene* KVWorldMapScreenState::createScene() {
    return KVWorldMapScreenView::createScene();
}

CCScene* KVTroopsScreenState::createScene() {
    return KVTroopsScreenView::createScene();
}

CCScene* KVShopScreenState::createScene() {
    return s_sceneMaker != nullptr ? s_sceneMaker() : createPlaceholderScene("shop");
}

CCScene* KVEquipScreenState::createScene() {
    return KVEquipScreenView::createScene();
}

void KVEquipScreenState::leave() {
    if (CCScene* scene = getScene())
        if (auto* view = dynamic_cast<KVEquipScreenView*>(scene->getChildByTag(KVEquipScreenView::kViewTag)))
            view->releaseCardSheets();
    KVScreenState::leave();
}

CCScene* KVPopUpSquadScreenState::createScene() {
    return KVPopUpSquadScreenView::createScene();
}

CCScene* KVPopUpItemScreenState::createScene() {
    return KVPopUpItemScreenView::createScene();
}

void KVVideoState::cleanupBeforeDelete() {
    if (m_scene != nullptr) m_scene->release();
    m_scene = nullptr;
    KVStateMenu::cleanupBeforeDelete();
}
