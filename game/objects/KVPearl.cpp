#include "game/objects/KVPearl.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVActionEvent.h"

using kvengine::CCNotificationCenter;

KVPearl::KVPearl(KVActor* source, int value, int rewardKind) : m_value(value), m_rewardKind(rewardKind) {
    KVActor::init();
    if (source != nullptr) source->getPosition(&positionX, &positionY);
    CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
}

float KVPearl::getPickRadius() {
    return m_collected ? 0.0f : kPickRadius;
}

int KVPearl::acquiredPostCount(int value) {
    if (value <= 6) return 1;
    if (value <= 20) return 2;
    if (value <= 50) return 3;
    return 4;
}

void KVPearl::postAcquiredEvents() {
    if (m_collected) {
        kvengine::logDebugMessage("KVPearl: %d pearls already collected, not counted again", m_value);
        return;
    }
    m_collected = true;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    for (int i = acquiredPostCount(m_value); i > 0; --i)
        centre->postNotification(EVENT_PEARL_ACQUIRED, this);
    centre->postNotification(EVENT_ACTION,
                             KVActionEvent::create(m_rewardKind, m_value, 0.0f, nullptr, nullptr));
}
