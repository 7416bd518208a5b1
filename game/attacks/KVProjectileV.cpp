#include "game/attacks/KVProjectileV.h"

#include "engine/actions/CCRepeat.h"
#include "engine/actions/CCRotateTo.h"
#include "engine/base/CCLog.h"
#include "engine/sprites/CCSprite.h"
#include "game/attacks/KVProjectile.h"
#include "game/pawns/KVPawn.h"

namespace {
constexpr float kPointsPerMetre = 32.0f;
} // namespace

bool KVProjectileV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVProjectile")) {
        kvengine::logDebugMessage("%s::initWithActor: the model is not a projectile", className());
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    const std::string frame = frameFor(model);
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName(frame.c_str());
    if (sprite == nullptr) {
        kvengine::logDebugMessage("%s: no frame %s", className(), frame.c_str());
        return false;
    }
    sprite->setPosition(
        kvengine::CCPoint(model->positionX * kPointsPerMetre, model->positionY * kPointsPerMetre));
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(sheetName()) : nullptr;
    if (sheet != nullptr)
        sheet->addChild(sprite);
    else
        kvengine::logDebugMessage("%s: no sheet \"%s\" to draw in", className(), sheetName());
    setSprite(sprite);
    decorate();
    return true;
}

void KVProjectileV::update(float dt) {
    (void)dt;
    if (m_sprite == nullptr || m_model == nullptr) return;
    m_sprite->setPosition(
        kvengine::CCPoint(m_model->positionX * kPointsPerMetre, m_model->positionY * kPointsPerMetre));
}

std::string KVDistanceAttackProjectileV::frameFor(KVActor* model) {
    KVPawn* owner = static_cast<KVProjectile*>(model)->getOwner();
    return owner != nullptr && owner->isAIDriven() ? "projectile_enemy.png" : "projectile_kelvos.png";
}

std::string KVShurikenV::frameFor(KVActor* model) {
    (void)model;
    return "ShurikenIcon.png";
}

void KVShurikenV::decorate() {
    if (m_sprite == nullptr) return;
    m_sprite->runAction(kvengine::CCRepeatForever::createWithAction(
        kvengine::CCRotateBy::createWithDurationAngle(1.0f, 360.0f)));
}
