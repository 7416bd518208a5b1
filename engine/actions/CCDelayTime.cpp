#include "engine/actions/CCDelayTime.h"

#include "engine/actions/CCActionCopy.h"

namespace kvengine {

CCDelayTime* CCDelayTime::createWithDuration(float seconds) {
    CCDelayTime* delay = new CCDelayTime();
    delay->initWithDuration(seconds);
    delay->autorelease();
    return delay;
}

void CCDelayTime::update(float /*t*/) {}

CCFiniteTimeAction* CCDelayTime::reverse() {
    return createWithDuration(getDuration());
}

CCObject* CCDelayTime::copyInto(CCCopyHolder* holder) {
    CCDelayTime* copy = detail::copyObjectFor<CCDelayTime>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    return copy;
}

} // namespace kvengine
