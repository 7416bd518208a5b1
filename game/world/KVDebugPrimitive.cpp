#include "game/world/KVDebugPrimitive.h"

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"

using kvengine::CCNotificationCenter;

KVDebugPrimitive* KVDebugPrimitive::createLine(float lifetime, float x1, float y1, float x2, float y2) {
    auto* primitive = new KVDebugPrimitive();
    primitive->initSegment(x1, y1, x2, y2, lifetime);
    primitive->autorelease();
    return primitive;
}

KVDebugPrimitive* KVDebugPrimitive::createPermanentLine(float x1, float y1, float x2, float y2) {
    return createLine(0.0f, x1, y1, x2, y2);
}

void KVDebugPrimitive::initSegment(float x1_, float y1_, float x2_, float y2_, float lifetime_) {
    KVActor::init();
    kind = 1;
    points = nullptr;
    pointCount = 0;
    lifetime = lifetime_;
    x1 = x1_;
    y1 = y1_;
    x2 = x2_;
    y2 = y2_;
    CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
}

void KVDebugPrimitive::initPoints(kvengine::CCMutableArray<kvengine::CCObject*>* points_, int count,
                                  float value, float lifetime_) {
    KVActor::init();
    kind = 0;
    x1 = y1 = x2 = y2 = 0.0f;
    points = points_;
    pointCount = count;
    pointListValue = value;
    lifetime = lifetime_;
    CCNotificationCenter::getInstance()->postNotification(EVENT_NEW_ACTOR, this);
}

void KVDebugPrimitive::update(float dt) {
    if (lifetime == 0.0f) return;
    if (!std::isfinite(dt)) {
        kvengine::logDebugMessage("KVDebugPrimitive::update: time step %f ignored", static_cast<double>(dt));
        return;
    }
    lifetime -= dt;
    if (lifetime <= 0.0f) {
        lifetime = 0.0f;
        CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, this);
    }
}
