#include "engine/actions/CCCallFunc.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCRetained.h"

namespace kvengine {

CCCallFunc::~CCCallFunc() {
    if (m_selectorTarget != nullptr) m_selectorTarget->releaseAsTarget();
}

CCCallFunc* CCCallFunc::createWithTargetSelector(CCObject* target, SEL_CallFunc selector) {
    CCCallFunc* action = new CCCallFunc();
    if (!action->initWithTarget(target)) {
        action->release();
        return nullptr;
    }
    action->m_callFunc = selector;
    action->autorelease();
    return action;
}

bool CCCallFunc::initWithTarget(CCObject* target) {
    if (target != nullptr) target->retainAsTarget();
    if (m_selectorTarget != nullptr) m_selectorTarget->releaseAsTarget();
    m_selectorTarget = target;
    return true;
}

bool CCCallFunc::setScriptFunctionName(const char* name) {
    m_scriptFunctionName = name != nullptr ? name : "";
    return true;
}

void CCCallFunc::execute() {
    CCObject* target = m_selectorTarget;
    SEL_CallFunc selector = m_callFunc;
    if (selector != nullptr && target != nullptr) (target->*selector)();
}

void CCCallFunc::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    execute();
}

CCObject* CCCallFunc::copyInto(CCCopyHolder* holder) {
    CCCallFunc* copy = detail::copyObjectFor<CCCallFunc>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    copy->initWithTarget(m_selectorTarget);
    copy->m_callFunc = m_callFunc;
    copy->m_scriptFunctionName = m_scriptFunctionName;
    return copy;
}

CCCallFuncN* CCCallFuncN::createWithTargetSelector(CCObject* target, SEL_CallFuncN selector) {
    return ccCreate<CCCallFuncN>(
        [&](CCCallFuncN* made) { return made->initWithTargetSelector(target, selector); });
}

bool CCCallFuncN::initWithTargetSelector(CCObject* target, SEL_CallFuncN selector) {
    if (!CCCallFunc::initWithTarget(target)) return false;
    m_callFuncN = selector;
    return true;
}

void CCCallFuncN::execute() {
    CCObject* target = m_selectorTarget;
    SEL_CallFuncN selector = m_callFuncN;
    CCNode* node = getTarget();
    if (selector != nullptr && target != nullptr) (target->*selector)(node);
}

CCObject* CCCallFuncN::copyInto(CCCopyHolder* holder) {
    CCCallFuncN* copy = detail::copyObjectFor<CCCallFuncN>(holder);
    CCCopyHolder inner{copy};
    CCCallFunc::copyInto(&inner);
    copy->initWithTargetSelector(m_selectorTarget, m_callFuncN);
    return copy;
}

CCCallFuncND* CCCallFuncND::createWithTargetSelectorData(CCObject* target, SEL_CallFuncND selector,
                                                         void* data) {
    return ccCreate<CCCallFuncND>(
        [&](CCCallFuncND* made) { return made->initWithTargetSelectorData(target, selector, data); });
}

bool CCCallFuncND::initWithTargetSelectorData(CCObject* target, SEL_CallFuncND selector, void* data) {
    if (!CCCallFuncN::initWithTargetSelector(target, nullptr)) return false;
    m_callFuncND = selector;
    m_data = data;
    return true;
}

void CCCallFuncND::execute() {
    CCObject* target = m_selectorTarget;
    SEL_CallFuncND selector = m_callFuncND;
    CCNode* node = getTarget();
    if (selector != nullptr && target != nullptr) (target->*selector)(node, m_data);
}

CCObject* CCCallFuncND::copyInto(CCCopyHolder* holder) {
    CCCallFuncND* copy = detail::copyObjectFor<CCCallFuncND>(holder);
    CCCopyHolder inner{copy};
    CCCallFuncN::copyInto(&inner);
    copy->initWithTargetSelectorData(m_selectorTarget, m_callFuncND, m_data);
    return copy;
}

CCCallFuncO::~CCCallFuncO() {
    if (m_object != nullptr) m_object->release();
}

CCCallFuncO* CCCallFuncO::createWithTargetSelectorObject(CCObject* target, SEL_CallFuncO selector,
                                                         CCObject* object) {
    return ccCreate<CCCallFuncO>(
        [&](CCCallFuncO* made) { return made->initWithTargetSelectorObject(target, selector, object); });
}

bool CCCallFuncO::initWithTargetSelectorObject(CCObject* target, SEL_CallFuncO selector, CCObject* object) {
    if (!CCCallFunc::initWithTarget(target)) return false;
    if (object != nullptr) object->retain();
    if (m_object != nullptr) m_object->release();
    m_object = object;
    m_callFuncO = selector;
    return true;
}

void CCCallFuncO::execute() {
    CCObject* target = m_selectorTarget;
    SEL_CallFuncO selector = m_callFuncO;
    if (selector != nullptr && target != nullptr) (target->*selector)(m_object);
}

CCObject* CCCallFuncO::copyInto(CCCopyHolder* holder) {
    CCCallFuncO* copy = detail::copyObjectFor<CCCallFuncO>(holder);
    CCCopyHolder inner{copy};
    CCCallFunc::copyInto(&inner);
    copy->initWithTargetSelectorObject(m_selectorTarget, m_callFuncO, m_object);
    return copy;
}

} // namespace kvengine
