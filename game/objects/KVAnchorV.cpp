#include "game/objects/KVAnchorV.h"

#include "engine/base/CCLog.h"
#include "engine/sprites/CCSprite.h"
#include "game/objects/KVAnchor.h"

bool KVAnchorV::initWithActor(KVActor* model, KVActorViewHost* host) {
    if (model == nullptr || !model->isKindOf("KVAnchor")) {
        kvengine::logDebugMessage("KVAnchorV::initWithActor: the model is not an anchor");
        return false;
    }
    if (!KVActorV::initWithActor(model, host)) return false;
    kvengine::CCSprite* sprite = kvengine::CCSprite::createWithSpriteFrameName(getFrameName());
    if (sprite == nullptr) return false;
    sprite->setPosition(kvengine::CCPoint(model->positionX * 32.0f, model->positionY * 32.0f));
    sprite->setScale(static_cast<KVAnchor*>(model)->getRadius() * 32.0f / 15.0f);
    setSprite(sprite);
    // On the level objects' sheet, where the gameplay layer draws it; without it nobody sees the anchor.
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(kSheetName) : nullptr;
    if (sheet != nullptr)
        sheet->addChild(sprite);
    else
        kvengine::logDebugMessage("KVAnchorV::initWithActor: no sheet %s to draw on", kSheetName);
    return true;
}

const char* KVAnchorV::getFrameName() {
    return "GPE_Anchor.png";
}
