#include "game/environment/KVAnimatedEnvSprite.h"

#include <cmath>
#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCRepeat.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCValue.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/environment/KVEnvLayer.h"

using namespace kvengine;

namespace {
constexpr float kDegreesPerRadian = 57.29578f;
constexpr float kFrameDelay = 0.2f;
constexpr float kFrameDelayRange = 0.05f;
} // namespace

KVAnimatedEnvSprite* KVAnimatedEnvSprite::createWithPath(SVGPointList* path) {
    auto* points = new SVGPointList();
    points->autorelease();
    for (unsigned i = 0; path != nullptr && i < path->count(); ++i) {
        CCValue<CCPoint>* point = path->objectAtIndex(i);
        if (point == nullptr) continue;
        if (points->count() > 0) {
            const CCPoint last = points->objectAtIndex(points->count() - 1)->value;
            if (last.x == point->value.x && last.y == point->value.y) continue;
        }
        points->addObject(point);
    }
    if (points->count() < 2) {
        logDebugMessage("KVAnimatedEnvSprite: a path needs two distinct points, it has %u", points->count());
        return nullptr;
    }
    auto* sprite = new KVAnimatedEnvSprite();
    points->retain();
    sprite->m_path = points;
    sprite->autorelease();
    return sprite;
}

bool KVAnimatedEnvSprite::initWithParams(kvdata::Dict* params) {
    const std::string name = kvdata::textAt(params, "sprite_name");
    const std::string first = name + "_01.png";
    if (name.empty() || m_path == nullptr ||
        !CCSpriteFrameCache::getInstance()->hasSpriteFrame(first.c_str())) {
        logDebugMessage("KVAnimatedEnvSprite: no frame '%s' (\"sprite_name\" is required)", first.c_str());
        return false;
    }
    m_speed = kvdata::floatAt(params, "speed");
    if (!(m_speed > 0.0f)) m_speed = kDefaultSpeed;
    const int frameCount = kvdata::intAt(params, "frame_count");
    const float delay = kFrameDelay + CCRandom::randomMinus1To1() * kFrameDelayRange;
    auto* animation = CCAnimation::create();
    animation->setDelay(delay);
    char number[16];
    for (int i = 1; i <= frameCount && i <= KVEnvLayer::kMaxFrames; ++i) {
        std::snprintf(number, sizeof number, "_%.2d.png", i);
        animation->addFrameWithName((name + number).c_str());
    }
    CCSprite* sprite = CCSprite::createWithSpriteFrameName(first.c_str());
    if (animation->getFrames()->count() > 0)
        sprite->runAction(
            CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(animation, false)));
    sprite->setPosition(pointAt(0));
    sprite->retain();
    if (m_sprite != nullptr) m_sprite->release();
    m_sprite = sprite;
    m_nextPoint = 1;
    return true;
}

unsigned KVAnimatedEnvSprite::pointCount() const {
    return m_path != nullptr ? m_path->count() : 0;
}

CCPoint KVAnimatedEnvSprite::pointAt(unsigned index) const {
    return index < pointCount() ? m_path->objectAtIndex(index)->value : CCPoint(0, 0);
}

void KVAnimatedEnvSprite::update(float dt) {
    if (m_sprite == nullptr || pointCount() < 2 || !(dt > 0.0f)) return;
    const float step = m_speed * dt;
    const CCPoint target = pointAt(static_cast<unsigned>(m_nextPoint));
    const CCPoint position = m_sprite->getPosition();
    const float dx = target.x - position.x;
    const float dy = target.y - position.y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (step < distance) {
        const float u = dx / distance;
        const float v = dy / distance;
        m_sprite->setPosition(CCPoint(position.x + u * step, position.y + v * step));
        // 0 degrees faces up the screen, 90 to the right.
        m_sprite->setRotation(90.0f - std::atan2(v, u) * kDegreesPerRadian);
        return;
    }
    m_sprite->setPosition(target);
    ++m_nextPoint;
    if (m_nextPoint >= static_cast<int>(pointCount())) {
        m_sprite->setPosition(pointAt(0));
        m_nextPoint = 1;
    }
}

void KVAnimatedEnvSprite::cleanupBeforeDelete() {
    if (m_sprite != nullptr) m_sprite->release();
    if (m_path != nullptr) m_path->release();
    m_sprite = nullptr;
    m_path = nullptr;
    KVObject::cleanupBeforeDelete();
}
