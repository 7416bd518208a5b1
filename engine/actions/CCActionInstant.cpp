#include "engine/actions/CCActionInstant.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

void CCActionInstant::step(float /*dt*/) {
    update(1.0f);
}

void CCActionInstant::update(float /*t*/) {}

CCFiniteTimeAction* CCActionInstant::reverse() {
    return static_cast<CCFiniteTimeAction*>(copy()->autorelease());
}

CCObject* CCActionInstant::copyInto(CCCopyHolder* holder) {
    CCActionInstant* copy = detail::copyObjectFor<CCActionInstant>(holder);
    CCCopyHolder inner{copy};
    CCFiniteTimeAction::copyInto(&inner);
    return copy;
}

CCPlace* CCPlace::createWithPosition(const CCPoint& position) {
    CCPlace* action = new CCPlace();
    action->initWithPosition(position);
    action->autorelease();
    return action;
}

bool CCPlace::initWithPosition(const CCPoint& position) {
    m_position = position;
    return true;
}

void CCPlace::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (target != nullptr) target->setPosition(m_position);
}

CCObject* CCPlace::copyInto(CCCopyHolder* holder) {
    CCPlace* copy = detail::copyObjectFor<CCPlace>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    copy->initWithPosition(m_position);
    return copy;
}

CCHide* CCHide::create() {
    CCHide* action = new CCHide();
    action->autorelease();
    return action;
}

void CCHide::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (target != nullptr) target->setVisible(false);
}

CCFiniteTimeAction* CCHide::reverse() {
    return CCShow::create();
}

CCObject* CCHide::copyInto(CCCopyHolder* holder) {
    CCHide* copy = detail::copyObjectFor<CCHide>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    return copy;
}

CCShow* CCShow::create() {
    CCShow* action = new CCShow();
    action->autorelease();
    return action;
}

void CCShow::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (target != nullptr) target->setVisible(true);
}

CCFiniteTimeAction* CCShow::reverse() {
    return CCHide::create();
}

CCObject* CCShow::copyInto(CCCopyHolder* holder) {
    CCShow* copy = detail::copyObjectFor<CCShow>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    return copy;
}

CCInvertVisibility* CCInvertVisibility::create() {
    CCInvertVisibility* action = new CCInvertVisibility();
    action->autorelease();
    return action;
}

void CCInvertVisibility::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    if (target != nullptr) target->setVisible(!target->isVisible());
}

CCObject* CCInvertVisibility::copyInto(CCCopyHolder* holder) {
    CCInvertVisibility* copy = detail::copyObjectFor<CCInvertVisibility>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    return copy;
}

} // namespace kvengine
