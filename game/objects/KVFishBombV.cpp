#include "game/objects/KVFishBombV.h"

#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/objects/KVFishBomb.h"

namespace {
constexpr float kPointsPerMetre = 32.0f;
constexpr float kDegreesPerRadian = 57.29578f;
} // namespace

bool KVFishBombV::acceptsModel(KVActor* model) {
    return model != nullptr && model->isKindOf("KVFishBomb");
}

bool KVFishBombV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (!KVCoconutV::initWithActor(model, host)) return false;
    if (m_sprite != nullptr) m_sprite->setScale(1.0f);
    m_viewTimer = 0.0f;
    m_puffed = false;
    return true;
}

void KVFishBombV::update(float dt) {
    if (m_sprite == nullptr || m_model == nullptr) return;
    m_sprite->setPosition(
        kvengine::CCPoint(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre));
    m_sprite->setRotation(-(m_model->angle * kDegreesPerRadian));
    auto* fish = static_cast<KVFishBomb*>(m_model.get());
    m_viewTimer -= dt;
    if ((fish->isHit() || m_viewTimer < 0.0f) && !m_puffed) {
        m_viewTimer = kPuffedSeconds;
        fish->clearHit();
        m_puffed = true;
        showFrame("GPE_Fugu_angry.png");
    }
    if (m_puffed && fish->getAngryTimer() <= 0.0f && m_viewTimer < 0.0f) {
        m_puffed = false;
        m_viewTimer = kCalmSeconds;
        showFrame("GPE_Fugu.png");
    }
}

void KVFishBombV::showFrame(const char* frameName) {
    auto* sprite = dynamic_cast<kvengine::CCSprite*>(m_sprite.get());
    if (sprite == nullptr) return;
    kvengine::CCSpriteFrame* frame =
        kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frameName);
    if (frame != nullptr) sprite->setDisplayFrame(frame);
}
