#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCRetained.h"
#include "game/world/KVCameraService.h"
#include "game/world/KVObject.h"
#include "game/world/KVSingletonObject.h"

namespace kvengine {
class CCGestureRecognizer;
class CCLayer;
class CCNode;
class CCPanGestureRecognizer;
class CCPinchGestureRecognizer;
class CCTapGestureRecognizer;
} // namespace kvengine
class KVPawn;

/// Moves and zooms the gameplay layer so that the player sees the action.
///
/// Automatic mode glides after the current pawn, or the average of the busy actors, keeps a dead
/// zone around the view centre, zooms out while something leaves the central 75 % of the window,
/// shakes during a quake and announces itself busy (EVENT_NOTIFY_IN_ACTION / _IDLE) until it has
/// settled. Manual mode follows the player: a pan drags the map (it slides on after a fast drag,
/// losing 9 x dt of its speed per frame), keys scroll by 20 points and zoom by a tenth of the way
/// between the fit zoom and 1, a pinch zooms; the playable state (full zoom, the current pawn 80
/// points inside the window) is posted on every change. The map never scrolls past its edges while
/// the view lies inside it; the environment layers follow by their parallax.
///
/// Lengths are the layer's points (pixels at zoom 1); positions of actors are metres x 32. The
/// layer's size is its touch size (the map's extent). The layer is retained; the three recognizers
/// are owned by the layer's recognizer list.
class KVCamera : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVCamera, KVObject)

    /// Scroll step of an arrow key, points.
    static constexpr float kKeyScroll = 20.0f;
    /// Margin, points, kept between the playable pawn or the far limits and the window's edges.
    static constexpr float kEdgeMargin = 80.0f;

    /// Binds the camera to `layer` (retained; null refused, logged): the start values, the
    /// double-tap, pan and pinch recognizers added to the layer, the camera manager's camera, and
    /// the observers.
    bool attachToLayer(kvengine::CCLayer* layer);
    /// One frame (see the class comment).
    void update(float dt) override;
    /// Stops observing, releases the layer and forgets the recognizers.
    void cleanupBeforeDelete() override;

    // Handlers.
    virtual void onQuakeStart(kvengine::CCNotification* notification);
    virtual void onQuakeEnd(kvengine::CCNotification* notification);
    virtual void onRefocusRequest(kvengine::CCNotification* notification);
    virtual void onFollowMove(kvengine::CCNotification* notification);
    virtual void onTurnStart(kvengine::CCNotification* notification);
    virtual void onKrakenTriggered(kvengine::CCNotification* notification);
    virtual void onKrakenEffect(kvengine::CCNotification* notification);
    virtual void onKrakenFinished(kvengine::CCNotification* notification);
    virtual void onAutoFocusRequest(kvengine::CCNotification* notification);
    /// Fit zoom and the follow limits, from the window and the layer's size.
    virtual void onPostLoadGame(kvengine::CCNotification* notification);
    virtual void onSetCameraToObject(kvengine::CCNotification* notification);
    virtual void onKeyPress(kvengine::CCNotification* notification);
    virtual void onDoubleTap(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);
    virtual void onPan(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);
    virtual void onPinch(kvengine::CCGestureRecognizer* recognizer, kvengine::CCNode* node);

    /// What a pan gesture in `state` hands over: its movement and where the pointer is, both
    /// already in GL points.
    void applyPan(int state, const kvengine::CCPoint& glDelta, const kvengine::CCPoint& glLocation);
    /// What a pinch in `state` hands over: the window point it is centred on (GL) and its scale.
    void applyPinch(int state, const kvengine::CCPoint& glCentre, float scale);

    /// Full zoom, and the current pawn (if any) 80 points inside the window.
    bool isPlayable();
    /// Whether the layer point `p` lies on the window, or for `fraction` other than 1 in the
    /// centred rectangle of that fraction of the window.
    bool isPointOnScreen(const kvengine::CCPoint& p, float fraction);
    /// Whether the view may move by `delta` (window points) and stay inside the map.
    bool canScroll(const kvengine::CCPoint& delta);
    /// How far the window centre, with the layer moved by `delta`, lies beyond the centres that
    /// show only map, per axis in layer points (0 inside; the middle of the map on an axis where
    /// it is smaller than the window).
    kvengine::CCPoint outsideArea(const kvengine::CCPoint& delta);
    bool isViewInside() { return canScroll(kvengine::CCPoint(0.0f, 0.0f)); }
    /// Moves the layer by `delta`, limited to the map while the view lies inside it; outside it,
    /// never further out.
    void scrollBy(const kvengine::CCPoint& delta);
    /// Brings the layer point `p` to the window centre, without the limit.
    void centreOn(const kvengine::CCPoint& p);
    /// Scrolls the view back inside the map.
    void clampToMap();
    /// Scales the layer to `z` about the window centre (see the class comment for the limits).
    void setZoom(float z);
    /// Asks for zoom `z` about the window centre at the next update.
    void zoomTo(float z);

    bool isAutomatic() const { return m_automatic; }
    bool isRefocusRequested() const { return m_refocusRequested; }
    bool isFollowing() const { return m_following; }
    bool isInertia() const { return m_inertia; }
    void setInertia(bool inertia) { m_inertia = inertia; }
    bool isShaking() const { return m_shaking; }
    bool isForcedFollow() const { return m_forcedFollow; }
    void setForcedFollow(bool forced) { m_forcedFollow = forced; }
    int getKrakenPhase() const { return m_krakenPhase; }
    float getFitZoom() const { return m_fitZoom; }
    float getMinimumZoom() const { return m_minimumZoom; }
    float getMaximumZoom() const { return m_maximumZoom; }
    float getSettleTimer() const { return m_settleTimer; }
    kvengine::CCPoint getPanDelta() const { return m_panDelta; }
    /// Where the pointer was at the last pan update (GL points); kept after the pan ends.
    kvengine::CCPoint getLastPanLocation() const { return m_lastPanLocation; }
    kvengine::CCLayer* getLayer() const { return m_layer; }
    kvengine::CCTapGestureRecognizer* getDoubleTapRecognizer() const { return m_doubleTap; }
    kvengine::CCPanGestureRecognizer* getPanRecognizer() const { return m_pan; }
    kvengine::CCPinchGestureRecognizer* getPinchRecognizer() const { return m_pinch; }
    /// The window centre in the layer's space.
    kvengine::CCPoint viewCentre();

protected:
    /// The pawn the follow step aims at: the current game model's current pawn.
    virtual KVPawn* currentPawn();
    /// Whether the match is over (the turn manager is frozen).
    virtual bool isTurnFrozen();
    /// The objects the turn manager waits for; null without a mission.
    virtual kvengine::CCMutableArray<kvengine::CCObject*>* busyObjects();

private:
    void followStep(float dt);
    kvengine::CCSize windowSize() const;
    kvengine::CCSize layerSize() const;
    void moveLayerBy(const kvengine::CCPoint& delta);
    void post(kvengine::CCString* name);

    kvengine::CCRetained<kvengine::CCLayer> m_layer;
    kvengine::CCTapGestureRecognizer* m_doubleTap = nullptr;
    kvengine::CCPanGestureRecognizer* m_pan = nullptr;
    kvengine::CCPinchGestureRecognizer* m_pinch = nullptr;
    bool m_automatic = true;
    bool m_refocusRequested = false;
    bool m_lastPlayable = false;
    bool m_panPending = false;
    bool m_panEnded = false;
    bool m_inertia = false;
    bool m_zoomPending = false;
    bool m_following = false;
    bool m_announceBusy = false;
    bool m_busyAnnounced = false;
    bool m_shaking = false;
    bool m_viewInside = false;
    bool m_forcedFollow = false;
    int m_framesSincePan = 0;
    kvengine::CCPoint m_panDelta;
    kvengine::CCPoint m_lastPanLocation;
    kvengine::CCPoint m_zoomAnchor;
    kvengine::CCPoint m_viewCentre;
    float m_targetZoom = 0.0f;
    float m_settleTimer = 0.0f;
    float m_fitZoom = 1.0f;
    float m_minimumZoom = 0.3f;
    float m_maximumZoom = 1.0f;
    kvengine::CCPoint m_farMargins;
    kvengine::CCPoint m_deadZone;
    struct Limits {
        float xMin = 0.0f;
        float xMax = 0.0f;
        float yMin = 0.0f;
        float yMax = 0.0f;
    };
    Limits m_mapLimits;
    Limits m_innerLimits;
    int m_krakenPhase = 0;
};

/// The game-wide holder of the gameplay camera: answers the on-screen questions of other objects
/// and, when an enemy appears in the middle of a move, makes the camera follow it for 2 s (the
/// new pawn is kept busy meanwhile).
class KVCameraManager : public KVSingletonObject<KVCameraManager>, public KVCameraService {
public:
    CC_DECLARE_CLASS_NAME(KVCameraManager, KVSingletonObject)

    /// Seconds the camera follows an enemy that appeared mid-move.
    static constexpr float kForcedFollowSeconds = 2.0f;

    KVCameraManager();
    void cleanupBeforeDelete() override;

    virtual void onGameShutdown(kvengine::CCNotification* notification);
    virtual void onSimpleTapOnPawn(kvengine::CCNotification* notification);
    virtual void onPostLoadGame(kvengine::CCNotification* notification);
    virtual void onNewActor(kvengine::CCNotification* notification);
    /// Counts the forced follow down; at its end posts EVENT_DISABLE_FORCE_IN_ACTION.
    void update(float dt) override;

    KVCamera* getCamera() const { return m_camera; }
    /// The camera (retained; replaces any earlier one).
    void setCamera(KVCamera* camera);
    float getForcedFollowTimer() const { return m_forcedFollowTimer; }

    bool isPawnOnScreen(KVPawn* pawn) override;
    bool isZoomedOutManually() override;
    bool isLevelPointOnScreen(float x, float y) override;
    bool isPlayable() override;

private:
    kvengine::CCRetained<KVCamera> m_camera;
    float m_forcedFollowTimer = 0.0f;
    bool m_scheduled = false;
};
