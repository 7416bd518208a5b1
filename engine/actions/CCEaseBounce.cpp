#include "engine/actions/CCEaseBounce.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCEaseCurves.h"

namespace kvengine {

namespace {

template <class T> T* makeEase(CCActionInterval* action) {
    T* ease = new T();
    if (!ease->initWithAction(action)) {
        ease->release();
        return nullptr;
    }
    ease->autorelease();
    return ease;
}

} // namespace

CCObject* CCEaseBounce::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBounce, CCActionEase>(this, holder);
}

CCEaseBounceIn* CCEaseBounceIn::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBounceIn>(action);
}

void CCEaseBounceIn::update(float t) {
    updateInner(ease::bounceIn(t));
}

CCFiniteTimeAction* CCEaseBounceIn::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseBounceOut::createWithAction(inner) : nullptr;
}

CCObject* CCEaseBounceIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBounceIn, CCEaseBounce>(this, holder);
}

CCEaseBounceOut* CCEaseBounceOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBounceOut>(action);
}

void CCEaseBounceOut::update(float t) {
    updateInner(ease::bounceOut(t));
}

CCFiniteTimeAction* CCEaseBounceOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseBounceIn::createWithAction(inner) : nullptr;
}

CCObject* CCEaseBounceOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBounceOut, CCEaseBounce>(this, holder);
}

CCEaseBounceInOut* CCEaseBounceInOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBounceInOut>(action);
}

void CCEaseBounceInOut::update(float t) {
    updateInner(ease::bounceInOut(t));
}

CCObject* CCEaseBounceInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBounceInOut, CCEaseBounce>(this, holder);
}

} // namespace kvengine
