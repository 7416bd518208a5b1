#include "game/app/KVGameServices.h"

#include "engine/director/CCDirector.h"

#include "game/camera/KVCamera.h"
#include "game/chatter/KVChatterManager.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScreenStates.h"
#include "game/rules/KVRuleEffects.h"
#include "game/scene/KVGameplayScene.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/shop/KVShopScreenView.h"

namespace {

void backToWorldMap() {
    if (kvengine::CCDirector* director = kvengine::CCDirector::existingInstance())
        director->replaceScene(KVLoadingScreenView::createWithKind(3));
}

} // namespace

void kvConnectGameServices() {
    KVStoreCatalogue::setSharedSource(
        []() -> KVStoreCatalogue* { return KVKelvosOFXDelegate::getInstance(); });
    KVDialogueService::setSharedSource(
        []() -> KVDialogueService* { return KVChatterManager::getInstance(); },
        []() -> KVDialogueService* { return KVChatterManager::existingInstance(); });
    // Outside missions a dialogue ends through the front end's dialogue state.
    KVChatterManager::setFrontEndExit(
        []() { KVMenuManager::getInstance()->exitState(KVMenuManager::kDialogueState - 1); });
    KVCameraService::setSharedSource(
        []() -> KVCameraService* { return KVCameraManager::getInstance(); },
        []() -> KVCameraService* { return KVCameraManager::existingInstance(); });
    // A mission that cannot be built goes back to the world map through a loading screen.
    KVGameplayScene::setMissionAbortHandler(&backToWorldMap);
    // So does a rule that ends the mission, after letting go of the dialogues' host scene.
    KVEffectGoToMenu::setMenuReturn([]() {
        KVChatterManager::getInstance()->setHostScene(nullptr);
        backToWorldMap();
    });
    KVShopScreenState::setSceneMaker(&KVShopScreenView::createScene);
    KVQuitConfirmation::setSharedSource([]() -> KVQuitConfirmation* { return KVMenuManager::getInstance(); });
    KVMenuService::setSharedSource([]() -> KVMenuService* { return KVMenuManager::getInstance(); },
                                   []() -> KVMenuService* { return KVMenuManager::existingInstance(); });
}
