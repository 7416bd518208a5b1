#include "game/tutorial/KVHelperManager.h"

#include <cstring>

#include "engine/base/CCLog.h"
#include "game/tutorial/KVHelpCase.h"
#include "game/world/KVObjectFactory.h"

using namespace kvengine;

const char* const KVHelperManager::kCaseClasses[5] = {"KVHelpCaseFrigateAttack", "KVHelpCaseDestroyerAttack",
                                                      "KVHelpCaseEnemyTurn", "KVHelpCaseDash",
                                                      "KVHelpCaseObjective"};

KVHelperManager::KVHelperManager() {
    m_cases = new CCMutableArray<KVHelpCase*>();
    for (const char* className : kCaseClasses) {
        CCObject* made = KVObjectFactory::create(className);
        if (made == nullptr || !made->isKindOf("KVHelpCase")) {
            logDebugMessage("tutorial: no help case \"%s\"", className);
            if (made != nullptr) made->release();
            continue;
        }
        made->autorelease();
        m_cases->addObject(static_cast<KVHelpCase*>(made));
    }
}

void KVHelperManager::cleanupBeforeDelete() {
    // The cases go with the array; each drops its observers as it goes.
    if (m_cases != nullptr) m_cases->release();
    m_cases = nullptr;
    KVSingletonObject::cleanupBeforeDelete();
}

KVHelpCase* KVHelperManager::findCase(const char* className) const {
    if (m_cases == nullptr || className == nullptr) return nullptr;
    for (KVHelpCase* helpCase : *m_cases)
        if (std::strcmp(helpCase->className(), className) == 0) return helpCase;
    return nullptr;
}
