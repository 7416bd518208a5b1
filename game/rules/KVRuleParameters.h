#pragma once
// What the rule conditions and effects share: the check of their parameter texts and the retained
// text members they keep.

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"

/// True when `parameters` holds exactly `count` texts; otherwise logs what is wrong under `owner`.
bool kvRuleParametersFit(kvengine::CCMutableArray<kvengine::CCObject*>* parameters, int count,
                         const char* owner);

/// Replaces a retained text member (null lets go of it).
inline void kvRuleHoldText(kvengine::CCString*& member, kvengine::CCString* text) {
    if (text != nullptr) text->retain();
    if (member != nullptr) member->release();
    member = text;
}
