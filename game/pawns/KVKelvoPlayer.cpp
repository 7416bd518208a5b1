#include "game/pawns/KVKelvoPlayer.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVHelmet.h"
#include "game/data/KVPlayerParameters.h"
#include "game/pawns/KVPawnPlayerController.h"
#include "game/pawns/KVPlayer.h"

namespace {

KVKelvoPlayer::ControllerMaker g_controllerMaker = nullptr;

} // namespace

void KVKelvoPlayer::setControllerMaker(ControllerMaker maker) {
    g_controllerMaker = maker;
}

bool KVKelvoPlayer::initForPlayer(float x, float y, KVGameModel* model, kvengine::CCString* name,
                                  KVPlayer* player, kvengine::CCString* helmetName) {
    if (!KVPawn::initAt(x, y, model, name)) return false;
    setAIDriven(false);
    setEnemy(false);
    setOwnerPlayer(player);

    KVPawnController* controller =
        g_controllerMaker != nullptr ? g_controllerMaker() : new KVPawnPlayerController();
    if (controller == nullptr || !controller->initWithPawn(this)) {
        if (controller != nullptr) controller->release();
        kvengine::logDebugMessage("KVKelvoPlayer::initForPlayer: no controller for %s",
                                  getTypeName()->c_str());
        return false;
    }
    setController(controller);
    controller->release();

    if (helmetName != nullptr && !helmetName->text.empty()) {
        auto* helmet = new KVHelmet(helmetName, getTypeName());
        setHelmet(helmet);
        helmet->release();
    }

    const std::string typeName = getTypeName() != nullptr ? getTypeName()->text : std::string();
    kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(typeName);
    if (stats == nullptr)
        kvengine::logDebugMessage("KVKelvoPlayer::initForPlayer: no creature stats for %s", typeName.c_str());
    readStats(stats);
    kvdata::Dict* record = KVPlayerParameters::getInstance()->getKelvoRecord(typeName);
    m_speed = kvdata::intAt(record, "turnSpeed", 0);
    setLevel(kvdata::intAt(record, "level", 0));
    applyLevelUps(getLevel());
    // Again, so that the level-ups and the helmet count in the starting stamina and hit points.
    resetTurnStats();

    if (!createBody()) {
        // The controller lets the pawn go, so neither keeps the other alive.
        getController()->onGameShutdown(nullptr);
        setController(nullptr);
        return false;
    }
    registerObservers();
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVKelvo::saveLevel), EVENT_SAVE_STATS);
    return true;
}
