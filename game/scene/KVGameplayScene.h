#pragma once

#include "engine/base/CCRetained.h"
#include <string>

#include "engine/base/CCNotification.h"
#include "engine/director/CCScene.h"

namespace kvengine {
class CCLayer;
class CCTMXTiledMap;
} // namespace kvengine
class KVGameController;
class KVGameModel;
class KVGameplayLayer;
class KVHudLayer;
class KVLoadingGameLayer;

/// The scene of a running mission, for the game setup's current chapter, mission and team.
///
/// It builds the mission in ten steps, one per tick and at least 0.1 s apart, behind its loading
/// layer (z 9000), whose caption changes after each step: pawn manager, consumable manager, HUD
/// (z 1000, tag 8686, hidden), tile map, gameplay layer, game model with the level, the model handed
/// to the layer and the HUD with the dialogue host and the game controller, environment layers,
/// then "EVENT_POST_LOAD_GAME" and "EVENT_MUSIC_GAME_START"; then play starts at once: the loading
/// layer goes, the environment layers (the gameplay layer among them) join the scene, "InGame -
/// Game" is posted with the mission name and the first turn starts; Escape no longer opens the quit
/// confirmation.
///
/// A mission that cannot be built (no squad, a missing or unreadable tile map, a level the model
/// refuses) does not start: the cause is logged and the mission-abort hook takes the player back
/// (the application installs it: a loading screen to the world map).
///
/// Teardown posts "EVENT_GAME_SHUTDOWN" once and clears the game setup's current model, so the next
/// mission starts clean.
class KVGameplayScene : public kvengine::CCScene {
public:
    CC_DECLARE_CLASS_NAME(KVGameplayScene, kvengine::CCScene)

    /// z of the loading layer.
    static constexpr int kLoadingLayerZ = 9000;
    /// Seconds between load steps.
    static constexpr float kLoadStepInterval = 0.1f;
    /// Number of load steps.
    static constexpr int kLoadSteps = 10;

    /// A new autoreleased mission scene, or null (logged) when the mission cannot be set up.
    static KVGameplayScene* create();
    /// What a mission that cannot be built does once its scene has given up (null: nothing more).
    using AbortHandler = void (*)();
    static void setMissionAbortHandler(AbortHandler handler) { s_abortHandler = handler; }

    bool init() override;
    /// One load step per call; after the last one, play starts.
    void tick(float dt) override;
    /// Ends the loading phase and starts the match.
    virtual void startGame();
    /// How the mission ended, as the first "EVENT_GAME_WINNER" found it.
    enum Outcome : int { kOutcomeNone = 0, kOutcomeVictory, kOutcomeDefeat, kOutcomeMultiplayer };

    /// Observer of the first "EVENT_GAME_WINNER": posts "EVENT_SAVE_STATS", records the outcome
    /// (solo: victory when the score manager requested it, else defeat) and loads the result
    /// screen's sheets into the gameplay layer at z 600, then lays the result screen of the outcome
    /// over the game at z 1100.
    virtual void onGameEnd(kvengine::CCNotification* notification);
    /// Leaves the dialogue manager's host slot when the director drops the scene.
    void cleanup() override;
    void cleanupBeforeDelete() override;

    bool isLoaded() const { return m_loaded; }
    bool hasFailed() const { return m_failed; }
    int getLoadStep() const { return m_loadStep; }
    int getCaptionStep() const { return m_captionStep; }
    KVLoadingGameLayer* getLoadingLayer() const { return m_loadingLayer; }
    KVGameplayLayer* getGameplayLayer() const { return m_gameplayLayer; }
    KVGameModel* getGameModel() const { return m_gameModel; }
    KVGameController* getGameController() const { return m_gameController; }
    KVHudLayer* getHud() const { return m_hud; }
    Outcome getOutcome() const { return m_outcome; }
    /// The result screen laid over the finished game, or null.
    kvengine::CCLayer* getResultScreen() const { return m_resultScreen; }

private:
    /// False when the step could not be done (the mission gives up).
    bool runLoadStep(int step);
    void updateLoadingCaption();
    void failMission(const char* why);

    bool m_loaded = false;
    bool m_failed = false;
    Outcome m_outcome = kOutcomeNone;
    int m_captionStep = 0;
    int m_loadStep = 0;
    kvengine::CCRetained<kvengine::CCTMXTiledMap> m_map;
    kvengine::CCRetained<KVHudLayer> m_hud;
    kvengine::CCRetained<KVGameplayLayer> m_gameplayLayer;
    kvengine::CCRetained<kvengine::CCLayer> m_resultScreen;
    kvengine::CCRetained<KVLoadingGameLayer> m_loadingLayer;
    kvengine::CCRetained<KVGameModel> m_gameModel;
    kvengine::CCRetained<KVGameController> m_gameController;

    inline static AbortHandler s_abortHandler = nullptr;
};
