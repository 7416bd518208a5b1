// Player profile: the forced tutorial steps kept under "forcedSteps" ("step01", "step02", ...).
//
// Each step has an optional "condition" (every entry must hold) and an optional "effect" (start a
// dialogue, unlock a mission). The screens ask the profile to process the sequence; fulfilled
// leading steps run their effects, are dropped and announced with EVENT_STEP_VALIDATED. A step whose
// dialogue cannot start because another one runs waits with an "endChatter" condition entry, which
// the end of the dialogue removes.

#include <cstdio>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDialogueService.h"
#include "game/data/KVPlayerParameters.h"

using kvdata::Dict;
using kvengine::CCString;

namespace {

std::string stepKey(int number) {
    char key[16];
    std::snprintf(key, sizeof key, "step%.2d", number);
    return key;
}

void post(CCString* name) {
    kvengine::CCNotificationCenter::getInstance()->postNotification(name, nullptr, nullptr);
}

} // namespace

Dict* KVPlayerParameters::firstForcedStep() {
    return kvdata::dictAt(kvdata::dictAt(m_profile, "forcedSteps"), "step01");
}

bool KVPlayerParameters::startForcedSteps(Dict* steps) {
    if (m_profile != nullptr && steps != nullptr && !kvdata::hasKey(m_profile, "forcedSteps")) {
        // The sequence is consumed step by step: keep a copy, so the caller's data (a mission's
        // definition) stays whole for the next time.
        m_profile->setObject(kvdata::deepCopy(steps), "forcedSteps");
        processForcedSteps("", false);
    }
    return saveProfile();
}

bool KVPlayerParameters::resumeForcedSteps(const std::string& currentScreen) {
    return processForcedSteps(currentScreen, true);
}

bool KVPlayerParameters::processForcedSteps(const std::string& currentScreen, bool allowChatter) {
    while (true) {
        Dict* forcedSteps = kvdata::dictAt(m_profile, "forcedSteps");
        Dict* step = kvdata::dictAt(forcedSteps, "step01");
        if (step == nullptr) return false;

        Dict* condition = kvdata::dictAt(step, "condition");
        bool allMet = true;
        bool redirect = false;
        bool boughtClint = false;
        bool boughtSammo = false;
        for (const std::string& key : kvdata::keysOf(condition)) {
            const std::string value = kvdata::textAt(condition, key);
            if (key == "screen") {
                if (value != currentScreen) allMet = false;
            } else if (key == "endChatter") {
                allMet = false;
            } else if (value == "buyKelvo" && getKelvoRecord(key) != nullptr) {
                if (getKelvoLockStatus(key) != 0) {
                    allMet = false;
                    if (currentScreen == "shop") {
                        redirect = true;
                    } else if (currentScreen == "team") {
                        post(EVENT_TAP_ANIMATION);
                    }
                } else {
                    boughtClint = boughtClint || key == "clint";
                    boughtSammo = boughtSammo || key == "sammo";
                }
            } else if (value == "placeInTeam" && getKelvoRecord(key) != nullptr) {
                if (getKelvoSelectedStatus(key) != 1) {
                    allMet = false;
                    redirect = redirect || currentScreen == "team";
                }
            } else if (value == "placeInTeamLastPosition" && getKelvoRecord(key) != nullptr) {
                if (getKelvoTurnSpeed(key) != 4) {
                    allMet = false;
                    redirect = redirect || currentScreen == "team";
                }
            }
        }
        if (!allMet) return redirect;
        if (boughtClint && boughtSammo && currentScreen == "shop") post(EVENT_TAP_ANIMATION);

        Dict* nextCondition = kvdata::dictAt(kvdata::dictAt(forcedSteps, "step02"), "condition");
        const bool nextMet = nextCondition != nullptr && areStepConditionsMet(nextCondition, currentScreen);

        Dict* effect = kvdata::dictAt(step, "effect");
        for (const std::string& key : kvdata::keysOf(effect)) {
            if (key == "chatter" && allowChatter && !nextMet) {
                KVDialogueService* dialogues = KVDialogueService::shared();
                if (dialogues != nullptr && dialogues->isChatterRunning()) {
                    // Wait for the running dialogue; its end resumes the sequence.
                    if (condition == nullptr) {
                        condition = kvdata::newDict();
                        step->setObject(condition, "condition");
                    }
                    kvdata::setText(condition, "endChatter", "");
                    // Whoever started the running dialogue, its end must resume the sequence.
                    observeEndSpeech();
                    return true;
                }
                startStepChatter(kvdata::textAt(effect, key), currentScreen);
            } else if (key == "unlockMission") {
                setMissionLockStatus(kvdata::textAt(effect, key), kvdata::textAt(effect, "inChapiter"),
                                     kLockStatusUnlocked);
            }
        }
        dropFirstForcedStep();
        post(EVENT_STEP_VALIDATED);
        allowChatter = true;
    }
}

bool KVPlayerParameters::startStepChatter(const std::string& chatter, const std::string& currentScreen) {
    KVDialogueService* manager = KVDialogueService::shared();
    if (manager == nullptr) return false;
    manager->showDimmer();
    manager->setHostSceneToRunningScene();
    manager->loadChatter(chatter);
    observeEndSpeech();
    manager->startChatter();
    if (currentScreen == "shop") manager->setShopFlag(true);
    return true;
}

void KVPlayerParameters::observeEndSpeech() {
    if (m_observingEndSpeech) return;
    kvengine::CCNotificationCenter::getInstance()->addObserver(
        this, notification_selector(KVPlayerParameters::onEndSpeech), EVENT_END_SPEECH, nullptr);
    m_observingEndSpeech = true;
}

bool KVPlayerParameters::areStepConditionsMet(Dict* conditions, const std::string& currentScreen) {
    for (const std::string& key : kvdata::keysOf(conditions)) {
        const std::string value = kvdata::textAt(conditions, key);
        if (key == "screen") {
            if (value != currentScreen) return false;
        } else if (key == "endChatter") {
            return false;
        } else if (value == "buyKelvo") {
            if (getKelvoLockStatus(key) != 0) return false;
        } else if (value == "placeInTeam") {
            if (getKelvoSelectedStatus(key) != 1) return false;
        } else if (value == "placeInTeamLastPosition") {
            if (getKelvoTurnSpeed(key) != 4) return false;
        }
    }
    return true;
}

void KVPlayerParameters::dropFirstForcedStep() {
    Dict* forcedSteps = kvdata::dictAt(m_profile, "forcedSteps");
    if (forcedSteps == nullptr) return;
    if (kvdata::hasKey(forcedSteps, "step02")) {
        for (int number = 2; kvdata::hasKey(forcedSteps, stepKey(number)); ++number) {
            kvengine::CCObject* step = forcedSteps->objectForKey(stepKey(number));
            step->retain();
            forcedSteps->removeObjectForKey(stepKey(number));
            forcedSteps->setObject(step, stepKey(number - 1));
            step->release();
        }
    } else {
        m_profile->removeObjectForKey("forcedSteps");
    }
    saveProfile();
}

bool KVPlayerParameters::getForcedStepTarget(CCString** screenOut, CCString** itemOut) {
    Dict* condition = kvdata::dictAt(firstForcedStep(), "condition");
    if (condition == nullptr) return false;
    for (const std::string& key : kvdata::keysOf(condition)) {
        const std::string value = kvdata::textAt(condition, key);
        const char* screen = nullptr;
        if (key == "screen") {
            if (screenOut != nullptr) *screenOut = kvdata::stringAt(condition, key);
            continue;
        }
        if (value == "buyKelvo" && getKelvoLockStatus(key) != 0) {
            screen = "shop";
        } else if (value == "placeInTeam" && getKelvoSelectedStatus(key) != 1) {
            screen = "team";
        } else if (value == "placeInTeamLastPosition" && getKelvoRecord(key) != nullptr &&
                   getKelvoTurnSpeed(key) != 4) {
            screen = "team";
        }
        if (screen == nullptr) continue;
        if (screenOut != nullptr) *screenOut = kvdata::newString(screen);
        if (itemOut != nullptr) *itemOut = kvdata::newString(key);
    }
    return true;
}

std::string KVPlayerParameters::getForcedStepConditionType() {
    Dict* condition = kvdata::dictAt(firstForcedStep(), "condition");
    const std::vector<std::string> keys = kvdata::keysOf(condition);
    if (keys.empty()) return "";
    return keys.front() == "screen" ? "screen" : kvdata::textAt(condition, keys.front());
}

std::vector<std::string> KVPlayerParameters::getForcedStepConditionKeys() {
    return kvdata::keysOf(kvdata::dictAt(firstForcedStep(), "condition"));
}

void KVPlayerParameters::onEndSpeech(kvengine::CCNotification*) {
    Dict* condition = kvdata::dictAt(firstForcedStep(), "condition");
    const bool waited = kvdata::hasKey(condition, "endChatter");
    if (waited) condition->removeObjectForKey("endChatter");
    kvengine::CCNotificationCenter::getInstance()->removeObserver(this, EVENT_END_SPEECH);
    m_observingEndSpeech = false;
    if (KVDialogueService* manager = KVDialogueService::shared()) {
        manager->hideDimmer();
        manager->unloadPortraitSheets();
    }
    if (waited) processForcedSteps("", true);
}
