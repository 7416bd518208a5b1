#include "engine/actions/CCEaseElastic.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCEaseCurves.h"
#include "engine/base/CCLog.h"

namespace kvengine {

namespace {

template <class T> T* makeElastic(CCActionInterval* action, float period) {
    T* ease = new T();
    if (!ease->initWithActionPeriod(action, period)) {
        ease->release();
        return nullptr;
    }
    ease->autorelease();
    return ease;
}

// The in and out curves divide by their period; give them the usual one instead of 0.
float usablePeriod(float period) {
    if (ease::isUsableElasticPeriod(period)) return period;
    logDebugMessage("CCEaseElastic: period %f cannot be used, using %f", static_cast<double>(period),
                    static_cast<double>(ease::kElasticDefaultPeriod));
    return ease::kElasticDefaultPeriod;
}

} // namespace

bool CCEaseElastic::initWithActionPeriod(CCActionInterval* action, float period) {
    if (!initWithAction(action)) return false;
    m_period = period;
    return true;
}

CCFiniteTimeAction* CCEaseElastic::reverse() {
    return nullptr;
}

CCObject* CCEaseElastic::copyInto(CCCopyHolder* holder) {
    CCEaseElastic* copy = detail::copyObjectFor<CCEaseElastic>(holder);
    CCCopyHolder inner{copy};
    CCActionEase::copyInto(&inner);
    copy->m_period = m_period;
    return copy;
}

CCEaseElasticIn* CCEaseElasticIn::createWithActionPeriod(CCActionInterval* action, float period) {
    return makeElastic<CCEaseElasticIn>(action, period);
}

bool CCEaseElasticIn::initWithActionPeriod(CCActionInterval* action, float period) {
    return CCEaseElastic::initWithActionPeriod(action, usablePeriod(period));
}

void CCEaseElasticIn::update(float t) {
    updateInner(ease::elasticIn(t, m_period));
}

CCFiniteTimeAction* CCEaseElasticIn::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseElasticOut::createWithActionPeriod(inner, m_period) : nullptr;
}

CCObject* CCEaseElasticIn::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseElasticIn, CCEaseElastic>(this, holder);
}

CCEaseElasticOut* CCEaseElasticOut::createWithActionPeriod(CCActionInterval* action, float period) {
    return makeElastic<CCEaseElasticOut>(action, period);
}

bool CCEaseElasticOut::initWithActionPeriod(CCActionInterval* action, float period) {
    return CCEaseElastic::initWithActionPeriod(action, usablePeriod(period));
}

void CCEaseElasticOut::update(float t) {
    updateInner(ease::elasticOut(t, m_period));
}

CCFiniteTimeAction* CCEaseElasticOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseElasticIn::createWithActionPeriod(inner, m_period) : nullptr;
}

CCObject* CCEaseElasticOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseElasticOut, CCEaseElastic>(this, holder);
}

CCEaseElasticInOut* CCEaseElasticInOut::createWithActionPeriod(CCActionInterval* action, float period) {
    return makeElastic<CCEaseElasticInOut>(action, period);
}

void CCEaseElasticInOut::update(float t) {
    if (t != 0.0f && t != 1.0f && m_period == 0.0f) m_period = ease::kElasticInOutDefaultPeriod;
    updateInner(ease::elasticInOut(t, m_period));
}

CCFiniteTimeAction* CCEaseElasticInOut::reverse() {
    CCActionInterval* inner = innerReverse();
    return inner != nullptr ? CCEaseInOut::createWithActionRate(inner, m_period) : nullptr;
}

CCObject* CCEaseElasticInOut::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCEaseElasticInOut, CCEaseElastic>(this, holder);
}

} // namespace kvengine
