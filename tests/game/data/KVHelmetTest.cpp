#include "GameDataFixture.h"

#include "game/data/KVHelmet.h"

using kvengine::CCString;
using kvtest::GameDataTest;

namespace {

struct Bonus {
    int hp;
    int sp;
    int defense;
    float movePower;
    float critics;
    float dodge;
    float targetPushOff;
};

Bonus bonusOf(KVHelmet* helmet) {
    return {helmet->hpBonus,      helmet->spBonus,    helmet->defenseBonus,      helmet->movePowerBonus,
            helmet->criticsBonus, helmet->dodgeBonus, helmet->targetPushOffBonus};
}

} // namespace

// straw_hat: HP 10, Dodge 0.05. iron_helm: HP 5, Defense 3, Move Power 2.7, Push Off Coef Target 1.5.
// pirate_hat: SP 1, Critics 0.25. Move Power and Push Off Coef count by their integer part.
TEST_F(GameDataTest, HelmetBonusesAddTheWornAndTransferredHelmetsOnce) {
    struct Case {
        const char* worn;
        std::vector<const char*> transferred;
        Bonus expected;
    };
    const Case cases[] = {
        {"straw_hat", {}, {10, 0, 0, 0, 0, 0.05f, 0}},
        {"iron_helm", {}, {5, 0, 3, 2, 0, 0, 1}},
        {"straw_hat", {"straw_hat", "pirate_hat"}, {10, 1, 0, 0, 0.25f, 0.05f, 0}},
        {"straw_hat", {"iron_helm"}, {15, 0, 3, 2, 0, 0.05f, 1}},
        {"", {"iron_helm"}, {5, 0, 3, 2, 0, 0, 1}},
        {"", {}, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.worn) + " + " + std::to_string(c.transferred.size()) + " transferred");
        kvtest::resetSharedGameObjects();
        KVPlayerParameters* profile = KVPlayerParameters::getInstance();
        for (const char* name : c.transferred)
            profile->addTransferredHelmet(name, "steev");
        KVHelmet* helmet = new KVHelmet(kvdata::newString(c.worn), kvdata::newString("steev"));
        const Bonus bonus = bonusOf(helmet);
        EXPECT_EQ(bonus.hp, c.expected.hp);
        EXPECT_EQ(bonus.sp, c.expected.sp);
        EXPECT_EQ(bonus.defense, c.expected.defense);
        EXPECT_FLOAT_EQ(bonus.movePower, c.expected.movePower);
        EXPECT_FLOAT_EQ(bonus.critics, c.expected.critics);
        EXPECT_FLOAT_EQ(bonus.dodge, c.expected.dodge);
        EXPECT_FLOAT_EQ(bonus.targetPushOff, c.expected.targetPushOff);
        EXPECT_EQ(helmet->getSpriteName() == nullptr, std::string(c.worn).empty());
        helmet->release();
    }
}

TEST_F(GameDataTest, HelmetPicturesComeFromTheHelmetTable) {
    KVPlayerParameters::getInstance();
    KVHelmet* helmet = new KVHelmet(kvdata::newString("pirate_hat"), kvdata::newString("vahine"));
    EXPECT_EQ(kvdata::textOf(helmet->getSpriteSheetName()), "pirate_hat_ss");
    EXPECT_EQ(kvdata::textOf(helmet->getSpriteName()), "pirate_hat");
    helmet->releaseSpriteName();
    EXPECT_EQ(helmet->getSpriteName(), nullptr);
    EXPECT_TRUE(helmet->isKindOf("KVObject"));
    helmet->release();
}

TEST_F(GameDataTest, AComputerControlledWearerCountsOnlyItsHelmet) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    KVHelmet* helmet = new KVHelmet(kvdata::newString("iron_helm"), kvdata::newString("crab"));
    EXPECT_EQ(helmet->hpBonus, 5);
    EXPECT_EQ(profile->getKelvoRecord("crab"), nullptr); // nothing written to the profile
    helmet->release();

    KVHelmet* unknown = new KVHelmet(kvdata::newString("crown"), kvdata::newString("crab"));
    EXPECT_EQ(unknown->hpBonus, 0);
    EXPECT_TRUE(logged("helmet"));
    unknown->release();
    KVHelmet* none = new KVHelmet(nullptr, nullptr);
    EXPECT_EQ(none->hpBonus, 0);
    none->release();
}
