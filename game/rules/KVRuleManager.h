#pragma once

#include <string>

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCMutableDictionary.h"
#include "game/world/KVSingletonObject.h"

class KVRule;
class KVRuleCondition;
class KVRuleEffect;

/// The scripted rules of the running mission: loaded from the rule file "<mission>_RULE.plist" when
/// the level is built, tested once a frame by the game model after the actors, emptied at mission
/// end.
///
/// The file's root is an array of rules, each a dictionary with "ConditionList" and "EffectList":
/// arrays of condition dictionaries ("ConditionType", "ConditionParameter") and effect dictionaries
/// ("EffectType", "EffectParameter"); parameters are arrays of texts. A rule's index is its place
/// in the file. A single malformed rule (unknown name, wrong parameter count, a missing type or
/// parameter array, an element of the wrong kind) rejects the whole file: no rule is loaded and the
/// rule's index and fault are logged. A missing file is a mission without rules.
///
/// Each frame every rule is updated in list order; an enabled rule whose conditions all hold queues
/// its effects and fires (a plain rule then disables itself). The queued effects are applied after
/// all rules were tested, in queue order, and leave the queue once done. A rule named by a
/// rule_enable effect that enables it starts disabled.
class KVRuleManager : public KVSingletonObject<KVRuleManager> {
public:
    CC_DECLARE_CLASS_NAME(KVRuleManager, KVSingletonObject)

    using Dict = kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>;

    /// Condition codes by "ConditionType" (whole text, case-sensitive); -1 for any other text.
    static int conditionCode(const std::string& name);
    /// Effect codes by "EffectType"; -1 for any other text (no name has code 4).
    static int effectCode(const std::string& name);

    KVRuleManager();
    /// Empties both lists, then releases them.
    void cleanupBeforeDelete() override;

    /// Reads the running mission's rule file (named by the game setup), replacing the rules and
    /// dropping the pending effects.
    void loadRules();
    /// Loads `rules` (the root array of a rule file) as loadRules does; `fileName` names it in the
    /// log lines. False (logged) when a rule is malformed: then no rule is kept.
    bool loadRuleArray(kvengine::CCMutableArray<kvengine::CCObject*>* rules, const std::string& fileName);
    /// Appends the ten built-in combo rules of solo missions (types 0 to 9, in order), each with its
    /// combo condition and its pearl effect. Called after the rule file was loaded.
    void addComboRules();
    /// Empties the rule list and the pending effects.
    void clearRules();
    /// Tests the rules, then applies the effects of those that fired.
    void update(float dt) override;

    /// A new condition (autoreleased) from its dictionary; null (logged) when the dictionary is
    /// malformed.
    KVRuleCondition* createCondition(Dict* dictionary);
    /// A new effect (autoreleased) from its dictionary; null (logged) when the dictionary is
    /// malformed.
    KVRuleEffect* createEffect(Dict* dictionary);
    /// Fills `rule` with the conditions and effects of `dictionary`; false at the first malformed
    /// entry.
    bool buildRule(Dict* dictionary, KVRule* rule);

    kvengine::CCMutableArray<KVRule*>* getRules() const { return m_rules; }
    /// The rule at `index`; null outside the list.
    KVRule* ruleAt(int index) const;
    /// The rule of the mission's file at `index`; null outside the file's rules (the combos that
    /// follow them are not the file's to enable or disable).
    KVRule* fileRuleAt(int index) const;
    /// The number of rules loaded from the mission's file.
    unsigned getFileRuleCount() const;
    kvengine::CCMutableArray<KVRuleEffect*>* getPendingEffects() const { return m_pendingEffects; }

private:
    void disableRulesWaitingForEnable();

    kvengine::CCMutableArray<KVRule*>* m_rules = nullptr;
    kvengine::CCMutableArray<KVRuleEffect*>* m_pendingEffects = nullptr;
    /// What createCondition / createEffect last found wrong, for the file's log line.
    std::string m_fault;
};
