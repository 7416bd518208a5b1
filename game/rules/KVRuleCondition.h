#pragma once

#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

/// One condition of a mission rule: the rule fires when all its conditions are met. Made by the
/// rule manager from a condition dictionary ("ConditionType", "ConditionParameter"), initialised
/// once from its parameter texts, updated every frame with its rule and asked isMet while the rule
/// is enabled. The base is met at once and takes no parameter.
class KVRuleCondition : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVRuleCondition, KVObject)

    using Parameters = kvengine::CCMutableArray<kvengine::CCObject*>;

    /// Reads the parameter texts. False (logged, naming the class) when their number is not the
    /// class's parameter count or a parameter is no text.
    virtual bool initWithParameters(Parameters* parameters);
    virtual bool isMet() { return true; }

    int getParameterCount() const { return m_parameterCount; }

protected:
    /// True when `parameters` holds exactly the class's parameter count of texts; logs otherwise.
    bool acceptsParameters(Parameters* parameters) const;
    /// Parameter `index` (checked by acceptsParameters).
    static kvengine::CCString* parameterAt(Parameters* parameters, unsigned index);

    int m_parameterCount = 0;
};
