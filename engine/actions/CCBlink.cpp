#include "engine/actions/CCBlink.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCBlink* CCBlink::createWithDurationBlinks(float seconds, unsigned int blinks) {
    CCBlink* blink = new CCBlink();
    blink->initWithDurationBlinks(seconds, blinks);
    blink->autorelease();
    return blink;
}

bool CCBlink::initWithDurationBlinks(float seconds, unsigned int blinks) {
    initWithDuration(seconds);
    if (blinks == 0) logDebugMessage("CCBlink: 0 blinks, the node will not blink");
    m_blinks = blinks;
    return true;
}

void CCBlink::update(float t) {
    CCNode* target = getTarget();
    // Zero blinks would make the slice infinite; there is nothing to blink.
    if (target == nullptr || isDone() || m_blinks == 0) return;
    float slice = 1.0f / static_cast<float>(m_blinks);
    float m = std::fmod(t, slice);
    target->setVisible(m > slice / 2.0f);
}

CCFiniteTimeAction* CCBlink::reverse() {
    return createWithDurationBlinks(getDuration(), m_blinks);
}

CCObject* CCBlink::copyInto(CCCopyHolder* holder) {
    CCBlink* copy = detail::copyObjectFor<CCBlink>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithDurationBlinks(getDuration(), m_blinks);
    return copy;
}

} // namespace kvengine
