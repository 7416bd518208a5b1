#include "game/objects/KVHiddenStarV.h"

#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/sprites/CCSprite.h"
#include "game/data/KVGameSetup.h"
#include "game/objects/KVHiddenStar.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/sound/KVSoundManager.h"
#include "game/world/KVRunningMission.h"

namespace {

float distanceTo(KVActor* actor, float x, float y) {
    float ax = 0.0f, ay = 0.0f;
    actor->getPosition(&ax, &ay);
    return std::hypot(ax - x, ay - y);
}

} // namespace

bool KVHiddenStarV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVHiddenStar")) {
        kvengine::logDebugMessage("KVHiddenStarV::initWithActor: the model is no hidden star");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName("hidden_star.png");
    if (sprite == nullptr) return false;
    sprite->setPosition(kvengine::CCPoint(model->positionX * 32.0f, model->positionY * 32.0f));
    sprite->setScale(static_cast<KVHiddenStar*>(model)->getRadius());
    sprite->setOpacity(0);
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet("global_ss") : nullptr;
    if (sheet != nullptr)
        sheet->addChildAtZ(sprite, kZ);
    else
        kvengine::logDebugMessage("KVHiddenStarV: no sheet \"global_ss\" to draw in");
    setSprite(sprite);
    m_soundTimer = 0.0f;
    return true;
}

unsigned char KVHiddenStarV::opacityForDistance(float distance) {
    if (distance > kSeenFrom) return 0;
    if (distance < kFullySeenWithin) return 255;
    return static_cast<unsigned char>((kSeenFrom - distance) / (kSeenFrom - kFullySeenWithin) * 255.0f);
}

float KVHiddenStarV::proximityFor(bool hasPawn, bool inTurn, float distance) {
    if (!hasPawn) return 1000.0f;
    if (!inTurn || distance > 6.0f) return 2.0f;
    if (distance < 2.0f) return 0.0f;
    return 1.0f - (6.0f - distance) * 0.25f;
}

void KVHiddenStarV::update(float dt) {
    KVActorV::update(dt);
    if (m_model == nullptr || !m_attached) return;
    const float x = m_model->positionX, y = m_model->positionY;
    float nearest = kSeenFrom;
    if (KVPawnManager* pawns = KVPawnManager::existingInstance()) {
        for (KVPawn* pawn : *pawns->getPlayerPawns())
            if (!pawn->isAIDriven()) nearest = std::fmin(nearest, distanceTo(pawn, x, y));
    }
    if (auto* sprite = dynamic_cast<kvengine::CCSprite*>(m_sprite.get()))
        sprite->setOpacity(opacityForDistance(nearest));

    KVGameSetup* setup = KVGameSetup::existingInstance();
    auto* mission =
        setup != nullptr ? dynamic_cast<KVRunningMission*>(setup->getCurrentGameModel()) : nullptr;
    KVPawn* current = mission != nullptr ? mission->getCurrentPawn() : nullptr;
    const float proximity = proximityFor(current != nullptr, current != nullptr && current->isTurnActive(),
                                         current != nullptr ? distanceTo(current, x, y) : 0.0f);
    if (proximity >= 1.0f) return;
    m_soundTimer += dt;
    if (m_soundTimer <= kSoundInterval) return;
    m_soundTimer = 0.0f;
    playDetectSound(proximity);
}

void KVHiddenStarV::playDetectSound(float proximity) {
    if (KVSoundManager* sounds = KVSoundManager::existingInstance()) sounds->playHiddenStarDetect(proximity);
}
