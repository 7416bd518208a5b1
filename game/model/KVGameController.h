#pragma once

#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "game/world/KVObject.h"

namespace kvengine {
class CCGestureRecognizer;
}
class KVGameModel;
class KVPawn;
class KVPawnPlayerController;

/// Routes the player's input during a mission. The gameplay layer hands it every touch, in metres
/// of the level, and asks it, for every gesture recognizer on the layer (its tap, the camera's
/// double tap, pan and pinch), whether the recognizer may take a touch and begin.
///
/// Touches on the selected kelvo of a human turn become its pull (the player controller's
/// beginPull / updatePull / releasePull); such a touch never goes to a camera gesture. Taps go to
/// the player controller (attack targets, dashes, taps on pawns); during a computer-driven turn a
/// tap only posts "EVENT_USELESS_TAP_DURING_AI_TURN". Nothing is taken while a dialogue runs or
/// just ended, once the match is decided, or while paused ("InGame - Pause"; the pause screen's
/// Continue clears the flag).
///
/// The model, the current pawn and the player controller are retained and let go of at
/// "EVENT_GAME_SHUTDOWN".
class KVGameController : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVGameController, KVObject)

    /// Grab distance around the playable pawn, metres.
    static constexpr float kTouchRadius = 1.25f;

    /// Retains `model`; observes the turn, shutdown, removal, pause and pearl notifications.
    explicit KVGameController(KVGameModel* model);
    void cleanupBeforeDelete() override;

    virtual bool shouldReceiveGesture(kvengine::CCGestureRecognizer* recognizer, float x, float y);
    virtual bool shouldBeginGesture(kvengine::CCGestureRecognizer* recognizer);
    /// True when the touch starts a pull of the selected kelvo.
    virtual bool onTouchBegan(float x, float y);
    virtual void onTouchMoved(float x, float y);
    virtual void onTouchEnded(float x, float y);
    virtual void onTouchCancelled();
    virtual void onTap(float x, float y);
    virtual bool isTapForGame(float x, float y);
    virtual bool isTouchOnPlayablePawn(float x, float y);

    virtual void onStartTurn(kvengine::CCNotification* notification);
    virtual void onGameShutdown(kvengine::CCNotification* notification);
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    virtual void onPause(kvengine::CCNotification* notification);
    virtual void onPearlPicked(kvengine::CCNotification* notification);

    KVGameModel* getModel() const { return m_model; }
    KVPawn* getCurrentPawn() const { return m_currentPawn; }
    KVPawnPlayerController* getPlayerController() const { return m_playerController; }

    /// Set by "InGame - Pause"; the pause screen's Continue writes it back.
    bool paused = false;

private:
    /// A current pawn that is not computer-driven.
    bool isHumanTurn() const;
    /// Human turn, not paused, and the head of the turn queue is selected.
    bool acceptsTouches() const;
    bool isCurrentPawnSelected() const;
    bool isDecided() const;
    bool isPulling() const;

    kvengine::CCRetained<KVGameModel> m_model;
    kvengine::CCRetained<KVPawn> m_currentPawn;
    kvengine::CCRetained<KVPawnPlayerController> m_playerController;
};
