#include "engine/director/CCTransitionFlip.h"

#include "engine/actions/CCActionCamera.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"

namespace kvengine {

void CCTransitionFlipBase::onEnter() {
    CCTransitionScene::onEnter();
    float half = m_duration / 2;
    bool first = m_orientation == firstDirection();
    float inAngleZ = first ? 270.0f : 90.0f;
    float deltaZ = first ? 90.0f : -90.0f;

    m_inScene->setVisible(false);
    if (zooms()) m_inScene->setScale(0.5f);
    CCFiniteTimeAction* inOrbit =
        CCOrbitCamera::createWithDurationRadiusAngles(half, 1, 0, inAngleZ, deltaZ, inAngleX(), 0);
    CCFiniteTimeAction* outOrbit =
        CCOrbitCamera::createWithDurationRadiusAngles(half, 1, 0, 0, deltaZ, outAngleX(), 0);
    if (zooms()) {
        inOrbit = CCSpawn::createWithActions(inOrbit, CCScaleTo::createWithDurationScale(half, 1.0f),
                                             CCShow::create(), nullptr);
        outOrbit = CCSpawn::createWithTwoActions(outOrbit, CCScaleTo::createWithDurationScale(half, 0.5f));
    }
    CCFiniteTimeAction* inSteps[] = {
        CCDelayTime::createWithDuration(half),
        CCShow::create(),
        inOrbit,
        CCCallFunc::createWithTargetSelector(this, callfunc_selector(CCTransitionScene::finish)),
    };
    m_inScene->runAction(CCSequence::createWithActionList(inSteps, 4));
    if (m_outScene != nullptr) {
        m_outScene->runAction(CCSequence::createWithActions(outOrbit, CCHide::create(),
                                                            CCDelayTime::createWithDuration(half), nullptr));
    }
}

#define KV_DEFINE_FLIP(Name)                                                                                 \
    Name* Name::create(float seconds, CCScene* incoming, int orientation) {                                  \
        Name* transition = new Name();                                                                       \
        if (!transition->initWithDurationAndOrientation(seconds, incoming, orientation)) {                   \
            transition->release();                                                                           \
            return nullptr;                                                                                  \
        }                                                                                                    \
        transition->autorelease();                                                                           \
        return transition;                                                                                   \
    }

KV_DEFINE_FLIP(CCTransitionFlipX)
KV_DEFINE_FLIP(CCTransitionFlipY)
KV_DEFINE_FLIP(CCTransitionFlipAngular)
KV_DEFINE_FLIP(CCTransitionZoomFlipX)
KV_DEFINE_FLIP(CCTransitionZoomFlipY)
KV_DEFINE_FLIP(CCTransitionZoomFlipAngular)

#undef KV_DEFINE_FLIP

} // namespace kvengine
