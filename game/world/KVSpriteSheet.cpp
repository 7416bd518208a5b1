#include "game/world/KVSpriteSheet.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrameCache.h"

using namespace kvengine;

CCSpriteBatchNode* kvLoadSheetBatch(const std::string& sheetName, const char* owner) {
    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string plist = sheetName + ".plist";
    const std::string texture = sheetName + ".pvr.ccz";
    if (!index->containsFileName(plist) || !index->containsFileName(texture)) {
        logDebugMessage("%s: no sprite sheet %s", owner, sheetName.c_str());
        return nullptr;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(index->pathForFileName(plist).c_str());
    CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithFile(index->pathForFileName(texture).c_str(), 29);
    if (batch == nullptr)
        logDebugMessage("%s: the texture of sheet %s cannot be loaded", owner, sheetName.c_str());
    return batch;
}
