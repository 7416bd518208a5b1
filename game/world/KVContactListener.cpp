#include "game/world/KVContactListener.h"

#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVActor.h"
#include "game/world/KVContactInfo.h"
#include "game/world/KVPhysWorld.h"

namespace {

// Contact points reach the actors in points, the unit of view positions.
constexpr float kPointsPerMetre = 32.0f;

KVContactFilter filterOf(const b2Fixture* fixture) {
    const b2Filter& filter = fixture->GetFilterData();
    KVContactFilter result;
    result.categoryBits = filter.categoryBits;
    result.maskBits = filter.maskBits;
    result.groupIndex = filter.groupIndex;
    return result;
}

// Only pawns blink; their side and death are asked through the actor.
bool isPawn(const KVActor* actor) {
    return actor != nullptr && actor->isKindOf("KVPawn");
}

} // namespace

KVActor* KVContactListener::actorOf(const b2Body* body) {
    if (body == nullptr) return nullptr;
    return reinterpret_cast<KVActor*>(const_cast<b2Body*>(body)->GetUserData().pointer);
}

KVActor* KVContactListener::actorOfFixture(b2Fixture* fixture) const {
    b2Body* body = fixture->GetBody();
    if (m_physWorld != nullptr && m_physWorld->isBodyPendingDestruction(body)) return nullptr;
    return actorOf(body);
}

bool KVContactListener::isIgnored(b2Fixture* fixture) const {
    b2Body* body = fixture->GetBody();
    if (m_physWorld != nullptr && m_physWorld->isBodyPendingDestruction(body)) return true;
    KVActor* actor = actorOf(body);
    return actor != nullptr && actor->removed;
}

bool KVContactListener::call(KVActor* actor, Event event, KVContactInfo* info) {
    switch (event) {
    case Event::Begin:
        return actor->beginContact(info);
    case Event::PreSolve:
        return actor->preSolve(info);
    case Event::PostSolve:
        return actor->postSolve(info);
    }
    return false;
}

void KVContactListener::reportToBoth(b2Contact* contact, Event event) {
    b2Fixture* fixtureA = contact->GetFixtureA();
    b2Fixture* fixtureB = contact->GetFixtureB();
    KVActor* a = actorOfFixture(fixtureA);
    KVActor* b = actorOfFixture(fixtureB);
    if (a == nullptr && b == nullptr) return;

    float pointX = 0.0f, pointY = 0.0f, normalX = 0.0f, normalY = 0.0f;
    if (contact->GetManifold()->pointCount > 0) {
        b2WorldManifold manifold;
        contact->GetWorldManifold(&manifold);
        pointX = manifold.points[0].x * kPointsPerMetre;
        pointY = manifold.points[0].y * kPointsPerMetre;
        normalX = manifold.normal.x;
        normalY = manifold.normal.y;
    }
    const KVContactFilter filterA = filterOf(fixtureA);
    const KVContactFilter filterB = filterOf(fixtureB);

    // An actor's answer may end the event; either call may also post or mark actors removed, so
    // nothing read before a call is trusted to still describe the world after it, except the
    // record itself.
    if (a != nullptr) {
        KVContactInfo info{a, b, pointX, pointY, normalX, normalY, filterA, filterB, contact};
        if (call(a, event, &info)) return;
    }
    if (b != nullptr) {
        KVContactInfo info{b, a, pointX, pointY, -normalX, -normalY, filterB, filterA, contact};
        call(b, event, &info);
    }
}

void KVContactListener::BeginContact(b2Contact* contact) {
    if (isIgnored(contact->GetFixtureA()) || isIgnored(contact->GetFixtureB())) return;
    reportToBoth(contact, Event::Begin);
}

void KVContactListener::PreSolve(b2Contact* contact, const b2Manifold* oldManifold) {
    (void)oldManifold;
    // Removed actors stop colliding in the very step in which they are removed.
    if (isIgnored(contact->GetFixtureA()) || isIgnored(contact->GetFixtureB())) {
        contact->SetEnabled(false);
        return;
    }
    reportToBoth(contact, Event::PreSolve);
}

void KVContactListener::PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) {
    (void)impulse;
    if (isIgnored(contact->GetFixtureA()) || isIgnored(contact->GetFixtureB())) return;
    reportToBoth(contact, Event::PostSolve);
}

void KVContactListener::EndContact(b2Contact* contact) {
    if (isIgnored(contact->GetFixtureA()) || isIgnored(contact->GetFixtureB())) return;
    KVActor* a = actorOfFixture(contact->GetFixtureA());
    KVActor* b = actorOfFixture(contact->GetFixtureB());
    if (a == nullptr || b == nullptr) return;

    KVContactInfo infoA;
    infoA.self = a;
    infoA.other = b;
    if (a->endContact(&infoA)) return;
    KVContactInfo infoB;
    infoB.self = b;
    infoB.other = a;
    b->endContact(&infoB);
    postBlinkIfNeeded(a, b);
}

void KVContactListener::postBlinkIfNeeded(KVActor* a, KVActor* b) {
    if (!isPawn(a) || !isPawn(b)) return;
    KVActor* player = nullptr;
    if (!a->isEnemy() && b->isEnemy())
        player = a;
    else if (a->isEnemy() && !b->isEnemy())
        player = b;
    if (player == nullptr || player->isDeathAnnounced()) return;
    if (m_physWorld != nullptr)
        m_physWorld->postNotification(EVENT_KELVO_BLINKS, player);
    else
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_KELVO_BLINKS, player);
}
