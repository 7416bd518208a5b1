#include "game/objects/KVPowerupSpawner.h"

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVPowerupPickupV.h"
#include "game/pawns/KVPawn.h"
#include "game/powerups/KVPowerupManager.h"
#include "game/world/KVPhysWorld.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCNotificationCenter;

namespace {

constexpr std::uint16_t kSensorCategory = 0x0002;

// Finds a fixture with a category bit besides 2 over the spot; circles by their centre.
class SpotQuery : public b2QueryCallback {
public:
    explicit SpotQuery(const b2Vec2& centre) : m_centre(centre) {}
    bool ReportFixture(b2Fixture* fixture) override {
        if ((fixture->GetFilterData().categoryBits & ~kSensorCategory) == 0) return true;
        if (fixture->GetShape()->GetType() == b2Shape::e_circle) {
            const float reach = fixture->GetShape()->m_radius + KVPowerupSpawner::kSpotHalfSize;
            if ((fixture->GetBody()->GetPosition() - m_centre).Length() >= reach) return true;
        }
        covered = true;
        return false;
    }
    bool covered = false;

private:
    b2Vec2 m_centre;
};

} // namespace

// ---- KVPowerupSpawner ----

bool KVPowerupSpawner::initWithRect(float x, float y, float size) {
    (void)x;
    (void)y;
    (void)size;
    return KVActor::init();
}

bool KVPowerupSpawner::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    if (properties == nullptr) {
        kvengine::logDebugMessage("KVPowerupSpawner: no object dictionary");
        return false;
    }
    kvobjects::placeAtTileCentre(properties, this);
    m_spawnRate = kvobjects::intProperty(properties, "SpawnRate");
    if (m_spawnRate < 1) {
        kvengine::logDebugMessage("KVPowerupSpawner: \"SpawnRate\" %d taken as 1", m_spawnRate);
        m_spawnRate = 1;
    }
    m_counter = 0;
    m_taken = false;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPowerupSpawner::onStartTurn), EVENT_START_TURN);
    centre->addObserver(this, notification_selector(KVPowerupSpawner::onGameShutdown), EVENT_GAME_SHUTDOWN);
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

void KVPowerupSpawner::cleanupBeforeDelete() {
    m_pickup = nullptr;
    KVActor::cleanupBeforeDelete();
}

void KVPowerupSpawner::onGameShutdown(kvengine::CCNotification* notification) {
    (void)notification;
    m_pickup = nullptr;
}

bool KVPowerupSpawner::isSpotCovered() const {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    b2World* world = physics != nullptr ? physics->getWorld() : nullptr;
    if (world == nullptr) return false;
    const b2Vec2 centre(positionX, positionY);
    SpotQuery query(centre);
    b2AABB box;
    box.lowerBound = centre - b2Vec2(kSpotHalfSize, kSpotHalfSize);
    box.upperBound = centre + b2Vec2(kSpotHalfSize, kSpotHalfSize);
    world->QueryAABB(&query, box);
    return query.covered;
}

void KVPowerupSpawner::onStartTurn(kvengine::CCNotification* notification) {
    (void)notification;
    if (++m_counter < m_spawnRate) return;
    m_counter = 0;
    if (m_pickup != nullptr || isSpotCovered()) return;
    auto* pickup = new KVPowerupPickup();
    if (pickup->initWithSpawner(this)) m_pickup = pickup;
    // The game model keeps it from its announcement on.
    pickup->release();
}

void KVPowerupSpawner::update(float dt) {
    (void)dt;
    if (!m_taken) return;
    m_pickup = nullptr;
    m_taken = false;
}

// ---- KVPowerupPickup ----

void KVPowerupPickup::setSpawner(KVPowerupSpawner* spawner) {
    if (spawner != nullptr) spawner->retain();
    if (m_spawner != nullptr) m_spawner->release();
    m_spawner = spawner;
}

bool KVPowerupPickup::initWithSpawner(KVPowerupSpawner* spawner) {
    if (!KVActor::init()) return false;
    if (spawner == nullptr) {
        kvengine::logDebugMessage("KVPowerupPickup: no spawner");
        return false;
    }
    setSpawner(spawner);
    positionX = spawner->positionX;
    positionY = spawner->positionY;
    kvobjects::CircleFixture sensor;
    sensor.radius = KVPowerupSpawner::kSpotHalfSize;
    sensor.sensor = true;
    sensor.categoryBits = kSensorCategory;
    m_body = kvobjects::createCircleBody(this, true, positionX, positionY, {sensor}, "KVPowerupPickup");
    if (m_body == nullptr) return false;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPowerupPickup::onGameShutdown), EVENT_GAME_SHUTDOWN);
    return true;
}

void KVPowerupPickup::onGameShutdown(kvengine::CCNotification* notification) {
    (void)notification;
    setSpawner(nullptr);
}

void KVPowerupPickup::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    setSpawner(nullptr);
    KVActor::cleanupBeforeDelete();
}

bool KVPowerupPickup::beginContact(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (removed || other == nullptr || !other->isKindOf("KVPawn")) return false;
    auto* pawn = static_cast<KVPawn*>(other);
    if (pawn->isEnemy() || pawn->isDead() || pawn->isProtected()) return false;
    auto* mission = dynamic_cast<KVRunningMission*>(KVGameSetup::getInstance()->getCurrentGameModel());
    KVPowerupManager* manager = mission != nullptr ? mission->getPowerupManager() : nullptr;
    if (manager != nullptr)
        manager->givePowerup(pawn);
    else
        kvengine::logDebugMessage("KVPowerupPickup: taken where no mission hands out power-ups");
    if (m_spawner != nullptr) m_spawner->setTaken();
    // At once: a second pawn touching it in the same step finds it gone.
    removed = true;
    kvobjects::post(EVENT_REMOVE_ACTOR, this);
    return true;
}

// ---- KVPowerupPickupV ----

bool KVPowerupPickupV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVPowerupPickup")) {
        kvengine::logDebugMessage("KVPowerupPickupV::initWithActor: the model is not a power-up pick-up");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName("powerup.png");
    if (sprite == nullptr) {
        kvengine::logDebugMessage("KVPowerupPickupV: no frame powerup.png");
        return false;
    }
    sprite->setPosition(kvengine::CCPoint(model->positionX * 32.0f, model->positionY * 32.0f));
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet("low_sfx_51_ss") : nullptr;
    if (sheet != nullptr)
        sheet->addChildAtZ(sprite, kZ);
    else
        kvengine::logDebugMessage("KVPowerupPickupV: no sheet \"low_sfx_51_ss\" to draw in");
    setSprite(sprite);
    return true;
}
