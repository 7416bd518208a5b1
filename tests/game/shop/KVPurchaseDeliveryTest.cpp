// Delivery of bought catalogue entries into the player profile: grants, notifications in order,
// the purchase pop-up, the price, the save; real-money entries and deliveries of nothing refused.
#include "../data/GameDataFixture.h"
#include "game/app/KVGlobalNames.h"

using kvdata::Dict;
using kvengine::CCString;
using kvtest::GameDataTest;

namespace {

constexpr int kStartPearls = 1000;

Dict* entryOf(const char* category, const char* identifier, int quantity, int cost,
              const char* title = "A Title", const char* currency = "pearl") {
    Dict* entry = kvdata::newDict();
    kvdata::setText(entry, "category", category);
    kvdata::setText(entry, "deliverable_identifier", identifier);
    kvdata::setText(entry, "title", title);
    kvdata::setInt(entry, "quantity", quantity);
    kvdata::setInt(entry, "cost", cost);
    kvdata::setText(entry, "currency_identifier", currency);
    return entry;
}

class PurchaseDeliveryTest : public GameDataTest {
protected:
    // A fresh profile holding kStartPearls, the notifications of a purchase recorded, and records
    // for the creature and helmet of the jammer pack (locked).
    void startProfile() {
        kvtest::resetSharedGameObjects();
        std::error_code ignored;
        kvtest::fs::remove_all(kvtest::gameDataPaths().dataHome, ignored);
        profile = KVPlayerParameters::getInstance();
        profile->removePearls(profile->getPearlAmount());
        profile->addPearls(kStartPearls);
        Dict* jammer = kvdata::newDict();
        kvdata::setInt(jammer, "status_locked", 1);
        kvdata::dictAt(profile->getProfile(), "Kelvo")->setObject(jammer, "jammer");
        Dict* coconut = kvdata::newDict();
        kvdata::setInt(coconut, "status_locked", 2);
        kvdata::dictAt(profile->getProfile(), "Helmet")->setObject(coconut, "coconut");
        profile->saveProfile();
        if (recorder != nullptr) recorder->release();
        recorder = new kvtest::NotificationRecorder();
        for (CCString* name :
             {EVENT_ACTION, EVENT_KELVO_RECRUITED, SCREEN_MENU_BUY_PACK, SCREEN_MENU_BUY_CONSUMABLE,
              EVENT_PURCHASE_DONE, SCREEN_MENU_BUY_ITEM, SCREEN_MENU_BUY_REAL_MONEY})
            recorder->observe(name);
        KVMenuManager::getInstance()->popUpKind = 0;
    }
    void TearDown() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        GameDataTest::TearDown();
    }
    std::vector<std::string> postedNames() const {
        std::vector<std::string> names;
        for (const auto& [name, object] : recorder->posts)
            names.push_back(object.empty() ? name : name + ":" + object);
        return names;
    }

    KVPlayerParameters* profile = nullptr;
    kvtest::NotificationRecorder* recorder = nullptr;
};

TEST_F(PurchaseDeliveryTest, EachCategoryAndPackIsDeliveredOnceWithItsPopUpAndPrice) {
    struct Case {
        const char* name;
        Dict* entry;
        std::vector<std::string> posts;
        int pearls;    // balance afterwards, also after a reload (saved)
        int popUpKind; // 0: no pop-up
        const char* popUpText;
        std::vector<std::pair<std::string, int>> consumables;
        std::vector<std::pair<std::string, int>> kelvoStatus; // creature: lock status afterwards
        std::vector<std::pair<std::string, int>> helmetStatus;
    };
    const Case cases[] = {
        {"consumable",
         entryOf("consumables", "kraken_call", 3, 80),
         {"EVENT_PURCHASE_DONE", "Menu - Buy - Item"},
         920,
         5,
         "kraken_call",
         {{"kraken_call", 3}},
         {},
         {}},
        {"locked helmet",
         entryOf("helmets", "iron_helm", 1, 100),
         {"EVENT_PURCHASE_DONE", "Menu - Buy - Item"},
         900,
         5,
         "iron_helm",
         {},
         {},
         {{"iron_helm", 0}}},
        {"creature offered in the shop",
         entryOf("kelvos", "clint", 1, 300),
         {"EVENT_KELVO_RECRUITED:clint", "EVENT_PURCHASE_DONE", "Menu - Buy - Item"},
         700,
         5,
         "clint",
         {},
         {{"clint", 0}},
         {}},
        {"jammer pack",
         entryOf("consumables", "jammer_pack", 1, 250),
         {"Menu - Buy - Pack:jammer_pack", "Menu - Buy - Consumable:jammer_pack",
          "EVENT_KELVO_RECRUITED:jammer", "EVENT_PURCHASE_DONE", "Menu - Buy - Item"},
         kStartPearls + 5000 - 250,
         5,
         "jammer_pack",
         {{"shuriken", 10}},
         {{"jammer", 0}},
         {{"coconut", 0}}},
        {"miracle pack",
         entryOf("consumables", "miracle_pack", 1, 90),
         {"Menu - Buy - Pack:miracle_pack", "EVENT_PURCHASE_DONE", "Menu - Buy - Item"},
         910,
         5,
         "miracle_pack",
         {{"miracle_tentacle_final", 15}},
         {},
         {}},
        {"pearls",
         entryOf("consumables", "pearl", 500, 40, "Chest of pearls"),
         {"EVENT_ACTION", "EVENT_PURCHASE_DONE", "Menu - Buy - Real money"},
         1500,
         8,
         "Pop Up PearlsPack2 Bought",
         {},
         {},
         {}},
        {"pearls of another title",
         entryOf("consumables", "pearl", 20, 40, "chest of pearls"),
         {"EVENT_ACTION", "EVENT_PURCHASE_DONE", "Menu - Buy - Real money"},
         1020,
         8,
         "Pop Up Pearls Bought",
         {},
         {},
         {}},
        // Deliveries of nothing: no price, no notification, no pop-up.
        {"helmet already unlocked",
         entryOf("helmets", "straw_hat", 1, 10),
         {},
         kStartPearls,
         0,
         nullptr,
         {},
         {},
         {{"straw_hat", 0}}},
        {"creature already unlocked",
         entryOf("kelvos", "steev", 1, 300),
         {},
         kStartPearls,
         0,
         nullptr,
         {},
         {{"steev", 0}},
         {}},
        {"creature without record",
         entryOf("kelvos", "whale", 1, 300),
         {},
         kStartPearls,
         0,
         nullptr,
         {},
         {},
         {}},
        {"unknown consumable",
         entryOf("consumables", "whale_song", 2, 30),
         {},
         kStartPearls,
         0,
         nullptr,
         {{"whale_song", 0}},
         {},
         {}},
        {"unknown category",
         entryOf("stickers", "kraken_call", 2, 30),
         {},
         kStartPearls,
         0,
         nullptr,
         {{"kraken_call", 0}},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.entry->retain();
        startProfile();
        EXPECT_TRUE(KVKelvosOFXDelegate::getInstance()->completePurchase(c.entry));
        EXPECT_EQ(postedNames(), c.posts);
        KVMenuManager* menu = KVMenuManager::getInstance();
        EXPECT_EQ(menu->popUpKind, c.popUpKind);
        if (c.popUpText != nullptr) {
            EXPECT_EQ(kvdata::textOf(menu->getPopUpText()), c.popUpText);
        }
        EXPECT_EQ(logged("delivers nothing"), c.popUpKind == 0);

        // What the profile file holds after the purchase.
        kvtest::resetSharedGameObjects();
        profile = KVPlayerParameters::getInstance();
        EXPECT_EQ(profile->getPearlAmount(), c.pearls);
        for (const auto& [name, amount] : c.consumables)
            EXPECT_EQ(profile->getConsumableAmount(name), amount) << name;
        for (const auto& [name, status] : c.kelvoStatus)
            EXPECT_EQ(profile->getKelvoLockStatus(name), status) << name;
        for (const auto& [name, status] : c.helmetStatus)
            EXPECT_EQ(profile->getHelmetLockStatus(name), status) << name;
        c.entry->release();
    }
}

TEST_F(PurchaseDeliveryTest, RealMoneyEntriesAreRefusedWithoutChangingAnything) {
    startProfile();
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    // The fixture catalogue sells pearls and the sushi pack for dollars.
    for (const char* identifier : {"com.kv.pearls100", "com.kv.sushi"}) {
        SCOPED_TRACE(identifier);
        Dict* entry = store->findConsumableItem(identifier);
        ASSERT_NE(entry, nullptr);
        logLines.clear();
        EXPECT_FALSE(store->completePurchase(entry));
        EXPECT_TRUE(logged("real money"));
    }
    Dict* noCurrency = entryOf("consumables", "kraken_call", 1, 10);
    noCurrency->removeObjectForKey("currency_identifier");
    EXPECT_FALSE(store->completePurchase(noCurrency));
    EXPECT_FALSE(store->completePurchase(nullptr));
    EXPECT_TRUE(recorder->posts.empty());
    EXPECT_EQ(KVMenuManager::getInstance()->popUpKind, 0);
    EXPECT_EQ(profile->getPearlAmount(), kStartPearls);
    EXPECT_EQ(profile->getConsumableAmount("sushi_pack"), 0);
    EXPECT_EQ(profile->getConsumableAmount("kraken_call"), 0);
    // The same entry bought with pearls goes through.
    EXPECT_TRUE(store->completePurchase(entryOf("consumables", "kraken_call", 1, 10)));
    EXPECT_EQ(profile->getConsumableAmount("kraken_call"), 1);
}

TEST_F(PurchaseDeliveryTest, ADeliveredCreatureValidatesTheShopStepWaitingForItARefusedOneDoesNot) {
    struct Case {
        const char* what;
        const char* currency;
        bool validated;
    };
    for (const Case c :
         {Case{"bought with pearls", "pearl", true}, Case{"priced in dollars", "USD", false}}) {
        SCOPED_TRACE(c.what);
        startProfile();
        recorder->observe(EVENT_STEP_VALIDATED);
        // The tutorial's step: buy clint in the shop.
        Dict* condition = kvdata::newDict();
        kvdata::setText(condition, "clint", "buyKelvo");
        kvdata::setText(condition, "screen", "shop");
        Dict* step = kvdata::newDict();
        step->setObject(condition, "condition");
        Dict* steps = kvdata::newDict();
        steps->setObject(step, "step01");
        ASSERT_TRUE(profile->startForcedSteps(steps));
        EXPECT_EQ(KVKelvosOFXDelegate::getInstance()->completePurchase(
                      entryOf("kelvos", "clint", 1, 300, "Clint", c.currency)),
                  c.validated);
        EXPECT_EQ(recorder->objectsOf("EVENT_STEP_VALIDATED").size(), c.validated ? 1u : 0u);
        EXPECT_EQ(kvdata::hasKey(profile->getProfile(), "forcedSteps"), !c.validated);
    }
}

} // namespace

namespace {

std::string stringsFile(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::u16string text = u"\xFEFF";
    for (const auto& [key, value] : entries)
        text += kvengine::utf8ToUtf16("\"" + key + "\" = \"" + value + "\";\n");
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// Makes the table the current language's (the shared table is emptied first).
void useTable(const std::string& image) {
    kvengine::CCLocalizationManager::getInstance()->release();
    kvengine::CCLocalizationManager::getInstance()->parseStringsData(
        reinterpret_cast<const unsigned char*>(image.data()), static_cast<unsigned>(image.size()));
}

const std::vector<std::pair<std::string, std::string>> kEnglish = {
    {"Pop Up Kelvo Bought", "%s joins your team!"},
    {"Pop Up Helmet Bought", "You got the %s (%s)."},
    {"Pop Up Consumable Bought", "You got a %s."},
    {"Pop Up Power Up Bought", "You got %d %s."},
    {"Pop Up Kelvo Unlocked", "%s can join you!"},
    {"Pop Up Helmet Unlocked", "%s (%s) is in the shop!"},
    {"Pop Up Consumable Gained", "You found a %s!"},
    {"Pop Up Kelvo Locked", "%s is not ready yet."},
    {"Pop Up Helmet Locked", "%s stays locked."},
    {"Pop_Up_MiraclePack_Bought", "Miracles!"},
    {"kraken_call_name", "Kraken Call"},
    {"Frigate", "Frigate"},
};

// A French table with two faulty translations: one takes a number where a name goes, one takes a
// name too many.
const std::vector<std::pair<std::string, std::string>> kFrench = {
    {"Pop Up Kelvo Bought", "%s rejoint ton équipe !"},
    {"Pop Up Helmet Bought", "Tu as le %s (%s)."},
    {"Pop Up Consumable Bought", "Tu as un %s."},
    {"Pop Up Power Up Bought", "Tu as %d %s."},
    {"Pop Up Kelvo Unlocked", "%s peut te rejoindre !"},
    {"Pop Up Helmet Unlocked", "%s (%s) est en boutique !"},
    {"Pop Up Consumable Gained", "Tu trouves %s %s !"},
    {"Pop Up Kelvo Locked", "%d est encore bloqué."},
    {"Pop Up Helmet Locked", "%s reste bloqué."},
    {"Pop_Up_MiraclePack_Bought", "Miracles !"},
    {"kraken_call_name", "Appel du Kraken"},
    {"kraken_call_plural", "Appels du Kraken"},
    {"Frigate", "Frégate"},
};

} // namespace

TEST_F(PurchaseDeliveryTest, ItemMessagesByCategoryInEnglishAndFrench) {
    kvtest::writeScrambled(kvtest::gameDataPaths().resources + "/English.lproj/localizable.strings",
                           stringsFile(kEnglish));
    KVKelvosOFXDelegate* store = KVKelvosOFXDelegate::getInstance();
    Dict* catalogue = store->getCatalogue();
    kvdata::setInt(kvdata::dictAt(catalogue, "com.kv.energy"), "quantity", 3);
    Dict* miracle = entryOf("consumables", "miracle_pack", 1, 10, "Miracle Pack");
    catalogue->setObject(miracle, "com.kv.miracle");
    catalogue->setObject(entryOf("powerups", "rainbow", 1, 10), "com.kv.rainbow");

    enum Builder { Bought, Unlocked, Locked };
    struct Case {
        Builder builder;
        const char* identifier;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {Bought, "clint", "Clint joins your team!", "Clint rejoint ton équipe !"},
        {Bought, "pirate_hat", "You got the Pirate Hat (Frigate).", "Tu as le Pirate Hat (Frégate)."},
        {Bought, "kraken_call", "You got a Kraken Call.", "Tu as un Appel du Kraken."},
        // Three units: the plural text, or the title where the table has none.
        {Bought, "energy_drink", "You got 3 Energy Drink.", "Tu as 3 Energy Drink."},
        {Bought, "miracle_pack", "Miracles!", "Miracles !"},
        {Bought, "rainbow", "Item bought!", "Item bought!"},
        {Bought, "whale", "Item bought!", "Item bought!"},
        {Unlocked, "clint", "Clint can join you!", "Clint peut te rejoindre !"},
        {Unlocked, "pirate_hat", "Pirate Hat (Frigate) is in the shop!",
         "Pirate Hat (Frégate) est en boutique !"},
        {Unlocked, "kraken_call", "You found a Kraken Call!", "You found a Appel du Kraken!"},
        {Unlocked, "whale", "Item Unlocked!", "Item Unlocked!"},
        {Locked, "clint", "Clint is not ready yet.", "Clint is not ready yet."},
        {Locked, "pirate_hat", "Pirate Hat stays locked.", "Pirate Hat reste bloqué."},
        {Locked, "kraken_call", "Item Locked!", "Item Locked!"},
    };
    for (const bool french : {false, true}) {
        useTable(stringsFile(french ? kFrench : kEnglish));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(french ? "French " : "English ") + c.identifier);
            CCString* id = kvdata::newString(c.identifier);
            CCString* text = c.builder == Bought     ? store->boughtItemMessage(id)
                             : c.builder == Unlocked ? store->unlockedItemMessage(id)
                                                     : store->lockedItemMessage(id);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(kvdata::textOf(text), french ? c.french : c.english);
        }
    }
    EXPECT_TRUE(logged("\"Pop Up Kelvo Locked\" does not take"));
    // A text missing from the tables gives the generic text, never no text at all.
    useTable(stringsFile({}));
    EXPECT_EQ(kvdata::textOf(store->boughtItemMessage(kvdata::newString("miracle_pack"))), "Item bought!");
    kvtest::writeScrambled(kvtest::gameDataPaths().resources + "/English.lproj/localizable.strings",
                           stringsFile({}));
    EXPECT_EQ(kvdata::textOf(store->boughtItemMessage(kvdata::newString("clint"))), "Item bought!");
    EXPECT_EQ(kvdata::textOf(store->boughtItemMessage(nullptr)), "Item bought!");
}
