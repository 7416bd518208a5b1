#include "game/rules/KVRule.h"

KVRule::KVRule() {
    m_conditions = new kvengine::CCMutableArray<KVRuleCondition*>();
    m_effects = new kvengine::CCMutableArray<KVRuleEffect*>();
}

void KVRule::cleanupBeforeDelete() {
    if (m_conditions != nullptr) m_conditions->release();
    m_conditions = nullptr;
    if (m_effects != nullptr) m_effects->release();
    m_effects = nullptr;
    KVObject::cleanupBeforeDelete();
}

void KVRule::update(float dt) {
    if (m_conditions == nullptr) return;
    for (unsigned i = 0; i < m_conditions->count(); ++i)
        m_conditions->objectAtIndex(i)->update(dt);
}

bool KVRule::conditionsHold() {
    if (m_conditions == nullptr) return true;
    for (unsigned i = 0; i < m_conditions->count(); ++i)
        if (!m_conditions->objectAtIndex(i)->isMet()) return false;
    return true;
}
