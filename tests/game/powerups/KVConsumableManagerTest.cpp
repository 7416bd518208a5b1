#include <gtest/gtest.h>

#include "game/app/KVGlobalNames.h"
#include "game/data/GameDataFixture.h"
#include "game/powerups/KVConsumableManager.h"

namespace {

using kvtest::GameDataTest;

class ConsumableManagerTest : public GameDataTest {
protected:
    void TearDown() override {
        if (auto* manager = KVConsumableManager::existingInstance()) manager->release();
        GameDataTest::TearDown();
    }
    void brainwash(const char* creature) {
        auto* name = new kvengine::CCString(creature);
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_BRAIN_WASH_TRIGGERED, name);
        name->release();
    }
};

// The level-up costs of the fixture data are 100, 200 and 300 for levels 1, 2 and 3: a creature at
// level 3 has cost 200 + 300.
TEST_F(ConsumableManagerTest, BrainwashResetsTheLevelAndRefundsOnlyWithAMedusaInStock) {
    struct Case {
        const char* what;
        int level;
        int medusas;
        int levelAfter;
        int pearlsGained;
        int medusasAfter;
        bool updatePosted;
    };
    const Case cases[] = {
        {"trained, one medusa", 3, 1, 1, 500, 0, true},
        {"trained, no medusa", 3, 0, 3, 0, 0, false},
        {"level 1 costs nothing", 1, 2, 1, 0, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        KVConsumableManager::ensureInstance();
        profile->setKelvoLevel("steev", c.level);
        profile->addConsumable(KV_BRAINWASH_CONSUMABLE,
                               c.medusas - profile->getConsumableAmount(KV_BRAINWASH_CONSUMABLE));
        EXPECT_EQ(hasConsumableInStock(KV_BRAINWASH_CONSUMABLE), c.medusas > 0);
        const int pearls = profile->getPearlAmount();
        kvtest::NotificationRecorder recorder;
        recorder.observe(EVENT_CHARACTER_ITEM_UPDATE_NEEDED);
        logLines.clear();

        brainwash("steev");

        EXPECT_EQ(profile->getKelvoLevel("steev"), c.levelAfter);
        EXPECT_EQ(profile->getPearlAmount() - pearls, c.pearlsGained);
        EXPECT_EQ(profile->getConsumableAmount(KV_BRAINWASH_CONSUMABLE), c.medusasAfter);
        EXPECT_EQ(recorder.objectsOf("EVENT_CHARACTER_ITEM_UPDATE_NEEDED").size(), c.updatePosted ? 1u : 0u);
        EXPECT_EQ(logged("no \"brainwash_medusa\" in stock"), c.level > 1 && c.medusas == 0);
    }
}

TEST_F(ConsumableManagerTest, TheBrainwashIsSavedAndBadNamesChangeNothing) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVConsumableManager::ensureInstance();
    profile->setKelvoLevel("steev", 2);
    profile->addConsumable(KV_BRAINWASH_CONSUMABLE, 1);
    const int pearls = profile->getPearlAmount();

    brainwash("whale"); // no such creature: it cost nothing
    kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_BRAIN_WASH_TRIGGERED);
    EXPECT_TRUE(logged("Brainwash: no creature named"));
    EXPECT_EQ(profile->getConsumableAmount(KV_BRAINWASH_CONSUMABLE), 1);

    brainwash("steev");
    profile->release(); // the next profile is read back from the saved settings
    profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getKelvoLevel("steev"), 1);
    EXPECT_EQ(profile->getPearlAmount(), pearls + 200);
    EXPECT_EQ(profile->getConsumableAmount(KV_BRAINWASH_CONSUMABLE), 0);
}

TEST_F(ConsumableManagerTest, TheManagerStopsListeningWhenReleased) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    profile->setKelvoLevel("steev", 2);
    profile->addConsumable(KV_BRAINWASH_CONSUMABLE, 1);
    KVConsumableManager::getInstance()->release();
    brainwash("steev");
    EXPECT_EQ(profile->getKelvoLevel("steev"), 2);
}

TEST(ClassRankTest, FrigatesBeforeDestroyersBeforeTorpedoesBeforeTheRest) {
    struct Case {
        const char* current;
        const char* candidate;
        bool outranked;
    };
    const Case cases[] = {
        {"Frigate", "Destroyer", false}, {"Frigate", "Frigate", false},    {"Frigate", "Zodiac", false},
        {"Destroyer", "Frigate", true},  {"Destroyer", "Destroyer", true}, {"Destroyer", "Torpedo", false},
        {"Destroyer", "Zodiac", false},  {"Torpedo", "Frigate", true},     {"Torpedo", "Destroyer", true},
        {"Torpedo", "Torpedo", true},    {"Torpedo", "Zodiac", false},     {"Zodiac", "Frigate", true},
        {"Zodiac", "Torpedo", true},     {"Zodiac", "Zodiac", true},       {"", "Zodiac", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isClassOutranked(c.current, c.candidate), c.outranked)
            << c.current << " <- " << c.candidate;
}

} // namespace
