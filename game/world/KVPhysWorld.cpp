#include "game/world/KVPhysWorld.h"

#include <algorithm>
#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/data/KVGameSetup.h"
#include "game/world/KVContactListener.h"

using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

constexpr int kVelocityIterations = 8;
constexpr int kPositionIterations = 8;
constexpr int kMaxFixedSteps = 5;
constexpr float kFixedStep = 1.0f / 60.0f;
// A remainder shorter than this is folded into the sub-step before it instead of becoming a tiny
// step of its own.
constexpr float kSmallestStep = 1.0f / 600.0f;

// Finds the first fixture near a point, in the broad phase's order.
class KVQueryCallback : public b2QueryCallback {
public:
    bool ReportFixture(b2Fixture* fixture) override {
        if ((fixture->GetFilterData().categoryBits & categoryMask) == 0) return true;
        if (skipStatic && fixture->GetBody()->GetType() == b2_staticBody) return true;
        const b2Shape* shape = fixture->GetShape();
        if (preciseCircleTest && shape->GetType() == b2Shape::e_circle) {
            // The body's position stands for the circle's centre: circles are made centred.
            const float distance = (fixture->GetBody()->GetPosition() - centre).Length();
            if (distance >= shape->m_radius + radius) return true;
        }
        result = fixture;
        return false;
    }

    b2Fixture* result = nullptr;
    uint16 categoryMask = 0xFFFF;
    bool skipStatic = false;
    bool preciseCircleTest = true;
    b2Vec2 centre{0.0f, 0.0f};
    float radius = 0.0f;
};

} // namespace

KVPhysWorld::~KVPhysWorld() {
    destroyWorld();
}

void KVPhysWorld::cleanupBeforeDelete() {
    // The world itself goes in the destructor, after every reference is gone.
    KVSingletonObject::cleanupBeforeDelete();
}

void KVPhysWorld::createWorld() {
    if (isStepping()) {
        logDebugMessage("KVPhysWorld::createWorld: refused during a step");
        return;
    }
    destroyWorld();
    // The setting is read as a flag ("YES" or a non-zero number); a missing one is logged by the
    // settings and counts as off: one variable step per update.
    KVGameSetup* settings = KVGameSetup::existingInstance();
    if (settings != nullptr) {
        m_fixedTimeStep = settings->getConfigBool("PhysicsUseFixedTimeStep");
    } else {
        logDebugMessage("KVPhysWorld::createWorld: no game settings; variable time step");
        m_fixedTimeStep = false;
    }
    m_world = new b2World(b2Vec2(0.0f, 0.0f));
    m_world->SetAllowSleeping(true);
    m_contactListener = new KVContactListener(this);
    m_world->SetContactListener(m_contactListener);
}

void KVPhysWorld::destroyWorld() {
    if (m_world == nullptr) return;
    if (isStepping()) {
        logDebugMessage("KVPhysWorld::destroyWorld: refused during a step");
        return;
    }
    dropQueuedPosts();
    m_pendingBodies.clear();
    delete m_world;
    m_world = nullptr;
    delete m_contactListener;
    m_contactListener = nullptr;
}

int KVPhysWorld::planFixedSteps(float dt, float steps[5]) {
    float remaining = dt;
    int count = 0;
    while (remaining > 0.0f && count < kMaxFixedSteps) {
        float h = std::min(remaining, kFixedStep);
        remaining -= h;
        if (remaining < kSmallestStep) {
            h += remaining;
            remaining = 0.0f;
        }
        steps[count++] = h;
    }
    return count;
}

void KVPhysWorld::update(float dt) {
    if (m_world == nullptr) return;
    if (!std::isfinite(dt) || dt < 0.0f) {
        logDebugMessage("KVPhysWorld::update: time step %f refused", static_cast<double>(dt));
        return;
    }
    if (isStepping()) {
        logDebugMessage("KVPhysWorld::update: refused inside a step");
        return;
    }
    // Observers reached after the step may release the shared object.
    retain();
    if (m_fixedTimeStep) {
        float steps[kMaxFixedSteps];
        const int count = planFixedSteps(dt, steps);
        for (int i = 0; i < count && m_world != nullptr; ++i)
            m_world->Step(steps[i], kVelocityIterations, kPositionIterations);
        if (m_world != nullptr) m_world->ClearForces();
    } else {
        m_world->Step(dt, kVelocityIterations, kPositionIterations);
    }
    finishStep();
    release();
}

void KVPhysWorld::finishStep() {
    std::vector<b2Body*> bodies;
    bodies.swap(m_pendingBodies);
    for (b2Body* body : bodies) {
        if (m_world != nullptr) m_world->DestroyBody(body);
    }

    std::vector<QueuedPost> posts;
    posts.swap(m_queuedPosts);
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    for (const QueuedPost& post : posts) {
        centre->postNotification(post.name, post.object, post.userInfo);
        post.name->release();
        if (post.object != nullptr) post.object->release();
        if (post.userInfo != nullptr) post.userInfo->release();
    }
}

void KVPhysWorld::dropQueuedPosts() {
    std::vector<QueuedPost> posts;
    posts.swap(m_queuedPosts);
    for (const QueuedPost& post : posts) {
        post.name->release();
        if (post.object != nullptr) post.object->release();
        if (post.userInfo != nullptr) post.userInfo->release();
    }
}

bool KVPhysWorld::isStepping() const {
    return m_world != nullptr && m_world->IsLocked();
}

void KVPhysWorld::postNotification(CCString* name, CCObject* object, CCObject* userInfo) {
    if (name == nullptr) {
        logDebugMessage("KVPhysWorld::postNotification: null name");
        return;
    }
    if (!isStepping()) {
        CCNotificationCenter::getInstance()->postNotification(name, object, userInfo);
        return;
    }
    name->retain();
    if (object != nullptr) object->retain();
    if (userInfo != nullptr) userInfo->retain();
    m_queuedPosts.push_back(QueuedPost{name, object, userInfo});
}

bool KVPhysWorld::ownsBody(const b2Body* body) const {
    if (m_world == nullptr || body == nullptr) return false;
    // Walked rather than trusted: a body of a world already destroyed must not be touched.
    for (const b2Body* candidate = m_world->GetBodyList(); candidate != nullptr;
         candidate = candidate->GetNext())
        if (candidate == body) return true;
    return false;
}

bool KVPhysWorld::isBodyPendingDestruction(const b2Body* body) const {
    return std::find(m_pendingBodies.begin(), m_pendingBodies.end(), body) != m_pendingBodies.end();
}

bool KVPhysWorld::destroyBody(b2Body* body, KVActor* owner) {
    if (!ownsBody(body)) {
        logDebugMessage("KVPhysWorld::destroyBody: the body is not in the current world");
        return false;
    }
    if (isBodyPendingDestruction(body)) return true;
    if (owner != nullptr && KVContactListener::actorOf(body) != owner) {
        logDebugMessage("KVPhysWorld::destroyBody: the body belongs to another actor");
        return false;
    }
    // Its actor may be gone before the body: nobody reads the pointer again.
    body->GetUserData().pointer = 0;
    if (isStepping()) {
        m_pendingBodies.push_back(body);
        return true;
    }
    m_world->DestroyBody(body);
    return true;
}

b2Fixture* KVPhysWorld::queryFixtureNear(const b2Vec2& centre, float radius, bool skipStatic) {
    if (m_world == nullptr) return nullptr;
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !std::isfinite(radius) || radius < 0.0f) {
        logDebugMessage("KVPhysWorld::queryFixtureNear: bad centre or radius");
        return nullptr;
    }
    KVQueryCallback callback;
    callback.skipStatic = skipStatic;
    callback.centre = centre;
    callback.radius = radius;
    b2AABB box;
    box.lowerBound.Set(centre.x - radius, centre.y - radius);
    box.upperBound.Set(centre.x + radius, centre.y + radius);
    m_world->QueryAABB(&callback, box);
    return callback.result;
}

b2Fixture* KVPhysWorld::queryMovableFixtureNear(const b2Vec2& centre, float radius) {
    return queryFixtureNear(centre, radius, true);
}

b2Fixture* KVPhysWorld::queryAnyFixtureNear(const b2Vec2& centre, float radius) {
    return queryFixtureNear(centre, radius, false);
}
