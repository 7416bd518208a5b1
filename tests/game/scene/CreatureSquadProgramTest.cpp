// Every creature of the game data takes the field: a squad of that creature alone plays the first
// mission over the built resource folder, in a real GL context driven frame by frame; its pawn and
// view are built from its own stats and sheet with nothing missing, and the picture of its first
// turn is kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCRandom.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/platform/CCClock.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGameServices.h"
#include "game/camera/KVCamera.h"
#include "game/chatter/KVChatterManager.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/environment/KVEnvLayerManager.h"
#include "game/menu/KVMenuManager.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/scene/KVGameplayLayer.h"
#include "game/scene/KVGameplayScene.h"
#include "game/shop/KVKelvosOFXDelegate.h"
#include "game/sound/KVSoundManager.h"
#include "game/views/KVPawnV.h"
#include "support/GLFixture.h"
#include "support/MissionTestSupport.h"
#include "support/Screenshot.h"

using namespace kvengine;

namespace {

constexpr int kWidth = 960;
constexpr int kHeight = 600;

template <typename T> void releaseIfMade(T* shared) {
    if (shared != nullptr) shared->release();
}

class CreatureSquadTest : public kvtest::GLFixture {
protected:
    CreatureSquadTest() : GLFixture(kWidth, kHeight) {}

    void setUpWithGL() override {
        CCClock::setShared(&m_clock);
        CCAutoreleasePoolStack::getInstance().push();
        if (!std::filesystem::exists(std::string(KELVOS_RESOURCES_DIR) +
                                     "/sheets/loading_screen_pvrtc4_ss.plist"))
            KVTEST_REQUIRED_MISSING("no built resource folder at " << KELVOS_RESOURCES_DIR);
        director = CCDirector::getInstance();
        director->setWinSizeInPoints(CCSize(kWidth, kHeight));
        director->enableDoubleContentScale();
        CCDirector::wideScreen = 1;
        glViewport(0, 0, kWidth, kHeight);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        kvConnectGameServices();
        KVGameplayScene::setMissionAbortHandler([]() {});
        CCRandom::seed(1);
        director->runWithScene(CCScene::create());
        frame();
        setDebugLogSink([this](const std::string& line) { m_log.push_back(line); });
    }
    void tearDownWithGL() override {
        setDebugLogSink({});
        director->replaceScene(CCScene::create());
        frame();
        frame();
        releaseIfMade(KVCameraManager::existingInstance());
        releaseIfMade(KVEnvLayerManager::existingInstance());
        releaseIfMade(KVPawnManager::existingInstance());
        releaseIfMade(KVMenuManager::existingInstance());
        releaseIfMade(KVPlayerParameters::existingInstance());
        releaseIfMade(KVSoundManager::existingInstance());
        releaseIfMade(KVKelvosOFXDelegate::existingInstance());
        releaseIfMade(KVGameParameters::existingInstance());
        releaseIfMade(KVGameSetup::existingInstance());
        releaseIfMade(KVChatterManager::existingInstance());
        releaseIfMade(CCUserDefaults::existingInstance());
        releaseIfMade(CCLocalizationManager::existingInstance());
        CCDirector::destroyInstance();
        CCAutoreleasePoolStack::getInstance().pop();
        CCTouchDispatcher::purgeSharedDispatcher();
        CCClock::setShared(nullptr);
    }

    void frame() {
        m_clock.advanceMicroseconds(16667);
        director->mainLoop();
    }

    /// The first mission with `squad` in place of its own, the scene shown; null when it cannot
    /// start.
    KVGameplayScene* startWithSquad(const std::vector<std::string>& squad) {
        KVGameSetup* setup = KVGameSetup::getInstance();
        setup->setChapterName(kvdata::newString("Prologue"));
        setup->setMissionName(kvdata::newString("M01a"));
        setup->buildTeam();
        setup->getTeamKelvoNames()->removeAllObjects();
        setup->getTeamHelmetNames()->removeAllObjects();
        setup->getTeamSpawnPoints()->removeAllObjects();
        for (size_t i = 0; i < squad.size(); ++i) {
            setup->getTeamKelvoNames()->addObject(kvdata::newString(squad[i]));
            setup->getTeamHelmetNames()->addObject(kvdata::newString(""));
            setup->getTeamSpawnPoints()->addObject(kvdata::newString("SpawnPoint" + std::to_string(i + 1)));
        }
        KVGameplayScene* scene = KVGameplayScene::create();
        if (scene != nullptr) director->replaceScene(scene);
        return scene;
    }

    /// Log lines that tell of something the squad's pawns and views miss: the views' and the
    /// gameplay layer's complaints, and missing frames of the members' sprites.
    std::vector<std::string> complaints(const std::vector<std::string>& sprites) const {
        std::vector<std::string> found;
        for (const std::string& line : m_log) {
            bool ours = false;
            for (const char* who : {"pawn view", "KVPawnV", "KVKelvoV", "KVGameplayLayer", "KVPawn:"})
                ours = ours || line.find(who) != std::string::npos;
            for (const std::string& sprite : sprites)
                ours = ours || (line.find("no frame") != std::string::npos &&
                                line.find(sprite + "_") != std::string::npos);
            if (ours) found.push_back(line);
        }
        return found;
    }
    void forgetLog() { m_log.clear(); }

    CCDirector* director = nullptr;

private:
    CCFakeClock m_clock;
    std::vector<std::string> m_log;
};

// The view of `pawn` among the gameplay layer's views, or null.
KVPawnV* viewOf(KVGameplayLayer* layer, KVPawn* pawn) {
    CCMutableArray<KVActorV*>* views = layer->getViews();
    for (unsigned i = 0; views != nullptr && i < views->count(); ++i) {
        KVActorV* view = views->objectAtIndex(i);
        if (view != nullptr && view->isKindOf("KVPawnV") && static_cast<KVPawnV*>(view)->getPawn() == pawn)
            return static_cast<KVPawnV*>(view);
    }
    return nullptr;
}

} // namespace

TEST_F(CreatureSquadTest, EveryCreatureOfTheGameDataPlaysAMissionWithItsOwnStatsAndSheet) {
    std::vector<std::string> creatures;
    {
        KVGameParameters* data = KVGameParameters::getInstance();
        for (const std::string& name : kvdata::keysOf(data->getKelvoStatsTable()))
            creatures.push_back(name);
    }
    ASSERT_FALSE(creatures.empty());
    for (const std::string& creature : creatures) {
        SCOPED_TRACE(creature);
        KVGameplayScene* scene = startWithSquad({creature});
        ASSERT_NE(scene, nullptr);
        for (int i = 0; i < 240 && scene->getLoadingLayer() != nullptr; ++i)
            frame();
        ASSERT_EQ(scene->getLoadingLayer(), nullptr);
        ASSERT_FALSE(scene->hasFailed());
        kvtest::passOpeningDialogue([this]() { frame(); });

        KVPawnManager* pawns = KVPawnManager::existingInstance();
        ASSERT_NE(pawns, nullptr);
        CCMutableArray<KVPawn*>* players = pawns->getPlayerPawns();
        ASSERT_NE(players, nullptr);
        ASSERT_EQ(players->count(), 1u);
        KVPawn* pawn = players->objectAtIndex(0);
        EXPECT_EQ(kvdata::textOf(pawn->getTypeName()), creature);
        kvdata::Dict* stats = KVGameParameters::getInstance()->getKelvoStats(creature);
        EXPECT_EQ(kvdata::textOf(pawn->getSpriteSheetName()), kvdata::textAt(stats, "spritesheet_name"));
        EXPECT_GE(pawn->getMaxHP(), kvdata::intAt(stats, "HP", 0));
        KVPawnV* view = viewOf(scene->getGameplayLayer(), pawn);
        ASSERT_NE(view, nullptr);
        ASSERT_NE(view->getBodySprite(), nullptr);
        EXPECT_NE(view->getBodySprite()->getTexture(), nullptr);
        EXPECT_GT(view->getBodySprite()->getContentSize().width, 0.0f);

        // Its first turn, the camera handed to the player: the picture shows the creature.
        KVCamera* camera = scene->getGameplayLayer()->getGameCamera();
        bool playable = false;
        for (int i = 0; i < 600 && !playable; ++i) {
            frame();
            playable = pawn->isSelected() && !camera->isAutomatic() && camera->isPlayable();
        }
        EXPECT_TRUE(playable);
        EXPECT_EQ(complaints({kvdata::textAt(stats, "sprite_name")}), std::vector<std::string>());
        EXPECT_TRUE(
            kvtest::writeScreenshot(gl, std::string(KELVOS_SCREENSHOT_DIR) + "/squad_" + creature + ".png"));
        director->replaceScene(CCScene::create());
        frame();
        frame();
        forgetLog();
    }
}
