#include "game/pawns/KVPlayer.h"

#include <vector>

#include <box2d/box2d.h>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVHelmet.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVSpawnPoints.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCPoint;
using kvengine::CCString;

namespace {

bool isSpotFree(const CCPoint& point) {
    KVPhysWorld* physics = KVPhysWorld::existingInstance();
    if (physics == nullptr || physics->getWorld() == nullptr) return true;
    return physics->queryAnyFixtureNear(b2Vec2(point.x, point.y), KVPlayer::kSpawnHalfSize) == nullptr;
}

} // namespace

bool KVPlayer::initWithModel(KVSpawnPoints* model) {
    if (model == nullptr) {
        kvengine::logDebugMessage("KVPlayer::initWithModel: no model");
        return false;
    }
    if (!KVActor::init()) return false;
    m_modelObject = model->spawnPointsOwner();
    m_model = model;
    m_respawnPending = 0;
    m_respawnStamina = 0;
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVPlayer::onRemoveActor), EVENT_REMOVE_ACTOR);
    centre->addObserver(this, notification_selector(KVPlayer::onGameShutdown), EVENT_GAME_SHUTDOWN);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVPlayer::addPawn(KVPawn* pawn) {
    (void)pawn;
}

bool KVPlayer::hasPawn(KVPawn* pawn) {
    (void)pawn;
    return false;
}

void KVPlayer::removePawn(KVPawn* pawn) {
    (void)pawn;
}

void KVPlayer::onGameShutdown(CCNotification* notification) {
    (void)notification;
}

void KVPlayer::onRemoveActor(CCNotification* notification) {
    kvengine::CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == this) KVActor::onRemoveActor(notification);
    if (object == nullptr || !object->isKindOf("KVKelvoPlayer")) return;
    auto* pawn = static_cast<KVPawn*>(object);
    if (hasPawn(pawn)) removePawn(pawn);
}

void KVPlayer::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this);
    m_model = nullptr;
    m_modelObject.reset();
    m_respawnName.reset();
    m_respawnHelmet.reset();
    KVActor::cleanupBeforeDelete();
}

void KVPlayer::scheduleRespawn(KVPawn* pawn) {
    m_respawnPending = 1;
    m_respawnName = pawn->getTypeName();
    CCString* helmet = nullptr;
    if (pawn->isKindOf("KVKelvo")) {
        KVHelmet* worn = static_cast<KVKelvo*>(pawn)->getHelmet();
        if (worn != nullptr) helmet = worn->getHelmetName();
    }
    m_respawnHelmet = helmet;
    m_respawnStamina = pawn->getStamina();
    m_respawnOwnerIndex = pawn->getOwnerIndex();
}

void KVPlayer::update(float dt) {
    (void)dt;
    if (m_respawnPending == 0) return;
    m_respawnPending = 0;
    if (m_model == nullptr) return;
    std::vector<CCPoint> candidates = m_model->getSpawnPoints();
    if (candidates.empty()) candidates = m_model->getPlayerSpawnPoints();
    const int n = static_cast<int>(candidates.size());
    if (n == 0) {
        // Nowhere to come back: the kelvo stays out, as a fall in a solo mission does.
        kvengine::logDebugMessage("KVPlayer: no spawn point on this map, %s is not brought back",
                                  m_respawnName != nullptr ? m_respawnName->c_str() : "the kelvo");
        return;
    }
    const CCPoint* spot = nullptr;
    for (int attempt = 0; attempt <= n && spot == nullptr; ++attempt) {
        const CCPoint& candidate = candidates[static_cast<size_t>(kvengine::CCRandom::next() % n)];
        if (isSpotFree(candidate)) spot = &candidate;
    }
    // Every spot taken: the kelvo comes back anyway, and the physics pushes the bodies apart.
    if (spot == nullptr) spot = &candidates[static_cast<size_t>(kvengine::CCRandom::next() % n)];

    retain();
    auto* kelvo = new KVKelvoPlayer();
    if (kelvo->initForPlayer(spot->x, spot->y, m_model->spawnPointsModel(), m_respawnName, this,
                             m_respawnHelmet)) {
        addPawn(kelvo);
        kelvo->setStamina(m_respawnStamina);
        kelvo->setOwnerIndex(m_respawnOwnerIndex);
    } else {
        kvengine::logDebugMessage("KVPlayer: %s could not be brought back",
                                  m_respawnName != nullptr ? m_respawnName->c_str() : "the kelvo");
    }
    kelvo->release();
    release();
}
