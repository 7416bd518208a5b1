#include "game/pawns/KVPawnManager.h"

#include <cmath>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVHelmet.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVActor.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVRayCastClosestCallback.h"

// Free-spot notes. Candidates lie on five rings 60 pixels (1.875 m) apart, twelve per ring, tried
// ring by ring so the nearest free spot wins; angle 0 is straight up, the angles turn
// counter-clockwise. A candidate is free when no fixture of any kind overlaps a box of the body's
// half size around it (circles by centre distance), and reachable when a ray back to the actor
// meets the actor first: a spot behind a wall is refused even when it is empty.

using kvengine::CCMutableArray;
using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCPoint;
using kvengine::CCString;

namespace {

constexpr float kMetresPerPixel = 0.03125f;
constexpr float kRingStepPixels = 60.0f;
constexpr int kRingCount = 5;
constexpr int kAnglesPerRing = 12;
constexpr float kPi = 3.14159265358979f;
// The ray back to the actor passes projectile sensors (category 2).
constexpr uint16 kRayMask = 0xFFFF & ~0x0002;

KVPawn* asPawn(CCObject* object) {
    return object != nullptr && object->isKindOf("KVPawn") ? static_cast<KVPawn*>(object) : nullptr;
}

CCObject* objectOf(CCNotification* notification) {
    return notification != nullptr ? notification->getObject() : nullptr;
}

template <class T> T* newList() {
    return new T();
}

template <class T> void releaseList(T*& list) {
    T* old = list;
    list = nullptr;
    if (old != nullptr) old->release();
}

} // namespace

KVPawnManager::KVPawnManager()
    : m_allPawns(newList<CCMutableArray<KVPawn*>>()), m_playerPawns(newList<CCMutableArray<KVPawn*>>()),
      m_enemyPawns(newList<CCMutableArray<KVPawn*>>()), m_deadKelvoNames(newList<ObjectList>()),
      m_deadKelvoHelmets(newList<ObjectList>()), m_fallenKelvoNames(newList<ObjectList>()),
      m_fallenKelvoHelmets(newList<ObjectList>()) {
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPawnManager::onNewActor), EVENT_NEW_ACTOR);
    centre->addObserver(this, notification_selector(KVPawnManager::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVPawnManager::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->addObserver(this, notification_selector(KVPawnManager::onPawnFall), EVENT_PAWN_FALL);
}

void KVPawnManager::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    releaseList(m_allPawns);
    releaseList(m_playerPawns);
    releaseList(m_enemyPawns);
    releaseList(m_deadKelvoNames);
    releaseList(m_deadKelvoHelmets);
    releaseList(m_fallenKelvoNames);
    releaseList(m_fallenKelvoHelmets);
    KVSingletonObject::cleanupBeforeDelete();
}

// ---- Handlers ----

void KVPawnManager::onNewActor(CCNotification* notification) {
    KVPawn* pawn = asPawn(objectOf(notification));
    if (pawn == nullptr) return;
    m_allPawns->addObject(pawn);
    if (pawn->isEnemy()) {
        m_enemyPawns->addObject(pawn);
        ++m_enemyCount;
    } else {
        m_playerPawns->addObject(pawn);
        if (!pawn->isAIDriven()) ++m_humanPawnCount;
    }
}

void KVPawnManager::onRemoveActor(CCNotification* notification) {
    KVPawn* pawn = asPawn(objectOf(notification));
    if (pawn == nullptr) return;
    // The lists may hold the last references to the pawn: keep it until it is recorded.
    pawn->retain();
    m_allPawns->removeObject(pawn);
    m_playerPawns->removeObject(pawn);
    m_enemyPawns->removeObject(pawn);
    if (pawn->isKindOf("KVKelvoPlayer")) recordKelvo(pawn, m_deadKelvoNames, m_deadKelvoHelmets);
    pawn->release();
}

void KVPawnManager::onPawnFall(CCNotification* notification) {
    KVPawn* pawn = asPawn(objectOf(notification));
    if (pawn != nullptr && pawn->isKindOf("KVKelvoPlayer"))
        recordKelvo(pawn, m_fallenKelvoNames, m_fallenKelvoHelmets);
}

void KVPawnManager::onGameShutdown(CCNotification* notification) {
    (void)notification;
    m_allPawns->removeAllObjects();
    m_playerPawns->removeAllObjects();
    m_enemyPawns->removeAllObjects();
    m_deadKelvoNames->removeAllObjects();
    m_deadKelvoHelmets->removeAllObjects();
    m_fallenKelvoNames->removeAllObjects();
    m_fallenKelvoHelmets->removeAllObjects();
    m_humanPawnCount = 0;
    m_enemyCount = 0;
}

// ---- Queries ----

KVPawn* KVPawnManager::findPawnAtPoint(float x, float y) {
    for (KVPawn* pawn : *m_allPawns)
        if (pawn->containsPoint(x, y)) return pawn;
    return nullptr;
}

int KVPawnManager::getDeadKelvoCount() const {
    return m_deadKelvoNames != nullptr ? static_cast<int>(m_deadKelvoNames->count()) : 0;
}

bool KVPawnManager::getLastDeadKelvo(CCString** outName, CCString** outHelmet) {
    return lastKelvoOf(m_deadKelvoNames, m_deadKelvoHelmets, outName, outHelmet);
}

bool KVPawnManager::getLastFallenKelvo(CCString** outName, CCString** outHelmet) {
    return lastKelvoOf(m_fallenKelvoNames, m_fallenKelvoHelmets, outName, outHelmet);
}

void KVPawnManager::forgetKelvo(CCString* name) {
    if (name == nullptr) return;
    forgetIn(m_deadKelvoNames, m_deadKelvoHelmets, name);
    forgetIn(m_fallenKelvoNames, m_fallenKelvoHelmets, name);
}

bool KVPawnManager::findFreeSpotNear(KVActor* actor, float radiusPixels, CCPoint* outPoint) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (actor == nullptr || world == nullptr || !std::isfinite(radiusPixels) || radiusPixels < 0.0f) {
        kvengine::logDebugMessage("KVPawnManager::findFreeSpotNear: no actor, no world or a bad radius");
        return false;
    }
    float centreX = 0.0f, centreY = 0.0f;
    actor->getPosition(&centreX, &centreY);
    const b2Vec2 centre(centreX, centreY);
    const float halfSize = radiusPixels * kMetresPerPixel;
    for (int ring = 1; ring <= kRingCount; ++ring) {
        const float distance = static_cast<float>(ring) * kRingStepPixels * kMetresPerPixel;
        for (int step = 0; step < kAnglesPerRing; ++step) {
            const float angle = static_cast<float>(step) * (2.0f * kPi / kAnglesPerRing);
            const b2Vec2 candidate(centreX - distance * std::sin(angle),
                                   centreY + distance * std::cos(angle));
            if (physics->queryAnyFixtureNear(candidate, halfSize) != nullptr) continue;
            KVRayCastClosestCallback ray;
            ray.categoryMask = kRayMask;
            world->RayCast(&ray, candidate, centre);
            if (!ray.hit || ray.hitActor != actor) continue;
            if (outPoint != nullptr) *outPoint = CCPoint(candidate.x, candidate.y);
            return true;
        }
    }
    return false;
}

bool KVPawnManager::findFreeSpotForKelvo(KVActor* actor, const char* kelvoName, CCPoint* outPoint) {
    kvdata::Dict* stats =
        kelvoName != nullptr ? KVGameParameters::getInstance()->getKelvoStats(kelvoName) : nullptr;
    if (stats == nullptr) {
        kvengine::logDebugMessage("KVPawnManager::findFreeSpotForKelvo: no creature \"%s\" in the game data",
                                  kelvoName != nullptr ? kelvoName : "(null)");
        return false;
    }
    return findFreeSpotNear(actor, kvdata::floatAt(stats, "Radius"), outPoint);
}

// ---- Helpers ----

void KVPawnManager::recordKelvo(KVPawn* kelvo, ObjectList* names, ObjectList* helmets) {
    CCObject* name = kelvo->getTypeName();
    KVHelmet* helmet = static_cast<KVKelvo*>(kelvo)->getHelmet();
    CCString* helmetName = helmet != nullptr ? helmet->getHelmetName() : nullptr;
    if (name == nullptr) {
        kvengine::logDebugMessage("KVPawnManager: a player kelvo without a type name left the board");
        return;
    }
    // Both lists grow together, so they stay index for index.
    names->addObject(name);
    if (helmetName != nullptr) {
        helmets->addObject(helmetName);
    } else {
        auto* none = new CCObject();
        helmets->addObject(none);
        none->release();
    }
}

bool KVPawnManager::lastKelvoOf(ObjectList* names, ObjectList* helmets, CCString** outName,
                                CCString** outHelmet) {
    if (names->count() == 0) return false;
    const unsigned index = names->count() - 1;
    if (outName != nullptr) *outName = static_cast<CCString*>(names->objectAtIndex(index));
    CCObject* helmet = helmets->objectAtIndex(index);
    if (outHelmet != nullptr && helmet != nullptr && helmet->isKindOf("CCString"))
        *outHelmet = static_cast<CCString*>(helmet);
    return true;
}

void KVPawnManager::forgetIn(ObjectList* names, ObjectList* helmets, CCString* name) {
    const unsigned index = names->indexOfObject(name);
    if (index == ObjectList::kNotFound) return;
    names->removeObjectAtIndex(index);
    if (index < helmets->count()) helmets->removeObjectAtIndex(index);
}
