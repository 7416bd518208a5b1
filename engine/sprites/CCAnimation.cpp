#include "engine/sprites/CCAnimation.h"

#include "engine/base/CCLog.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"

#include <cstdio>

namespace kvengine {

CCAnimation* CCAnimation::create() {
    return createWithFramesDelay(nullptr, 0.0f);
}

CCAnimation* CCAnimation::createWithFramesDelay(CCMutableArray<CCSpriteFrame*>* frames, float delay) {
    auto* animation = new CCAnimation();
    animation->initWithFrames(frames, delay);
    animation->autorelease();
    return animation;
}

CCAnimation* CCAnimation::createWithFrameNamePattern(const char* pattern, int first, int last, float delay) {
    CCAnimation* animation = create();
    animation->setDelay(delay);
    if (!pattern) {
        logDebugMessage("CCAnimation: no frame-name pattern");
        return animation;
    }
    for (int i = first; i <= last; ++i) {
        char name[256];
        std::snprintf(name, sizeof name, pattern, i);
        animation->addFrameWithName(name);
    }
    return animation;
}

CCAnimation::CCAnimation() : m_frames(new CCMutableArray<CCSpriteFrame*>()) {}

CCAnimation::~CCAnimation() {
    m_frames->release();
}

bool CCAnimation::initWithFrames(CCMutableArray<CCSpriteFrame*>* frames, float delay) {
    m_delay = delay;
    auto* copy = new CCMutableArray<CCSpriteFrame*>();
    if (frames)
        for (unsigned i = 0; i < frames->count(); ++i)
            copy->addObject(frames->objectAtIndex(i));
    m_frames->release();
    m_frames = copy;
    return true;
}

void CCAnimation::addFrame(CCSpriteFrame* frame) {
    if (!frame) {
        logDebugMessage("CCAnimation::addFrame: null frame ignored");
        return;
    }
    m_frames->addObject(frame);
}

bool CCAnimation::addFrameWithName(const char* name) {
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name);
    if (!frame) return false;
    m_frames->addObject(frame);
    return true;
}

} // namespace kvengine
