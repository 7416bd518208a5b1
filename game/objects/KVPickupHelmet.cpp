#include "game/objects/KVPickupHelmet.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/world/KVRunningMission.h"

namespace {

void hold(kvengine::CCString*& slot, kvengine::CCString* text) {
    if (text != nullptr) text->retain();
    if (slot != nullptr) slot->release();
    slot = text;
}

} // namespace

bool KVPickupHelmet::initFromChest(KVActor* source, kvengine::CCString* helmetName,
                                   kvengine::CCString* chestId) {
    if (!KVActor::init()) return false;
    if (helmetName == nullptr || helmetName->text.empty()) {
        kvengine::logDebugMessage("KVPickupHelmet: no helmet name");
        return false;
    }
    if (source != nullptr) source->getPosition(&positionX, &positionY);
    hold(m_helmetName, helmetName);
    hold(m_chestId, chestId);
    m_granted = false;
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVPickupHelmet::grantReward() {
    if (m_granted || m_helmetName == nullptr) return false;
    m_granted = true;
    KVGameSetup* setup = KVGameSetup::existingInstance();
    auto* mission =
        setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
    if (mission == nullptr || !mission->recordChestHelmet(m_helmetName->text)) {
        kvengine::logDebugMessage("KVPickupHelmet: \"%s\" taken where no helmet is recorded",
                                  m_helmetName->c_str());
        return false;
    }
    if (m_chestId != nullptr) mission->recordOpenedChest(m_chestId->text);
    return true;
}

void KVPickupHelmet::cleanupBeforeDelete() {
    hold(m_helmetName, nullptr);
    hold(m_chestId, nullptr);
    KVPickableObject::cleanupBeforeDelete();
}
