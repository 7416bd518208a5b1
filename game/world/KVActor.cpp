#include "game/world/KVActor.h"

#include <box2d/box2d.h>

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"

using kvengine::CCNotificationCenter;

namespace {
// Speed at or under which a moving actor counts as come to rest, m/s.
constexpr float kRestSpeed = 0.5f;
} // namespace

void KVActor::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    KVObject::cleanupBeforeDelete();
}

bool KVActor::init() {
    positionX = 0.0f;
    positionY = 0.0f;
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVActor::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, this);
    return true;
}

bool KVActor::initWithDictionary(
    kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* properties) {
    (void)properties;
    return init();
}

bool KVActor::initWithBody(b2Body* body) {
    (void)body;
    return false;
}

void KVActor::applyParameters(kvengine::CCMutableDictionary<std::string, kvengine::CCObject*>* extra) {
    (void)extra;
}

std::string KVActor::viewClassName() {
    return std::string();
}

bool KVActor::beginContact(KVContactInfo* contact) {
    (void)contact;
    return false;
}

bool KVActor::endContact(KVContactInfo* contact) {
    (void)contact;
    return false;
}

bool KVActor::preSolve(KVContactInfo* contact) {
    (void)contact;
    return false;
}

bool KVActor::postSolve(KVContactInfo* contact) {
    (void)contact;
    return false;
}

b2Body* KVActor::getBody() {
    return nullptr;
}

bool KVActor::isCameraTarget() {
    return true;
}

bool KVActor::triggersBounce() {
    return false;
}

bool KVActor::countsForBounceAchievement() {
    return false;
}

void KVActor::getPosition(float* x, float* y) {
    if (x != nullptr) *x = positionX;
    if (y != nullptr) *y = positionY;
}

void KVActor::onRemoveActor(kvengine::CCNotification* notification) {
    (void)notification;
    removed = true;
}

bool KVActor::stopIfSlow() {
    b2Body* body = getBody();
    if (body == nullptr) return false;
    if (body->GetLinearVelocity().Length() <= kRestSpeed) {
        body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
        return false;
    }
    return true;
}

float KVActor::getBodySpeed() {
    b2Body* body = getBody();
    return body != nullptr ? body->GetLinearVelocity().Length() : 0.0f;
}
