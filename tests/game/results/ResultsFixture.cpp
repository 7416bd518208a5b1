#include "ResultsFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "game/app/KVGlobalNames.h"
#include "game/camera/KVCamera.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPopUpItemScreenView.h"
#include "game/model/KVGameModel.h"
#include "game/pawns/KVPawnManager.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/scene/KVGameplayScene.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVObjectFactory.h"

using namespace kvengine;

namespace resultstest {

namespace {
template <typename T> void releaseIfMade(T* shared) {
    if (shared != nullptr) shared->release();
}
} // namespace

void ResultsFixture::forgetSavedProfile() {
    if (const char* home = std::getenv("XDG_DATA_HOME")) {
        std::error_code ignored;
        std::filesystem::remove(std::string(home) + "/Kelvos/SavedSettings.plist", ignored);
    }
}

void ResultsFixture::setUpWithGL() {
    // Every test starts from a new player's profile.
    forgetSavedProfile();
    MenuFixture::setUpWithGL();
    CCDirector::wideScreen = 1;
    KVObjectFactory::registerGameClasses();
    KVGameplayScene::setMissionAbortHandler(nullptr);
    CCRandom::seed(1);
    setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
}

void ResultsFixture::tearDownWithGL() {
    setDebugLogSink(nullptr);
    director->replaceScene(CCScene::create());
    frame();
    frame();
    releaseIfMade(KVCameraManager::existingInstance());
    releaseIfMade(KVEnvLayerManager::existingInstance());
    releaseIfMade(KVPawnManager::existingInstance());
    releaseIfMade(KVConsumableManager::existingInstance());
    MenuFixture::tearDownWithGL();
}

KVGameplayScene* ResultsFixture::startMission(const char* mission) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    setup->getTeamKelvoNames()->removeAllObjects();
    setup->getTeamHelmetNames()->removeAllObjects();
    setup->getTeamSpawnPoints()->removeAllObjects();
    setup->setChapterName(kvdata::newString("Prologue"));
    setup->setMissionName(kvdata::newString(mission));
    KVMenuManager::getInstance()->setChapterName(kvdata::newString("Prologue"));
    KVMenuManager::getInstance()->setMissionName(kvdata::newString(mission));
    setup->buildTeam();
    KVGameplayScene* scene = KVGameplayScene::create();
    if (scene == nullptr) {
        ADD_FAILURE() << mission << " cannot be made";
        return nullptr;
    }
    director->replaceScene(scene);
    for (int i = 0; i < 240 && (scene->getGameModel() == nullptr || !scene->isLoaded() ||
                                scene->getLoadingLayer() != nullptr);
         ++i)
        frame();
    if (scene->getLoadingLayer() != nullptr || scene->hasFailed()) {
        ADD_FAILURE() << mission << " did not start";
        return nullptr;
    }
    return scene;
}

KVScoreManagerSolo* ResultsFixture::soloScore(KVGameplayScene* scene) const {
    KVGameModel* model = scene != nullptr ? scene->getGameModel() : nullptr;
    return model != nullptr ? dynamic_cast<KVScoreManagerSolo*>(model->getScoreManager()) : nullptr;
}

CCNode* ResultsFixture::finish(KVGameplayScene* scene, bool victory, int pearls) {
    KVScoreManagerSolo* score = soloScore(scene);
    if (score == nullptr) {
        ADD_FAILURE() << "no solo score manager";
        return nullptr;
    }
    if (pearls > 0) {
        KVActionEvent* points = KVActionEvent::create(KVActionEvent::Points, pearls, 0.0f, nullptr, nullptr);
        CCNotificationCenter::getInstance()->postNotification(EVENT_ACTION, points);
    }
    if (victory)
        score->requestVictory();
    else
        score->requestDefeat();
    for (int i = 0; i < 300 && scene->getResultScreen() == nullptr; ++i)
        frame();
    if (scene->getResultScreen() == nullptr) ADD_FAILURE() << "no result screen";
    return scene->getResultScreen();
}

int ResultsFixture::confirmPopUp() {
    CCScene* popUp = KVMenuManager::getInstance()->getPopUpScene();
    if (popUp == nullptr || popUp->getChildren() == nullptr || popUp->getChildren()->count() == 0) return 0;
    auto* view = dynamic_cast<KVPopUpItemScreenView*>(popUp->getChildren()->objectAtIndex(0));
    if (view == nullptr) return 0;
    const int kind = view->getKind();
    view->onValidate(nullptr);
    frame();
    return kind;
}

bool ResultsFixture::logged(const std::string& part) const {
    for (const std::string& line : logLines)
        if (line.find(part) != std::string::npos) return true;
    return false;
}

} // namespace resultstest
