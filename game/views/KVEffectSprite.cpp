#include "game/views/KVEffectSprite.h"

#include "engine/base/CCLog.h"
#include "game/world/KVActorV.h"

namespace kveffect {

const char* const kEffectSheet = "top_sfx_51_ss";

bool showOnEffectSheet(kvengine::CCNode* sprite, KVActorViewHost* host, const char* who) {
    if (sprite == nullptr) return false;
    kvengine::CCNode* sheet = host != nullptr ? host->viewSheet(kEffectSheet) : nullptr;
    if (sheet == nullptr) {
        kvengine::logDebugMessage("%s: no sheet \"%s\" to draw in", who, kEffectSheet);
        return false;
    }
    if (sprite->getParent() == nullptr) sheet->addChildAtZ(sprite, 0);
    if (!sprite->isRunning()) {
        kvengine::logDebugMessage("%s: the sheet \"%s\" is not on the screen", who, kEffectSheet);
        return false;
    }
    return true;
}

} // namespace kveffect
