#include "game/results/KVMissionProgress.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/score/KVScoreManagerSolo.h"

using kvdata::Dict;
using kvengine::CCMutableArray;
using kvengine::CCNotificationCenter;
using kvengine::CCObject;
using kvengine::CCString;
using kvengine::logDebugMessage;

namespace {

void announce(CCMutableArray<CCString*>* list, const std::string& name) {
    if (list == nullptr) return;
    CCString* text = kvdata::newString(name);
    list->addObject(text);
}

/// The lock status of a creature or helmet the profile holds; -1 (logged) for one it does not.
int lockStatusOf(KVPlayerParameters* profile, const std::string& name, bool helmet, const char* why) {
    Dict* record = helmet ? profile->getHelmetRecord(name) : profile->getKelvoRecord(name);
    if (record == nullptr) {
        logDebugMessage("mission progress: %s names the %s \"%s\", which the profile does not hold", why,
                        helmet ? "helmet" : "creature", name.c_str());
        return -1;
    }
    return helmet ? profile->getHelmetLockStatus(name) : profile->getKelvoLockStatus(name);
}

/// A locked creature or helmet goes to the shop and is announced.
void offerInShop(KVPlayerParameters* profile, const std::string& name, bool helmet, const char* why,
                 CCMutableArray<CCString*>* unlocked) {
    if (lockStatusOf(profile, name, helmet, why) != kLockStatusLocked) return;
    if (helmet)
        profile->setHelmetLockStatus(name, kLockStatusInShop);
    else
        profile->setKelvoLockStatus(name, kLockStatusInShop);
    announce(unlocked, name);
}

void grantConsumable(KVPlayerParameters* profile, const std::string& name,
                     CCMutableArray<CCString*>* unlocked) {
    Dict* definition = KVGameParameters::getInstance()->getConsumableDefinition(name);
    if (definition == nullptr) {
        logDebugMessage("mission progress: the unlockable consumable \"%s\" has no definition", name.c_str());
        return;
    }
    const int maximum = kvdata::intAt(definition, "max_amount");
    const int amount = kvdata::intAt(profile->getConsumableRecord(name), "amount");
    if (amount >= maximum) return;
    KVStoreCatalogue* store = KVStoreCatalogue::shared();
    if (store == nullptr) {
        logDebugMessage("mission progress: no store to grant \"%s\"", name.c_str());
        return;
    }
    CCString* text = kvdata::newString(name);
    store->grantOneItem(text);
    announce(unlocked, name);
}

void unlockItems(KVPlayerParameters* profile, Dict* items, CCMutableArray<CCString*>* unlocked) {
    for (const std::string& name : kvdata::keysOf(items)) {
        const std::string type = kvdata::textAt(items, name);
        if (type == "kelvo" || type == "helmet")
            offerInShop(profile, name, type == "helmet", "\"unlockable_items\"", unlocked);
        else if (type == "consumable")
            grantConsumable(profile, name, unlocked);
        else
            logDebugMessage("mission progress: \"%s\" has the unlockable type \"%s\", ignored", name.c_str(),
                            type.c_str());
    }
}

void lockItems(KVPlayerParameters* profile, Dict* items, CCMutableArray<CCString*>* locked) {
    for (const std::string& name : kvdata::keysOf(items)) {
        const std::string type = kvdata::textAt(items, name);
        if (type != "kelvo" && type != "helmet") continue;
        const bool helmet = type == "helmet";
        const int old = lockStatusOf(profile, name, helmet, "\"lockable_items\"");
        if (old < 0 || old == kLockStatusWithdrawn) continue;
        if (helmet)
            profile->setHelmetLockStatus(name, kLockStatusWithdrawn);
        else
            profile->setKelvoLockStatus(name, kLockStatusWithdrawn);
        if (old == kLockStatusUnlocked || old == kLockStatusInShop) announce(locked, name);
    }
}

void openNextMission(KVPlayerParameters* profile, Dict* definition, const KVMissionProgress::Win& win) {
    CCString* mission = kvdata::newString(win.mission);
    CCString* chapter = kvdata::newString(win.chapter);
    CCString* next = KVGameParameters::getInstance()->getNextMissionName(mission, chapter);
    if (Dict* steps = kvdata::dictAt(definition, "stepsToDoBeforeNextMission")) {
        // The tutorial steps open the next mission when they are done.
        profile->startForcedSteps(steps);
        return;
    }
    if (next == nullptr) return;
    profile->setMissionLockStatus(next->text, win.chapter, kLockStatusUnlocked);
    profile->setLastPlayedMission(next);
}

} // namespace

KVMissionProgress::Win KVMissionProgress::currentWin(KVScoreManager* scoreManager) {
    Win win;
    KVGameSetup* setup = KVGameSetup::getInstance();
    win.mission = kvdata::textOf(setup->getMissionName());
    win.chapter = kvdata::textOf(setup->getChapterName());
    if (auto* solo = dynamic_cast<KVScoreManagerSolo*>(scoreManager)) {
        win.turnsUsed = solo->getPlayerTurns();
        win.helmetsFound = solo->getHelmetsFound();
        win.kelvosFound = solo->getKelvosFound();
        win.chestsFound = solo->getChestsFound();
    }
    return win;
}

bool KVMissionProgress::recordWin(const Win& win, const Announcements& out, CCObject* announcer) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    Dict* record = profile->getMissionRecord(win.mission, win.chapter);
    if (record == nullptr) {
        logDebugMessage(
            "mission progress: the profile has no record of \"%s\" in \"%s\"; the win is not recorded",
            win.mission.c_str(), win.chapter.c_str());
        return false;
    }
    profile->updateTurnScore(win.mission, win.chapter, win.turnsUsed);

    if (kvdata::intAt(record, "status_completed") == 0) {
        Dict* definition = KVGameParameters::getInstance()->findMissionDefinition(win.mission);
        unlockItems(profile, kvdata::dictAt(definition, "unlockable_items"), out.unlocked);
        lockItems(profile, kvdata::dictAt(definition, "lockable_items"), out.locked);
        if (kvdata::Array* messages = kvdata::arrayAt(definition, "victory_messages")) {
            for (unsigned i = 0; i < messages->count(); ++i) {
                CCString* message = kvdata::asString(messages->objectAtIndex(i));
                if (message != nullptr && out.messages != nullptr) out.messages->addObject(message);
            }
        }
        openNextMission(profile, definition, win);
    }

    if (win.helmetsFound != nullptr)
        for (CCString* name : *win.helmetsFound)
            offerInShop(profile, kvdata::textOf(name), true, "the match", out.unlocked);
    if (win.kelvosFound != nullptr)
        for (CCString* name : *win.kelvosFound)
            offerInShop(profile, kvdata::textOf(name), false, "the match", out.unlocked);
    if (win.chestsFound != nullptr)
        for (CCString* chest : *win.chestsFound)
            profile->markTreasureFound(kvdata::textOf(chest));
    if (profile->getChapterRecord(win.chapter) != nullptr) profile->setChapterPlayed(win.chapter);
    profile->setMissionPlayed(win.mission, win.chapter);
    profile->setMissionCompleted(win.mission, win.chapter);
    CCString* mission = kvdata::newString(win.mission);
    CCString* chapter = kvdata::newString(win.chapter);
    if (KVGameParameters::getInstance()->isLastMissionOfChapter(mission, chapter))
        profile->setChapterCompleted(win.chapter);
    profile->saveProfile();
    CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_PLAYER_WIN, announcer);
    return true;
}

int KVMissionProgress::pearlLoot(int scoreTotal) {
    const bool doubled = KVPlayerParameters::getInstance()->getConsumableAmount(kPearlDoubler) > 0;
    return doubled ? 2 * scoreTotal : scoreTotal;
}
