#include "engine/actions/CCSpeed.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCRetained.h"

namespace kvengine {

CCSpeed::~CCSpeed() {
    if (m_inner != nullptr) m_inner->release();
}

CCSpeed* CCSpeed::createWithActionSpeed(CCActionInterval* action, float speed) {
    return ccCreate<CCSpeed>([&](CCSpeed* made) { return made->initWithActionSpeed(action, speed); });
}

bool CCSpeed::initWithActionSpeed(CCActionInterval* action, float speed) {
    if (action == nullptr) {
        logDebugMessage("CCSpeed: no action to run");
        return false;
    }
    action->retain();
    if (m_inner != nullptr) m_inner->release();
    m_inner = action;
    m_speed = speed;
    return true;
}

void CCSpeed::startWithTarget(CCNode* target) {
    CCAction::startWithTarget(target);
    if (m_inner != nullptr) m_inner->startWithTarget(target);
}

void CCSpeed::stop() {
    if (m_inner != nullptr) m_inner->stop();
    CCAction::stop();
}

void CCSpeed::step(float dt) {
    if (m_inner != nullptr) m_inner->step(dt * m_speed);
}

bool CCSpeed::isDone() {
    return m_inner == nullptr || m_inner->isDone();
}

CCSpeed* CCSpeed::reverse() {
    CCActionInterval* inner =
        m_inner != nullptr ? dynamic_cast<CCActionInterval*>(m_inner->reverse()) : nullptr;
    if (inner == nullptr) {
        logDebugMessage("CCSpeed: the inner action has no reverse");
        return nullptr;
    }
    return createWithActionSpeed(inner, m_speed);
}

CCObject* CCSpeed::copyInto(CCCopyHolder* holder) {
    CCSpeed* copy = static_cast<CCSpeed*>(detail::copyWithBase<CCSpeed, CCAction>(this, holder));
    copy->m_speed = m_speed;
    CCObject* innerCopy = m_inner != nullptr ? m_inner->copy() : nullptr;
    if (innerCopy != nullptr)
        copy->initWithActionSpeed(static_cast<CCActionInterval*>(innerCopy->autorelease()), m_speed);
    return copy;
}

} // namespace kvengine
