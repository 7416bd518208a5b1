#include <box2d/box2d.h>

#include <cmath>

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVPawn.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;
using kvengine::CCString;

namespace {

CCString* autoreleased(const char* text) {
    auto* made = new CCString(text);
    made->autorelease();
    return made;
}

} // namespace

KVPowerupSpikyShell::KVPowerupSpikyShell() {
    kind = 2;
    m_touched = new CCMutableArray<KVActor*>();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPowerupSpikyShell::onMoveOverBeforeBuffer),
                        EVENT_MOVE_OVER_BEFORE_BUFFER);
    centre->addObserver(this, notification_selector(KVPowerupSpikyShell::onRemoveActor), EVENT_REMOVE_ACTOR);
}

void KVPowerupSpikyShell::cleanupBeforeDelete() {
    setHitTarget(nullptr);
    if (m_touched != nullptr) m_touched->release();
    m_touched = nullptr;
    KVPowerup::cleanupBeforeDelete();
}

void KVPowerupSpikyShell::setHitTarget(KVActor* target) {
    if (target != nullptr) target->retain();
    if (m_hitTarget != nullptr) m_hitTarget->release();
    m_hitTarget = target;
}

void KVPowerupSpikyShell::arm() {
    m_armed = true;
    m_armPending = true;
    kvobjects::post(EVENT_SPIKY_SHELL_EQUIP, m_owner);
}

void KVPowerupSpikyShell::onOwnerTurnEnd() {
    arm();
}

void KVPowerupSpikyShell::onMoveOverBeforeBuffer(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_owner != nullptr && !m_owner->isTurnActive() && !m_armed) arm();
}

void KVPowerupSpikyShell::update(float dt) {
    (void)dt;
    if (m_armed && m_armPending && m_owner != nullptr) {
        m_armPending = false;
        if (b2Body* body = m_owner->getBody()) {
            body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
            b2MassData mass;
            body->GetMassData(&mass);
            mass.mass *= kMassFactor;
            body->SetMassData(&mass);
        }
    }
    if (m_hitTarget != nullptr) {
        const bool dead = m_hitTarget->isKindOf("KVPawn") && static_cast<KVPawn*>(m_hitTarget)->isDead();
        if (!dead && m_hitTarget->getBody() != nullptr)
            m_hitTarget->getBody()->SetLinearVelocity(b2Vec2(m_pushX, m_pushY));
        setHitTarget(nullptr);
    }
}

bool KVPowerupSpikyShell::interceptContact(KVActor* other) {
    if (other == nullptr || m_owner == nullptr || !m_armed || m_hitTarget != nullptr) return false;
    if (!other->isKindOf("KVPawnAI") || m_touched->containsObject(other)) return false;
    auto* victim = static_cast<KVPawn*>(other);
    kvobjects::post(EVENT_SPIKY_SHELL_SPIKE, m_owner);
    auto* event = new KVActionEvent();
    event->type = KVActionEvent::SpikyShellPrick;
    event->actor = m_owner;
    event->target = victim;
    kvobjects::post(EVENT_ACTION, event);
    event->release();
    const int amount = static_cast<int>(static_cast<float>(victim->getDefense()) +
                                        kShare * static_cast<float>(victim->getMaxHP()));
    KVPawn::takeHitDamage(KVActionEvent::SpikyShellDamage, m_owner, amount, victim);
    setHitTarget(victim);
    float dx = victim->positionX - m_owner->positionX, dy = victim->positionY - m_owner->positionY;
    const float length = std::hypot(dx, dy);
    if (length > 0.0f) {
        dx /= length;
        dy /= length;
    }
    m_pushX = dx * kFlingSpeed;
    m_pushY = dy * kFlingSpeed;
    m_touched->addObject(victim);
    return false;
}

bool KVPowerupSpikyShell::onOwnerEndContact(KVContactInfo* contact) {
    if (contact != nullptr && contact->other != nullptr && m_touched != nullptr)
        m_touched->removeObject(contact->other);
    return false;
}

void KVPowerupSpikyShell::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    auto* actor = dynamic_cast<KVActor*>(object);
    if (actor == nullptr) return;
    if (actor == m_hitTarget) setHitTarget(nullptr);
    if (m_touched != nullptr) m_touched->removeObject(actor);
    // The base's own handler of the owner's removal is registered separately.
}

void KVPowerupSpikyShell::onOwnerTurnStart() {
    active = false;
    m_armed = false;
    kvobjects::post(EVENT_SPIKY_SHELL_UNEQUIP, m_owner);
}

void KVPowerupSpikyShell::detachFromOwner(kvengine::CCNotification* notification) {
    setHitTarget(nullptr);
    if (m_touched != nullptr) m_touched->removeAllObjects();
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    if (m_owner != nullptr && m_owner->getBody() != nullptr && physics != nullptr &&
        physics->getWorld() != nullptr)
        m_owner->getBody()->ResetMassData();
    KVPowerup::detachFromOwner(notification);
}

bool KVPowerupSpikyShell::canCoexistWith(KVPowerup* newModifier) {
    return KVPowerup::canCoexistWith(newModifier) && (newModifier == nullptr || newModifier->kind != 3);
}

CCString* KVPowerupSpikyShell::getName() {
    return autoreleased("Spiky shell");
}

CCString* KVPowerupSpikyShell::getIconName() {
    return autoreleased("powerup_spikyshell.png");
}

CCString* KVPowerupSpikyShell::getHudIconName() {
    return autoreleased("powerup_spikyshellHud.png");
}
