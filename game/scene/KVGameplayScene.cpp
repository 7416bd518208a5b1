#include "game/scene/KVGameplayScene.h"

#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/app/KVGlobalNames.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/data/KVStoreCatalogue.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/hud/KVHudLayer.h"
#include "game/model/KVGameController.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawnManager.h"
#include "game/pawns/KVTurnManager.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/results/KVFailScreenLayerSolo.h"
#include "game/results/KVWinnerScreenLayer.h"
#include "game/results/KVWinnerScreenLayerSolo.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVLoadingGameLayer.h"
#include "game/score/KVScoreManager.h"
#include "game/sound/KVSoundManager.h"

using namespace kvengine;

namespace {

void post(CCString* name, CCObject* object = nullptr) {
    CCNotificationCenter::getInstance()->postNotification(name, object);
}

// The name a player reads for a creature: its catalogue title, else its text, else the name.
std::string creatureTitle(const std::string& name) {
    KVStoreCatalogue* catalogue = KVStoreCatalogue::existing();
    if (catalogue == nullptr) catalogue = KVStoreCatalogue::shared();
    if (catalogue != nullptr) {
        const std::string title = kvdata::textAt(catalogue->findKelvoItem(name), "title");
        if (!title.empty()) {
            CCString* localised = getLocalizedString(title);
            return localised != nullptr ? localised->c_str() : title;
        }
    }
    CCString* localised = getLocalizedString(name);
    return localised != nullptr ? localised->c_str() : name;
}

// `format` with its first "%s" replaced by `text` (a format without one is shown as it is).
std::string fillText(const std::string& format, const std::string& text) {
    const size_t at = format.find("%s");
    if (at == std::string::npos) return format;
    return format.substr(0, at) + text + format.substr(at + 2);
}

} // namespace

KVGameplayScene* KVGameplayScene::create() {
    auto* scene = new KVGameplayScene();
    if (!scene->init()) {
        scene->release();
        return nullptr;
    }
    scene->autorelease();
    return scene;
}

bool KVGameplayScene::init() {
    if (!CCScene::init()) return false;
    KVGameSetup* setup = KVGameSetup::getInstance();
    if (setup->getTeamKelvoNames()->count() == 0) {
        logDebugMessage("mission: the squad is empty; the mission \"%s\" does not start",
                        kvdata::textOf(setup->getMissionName()).c_str());
        return false;
    }
    auto* objective = new CCString("");
    setup->setMissionObjective(objective);
    objective->release();
    m_loaded = false;
    m_captionStep = 0;
    const CCSize window = CCDirector::getInstance()->getWinSize();
    KVLoadingGameLayer* loading =
        KVLoadingGameLayer::create(ccColor4B{0, 0, 0, 255}, window.width, window.height);
    if (loading == nullptr) {
        logDebugMessage("mission: the loading screen cannot be made");
        return false;
    }
    m_loadingLayer = loading;
    addChildAtZ(m_loadingLayer, kLoadingLayerZ);
    m_loadStep = 0;
    CCDirector* director = CCDirector::getInstance();
    if (!director->isSystemCursorShown()) director->setCursor(CCDirector::kCursorStateSystem);
    schedule(schedule_selector(KVGameplayScene::tick), 0.0f);
    return true;
}

void KVGameplayScene::tick(float) {
    if (m_failed) return;
    if (!m_loaded) {
        const bool done = runLoadStep(m_loadStep);
        updateLoadingCaption();
        if (!done) {
            failMission("a load step failed");
            return;
        }
        m_loadStep += 1;
        unschedule(schedule_selector(KVGameplayScene::tick));
        schedule(schedule_selector(KVGameplayScene::tick), kLoadStepInterval);
        return;
    }
    CCDirector::getInstance()->setCursor(CCDirector::kCursorStateButtonReleased);
    if (m_loadingLayer != nullptr) {
        m_loadingLayer->setCaption("Tap screen to start game");
        m_loadingLayer->tapToStart = true;
    }
    unschedule(schedule_selector(KVGameplayScene::tick));
    startGame();
}

bool KVGameplayScene::runLoadStep(int step) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    switch (step) {
    case 0:
        KVPawnManager::ensureInstance();
        return true;
    case 1:
        // What the mission uses is recorded from here on (a lost mission gives it back).
        KVConsumableManager::getInstance()->clearUsage();
        return true;
    case 2: {
        KVHudLayer* hud = KVHudLayer::create();
        if (hud == nullptr) return false;
        m_hud = hud;
        m_hud->setVisible(false);
        addChildAtZWithTag(m_hud, KVHudLayer::kZOrder, KVHudLayer::kTag);
        return true;
    }
    case 3: {
        const std::string path = kvdata::textOf(setup->getLevelTmxPath());
        CCTMXTiledMap* map = path.empty() ? nullptr : CCTMXTiledMap::createWithFile(path.c_str());
        if (map == nullptr) {
            logDebugMessage("mission: no readable tile map for \"%s\"",
                            kvdata::textOf(setup->getMissionName()).c_str());
            return false;
        }
        m_map = map;
        return true;
    }
    case 4: {
        auto* layer = new KVGameplayLayer();
        const bool ok = layer->initWithMap(m_map);
        layer->autorelease();
        if (!ok) return false;
        m_gameplayLayer = layer;
        return true;
    }
    case 5: {
        m_gameplayLayer->setVisible(false);
        auto* model = new KVGameModel();
        model->autorelease();
        const bool built = model->buildLevel(m_map);
        m_map.reset();
        if (!built) {
            logDebugMessage("mission: the level of \"%s\" cannot be built",
                            kvdata::textOf(setup->getMissionName()).c_str());
            return false;
        }
        m_gameModel = model;
        return true;
    }
    case 6: {
        m_gameplayLayer->setGameModel(m_gameModel);
        m_hud->setGameModel(m_gameModel);
        KVChatterManager::getInstance()->setHostScene(this);
        auto* controller = new KVGameController(m_gameModel);
        m_gameController.adopt(controller);
        m_gameplayLayer->setGameController(m_gameController);
        return true;
    }
    case 7:
        KVEnvLayerManager::getInstance()->loadLayers(m_gameplayLayer);
        return true;
    case 8:
        KVSoundManager::getInstance()->stopAllEvents();
        CCNotificationCenter::getInstance()->addObserver(
            this, notification_selector(KVGameplayScene::onGameEnd), EVENT_GAME_WINNER);
        post(EVENT_POST_LOAD_GAME, this);
        post(EVENT_MUSIC_GAME_START, this);
        return true;
    case 9:
        m_loaded = true;
        return true;
    default:
        return true;
    }
}

void KVGameplayScene::updateLoadingCaption() {
    m_captionStep += 1;
    if (m_loadingLayer == nullptr) return;
    KVGameSetup* setup = KVGameSetup::getInstance();
    CCMutableArray<CCString*>* team = setup->getTeamKelvoNames();
    std::string text;
    if (m_captionStep <= kLoadSteps) {
        std::string title;
        if (team->count() > 0) {
            CCString* name = team->objectAtIndex(static_cast<unsigned>(CCRandom::next()) % team->count());
            title = creatureTitle(kvdata::textOf(name));
        }
        const int number = std::min(4, std::max(1, m_captionStep / 2));
        CCString* format = getLocalizedString("loading screen caption " + std::to_string(number));
        text = fillText(format != nullptr ? format->c_str() : "%s", title);
    } else {
        text = "Loading step " + std::to_string(m_captionStep);
    }
    auto* caption = new CCString(text);
    m_loadingLayer->setCaptionWide(caption->makeWideString());
    caption->release();
}

void KVGameplayScene::failMission(const char* why) {
    m_failed = true;
    unscheduleAllSelectors();
    logDebugMessage("mission: \"%s\" does not start (%s)",
                    kvdata::textOf(KVGameSetup::getInstance()->getMissionName()).c_str(), why);
    if (s_abortHandler != nullptr) s_abortHandler();
}

void KVGameplayScene::startGame() {
    if (m_failed || m_gameModel == nullptr) return;
    if (m_hud != nullptr) m_hud->setVisible(true);
    if (m_gameplayLayer != nullptr) m_gameplayLayer->setVisible(true);
    if (m_loadingLayer != nullptr) {
        m_loadingLayer->removeFromParent(true);
        m_loadingLayer.reset();
    }
    KVEnvLayerManager::getInstance()->addLayersToNode(this);
    KVGameSetup* setup = KVGameSetup::getInstance();
    post(SCREEN_INGAME_GAME, setup->getMissionName());
    if (kvdata::Dict* profile = KVPlayerParameters::getInstance()->getProfile())
        kvdata::setText(profile, "last_played_mission", kvdata::textOf(setup->getMissionName()));
    if (KVTurnManager* turns = m_gameModel->getTurnManager()) turns->startFirstTurn();
    setup->escapeKeyBlocked = true;
}

void KVGameplayScene::onGameEnd(CCNotification*) {
    CCNotificationCenter::getInstance()->removeObserver(this, EVENT_GAME_WINNER);
    post(EVENT_SAVE_STATS, this);
    KVScoreManager* score = m_gameModel != nullptr ? m_gameModel->getScoreManager() : nullptr;
    if (!KVGameSetup::getInstance()->solo)
        m_outcome = kOutcomeMultiplayer;
    else
        m_outcome = score != nullptr && score->isVictoryRequested() ? kOutcomeVictory : kOutcomeDefeat;
    if (m_gameplayLayer == nullptr) return;
    constexpr int kResultSheetZ = 600;
    constexpr int kResultScreenZ = 1100;
    static const char* const kVictorySheets[] = {"victory_screen_88_ss", "victory_screen_tc4_ss"};
    static const char* const kFailSheets[] = {"fail_screen_8888_ss", "fail_screen_5551_ss"};
    for (const char* sheet : m_outcome == kOutcomeDefeat ? kFailSheets : kVictorySheets)
        m_gameplayLayer->loadSpriteSheet(sheet, kResultSheetZ);
    const CCSize window = CCDirector::getInstance()->getWinSize();
    const ccColor4B shade{0, 0, 0, 150};
    CCLayer* screen = nullptr;
    if (m_outcome == kOutcomeVictory)
        screen = KVWinnerScreenLayerSolo::create(shade, window.width, window.height, m_gameModel);
    else if (m_outcome == kOutcomeDefeat)
        screen = KVFailScreenLayerSolo::create(m_gameModel);
    else
        screen = KVWinnerScreenLayer::create(shade, window.width, window.height, m_gameModel);
    if (screen == nullptr) return;
    m_resultScreen = screen;
    addChildAtZ(screen, kResultScreenZ);
}

void KVGameplayScene::cleanup() {
    // The dialogue manager keeps its host scene: a finished mission must not stay alive through it.
    if (KVChatterManager* chatter = KVChatterManager::existingInstance())
        if (chatter->getHostScene() == this) chatter->setHostScene(nullptr);
    CCScene::cleanup();
}

void KVGameplayScene::cleanupBeforeDelete() {
    post(EVENT_GAME_SHUTDOWN);
    CCNotificationCenter::getInstance()->removeObserver(this);
    removeAllChildren(true);
    // A gameplay layer made but not yet shown (the program ended during the load) was not cleaned
    // up with the children; its camera and views would keep it alive.
    if (m_gameplayLayer != nullptr && m_gameplayLayer->getParent() == nullptr) m_gameplayLayer->cleanup();
    m_hud.reset();
    m_resultScreen.reset();
    m_loadingLayer.reset();
    m_gameModel.reset();
    m_gameController.reset();
    m_gameplayLayer.reset();
    m_map.reset();
    if (KVGameSetup* setup = KVGameSetup::existingInstance()) {
        setup->setCurrentGameModel(nullptr);
        // A mission that is gone no longer keeps Escape from the menus.
        setup->escapeKeyBlocked = false;
    }
    CCScene::cleanupBeforeDelete();
}
