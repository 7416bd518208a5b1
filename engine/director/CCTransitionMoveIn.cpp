#include "engine/director/CCTransitionMoveIn.h"

#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCMoveTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/director/CCDirector.h"

namespace kvengine {

namespace {

CCSize winSize() {
    return CCDirector::getInstance()->getWinSize();
}

// The slides stop half a point short of the window edge, so the two scenes overlap by that much
// and no seam shows between them.
constexpr float kSlideOverlap = 0.5f;

} // namespace

CCTransitionMoveInL* CCTransitionMoveInL::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionMoveInL>(seconds, incoming);
}

void CCTransitionMoveInL::onEnter() {
    CCTransitionScene::onEnter();
    initScenes();
    CCActionInterval* move = CCMoveTo::createWithDurationPosition(m_duration, CCPoint(0, 0));
    m_inScene->runAction(CCSequence::createWithTwoActions(
        easeActionWithAction(move),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::finish))));
}

CCActionInterval* CCTransitionMoveInL::easeActionWithAction(CCActionInterval* action) {
    return CCEaseOut::createWithActionRate(action, 2.0f);
}

void CCTransitionMoveInL::initScenes() {
    m_inScene->setPosition(CCPoint(-winSize().width, 0));
}

CCTransitionMoveInR* CCTransitionMoveInR::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionMoveInR>(seconds, incoming);
}

void CCTransitionMoveInR::initScenes() {
    m_inScene->setPosition(CCPoint(winSize().width, 0));
}

CCTransitionMoveInT* CCTransitionMoveInT::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionMoveInT>(seconds, incoming);
}

void CCTransitionMoveInT::initScenes() {
    m_inScene->setPosition(CCPoint(0, winSize().height));
}

CCTransitionMoveInB* CCTransitionMoveInB::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionMoveInB>(seconds, incoming);
}

void CCTransitionMoveInB::initScenes() {
    m_inScene->setPosition(CCPoint(0, -winSize().height));
}

CCTransitionSlideInL* CCTransitionSlideInL::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSlideInL>(seconds, incoming);
}

void CCTransitionSlideInL::onEnter() {
    CCTransitionScene::onEnter();
    initScenes();
    m_inScene->runAction(easeActionWithAction(action()));
    CCActionInterval* outMove = easeActionWithAction(action());
    CCCallFunc* done =
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::finish));
    // Without an outgoing scene the incoming one carries the call to finish.
    (m_outScene != nullptr ? static_cast<CCNode*>(m_outScene) : m_inScene)
        ->runAction(CCSequence::createWithTwoActions(outMove, done));
}

CCActionInterval* CCTransitionSlideInL::easeActionWithAction(CCActionInterval* action) {
    return CCEaseOut::createWithActionRate(action, 2.0f);
}

void CCTransitionSlideInL::initScenes() {
    m_inScene->setPosition(CCPoint(-(winSize().width - kSlideOverlap), 0));
}

CCActionInterval* CCTransitionSlideInL::action() {
    return CCMoveBy::createWithDurationPosition(m_duration, CCPoint(winSize().width - kSlideOverlap, 0));
}

CCTransitionSlideInR* CCTransitionSlideInR::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSlideInR>(seconds, incoming);
}

void CCTransitionSlideInR::initScenes() {
    m_inScene->setPosition(CCPoint(winSize().width - kSlideOverlap, 0));
}

CCActionInterval* CCTransitionSlideInR::action() {
    return CCMoveBy::createWithDurationPosition(m_duration, CCPoint(-(winSize().width - kSlideOverlap), 0));
}

CCTransitionSlideInT* CCTransitionSlideInT::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSlideInT>(seconds, incoming);
}

void CCTransitionSlideInT::initScenes() {
    m_inScene->setPosition(CCPoint(0, winSize().height - kSlideOverlap));
}

CCActionInterval* CCTransitionSlideInT::action() {
    return CCMoveBy::createWithDurationPosition(m_duration, CCPoint(0, -(winSize().height - kSlideOverlap)));
}

CCTransitionSlideInB* CCTransitionSlideInB::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSlideInB>(seconds, incoming);
}

void CCTransitionSlideInB::initScenes() {
    m_inScene->setPosition(CCPoint(0, -(winSize().height - kSlideOverlap)));
}

CCActionInterval* CCTransitionSlideInB::action() {
    return CCMoveBy::createWithDurationPosition(m_duration, CCPoint(0, winSize().height - kSlideOverlap));
}

} // namespace kvengine
