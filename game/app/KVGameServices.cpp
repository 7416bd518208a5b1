#include "game/app/KVGameServices.h"

#include "game/chatter/KVChatterManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"

void kvConnectGameServices() {
    KVStoreCatalogue::setSharedSource(
        []() -> KVStoreCatalogue* { return KVKelvosOFXDelegate::getInstance(); });
    KVTutorialDialogues::setSharedSource(
        []() -> KVTutorialDialogues* { return KVChatterManager::getInstance(); });
    KVQuitConfirmation::setSharedSource([]() -> KVQuitConfirmation* { return KVMenuManager::getInstance(); });
}
