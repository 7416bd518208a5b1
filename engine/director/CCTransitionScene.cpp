#include "engine/director/CCTransitionScene.h"

#include "engine/base/CCLog.h"
#include "engine/director/CCCamera.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouchDispatcher.h"

namespace kvengine {

namespace {

void setTouchDispatch(bool on) {
    CCTouchDispatcher::getInstance()->setDispatchEvents(on);
}

// Back to the default placement: visible or not, at the origin, unscaled, unrotated, camera reset.
void resetScene(CCScene* scene, bool visible) {
    if (scene == nullptr) return;
    scene->setVisible(visible);
    scene->setPosition(CCPoint(0, 0));
    scene->setScale(1.0f);
    scene->setRotation(0.0f);
    scene->getCamera()->restore();
}

} // namespace

CCTransitionScene::~CCTransitionScene() {
    if (m_inScene != nullptr) m_inScene->release();
    if (m_outScene != nullptr) m_outScene->release();
}

bool CCTransitionScene::initWithDuration(float seconds, CCScene* incoming) {
    if (incoming == nullptr) {
        logDebugMessage("CCTransitionScene: no incoming scene");
        return false;
    }
    CCScene* running = CCDirector::getInstance()->getRunningScene();
    if (incoming == running) {
        logDebugMessage("CCTransitionScene: the incoming scene is already running");
        return false;
    }
    if (!CCScene::init()) return false;
    m_duration = seconds;
    incoming->retain();
    if (m_inScene != nullptr) m_inScene->release();
    m_inScene = incoming;
    if (running != nullptr) running->retain();
    if (m_outScene != nullptr) m_outScene->release();
    m_outScene = running;
    m_sceneKind = kTransition;
    setSceneOrder();
    return true;
}

void CCTransitionScene::setSceneOrder() {
    m_isInSceneOnTop = true;
}

void CCTransitionScene::onEnter() {
    CCScene::onEnter();
    // Off here rather than when the transition is made: one that is never run must not leave
    // input switched off for good.
    setTouchDispatch(false);
    if (m_inScene != nullptr) m_inScene->onEnter();
}

void CCTransitionScene::onExit() {
    CCScene::onExit();
    if (m_outScene != nullptr) m_outScene->onExit();
    if (m_inScene != nullptr) m_inScene->onEnterTransitionDidFinish();
    setTouchDispatch(true);
}

void CCTransitionScene::cleanup() {
    CCScene::cleanup();
    if (m_isSendCleanupToScene && m_outScene != nullptr) m_outScene->cleanup();
}

void CCTransitionScene::draw() {
    CCScene* first = m_isInSceneOnTop ? m_outScene : m_inScene;
    CCScene* second = m_isInSceneOnTop ? m_inScene : m_outScene;
    if (first != nullptr) first->visit();
    if (second != nullptr) second->visit();
}

void CCTransitionScene::finish() {
    resetScene(m_inScene, true);
    resetScene(m_outScene, false);
    // Hand over at the next tick, not inside the action that called finish.
    schedule(schedule_selector(CCTransitionScene::setNewScene), 0.0f);
}

void CCTransitionScene::hideOutShowIn() {
    if (m_inScene != nullptr) m_inScene->setVisible(true);
    if (m_outScene != nullptr) m_outScene->setVisible(false);
}

void CCTransitionScene::setNewScene(float /*dt*/) {
    unschedule(schedule_selector(CCTransitionScene::setNewScene));
    CCDirector* director = CCDirector::getInstance();
    m_isSendCleanupToScene = director->isSendCleanupToScene();
    if (m_inScene != nullptr) director->replaceScene(m_inScene);
    setTouchDispatch(true);
    if (m_outScene != nullptr) m_outScene->setVisible(true);
}

bool CCTransitionSceneOriented::initWithDurationAndOrientation(float seconds, CCScene* incoming,
                                                               int orientation) {
    if (!CCTransitionScene::initWithDuration(seconds, incoming)) return false;
    m_orientation = orientation;
    return true;
}

} // namespace kvengine
