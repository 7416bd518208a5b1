#include "../data/GameDataFixture.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;

TEST_F(GameDataTest, FindersMatchCategoryAndDeliverable) {
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    struct Case {
        const char* finder;
        const char* identifier;
        const char* title; // null: not found
    };
    const Case cases[] = {
        {"kelvo", "clint", "Clint"},
        {"kelvo", "com.kv.clint", nullptr},     // creatures never match on the product id
        {"helmet", "iron_helm", "Iron Helm A"}, // the first product id in order wins
        {"helmet", "pirate_hat", "Pirate Hat"},
        {"helmet", "clint", nullptr},
        {"consumable", "kraken_call", "Kraken"},
        {"consumable", "com.kv.sushi", "Sushi Pack"}, // consumables also match their product id
        {"consumable", "straw_hat", "Straw Pack"},
        {"item", "straw_hat", "Straw Pack"}, // a consumable before a helmet
        {"item", "pirate_hat", "Pirate Hat"},
        {"item", "whale", nullptr},
    };
    for (const Case& c : cases) {
        const std::string finder = c.finder;
        Dict* entry = finder == "kelvo"    ? store->findKelvoItem(c.identifier)
                      : finder == "helmet" ? store->findHelmetItem(c.identifier)
                      : finder == "item"   ? store->findItem(c.identifier)
                                           : store->findConsumableItem(c.identifier);
        EXPECT_EQ(entry == nullptr, c.title == nullptr) << c.finder << " " << c.identifier;
        if (entry != nullptr && c.title != nullptr) {
            EXPECT_EQ(kvdata::textAt(entry, "title"), c.title) << c.identifier;
        }
    }
    EXPECT_TRUE(store->isKelvoItem(kvdata::newString("clint")));
    EXPECT_FALSE(store->isKelvoItem(kvdata::newString("pirate_hat")));
    EXPECT_FALSE(store->isKelvoItem(nullptr));
}

TEST_F(GameDataTest, FoundEntriesAreCopiesSharingTheCatalogueValues) {
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    Dict* entry = store->findKelvoItem("clint");
    Dict* original = kvdata::dictAt(store->getCatalogue(), "com.kv.clint");
    EXPECT_NE(entry, original);
    EXPECT_EQ(entry->objectForKey("title"), original->objectForKey("title"));
    entry->removeObjectForKey("title");
    EXPECT_EQ(kvdata::textAt(original, "title"), "Clint");
}

TEST_F(GameDataTest, ItemTitlesPreferTheCatalogue) {
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    KVGameSetup::getInstance(); // loads the English table, which knows "kraken_call"
    EXPECT_EQ(kvdata::textOf(store->itemTitle("kraken_call")), "Kraken");
    EXPECT_EQ(kvdata::textOf(store->itemTitle("com.kv.kraken")), "Kraken");
    EXPECT_EQ(kvdata::textOf(store->itemTitle("whale")), "");
    kvdata::dictAt(store->getCatalogue(), "com.kv.kraken")->removeObjectForKey("deliverable_identifier");
    EXPECT_EQ(kvdata::textOf(store->itemTitle("kraken_call")), "Call of the Kraken");
    // An entry without a title is named like an unknown item, never by a null text.
    kvdata::dictAt(store->getCatalogue(), "com.kv.pirate")->removeObjectForKey("title");
    ASSERT_NE(store->itemTitle("pirate_hat"), nullptr);
    EXPECT_EQ(kvdata::textOf(store->itemTitle("pirate_hat")), "");
}

TEST_F(GameDataTest, DefaultConsumablesHoldOneRecordPerName) {
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    Dict* target = kvdata::newDict();
    Dict* old = kvdata::newDict();
    kvdata::setText(old, "amount", "9");
    target->setObject(old, "energy_drink");
    store->fillDefaultConsumables(target);
    EXPECT_EQ(kvdata::keysOf(target),
              (std::vector<std::string>{"energy_drink", "kraken_call", "pearl", "straw_hat", "sushi_pack"}));
    for (const std::string& name : kvdata::keysOf(target))
        EXPECT_EQ(kvdata::textAt(kvdata::dictAt(target, name), "amount"), "0") << name;
    store->fillDefaultConsumables(nullptr);
}

TEST_F(GameDataTest, AMissingCatalogueLeavesOnlyTheGameData) {
    kvtest::fs::remove(kvtest::gameDataPaths().resources + "/data/OfflineStore.plist");
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    EXPECT_TRUE(logged("OfflineStore.plist"));
    EXPECT_EQ(store->findItem("clint"), nullptr);
    Dict* target = kvdata::newDict();
    store->fillDefaultConsumables(target);
    // Without a catalogue nothing says a consumable is sold for money: all three stay.
    EXPECT_EQ(kvdata::keysOf(target),
              (std::vector<std::string>{"energy_drink", "kraken_call", "sushi_pack"}));
}

TEST_F(GameDataTest, PearlsAndGrantsGoToTheProfile) {
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    store->addPearls(100);
    store->spendPearls(30);
    store->spendPearls(500);
    EXPECT_EQ(profile->getPearlAmount(), 0);
    store->grantOneItem(kvdata::newString("kraken_call"));
    store->grantOneItem(nullptr);
    EXPECT_EQ(profile->getConsumableAmount("kraken_call"), 1);
    store->deliverPendingPurchases(); // nothing pending on this platform
}

TEST_F(GameDataTest, SyncMergesAndSavesUnlessTheSettingSaysNo) {
    for (const bool ignore : {true, false}) {
        SCOPED_TRACE(ignore ? "ignored" : "merged");
        kvtest::resetSharedGameObjects();
        kvtest::fs::remove_all(kvtest::gameDataPaths().dataHome);
        std::string setup = kvtest::readText(kvtest::fixturePath("base/gameSetup.plist"));
        const std::string key = "<key>IgnoreOFXForPlists</key><string>NO</string>";
        setup.replace(setup.find(key), key.size(),
                      std::string("<key>IgnoreOFXForPlists</key><string>") + (ignore ? "YES" : "NO") +
                          "</string>");
        kvtest::replaceDataFile("gameSetup.plist", setup);
        kvtest::installSavedSettings("version19");
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
        kvdata::dictAt(profile->getProfile(), "Helmet")->removeObjectForKey("straw_hat");
        const std::string before = kvtest::readText(kvtest::savedSettingsPath());
        store->addOfferedItem(store->findKelvoItem("clint"));
        store->syncCatalogueWithProfile();
        EXPECT_EQ(store->getOfferedItems()->count(), 0u);
        EXPECT_EQ(profile->getHelmetRecord("straw_hat") != nullptr, !ignore);
        EXPECT_EQ(kvtest::readText(kvtest::savedSettingsPath()) == before, ignore);
    }
}
