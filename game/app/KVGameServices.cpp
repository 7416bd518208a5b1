#include "game/app/KVGameServices.h"

#include "game/camera/KVCamera.h"
#include "game/chatter/KVChatterManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"

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
    KVQuitConfirmation::setSharedSource([]() -> KVQuitConfirmation* { return KVMenuManager::getInstance(); });
}
