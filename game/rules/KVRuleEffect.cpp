#include "game/rules/KVRuleEffect.h"

#include "game/rules/KVRuleParameters.h"

using kvengine::CCString;

bool KVRuleEffect::initWithParameters(Parameters* parameters) {
    return acceptsParameters(parameters);
}

bool KVRuleEffect::acceptsParameters(Parameters* parameters) const {
    return kvRuleParametersFit(parameters, m_parameterCount, className());
}

CCString* KVRuleEffect::parameterAt(Parameters* parameters, unsigned index) {
    return static_cast<CCString*>(parameters->objectAtIndex(index));
}
