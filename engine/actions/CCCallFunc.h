#pragma once

#include <string>

#include "engine/actions/CCActionInstant.h"

namespace kvengine {

/// Member functions that call-function actions call on their selector target.
using SEL_CallFunc = void (CCObject::*)();
using SEL_CallFuncN = void (CCObject::*)(CCNode*);
using SEL_CallFuncND = void (CCObject::*)(CCNode*, void*);
using SEL_CallFuncO = void (CCObject::*)(CCObject*);

} // namespace kvengine

/// Turn a member function of any CCObject subclass into the selector type of a call-function action.
#define callfunc_selector(method) static_cast<kvengine::SEL_CallFunc>(&method)
#define callfuncN_selector(method) static_cast<kvengine::SEL_CallFuncN>(&method)
#define callfuncND_selector(method) static_cast<kvengine::SEL_CallFuncND>(&method)
#define callfuncO_selector(method) static_cast<kvengine::SEL_CallFuncO>(&method)

namespace kvengine {

/// Calls selector() on its selector target each time it is started: this is how a sequence of
/// timed effects tells game code that it has reached a point.
///
/// The selector target is held through retainAsTarget/releaseAsTarget: a node target stays alive
/// as long as the action; for other objects the caller keeps the target alive.
class CCCallFunc : public CCActionInstant {
public:
    CCCallFunc() = default;
    ~CCCallFunc() override;

    /// Null only when initialisation fails (it does not).
    static CCCallFunc* createWithTargetSelector(CCObject* target, SEL_CallFunc selector);

    /// Takes the new target (retainAsTarget) before letting the old one go, so re-initialising
    /// with the same target is safe.
    virtual bool initWithTarget(CCObject* target);
    /// Stores the name of a script function. No script engine exists, so it is only kept.
    virtual bool setScriptFunctionName(const char* name);
    /// Calls the selector when one is set.
    virtual void execute();

    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    CCObject* getSelectorTarget() const { return m_selectorTarget; }
    const std::string& getScriptFunctionName() const { return m_scriptFunctionName; }

protected:
    CCObject* m_selectorTarget = nullptr;
    std::string m_scriptFunctionName;

private:
    SEL_CallFunc m_callFunc = nullptr;
};

/// Calls selector(node) with the node the action runs on.
class CCCallFuncN : public CCCallFunc {
public:
    static CCCallFuncN* createWithTargetSelector(CCObject* target, SEL_CallFuncN selector);
    virtual bool initWithTargetSelector(CCObject* target, SEL_CallFuncN selector);
    void execute() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    SEL_CallFuncN m_callFuncN = nullptr;
};

/// Calls selector(node, data). The data pointer is passed through: neither owned nor freed.
class CCCallFuncND : public CCCallFuncN {
public:
    /// Null only when initialisation fails (it does not).
    static CCCallFuncND* createWithTargetSelectorData(CCObject* target, SEL_CallFuncND selector, void* data);
    virtual bool initWithTargetSelectorData(CCObject* target, SEL_CallFuncND selector, void* data);
    void execute() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    SEL_CallFuncND m_callFuncND = nullptr;
    void* m_data = nullptr;
};

/// Calls selector(object); the object is retained for the action's life.
class CCCallFuncO : public CCCallFunc {
public:
    ~CCCallFuncO() override;
    static CCCallFuncO* createWithTargetSelectorObject(CCObject* target, SEL_CallFuncO selector,
                                                       CCObject* object);
    virtual bool initWithTargetSelectorObject(CCObject* target, SEL_CallFuncO selector, CCObject* object);
    void execute() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    SEL_CallFuncO m_callFuncO = nullptr;
    CCObject* m_object = nullptr;
};

} // namespace kvengine
