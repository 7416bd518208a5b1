#include "game/rules/KVRuleManager.h"

#include <iterator>

#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/rules/KVComboConditions.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleCombo.h"
#include "game/rules/KVRuleConditions.h"
#include "game/rules/KVRuleEffects.h"

using kvengine::CCMutableArray;
using kvengine::CCObject;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

template <class T> CCObject* make() {
    return new T();
}

struct Kind {
    const char* name;
    int code;
    CCObject* (*create)();
};

const Kind kConditions[] = {
    {"mission_started", 0, &make<KVConditionMissionStarted>},
    {"dead_pawn", 1, &make<KVConditionDeadPawn>},
    {"trigger", 2, &make<KVConditionTrigger>},
    {"out_of_focus", 3, &make<KVConditionOOF>},
    {"dash", 4, &make<KVConditionDash>},
    {"end_of_speech", 5, &make<KVConditionEOS>},
    {"new_powerup", 6, &make<KVConditionNewPowerup>},
    {"turn_count", 7, &make<KVConditionTurnCount>},
};

// Code 4 has no effect.
const Kind kEffects[] = {
    {"mission_failed", 0, &make<KVEffectMissionFailed>},
    {"trigger_enable", 1, &make<KVEffectTriggerEnable>},
    {"spawn_pawn", 2, &make<KVEffectSpawnPawn>},
    {"start_chatter", 3, &make<KVEffectStartChatter>},
    {"victory_enable", 5, &make<KVEffectVictoryModeEnable>},
    {"rule_enable", 6, &make<KVEffectRuleEnable>},
    {"mission_objective", 7, &make<KVEffectMissionObjective>},
    {"play_music", 8, &make<KVEffectPlayMusic>},
    {"stop_music", 9, &make<KVEffectStopMusic>},
    {"go_to_menu", 10, &make<KVEffectGoToMenu>},
};

template <size_t N> const Kind* kindByName(const Kind (&table)[N], const std::string& name) {
    for (const Kind& kind : table)
        if (name == kind.name) return &kind;
    return nullptr;
}

KVRuleManager::Dict* dictOf(CCObject* object) {
    return kvdata::asDict(object);
}

} // namespace

int KVRuleManager::conditionCode(const std::string& name) {
    const Kind* kind = kindByName(kConditions, name);
    return kind != nullptr ? kind->code : -1;
}

int KVRuleManager::effectCode(const std::string& name) {
    const Kind* kind = kindByName(kEffects, name);
    return kind != nullptr ? kind->code : -1;
}

KVRuleManager::KVRuleManager() {
    m_rules = new CCMutableArray<KVRule*>();
    m_pendingEffects = new CCMutableArray<KVRuleEffect*>();
}

void KVRuleManager::cleanupBeforeDelete() {
    clearRules();
    if (m_rules != nullptr) m_rules->release();
    m_rules = nullptr;
    if (m_pendingEffects != nullptr) m_pendingEffects->release();
    m_pendingEffects = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

void KVRuleManager::clearRules() {
    if (m_rules != nullptr) m_rules->removeAllObjects();
    if (m_pendingEffects != nullptr) m_pendingEffects->removeAllObjects();
}

KVRule* KVRuleManager::ruleAt(int index) const {
    if (m_rules == nullptr || index < 0 || static_cast<unsigned>(index) >= m_rules->count()) return nullptr;
    return m_rules->objectAtIndex(static_cast<unsigned>(index));
}

KVRule* KVRuleManager::fileRuleAt(int index) const {
    KVRule* rule = ruleAt(index);
    return rule != nullptr && !rule->isKindOf("KVRuleCombo") ? rule : nullptr;
}

unsigned KVRuleManager::getFileRuleCount() const {
    unsigned count = 0;
    while (fileRuleAt(static_cast<int>(count)) != nullptr)
        ++count;
    return count;
}

void KVRuleManager::loadRules() {
    clearRules();
    CCString* setName = KVGameSetup::getInstance()->getRuleSetName();
    const std::string fileName = kvdata::textOf(setName) + ".plist";
    kvengine::CCResourceIndex* index = kvengine::CCResourceIndex::getInstance();
    // No rule file: a mission without scripted rules.
    if (!index->containsFileName(fileName)) return;
    CCString* path = index->fullPathForNameAndExtension(kvdata::textOf(setName), "plist");
    bool wellFormed = false;
    CCMutableArray<CCObject*>* rules = kvengine::arrayWithContentsOfFile(path->c_str(), &wellFormed);
    if (rules == nullptr || !wellFormed) {
        logDebugMessage("KVRuleManager: %s cannot be read as an array of rules; no rule loaded",
                        fileName.c_str());
        return;
    }
    loadRuleArray(rules, fileName);
}

bool KVRuleManager::loadRuleArray(CCMutableArray<CCObject*>* rules, const std::string& fileName) {
    clearRules();
    if (rules == nullptr) return true;
    for (unsigned i = 0; i < rules->count(); ++i) {
        auto* rule = new KVRule();
        m_fault.clear();
        Dict* dictionary = dictOf(rules->objectAtIndex(i));
        if (dictionary == nullptr) m_fault = "no dictionary";
        if (dictionary == nullptr || !buildRule(dictionary, rule)) {
            rule->release();
            m_rules->removeAllObjects();
            logDebugMessage("KVRuleManager: %s: rule %u is malformed (%s); no rule loaded", fileName.c_str(),
                            i, m_fault.c_str());
            return false;
        }
        m_rules->addObject(rule);
        rule->release();
    }
    disableRulesWaitingForEnable();
    return true;
}

void KVRuleManager::addComboRules() {
    for (int type = 0; type < kComboTypeCount; ++type) {
        auto* combo = new KVRuleCombo(type);
        combo->autorelease();
        KVRuleConditionCombo* condition = kvCreateComboCondition(combo);
        if (condition == nullptr) continue;
        combo->getConditions()->addObject(condition);
        auto* pearl = new KVEffectComboPearl(combo);
        combo->getEffects()->addObject(pearl);
        pearl->release();
        m_rules->addObject(combo);
    }
}

void KVRuleManager::disableRulesWaitingForEnable() {
    for (unsigned i = 0; i < m_rules->count(); ++i) {
        CCMutableArray<KVRuleEffect*>* effects = m_rules->objectAtIndex(i)->getEffects();
        for (unsigned e = 0; e < effects->count(); ++e) {
            KVRuleEffect* effect = effects->objectAtIndex(e);
            if (!effect->isKindOf("KVEffectRuleEnable")) continue;
            auto* enable = static_cast<KVEffectRuleEnable*>(effect);
            if (!enable->isEnable()) continue;
            if (KVRule* waiting = ruleAt(enable->getRuleIndex()))
                waiting->enabled = false;
            else
                logDebugMessage("KVRuleManager: rule %u enables rule %d, which does not exist", i,
                                enable->getRuleIndex());
        }
    }
}

bool KVRuleManager::buildRule(Dict* dictionary, KVRule* rule) {
    if (dictionary == nullptr || rule == nullptr) {
        m_fault = "no rule";
        return false;
    }
    kvdata::Array* conditions = kvdata::arrayAt(dictionary, "ConditionList");
    kvdata::Array* effects = kvdata::arrayAt(dictionary, "EffectList");
    if (conditions == nullptr || effects == nullptr) {
        m_fault = conditions == nullptr ? "no \"ConditionList\" array" : "no \"EffectList\" array";
        logDebugMessage("KVRuleManager: rule refused: %s", m_fault.c_str());
        return false;
    }
    for (unsigned i = 0; i < conditions->count(); ++i) {
        KVRuleCondition* condition = createCondition(dictOf(conditions->objectAtIndex(i)));
        if (condition == nullptr) {
            m_fault = "condition " + std::to_string(i) + ": " + m_fault;
            return false;
        }
        rule->getConditions()->addObject(condition);
    }
    for (unsigned i = 0; i < effects->count(); ++i) {
        KVRuleEffect* effect = createEffect(dictOf(effects->objectAtIndex(i)));
        if (effect == nullptr) {
            m_fault = "effect " + std::to_string(i) + ": " + m_fault;
            return false;
        }
        rule->getEffects()->addObject(effect);
    }
    return true;
}

namespace {

// The object of the kind named by `typeKey` in `dictionary`, initialised from `parameterKey`
// (autoreleased); null with `fault` set otherwise.
template <class T, size_t N>
T* createFromDictionary(KVRuleManager::Dict* dictionary, const Kind (&table)[N], const char* typeKey,
                        const char* parameterKey, std::string& fault) {
    CCString* type = dictionary != nullptr ? kvdata::stringAt(dictionary, typeKey) : nullptr;
    kvdata::Array* parameters = dictionary != nullptr ? kvdata::arrayAt(dictionary, parameterKey) : nullptr;
    const Kind* kind = type != nullptr ? kindByName(table, type->text) : nullptr;
    if (dictionary == nullptr)
        fault = "no dictionary";
    else if (type == nullptr)
        fault = std::string("no \"") + typeKey + "\"";
    else if (kind == nullptr)
        fault = std::string("unknown ") + typeKey + " \"" + type->text + "\"";
    else if (parameters == nullptr)
        fault = std::string("\"") + type->text + "\" without a \"" + parameterKey + "\" array";
    if (!fault.empty()) {
        logDebugMessage("KVRuleManager: %s", fault.c_str());
        return nullptr;
    }
    auto* object = static_cast<T*>(kind->create());
    if (object == nullptr) {
        fault = std::string("\"") + type->text + "\" could not be made";
        return nullptr;
    }
    object->autorelease();
    if (!object->initWithParameters(parameters)) {
        fault = std::string("\"") + type->text + "\" refuses its " + std::to_string(parameters->count()) +
                " parameters";
        return nullptr;
    }
    return object;
}

} // namespace

KVRuleCondition* KVRuleManager::createCondition(Dict* dictionary) {
    m_fault.clear();
    return createFromDictionary<KVRuleCondition>(dictionary, kConditions, "ConditionType",
                                                 "ConditionParameter", m_fault);
}

KVRuleEffect* KVRuleManager::createEffect(Dict* dictionary) {
    m_fault.clear();
    return createFromDictionary<KVRuleEffect>(dictionary, kEffects, "EffectType", "EffectParameter", m_fault);
}

void KVRuleManager::update(float dt) {
    // Held through the frame: an effect may end the mission, whose shutdown empties the lists.
    retain();
    for (unsigned i = 0; i < m_rules->count(); ++i) {
        KVRule* rule = m_rules->objectAtIndex(i);
        rule->retain();
        rule->update(dt);
        if (rule->enabled && rule->conditionsHold()) {
            CCMutableArray<KVRuleEffect*>* effects = rule->getEffects();
            for (unsigned e = 0; e < effects->count(); ++e)
                m_pendingEffects->addObject(effects->objectAtIndex(e));
            rule->onFired();
        }
        rule->release();
    }
    for (unsigned i = 0; i < m_pendingEffects->count(); ++i) {
        KVRuleEffect* effect = m_pendingEffects->objectAtIndex(i);
        effect->retain();
        effect->update(dt);
        effect->release();
    }
    for (unsigned i = m_pendingEffects->count(); i > 0; --i)
        if (m_pendingEffects->objectAtIndex(i - 1)->done) m_pendingEffects->removeObjectAtIndex(i - 1);
    release();
}
