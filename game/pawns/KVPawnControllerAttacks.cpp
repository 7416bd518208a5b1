// The pawn controller's attack side: damage modes and their targets, the distance and area
// attacks, and the opponent search with its line of sight.
#include "game/pawns/KVPawnController.h"

#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/attacks/KVAOEAttack.h"
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

void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

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
    if (!((to - from).LengthSquared() > 0.0f)) return true;
    SightCallback callback(looker);
    callback.categoryMask = kSightMask;
    world->RayCast(&callback, from, to);
    return !callback.hit || (target != nullptr && callback.hitActor == target);
}

} // namespace

// ---- Damage modes ----

void KVPawnController::onPawnSelected(CCNotification* notification) {
    onDamageModeRequestOn(notification);
}

void KVPawnController::onPawnUnselected(CCNotification* notification) {
    onDamageModeRequestOff(notification);
}

void KVPawnController::onSpawnPawn(CCNotification* notification) {
    if (m_pawn == nullptr || !m_pawn->isSelected()) return;
    onDamageModeRequestOff(notification);
    onDamageModeRequestOn(notification);
}

void KVPawnController::onDamageModeRequestOn(CCNotification* notification) {
    (void)notification;
    if (m_pawn == nullptr || !m_pawn->isSelected() || m_damageMode != kDamageNone ||
        m_pawn->getAttackCharges() <= 0)
        return;
    KVPawn* pawn = m_pawn;
    if (pawn->hasDistanceAttack()) {
        CCMutableArray<KVPawn*>* found =
            findOpponentsInRange(static_cast<float>(pawn->getRangeTarget()) * KVPawn::kMetresPerPixel, true);
        if (found->count() == 0) return;
        m_targets->removeAllObjects();
        for (KVPawn* target : *found)
            m_targets->addObject(target);
        m_damageMode = kDamageDistance;
        setTargetsHighlighted(true, m_targets);
    } else if (pawn->hasAOEAttack()) {
        const float radius = static_cast<float>(pawn->getRangeAoE()) * KVPawn::kMetresPerPixel;
        CCMutableArray<KVPawn*>* found = findOpponentsInRange(radius, false);
        if (found->count() == 0) return;
        m_targets->removeAllObjects();
        for (KVPawn* target : *found)
            m_targets->addObject(target);
        m_damageMode = kDamageArea;
        setTargetsHighlighted(true, m_targets);
        auto* preview = new KVAOEAttack();
        const kvengine::CCPoint at = pawnPosition();
        if (preview->initWithAttacker(at.x, at.y, pawn, KVAOEAttack::kPhaseAiming, radius, m_targets)) {
            m_areaPreview.adopt(preview);
        } else {
            preview->release();
        }
    } else {
        return;
    }
    post(EVENT_DAMAGE_MODE_ON, pawn);
}

void KVPawnController::onDamageModeRequestOff(CCNotification* notification) {
    (void)notification;
    if (m_damageMode == kDamageNone) return;
    retain();
    if (m_damageMode == kDamageArea && m_areaPreview != nullptr) {
        KVAOEAttack* preview = m_areaPreview.take();
        // A launched preview goes on by itself; one still aiming is taken off the board.
        if (preview->getPhase() != KVAOEAttack::kPhaseLaunched) post(EVENT_REMOVE_ACTOR, preview);
        preview->release();
    }
    m_damageMode = kDamageNone;
    if (m_pawn != nullptr) post(EVENT_DAMAGE_MODE_OFF, m_pawn);
    if (m_targets != nullptr) {
        CCMutableArray<KVPawn*>* targets = CCMutableArray<KVPawn*>::createWithArray(m_targets);
        m_targets->removeAllObjects();
        setTargetsHighlighted(false, targets);
    }
    release();
}

void KVPawnController::setTargetsHighlighted(bool on, CCMutableArray<KVPawn*>* pawns) {
    if (pawns == nullptr) return;
    CCMutableArray<KVPawn*>* copy = CCMutableArray<KVPawn*>::createWithArray(pawns);
    for (KVPawn* pawn : *copy)
        post(on ? EVENT_KELVO_HIGHLIGHT_ON : EVENT_KELVO_HIGHLIGHT_OFF, pawn);
}

// ---- Attacks ----

void KVPawnController::startDistanceAttack(KVPawn* target) {
    if (m_pawn == nullptr) return;
    if (target == nullptr) {
        kvengine::logDebugMessage("KVPawnController::startDistanceAttack: no target");
        return;
    }
    KVPawn* pawn = m_pawn;
    pawn->retain();
    post(EVENT_STOP_FUGU);
    post(EVENT_DISTANCE_ATTACK_ACTION_START, pawn);
    pawn->setAttackCharges(pawn->getAttackCharges() - 1);
    post(EVENT_NOTIFY_IN_ACTION, pawn);
    float tx = 0.0f, ty = 0.0f;
    target->getPosition(&tx, &ty);
    if (target->getBody() != nullptr) {
        tx = target->getBody()->GetPosition().x;
        ty = target->getBody()->GetPosition().y;
    }
    const kvengine::CCPoint at = pawnPosition();
    if (pawn->isKindOf("KVKelvo"))
        orientToward(0.0f, 1.0f);
    else
        orientToward(-(ty - at.y), tx - at.x); // the crustaceans' sideways forward points at it
    m_distanceTarget = kvengine::CCPoint(tx, ty);
    m_distanceAimPending = true;
    pawn->release();
}

void KVPawnController::startAreaAttack() {
    if (m_pawn == nullptr) return;
    post(EVENT_STOP_FUGU);
    post(EVENT_AOE_ACTION_START, m_pawn);
    if (m_areaPreview != nullptr) m_areaPreview->setPhase(KVAOEAttack::kPhaseLaunched);
    m_waitingForUpright = true;
    orientToward(0.0f, 1.0f);
}

// ---- Opponents and sight ----

CCMutableArray<KVPawn*>* KVPawnController::findOpponentsInRange(float rangeMetres, bool needLineOfSight) {
    auto* found = new CCMutableArray<KVPawn*>();
    found->autorelease();
    if (m_pawn == nullptr) return found;
    KVPawnManager* manager = KVPawnManager::getInstance();
    // A copy: the debug lines of the sight test are actors announced while the walk runs.
    CCMutableArray<KVPawn*>* opponents = CCMutableArray<KVPawn*>::createWithArray(
        m_pawn->isEnemy() ? manager->getPlayerPawns() : manager->getEnemyPawns());
    const kvengine::CCPoint at = pawnPosition();
    for (KVPawn* opponent : *opponents) {
        if (opponent->isBoss()) continue;
        float ox = 0.0f, oy = 0.0f;
        opponent->getPosition(&ox, &oy);
        if (std::hypot(ox - at.x, oy - at.y) > rangeMetres) continue;
        if (needLineOfSight && !hasClearLineOfSight(kSightHalfWidth, opponent, at.x, at.y, ox, oy)) continue;
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
    if (!(side.Normalize() > 0.0f)) return true;
    side *= halfWidth;
    if (!isRayClear(world, looker, target, from + side, to + side, draw)) return false;
    return isRayClear(world, looker, target, from - side, to - side, draw);
}

bool KVPawnController::canSeeTarget(KVPawn* target) {
    if (m_pawn == nullptr || target == nullptr) return false;
    const kvengine::CCPoint at = pawnPosition();
    float tx = 0.0f, ty = 0.0f;
    target->getPosition(&tx, &ty);
    return hasClearLineOfSight((m_pawn->getRadius() - 1.0f) * KVPawn::kMetresPerPixel, target, at.x, at.y, tx,
                               ty);
}

bool KVPawnController::hasAreaTargets() {
    if (m_pawn == nullptr) return false;
    return findOpponentsInRange(static_cast<float>(m_pawn->getRangeAoE()) * KVPawn::kMetresPerPixel, false)
               ->count() > 0;
}

bool KVPawnController::hasDistanceTargets() {
    if (m_pawn == nullptr) return false;
    return findOpponentsInRange(static_cast<float>(m_pawn->getRangeTarget()) * KVPawn::kMetresPerPixel, true)
               ->count() > 0;
}
