#include "game/pawns/KVKelvoAI.h"

#include "engine/base/CCLog.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVHelmet.h"
#include "game/pawns/KVPawnAI.h"
#include "game/pawns/KVPawnController.h"

bool KVKelvoAI::initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) {
    if (!KVPawn::initAt(x, y, model, typeName)) return false;
    const std::string name = typeName != nullptr ? typeName->text : std::string();
    StatDictionary* entry = KVGameParameters::getInstance()->getKelvoAiStats(name);
    if (entry == nullptr) kvengine::logDebugMessage("KVKelvoAI::initAt: no AI stats for %s", name.c_str());
    setAIDriven(true);
    setEnemy(kvdata::boolAt(entry, "Is Enemy"));
    setOwnerPlayer(nullptr);
    // With no default helmet the transferred ones still count.
    kvengine::CCString* helmetName = kvdata::stringAt(entry, "Default Helmet");
    auto* empty = new kvengine::CCString("");
    auto* helmet = new KVHelmet(helmetName != nullptr ? helmetName : empty, getTypeName());
    setHelmet(helmet);
    helmet->release();
    empty->release();
    return KVPawnAI::setUpComputerPawn(this, entry);
}
