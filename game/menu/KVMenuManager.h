#pragma once

#include "game/data/KVQuitConfirmation.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCScene;
class CCString;
} // namespace kvengine

/// The front end's state machine and the values screens and missions hand to each other.
///
/// States 1 to 24 stand for the front-end screens and overlays; screens and missions never build
/// one another, they ask for the next state with changeState. The record keeps the state in force
/// (getCurrentState) and the one left last or lying under an overlay (getPreviousState). Ids 2, 6,
/// 10, 13, 14 and 23 open the states 1, 5, 9, 11, 12 and 22. 0 and ids above 24 are ignored.
///
/// What is built so far:
/// - 24 lays the item pop-up (KVPopUpItemScreenView, of the kind in popUpKind) over the running
///   scene as its child with tag 1, at z 1200, or 3000 for the quit confirmation (kind 16) so that
///   it covers a dialogue (z 2000); 19 closes it again (removes the running scene's child tag 1).
/// - 20 shows the dialogue loaded beforehand over the running scene (unless one runs already);
///   exitState(19) ends it.
/// - 18 records that a mission runs; 10, 13 and 14 (back from a mission) reload the menu sheets
///   and post the music changes.
/// The screens themselves, the video and the mission launch (17, 21) only record their state yet.
///
/// The sprite sheets of the menus are loaded when the manager is made, and again by 10, 13 and 14
/// (the loading screen empties the caches on the way into and out of a mission).
class KVMenuManager : public KVSingletonObject<KVMenuManager>, public KVQuitConfirmation {
public:
    CC_DECLARE_CLASS_NAME(KVMenuManager, KVSingletonObject)

    /// The state ids (the numbers are what changeState, exitState and the record use). Unscoped,
    /// so a state id stays usable as an int.
    enum State : int {
        kNoState = 0,
        kMainMenuState = 1,
        kMainMenuFromGameState = 2,
        kAboutState = 3,
        kOptionsState = 4,
        kPlayModeState = 5,
        kPlayModeFromGameState = 6,
        kStoryState = 7,
        kHuddleState = 8,
        kWorldMapState = 9,
        kWorldMapAfterMissionState = 10,
        kTroopsState = 11,
        kShopState = 12,
        kTroopsAfterMissionState = 13,
        kShopAfterMissionState = 14,
        kEquipmentState = 15,
        kSquadPopUpState = 16,
        kLaunchMissionState = 17,
        kInGameState = 18,
        kCloseOverlayState = 19,
        kDialogueState = 20,
        kRelaunchMissionState = 21,
        kIntroductionVideoState = 22,
        kVideoState = 23,
        kItemPopUpState = 24,
    };
    /// Tag of an overlay scene in the running scene, and its z orders.
    static constexpr int kOverlayTag = 1;
    static constexpr int kItemPopUpZ = 1200;
    static constexpr int kQuitConfirmationZ = 3000;

    /// Loads the menu sheets and starts with the record at 0.
    KVMenuManager();
    void cleanupBeforeDelete() override;

    /// Leaves the current state and enters `stateId` (1..24), or lays/removes an overlay.
    void changeState(int stateId);
    /// Leaves state `stateIndex + 1` (the index is the state id minus 1).
    void exitState(int stateIndex);
    /// Pop-up kind 16 is shown.
    bool isQuitConfirmationOpen() const override;
    /// Pop-up kind := 16, then state 24 (the pop-up over the current screen).
    void openQuitConfirmation() override;
    /// Leaves the menus for a mission: the current state is left and the record reads 17.
    void leaveMenusForGame();
    /// Adds the frames of the menu sheets to the frame cache (missing sheets are logged).
    void preloadMenuSpriteSheets();

    /// The state in force; 0 before the first change.
    int getCurrentState() const { return m_currentState; }
    /// The state left last, or the one under an overlay.
    int getPreviousState() const { return m_previousState; }

    /// The subject of the next item pop-up (retained): an item identifier or a localisation key.
    kvengine::CCString* getPopUpText() const { return m_popUpText; }
    void setPopUpText(kvengine::CCString* text);
    /// The mission that the next launch starts (retained).
    kvengine::CCString* getMissionName() const { return m_missionName; }
    void setMissionName(kvengine::CCString* name);
    /// The scene of the open item pop-up, or null.
    kvengine::CCScene* getPopUpScene() const { return m_popUpScene; }

    /// Which pop-up state 24 shows (6 item unlocked, 7 item locked, 8 message, 9 quit the mission,
    /// 16 quit the game); the quit confirmation sets it back to 0 when it closes.
    int popUpKind = 0;

private:
    /// Leaves the current state when it is one of 1..24.
    void leaveCurrentState();
    /// Records a screen state opened with `openedWith`.
    void openScreen(int stateId, int openedWith);
    void openItemPopUp();
    void closeOverlay();
    void startDialogue();
    void setPopUpScene(kvengine::CCScene* scene);

    int m_currentState = 0;
    int m_previousState = 0;
    kvengine::CCString* m_popUpText = nullptr;
    kvengine::CCString* m_missionName = nullptr;
    kvengine::CCScene* m_popUpScene = nullptr;
};
