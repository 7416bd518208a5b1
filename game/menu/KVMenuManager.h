#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/data/KVMenuService.h"
#include "game/data/KVQuitConfirmation.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCScene;
class CCString;
} // namespace kvengine
class KVStateMenu;
class KVScreenState;
class KVVideoState;

/// The front end's state machine and the values screens and missions hand to each other.
///
/// Every screen outside a mission is a state (KVStateMenu) with an id from 1 to 24; screens never
/// build one another, they ask for the next id with changeState. The manager leaves the current
/// state, makes a fresh state object for the requested id, opens it (which builds the screen), runs
/// its scene (or lays it over the running scene for the overlays 16 and 24) and posts the music
/// changes. The record keeps the state in force (getCurrentState) and the one left last or lying
/// under an overlay (getPreviousState). Ids 2, 6, 10, 13, 14 and 23 open the states 1, 5, 9, 11, 12
/// and 22; 0 and ids above 24 are ignored.
///
/// The main road: the splash screen asks for 22 (the main menu, there is no video), Play sets the
/// chapter and asks for 9 (the world map), the chosen mission goes through the loading screen,
/// which leaves the menus and asks for 17 (launchMission: the mission fades in and the record reads
/// 18). After the mission a loading screen asks for 17, 10, 13 or 14.
///
/// The sprite sheets of the menus are loaded when the manager is made, and again by 10, 13 and 14
/// (the loading screen empties the caches on the way into and out of a mission).
class KVMenuManager : public KVSingletonObject<KVMenuManager>,
                      public KVQuitConfirmation,
                      public KVMenuService {
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
    static constexpr int kSquadPopUpZ = 1;
    static constexpr int kItemPopUpZ = 1200;
    static constexpr int kQuitConfirmationZ = 3000;
    /// Seconds of the fade into a mission.
    static constexpr float kMissionFadeSeconds = 0.5f;

    /// The slots of the state objects, one per screen.
    enum Slot {
        kMainMenuSlot,
        kAboutSlot,
        kOptionsSlot,
        kPlaySlot,
        kStorySlot,
        kHuddleSlot,
        kWorldMapSlot,
        kTroopsSlot,
        kShopSlot,
        kEquipSlot,
        kPopUpSquadSlot,
        kVideoSlot,
        kPopUpItemSlot,
        kSlotCount
    };

    /// Loads the menu sheets and starts with the record at 0.
    KVMenuManager();
    void cleanupBeforeDelete() override;

    /// Leaves the current state and enters `stateId` (1..24), or lays/removes an overlay.
    void changeState(int stateId);
    /// Leaves state `stateIndex + 1` (the index is the state id minus 1).
    void exitState(int stateIndex);
    /// Lays the scene of `state`, a pop-up with no state id of its own (level info, buy, pearl
    /// notice, training), over the running scene in the item pop-up's place: z 1200, tag 1, the
    /// record at 24 over the screen under it, so that state 19 closes it. The manager takes over
    /// `state`, made with new (null is ignored). A pop-up already open is closed first.
    void openPopUpState(KVScreenState* state);
    /// Pop-up kind 16 is shown.
    bool isQuitConfirmationOpen() const override;
    /// Pop-up kind := 16, then state 24 (the pop-up over the current screen).
    void openQuitConfirmation() override;
    /// popUpKind := kind, the pop-up text := subject, then state 24.
    void openItemPopUp(int kind, kvengine::CCString* subject) override;
    /// The manager's mission name.
    void setMissionToLaunch(kvengine::CCString* mission) override { setMissionName(mission); }
    /// CCDirector::replaceScene with a new KVLoadingScreenView of `kind`.
    void leaveMissionThroughLoadingScreen(int kind) override;
    /// preloadMenuSpriteSheets.
    void reloadMenuFrames() override { preloadMenuSpriteSheets(); }
    /// Leaves the menus for a mission: the current state is left and the record reads 17.
    void leaveMenusForGame();
    /// Adds the frames of the menu sheets to the frame cache (missing sheets are logged).
    void preloadMenuSpriteSheets();
    /// Hands the chapter, mission and team to the game setup and fades the mission in (record 18).
    /// A mission that cannot be set up is logged and the world map comes back (state 10).
    void launchMission();

    /// The state in force; 0 before the first change.
    int getCurrentState() const;
    /// The state left last, or the one under an overlay.
    int getPreviousState() const;
    /// The record itself (a plain state object).
    KVStateMenu* getStateRecord() const { return m_stateRecord; }

    /// The state object in a slot, or null.
    KVStateMenu* getSlot(Slot slot) const { return m_slots[slot]; }
    /// Retaining slot setters (the old state released, null allowed).
    void setSlot(Slot slot, KVStateMenu* state);
    void setMainMenuScreenState(KVStateMenu* state) { setSlot(kMainMenuSlot, state); }
    void setAboutScreenState(KVStateMenu* state) { setSlot(kAboutSlot, state); }
    void setOptionsScreenState(KVStateMenu* state) { setSlot(kOptionsSlot, state); }
    void setPlayScreenState(KVStateMenu* state) { setSlot(kPlaySlot, state); }
    void setStoryScreenState(KVStateMenu* state) { setSlot(kStorySlot, state); }
    void setHuddleScreenState(KVStateMenu* state) { setSlot(kHuddleSlot, state); }
    void setWorldMapScreenState(KVStateMenu* state) { setSlot(kWorldMapSlot, state); }
    void setTroopsScreenState(KVStateMenu* state) { setSlot(kTroopsSlot, state); }
    void setShopScreenState(KVStateMenu* state) { setSlot(kShopSlot, state); }
    void setEquipScreenState(KVStateMenu* state) { setSlot(kEquipSlot, state); }
    void setPopUpSquadScreenState(KVStateMenu* state) { setSlot(kPopUpSquadSlot, state); }
    void setVideoState(KVStateMenu* state) { setSlot(kVideoSlot, state); }
    void setPopUpItemScreenState(KVStateMenu* state) { setSlot(kPopUpItemSlot, state); }

    /// The creature the screens work on (retained).
    kvengine::CCString* getSelectedKelvoName() const { return m_selectedKelvoName; }
    void setSelectedKelvoName(kvengine::CCString* name);
    /// The helmet or shop entry chosen last (retained).
    kvengine::CCString* getSelectedShopItemName() const { return m_selectedShopItemName; }
    void setSelectedShopItemName(kvengine::CCString* name);
    /// The chapter to play (retained).
    kvengine::CCString* getChapterName() const { return m_chapterName; }
    void setChapterName(kvengine::CCString* name);
    /// The mission that the next launch starts (retained).
    kvengine::CCString* getMissionName() const { return m_missionName; }
    void setMissionName(kvengine::CCString* name);
    /// The subject of the next item pop-up (retained): an item identifier or a localisation key.
    kvengine::CCString* getPopUpText() const { return m_popUpText; }
    void setPopUpText(kvengine::CCString* text);
    /// The scene of the open item pop-up, or null.
    kvengine::CCScene* getPopUpScene() const;
    /// The base names of the sheets the last preload asked for, in order.
    kvengine::CCMutableArray<kvengine::CCString*>* getMenuSpriteSheets() const { return m_menuSpriteSheets; }

    /// Called with the record's current and previous ids after every change of either (test
    /// drivers trace the front end with it); null for none.
    using RecordObserver = void (*)(int current, int previous);
    static void setRecordObserver(RecordObserver observer) { s_recordObserver = observer; }

    /// Which pop-up state 24 shows (6 item unlocked, 7 item locked, 8 message, 9 quit the mission,
    /// 16 quit the game); the quit confirmation sets it back to 0 when it closes.
    int popUpKind = 0;

private:
    /// Leaves the current state when it is one of 1..24 (a dialogue first, then the screen under it).
    void leaveCurrentState();
    /// A fresh state for `slot`, opened with `openedWith`, recorded; a full screen runs at once.
    KVStateMenu* openState(Slot slot, int openedWith, bool runScene);
    void runScene(KVStateMenu* state);
    void layOverRunningScene(KVStateMenu* state, int z);
    void closeSlot(Slot slot, int stateId);
    void closeOverlay();
    void startDialogue();
    void endVideo();
    void setCurrent(int id);
    void setPrevious(int id);
    void reportRecord();

    inline static RecordObserver s_recordObserver = nullptr;

    KVStateMenu* m_stateRecord = nullptr;
    KVStateMenu* m_slots[kSlotCount] = {};
    kvengine::CCString* m_selectedKelvoName = nullptr;
    kvengine::CCString* m_selectedShopItemName = nullptr;
    kvengine::CCString* m_chapterName = nullptr;
    kvengine::CCString* m_missionName = nullptr;
    kvengine::CCString* m_popUpText = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_menuSpriteSheets = nullptr;
};
