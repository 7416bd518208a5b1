#include "game/objects/KVCoconut.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVObjectBodies.h"
#include "game/world/KVPhysWorld.h"

using kvobjects::kPixelsPerMetre;

namespace {
constexpr float kDamping = 2.2f;
constexpr float kDefaultMass = 1.0f;
} // namespace

void KVCoconut::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVCoconut::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    b2World* world = kvobjects::worldForObject(properties, className());
    if (world == nullptr) return false;
    const int x = kvobjects::intProperty(properties, "x");
    const int y = kvobjects::intProperty(properties, "y");
    const int width = kvobjects::intProperty(properties, "width");
    const int height = kvobjects::intProperty(properties, "height");
    m_radius = static_cast<float>(width) / 2.0f / kPixelsPerMetre;
    if (kvengine::CCObject* density = properties->objectForKey("density"))
        if (density->isKindOf("CCString")) m_density = static_cast<kvengine::CCString*>(density)->toFloat();
    positionX = static_cast<float>((x + width / 2.0) / kPixelsPerMetre);
    positionY = static_cast<float>((y + height / 2.0) / kPixelsPerMetre);

    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(positionX, positionY);
    def.angle = 0.0f;
    def.linearDamping = kDamping;
    def.angularDamping = kDamping;
    def.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_body = world->CreateBody(&def);

    b2CircleShape ball;
    ball.m_radius = m_radius;
    b2FixtureDef ballFixture;
    ballFixture.shape = &ball;
    ballFixture.friction = 1.0f;
    ballFixture.restitution = 0.6f;
    ballFixture.density = m_density;
    ballFixture.filter.categoryBits = 0x0001;
    ballFixture.filter.maskBits = 0xFFFF;
    ballFixture.filter.groupIndex = 0;
    m_body->CreateFixture(&ballFixture);

    // The probe meets only group-1 fixtures: the map border, holes, vortices and other probes.
    b2CircleShape probe;
    probe.m_radius = m_radius / 6.0f;
    b2FixtureDef probeFixture;
    probeFixture.shape = &probe;
    probeFixture.friction = 0.2f;
    probeFixture.restitution = 0.0f;
    probeFixture.density = 0.0f;
    probeFixture.isSensor = true;
    probeFixture.filter.categoryBits = 0x0001;
    probeFixture.filter.maskBits = 0x0000;
    probeFixture.filter.groupIndex = 1;
    m_body->CreateFixture(&probeFixture);

    // A ball of density 0 keeps a mass of 0 in the physics engine and then passes through every
    // wall and post: give it a default mass of 1 kg (a solid disc) instead.
    if (!(m_body->GetMass() > 0.0f)) {
        b2MassData mass;
        mass.mass = kDefaultMass;
        mass.center.SetZero();
        mass.I = 0.5f * kDefaultMass * m_radius * m_radius;
        m_body->SetMassData(&mass);
    }

    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

std::string KVCoconut::viewClassName() {
    return "KVCoconutV";
}

void KVCoconut::update(float dt) {
    (void)dt;
    if (m_body == nullptr) return;
    positionX = m_body->GetPosition().x;
    positionY = m_body->GetPosition().y;
    angle = m_body->GetAngle();
    const bool fast = stopIfSlow();
    if (m_moving != 0.0f && !fast) {
        m_moving = 0.0f;
        kvobjects::post(EVENT_NOTIFY_IDLE, this);
    } else if (m_moving == 0.0f && fast) {
        m_moving = 1.0f;
        kvobjects::post(EVENT_NOTIFY_IN_ACTION, this);
    }
}
