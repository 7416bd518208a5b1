#include "game/objects/KVGeyser.h"

#include <box2d/box2d.h>

#include <cmath>
#include <cstdlib>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVVortex.h"
#include "game/pawns/KVPawn.h"

using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;

namespace {

constexpr float kHalfPi = 1.5707964f;
constexpr std::uint16_t kGeyserCategory = 0x0002;

bool isAnchoredPawn(KVActor* actor) {
    return actor->isKindOf("KVPawn") && static_cast<KVPawn*>(actor)->isAnchored();
}

bool isDeadPawn(KVActor* actor) {
    return actor->isKindOf("KVPawn") && static_cast<KVPawn*>(actor)->isDead();
}

} // namespace

void KVGeyser::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    if (m_actors != nullptr) m_actors->release();
    m_actors = nullptr;
    KVActor::cleanupBeforeDelete();
}

bool KVGeyser::initWithBody(b2Body* body) {
    b2Fixture* fixture = body != nullptr ? body->GetFixtureList() : nullptr;
    const b2Shape* shape = fixture != nullptr ? fixture->GetShape() : nullptr;
    if (shape == nullptr || shape->GetType() != b2Shape::e_polygon ||
        static_cast<const b2PolygonShape*>(shape)->m_count < 4) {
        kvengine::logDebugMessage(
            "KVGeyser: %s",
            body == nullptr ? "no body" : "the drawn shape is no four-cornered polygon: no geyser made");
        return false;
    }
    if (!KVActor::init()) return false;
    m_body = body;
    body->GetUserData().pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
    m_pushAngle = body->GetAngle() + kHalfPi;
    angle = m_pushAngle;
    if (m_actors == nullptr) m_actors = new CCMutableArray<KVActor*>();
    b2Filter filter = fixture->GetFilterData();
    filter.categoryBits = kGeyserCategory;
    fixture->SetFilterData(filter);

    const b2Vec2* p = static_cast<const b2PolygonShape*>(shape)->m_vertices;
    const b2Vec2 base = b2Mul(b2Rot(body->GetAngle()), p[0] - p[3]);
    positionX = body->GetPosition().x + base.x;
    positionY = body->GetPosition().y + base.y;
    m_width = (p[1] - p[0]).Length();
    m_height = (p[2] - p[1]).Length();
    m_busy = false;
    m_restTime = 0.0f;
    m_restFrom.clear();
    CCNotificationCenter::getInstance()->addObserver(this, notification_selector(KVGeyser::onRemoveActor),
                                                     EVENT_REMOVE_ACTOR, nullptr);
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

void KVGeyser::applyParameters(kvobjects::Dict* extra) {
    auto* power =
        dynamic_cast<kvengine::CCString*>(extra != nullptr ? extra->objectForKey("power") : nullptr);
    m_power = power != nullptr ? static_cast<float>(std::atof(power->text.c_str())) * 0.5f : 0.0f;
}

void KVGeyser::update(float dt) {
    if (m_actors == nullptr) return;
    const b2Vec2 push(m_power * std::cos(m_pushAngle), m_power * std::sin(m_pushAngle));
    bool holdsMover = false;
    CCMutableArray<KVActor*>* inside = CCMutableArray<KVActor*>::createWithArray(m_actors);
    for (KVActor* actor : *inside) {
        const bool anchored = isAnchoredPawn(actor);
        holdsMover = holdsMover || !anchored;
        b2Body* body = actor->getBody();
        if (body == nullptr || isDeadPawn(actor)) continue;
        if (!anchored && body->GetLinearVelocity().x == 0.0f && body->GetLinearVelocity().y == 0.0f)
            body->SetLinearVelocity(push);
        body->ApplyLinearImpulse(push, body->GetPosition(), true);
    }
    const bool pushing = holdsMover && !areBodiesStuck(inside, dt);
    if (m_busy && !pushing) {
        m_busy = false;
        kvobjects::post(EVENT_NOTIFY_IDLE, this);
    } else if (!m_busy && pushing) {
        m_busy = true;
        kvobjects::post(EVENT_NOTIFY_IN_ACTION, this);
    }
}

bool KVGeyser::areBodiesStuck(CCMutableArray<KVActor*>* inside, float dt) {
    bool moved = m_restFrom.size() != inside->count();
    for (size_t i = 0; !moved && i < m_restFrom.size(); ++i) {
        KVActor* actor = inside->objectAtIndex(static_cast<unsigned>(i));
        b2Body* body = actor->getBody();
        if (actor != m_restFrom[i].first) {
            moved = true;
        } else if (body != nullptr) {
            const b2Vec2 from(m_restFrom[i].second.x, m_restFrom[i].second.y);
            moved = (body->GetPosition() - from).Length() > kRestDistance;
        }
    }
    if (moved) {
        // A new window from where everything is now.
        m_restFrom.clear();
        for (KVActor* actor : *inside) {
            b2Body* body = actor->getBody();
            b2Vec2Pod at;
            if (body != nullptr) {
                at.x = body->GetPosition().x;
                at.y = body->GetPosition().y;
            }
            m_restFrom.emplace_back(actor, at);
        }
        m_restTime = 0.0f;
        return false;
    }
    m_restTime += dt;
    return m_restTime >= kRestSeconds;
}

bool KVGeyser::beginContact(KVContactInfo* contact) {
    return kvHazardContactBegins(m_actors, contact);
}

bool KVGeyser::endContact(KVContactInfo* contact) {
    return kvHazardContactEnds(m_actors, contact);
}

void KVGeyser::onRemoveActor(kvengine::CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == this) KVActor::onRemoveActor(notification);
    kvHazardForgetsActor(m_actors, object);
}
