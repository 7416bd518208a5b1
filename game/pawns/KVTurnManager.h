#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "game/world/KVObject.h"

class KVPawn;

/// Decides whose turn it is. A match alternates between the player side and the enemy side; when a
/// side starts, its pawns are queued by initiative (lowest Speed first, ties in registration
/// order); the head of the queue is the current pawn. After each move, once nothing is busy and no
/// dialogue runs, the manager gives the same pawn another move (it has stamina it has not used, or
/// an attack) or ends its turn and starts the next pawn, switching sides when the queue runs out.
/// Computer-driven pawns with no opponent within 10.9375 m are skipped.
///
/// The game model makes one per mission and calls update once a frame after the actors; the
/// gameplay scene calls startFirstTurn when play begins.
///
/// Posted (object in brackets): "EVENT_TURN_START_PLAYER" / "EVENT_TURN_START_ENEMY" (none),
/// "EVENT_SET_CAMERA_TO_OBJECT" (first pawn), "EVENT_START_TURN" (pawn),
/// "EVENT_MOVE_OVER_BEFORE_BUFFER" (none) and one frame later "EVENT_MOVE_OVER" (none),
/// "EVENT_END_TURN_BEFORE_BUFFER" (pawn, or null when it left the board) and one frame later
/// "EVENT_END_TURN" (pawn), "EVENT_SHOW_SKIP_TURN" (the manager), "EVENT_AUTO_FOCUS_REQUEST"
/// (none), "EVENT_PLAYER_MOVE_REMAINING" (pawn), "EVENT_PAWN_ON_SCREEN" /
/// "EVENT_PAWN_OUT_OF_SCREEN" (pawn), and through KVPawn::setSelected "EVENT_PAWN_SELECTED" /
/// "EVENT_PAWN_UNSELECTED".
/// Observed (no object filter): "EVENT_SKIP_TURN", "EVENT_CAM_PLAYABLE", "EVENT_CAM_UNPLAYABLE",
/// "EVENT_NOTIFY_IN_ACTION", "EVENT_NOTIFY_IDLE", "EVENT_REMOVE_ACTOR", "EVENT_VICTORY_DANCE",
/// "EVENT_LOOSE_DANCE", "EVENT_CHATTER_START", "EVENT_END_SPEECH", "InGame - Pause".
///
/// Busy objects: anything that posts "EVENT_NOTIFY_IN_ACTION" with itself is waited for until it
/// posts "EVENT_NOTIFY_IDLE" (once per announcement) or leaves ("EVENT_REMOVE_ACTOR"). The busy
/// list and the queue retain what they hold.
///
/// When no pawn of either side can play, the search for the next pawn stops after trying both
/// sides once: the manager logs it and starts no turn, and looks again each frame (without posting)
/// until some pawn can play; the score manager's conditions decide the match meanwhile.
class KVTurnManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVTurnManager, KVObject)

    /// An AI-driven pawn plays only with an opponent strictly closer than this, metres (350 px).
    static constexpr float kPlayDistance = 10.9375f;

    /// Empty queue and busy list; registers the observers.
    KVTurnManager();
    /// Stops observing; releases the queue and the busy list.
    void cleanupBeforeDelete() override;

    /// The head of the queue: the pawn whose turn it is; null when the queue is empty. Not
    /// retained for the caller.
    KVPawn* getCurrentPawn() const;
    /// Starts the match: the player side (or the enemy side when the player side is empty), its
    /// first pawn's "EVENT_SET_CAMERA_TO_OBJECT" and "EVENT_START_TURN", and selects it.
    void startFirstTurn();
    /// Fills the queue with a side's pawns (the other side when that one has none), posts
    /// "EVENT_TURN_START_PLAYER" or "..._ENEMY", leaves out the boss's weak points and sorts by
    /// Speed.
    void startSide(bool playerSide);
    /// The skip test: human-driven pawns always play; an AI-driven pawn needs an opponent within
    /// kPlayDistance (an enemy then also asks its canAct; an enemy plays when the player side is
    /// empty).
    bool canPawnPlay(KVPawn* pawn);
    /// Active := `makeActive`; selects or deselects the head pawn; when activating a pawn that is not
    /// AI-driven posts "EVENT_SHOW_SKIP_TURN".
    void setCurrentPawnActive(bool makeActive);
    /// Once a frame: on-screen tracking of the current pawn, then, when the camera is playable (or
    /// a skip was asked) and nothing is busy, the decision: another move or the end of the turn,
    /// each completed one frame after its "..._BEFORE_BUFFER" notification.
    void update(float dt) override;

    bool isCurrentPawnActive() const { return m_currentPawnActive; }
    /// True for the player side.
    bool getCurrentSide() const { return m_currentSide; }
    bool isFrozen() const { return m_frozen; }
    bool isAllIdle() const { return m_allIdle; }
    /// Set by "InGame - Pause"; only the pause screen's Continue clears it (setPaused(false)).
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }
    /// The queue of the current side (head first); the list itself.
    kvengine::CCMutableArray<KVPawn*>* getQueue() const { return m_queue; }
    /// Objects announced busy and not yet idle, one entry per announcement.
    unsigned getBusyCount() const { return m_busy->count(); }
    /// The busy objects themselves (the list; a camera averages their positions).
    kvengine::CCMutableArray<kvengine::CCObject*>* getBusyObjects() const { return m_busy; }

    /// Notification handlers.
    virtual void onNotifyInAction(kvengine::CCNotification* notification);
    virtual void onNotifyIdle(kvengine::CCNotification* notification);
    virtual void onChatterStart(kvengine::CCNotification* notification);
    virtual void onEndSpeech(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    virtual void onLooseDance(kvengine::CCNotification* notification);
    virtual void onVictoryDance(kvengine::CCNotification* notification);
    virtual void onCamPlayable(kvengine::CCNotification* notification);
    virtual void onCamUnplayable(kvengine::CCNotification* notification);
    virtual void onSkipTurn(kvengine::CCNotification* notification);
    virtual void onPause(kvengine::CCNotification* notification);

protected:
    /// Whether the pawn is on the window (the camera's test). True while no camera answers.
    virtual bool isPawnOnScreen(KVPawn* pawn);
    /// Whether the camera lets the player play now. Until a camera answers: the last
    /// "EVENT_CAM_PLAYABLE" / "EVENT_CAM_UNPLAYABLE" heard.
    virtual bool isCameraPlayable();
    /// True while a dialogue is shown.
    virtual bool isDialogueRunning();

private:
    void trackPawnOnScreen();
    void decide(float dt);
    // The end-of-turn search: passes pawns that cannot play (each gets "EVENT_END_TURN"), switching
    // sides at most twice. The pawn found, or null (logged) when none of either side can play.
    KVPawn* findNextPawn();
    bool anyPawnCanPlay();
    void finishMove(KVPawn* pawn, bool soloAttackLeft);
    void removeFirstBusyEntry(kvengine::CCObject* object);
    void updateAllIdle();
    static bool isSolo();

    // Whether the first tick of a move or turn ending has happened (the second tick completes it).
    bool m_bufferStarted = false;
    bool m_currentPawnActive = false;
    kvengine::CCMutableArray<KVPawn*>* m_queue = nullptr;
    bool m_skipRequested = false;
    bool m_cameraPlayable = false;
    kvengine::CCMutableArray<kvengine::CCObject*>* m_busy = nullptr;
    bool m_currentPawnRemoved = false;
    bool m_frozen = false;
    bool m_pawnOnScreen = true;
    bool m_waitingForPawnOnScreen = false;
    bool m_allIdle = true;
    bool m_paused = false;
    bool m_currentSide = true;
    // No pawn of either side could play at the last search: no turn runs until one can.
    bool m_stalled = false;
};
