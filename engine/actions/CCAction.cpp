#include "engine/actions/CCAction.h"

#include <cfloat>
#include <cstdio>
#include <cstring>

namespace kvengine {

namespace {
template <class T> T* objectToFill(CCCopyHolder* holder) {
    if (holder && holder->object) return static_cast<T*>(holder->object);
    return new T();
}

float storedDuration(float seconds) {
    return seconds == 0.0f ? FLT_EPSILON : seconds;
}
} // namespace

// --- CCAction --------------------------------------------------------------------------------

bool CCAction::isKindOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CCAction") == 0 || CCObject::isKindOf(name));
}

CCObject* CCAction::copyInto(CCCopyHolder* holder) {
    CCAction* copy = objectToFill<CCAction>(holder);
    copy->m_tag = m_tag;
    return copy;
}

bool CCAction::isDone() {
    return true;
}

void CCAction::startWithTarget(CCNode* target) {
    m_originalTarget = target;
    m_target = target;
}

void CCAction::stop() {
    m_target = nullptr;
}

void CCAction::step(float dt) {
    (void)dt;
}

std::string CCAction::description() const {
    char text[48];
    std::snprintf(text, sizeof(text), "<CCAction | Tag = %d>", m_tag);
    return text;
}

// --- CCFiniteTimeAction ------------------------------------------------------------------

CCObject* CCFiniteTimeAction::copyInto(CCCopyHolder* holder) {
    CCFiniteTimeAction* copy = objectToFill<CCFiniteTimeAction>(holder);
    CCCopyHolder inner{copy};
    CCAction::copyInto(&inner);
    copy->m_duration = m_duration;
    return copy;
}

// --- CCActionInterval --------------------------------------------------------------------

bool CCActionInterval::initWithDuration(float seconds) {
    m_duration = storedDuration(seconds);
    m_elapsed = 0.0f;
    m_firstTick = true;
    return true;
}

bool CCActionInterval::isDone() {
    return m_elapsed >= m_duration;
}

void CCActionInterval::startWithTarget(CCNode* target) {
    CCFiniteTimeAction::startWithTarget(target);
    m_elapsed = 0.0f;
    m_firstTick = true;
}

void CCActionInterval::step(float dt) {
    if (m_firstTick) {
        m_firstTick = false;
        m_elapsed = 0.0f;
    } else {
        m_elapsed += dt;
    }
    float t = m_elapsed / m_duration;
    if (t >= 1.0f) t = 1.0f;
    update(t);
}

CCObject* CCActionInterval::copyInto(CCCopyHolder* holder) {
    CCActionInterval* copy = objectToFill<CCActionInterval>(holder);
    CCCopyHolder inner{copy};
    CCFiniteTimeAction::copyInto(&inner);
    copy->m_duration = storedDuration(m_duration);
    copy->m_elapsed = 0.0f;
    copy->m_firstTick = true;
    return copy;
}

} // namespace kvengine
