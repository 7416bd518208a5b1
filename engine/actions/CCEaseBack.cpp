#include "engine/actions/CCEaseBack.h"

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

CCEaseBackIn* CCEaseBackIn::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBackIn>(action);
}

void CCEaseBackIn::update(float t) {
    updateInner(ease::backIn(t));
}

CCFiniteTimeAction* CCEaseBackIn::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseBackOut::createWithAction(inner) : nullptr;
}

CCObject* CCEaseBackIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBackIn, CCActionEase>(this, holder);
}

CCEaseBackOut* CCEaseBackOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBackOut>(action);
}

void CCEaseBackOut::update(float t) {
    updateInner(ease::backOut(t));
}

CCFiniteTimeAction* CCEaseBackOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseBackIn::createWithAction(inner) : nullptr;
}

CCObject* CCEaseBackOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBackOut, CCActionEase>(this, holder);
}

CCEaseBackInOut* CCEaseBackInOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseBackInOut>(action);
}

void CCEaseBackInOut::update(float t) {
    updateInner(ease::backInOut(t));
}

CCObject* CCEaseBackInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseBackInOut, CCActionEase>(this, holder);
}

} // namespace kvengine
