#pragma once

#include "game/world/KVSingletonObject.h"

/// The scripted rules of the running mission: loaded when the level is built, tested once a frame
/// by the game model, cleared at mission end. It holds no rules yet.
class KVRuleManager : public KVSingletonObject<KVRuleManager> {
public:
    CC_DECLARE_CLASS_NAME(KVRuleManager, KVSingletonObject)

    /// Reads the running mission's rule file; nothing yet.
    void loadRules() {}
    /// Adds the built-in combo rules of solo missions; nothing yet.
    void addComboRules() {}
    /// Empties the rule list and the pending effects.
    void clearRules() {}
};
