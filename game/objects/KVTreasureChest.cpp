#include "game/objects/KVTreasureChest.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/objects/KVPearl.h"
#include "game/objects/KVPickupHelmet.h"
#include "game/pawns/KVPawn.h"
#include "game/world/KVRunningMission.h"

using kvengine::CCString;

namespace {

// A retained copy of a text property; null when absent or empty.
CCString* textProperty(kvobjects::Dict* properties, const char* key) {
    kvengine::CCObject* value = properties->objectForKey(key);
    if (value == nullptr || !value->isKindOf("CCString")) return nullptr;
    auto* text = static_cast<CCString*>(value);
    if (text->text.empty()) return nullptr;
    return new CCString(text->text);
}

void releaseText(CCString*& text) {
    if (text != nullptr) text->release();
    text = nullptr;
}

KVRunningMission* runningMission() {
    KVGameSetup* setup = KVGameSetup::existingInstance();
    return setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
}

} // namespace

bool KVTreasureChest::initWithDictionary(kvobjects::Dict* properties) {
    if (!KVActor::init()) return false;
    if (kvobjects::worldForObject(properties, "KVTreasureChest") == nullptr) return false;
    kvobjects::placeAtTileCentre(properties, this);
    m_radius = kRadius;
    kvobjects::CircleFixture solid;
    solid.radius = kRadius;
    solid.friction = 1.0f;
    solid.restitution = 0.6f;
    m_body = kvobjects::createCircleBody(this, false, positionX, positionY, {solid}, "KVTreasureChest");
    if (m_body == nullptr) return false;

    releaseText(m_image);
    releaseText(m_chestId);
    releaseText(m_helmetReward);
    m_image = textProperty(properties, "image");
    m_chestId = textProperty(properties, "chestId");
    m_pearlReward = kvobjects::intProperty(properties, "pearlReward");
    m_helmetReward = textProperty(properties, "helmetReward");
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    if (m_helmetReward != nullptr && profile->getHelmetRecord(m_helmetReward->text) == nullptr) {
        kvengine::logDebugMessage("KVTreasureChest: helmet \"%s\" unknown to the profile, no helmet inside",
                                  m_helmetReward->c_str());
        releaseText(m_helmetReward);
    }
    if (m_chestId == nullptr)
        kvengine::logDebugMessage("KVTreasureChest: a chest without \"chestId\" stays closed");
    m_opened = m_chestId != nullptr && profile->isTreasureFound(m_chestId->text);
    m_rewardPending = false;
    kvobjects::post(EVENT_NEW_ACTOR, this);
    return true;
}

bool KVTreasureChest::beginContact(KVContactInfo* contact) {
    KVActor* other = contact != nullptr ? contact->other : nullptr;
    if (m_opened || removed || m_chestId == nullptr || other == nullptr || !other->isKindOf("KVPawn"))
        return false;
    auto* pawn = static_cast<KVPawn*>(other);
    if (pawn->isEnemy() || pawn->isAIDriven()) return false;
    m_opened = true;
    m_rewardPending = true;
    kvobjects::post(EVENT_TREASURE_CHEST_OPENED, this);
    // The pawn bounces off as from any solid body.
    return false;
}

void KVTreasureChest::update(float dt) {
    (void)dt;
    if (m_rewardPending) dropRewards();
}

void KVTreasureChest::dropRewards() {
    m_rewardPending = false;
    if (m_pearlReward > 0) {
        // The game model keeps it from its announcement on.
        auto* pearl = new KVPearl(this, m_pearlReward, kPearlRewardKind);
        pearl->release();
    }
    if (m_helmetReward != nullptr) {
        auto* helmet = new KVPickupHelmet();
        helmet->initFromChest(this, m_helmetReward, m_chestId);
        helmet->release();
        return;
    }
    KVRunningMission* mission = runningMission();
    if (mission == nullptr || !mission->recordOpenedChest(m_chestId->text))
        kvengine::logDebugMessage("KVTreasureChest: \"%s\" opened where no chest is recorded",
                                  m_chestId->c_str());
}

void KVTreasureChest::onRemoveActor(kvengine::CCNotification* notification) {
    KVActor::onRemoveActor(notification);
    if (!removed) return;
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
}

void KVTreasureChest::cleanupBeforeDelete() {
    kvobjects::destroyBody(m_body, this);
    m_body = nullptr;
    releaseText(m_image);
    releaseText(m_chestId);
    releaseText(m_helmetReward);
    KVActor::cleanupBeforeDelete();
}
