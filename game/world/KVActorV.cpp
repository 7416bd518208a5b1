#include "game/world/KVActorV.h"

#include "engine/actions/CCAnimate.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVActor.h"

#include <cstdio>

using kvengine::CCNotificationCenter;

namespace {

constexpr float kPointsPerMetre = 32.0f;
constexpr float kDegreesPerRadian = 57.29578f;

} // namespace

void KVActorV::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    m_sprite.reset();
    m_model.reset();
    m_hostObject.reset();
    m_host = nullptr;
    CCNode::cleanupBeforeDelete();
}

bool KVActorV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr) {
        kvengine::logDebugMessage("KVActorV::initWithActor: no model");
        return false;
    }
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    if (m_model != nullptr) centre->removeObserver(this, EVENT_REMOVE_ACTOR);
    m_model = model;
    m_hostObject = host != nullptr ? host->viewHostObject() : nullptr;
    m_host = host;
    m_sprite.reset();
    m_attached = true;
    centre->addObserver(this, notification_selector(KVActorV::onRemoveActor), EVENT_REMOVE_ACTOR, model);
    return true;
}

void KVActorV::setSprite(kvengine::CCNode* sprite) {
    m_sprite = sprite;
}

void KVActorV::update(float dt) {
    (void)dt;
    if (m_sprite == nullptr || m_model == nullptr) return;
    m_sprite->setPosition(
        kvengine::CCPoint(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre));
    m_sprite->setRotation(-(m_model->angle * kDegreesPerRadian));
}

void KVActorV::onRemoveActor(kvengine::CCNotification* notification) {
    (void)notification;
    if (m_sprite != nullptr && m_sprite->getParent() != nullptr) m_sprite->removeFromParent(true);
    m_attached = false;
    // Last: leaving the list may release this view.
    if (m_host != nullptr) m_host->removeActorView(this);
}

kvengine::CCAnimate* KVActorV::createFrameAnimation(const std::string& spriteName,
                                                    const std::string& animName, int first, int last,
                                                    float delay) {
    kvengine::CCAnimation* animation = kvengine::CCAnimation::create();
    animation->setDelay(delay);
    kvengine::CCSpriteFrameCache* cache = kvengine::CCSpriteFrameCache::getInstance();
    const std::string prefix = spriteName + "_" + animName + "_";
    for (int index = first; index <= last; ++index) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%.2d", index);
        const std::string name = prefix + digits + ".png";
        // A missing frame is logged by the cache and left out.
        if (kvengine::CCSpriteFrame* frame = cache->findSpriteFrameByName(name.c_str()))
            animation->addFrame(frame);
        if (index == last) break; // last == INT_MAX must not wrap the loop
    }
    return kvengine::CCAnimate::createWithAnimationRestore(animation, false);
}
