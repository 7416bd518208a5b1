#include "game/pawns/KVPawnAI.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/pawns/KVPawnAIController.h"

namespace {

KVPawn::StatDictionary* aiStatsOf(KVPawn* pawn) {
    const std::string name = pawn->getTypeName() != nullptr ? pawn->getTypeName()->text : std::string();
    KVPawn::StatDictionary* entry = KVGameParameters::getInstance()->getKelvoAiStats(name);
    if (entry == nullptr) kvengine::logDebugMessage("computer pawn: no AI stats for %s", name.c_str());
    return entry;
}

} // namespace

bool KVPawnAI::setUpComputerPawn(KVPawn* pawn, StatDictionary* entry) {
    auto* controller = new KVPawnAIController();
    if (!controller->initWithPawn(pawn)) {
        controller->release();
        return false;
    }
    pawn->setController(controller);
    controller->release();
    pawn->setOwnerIndex(-1);
    pawn->setUseAllStamina(kvdata::boolAt(entry, "useAllStamina"));
    pawn->readStats(entry);
    pawn->setLevel(kvdata::intAt(entry, "level", 0));
    if (!pawn->createBody()) {
        // The controller lets the pawn go, so neither keeps the other alive.
        controller->onGameShutdown(nullptr);
        pawn->setController(nullptr);
        return false;
    }
    pawn->registerObservers();
    return true;
}

bool KVPawnAI::initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) {
    if (!KVPawn::initAt(x, y, model, typeName)) return false;
    setAIDriven(true);
    setEnemy(true);
    setOwnerPlayer(nullptr);
    return setUpComputerPawn(this, aiStatsOf(this));
}

void KVPawnAI::registerObservers() {
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPawn::onDamageModeOff), EVENT_PULL_RELEASE, this);
    KVPawn::registerObservers();
}

bool KVPawnAI::canAct() {
    return getController() != nullptr && getController()->canAct();
}
