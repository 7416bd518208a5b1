#include "game/objects/KVStickyWall.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotificationCenter;

void KVStickyWall::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    if (m_actors != nullptr) {
        m_actors->release();
        m_actors = nullptr;
    }
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVStickyWall::initWithRect(float x, float y, float width, float height) {
    if (!KVActor::init()) return false;
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr || !(width > 0.0f) || !(height > 0.0f)) {
        kvengine::logDebugMessage(world == nullptr ? "KVStickyWall: no physics world"
                                                   : "KVStickyWall: a wall needs a positive size");
        return false;
    }
    if (m_actors == nullptr) m_actors = new kvengine::CCMutableArray<KVActor*>();

    b2BodyDef def;
    def.type = b2_staticBody;
    def.position.Set(x + width / 2.0f, y + height / 2.0f);
    def.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_body = world->CreateBody(&def);
    b2PolygonShape box;
    box.SetAsBox(width / 2.0f, height / 2.0f);
    box.m_radius = 0.01f;
    b2FixtureDef fixture;
    fixture.shape = &box;
    fixture.friction = 0.3f;
    fixture.restitution = 0.0f;
    fixture.density = 0.0f;
    fixture.filter.categoryBits = 0x0001;
    fixture.filter.maskBits = 0xFFFF;
    fixture.filter.groupIndex = 3;
    m_body->CreateFixture(&fixture);
    positionX = def.position.x;
    positionY = def.position.y;

    kvobjects::post(EVENT_NEW_ACTOR, this);
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVStickyWall::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, nullptr);
    return true;
}

bool KVStickyWall::endContact(KVContactInfo* contact) {
    if (contact != nullptr && contact->other != nullptr && m_actors != nullptr)
        m_actors->addObject(contact->other);
    return true;
}

void KVStickyWall::update(float dt) {
    (void)dt;
    if (m_actors == nullptr) return;
    for (unsigned int i = 0; i < m_actors->count(); ++i) {
        b2Body* body = m_actors->objectAtIndex(i)->getBody();
        if (body != nullptr && body->GetType() != b2_staticBody) body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    }
    m_actors->removeAllObjects();
}

void KVStickyWall::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* removedObject = notification != nullptr ? notification->getObject() : nullptr;
    if (removedObject == this) KVActor::onRemoveActor(notification);
    if (m_actors == nullptr || removedObject == nullptr) return;
    // Every entry of that actor goes: a body may leave the wall twice in one frame.
    for (unsigned int i = m_actors->count(); i > 0; --i)
        if (m_actors->objectAtIndex(i - 1) == removedObject) m_actors->removeObjectAtIndex(i - 1);
}
