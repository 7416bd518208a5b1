#include "engine/director/CCTransitionFade.h"

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/nodes/CCLayerColor.h"

namespace kvengine {

CCTransitionFade* CCTransitionFade::create(float seconds, CCScene* incoming, const ccColor3B& colour) {
    CCTransitionFade* fade = new CCTransitionFade();
    if (!fade->initWithDurationAndColor(seconds, incoming, colour)) {
        fade->release();
        return nullptr;
    }
    fade->autorelease();
    return fade;
}

CCTransitionFade* CCTransitionFade::create(float seconds, CCScene* incoming) {
    return create(seconds, incoming, ccColor3B());
}

bool CCTransitionFade::initWithDuration(float seconds, CCScene* incoming) {
    return initWithDurationAndColor(seconds, incoming, ccColor3B());
}

bool CCTransitionFade::initWithDurationAndColor(float seconds, CCScene* incoming, const ccColor3B& colour) {
    if (!CCTransitionScene::initWithDuration(seconds, incoming)) return false;
    m_colour.r = colour.r;
    m_colour.g = colour.g;
    m_colour.b = colour.b;
    m_colour.a = 0;
    return true;
}

void CCTransitionFade::onEnter() {
    CCTransitionScene::onEnter();
    CCLayerColor* layer = CCLayerColor::createCoveringWindow(m_colour);
    if (m_inScene != nullptr) m_inScene->setVisible(false);
    if (layer != nullptr) addChildAtZWithTag(layer, 2, kSceneFadeTag);

    CCNode* curtain = getChildByTag(kSceneFadeTag);
    CCFiniteTimeAction* fadeAndSwap = CCSequence::createWithActions(
        CCFadeIn::createWithDuration(m_duration / 2),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::hideOutShowIn)),
        CCFadeOut::createWithDuration(m_duration / 2),
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::finish)), nullptr);
    // Without a curtain the fade still has to end, so the actions run on the transition itself.
    (curtain != nullptr ? curtain : this)->runAction(fadeAndSwap);
}

void CCTransitionFade::onExit() {
    CCTransitionScene::onExit();
    removeChildByTag(kSceneFadeTag, false);
}

} // namespace kvengine
