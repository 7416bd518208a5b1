#include "game/menu/KVMenuManager.h"

#include <string>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/director/CCTransitionFade.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/platform/CCEGLView.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameSetup.h"
#include "game/menu/KVLoadingScreenView.h"
#include "game/menu/KVScreenStates.h"
#include "game/scene/KVGameplayScene.h"

using namespace kvengine;

namespace {

constexpr int kLastState = 24;
constexpr int kQuitConfirmationKind = 16;

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

// A sheet found by the resource index under its own name, as a full path without ".plist".
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

// A fresh state object for a slot.
KVStateMenu* newState(KVMenuManager::Slot slot) {
    switch (slot) {
    case KVMenuManager::kMainMenuSlot:
        return new KVMainMenuScreenState();
    case KVMenuManager::kAboutSlot:
        return new KVAboutScreenState();
    case KVMenuManager::kOptionsSlot:
        return new KVOptionsScreenState();
    case KVMenuManager::kPlaySlot:
        return new KVPlayScreenState();
    case KVMenuManager::kStorySlot:
        return new KVStoryScreenState();
    case KVMenuManager::kHuddleSlot:
        return new KVHuddleScreenState();
    case KVMenuManager::kWorldMapSlot:
        return new KVWorldMapScreenState();
    case KVMenuManager::kTroopsSlot:
        return new KVTroopsScreenState();
    case KVMenuManager::kShopSlot:
        return new KVShopScreenState();
    case KVMenuManager::kEquipSlot:
        return new KVEquipScreenState();
    case KVMenuManager::kPopUpSquadSlot:
        return new KVPopUpSquadScreenState();
    case KVMenuManager::kVideoSlot:
        return new KVVideoState();
    case KVMenuManager::kPopUpItemSlot:
    default:
        return new KVPopUpItemScreenState();
    }
}

CCScene* sceneOf(KVStateMenu* state) {
    if (state == nullptr || !state->isKindOf("KVScreenState")) return nullptr;
    return static_cast<KVScreenState*>(state)->getScene();
}

// The full screens: the slot of each id and the id its state is opened with. Ids that lay an
// overlay, launch or leave a mission, or have a row of their own are not here.
struct ScreenRow {
    int id;
    KVMenuManager::Slot slot;
    int openedWith;
};
constexpr ScreenRow kScreens[] = {
    {3, KVMenuManager::kAboutSlot, 3},    {4, KVMenuManager::kOptionsSlot, 4},
    {5, KVMenuManager::kPlaySlot, 5},     {7, KVMenuManager::kStorySlot, 7},
    {8, KVMenuManager::kHuddleSlot, 8},   {9, KVMenuManager::kWorldMapSlot, 9},
    {11, KVMenuManager::kTroopsSlot, 11}, {12, KVMenuManager::kShopSlot, 12},
    {15, KVMenuManager::kEquipSlot, 15},
};

// The slot a state id is left from (exitState), or -1.
int slotLeftBy(int stateId) {
    switch (stateId) {
    case 1:
    case 2:
        return KVMenuManager::kMainMenuSlot;
    case KVMenuManager::kPlayModeFromGameState:
        return KVMenuManager::kPlaySlot;
    default:
        break;
    }
    for (const ScreenRow& row : kScreens)
        if (row.id == stateId) return row.slot;
    return -1;
}

} // namespace

KVMenuManager::KVMenuManager() {
    preloadMenuSpriteSheets();
    m_stateRecord = new KVStateMenu();
}

void KVMenuManager::cleanupBeforeDelete() {
    for (int slot = 0; slot < kSlotCount; ++slot)
        setSlot(static_cast<Slot>(slot), nullptr);
    if (m_stateRecord != nullptr) m_stateRecord->release();
    m_stateRecord = nullptr;
    retainInto(m_selectedKelvoName, nullptr);
    retainInto(m_selectedShopItemName, nullptr);
    retainInto(m_chapterName, nullptr);
    retainInto(m_missionName, nullptr);
    retainInto(m_popUpText, nullptr);
    if (m_menuSpriteSheets != nullptr) m_menuSpriteSheets->release();
    m_menuSpriteSheets = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

int KVMenuManager::getCurrentState() const {
    return m_stateRecord != nullptr ? m_stateRecord->getCurrentId() : 0;
}

int KVMenuManager::getPreviousState() const {
    return m_stateRecord != nullptr ? m_stateRecord->getPreviousId() : 0;
}

void KVMenuManager::setCurrent(int id) {
    const bool changed = m_stateRecord->getCurrentId() != id;
    m_stateRecord->setCurrentId(id);
    if (changed) reportRecord();
}

void KVMenuManager::setPrevious(int id) {
    const bool changed = m_stateRecord->getPreviousId() != id;
    m_stateRecord->setPreviousId(id);
    if (changed) reportRecord();
}

void KVMenuManager::reportRecord() {
    if (s_recordObserver != nullptr) s_recordObserver(getCurrentState(), getPreviousState());
}

void KVMenuManager::setSlot(Slot slot, KVStateMenu* state) {
    if (slot < 0 || slot >= kSlotCount) return;
    if (state != nullptr) state->retain();
    if (m_slots[slot] != nullptr) m_slots[slot]->release();
    m_slots[slot] = state;
}

void KVMenuManager::setSelectedKelvoName(CCString* name) {
    retainInto(m_selectedKelvoName, name);
}

void KVMenuManager::setSelectedShopItemName(CCString* name) {
    retainInto(m_selectedShopItemName, name);
}

void KVMenuManager::setChapterName(CCString* name) {
    retainInto(m_chapterName, name);
}

void KVMenuManager::setMissionName(CCString* name) {
    retainInto(m_missionName, name);
}

void KVMenuManager::setPopUpText(CCString* text) {
    retainInto(m_popUpText, text);
}

CCScene* KVMenuManager::getPopUpScene() const {
    return sceneOf(m_slots[kPopUpItemSlot]);
}

void KVMenuManager::preloadMenuSpriteSheets() {
    std::vector<std::string> sheets(std::begin(kMenuSheets), std::end(kMenuSheets));
    // The 800 x 600 twin of the menu background, loaded last so that its frames win.
    if (CCDirector::wideScreen == 0) sheets.emplace_back("ipad_menu_88_ss");
    sheets.push_back(sheetBaseName("frontend_helmet_ss"));
    sheets.push_back(sheetBaseName("frontend_kelvo_ss"));
    auto* names = new CCMutableArray<CCString*>();
    for (const std::string& sheet : sheets) {
        auto* name = new CCString(sheet);
        names->addObject(name);
        name->release();
    }
    if (m_menuSpriteSheets != nullptr) m_menuSpriteSheets->release();
    m_menuSpriteSheets = names;

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
    // A dialogue lies over a screen: ending it gives the record back to that screen, which is left
    // next, so no screen state is forgotten in its slot.
    if (getCurrentState() == kDialogueState) exitState(kDialogueState - 1);
    const int current = getCurrentState();
    if (current >= 1 && current <= kLastState && current != kDialogueState) exitState(current - 1);
}

KVStateMenu* KVMenuManager::openState(Slot slot, int openedWith, bool run) {
    KVStateMenu* state = newState(slot);
    state->autorelease();
    setSlot(slot, state);
    state->open(openedWith);
    setCurrent(state->getCurrentId());
    if (run) runScene(state);
    return state;
}

void KVMenuManager::runScene(KVStateMenu* state) {
    CCScene* scene = sceneOf(state);
    CCDirector* director = CCDirector::existingInstance();
    if (scene == nullptr || director == nullptr) {
        logDebugMessage("menu: state %d has no scene to show", getCurrentState());
        return;
    }
    if (director->getRunningScene() == nullptr)
        director->runWithScene(scene);
    else
        director->replaceScene(scene);
}

void KVMenuManager::layOverRunningScene(KVStateMenu* state, int z) {
    CCScene* scene = sceneOf(state);
    CCScene* running = runningScene();
    if (scene == nullptr || running == nullptr) {
        logDebugMessage("menu: the overlay of state %d has no scene to lie over", getCurrentState());
        return;
    }
    running->addChildAtZWithTag(scene, z, kOverlayTag);
}

void KVMenuManager::changeState(int stateId) {
    if (stateId < 1 || stateId > kLastState) return;
    for (const ScreenRow& row : kScreens) {
        if (row.id != stateId) continue;
        leaveCurrentState();
        openState(row.slot, row.openedWith, true);
        return;
    }
    switch (stateId) {
    case kMainMenuState: {
        leaveCurrentState();
        openState(kMainMenuSlot, kMainMenuState, true);
        post(EVENT_MUSIC_MENU_START);
        // From the main menu on, losing the window focus pauses the game.
        CCDirector* director = CCDirector::existingInstance();
        if (CCEGLView* view = director != nullptr ? director->getOpenGLView() : nullptr)
            view->setPauseOnFocusLoss(true);
        break;
    }
    case kMainMenuFromGameState:
    case kPlayModeFromGameState:
        // From a mission the menus come back without leaving it again (nothing to stop).
        if (getCurrentState() != kInGameState) leaveCurrentState();
        openState(stateId == kMainMenuFromGameState ? kMainMenuSlot : kPlaySlot, stateId - 1, true);
        break;
    case kWorldMapAfterMissionState:
        preloadMenuSpriteSheets();
        if (getCurrentState() != kInGameState) leaveCurrentState();
        openState(kWorldMapSlot, kWorldMapState, true);
        post(EVENT_MUSIC_GAME_STOP);
        post(EVENT_MUSIC_MENU_START);
        break;
    case kTroopsAfterMissionState:
    case kShopAfterMissionState:
        preloadMenuSpriteSheets();
        leaveCurrentState();
        openState(stateId == kTroopsAfterMissionState ? kTroopsSlot : kShopSlot,
                  stateId == kTroopsAfterMissionState ? 11 : 12, true);
        post(EVENT_MUSIC_GAME_STOP);
        post(EVENT_MUSIC_MENU_START);
        break;
    case kSquadPopUpState:
        setPrevious(getCurrentState());
        layOverRunningScene(openState(kPopUpSquadSlot, kSquadPopUpState, false), kSquadPopUpZ);
        break;
    case kLaunchMissionState:
    case kRelaunchMissionState:
        post(EVENT_MUSIC_MENU_STOP);
        KVGameSetup::getInstance();
        launchMission();
        break;
    case kInGameState:
        setPrevious(getCurrentState());
        leaveCurrentState();
        setCurrent(kInGameState);
        break;
    case kCloseOverlayState:
        leaveCurrentState();
        closeOverlay();
        break;
    case kDialogueState:
        startDialogue();
        break;
    case kIntroductionVideoState:
        if (KVGameSetup::getInstance()->getConfigBool("DisableIntroductionVideo")) {
            changeState(kMainMenuState);
            break;
        }
        leaveCurrentState();
        if (m_slots[kVideoSlot] == nullptr) {
            // Only state 23 makes the video state; without one, make it as 23 does.
            openState(kVideoSlot, kIntroductionVideoState, false);
        } else {
            m_slots[kVideoSlot]->open(kIntroductionVideoState);
            setCurrent(m_slots[kVideoSlot]->getCurrentId());
        }
        endVideo();
        break;
    case kVideoState:
        leaveCurrentState();
        openState(kVideoSlot, kIntroductionVideoState, false);
        post(EVENT_MUSIC_MENU_STOP);
        endVideo();
        break;
    case kItemPopUpState:
        setPrevious(getCurrentState());
        layOverRunningScene(openState(kPopUpItemSlot, kItemPopUpState, false),
                            popUpKind == kQuitConfirmationKind ? kQuitConfirmationZ : kItemPopUpZ);
        break;
    default:
        break;
    }
}

void KVMenuManager::openPopUpState(KVScreenState* state) {
    if (state == nullptr) return;
    state->autorelease();
    if (getCurrentState() == kItemPopUpState || getCurrentState() == kSquadPopUpState)
        changeState(kCloseOverlayState);
    setPrevious(getCurrentState());
    setSlot(kPopUpItemSlot, state);
    state->open(kItemPopUpState);
    setCurrent(state->getCurrentId());
    layOverRunningScene(state, kItemPopUpZ);
}

void KVMenuManager::endVideo() {
    // No video is ever played: the video state ends at once and the main menu follows, instead of
    // leaving the player on a screen that never moves on.
    logDebugMessage("menu: there is no introduction video; the main menu follows");
    changeState(kMainMenuState);
}

void KVMenuManager::closeSlot(Slot slot, int stateId) {
    if (KVStateMenu* state = m_slots[slot]) state->close();
    setSlot(slot, nullptr);
    setPrevious(stateId);
}

void KVMenuManager::exitState(int stateIndex) {
    const int stateId = stateIndex + 1;
    const int slot = slotLeftBy(stateId);
    if (slot >= 0) {
        closeSlot(static_cast<Slot>(slot), stateId);
        return;
    }
    switch (stateId) {
    case kWorldMapAfterMissionState:
        setPrevious(kWorldMapAfterMissionState);
        break;
    case kTroopsAfterMissionState:
        setPrevious(11);
        break;
    case kShopAfterMissionState:
        setPrevious(12);
        break;
    case kSquadPopUpState: {
        if (KVStateMenu* state = m_slots[kPopUpSquadSlot]) state->close();
        setSlot(kPopUpSquadSlot, nullptr);
        setCurrent(getPreviousState());
        setPrevious(kSquadPopUpState);
        break;
    }
    case kInGameState:
        post(EVENT_MUSIC_GAME_STOP);
        break;
    case kDialogueState: {
        KVChatterManager* chatter = KVChatterManager::getInstance();
        chatter->endChatter();
        chatter->setHostScene(nullptr);
        // The screen under the dialogue is in force again.
        if (getCurrentState() == kDialogueState) {
            setCurrent(getPreviousState());
            setPrevious(kDialogueState);
        }
        break;
    }
    case kRelaunchMissionState:
        setCurrent(getPreviousState());
        setPrevious(21);
        break;
    case kIntroductionVideoState:
        closeSlot(kVideoSlot, kIntroductionVideoState);
        break;
    case kItemPopUpState: {
        KVStateMenu* state = m_slots[kPopUpItemSlot];
        if (state == nullptr) break;
        state->close();
        setSlot(kPopUpItemSlot, nullptr);
        setCurrent(getPreviousState());
        setPrevious(kItemPopUpState);
        break;
    }
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

void KVMenuManager::openItemPopUp(int kind, CCString* subject) {
    popUpKind = kind;
    setPopUpText(subject);
    changeState(kItemPopUpState);
}

void KVMenuManager::leaveMissionThroughLoadingScreen(int kind) {
    CCDirector* director = CCDirector::existingInstance();
    if (director == nullptr) {
        logDebugMessage("menu: no director to show the loading screen of kind %d", kind);
        return;
    }
    director->replaceScene(KVLoadingScreenView::createWithKind(kind));
}

void KVMenuManager::leaveMenusForGame() {
    leaveCurrentState();
    setPrevious(getCurrentState());
    setCurrent(kLaunchMissionState);
}

void KVMenuManager::launchMission() {
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->getTeamKelvoNames()->removeAllObjects();
    setup->getTeamHelmetNames()->removeAllObjects();
    setup->getTeamSpawnPoints()->removeAllObjects();
    setup->setChapterName(m_chapterName);
    setup->setMissionName(m_missionName);
    setup->buildTeam();
    CCScene* mission = KVGameplayScene::create();
    CCDirector* director = CCDirector::existingInstance();
    if (mission == nullptr || director == nullptr) {
        // Missing mission files: back to the world map, whose sheets the loading screen dropped.
        logDebugMessage("menu: the mission \"%s\" of \"%s\" cannot be set up; back to the world map",
                        m_missionName != nullptr ? m_missionName->c_str() : "",
                        m_chapterName != nullptr ? m_chapterName->c_str() : "");
        changeState(kWorldMapAfterMissionState);
        return;
    }
    director->replaceScene(CCTransitionFade::create(kMissionFadeSeconds, mission, ccColor3B{0, 0, 0}));
    changeState(kInGameState);
}

void KVMenuManager::closeOverlay() {
    if (CCScene* running = runningScene()) running->removeChildByTag(kOverlayTag, true);
}

void KVMenuManager::startDialogue() {
    setPrevious(getCurrentState());
    setCurrent(kDialogueState);
    KVChatterManager* chatter = KVChatterManager::getInstance();
    if (chatter->isChatterRunning()) return;
    chatter->setHostSceneToRunningScene();
    chatter->startChatter();
}
