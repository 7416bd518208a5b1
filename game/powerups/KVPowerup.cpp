#include "game/powerups/KVPowerup.h"

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;

KVPowerup::KVPowerup() {
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVPowerup::detachFromOwner),
                                                     EVENT_GAME_SHUTDOWN);
}

void KVPowerup::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_owner != nullptr) {
        KVPawn* owner = m_owner;
        m_owner = nullptr;
        owner->release();
    }
    KVObject::cleanupBeforeDelete();
}

void KVPowerup::update(float dt) {
    (void)dt;
}

void KVPowerup::detachFromOwner(CCNotification* notification) {
    (void)notification;
    if (m_owner == nullptr) return;
    KVPawn* owner = m_owner;
    m_owner = nullptr;
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_REMOVE_ACTOR);
    // Last: the owner may be freed by this release.
    owner->release();
}

void KVPowerup::attachToPawn(KVPawn* pawn) {
    if (pawn == m_owner) return;
    detachFromOwner(nullptr);
    if (pawn == nullptr) return;
    pawn->retain();
    m_owner = pawn;
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVPowerup::detachFromOwner),
                                                     EVENT_REMOVE_ACTOR, pawn);
}

void KVPowerup::onOwnerTurnStart() {}

void KVPowerup::onOwnerTurnEnd() {}

bool KVPowerup::interceptContact(KVActor* other) {
    (void)other;
    return false;
}

bool KVPowerup::interceptProjectile(KVProjectile* projectile) {
    (void)projectile;
    return false;
}

bool KVPowerup::canCoexistWith(KVPowerup* newModifier) {
    return newModifier == nullptr || newModifier->kind != kind;
}

bool KVPowerup::onOwnerBeginContact(KVContactInfo* contact) {
    (void)contact;
    return false;
}

bool KVPowerup::onOwnerEndContact(KVContactInfo* contact) {
    (void)contact;
    return false;
}

float KVPowerup::getMovePowerFactor() {
    return 1.0f;
}

CCString* KVPowerup::getName() {
    return nullptr;
}

CCString* KVPowerup::getIconName() {
    return nullptr;
}

CCString* KVPowerup::getHudIconName() {
    return nullptr;
}
