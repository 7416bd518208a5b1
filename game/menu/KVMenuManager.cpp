#include "game/menu/KVMenuManager.h"

#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVPopUpItemScreenView.h"

using namespace kvengine;

namespace {

constexpr int kLastState = KVMenuManager::kItemPopUpState;
constexpr int kQuitConfirmationKind = static_cast<int>(KVPopUpKind::QuitGame);

// The sheets every menu screen draws from, loaded once for all of them.
const char* const kMenuSheets[] = {
    "frontEnd_51_ss",     "frontEnd_88_ss",     "background_ss",      "menu_TC2_ss",
    "menu_88_ss",         "shop_88_ss",         "consumables_TC4_ss", "consumables_51_ss",
    "bgr_main_anim_A_ss", "bgr_main_anim_B_ss", "bgr_main_anim_C_ss", "bgr_main_anim_D_ss",
    "bgr_main_anim_E_ss", "bgr_main_anim_F_ss", "bgr_main_anim_G_ss", "bgr_main_anim_H_ss",
    "bgr_main_anim_I_ss", "bgr_main_anim_J_ss", "bgr_main_anim_K_ss", "bgr_main_anim_L_ss",
    "bgr_main_anim_M_ss", "bgr_main_anim_N_ss", "background_HD_ss",
};

CCScene* runningScene() {
    CCDirector* director = CCDirector::existingInstance();
    return director != nullptr ? director->getRunningScene() : nullptr;
}

void post(CCString* name) {
    CCNotificationCenter::getInstance()->postNotification(name);
}

// A sheet found by the resource index under its own name, as a base name for "%s.plist".
std::string sheetBaseName(const std::string& name) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    if (!index->containsFileName(name + ".plist")) return name;
    const std::string path = index->pathForFileName(name + ".plist");
    return path.substr(0, path.size() - std::string(".plist").size());
}

void retainInto(CCString*& slot, CCString* value) {
    if (value != nullptr) value->retain();
    if (slot != nullptr) slot->release();
    slot = value;
}

} // namespace

KVMenuManager::KVMenuManager() {
    preloadMenuSpriteSheets();
}

void KVMenuManager::cleanupBeforeDelete() {
    retainInto(m_popUpText, nullptr);
    retainInto(m_missionName, nullptr);
    setPopUpScene(nullptr);
    KVSingletonObject::cleanupBeforeDelete();
}

void KVMenuManager::setPopUpText(CCString* text) {
    retainInto(m_popUpText, text);
}

void KVMenuManager::setMissionName(CCString* name) {
    retainInto(m_missionName, name);
}

void KVMenuManager::setPopUpScene(CCScene* scene) {
    if (scene != nullptr) scene->retain();
    if (m_popUpScene != nullptr) m_popUpScene->release();
    m_popUpScene = scene;
}

void KVMenuManager::preloadMenuSpriteSheets() {
    std::vector<std::string> sheets(std::begin(kMenuSheets), std::end(kMenuSheets));
    // The 800 x 600 twin of the menu background, loaded last so that its frames win.
    if (CCDirector::wideScreen == 0) sheets.emplace_back("ipad_menu_88_ss");
    sheets.push_back(sheetBaseName("frontend_helmet_ss"));
    sheets.push_back(sheetBaseName("frontend_kelvo_ss"));
    CCResourceIndex* index = CCResourceIndex::getInstance();
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    for (const std::string& sheet : sheets) {
        const std::string file = sheet + ".plist";
        // A full path (from the lookups above) names its file directly.
        if (file[0] != '/' && !index->containsFileName(file)) {
            logDebugMessage("menu: no sprite sheet %s", file.c_str());
            continue;
        }
        frames->addSpriteFramesWithFile(file[0] == '/' ? file.c_str() : index->pathForFileName(file).c_str());
    }
}

void KVMenuManager::leaveCurrentState() {
    if (m_currentState >= 1 && m_currentState <= kLastState) exitState(m_currentState - 1);
}

void KVMenuManager::openScreen(int stateId, int openedWith) {
    m_currentState = openedWith;
    // The screens of the front end are not part of this build yet: record the state only.
    logDebugMessage("menu: state %d has no screen yet", stateId);
}

void KVMenuManager::changeState(int stateId) {
    if (stateId < 1 || stateId > kLastState) return;
    switch (stateId) {
    case kMainMenuFromGameState:
    case kPlayModeFromGameState:
        // From a mission the menus come back without leaving it again (nothing to stop).
        if (m_currentState != kInGameState) leaveCurrentState();
        openScreen(stateId, stateId == kMainMenuFromGameState ? kMainMenuState : kPlayModeState);
        break;
    case kWorldMapAfterMissionState:
        preloadMenuSpriteSheets();
        if (m_currentState != kInGameState) leaveCurrentState();
        openScreen(stateId, kWorldMapState);
        post(EVENT_MUSIC_GAME_STOP);
        post(EVENT_MUSIC_MENU_START);
        break;
    case kTroopsAfterMissionState:
    case kShopAfterMissionState:
        preloadMenuSpriteSheets();
        leaveCurrentState();
        openScreen(stateId, stateId == kTroopsAfterMissionState ? kTroopsState : kShopState);
        post(EVENT_MUSIC_GAME_STOP);
        post(EVENT_MUSIC_MENU_START);
        break;
    case kSquadPopUpState:
        m_previousState = m_currentState;
        m_currentState = kSquadPopUpState;
        logDebugMessage("menu: state 16 has no screen yet");
        break;
    case kLaunchMissionState:
    case kRelaunchMissionState:
        post(EVENT_MUSIC_MENU_STOP);
        KVGameSetup::getInstance();
        logDebugMessage("menu: state %d: the mission scene is not part of this build", stateId);
        break;
    case kInGameState:
        m_previousState = m_currentState;
        leaveCurrentState();
        m_currentState = kInGameState;
        break;
    case kCloseOverlayState:
        leaveCurrentState();
        closeOverlay();
        break;
    case kDialogueState:
        startDialogue();
        break;
    case kIntroductionVideoState:
        // No video is played: with the introduction switched off, its state opens the main menu.
        if (KVGameSetup::getInstance()->getConfigBool("DisableIntroductionVideo")) {
            leaveCurrentState();
            openScreen(kMainMenuState, kMainMenuState);
        } else {
            leaveCurrentState();
            openScreen(stateId, kIntroductionVideoState);
        }
        break;
    case kVideoState:
        leaveCurrentState();
        openScreen(stateId, kIntroductionVideoState);
        post(EVENT_MUSIC_MENU_STOP);
        break;
    case kItemPopUpState:
        openItemPopUp();
        break;
    default:
        leaveCurrentState();
        openScreen(stateId, stateId);
        break;
    }
}

void KVMenuManager::exitState(int stateIndex) {
    const int stateId = stateIndex + 1;
    switch (stateId) {
    case kMainMenuState:
    case kMainMenuFromGameState:
    case kAboutState:
    case kOptionsState:
    case kPlayModeState:
    case kPlayModeFromGameState:
    case kStoryState:
    case kHuddleState:
    case kWorldMapState:
    case kTroopsState:
    case kShopState:
    case kEquipmentState:
    case kWorldMapAfterMissionState:
    case kIntroductionVideoState:
        m_previousState = stateId;
        break;
    case kTroopsAfterMissionState:
        m_previousState = kTroopsState;
        break;
    case kShopAfterMissionState:
        m_previousState = kShopState;
        break;
    case kSquadPopUpState:
        m_currentState = m_previousState;
        m_previousState = kSquadPopUpState;
        break;
    case kInGameState:
        post(EVENT_MUSIC_GAME_STOP);
        break;
    case kDialogueState: {
        KVChatterManager* chatter = KVChatterManager::getInstance();
        chatter->endChatter();
        chatter->setHostScene(nullptr);
        break;
    }
    case kRelaunchMissionState:
        m_currentState = m_previousState;
        m_previousState = kRelaunchMissionState;
        break;
    case kItemPopUpState:
        if (m_popUpScene == nullptr) break;
        setPopUpScene(nullptr);
        m_currentState = m_previousState;
        m_previousState = kItemPopUpState;
        break;
    default:
        break;
    }
}

bool KVMenuManager::isQuitConfirmationOpen() const {
    return popUpKind == kQuitConfirmationKind;
}

void KVMenuManager::openQuitConfirmation() {
    popUpKind = kQuitConfirmationKind;
    changeState(kItemPopUpState);
}

void KVMenuManager::leaveMenusForGame() {
    leaveCurrentState();
    m_previousState = m_currentState;
    m_currentState = kLaunchMissionState;
}

void KVMenuManager::openItemPopUp() {
    m_previousState = m_currentState;
    CCScene* scene = KVPopUpItemScreenView::createScene();
    setPopUpScene(scene);
    m_currentState = kItemPopUpState;
    CCScene* running = runningScene();
    if (scene == nullptr || running == nullptr) {
        logDebugMessage("menu: the item pop-up has no scene to lie over");
        return;
    }
    const int z = popUpKind == kQuitConfirmationKind ? kQuitConfirmationZ : kItemPopUpZ;
    running->addChildAtZWithTag(scene, z, kOverlayTag);
}

void KVMenuManager::closeOverlay() {
    if (CCScene* running = runningScene()) running->removeChildByTag(kOverlayTag, true);
}

void KVMenuManager::startDialogue() {
    m_previousState = m_currentState;
    m_currentState = kDialogueState;
    KVChatterManager* chatter = KVChatterManager::getInstance();
    if (chatter->isChatterRunning()) return;
    chatter->setHostSceneToRunningScene();
    chatter->startChatter();
}
