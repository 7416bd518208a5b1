#include "game/model/KVGameModel.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDialogueService.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVTurnManager.h"
#include "game/powerups/KVPowerupManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/score/KVScoreManager.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/score/KVXpManager.h"
#include "game/world/KVActor.h"
#include "game/world/KVPhysWorld.h"

using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;

KVGameModel::KVGameModel() = default;

void KVGameModel::cleanupBeforeDelete() {
    CCNotificationCenter::getInstance()->removeObserver(this, nullptr);
    m_tileMap.reset();
    m_actors.reset();
    m_turnManager.reset();
    m_scoreManager.reset();
    m_powerupManager.reset();
    m_xpManager.reset();
    m_removedActors.reset();
    m_mapBorders.reset();
    m_teamSpawnPositions.clear();
    m_respawnPoints.clear();
    KVObject::cleanupBeforeDelete();
}

void KVGameModel::update(float dt) {
    // Held through the frame: an observer of a post made here may let go of the model.
    retain();
    if (KVPhysWorld* physics = KVPhysWorld::existingInstance()) physics->update(dt);

    if (m_actors != nullptr) {
        // A copy, counted once: actors added now wait for the next frame, and actors removed now
        // are still reached (inactive) through the copy while the removed list keeps them alive.
        CCMutableArray<KVObject*>* actors = m_actors->copy();
        const unsigned count = actors->count();
        for (unsigned i = 0; i < count; ++i) {
            KVObject* actor = actors->objectAtIndex(i);
            if (actor != nullptr && actor->active) actor->update(dt);
        }
        actors->release();
    }
    if (m_removedActors != nullptr) m_removedActors->removeAllObjects();

    if (KVRuleManager* rules = KVRuleManager::existingInstance()) rules->update(dt);
    // The dialogue manager counts out the refused touches after a dialogue's end.
    if (KVDialogueService* dialogues = KVDialogueService::existing()) dialogues->updateInMission(dt);
    if (m_turnManager != nullptr) m_turnManager->update(dt);
    if (m_scoreManager != nullptr) m_scoreManager->update(dt);
    release();
}

void KVGameModel::onNewActor(kvengine::CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    // Actors and the pawns' controllers, which announce themselves the same way to be updated.
    if (object == nullptr || m_actors == nullptr || !object->isKindOf("KVObject")) return;
    auto* actor = static_cast<KVObject*>(object);
    if (!m_actors->containsObject(actor)) m_actors->addObject(actor);
}

void KVGameModel::onRemoveActor(kvengine::CCNotification* notification) {
    CCObject* object = notification != nullptr ? notification->getObject() : nullptr;
    if (object == nullptr || !object->isKindOf("KVObject")) return;
    auto* actor = static_cast<KVObject*>(object);
    actor->active = 0;
    // Kept until the end of the frame's update, which may still be walking over it.
    if (m_removedActors != nullptr && !m_removedActors->containsObject(actor))
        m_removedActors->addObject(actor);
    if (m_actors != nullptr) m_actors->removeObject(actor);
}

void KVGameModel::onGameShutdown(kvengine::CCNotification* notification) {
    (void)notification;
    retain();
    m_turnManager.reset();
    m_scoreManager.reset();
    m_powerupManager.reset();
    m_xpManager.reset();
    if (KVPhysWorld* physics = KVPhysWorld::existingInstance()) physics->destroyWorld();
    if (KVRuleManager* rules = KVRuleManager::existingInstance()) rules->clearRules();
    KVGameSetup::getInstance()->playerCount = 1;
    m_actors.reset();
    release();
}

KVPawn* KVGameModel::getCurrentPawn() {
    return m_turnManager != nullptr ? m_turnManager->getCurrentPawn() : nullptr;
}

int KVGameModel::getPlayerTurnCount() {
    if (m_scoreManager == nullptr || !m_scoreManager->isKindOf("KVScoreManagerSolo")) return -1;
    return static_cast<KVScoreManagerSolo*>(m_scoreManager.get())->getPlayerTurns();
}

int KVGameModel::nextPearlLabelSlot() {
    return m_xpManager != nullptr ? ++m_xpManager->labelCounter : 0;
}

kvengine::CCPoint KVGameModel::getPearlLabelAnchor() {
    return m_xpManager != nullptr ? m_xpManager->pickPoint : kvengine::CCPoint(0.0f, 0.0f);
}

namespace {

bool addFoundName(kvengine::CCMutableArray<kvengine::CCString*>* list, const std::string& name) {
    if (list == nullptr || name.empty()) return false;
    auto* text = new kvengine::CCString(name);
    list->addObject(text);
    text->release();
    return true;
}

} // namespace

bool KVGameModel::recordHiddenCharacter(const std::string& kelvo, const std::string& helmet) {
    if (m_scoreManager == nullptr || !m_scoreManager->isKindOf("KVScoreManagerSolo")) return false;
    auto* solo = static_cast<KVScoreManagerSolo*>(m_scoreManager.get());
    addFoundName(solo->getKelvosFound(), kelvo);
    addFoundName(solo->getHelmetsFound(), helmet);
    return true;
}

bool KVGameModel::isAnythingBusy() {
    return m_turnManager != nullptr && m_turnManager->getBusyCount() > 0;
}

bool KVGameModel::recordOpenedChest(const std::string& chestId) {
    if (m_scoreManager == nullptr || !m_scoreManager->isKindOf("KVScoreManagerSolo")) return false;
    return addFoundName(static_cast<KVScoreManagerSolo*>(m_scoreManager.get())->getChestsFound(), chestId);
}

bool KVGameModel::recordChestHelmet(const std::string& helmet) {
    if (m_scoreManager == nullptr || !m_scoreManager->isKindOf("KVScoreManagerSolo")) return false;
    return addFoundName(static_cast<KVScoreManagerSolo*>(m_scoreManager.get())->getHelmetsFound(), helmet);
}
