#include "game/data/KVDataAccess.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCResourceIndex.h"

using kvengine::CCString;

namespace kvdata {

Dict* loadDataTable(const std::string& name) {
    CCString* path = kvengine::CCResourceIndex::getInstance()->fullPathForNameAndExtension(name, "plist");
    bool wellFormed = false;
    Dict* table = kvengine::dictionaryWithContentsOfFile(textOf(path).c_str(), &wellFormed);
    if (table == nullptr) {
        kvengine::logDebugMessage("game data: \"%s.plist\" is missing or unreadable", name.c_str());
        return nullptr;
    }
    if (!wellFormed) {
        // Half a table is worse than none: its readers would take missing entries for real data.
        kvengine::logDebugMessage("game data: \"%s.plist\" does not parse; ignored", name.c_str());
        return nullptr;
    }
    return table;
}

} // namespace kvdata
