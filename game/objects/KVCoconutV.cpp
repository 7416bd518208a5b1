#include "game/objects/KVCoconutV.h"

#include "engine/actions/CCCallFunc.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/actions/CCScaleTo.h"
#include "engine/actions/CCSequence.h"
#include "engine/actions/CCSpawn.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVCoconut.h"

using kvengine::CCNotificationCenter;

namespace {
constexpr float kPointsPerMetre = 32.0f;
constexpr float kDegreesPerRadian = 57.29578f;
} // namespace

void KVCoconutV::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    KVActorV::cleanupBeforeDelete();
}

bool KVCoconutV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !acceptsModel(model)) {
        kvengine::logDebugMessage("%s::initWithActor: the model is not one this view shows", className());
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName(getFrameName());
    if (sprite == nullptr) return false;
    sprite->setPosition(
        kvengine::CCPoint(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre));
    // The picture is drawn for a radius of 1 m.
    if (model->isKindOf("KVCoconut")) sprite->setScale(static_cast<KVCoconut*>(model)->getRadius());
    setSprite(sprite);
    // On the level objects' sheet, where the gameplay layer draws it.
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(kSheetName) : nullptr;
    if (sheet != nullptr)
        sheet->addChild(sprite);
    else
        kvengine::logDebugMessage("%s::initWithActor: no sheet %s to draw on", className(), kSheetName);
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVCoconutV::onCoconutFall),
                                                     EVENT_COCONUT_FALL, nullptr);
    return true;
}

void KVCoconutV::update(float dt) {
    (void)dt;
    if (m_sprite == nullptr || m_model == nullptr) return;
    m_sprite->setPosition(
        kvengine::CCPoint(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre));
    m_sprite->setRotation(-(m_model->angle * kDegreesPerRadian));
}

void KVCoconutV::onCoconutFall(kvengine::CCNotification* notification) {
    if (notification == nullptr || m_model == nullptr || notification->getObject() != m_model) return;
    if (m_sprite == nullptr) {
        postRemoval();
        return;
    }
    auto* shrink = kvengine::CCScaleBy::createWithDurationScale(1.0f, 0.1f);
    auto* fade = kvengine::CCSequence::createWithTwoActions(
        kvengine::CCFadeTo::createWithDurationOpacity(0.7f, 0),
        kvengine::CCCallFunc::createWithTargetSelector(this, callfunc_selector(KVCoconutV::postRemoval)));
    m_sprite->runAction(kvengine::CCSpawn::createWithTwoActions(shrink, fade));
}

void KVCoconutV::postRemoval() {
    if (m_model == nullptr) return;
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, m_model);
}

bool KVCoconutV::acceptsModel(KVActor* model) {
    return model != nullptr && model->isKindOf("KVCoconut");
}

const char* KVCoconutV::getFrameName() {
    return "GPE_Ball.png";
}
