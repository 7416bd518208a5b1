#include "game/achievements/KVTrainingAchievements.h"

#include "engine/base/CCLog.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"

using namespace kvengine;

bool KVAchievementYodaIsMyFather::registerObservers() {
    return observe(SCREEN_MENU_TRAIN_KELVO_CONFIRM,
                   notification_selector(KVAchievementYodaIsMyFather::handleEvent));
}

void KVAchievementYodaIsMyFather::handleEvent(CCNotification* notification) {
    CCString* name = kvdata::asString(notification != nullptr ? notification->getObject() : nullptr);
    if (name == nullptr) {
        logDebugMessage("achievement %s: the training names no creature", className());
        return;
    }
    kvdata::Dict* record = KVPlayerParameters::getInstance()->getKelvoRecord(name->text);
    if (record == nullptr) {
        logDebugMessage("achievement %s: the profile has no record of \"%s\"; not complete", className(),
                        name->c_str());
        return;
    }
    if (KVPlayerParameters::getInstance()->getKelvoLevel(name->text) > kLevelAbove) complete();
}

bool KVAchievementLegendaryArmy::registerObservers() {
    return observe(SCREEN_MENU_TRAIN_KELVO_CONFIRM,
                   notification_selector(KVAchievementLegendaryArmy::handleEvent));
}

void KVAchievementLegendaryArmy::handleEvent(CCNotification* notification) {
    (void)notification;
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVGameParameters* data = KVGameParameters::getInstance();
    int count = 0;
    for (const std::string& name : kvdata::keysOf(kvdata::dictAt(profile->getProfile(), "Kelvo"))) {
        if (profile->getKelvoLevel(name) < kLegendaryLevel) continue;
        kvdata::Dict* stats = data->getKelvoStats(name);
        if (stats == nullptr) {
            // Without its stats the creature's start level is unknown: it is not counted.
            logDebugMessage("achievement %s: \"%s\" has no creature stats; not counted", className(),
                            name.c_str());
            continue;
        }
        if (kvdata::intAt(stats, "init_level", 1) > kLegendaryLevel - 1) continue;
        if (++count >= kArmySize) {
            complete();
            return;
        }
    }
}
