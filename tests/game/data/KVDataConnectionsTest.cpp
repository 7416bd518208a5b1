// The data layer reaches the store catalogue, the dialogues and the quit confirmation only through
// the connections the application installs; without them it runs alone and says so.
#include "GameDataFixture.h"

#include "game/data/KVDialogueService.h"
#include "game/data/KVQuitConfirmation.h"
#include "game/data/KVStoreCatalogue.h"

using kvdata::Dict;

namespace {

class UnconnectedDataTest : public kvtest::GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        KVStoreCatalogue::setSharedSource(nullptr);
        KVDialogueService::setSharedSource(nullptr);
        KVQuitConfirmation::setSharedSource(nullptr);
    }
    void TearDown() override {
        kvConnectGameServices();
        GameDataTest::TearDown();
    }
};

// One step: on the shop screen, show the dialogue.
Dict* chatterStep(const char* chatter) {
    Dict* effect = kvdata::newDict();
    kvdata::setText(effect, "chatter", chatter);
    Dict* condition = kvdata::newDict();
    kvdata::setText(condition, "screen", "shop");
    Dict* step = kvdata::newDict();
    step->setObject(condition, "condition");
    step->setObject(effect, "effect");
    Dict* steps = kvdata::newDict();
    steps->setObject(step, "step01");
    return steps;
}

TEST_F(UnconnectedDataTest, RunsWithoutTheServicesAboveItAndMakesNoneOfThem) {
    KVGameSetup* setup = KVGameSetup::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();

    // The consumables of the game data, none of them filtered out by a catalogue.
    EXPECT_EQ(kvdata::keysOf(kvdata::dictAt(profile->getProfile(), "Variable")),
              (std::vector<std::string>{"energy_drink", "kraken_call", "sushi_pack"}));
    EXPECT_NE(KVGameParameters::getInstance()->getConsumableDefinition("sushi_pack"), nullptr);
    EXPECT_TRUE(logged("no store catalogue is connected"));

    // A step's dialogue cannot be shown: the step is done all the same.
    EXPECT_TRUE(profile->startForcedSteps(chatterStep("Tutos_chatst")));
    EXPECT_FALSE(profile->resumeForcedSteps("shop"));
    EXPECT_FALSE(kvdata::hasKey(profile->getProfile(), "forcedSteps"));
    EXPECT_TRUE(logged("no dialogue manager is connected"));

    setup->escapeKeyBlocked = false;
    setup->showQuitConfirmation();
    EXPECT_TRUE(logged("no quit confirmation is connected"));

    EXPECT_EQ(KVKelvosOFXDelegate::existingInstance(), nullptr);
    EXPECT_EQ(KVChatterManager::existingInstance(), nullptr);
    EXPECT_EQ(KVMenuManager::existingInstance(), nullptr);
}

TEST_F(UnconnectedDataTest, ConnectingReachesTheServicesAsTheApplicationDoes) {
    kvConnectGameServices();
    EXPECT_EQ(KVStoreCatalogue::shared(), KVKelvosOFXDelegate::getInstance());
    EXPECT_EQ(KVDialogueService::shared(), KVChatterManager::getInstance());
    EXPECT_EQ(KVQuitConfirmation::shared(), KVMenuManager::getInstance());
    KVGameSetup::getInstance()->showQuitConfirmation();
    EXPECT_TRUE(KVQuitConfirmation::shared()->isQuitConfirmationOpen());
    EXPECT_EQ(KVMenuManager::getInstance()->getCurrentState(), 24);
}

} // namespace
