#pragma once

#include "game/menu/KVStateMenu.h"

namespace kvengine {
class CCScene;
}

/// A state that stands for a whole screen (or an overlay): it keeps the scene its buildView made.
/// Releasing the state releases the scene, and the view with it unless the director still runs it.
class KVScreenState : public KVStateMenu {
public:
    CC_DECLARE_CLASS_NAME(KVScreenState, KVStateMenu)

    void cleanupBeforeDelete() override;
    /// scene := createScene() (the previous one released).
    void buildView() override;

    /// The scene of the screen; null until built.
    kvengine::CCScene* getScene() const { return m_scene; }
    void setScene(kvengine::CCScene* scene);

protected:
    /// A new autoreleased scene holding the screen's view at z 0.
    virtual kvengine::CCScene* createScene() = 0;

private:
    kvengine::CCScene* m_scene = nullptr;
};

#define KV_SCREEN_STATE(Name)                                                                                \
    class Name : public KVScreenState {                                                                      \
    public:                                                                                                  \
        CC_DECLARE_CLASS_NAME(Name, KVScreenState)                                                           \
                                                                                                             \
    protected:                                                                                               \
        kvengine::CCScene* createScene() override;                                                           \
    };

/// Ids 1 and 2: the main menu.
KV_SCREEN_STATE(KVMainMenuScreenState)
/// Id 3: the about screen.
KV_SCREEN_STATE(KVAboutScreenState)
/// Id 4: the options screen.
KV_SCREEN_STATE(KVOptionsScreenState)
/// Ids 5 and 6: the play-mode screen.
KV_SCREEN_STATE(KVPlayScreenState)
/// Id 9 and 10: the world map.
KV_SCREEN_STATE(KVWorldMapScreenState)
/// Ids 11 and 13: the troops screen.
KV_SCREEN_STATE(KVTroopsScreenState)
/// Id 16: the squad pop-up (an overlay).
KV_SCREEN_STATE(KVPopUpSquadScreenState)
/// Id 24: the item pop-up (an overlay) of the manager's popUpKind.
KV_SCREEN_STATE(KVPopUpItemScreenState)

#undef KV_SCREEN_STATE

/// Ids 12 and 14: the shop. The shop's view lives on a floor above the menus: the application
/// installs its scene maker (kvConnectGameServices); without one the state shows a bare screen.
class KVShopScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVShopScreenState, KVScreenState)
    using SceneMaker = kvengine::CCScene* (*)();
    static void setSceneMaker(SceneMaker maker) { s_sceneMaker = maker; }

protected:
    kvengine::CCScene* createScene() override;

private:
    inline static SceneMaker s_sceneMaker = nullptr;
};

/// Id 15: the equipment screen. Leaving it unloads the sheets its character card loaded before
/// the next screen loads its own (the caches hold one copy of a sheet for everybody).
class KVEquipScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVEquipScreenState, KVScreenState)
    void leave() override;

protected:
    kvengine::CCScene* createScene() override;
};

/// Id 7: the chapter (story) screen; solo play from here on.
class KVStoryScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVStoryScreenState, KVScreenState)
    /// The game setup's solo flag := true (the game setup is made when missing).
    KVStoryScreenState();

protected:
    kvengine::CCScene* createScene() override;
};

/// Id 8: the multiplayer set-up screen; multiplayer from here on.
class KVHuddleScreenState : public KVScreenState {
public:
    CC_DECLARE_CLASS_NAME(KVHuddleScreenState, KVScreenState)
    /// The game setup's solo flag := false.
    KVHuddleScreenState();

protected:
    kvengine::CCScene* createScene() override;
};

/// Ids 22 and 23. There is no video in this game: the state builds nothing and its scene stays
/// null; the menu manager moves on from it at once.
class KVVideoState : public KVStateMenu {
public:
    CC_DECLARE_CLASS_NAME(KVVideoState, KVStateMenu)

    void cleanupBeforeDelete() override;
    kvengine::CCScene* getScene() const { return m_scene; }

private:
    kvengine::CCScene* m_scene = nullptr;
};
