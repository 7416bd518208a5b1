#include "game/app/KVGameServices.h"

#include "game/chatter/KVChatterManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"

void kvConnectGameServices() {
    KVStoreCatalogue::setSharedSource(
        []() -> KVStoreCatalogue* { return KVKelvosOFXDelegate::getInstance(); });
    KVDialogueService::setSharedSource(
        []() -> KVDialogueService* { return KVChatterManager::getInstance(); },
        []() -> KVDialogueService* { return KVChatterManager::existingInstance(); });
    KVQuitConfirmation::setSharedSource([]() -> KVQuitConfirmation* { return KVMenuManager::getInstance(); });
}
