#include "game/objects/KVHiddenStar.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/objects/KVPowerupSpawner.h"
#include "game/pawns/KVPawn.h"

namespace {

constexpr std::uint16_t kSensorCategory = 0x0002;

bool foundBefore() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    KVPlayerParameters* profile = KVPlayerParameters::existingInstance();
    if (setup == nullptr || profile == nullptr) return false;
    return profile->getMissionHiddenLock(kvdata::textOf(setup->getMissionName()),
                                         kvdata::textOf(setup->getChapterName())) == 0;
}

} // namespace

bool KVHiddenStar::initWithRect(float x, float y, float width, float height) {
    (void)x;
    (void)y;
    (void)width;
    (void)height;
    return KVActor::init();
}

bool KVHiddenStar::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    if (kvobjects::worldForObject(properties, "KVHiddenStar") == nullptr) return false;
    if (foundBefore()) {
        kvdata::setText(properties, "SpawnRate", "1");
        auto* spawner = new KVPowerupSpawner();
        if (!spawner->initWithDictionary(properties))
            kvengine::logDebugMessage("KVHiddenStar: no power-up spawner at the star found before");
        // The game model keeps it from its announcement on.
        spawner->release();
    }
    kvobjects::placeAtTileCentre(properties, this);
    m_radius =
        static_cast<float>(kvobjects::intProperty(properties, "width")) / 2.0f / kvobjects::kPixelsPerMetre;
    kvobjects::CircleFixture sensor;
    sensor.radius = m_radius;
    sensor.sensor = true;
    sensor.categoryBits = kSensorCategory;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {sensor}, "KVHiddenStar");
    if (m_body == nullptr) return false;
    m_found = false;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVHiddenStar::beginContact(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (m_found || removed || other == nullptr || !other->isKindOf("KVKelvoPlayer")) return false;
    auto* pawn = static_cast<KVPawn*>(other);
    // Once: a second creature in the same step finds nothing.
    m_found = true;
    pawn->healFully();
    pawn->setStamina(pawn->getMaxSP());
    kvobjects::post(EVENT_HIDDEN_STAR_FOUND, pawn);
    kvobjects::post(EVENT_REMOVE_ACTOR, this);
    return true;
}

void KVHiddenStar::onRemoveActor(kvengine::CCNotification* notification) {
    KVActor::onRemoveActor(notification);
    if (!removed) return;
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
}

void KVHiddenStar::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    KVActor::cleanupBeforeDelete();
}
