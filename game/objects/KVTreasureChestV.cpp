#include "game/objects/KVTreasureChestV.h"

#include <string>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/objects/KVTreasureChest.h"

namespace {

std::string chestFrame(KVTreasureChest* chest, bool opened) {
    const std::string stem = chest->getImage() != nullptr ? chest->getImage()->text : std::string();
    return stem + (opened ? "_opened.png" : "_closed.png");
}

} // namespace

bool KVTreasureChestV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVTreasureChest")) {
        kvengine::logDebugMessage("KVTreasureChestV::initWithActor: the model is no treasure chest");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    auto* chest = static_cast<KVTreasureChest*>(model);
    kvengine::CCSprite* sprite =
        kvengine::CCSprite::createWithSpriteFrameName(chestFrame(chest, chest->isOpened()).c_str());
    if (sprite == nullptr) return false;
    sprite->setPosition(kvengine::CCPoint(chest->positionX * 32.0f, chest->positionY * 32.0f));
    sprite->setScale(chest->getRadius() * 32.0f / 24.0f);
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet("global_ss") : nullptr;
    if (sheet != nullptr)
        sheet->addChild(sprite);
    else
        kvengine::logDebugMessage("KVTreasureChestV: no sheet \"global_ss\" to draw in");
    setSprite(sprite);
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVTreasureChestV::onTreasureChestOpened), EVENT_TREASURE_CHEST_OPENED,
        model);
    return true;
}

void KVTreasureChestV::onTreasureChestOpened(kvengine::CCNotification* notification) {
    (void)notification;
    auto* sprite = dynamic_cast<kvengine::CCSprite*>(m_sprite.get());
    if (sprite == nullptr || m_model == nullptr) return;
    const std::string name = chestFrame(static_cast<KVTreasureChest*>(m_model.get()), true);
    kvengine::CCSpriteFrame* frame =
        kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name.c_str());
    if (frame == nullptr) {
        kvengine::logDebugMessage("KVTreasureChestV: no frame %s", name.c_str());
        return;
    }
    sprite->setDisplayFrame(frame);
}

void KVTreasureChestV::cleanupBeforeDelete() {
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
    KVActorV::cleanupBeforeDelete();
}
