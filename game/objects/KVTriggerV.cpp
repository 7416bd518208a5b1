#include "game/objects/KVTriggerV.h"

#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCDelayTime.h"
#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCSequence.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVTrigger.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCSprite;

namespace {

constexpr float kPointsPerMetre = 32.0f;

std::string frameName(const std::string& stem, int number) {
    char name[128];
    std::snprintf(name, sizeof name, "%s_%.2d.png", stem.c_str(), number);
    return name;
}

} // namespace

void KVTriggerV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    if (m_sprite != nullptr) m_sprite->stopAllActions();
    KVActorV::cleanupBeforeDelete();
}

bool KVTriggerV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVTrigger")) {
        kvengine::logDebugMessage("KVTriggerV::initWithActor: the model is no trigger");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* trigger = static_cast<KVTrigger*>(model);
    m_stem = trigger->getImageStem();
    const bool hidden = m_stem == KVTrigger::kHiddenCharacterImage;
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(frameName(m_stem, 1).c_str());
    if (sprite == nullptr) return false; // the frame cache logs the missing frame
    sprite->setPosition(
        kvengine::CCPoint(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre));
    sprite->setScale(hidden ? 1.0f : trigger->getRadius());
    setSprite(sprite);
    if (trigger->isEnabled())
        startAnimation();
    else
        sprite->setVisible(false);
    if (m_stem == KVTrigger::kDefaultImage)
        m_sheetName = "low_sfx_88_ss";
    else if (hidden)
        m_sheetName = "hidden_char1_TC2_ss";
    kvengine::CCNode* sheet =
        !m_sheetName.empty() && host != nullptr ? host->viewSheet(m_sheetName) : nullptr;
    if (sheet != nullptr) {
        sheet->addChildAtZ(sprite, kSpriteZ);
    } else {
        if (!m_sheetName.empty())
            kvengine::logDebugMessage(
                "KVTriggerV: sheet %s is not loaded; trigger \"%s\" unseen", m_sheetName.c_str(),
                (trigger->getName() != nullptr ? trigger->getName()->text.c_str() : ""));
        m_sheetName.clear();
    }
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVTriggerV::onTriggerEnable), EVENT_TRIGGER_ENABLE);
    centre->addObserver(this, notification_selector(KVTriggerV::onTriggerTriggered), EVENT_TRIGGER_TRIGGERED);
    return true;
}

void KVTriggerV::startAnimation() {
    if (m_sprite == nullptr) return;
    kvengine::CCSpriteFrameCache* cache = kvengine::CCSpriteFrameCache::getInstance();
    auto* frames = new kvengine::CCMutableArray<kvengine::CCSpriteFrame*>();
    for (int number = 1; cache->hasSpriteFrame(frameName(m_stem, number).c_str()); ++number)
        frames->addObject(cache->findSpriteFrameByName(frameName(m_stem, number).c_str()));
    kvengine::CCAnimation* animation = kvengine::CCAnimation::createWithFramesDelay(frames, kFrameDelay);
    frames->release();
    kvengine::CCFiniteTimeAction* once = kvengine::CCAnimate::createWithAnimationRestore(animation, false);
    if (m_stem == KVTrigger::kHiddenCharacterImage)
        once = kvengine::CCSequence::createWithTwoActions(
            once, kvengine::CCDelayTime::createWithDuration(kHiddenCharacterPause));
    m_sprite->stopAllActions();
    m_sprite->runAction(
        kvengine::CCRepeatForever::createWithAction(static_cast<kvengine::CCActionInterval*>(once)));
    m_sprite->setVisible(true);
}

bool KVTriggerV::matchesModel(CCNotification* notification) const {
    auto* event =
        dynamic_cast<KVTriggerEvent*>(notification != nullptr ? notification->getObject() : nullptr);
    auto* trigger = static_cast<KVTrigger*>(m_model.get());
    return event != nullptr && trigger != nullptr && event->name != nullptr &&
           trigger->getName() != nullptr && event->name->text == trigger->getName()->text;
}

void KVTriggerV::onTriggerEnable(CCNotification* notification) {
    if (matchesModel(notification)) startAnimation();
}

void KVTriggerV::onTriggerTriggered(CCNotification* notification) {
    if (!matchesModel(notification) || m_sprite == nullptr) return;
    m_sprite->stopAllActions();
    m_sprite->setVisible(false);
}
