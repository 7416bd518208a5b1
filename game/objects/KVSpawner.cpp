#include "game/objects/KVSpawner.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVSpawnEvent.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVPlayer.h"
#include "game/pawns/KVSpawnPoints.h"
#include "game/world/KVObjectFactory.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

void hold(CCString*& field, CCString* value) {
    if (value != nullptr) value->retain();
    if (field != nullptr) field->release();
    field = value;
}

// The running mission's model, as the pawns take it; null between missions.
KVGameModel* currentModel() {
    auto* points = dynamic_cast<KVSpawnPoints*>(KVGameSetup::getInstance()->getCurrentGameModel());
    return points != nullptr ? points->spawnPointsModel() : nullptr;
}

} // namespace

void KVSpawnEvent::set(CCString* spawnerName, bool enemy, CCString* pawnName) {
    hold(m_spawnerName, spawnerName);
    hold(m_pawnName, pawnName);
    m_enemy = enemy;
}

void KVSpawnEvent::cleanupBeforeDelete() {
    hold(m_spawnerName, nullptr);
    hold(m_pawnName, nullptr);
    KVObject::cleanupBeforeDelete();
}

void KVSpawner::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    hold(m_name, nullptr);
    KVActor::cleanupBeforeDelete();
}

bool KVSpawner::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    auto* name = dynamic_cast<CCString*>(properties != nullptr ? properties->objectForKey("Name") : nullptr);
    if (name == nullptr || name->text.empty()) {
        logDebugMessage("KVSpawner: %s", properties == nullptr ? "no object dictionary" : "no \"Name\"");
        return false;
    }
    kvobjects::placeAtTileCentre(properties, this);
    hold(m_name, name);
    CCNotificationCenter* centre = CCNotificationCenter::getInstance();
    centre->addObserver(this, notification_selector(KVSpawner::onSpawnPawn), EVENT_SPAWN_PAWN);
    centre->postNotification(EVENT_NEW_ACTOR, this);
    return true;
}

void KVSpawner::onSpawnPawn(CCNotification* notification) {
    auto* event = dynamic_cast<KVSpawnEvent*>(notification != nullptr ? notification->getObject() : nullptr);
    if (event == nullptr || event->getSpawnerName() == nullptr || m_name == nullptr ||
        event->getSpawnerName()->text != m_name->text)
        return;
    CCString* pawnName = event->getPawnName();
    if (pawnName == nullptr || pawnName->text.empty()) {
        logDebugMessage("KVSpawner \"%s\": a spawn without a pawn name, nothing spawned",
                        m_name->text.c_str());
        return;
    }
    if (event->isEnemy())
        spawnEnemy(pawnName);
    else
        spawnPlayerCreature(pawnName);
}

void KVSpawner::spawnEnemy(CCString* pawnName) {
    // A computer-driven copy of a team member stays out while the member plays.
    if (KVGameSetup::getInstance()->isKelvoInTeam(pawnName)) return;
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoAiStats(pawnName->text);
    const std::string className = kvdata::textAt(stats, "engine_class");
    const char* what = pawnName->text.c_str();
    if (stats == nullptr || className.empty() || !KVObjectFactory::isRegistered(className)) {
        logDebugMessage("KVSpawner \"%s\": %s \"%s\"%s, nothing spawned", m_name->text.c_str(),
                        stats == nullptr ? "no AI stats for" : "no known engine_class for", what,
                        className.empty() ? "" : (" (" + className + ")").c_str());
        return;
    }
    kvengine::CCObject* object = KVObjectFactory::create(className);
    if (object == nullptr) return;
    if (!object->isKindOf("KVPawn")) {
        logDebugMessage("KVSpawner \"%s\": %s is no pawn class, nothing spawned", m_name->text.c_str(),
                        className.c_str());
        object->release();
        return;
    }
    auto* pawn = static_cast<KVPawn*>(object);
    if (!pawn->initAt(positionX, positionY, currentModel(), pawnName))
        logDebugMessage("KVSpawner \"%s\": %s could not be made", m_name->text.c_str(), what);
    // The game keeps it from its announcement on.
    pawn->release();
}

void KVSpawner::spawnPlayerCreature(CCString* pawnName) {
    KVPawnManager* pawns = KVPawnManager::existingInstance();
    KVPawn* first = pawns != nullptr && pawns->getPlayerPawns() != nullptr
                        ? pawns->getPlayerPawns()->objectAtIndex(0)
                        : nullptr;
    KVPlayer* player = first != nullptr ? first->getOwnerPlayer() : nullptr;
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(pawnName->text);
    if (player == nullptr || stats == nullptr) {
        logDebugMessage("KVSpawner \"%s\": %s, %s not spawned", m_name->text.c_str(),
                        player == nullptr ? "no player side to join" : "no creature stats",
                        pawnName->text.c_str());
        return;
    }
    CCString* helmet = kvdata::stringAt(stats, "Default Helmet");
    auto* kelvo = new KVKelvoPlayer();
    if (kelvo->initForPlayer(positionX, positionY, currentModel(), pawnName, player, helmet))
        player->addPawn(kelvo);
    else
        logDebugMessage("KVSpawner \"%s\": %s could not be made", m_name->text.c_str(),
                        pawnName->text.c_str());
    kelvo->release();
}
