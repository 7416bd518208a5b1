#include "game/camera/KVCamera.h"

#include <algorithm>
#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScheduler.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCPinchGestureRecognizer.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/nodes/CCLayer.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVTurnManager.h"

using namespace kvengine;

namespace {

constexpr float kPixelsPerMetre = KVGameModel::kPixelsPerMetre;

bool isActiveGesture(int state) {
    return state == kCCGestureRecognizerStateBegan || state == kCCGestureRecognizerStateChanged;
}

KVGameModel* currentModel() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    return setup != nullptr ? dynamic_cast<KVGameModel*>(setup->getCurrentGameModel()) : nullptr;
}

CCPoint actorPoint(KVActor* actor) {
    float x = 0.0f;
    float y = 0.0f;
    actor->getPosition(&x, &y);
    return CCPoint(x * kPixelsPerMetre, y * kPixelsPerMetre);
}

// The part of `offset` beyond `zone` on one axis, sign kept (0 within the zone).
float beyondZone(float offset, float zone) {
    return offset > 0.0f ? offset - zone : offset + zone;
}

} // namespace

// ---- KVCamera ---------------------------------------------------------------------------------

bool KVCamera::attachToLayer(CCLayer* layer) {
    if (layer == nullptr) {
        logDebugMessage("KVCamera: no layer to attach to");
        return false;
    }
    m_layer = layer;
    m_layer->setPosition(CCPoint(0.0f, 0.0f));
    m_automatic = true;
    m_refocusRequested = m_lastPlayable = m_panPending = m_panEnded = m_inertia = m_zoomPending = false;
    m_following = m_announceBusy = m_busyAnnounced = m_shaking = m_forcedFollow = false;
    m_panDelta = m_lastPanLocation = m_zoomAnchor = m_viewCentre = CCPoint(0.0f, 0.0f);
    m_targetZoom = 0.0f;
    m_settleTimer = 0.0f;
    m_maximumZoom = 1.0f;
    m_minimumZoom = 0.3f;
    m_krakenPhase = 0;

    m_doubleTap = new CCTapGestureRecognizer();
    m_doubleTap->setNumberOfTapsRequired(2);
    m_doubleTap->setCallback(this, gesture_selector(KVCamera::onDoubleTap));
    m_pinch = new CCPinchGestureRecognizer();
    m_pinch->setCallback(this, gesture_selector(KVCamera::onPinch));
    m_pan = new CCPanGestureRecognizer();
    m_pan->setCallback(this, gesture_selector(KVCamera::onPan));
    for (CCGestureRecognizer* recognizer :
         {static_cast<CCGestureRecognizer*>(m_doubleTap), static_cast<CCGestureRecognizer*>(m_pinch),
          static_cast<CCGestureRecognizer*>(m_pan)}) {
        layer->addGestureRecognizer(recognizer);
        recognizer->release();
    }
    KVCameraManager::getInstance()->setCamera(this);

    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCamera::onSetCameraToObject),
                        EVENT_SET_CAMERA_TO_OBJECT);
    centre->addObserver(this, notification_selector(KVCamera::onRefocusRequest), EVENT_SHOW_SKIP_TURN);
    centre->addObserver(this, notification_selector(KVCamera::onTurnStart), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVCamera::onFollowMove), EVENT_PULL_RELEASE);
    centre->addObserver(this, notification_selector(KVCamera::onTurnStart), EVENT_MOVE_OVER);
    centre->addObserver(this, notification_selector(KVCamera::onFollowMove),
                        EVENT_DISTANCE_ATTACK_ACTION_START);
    centre->addObserver(this, notification_selector(KVCamera::onFollowMove), EVENT_AOE_ACTION_START);
    centre->addObserver(this, notification_selector(KVCamera::onFollowMove),
                        EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE);
    centre->addObserver(this, notification_selector(KVCamera::onKrakenTriggered), EVENT_KRAKEN_TRIGGERED);
    centre->addObserver(this, notification_selector(KVCamera::onKrakenEffect), EVENT_KRAKEN_EFFECT_TRIGGERED);
    centre->addObserver(this, notification_selector(KVCamera::onKrakenFinished), EVENT_KRAKEN_ANIM_FINISHED);
    centre->addObserver(this, notification_selector(KVCamera::onPostLoadGame), EVENT_POST_LOAD_GAME);
    centre->addObserver(this, notification_selector(KVCamera::onAutoFocusRequest), EVENT_AUTO_FOCUS_REQUEST);
    centre->addObserver(this, notification_selector(KVCamera::onQuakeStart),
                        EVENT_COCONUT_CRAB_QUAKE_ACTION_START);
    centre->addObserver(this, notification_selector(KVCamera::onQuakeEnd), EVENT_COCONUT_CRAB_QUAKE_ANIM_END);
    centre->addObserver(this, notification_selector(KVCamera::onRefocusRequest),
                        EVENT_DISABLE_FORCE_IN_ACTION);
    centre->addObserver(this, notification_selector(KVCamera::onKeyPress), ccEventKeyPress());
    m_viewCentre = viewCentre();
    return true;
}

void KVCamera::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_layer != nullptr) {
        // The recognizers call back into this camera: they leave the layer with it.
        m_layer->removeGestureRecognizer(m_doubleTap);
        m_layer->removeGestureRecognizer(m_pinch);
        m_layer->removeGestureRecognizer(m_pan);
        m_layer.reset();
    }
    m_doubleTap = nullptr;
    m_pinch = nullptr;
    m_pan = nullptr;
    KVObject::cleanupBeforeDelete();
}

void KVCamera::post(CCString* name) {
    CCNotificationCenter::getInstance()->postNotification(name, this);
}

// ---- handlers -----------------------------------------------------------------------------

void KVCamera::onQuakeStart(CCNotification*) {
    m_shaking = true;
}

void KVCamera::onQuakeEnd(CCNotification*) {
    m_shaking = false;
}

void KVCamera::onRefocusRequest(CCNotification*) {
    m_refocusRequested = true;
}

void KVCamera::onFollowMove(CCNotification*) {
    m_automatic = true;
    m_refocusRequested = false;
    m_following = true;
    m_announceBusy = true;
}

void KVCamera::onTurnStart(CCNotification*) {
    m_automatic = true;
    m_refocusRequested = false;
    m_following = false;
    m_announceBusy = false;
}

void KVCamera::onKrakenTriggered(CCNotification* notification) {
    m_krakenPhase = 1;
    onFollowMove(notification);
}

void KVCamera::onKrakenEffect(CCNotification*) {
    m_krakenPhase = 2;
}

void KVCamera::onKrakenFinished(CCNotification*) {
    m_krakenPhase = 0;
}

void KVCamera::onAutoFocusRequest(CCNotification*) {
    m_automatic = true;
    m_refocusRequested = true;
    post(EVENT_CAMERA_AUTO_FOCUS);
}

void KVCamera::onDoubleTap(CCGestureRecognizer*, CCNode*) {
    onAutoFocusRequest(nullptr);
}

void KVCamera::onPostLoadGame(CCNotification*) {
    if (m_layer == nullptr) return;
    const CCSize window = windowSize();
    const CCSize level = layerSize();
    if (level.width <= 0.0f || level.height <= 0.0f) {
        logDebugMessage("KVCamera: the layer has no size; the fit zoom stays 1");
        m_fitZoom = 1.0f;
    } else {
        const float ratioX = window.width / level.width;
        const float ratioY = window.height / level.height;
        m_fitZoom = (ratioX > 1.0f || ratioY > 1.0f) ? 1.0f : std::min(1.0f, std::max(ratioX, ratioY));
    }
    m_minimumZoom = std::max(m_minimumZoom, m_fitZoom);
    if (m_fitZoom > m_maximumZoom) m_maximumZoom = 2.0f * m_fitZoom;
    const float hw = window.width * 0.5f / m_maximumZoom;
    const float hh = window.height * 0.5f / m_maximumZoom;
    m_farMargins = CCPoint(hw - kEdgeMargin, hh - kEdgeMargin);
    m_deadZone = CCPoint(0.25f * hw, 0.2f * hh);
    m_mapLimits = {kEdgeMargin, level.width - kEdgeMargin, kEdgeMargin, level.height - kEdgeMargin};
    m_innerLimits = {0.75f * hw, level.width - 0.75f * hw, 0.8f * hh, level.height - 0.8f * hh};
    m_viewCentre = viewCentre();
}

void KVCamera::onSetCameraToObject(CCNotification* notification) {
    auto* actor = dynamic_cast<KVActor*>(notification != nullptr ? notification->getObject() : nullptr);
    if (actor == nullptr || m_layer == nullptr) return;
    centreOn(actorPoint(actor));
    clampToMap();
    m_viewCentre = viewCentre();
}

void KVCamera::onKeyPress(CCNotification* notification) {
    auto* key = dynamic_cast<CCString*>(notification != nullptr ? notification->getObject() : nullptr);
    if (key == nullptr || m_layer == nullptr) return;
    const std::string name = key->c_str();
    const float zoomStep = (1.0f - m_fitZoom) / 10.0f;
    if (name == "TOUCH_RIGHT") {
        scrollBy(CCPoint(-kKeyScroll, 0.0f));
    } else if (name == "TOUCH_LEFT") {
        scrollBy(CCPoint(kKeyScroll, 0.0f));
    } else if (name == "TOUCH_UP") {
        scrollBy(CCPoint(0.0f, -kKeyScroll));
    } else if (name == "TOUCH_DOWN") {
        scrollBy(CCPoint(0.0f, kKeyScroll));
    } else if (name == "TOUCH_ADD") {
        zoomTo(m_layer->getScale() + zoomStep);
    } else if (name == "TOUCH_SUBSTRAC") {
        zoomTo(m_layer->getScale() - zoomStep);
    }
}

void KVCamera::onPan(CCGestureRecognizer* recognizer, CCNode*) {
    auto* pan = dynamic_cast<CCPanGestureRecognizer*>(recognizer);
    if (pan == nullptr) return;
    CCDirector* director = CCDirector::getInstance();
    const int state = pan->getState();
    const CCPoint delta = director->convertDeltaToGL(pan->getTranslation());
    pan->setTranslation(CCPoint(0.0f, 0.0f));
    if (isActiveGesture(state)) {
        director->setCursor(CCDirector::kCursorStateOpen);
    }
    applyPan(state, delta, director->convertToGL(pan->getLocation()));
}

void KVCamera::applyPan(int state, const CCPoint& glDelta, const CCPoint& glLocation) {
    if (!isActiveGesture(state)) {
        m_panEnded = true;
        return;
    }
    m_panDelta = glDelta;
    m_lastPanLocation = glLocation;
    m_framesSincePan = 0;
    m_panEnded = false;
    m_inertia = false;
    m_panPending = true;
}

void KVCamera::onPinch(CCGestureRecognizer* recognizer, CCNode*) {
    auto* pinch = dynamic_cast<CCPinchGestureRecognizer*>(recognizer);
    if (pinch == nullptr) return;
    applyPinch(pinch->getState(), CCDirector::getInstance()->convertToGL(pinch->getCenter()),
               pinch->getScale());
}

void KVCamera::applyPinch(int state, const CCPoint& glCentre, float scale) {
    if (!isActiveGesture(state) || m_layer == nullptr) {
        m_zoomPending = false;
        return;
    }
    const CCPoint local = m_layer->convertToNodeSpace(glCentre);
    const CCSize size = layerSize();
    m_zoomAnchor = size.width > 0.0f && size.height > 0.0f
                       ? CCPoint(local.x / size.width, local.y / size.height)
                       : CCPoint(0.0f, 0.0f);
    // The recognizer's scale is the change since the gesture began: the zoom follows it from the
    // zoom the gesture started at.
    m_targetZoom = m_layer->getScale() * scale;
    m_zoomPending = true;
}

void KVCamera::zoomTo(float z) {
    if (m_layer == nullptr) return;
    const CCPoint local = viewCentre();
    const CCSize size = layerSize();
    m_zoomAnchor = size.width > 0.0f && size.height > 0.0f
                       ? CCPoint(local.x / size.width, local.y / size.height)
                       : CCPoint(0.0f, 0.0f);
    m_targetZoom = z;
    m_zoomPending = true;
}

// ---- geometry -----------------------------------------------------------------------------

CCSize KVCamera::windowSize() const {
    return CCDirector::getInstance()->getWinSize();
}

CCSize KVCamera::layerSize() const {
    return m_layer != nullptr ? m_layer->getTouchSize() : CCSize(0.0f, 0.0f);
}

CCPoint KVCamera::viewCentre() {
    if (m_layer == nullptr) return CCPoint(0.0f, 0.0f);
    const CCSize window = windowSize();
    return m_layer->convertToNodeSpace(CCPoint(window.width * 0.5f, window.height * 0.5f));
}

bool KVCamera::isPointOnScreen(const CCPoint& p, float fraction) {
    if (m_layer == nullptr) return false;
    const CCSize window = windowSize();
    const CCPoint world = m_layer->convertToWorldSpace(p);
    const float width = window.width * fraction;
    const float height = window.height * fraction;
    const float left = (window.width - width) * 0.5f;
    const float bottom = (window.height - height) * 0.5f;
    return world.x >= left && world.x <= left + width && world.y >= bottom && world.y <= bottom + height;
}

bool KVCamera::canScroll(const CCPoint& delta) {
    if (m_layer == nullptr) return false;
    const CCSize level = layerSize();
    const CCSize window = windowSize();
    const float scale = m_layer->getScale();
    if (scale <= 0.0f) return false;
    if (level.width - window.width / scale < 0.0f || level.height - window.height / scale < 0.0f)
        return false;
    // A view already a little off the map on one axis (a map no wider than the window leaves no
    // room at all) may still move, as long as it goes no further out on either axis.
    const CCPoint before = outsideArea(CCPoint(0.0f, 0.0f));
    const CCPoint out = outsideArea(delta);
    return std::fabs(out.x) <= std::fabs(before.x) && std::fabs(out.y) <= std::fabs(before.y);
}

CCPoint KVCamera::outsideArea(const CCPoint& delta) {
    const CCSize window = windowSize();
    const CCSize level = layerSize();
    const float scale = m_layer->getScale();
    const CCPoint q =
        m_layer->convertToNodeSpace(CCPoint(window.width * 0.5f - delta.x, window.height * 0.5f - delta.y));
    // The centres that show only map; on an axis where the map is smaller than the window, its
    // middle. A few hundredths of a point of rounding count as inside.
    auto beyond = [](float at, float low, float span) {
        constexpr float kSlack = 0.01f;
        const float high = span >= 0.0f ? low + span : low + span * 0.5f;
        if (span < 0.0f) low = high;
        if (at < low - kSlack) return at - low;
        if (at > high + kSlack) return at - high;
        return 0.0f;
    };
    return CCPoint(beyond(q.x, window.width / (2.0f * scale), level.width - window.width / scale),
                   beyond(q.y, window.height / (2.0f * scale), level.height - window.height / scale));
}

void KVCamera::moveLayerBy(const CCPoint& delta) {
    const CCPoint position = m_layer->getPosition();
    m_layer->setPosition(CCPoint(position.x + delta.x, position.y + delta.y));
    if (KVEnvLayerManager* layers = KVEnvLayerManager::existingInstance()) layers->scrollLayers(delta);
}

void KVCamera::scrollBy(const CCPoint& delta) {
    if (m_layer == nullptr || m_layer->getScale() <= 0.0f) return;
    CCPoint used = delta;
    if (!m_viewInside) {
        // Off the map (the follow may leave the view there), a move may bring the view back or run
        // along, never take it further out on either axis.
        const CCPoint before = outsideArea(CCPoint(0.0f, 0.0f));
        const CCPoint after = outsideArea(delta);
        if (std::fabs(after.x) > std::fabs(before.x)) used.x = 0.0f;
        if (std::fabs(after.y) > std::fabs(before.y)) used.y = 0.0f;
        if (used.x == 0.0f && used.y == 0.0f) return;
    } else {
        if (canScroll(delta)) {
            used = delta;
        } else if (delta.y != 0.0f && canScroll(CCPoint(0.0f, delta.y))) {
            used = CCPoint(0.0f, delta.y);
        } else if (delta.x != 0.0f && canScroll(CCPoint(delta.x, 0.0f))) {
            used = CCPoint(delta.x, 0.0f);
        } else {
            return;
        }
    }
    moveLayerBy(used);
}

void KVCamera::centreOn(const CCPoint& p) {
    if (m_layer == nullptr) return;
    const CCSize window = windowSize();
    const CCPoint world = m_layer->convertToWorldSpace(p);
    moveLayerBy(CCPoint(window.width * 0.5f - world.x, window.height * 0.5f - world.y));
}

void KVCamera::clampToMap() {
    if (m_layer == nullptr) return;
    const CCSize window = windowSize();
    const CCSize level = layerSize();
    const float scale = m_layer->getScale();
    if (scale <= 0.0f) return;
    const CCPoint c = viewCentre();
    const float x0 = window.width / (2.0f * scale);
    const float y0 = window.height / (2.0f * scale);
    const float x1 = x0 + level.width - window.width / scale;
    const float y1 = y0 + level.height - window.height / scale;
    // How far the area's nearest edge lies from the centre (0 inside); the layer moves the other
    // way, a little past the edge, so that the centre ends inside.
    const float outX = c.x < x0 ? x0 - c.x : (c.x > x1 ? x1 - c.x : 0.0f);
    const float outY = c.y < y0 ? y0 - c.y : (c.y > y1 ? y1 - c.y : 0.0f);
    scrollBy(CCPoint(outX * -scale * 1.01f, outY * -scale * 1.01f));
}

void KVCamera::setZoom(float z) {
    if (m_layer == nullptr) return;
    // (The margin keeps a zoom stepped down to exactly 0.1 above the fit zoom from being refused
    // for float rounding.)
    if (m_viewInside && z < m_fitZoom + 0.1f - 1e-4f) return;
    const float old = m_layer->getScale();
    if (z == old) return;
    const CCSize window = windowSize();
    const CCPoint centre(window.width * 0.5f, window.height * 0.5f);
    const CCPoint pinned = m_layer->convertToNodeSpace(centre);
    m_layer->setScale(z);
    const CCPoint moved = m_layer->convertToWorldSpace(pinned);
    const CCPoint position = m_layer->getPosition();
    m_layer->setPosition(CCPoint(position.x + centre.x - moved.x, position.y + centre.y - moved.y));
    if (KVEnvLayerManager* layers = KVEnvLayerManager::existingInstance()) layers->zoomLayers(z - old);
    if (m_viewInside && !isViewInside()) clampToMap();
}

bool KVCamera::isPlayable() {
    if (m_layer == nullptr || m_layer->getScale() != m_maximumZoom) return false;
    KVPawn* pawn = currentPawn();
    if (pawn == nullptr) return true;
    const CCSize window = windowSize();
    const float hw = window.width * 0.5f / m_maximumZoom;
    const float hh = window.height * 0.5f / m_maximumZoom;
    const CCPoint p = actorPoint(pawn);
    const CCPoint c = viewCentre();
    // A pawn closer than the margin to the map's own edge can never be brought that far inside
    // the screen (the view stops at the map), so on that axis being on screen is enough.
    const bool nearEdgeX = p.x < m_mapLimits.xMin || p.x > m_mapLimits.xMax;
    const bool nearEdgeY = p.y < m_mapLimits.yMin || p.y > m_mapLimits.yMax;
    return std::fabs(p.x - c.x) <= (nearEdgeX ? hw : hw - kEdgeMargin) + 0.01f &&
           std::fabs(p.y - c.y) <= (nearEdgeY ? hh : hh - kEdgeMargin) + 0.01f;
}

// ---- what the camera follows ----------------------------------------------------------------

KVPawn* KVCamera::currentPawn() {
    KVGameModel* model = currentModel();
    return model != nullptr ? model->getCurrentPawn() : nullptr;
}

bool KVCamera::isTurnFrozen() {
    KVGameModel* model = currentModel();
    KVTurnManager* turns = model != nullptr ? model->getTurnManager() : nullptr;
    return turns != nullptr && turns->isFrozen();
}

CCMutableArray<CCObject*>* KVCamera::busyObjects() {
    KVGameModel* model = currentModel();
    KVTurnManager* turns = model != nullptr ? model->getTurnManager() : nullptr;
    return turns != nullptr ? turns->getBusyObjects() : nullptr;
}

// ---- the frame ------------------------------------------------------------------------------

void KVCamera::update(float dt) {
    if (m_layer == nullptr) return;
    // Posting may release the last outside reference (a shutdown observer).
    retain();
    if (m_settleTimer > 0.0f) {
        m_settleTimer -= dt;
        if (m_settleTimer <= 0.0f) {
            m_settleTimer = 0.0f;
            m_busyAnnounced = false;
            post(EVENT_NOTIFY_IDLE);
        }
    }
    if (m_automatic) {
        followStep(dt);
    } else {
        const bool playable = isPlayable();
        if (playable != m_lastPlayable) {
            m_lastPlayable = playable;
            post(playable ? EVENT_CAM_PLAYABLE : EVENT_CAM_UNPLAYABLE);
        }
        if (m_panPending) {
            scrollBy(m_panDelta);
        } else if (m_inertia) {
            const float keep = 1.0f - std::min(1.0f, 9.0f * dt);
            m_panDelta = CCPoint(m_panDelta.x * keep, m_panDelta.y * keep);
            scrollBy(m_panDelta);
            if (std::fabs(m_panDelta.x) < 0.1f && std::fabs(m_panDelta.y) < 0.1f) m_inertia = false;
        } else {
            m_framesSincePan += 1;
            if (m_panEnded && m_framesSincePan <= 1) {
                m_panEnded = false;
                if (std::hypot(m_panDelta.x, m_panDelta.y) > 5.0f) m_inertia = true;
            }
        }
        if (m_zoomPending) setZoom(std::clamp(m_targetZoom, m_minimumZoom, m_maximumZoom));
    }
    m_panPending = false;
    m_zoomPending = false;
    m_viewInside = isViewInside();
    if (KVEnvLayerManager* layers = KVEnvLayerManager::existingInstance()) layers->updateLayers(dt);
    m_viewCentre = viewCentre();
    release();
}

void KVCamera::followStep(float dt) {
    const CCPoint c = viewCentre();
    const float scale = m_layer->getScale();
    const CCSize window = windowSize();
    const float hw = window.width * 0.5f / m_maximumZoom;
    const float hh = window.height * 0.5f / m_maximumZoom;

    KVPawn* pawn = currentPawn();
    CCPoint t = c;
    bool settled = true;
    if (pawn != nullptr && !isTurnFrozen()) {
        t = actorPoint(pawn);
        settled = pawn->isSelected();
    }
    CCMutableArray<CCObject*>* busy = busyObjects();
    bool averaged = false;
    bool someoneOffScreen = false;
    if (!settled && busy != nullptr && busy->count() > 0) {
        CCPoint sum = m_forcedFollow ? CCPoint(0.0f, 0.0f) : t;
        int count = m_forcedFollow ? 0 : 1;
        for (CCObject* object : *busy) {
            if (object == pawn && !m_forcedFollow) continue;
            auto* actor = dynamic_cast<KVActor*>(object);
            if (actor == nullptr || !actor->isCameraTarget()) continue;
            const CCPoint p = actorPoint(actor);
            sum = CCPoint(sum.x + p.x, sum.y + p.y);
            count += 1;
            averaged = true;
            if (!isPointOnScreen(p, 0.75f)) someoneOffScreen = true;
        }
        if (count > 0) t = CCPoint(sum.x / count, sum.y / count);
    }

    CCPoint zone = m_deadZone;
    const float rate = 6.0f * dt;
    const bool hasBusy = busy != nullptr && busy->count() > 0;
    const bool inMap = t.x >= m_mapLimits.xMin && t.x <= m_mapLimits.xMax && t.y >= m_mapLimits.yMin &&
                       t.y <= m_mapLimits.yMax;
    if (hasBusy || inMap) {
        if (t.x < m_mapLimits.xMin || t.x > m_mapLimits.xMax)
            zone.x = 1000.0f;
        else if (t.x < m_innerLimits.xMin || t.x > m_innerLimits.xMax)
            zone.x = hw - kEdgeMargin;
        if (t.y < m_mapLimits.yMin || t.y > m_mapLimits.yMax)
            zone.y = 1000.0f;
        else if (t.y < m_innerLimits.yMin || t.y > m_innerLimits.yMax)
            zone.y = hh - kEdgeMargin;
    }

    CCPoint shift(0.0f, 0.0f);
    bool moved = false;
    if (std::fabs(t.x - c.x) > zone.x + 0.0002f) {
        shift.x = beyondZone(t.x - c.x, zone.x);
        moved = true;
    }
    if (std::fabs(t.y - c.y) > zone.y + 0.0002f) {
        shift.y = beyondZone(t.y - c.y, zone.y);
        moved = true;
    }
    if (m_shaking) {
        shift.x += (CCRandom::next() / float(CCRandom::kMax) * 2.0f - 1.0f) * 100.0f;
        shift.y += (CCRandom::next() / float(CCRandom::kMax) * 2.0f - 1.0f) * 100.0f;
        moved = true;
    }
    if (moved) {
        if (std::hypot(shift.x, shift.y) >= 2.0f) {
            const float part = std::min(1.0f, rate);
            shift = CCPoint(shift.x * part, shift.y * part);
        }
        // Where the view cannot go one way (a map no wider than the window, say), it still goes
        // the other.
        if (canScroll(CCPoint(-shift.x, -shift.y))) {
            centreOn(CCPoint(c.x + shift.x, c.y + shift.y));
        } else if (shift.y != 0.0f && canScroll(CCPoint(0.0f, -shift.y))) {
            centreOn(CCPoint(c.x, c.y + shift.y));
        } else if (shift.x != 0.0f && canScroll(CCPoint(-shift.x, 0.0f))) {
            centreOn(CCPoint(c.x + shift.x, c.y));
        } else if (scale == m_maximumZoom) {
            moved = false;
        }
    }

    const float m = m_maximumZoom;
    if (someoneOffScreen || m_krakenPhase == 1) {
        const float z = std::max(m_fitZoom, scale + (m_fitZoom - scale) * 0.5f * dt);
        if (z != scale) setZoom(z);
    } else if (m_krakenPhase != 2 && !(averaged && m_announceBusy) && scale != m) {
        float z = 0.0f;
        if (scale > m) {
            z = scale + (m - 0.2f - scale) * rate;
            if (z <= m) z = m;
        } else {
            z = scale + (m + 0.2f - scale) * rate;
            if (z >= m) z = m;
        }
        if (z != scale) setZoom(z);
    } else if (!moved && scale == m) {
        // Settled on the target at full zoom.
        if (m_refocusRequested) {
            m_following = false;
            m_refocusRequested = false;
            m_automatic = false;
        }
        return;
    }

    if (!m_announceBusy) return;
    if (!m_busyAnnounced) {
        m_busyAnnounced = true;
        post(EVENT_NOTIFY_IN_ACTION);
    }
    if (someoneOffScreen)
        m_settleTimer = std::max(m_settleTimer, 1.0f);
    else if (!averaged)
        m_settleTimer = std::max(m_settleTimer, 0.01f);
    else
        m_settleTimer = std::max(m_settleTimer, 0.5f);
}

// ---- KVCameraManager --------------------------------------------------------------------------

KVCameraManager::KVCameraManager() {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVCameraManager::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->addObserver(this, notification_selector(KVCameraManager::onSimpleTapOnPawn),
                        EVENT_SIMPLE_TAP_ON_PAWN);
    centre->addObserver(this, notification_selector(KVCameraManager::onPostLoadGame), EVENT_POST_LOAD_GAME);
    centre->addObserver(this, notification_selector(KVCameraManager::onNewActor), EVENT_NEW_ACTOR);
}

void KVCameraManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_scheduled) {
        if (CCScheduler* scheduler = CCScheduler::existingInstance())
            scheduler->unscheduleUpdateForTarget(this);
        m_scheduled = false;
    }
    setCamera(nullptr);
    KVSingletonObject::cleanupBeforeDelete();
}

void KVCameraManager::setCamera(KVCamera* camera) {
    m_camera = camera;
}

void KVCameraManager::onGameShutdown(CCNotification*) {
    setCamera(nullptr);
    m_forcedFollowTimer = 0.0f;
    if (m_scheduled) {
        if (CCScheduler* scheduler = CCScheduler::existingInstance())
            scheduler->unscheduleUpdateForTarget(this);
        m_scheduled = false;
    }
}

void KVCameraManager::onSimpleTapOnPawn(CCNotification* notification) {
    auto* pawn = dynamic_cast<KVPawn*>(notification != nullptr ? notification->getObject() : nullptr);
    KVGameModel* model = currentModel();
    KVTurnManager* turns = model != nullptr ? model->getTurnManager() : nullptr;
    if (pawn == nullptr || turns == nullptr) return;
    if (turns->getCurrentPawn() == pawn && turns->isCurrentPawnActive() && !pawn->isSelected() &&
        turns->isAllIdle())
        CCNotificationCenter::getInstance()->postNotification(EVENT_AUTO_FOCUS_REQUEST);
}

void KVCameraManager::onPostLoadGame(CCNotification*) {
    if (m_scheduled) return;
    CCScheduler::getInstance()->scheduleUpdateForTarget(this, 0, false);
    m_scheduled = true;
}

void KVCameraManager::onNewActor(CCNotification* notification) {
    auto* pawn = dynamic_cast<KVPawn*>(notification != nullptr ? notification->getObject() : nullptr);
    // The level's own enemies are built before play starts; only those brought in later are shown.
    if (pawn == nullptr || !pawn->isEnemy() || !m_scheduled || m_camera == nullptr) return;
    KVGameModel* model = currentModel();
    KVPawn* current = model != nullptr ? model->getCurrentPawn() : nullptr;
    if (current != nullptr && current->isInAction()) return;
    m_camera->setForcedFollow(true);
    m_forcedFollowTimer = kForcedFollowSeconds;
    if (current != nullptr) current->setSelectedFlag(false);
    CCNotificationCenter::getInstance()->postNotification(EVENT_WANTS_AUTOMATIC_MODE_FOLLOW_MOVE);
    pawn->setForcedInAction(true);
}

void KVCameraManager::update(float dt) {
    if (m_forcedFollowTimer <= 0.0f) return;
    m_forcedFollowTimer -= dt;
    if (m_forcedFollowTimer > 0.0f) return;
    m_forcedFollowTimer = 0.0f;
    if (m_camera != nullptr) m_camera->setForcedFollow(false);
    CCNotificationCenter::getInstance()->postNotification(EVENT_DISABLE_FORCE_IN_ACTION, this);
}

bool KVCameraManager::isPawnOnScreen(KVPawn* pawn) {
    if (pawn == nullptr) return false;
    if (m_camera == nullptr) return true;
    return m_camera->isPointOnScreen(actorPoint(pawn), 1.0f);
}

bool KVCameraManager::isLevelPointOnScreen(float x, float y) {
    if (m_camera == nullptr) return true;
    return m_camera->isPointOnScreen(CCPoint(x, y), 1.0f);
}

bool KVCameraManager::isZoomedOutManually() {
    return m_camera != nullptr && m_camera->getLayer() != nullptr && !m_camera->isAutomatic() &&
           m_camera->getLayer()->getScale() != m_camera->getMaximumZoom();
}

bool KVCameraManager::isPlayable() {
    return m_camera != nullptr && m_camera->isPlayable();
}
