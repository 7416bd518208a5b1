#include "engine/director/CCTransitionTiles.h"

#include "engine/actions/CCActionEase.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCSequence.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCGridAction.h"
#include "engine/effects/CCTileActions.h"

namespace kvengine {

namespace {

// Square-ish tiles: 12 rows, as many columns as the window's aspect gives.
ccGridSize tileGrid() {
    CCSize size = CCDirector::getInstance()->getWinSize();
    ccGridSize grid;
    grid.x = size.height > 0.0f ? static_cast<int>(12.0f * size.width / size.height) : 12;
    grid.y = 12;
    return grid;
}

CCCallFunc* finishCall(CCTransitionScene* transition) {
    return CCCallFunc::createWithTargetSelector(transition, callfunc_selector(CCTransitionScene::finish));
}

// The outgoing scene plays the tile effect, then the hand-over is asked for and its grid stopped.
// Without an outgoing scene the transition itself carries the sequence, so it still ends.
void runTileEffect(CCTransitionScene* transition, CCActionInterval* effect) {
    CCNode* carrier = transition->getOutScene() != nullptr ? static_cast<CCNode*>(transition->getOutScene())
                                                           : static_cast<CCNode*>(transition);
    carrier->runAction(
        CCSequence::createWithActions(effect, finishCall(transition), CCStopGrid::create(), nullptr));
}

} // namespace

CCTransitionTurnOffTiles* CCTransitionTurnOffTiles::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionTurnOffTiles>(seconds, incoming);
}

void CCTransitionTurnOffTiles::setSceneOrder() {
    m_isInSceneOnTop = false;
}

void CCTransitionTurnOffTiles::onEnter() {
    CCTransitionScene::onEnter();
    runTileEffect(this, easeActionWithAction(CCTurnOffTiles::createWithSizeDuration(tileGrid(), m_duration)));
}

CCActionInterval* CCTransitionTurnOffTiles::easeActionWithAction(CCActionInterval* action) {
    return action;
}

CCTransitionSplitCols* CCTransitionSplitCols::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSplitCols>(seconds, incoming);
}

void CCTransitionSplitCols::onEnter() {
    CCTransitionScene::onEnter();
    m_inScene->setVisible(false);
    CCActionInterval* split = action();
    CCSequence* outAndIn = CCSequence::createWithTwoActions(
        CCSequence::createWithTwoActions(
            split,
            CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::hideOutShowIn))),
        split->reverse());
    runAction(CCSequence::createWithActions(easeActionWithAction(outAndIn), finishCall(this),
                                            CCStopGrid::create(), nullptr));
}

CCActionInterval* CCTransitionSplitCols::easeActionWithAction(CCActionInterval* action) {
    return CCEaseInOut::createWithActionRate(action, 3.0f);
}

CCActionInterval* CCTransitionSplitCols::action() {
    return CCSplitCols::createWithColumnsDuration(3, m_duration / 2);
}

CCTransitionSplitRows* CCTransitionSplitRows::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionSplitRows>(seconds, incoming);
}

CCActionInterval* CCTransitionSplitRows::action() {
    return CCSplitRows::createWithRowsDuration(3, m_duration / 2);
}

CCTransitionFadeTR* CCTransitionFadeTR::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionFadeTR>(seconds, incoming);
}

void CCTransitionFadeTR::setSceneOrder() {
    m_isInSceneOnTop = false;
}

void CCTransitionFadeTR::onEnter() {
    CCTransitionScene::onEnter();
    runTileEffect(this, easeActionWithAction(actionWithSize(tileGrid())));
}

CCActionInterval* CCTransitionFadeTR::easeActionWithAction(CCActionInterval* action) {
    return action;
}

CCActionInterval* CCTransitionFadeTR::actionWithSize(const ccGridSize& size) {
    return CCFadeOutTRTiles::createWithSizeDuration(size, m_duration);
}

CCTransitionFadeBL* CCTransitionFadeBL::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionFadeBL>(seconds, incoming);
}

CCActionInterval* CCTransitionFadeBL::actionWithSize(const ccGridSize& size) {
    return CCFadeOutBLTiles::createWithSizeDuration(size, m_duration);
}

CCTransitionFadeUp* CCTransitionFadeUp::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionFadeUp>(seconds, incoming);
}

CCActionInterval* CCTransitionFadeUp::actionWithSize(const ccGridSize& size) {
    return CCFadeOutUpTiles::createWithSizeDuration(size, m_duration);
}

CCTransitionFadeDown* CCTransitionFadeDown::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionFadeDown>(seconds, incoming);
}

CCActionInterval* CCTransitionFadeDown::actionWithSize(const ccGridSize& size) {
    return CCFadeOutDownTiles::createWithSizeDuration(size, m_duration);
}

} // namespace kvengine
