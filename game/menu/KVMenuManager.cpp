#include "game/menu/KVMenuManager.h"

#include "engine/base/CCLog.h"
#include "game/data/KVGameSetup.h"

namespace {
constexpr int kLastState = 24;
constexpr int kMainMenuState = 1;
constexpr int kIntroductionVideoState = 22;
constexpr int kItemPopUpState = 24;
constexpr int kQuitConfirmationPopUp = 16;
} // namespace

void KVMenuManager::changeState(int stateId) {
    if (stateId < 1 || stateId > kLastState) return;
    // No video is played: with the introduction switched off, its state opens the main menu.
    if (stateId == kIntroductionVideoState &&
        KVGameSetup::getInstance()->getConfigBool("DisableIntroductionVideo"))
        stateId = kMainMenuState;
    m_currentState = stateId;
    // The screens of the front end are not part of this build yet: record the state only.
    kvengine::logDebugMessage("menu: state %d has no screen yet", stateId);
}

bool KVMenuManager::isQuitConfirmationOpen() const {
    return popUpKind == kQuitConfirmationPopUp;
}

void KVMenuManager::openQuitConfirmation() {
    popUpKind = kQuitConfirmationPopUp;
    changeState(kItemPopUpState);
}
