#include "engine/actions/CCActionEase.h"

#include <cmath>

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCEaseCurves.h"
#include "engine/base/CCLog.h"

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

template <class T> T* makeRateEase(CCActionInterval* action, float rate) {
    T* ease = new T();
    if (!ease->initWithActionRate(action, rate)) {
        ease->release();
        return nullptr;
    }
    ease->autorelease();
    return ease;
}

} // namespace

CCActionEase::~CCActionEase() {
    if (m_inner != nullptr) m_inner->release();
}

CCActionEase* CCActionEase::createWithAction(CCActionInterval* action) {
    return makeEase<CCActionEase>(action);
}

bool CCActionEase::initWithAction(CCActionInterval* action) {
    if (action == nullptr) {
        logDebugMessage("CCActionEase: no action to ease");
        return false;
    }
    initWithDuration(action->getDuration());
    action->retain();
    if (m_inner != nullptr) m_inner->release();
    m_inner = action;
    return true;
}

void CCActionEase::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_inner != nullptr) m_inner->startWithTarget(target);
}

void CCActionEase::stop() {
    if (m_inner != nullptr) m_inner->stop();
    CCActionInterval::stop();
}

void CCActionEase::update(float t) {
    updateInner(t);
}

void CCActionEase::updateInner(float t) {
    if (m_inner != nullptr) m_inner->update(t);
}

CCActionInterval* CCActionEase::innerReverse() const {
    if (m_inner == nullptr) return nullptr;
    CCActionInterval* reversed = dynamic_cast<CCActionInterval*>(m_inner->reverse());
    if (reversed == nullptr) logDebugMessage("CCActionEase: the eased action has no reverse");
    return reversed;
}

CCFiniteTimeAction* CCActionEase::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? createWithAction(inner) : nullptr;
}

CCObject* CCActionEase::copyInto(CCCopyHolder* holder) {
    CCActionEase* copy = detail::copyObjectFor<CCActionEase>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (m_inner != nullptr)
        copy->initWithAction(static_cast<CCActionInterval*>(m_inner->copy()->autorelease()));
    return copy;
}

// Rate eases.

CCEaseRateAction* CCEaseRateAction::createWithActionRate(CCActionInterval* action, float rate) {
    return makeRateEase<CCEaseRateAction>(action, rate);
}

bool CCEaseRateAction::initWithActionRate(CCActionInterval* action, float rate) {
    if (!initWithAction(action)) return false;
    m_rate = rate;
    return true;
}

CCFiniteTimeAction* CCEaseRateAction::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseRateAction::createWithActionRate(inner, 1.0f / m_rate) : nullptr;
}

CCObject* CCEaseRateAction::copyInto(CCCopyHolder* holder) {
    CCEaseRateAction* copy = detail::copyObjectFor<CCEaseRateAction>(holder);
    CCCopyHolder inner{copy};
    CCActionEase::copyInto(&inner);
    copy->m_rate = m_rate;
    return copy;
}

CCEaseIn* CCEaseIn::createWithActionRate(CCActionInterval* action, float rate) {
    return makeRateEase<CCEaseIn>(action, rate);
}

void CCEaseIn::update(float t) {
    updateInner(ease::rateIn(t, m_rate));
}

CCObject* CCEaseIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseIn, CCEaseRateAction>(this, holder);
}

CCEaseOut* CCEaseOut::createWithActionRate(CCActionInterval* action, float rate) {
    return makeRateEase<CCEaseOut>(action, rate);
}

void CCEaseOut::update(float t) {
    updateInner(ease::rateOut(t, m_rate));
}

CCObject* CCEaseOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseOut, CCEaseRateAction>(this, holder);
}

CCEaseInOut* CCEaseInOut::createWithActionRate(CCActionInterval* action, float rate) {
    if (std::trunc(rate) != rate)
        logDebugMessage("CCEaseInOut: rate %f is not a whole number", static_cast<double>(rate));
    return makeRateEase<CCEaseInOut>(action, rate);
}

void CCEaseInOut::update(float t) {
    updateInner(ease::rateInOut(t, m_rate));
}

CCFiniteTimeAction* CCEaseInOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? makeRateEase<CCEaseInOut>(inner, m_rate) : nullptr;
}

CCObject* CCEaseInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseInOut, CCEaseRateAction>(this, holder);
}

// Exponential eases.

CCEaseExponentialIn* CCEaseExponentialIn::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseExponentialIn>(action);
}

void CCEaseExponentialIn::update(float t) {
    updateInner(ease::exponentialIn(t));
}

CCFiniteTimeAction* CCEaseExponentialIn::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseExponentialOut::createWithAction(inner) : nullptr;
}

CCObject* CCEaseExponentialIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseExponentialIn, CCActionEase>(this, holder);
}

CCEaseExponentialOut* CCEaseExponentialOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseExponentialOut>(action);
}

void CCEaseExponentialOut::update(float t) {
    updateInner(ease::exponentialOut(t));
}

CCFiniteTimeAction* CCEaseExponentialOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseExponentialIn::createWithAction(inner) : nullptr;
}

CCObject* CCEaseExponentialOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseExponentialOut, CCActionEase>(this, holder);
}

CCEaseExponentialInOut* CCEaseExponentialInOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseExponentialInOut>(action);
}

void CCEaseExponentialInOut::update(float t) {
    updateInner(ease::exponentialInOut(t));
}

CCObject* CCEaseExponentialInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseExponentialInOut, CCActionEase>(this, holder);
}

// Sine eases.

CCEaseSineIn* CCEaseSineIn::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseSineIn>(action);
}

void CCEaseSineIn::update(float t) {
    updateInner(ease::sineIn(t));
}

CCFiniteTimeAction* CCEaseSineIn::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseSineOut::createWithAction(inner) : nullptr;
}

CCObject* CCEaseSineIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseSineIn, CCActionEase>(this, holder);
}

CCEaseSineOut* CCEaseSineOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseSineOut>(action);
}

void CCEaseSineOut::update(float t) {
    updateInner(ease::sineOut(t));
}

CCFiniteTimeAction* CCEaseSineOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseSineIn::createWithAction(inner) : nullptr;
}

CCObject* CCEaseSineOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseSineOut, CCActionEase>(this, holder);
}

CCEaseSineInOut* CCEaseSineInOut::createWithAction(CCActionInterval* action) {
    return makeEase<CCEaseSineInOut>(action);
}

void CCEaseSineInOut::update(float t) {
    updateInner(ease::sineInOut(t));
}

CCObject* CCEaseSineInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseSineInOut, CCActionEase>(this, holder);
}

} // namespace kvengine
