#include "engine/director/CCTransitionRotateZoom.h"

#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCJumpBy.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/director/CCDirector.h"

namespace kvengine {

namespace {

CCCallFunc* finishCall(CCTransitionScene* transition) {
    return CCCallFunc::createWithTargetSelector(transition, callfunc_selector(CCTransitionScene::finish));
}

// Runs the outgoing scene's part when there is an outgoing scene.
void runOnOut(CCScene* out, CCAction* action) {
    if (out != nullptr) out->runAction(action);
}

} // namespace

CCTransitionRotateZoom* CCTransitionRotateZoom::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionRotateZoom>(seconds, incoming);
}

void CCTransitionRotateZoom::onEnter() {
    CCTransitionScene::onEnter();
    m_inScene->setScale(0.001f);
    m_inScene->setAnchorPoint(CCPoint(0.5f, 0.5f));
    if (m_outScene != nullptr) {
        m_outScene->setScale(1.0f);
        m_outScene->setAnchorPoint(CCPoint(0.5f, 0.5f));
    }
    float half = m_duration / 2;
    CCFiniteTimeAction* rotoZoom = CCSequence::createWithTwoActions(
        CCSpawn::createWithTwoActions(CCScaleBy::createWithDurationScale(half, 0.001f),
                                      CCRotateBy::createWithDurationAngle(half, 720.0f)),
        CCDelayTime::createWithDuration(half));
    runOnOut(m_outScene, rotoZoom);
    m_inScene->runAction(CCSequence::createWithTwoActions(rotoZoom->reverse(), finishCall(this)));
}

CCTransitionJumpZoom* CCTransitionJumpZoom::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionJumpZoom>(seconds, incoming);
}

void CCTransitionJumpZoom::onEnter() {
    CCTransitionScene::onEnter();
    CCSize size = CCDirector::getInstance()->getWinSize();
    m_inScene->setScale(0.5f);
    m_inScene->setPosition(CCPoint(size.width, 0));
    m_inScene->setAnchorPoint(CCPoint(0.5f, 0.5f));
    if (m_outScene != nullptr) m_outScene->setAnchorPoint(CCPoint(0.5f, 0.5f));

    float quarter = m_duration / 4;
    CCJumpBy* jump =
        CCJumpBy::createWithDurationHeightJumps(quarter, size.width / 4, 2, CCPoint(-size.width, 0));
    // Each scene gets its own jump: one action object must not run on two nodes.
    CCJumpBy* jumpIn = static_cast<CCJumpBy*>(jump->copy()->autorelease());
    runOnOut(m_outScene,
             CCSequence::createWithTwoActions(CCScaleTo::createWithDurationScale(quarter, 0.5f), jump));
    m_inScene->runAction(CCSequence::createWithActions(
        CCDelayTime::createWithDuration(m_duration / 2), jumpIn,
        CCScaleTo::createWithDurationScale(quarter, 1.0f), finishCall(this), nullptr));
}

CCTransitionShrinkGrow* CCTransitionShrinkGrow::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionShrinkGrow>(seconds, incoming);
}

void CCTransitionShrinkGrow::onEnter() {
    CCTransitionScene::onEnter();
    m_inScene->setScale(0.001f);
    m_inScene->setAnchorPoint(CCPoint(2.0f / 3.0f, 0.5f));
    m_inScene->runAction(easeActionWithAction(CCScaleTo::createWithDurationScale(m_duration, 1.0f)));
    CCFiniteTimeAction* shrink = CCSequence::createWithTwoActions(
        easeActionWithAction(CCScaleTo::createWithDurationScale(m_duration, 0.01f)), finishCall(this));
    if (m_outScene != nullptr) {
        m_outScene->setScale(1.0f);
        m_outScene->setAnchorPoint(CCPoint(1.0f / 3.0f, 0.5f));
        m_outScene->runAction(shrink);
    } else {
        runAction(shrink); // nothing to shrink, but the transition still has to end
    }
}

CCActionInterval* CCTransitionShrinkGrow::easeActionWithAction(CCActionInterval* action) {
    return CCEaseOut::createWithActionRate(action, 2.0f);
}

} // namespace kvengine
