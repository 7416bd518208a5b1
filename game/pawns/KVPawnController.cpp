#include "game/pawns/KVPawnController.h"

#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVDebugPrimitive.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVRayCastClosestCallback.h"

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;

namespace {

// Projectile sensors are category 2: they never hide anything.
constexpr uint16 kSightMask = 0xFFFF & ~0x0002;
constexpr float kDebugLineLifetime = 5.0f;

bool drawsDebugRays() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    return setup != nullptr && setup->getConfigBool("DrawDebugAI");
}

// The closest-hit callback that passes over the fixtures of one body: the side rays start exactly
// on the rim of the looking pawn's own 5-pixel probe, which Box2D reports as a hit at the start.
class SightCallback : public KVRayCastClosestCallback {
public:
    explicit SightCallback(const b2Body* looker) : m_looker(looker) {}
    float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal,
                        float fraction) override {
        if (m_looker != nullptr && fixture->GetBody() == m_looker) return -1.0f;
        return KVRayCastClosestCallback::ReportFixture(fixture, point, normal, fraction);
    }

private:
    const b2Body* m_looker;
};

// A ray is clear when it meets nothing, or when the first thing it meets is the target.
bool isRayClear(b2World* world, const b2Body* looker, KVActor* target, const b2Vec2& from, const b2Vec2& to,
                bool draw) {
    if (draw) KVDebugPrimitive::createLine(kDebugLineLifetime, from.x, from.y, to.x, to.y);
    // Box2D refuses a ray of length zero; a point sees itself.
    if ((to - from).LengthSquared() <= 0.0f) return true;
    SightCallback callback(looker);
    callback.categoryMask = kSightMask;
    world->RayCast(&callback, from, to);
    return !callback.hit || (target != nullptr && callback.hitActor == target);
}

} // namespace

bool KVPawnController::initWithPawn(KVPawn* pawn) {
    if (pawn == nullptr) {
        kvengine::logDebugMessage("KVPawnController::initWithPawn: no pawn");
        return false;
    }
    pawn->retain();
    if (m_pawn != nullptr) m_pawn->release();
    m_pawn = pawn;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->removeObserver(this);
    centre->addObserver(this, notification_selector(KVPawnController::onRemoveActor), EVENT_REMOVE_ACTOR,
                        pawn);
    centre->addObserver(this, notification_selector(KVPawnController::onGameShutdown), EVENT_GAME_SHUTDOWN);
    return true;
}

bool KVPawnController::canAct() {
    return true;
}

void KVPawnController::onRemoveActor(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr) return;
    // Kept alive through the post: the pawn's release may have been its last owner but ours.
    retain();
    KVPawn* pawn = m_pawn;
    m_pawn = nullptr;
    pawn->release();
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, this);
    release();
}

void KVPawnController::onGameShutdown(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr) return;
    KVPawn* pawn = m_pawn;
    m_pawn = nullptr;
    pawn->release();
}

void KVPawnController::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    if (m_pawn != nullptr) {
        KVPawn* pawn = m_pawn;
        m_pawn = nullptr;
        pawn->release();
    }
    KVObject::cleanupBeforeDelete();
}

CCMutableArray<KVPawn*>* KVPawnController::findOpponentsInRange(float rangeMetres, bool needLineOfSight) {
    auto* found = new CCMutableArray<KVPawn*>();
    found->autorelease();
    if (m_pawn == nullptr) return found;
    KVPawnManager* manager = KVPawnManager::getInstance();
    // A copy: the debug lines of the sight test are actors announced while the walk runs.
    CCMutableArray<KVPawn*>* opponents = CCMutableArray<KVPawn*>::createWithArray(
        m_pawn->isEnemy() ? manager->getPlayerPawns() : manager->getEnemyPawns());
    float x = 0.0f, y = 0.0f;
    m_pawn->getPosition(&x, &y);
    for (KVPawn* opponent : *opponents) {
        if (opponent->isBoss()) continue;
        float ox = 0.0f, oy = 0.0f;
        opponent->getPosition(&ox, &oy);
        if (std::hypot(ox - x, oy - y) > rangeMetres) continue;
        if (needLineOfSight && !hasClearLineOfSight(kSightHalfWidth, opponent, x, y, ox, oy)) continue;
        found->addObject(opponent);
    }
    return found;
}

bool KVPawnController::hasClearLineOfSight(float halfWidth, KVActor* target, float fromX, float fromY,
                                           float toX, float toY) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr) return true;
    const bool draw = drawsDebugRays();
    const b2Body* looker = m_pawn != nullptr ? m_pawn->getBody() : nullptr;
    const b2Vec2 from(fromX, fromY);
    const b2Vec2 to(toX, toY);
    if (!isRayClear(world, looker, target, from, to, draw)) return false;
    b2Vec2 side(to.y - from.y, -(to.x - from.x)); // the direction turned by -90 degrees
    if (side.Normalize() <= 0.0f) return true;
    side *= halfWidth;
    if (!isRayClear(world, looker, target, from + side, to + side, draw)) return false;
    return isRayClear(world, looker, target, from - side, to - side, draw);
}
