#pragma once

#include "engine/base/CCMutableArray.h"
#include "game/rules/KVRuleCondition.h"
#include "game/rules/KVRuleEffect.h"
#include "game/world/KVObject.h"

/// A mission rule: when it is enabled and all its conditions hold, its effects are queued. A plain
/// rule disables itself when it fires, so it fires once unless another rule enables it again.
class KVRule : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVRule, KVObject)

    KVRule();
    /// Releases both lists.
    void cleanupBeforeDelete() override;
    /// Updates every condition, in order.
    void update(float dt) override;
    /// After the rule's effects were queued: a plain rule disables itself.
    virtual void onFired() { enabled = false; }
    /// Asks the conditions in order and stops at the first that does not hold (asking may change a
    /// condition's state); true for a rule without conditions.
    bool conditionsHold();

    kvengine::CCMutableArray<KVRuleCondition*>* getConditions() const { return m_conditions; }
    kvengine::CCMutableArray<KVRuleEffect*>* getEffects() const { return m_effects; }

    bool enabled = true;

private:
    kvengine::CCMutableArray<KVRuleCondition*>* m_conditions = nullptr;
    kvengine::CCMutableArray<KVRuleEffect*>* m_effects = nullptr;
};
