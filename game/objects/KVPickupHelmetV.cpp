#include "game/objects/KVPickupHelmetV.h"

#include <cmath>
#include <string>

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPickupHelmet.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;
using kvengine::CCPoint;

namespace {

constexpr float kPointsPerMetre = 32.0f;

} // namespace

bool KVPickupHelmetV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVPickupHelmet")) {
        kvengine::logDebugMessage("KVPickupHelmetV::initWithActor: the model is no pick-up helmet");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* helmet = static_cast<KVPickupHelmet*>(model);
    const std::string frame =
        (helmet->getHelmetName() != nullptr ? helmet->getHelmetName()->text : std::string()) +
        "_frontend_01.png";
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName(frame.c_str());
    m_elapsed = 0.0f;
    m_appeared = false;
    m_collecting = false;
    m_target = CCPoint();
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPickupHelmetV::onSingleTap), EVENT_SINGLE_TAP);
    centre->postNotification(EVENT_PEARL_SPWANED);
    if (sprite == nullptr) {
        kvengine::logDebugMessage("KVPickupHelmetV: no frame %s, the helmet is taken unseen", frame.c_str());
        return true;
    }
    sprite->setPosition(CCPoint(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre));
    sprite->setScale(0.01f);
    if (auto* layer = dynamic_cast<kvengine::CCNode*>(m_hostObject.get())) layer->addChild(sprite);
    sprite->runAction(kvengine::CCScaleTo::createWithDurationScale(kAppearTime, 1.0f));
    setSprite(sprite);
    return true;
}

void KVPickupHelmetV::update(float dt) {
    if (m_model == nullptr || !m_attached) return;
    m_elapsed += dt;
    if (!m_appeared) {
        if (m_elapsed > kAppearTime) m_appeared = true;
        return;
    }
    if (!m_collecting) {
        if (m_elapsed >= kRestTime) pickUp();
        // A slow bob, on the frame of the pick-up too.
        if (m_sprite != nullptr) {
            const CCPoint at = m_sprite->getPosition();
            m_sprite->setPosition(CCPoint(at.x, at.y + std::cos(5.0f * m_elapsed) / 5.0f));
        }
        return;
    }
    if (m_sprite == nullptr) return;
    CCPoint at = m_sprite->getPosition();
    const float left = kFlightTime - m_elapsed;
    // The last frame of the flight lands on the target: never a step past it.
    const float share = left > dt ? dt / left : 1.0f;
    if (left + dt > 0.0f)
        at = CCPoint(at.x + (m_target.x - at.x) * share, at.y + (m_target.y - at.y) * share);
    m_sprite->setPosition(at);
    m_sprite->setScale(std::fmax(0.0f, (0.8f - m_elapsed) / 0.8f));
}

void KVPickupHelmetV::pickUp() {
    float x = m_model->positionX, y = m_model->positionY;
    KVGameSetup* setup = KVGameSetup::existingInstance();
    auto* mission =
        setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
    if (KVPawn* pawn = mission != nullptr ? mission->getCurrentPawn() : nullptr) pawn->getPosition(&x, &y);
    m_target = CCPoint(x * kPointsPerMetre, y * kPointsPerMetre);
    m_elapsed = 0.0f;
    m_collecting = true;
    auto* helmet = static_cast<KVPickupHelmet*>(m_model.get());
    // Held: the removal below may end the model.
    helmet->retain();
    CCNotificationCenter::getInstance()->postNotification(EVENT_TREASURE_CHEST_HELMET_REWARD,
                                                          helmet->getHelmetName());
    helmet->grantReward();
    if (m_sprite != nullptr) {
        m_sprite->runAction(kvengine::CCSequence::createWithTwoActions(
            kvengine::CCFadeTo::createWithDurationOpacity(kFlightTime, 0),
            kvengine::CCCallFunc::createWithTargetSelector(this,
                                                           callfunc_selector(KVPickupHelmetV::postRemoval))));
    } else {
        postRemoval();
    }
    helmet->release();
}

void KVPickupHelmetV::postRemoval() {
    if (m_model == nullptr || m_model->isRemoved()) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, m_model);
}

void KVPickupHelmetV::onSingleTap(kvengine::CCNotification* notification) {
    (void)notification;
}

void KVPickupHelmetV::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    CCNotificationCenter::getInstance()->removeObserver(this);
    KVActorV::cleanupBeforeDelete();
}
