#include "game/rules/KVRuleCondition.h"

#include "engine/base/CCLog.h"
#include "game/rules/KVRuleParameters.h"

using kvengine::CCObject;
using kvengine::CCString;

bool kvRuleParametersFit(kvengine::CCMutableArray<CCObject*>* parameters, int count, const char* owner) {
    if (parameters == nullptr) {
        kvengine::logDebugMessage("%s: no parameter array", owner);
        return false;
    }
    if (static_cast<int>(parameters->count()) != count) {
        kvengine::logDebugMessage("%s: %u parameters, %d wanted", owner, parameters->count(), count);
        return false;
    }
    for (unsigned i = 0; i < parameters->count(); ++i) {
        CCObject* parameter = parameters->objectAtIndex(i);
        if (parameter == nullptr || !parameter->isKindOf("CCString")) {
            kvengine::logDebugMessage("%s: parameter %u is no text", owner, i);
            return false;
        }
    }
    return true;
}

bool KVRuleCondition::initWithParameters(Parameters* parameters) {
    return acceptsParameters(parameters);
}

bool KVRuleCondition::acceptsParameters(Parameters* parameters) const {
    return kvRuleParametersFit(parameters, m_parameterCount, className());
}

CCString* KVRuleCondition::parameterAt(Parameters* parameters, unsigned index) {
    return static_cast<CCString*>(parameters->objectAtIndex(index));
}
