#include "game/objects/KVObjectBodies.h"

#include <box2d/box2d.h>

#include <cstdlib>
#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/world/KVActor.h"
#include "game/world/KVPhysWorld.h"

namespace kvobjects {

b2Body* createCircleBody(KVActor* owner, bool dynamic, float x, float y,
                         std::initializer_list<CircleFixture> fixtures, const char* who) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr) {
        kvengine::logDebugMessage("%s: no physics world, no body", who);
        return nullptr;
    }
    b2BodyDef def;
    def.type = dynamic ? b2_dynamicBody : b2_staticBody;
    def.position.Set(x, y);
    def.awake = true;
    def.userData.pointer = reinterpret_cast<uintptr_t>(owner);
    b2Body* body = world->CreateBody(&def);
    for (const CircleFixture& each : fixtures) {
        b2CircleShape circle;
        circle.m_radius = each.radius;
        b2FixtureDef fixture;
        fixture.shape = &circle;
        fixture.friction = each.friction;
        fixture.restitution = each.restitution;
        fixture.density = each.density;
        fixture.isSensor = each.sensor;
        fixture.filter.categoryBits = each.categoryBits;
        fixture.filter.maskBits = each.maskBits;
        fixture.filter.groupIndex = each.groupIndex;
        body->CreateFixture(&fixture);
    }
    return body;
}

b2Body* createStaticOutline(KVActor* owner, float x, float y, float width, float height,
                            const EdgeFixture& edge, const char* who) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr) {
        kvengine::logDebugMessage("%s: no physics world, no body", who);
        return nullptr;
    }
    b2BodyDef def;
    def.type = b2_staticBody;
    def.position.Set(x, y);
    def.userData.pointer = reinterpret_cast<uintptr_t>(owner);
    b2Body* body = world->CreateBody(&def);
    const b2Vec2 corners[4] = {b2Vec2(0.0f, 0.0f), b2Vec2(width, 0.0f), b2Vec2(width, height),
                               b2Vec2(0.0f, height)};
    for (int i = 0; i < 4; ++i) {
        b2EdgeShape shape;
        shape.SetTwoSided(corners[i], corners[(i + 1) % 4]);
        shape.m_radius = 0.01f;
        b2FixtureDef fixture;
        fixture.shape = &shape;
        fixture.friction = edge.friction;
        fixture.restitution = 0.0f;
        fixture.density = 0.0f;
        fixture.isSensor = edge.sensor;
        fixture.filter.categoryBits = edge.categoryBits;
        fixture.filter.maskBits = edge.maskBits;
        fixture.filter.groupIndex = edge.groupIndex;
        body->CreateFixture(&fixture);
    }
    return body;
}

void post(kvengine::CCString* name, kvengine::CCObject* object) {
    if (KVPhysWorld* physics = KVPhysWorld::existingInstance())
        physics->postNotification(name, object);
    else
        kvengine::CCNotificationCenter::getInstance()->postNotification(name, object);
}

void destroyBody(b2Body* body, KVActor* owner) {
    if (body == nullptr) return;
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    if (physics != nullptr && physics->getWorld() != nullptr) physics->destroyBody(body, owner);
}

int intProperty(Dict* dict, const char* key) {
    if (dict == nullptr) return 0;
    kvengine::CCObject* value = dict->objectForKey(key);
    if (value == nullptr || !value->isKindOf("CCString")) return 0;
    return std::atoi(static_cast<kvengine::CCString*>(value)->text.c_str());
}

float floatProperty(Dict* dict, const char* key) {
    kvengine::CCObject* value = dict != nullptr ? dict->objectForKey(key) : nullptr;
    if (value == nullptr || !value->isKindOf("CCString")) return 0.0f;
    return static_cast<kvengine::CCString*>(value)->toFloat();
}

b2World* worldForObject(Dict* properties, const char* who) {
    if (properties == nullptr) {
        kvengine::logDebugMessage("%s: no object dictionary", who);
        return nullptr;
    }
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr) kvengine::logDebugMessage("%s: no physics world", who);
    return world;
}

void placeAtTileCentre(Dict* dict, KVActor* actor) {
    if (actor == nullptr) return;
    const double x = intProperty(dict, "x"), y = intProperty(dict, "y");
    const double width = intProperty(dict, "width"), height = intProperty(dict, "height");
    actor->positionX = static_cast<float>((x + width / 2.0) / kPixelsPerMetre);
    actor->positionY = static_cast<float>((y + height / 2.0) / kPixelsPerMetre);
}

} // namespace kvobjects
