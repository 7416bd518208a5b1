#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"
#include "game/world/KVObject.h"

/// One effect of a mission rule. Made by the rule manager from an effect dictionary
/// ("EffectType", "EffectParameter") and initialised once from its parameter texts; queued each
/// time its rule fires and applied by update, which sets done. The base applies nothing and takes
/// no parameter.
class KVRuleEffect : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVRuleEffect, KVObject)

    using Parameters = kvengine::CCMutableArray<kvengine::CCObject*>;

    /// Reads the parameter texts. False (logged, naming the class) when their number is not the
    /// class's parameter count or a parameter is no text.
    virtual bool initWithParameters(Parameters* parameters);
    /// Applies the effect and sets done.
    void update(float dt) override {
        (void)dt;
        done = true;
    }

    int getParameterCount() const { return m_parameterCount; }

    bool done = false;

protected:
    bool acceptsParameters(Parameters* parameters) const;
    static kvengine::CCString* parameterAt(Parameters* parameters, unsigned index);

    int m_parameterCount = 0;
};
