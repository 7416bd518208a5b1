#pragma once
// What the game tests that build real missions share: the release of the shared game objects that
// read the game data, the settings and the profile (so that the next use reads them again, from
// the resource folder the test chose), and the end of a mission as the mission scene ends it.
// Header-only: the engine's test programs link the support library without the game.

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCUserDefaults.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawnManager.h"
#include "game/rules/KVRuleManager.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/world/KVPhysWorld.h"

namespace kvtest {

/// Releases the profile, the store catalogue, the game data, the game setup, the saved settings
/// and the text tables.
inline void releaseGameData() {
    if (auto* profile = KVPlayerParameters::existingInstance()) profile->release();
    if (auto* store = KVKelvosOFXDelegate::existingInstance()) store->release();
    if (auto* parameters = KVGameParameters::existingInstance()) parameters->release();
    if (auto* setup = KVGameSetup::existingInstance()) setup->release();
    if (auto* defaults = kvengine::CCUserDefaults::existingInstance()) defaults->release();
    if (auto* texts = kvengine::CCLocalizationManager::existingInstance()) texts->release();
}

/// Posts "EVENT_GAME_SHUTDOWN", clears the game setup's current model, releases `model` (null:
/// nothing to release) and the mission's pawn manager, rule manager and physics world.
inline void endMission(KVGameModel* model) {
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
    if (auto* setup = KVGameSetup::existingInstance()) setup->setCurrentGameModel(nullptr);
    if (model != nullptr) model->release();
    if (auto* manager = KVPawnManager::existingInstance()) manager->release();
    if (auto* rules = KVRuleManager::existingInstance()) rules->release();
    if (auto* physics = KVPhysWorld::existingInstance()) physics->release();
}

/// For tests of a mission that opens with a dialogue (M01a) but look at what follows: plays frames
/// through `frame` until the dialogue starts (at most `maxFrames`), ends it as its skip button
/// does, and plays on through the moment in which the mission still refuses touches. False when
/// no dialogue started.
template <typename Frame> bool passOpeningDialogue(Frame frame, int maxFrames = 180) {
    KVChatterManager* dialogues = KVChatterManager::existingInstance();
    for (int i = 0; i < maxFrames && (dialogues == nullptr || !dialogues->isChatterRunning()); ++i) {
        frame();
        dialogues = KVChatterManager::existingInstance();
    }
    if (dialogues == nullptr || !dialogues->isChatterRunning()) return false;
    dialogues->endChatter();
    for (int i = 0; i < 60 && dialogues->isInputCooldown(); ++i)
        frame();
    return !dialogues->isInputCooldown();
}

} // namespace kvtest
