// The power-up manager under a fixed seed: the weighted draw, the row a pawn draws from, the set a
// mission uses, and the broken tables that give nothing.
#include "game/objects/ObjectTestSupport.h"

#include <array>

#include "engine/base/CCRandom.h"
#include "game/data/KVGameSetup.h"
#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/powerups/KVPowerupKinds.h"
#include "game/powerups/KVPowerupManager.h"
#include "game/world/KVObjectFactory.h"

using pawntest::LogCapture;

namespace {

using Row = std::array<const char*, 5>;

// A row dictionary; a null weight leaves its key out.
kvdata::Dict* rowOf(const Row& weights) {
    kvdata::Dict* row = kvdata::newDict();
    for (int kind = 0; kind < KVPowerupManager::kKinds; ++kind)
        if (weights[kind] != nullptr) kvdata::setText(row, KVPowerupManager::kindKey(kind), weights[kind]);
    return row;
}

// A "powerups" table with the set "default" and, when given, a set "special" chosen for "C0M01".
kvdata::Dict* tableOf(std::initializer_list<Row> defaultRows, std::initializer_list<Row> specialRows = {}) {
    kvdata::Dict* sets = kvdata::newDict();
    kvdata::Array* rows = kvdata::newArray();
    for (const Row& row : defaultRows)
        rows->addObject(rowOf(row));
    sets->setObject(rows, "default");
    kvdata::Dict* selection = kvdata::newDict();
    if (specialRows.size() > 0) {
        kvdata::Array* special = kvdata::newArray();
        for (const Row& row : specialRows)
            special->addObject(rowOf(row));
        sets->setObject(special, "special");
        kvdata::setText(selection, "C0M01", "special");
    }
    kvdata::Dict* table = kvdata::newDict();
    table->setObject(selection, "map_set_selection");
    table->setObject(sets, "ratio_sets");
    return table;
}

const Row kOnlyDrinks = {"10", "0", "0", "0", "0"};
const Row kEven = {"1", "1", "1", "1", "1"};
const Row kZero = {"0", "0", "0", "0", "0"};
const Row kOnlyShurikens = {"0", "0", "0", "0", "5"};

class PowerupManagerTest : public objecttest::ObjectWorldTest {
protected:
    void SetUp() override {
        ObjectWorldTest::SetUp();
        KVObjectFactory::registerGameClasses();
        kvengine::CCRandom::seed(3);
        manager = new KVPowerupManager();
        KVGameSetup::getInstance()->solo = true;
    }
    void TearDown() override {
        manager->release();
        KVGameSetup::getInstance()->solo = true;
        ObjectWorldTest::TearDown();
    }
    // Counts of each kind over `draws` draws from row `row`; index 5 counts the draws that gave nothing.
    std::array<int, 6> histogram(int row, KVPawn* pawn, int draws) {
        std::array<int, 6> counts{};
        for (int i = 0; i < draws; ++i) {
            const int kind = manager->drawKind(row, pawn);
            ++counts[kind < 0 ? 5 : kind];
        }
        return counts;
    }

    KVPowerupManager* manager = nullptr;
};

TEST_F(PowerupManagerTest, WeightedDrawsUnderAFixedSeed) {
    manager->loadRows(tableOf({kOnlyDrinks, kEven, kOnlyShurikens, kZero}), "M01a");
    EXPECT_EQ(manager->total(1), 10);
    EXPECT_EQ(manager->total(2), 5);
    // (10, 0, 0, 0, 0): always the drink.
    EXPECT_EQ(histogram(1, nullptr, 1000)[0], 1000);
    // (1, 1, 1, 1, 1): each kind near a fifth of 10,000.
    const std::array<int, 6> even = histogram(2, nullptr, 10000);
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_GT(even[kind], 1850) << kind;
        EXPECT_LT(even[kind], 2150) << kind;
    }
    // With nobody in sight of the pawn the shuriken is drawn again: the other four near a quarter.
    KVPawn* lonely = makePawn("kelvo", 5.0f, 5.0f, pawntest::fighterStats());
    const std::array<int, 6> sightless = histogram(2, lonely, 10000);
    EXPECT_EQ(sightless[4], 0);
    EXPECT_EQ(sightless[5], 0);
    for (int kind = 0; kind < 4; ++kind) {
        EXPECT_GT(sightless[kind], 2350) << kind;
        EXPECT_LT(sightless[kind], 2650) << kind;
    }
    // A shuriken-only row without a target, and an all-zero row, give nothing (and end).
    EXPECT_EQ(histogram(3, lonely, 10)[5], 10);
    EXPECT_EQ(histogram(4, nullptr, 10)[5], 10);
    // The same seed gives the same draws.
    kvengine::CCRandom::seed(3);
    const std::array<int, 6> first = histogram(2, nullptr, 100);
    kvengine::CCRandom::seed(3);
    EXPECT_EQ(histogram(2, nullptr, 100), first);
}

TEST_F(PowerupManagerTest, BrokenSetsAreReadAsFarAsTheyGoAndLogged) {
    const struct {
        const char* what;
        kvdata::Dict* table;
        const char* mission;
        std::array<int, 4> totals;
        const char* logged;
    } cases[] = {
        {"two rows: rows 3 and 4 give nothing",
         tableOf({kEven, kOnlyDrinks}),
         "M01a",
         {5, 10, 0, 0},
         "has 2 rows"},
        {"six rows: the extra two are ignored",
         tableOf({kEven, kEven, kEven, kEven, kOnlyDrinks, kOnlyDrinks}),
         "M01a",
         {5, 5, 5, 5},
         "extra rows are ignored"},
        {"a missing key weighs 0",
         tableOf({{"3", nullptr, "1", "1", "1"}, kEven, kEven, kEven}),
         "M01a",
         {6, 5, 5, 5},
         "has no \"sushi\""},
        {"a mission with its own set",
         tableOf({kEven, kEven, kEven, kEven}, {kOnlyDrinks, kOnlyDrinks, kZero, kZero}),
         "C0M01",
         {10, 10, 0, 0},
         nullptr},
        {"no table at all", nullptr, "M01a", {0, 0, 0, 0}, "has 0 rows"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        manager->loadRows(c.table, c.mission);
        for (int row = 1; row <= 4; ++row)
            EXPECT_EQ(manager->total(row), c.totals[row - 1]) << row;
        if (c.logged != nullptr) {
            EXPECT_TRUE(log.contains(c.logged)) << c.logged;
        } else {
            EXPECT_TRUE(log.lines.empty());
        }
    }
    // An all-zero row: nothing given, a log line, no power-up on the pawn.
    manager->loadRows(tableOf({kZero, kZero, kZero, kZero}), "M01a");
    KVPawn* pawn = makePawn("kelvo", 5.0f, 5.0f, pawntest::fighterStats());
    LogCapture log;
    EXPECT_EQ(manager->givePowerup(pawn), nullptr);
    EXPECT_TRUE(log.contains("row 1 gives nothing"));
    EXPECT_EQ(pawn->getModifiers()->count(), 0u);
}

TEST_F(PowerupManagerTest, SoloRowsFollowTheDeadAndMultiplayerRowsThePlace) {
    manager->loadRows(tableOf({kOnlyDrinks, kEven, kEven, kEven}), "M01a");
    KVPawn* taker = makePawn("kelvo", 5.0f, 5.0f, pawntest::fighterStats());
    EXPECT_EQ(manager->rowFor(taker), 1);
    // Each player kelvo removed is one more death; from three on, row 4.
    const int expectedRows[] = {2, 3, 4, 4};
    float x = 10.0f;
    for (int expected : expectedRows) {
        auto* dead = pawntest::TestPawn::setUp(new KVKelvoPlayer(), "steev", x += 2.0f, 5.0f,
                                               pawntest::fighterStats(), false, false);
        pawns.push_back(dead);
        post(EVENT_REMOVE_ACTOR, dead);
        EXPECT_EQ(manager->rowFor(taker), expected);
    }

    KVGameSetup::getInstance()->solo = false;
    const struct { int placing, row; } places[] = {{1, 1}, {2, 2}, {4, 4}, {0, 1}, {7, 4}};
    auto* player = new KVPlayerHuddle();
    taker->setOwnerPlayer(player);
    for (const auto& p : places) {
        player->placing = p.placing;
        EXPECT_EQ(manager->rowFor(taker), p.row) << "place " << p.placing;
    }
    taker->setOwnerPlayer(nullptr);
    player->release();

    // What is drawn is made and carried.
    auto* t = trace({EVENT_POWERUP_PICKED_UP});
    t->name(taker, "taker");
    player = nullptr;
    KVPowerup* given = manager->givePowerup(taker);
    ASSERT_NE(given, nullptr);
    EXPECT_TRUE(given->isKindOf("KVPowerupEnergyDrink"));
    EXPECT_EQ(given->getOwner(), taker);
    EXPECT_EQ(t->lines, std::vector<std::string>{"EVENT_POWERUP_PICKED_UP taker"});
}

} // namespace
