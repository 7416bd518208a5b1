#include "engine/director/CCTransitionCrossFade.h"

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCRenderTexture.h"
#include "engine/nodes/CCLayerColor.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"

namespace kvengine {

namespace {

// A window-sized render texture centred on the window, with `scene` drawn into it.
CCRenderTexture* pictureOf(CCScene* scene, const CCSize& size) {
    CCRenderTexture* picture =
        CCRenderTexture::createWithWidthHeight(static_cast<int>(size.width), static_cast<int>(size.height));
    if (picture == nullptr || picture->getSprite() == nullptr) return nullptr;
    const CCPoint centre(size.width / 2, size.height / 2);
    picture->getSprite()->setAnchorPoint(CCPoint(0.5f, 0.5f));
    picture->setPosition(centre);
    picture->setAnchorPoint(CCPoint(0.5f, 0.5f));
    picture->begin();
    if (scene != nullptr) scene->visit();
    picture->end();
    return picture;
}

ccBlendFunc blend(uint32_t src, uint32_t dst) {
    ccBlendFunc pair;
    pair.src = src;
    pair.dst = dst;
    return pair;
}

} // namespace

CCTransitionCrossFade* CCTransitionCrossFade::create(float seconds, CCScene* incoming) {
    return detail::createTransition<CCTransitionCrossFade>(seconds, incoming);
}

void CCTransitionCrossFade::onEnter() {
    CCTransitionScene::onEnter();
    CCSize size = CCDirector::getInstance()->getWinSize();
    CCLayerColor* layer = CCLayerColor::createCoveringWindow(ccColor4B());
    CCRenderTexture* inPicture = pictureOf(m_inScene, size);
    CCRenderTexture* outPicture = pictureOf(m_outScene, size);
    CCCallFunc* swap =
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::hideOutShowIn));
    CCCallFunc* done =
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::finish));
    if (layer == nullptr || inPicture == nullptr || outPicture == nullptr) {
        // Without the pictures the scenes are drawn as usual; the transition must still end.
        logDebugMessage("CCTransitionCrossFade: render textures unavailable, scenes drawn directly");
        m_drawScenes = true;
        runAction(
            CCSequence::createWithActions(CCDelayTime::createWithDuration(m_duration), swap, done, nullptr));
        return;
    }
    m_drawScenes = false;
    CCSprite* inSprite = inPicture->getSprite();
    CCSprite* outSprite = outPicture->getSprite();
    inSprite->setBlendFunc(blend(GL_ONE, GL_ONE));
    outSprite->setBlendFunc(blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA));
    inSprite->setOpacity(255);
    outSprite->setOpacity(255);
    layer->addChild(inPicture);
    layer->addChild(outPicture);
    outSprite->runAction(CCSequence::createWithActions(CCFadeTo::createWithDurationOpacity(m_duration, 0),
                                                       swap, done, nullptr));
    addChildAtZWithTag(layer, 2, kSceneFadeTag);
}

void CCTransitionCrossFade::onExit() {
    removeChildByTag(kSceneFadeTag, false);
    CCTransitionScene::onExit();
}

void CCTransitionCrossFade::draw() {
    if (m_drawScenes) CCTransitionScene::draw();
}

} // namespace kvengine
