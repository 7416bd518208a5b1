// The equipment screen on the wide window: the card's shown values by class, level and helmets, the
// gain labels and the next-level preview, the count-up of a training, the training states, helmet
// transfer and removal, the brainwash, stepping through the creatures, the helmet list's entries,
// what is saved, and the sheets the card loads and unloads.
#include "game/screens/KVEquipScreenView.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenuItemLabel.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVGameParameters.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVButtonItem.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVPortraitItem.h"
#include "game/powerups/KVConsumableManager.h"
#include "game/screens/KVCharacterItem.h"

using namespace kvengine;

namespace {

class EquipTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        m_wide = CCDirector::wideScreen;
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        CCDirector::wideScreen = 1;
        menu = KVMenuManager::getInstance();
        profile = KVPlayerParameters::getInstance();
        setDebugLogSink([this](const std::string& line) { logLines.push_back(line); });
    }
    void tearDownWithGL() override {
        setDebugLogSink(nullptr);
        MenuFixture::tearDownWithGL();
        CCDirector::wideScreen = m_wide;
        // These tests save odd profiles (creatures locked again, helmets on sale): the next test
        // of the program starts from a fresh one.
        const char* home = std::getenv("XDG_DATA_HOME");
        std::error_code ignored;
        if (home != nullptr)
            std::filesystem::remove(std::string(home) + "/Kelvos/SavedSettings.plist", ignored);
    }
    KVEquipScreenView* open(const char* creature) {
        auto* name = new CCString(creature);
        menu->setSelectedKelvoName(name);
        name->release();
        menu->changeState(KVMenuManager::kEquipmentState);
        frame();
        CCScene* scene = director->getRunningScene();
        view = scene != nullptr ? dynamic_cast<KVEquipScreenView*>(scene->getChildByTag(9)) : nullptr;
        return view;
    }
    KVCharacterItem* card() const {
        return view != nullptr
                   ? dynamic_cast<KVCharacterItem*>(view->getChildByTag(KVEquipScreenView::kCardTag))
                   : nullptr;
    }
    std::vector<std::string> values() const {
        std::vector<std::string> shown;
        for (int row = 1; row <= KVCharacterItem::kRowCount; ++row)
            shown.push_back(card()->valueText(row));
        return shown;
    }
    /// The +N labels, "" where a row has none.
    std::vector<std::string> gains() const {
        std::vector<std::string> shown;
        for (int row = 1; row <= KVCharacterItem::kRowCount; ++row) {
            auto* item = dynamic_cast<CCMenuItemLabel*>(
                card()->getChildByTag(KVCharacterItem::kFirstGainLabelTag + row - 1));
            auto* label = item != nullptr ? dynamic_cast<CCLabelTTF*>(item->getLabel()) : nullptr;
            shown.push_back(label != nullptr ? label->getString() : "");
        }
        return shown;
    }
    std::string levelText() const {
        auto* label = dynamic_cast<CCLabelTTF*>(card()->getChildByTag(KVCharacterItem::kLevelValueTag));
        return label != nullptr ? label->getString() : "";
    }
    int trainKind() const {
        auto* button = dynamic_cast<KVButton*>(card()->getChildByTag(KVCharacterItem::kTrainButtonTag));
        return button != nullptr ? button->getKind() : 0;
    }
    void setMedusas(int count) {
        profile->addConsumable(KV_BRAINWASH_CONSUMABLE,
                               count - profile->getConsumableAmount(KV_BRAINWASH_CONSUMABLE));
    }
    void setPearls(int amount) {
        profile->removePearls(profile->getPearlAmount());
        profile->addPearls(amount);
    }
    /// Lock statuses written straight into the records (the profile's own setters only move
    /// forwards).
    void setKelvoStatus(const std::string& name, int status) {
        kvdata::setInt(profile->getKelvoRecord(name), "status_locked", status);
    }
    void setHelmetStatus(const std::string& name, int status) {
        kvdata::setInt(profile->getHelmetRecord(name), "status_locked", status);
    }
    bool logged(const std::string& part) const {
        for (const std::string& line : logLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }

    KVMenuManager* menu = nullptr;
    KVPlayerParameters* profile = nullptr;
    KVEquipScreenView* view = nullptr;
    std::vector<std::string> logLines;

private:
    int m_wide = 0;
};

TEST_F(EquipTest, TheCardShowsTheStatsAtTheLevelWithTransferredAndWornHelmets) {
    struct Case {
        const char* what;
        const char* creature;
        int level;
        std::vector<std::string> transferred;
        const char* worn;
        std::vector<std::string> values;
        std::vector<std::string> gains;
        const char* level_;
    };
    // steev: a Frigate (row 5 "DMG Target", helmets raise "Push Off Coef Target"); vahine a Zodiac
    // (row 5 "Heal"); kiwa a Torpedo ("Dash Per Turn"). pearl_tiara: HP +10, Heal +10; seaweed_band:
    // Heal +5; straw_hat: HP +10; snorkel: Dash +1; shell_helm: HP +20, Defense +2.
    const Case cases[] = {
        {"frigate at level 1",
         "steev",
         1,
         {},
         "",
         {"120", "100", "22", "4", "0"},
         {"", "", "", "", ""},
         " 1/10"},
        {"zodiac at level 1",
         "vahine",
         1,
         {},
         "",
         {"90", "110", "14", "2", "25"},
         {"", "", "", "", ""},
         " 1/10"},
        {"torpedo at level 1",
         "kiwa",
         1,
         {},
         "",
         {"80", "90", "18", "1", "2"},
         {"", "", "", "", ""},
         " 1/10"},
        {"transferred helmets raise their rows with no helmet worn",
         "vahine",
         1,
         {"pearl_tiara", "seaweed_band"},
         "",
         {"100", "110", "14", "2", "40"},
         {"", "", "", "", ""},
         " 1/10"},
        {"a worn helmet not transferred is only previewed",
         "vahine",
         1,
         {},
         "pearl_tiara",
         {"90", "110", "14", "2", "25"},
         {"+10", "", "", "", "+10"},
         " 1/10"},
        {"a worn, transferred helmet counts and shows no preview",
         "kiwa",
         1,
         {"snorkel"},
         "snorkel",
         {"80", "90", "18", "1", "3"},
         {"", "", "", "", ""},
         " 1/10"},
        {"a frigate's worn helmet: single-digit gains keep a space",
         "steev",
         1,
         {},
         "shell_helm",
         {"120", "100", "22", "4", "0"},
         {"+20", "", "", "+ 2", ""},
         " 1/10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* helmet : {"pearl_tiara", "seaweed_band", "snorkel", "shell_helm", "straw_hat"})
            setHelmetStatus(helmet, kLockStatusUnlocked);
        profile->setKelvoLevel(c.creature, c.level);
        kvdata::Array* list = profile->getTransferredHelmets(c.creature);
        list->removeAllObjects();
        for (const std::string& helmet : c.transferred)
            profile->addTransferredHelmet(helmet, c.creature);
        profile->setKelvoHelmet(c.creature, c.worn);
        ASSERT_NE(open(c.creature), nullptr);
        ASSERT_NE(card(), nullptr);
        EXPECT_EQ(values(), c.values);
        EXPECT_EQ(gains(), c.gains);
        EXPECT_EQ(levelText(), c.level_);
        EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kTransferButtonTag) != nullptr,
                  std::string(c.worn) != "" && c.transferred.empty());
        EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kHelmetFigureTag) != nullptr,
                  std::string(c.worn) != "");
    }
    screenshot("equip-card-vahine.png");
}

TEST_F(EquipTest, EveryHelmetSitsOnTheFiguresOfItsClass) {
    KVGameParameters* data = KVGameParameters::getInstance();
    for (const std::string& helmet : kvdata::keysOf(data->getHelmets())) {
        const std::string className = kvdata::textAt(data->getHelmetDefinition(helmet), "Class");
        for (const std::string& creature : kvdata::keysOf(data->getKelvoStatsTable())) {
            if (kvdata::textAt(data->getKelvoStats(creature), "Class") != className) continue;
            SCOPED_TRACE(helmet + " on " + creature);
            setHelmetStatus(helmet, kLockStatusUnlocked);
            profile->setKelvoHelmet(creature, helmet);
            ASSERT_NE(open(creature.c_str()), nullptr);
            CCNode* figure = card()->getChildByTag(KVCharacterItem::kCreatureFigureTag);
            CCNode* worn = card()->getChildByTag(KVCharacterItem::kHelmetFigureTag);
            ASSERT_NE(figure, nullptr);
            ASSERT_NE(worn, nullptr);
            EXPECT_EQ(worn->getPosition().x, figure->getPosition().x);
            EXPECT_EQ(worn->getPosition().y, figure->getPosition().y);
            frame();
            screenshot("equip-" + helmet + "-on-" + creature + ".png");
        }
    }
}

TEST_F(EquipTest, AMysteryCreatureShowsQuestionMarksAndAnUnknownCreatureAnEmptyCard) {
    // A creature of the data whose name holds "quorrel", with a profile record of its own.
    KVGameParameters* data = KVGameParameters::getInstance();
    data->getKelvoStatsTable()->setObject(kvdata::deepCopy(data->getKelvoStats("steev")), "quorrelfish");
    kvdata::Dict* creatures = kvdata::dictAt(profile->getProfile(), "Kelvo");
    creatures->setObject(kvdata::deepCopy(profile->getKelvoRecord("steev")), "quorrelfish");
    profile->setKelvoLevel("quorrelfish", 3);
    profile->setKelvoHelmet("quorrelfish", "shell_helm");
    setMedusas(2);
    ASSERT_NE(open("quorrelfish"), nullptr);
    EXPECT_EQ(values(), std::vector<std::string>(5, "??"));
    EXPECT_EQ(gains(), std::vector<std::string>(5, ""));
    EXPECT_EQ(levelText(), " ??");
    EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kBrainwashButtonTag), nullptr);
    EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kTransferButtonTag), nullptr);

    // No stats row: an empty card and an empty list, logged; the arrows still lead on.
    logLines.clear();
    ASSERT_NE(open("whale"), nullptr);
    ASSERT_NE(card(), nullptr);
    EXPECT_TRUE(card()->getChildren() == nullptr || card()->getChildren()->count() == 0);
    auto* list = dynamic_cast<KVPortraitItem*>(view->getChildByTag(KVEquipScreenView::kHelmetListTag));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getEntryCount(), 0);
    EXPECT_TRUE(logged("no stats row or profile record for \"whale\""));
    view->nextPressed(nullptr);
    EXPECT_EQ(kvdata::textOf(menu->getSelectedKelvoName()), "kiwa");
    EXPECT_EQ(values()[0], "80");
}

TEST_F(EquipTest, TrainingPreviewsPaysAndCountsUpRowByRow) {
    setPearls(100); // exactly the cost of level 2
    profile->setKelvoLevel("steev", 1);
    profile->setKelvoHelmet("steev", "");
    ASSERT_NE(open("steev"), nullptr);
    menutest::Recorder recorder;
    recorder.observe(EVENT_UPDATE_STAT_NUMBER);
    recorder.observe(EVENT_HIDDEN_STAR_FOUND);
    recorder.observe(EVENT_KELVO_TRAIN_OK);
    recorder.observe(SCREEN_MENU_TRAIN_KELVO_CONFIRM);
    EXPECT_EQ(trainKind(), 11);

    card()->trainPressed(nullptr);
    EXPECT_TRUE(card()->isTrainPreview());
    // Level 2 adds 12 HP, 5 SP and 2 melee damage.
    EXPECT_EQ(gains(), (std::vector<std::string>{"+12", "+ 5", "+ 2", "", ""}));
    EXPECT_EQ(recorder.count("EVENT_KELVO_TRAIN_OK"), 0);

    card()->trainPressed(nullptr);
    EXPECT_EQ(recorder.count("EVENT_KELVO_TRAIN_OK"), 1);
    EXPECT_EQ(recorder.count("Menu - Train Kelvo - Confirm"), 1);
    EXPECT_EQ(profile->getPearlAmount(), 0);
    EXPECT_EQ(profile->getKelvoLevel("steev"), 2);
    EXPECT_EQ(levelText(), " 2/10");
    EXPECT_TRUE(card()->isGainsFromTraining());

    // Row 1 ticks 0.01 + 0.3 s in, row 2 0.3 s later, row 3 (the last) 0.3 s after that with the
    // creature's voice; the panel is computed afresh once the last row has scaled back.
    struct Step {
        float seconds;
        std::vector<std::string> values;
        int ticks;
        int voices;
    };
    const Step steps[] = {
        {0.25f, {"120", "100", "22", "4", "0"}, 0, 0}, {0.1f, {"132", "100", "22", "4", "0"}, 1, 0},
        {0.3f, {"132", "105", "22", "4", "0"}, 2, 0},  {0.3f, {"132", "105", "24", "4", "0"}, 3, 1},
        {1.0f, {"132", "105", "24", "4", "0"}, 3, 1},
    };
    for (const Step& step : steps) {
        run(step.seconds);
        EXPECT_EQ(values(), step.values);
        EXPECT_EQ(recorder.count("EVENT_UPDATE_STAT_NUMBER"), step.ticks);
        EXPECT_EQ(recorder.count("EVENT_HIDDEN_STAR_FOUND"), step.voices);
        if (step.ticks == 2) screenshot("equip-training-counting.png");
    }
    EXPECT_EQ(gains(), std::vector<std::string>(5, ""));
    screenshot("equip-training-done.png");
}

TEST_F(EquipTest, ATrainingWithoutEnoughPearlsOpensThePopUpAndClosingItReturnsToIdle) {
    struct Case {
        const char* what;
        CCString* closing;
    };
    const Case cases[] = {{"OK", EVENT_POP_UP_CLOSED}, {"dismissed", EVENT_POP_UP_CANCELLED}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setPearls(99); // one short of level 2
        profile->setKelvoLevel("vahine", 1);
        setHelmetStatus("pearl_tiara", kLockStatusUnlocked);
        profile->getTransferredHelmets("vahine")->removeAllObjects();
        profile->setKelvoHelmet("vahine", "pearl_tiara");
        ASSERT_NE(open("vahine"), nullptr);
        card()->trainPressed(nullptr);
        EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kTransferButtonTag), nullptr);
        card()->trainPressed(nullptr);
        EXPECT_EQ(menu->popUpKind, 1);
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kItemPopUpState);
        EXPECT_EQ(profile->getPearlAmount(), 99);
        EXPECT_EQ(profile->getKelvoLevel("vahine"), 1);
        CCNotificationCenter::getInstance()->postNotification(c.closing);
        // Idle again: "Train", the helmet's bonus labels and its transfer button.
        EXPECT_FALSE(card()->isTrainPreview());
        EXPECT_EQ(trainKind(), 11);
        EXPECT_EQ(gains(), (std::vector<std::string>{"+10", "", "", "", "+10"}));
        EXPECT_NE(card()->getChildByTag(KVCharacterItem::kTransferButtonTag), nullptr);
        auto* button = dynamic_cast<KVButton*>(card()->getChildByTag(KVCharacterItem::kTrainButtonTag));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->getItem()->getChildByTag(KVCharacterItem::kTrainPearlTag), nullptr);
        menu->changeState(19);
        frame();
    }
    // At the maximum level the button is the inert "Max Level".
    profile->setKelvoLevel("vahine", 10);
    ASSERT_NE(open("vahine"), nullptr);
    EXPECT_EQ(trainKind(), 12);
    EXPECT_EQ(levelText(), " 10/10");
}

TEST_F(EquipTest, TransferRemovalAndBrainwash) {
    setHelmetStatus("pearl_tiara", kLockStatusUnlocked);
    profile->getTransferredHelmets("vahine")->removeAllObjects();
    profile->setKelvoHelmet("vahine", "pearl_tiara");
    profile->setKelvoLevel("vahine", 1);
    ASSERT_NE(open("vahine"), nullptr);
    card()->transferPressed(nullptr);
    EXPECT_TRUE(profile->isHelmetTransferred("pearl_tiara", "vahine"));
    EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kTransferButtonTag), nullptr);
    run(1.5f);
    EXPECT_EQ(values(), (std::vector<std::string>{"100", "110", "14", "2", "35"}));
    EXPECT_EQ(gains(), std::vector<std::string>(5, ""));

    // Taking the helmet off keeps the transferred bonuses.
    view->helmetRemoved(nullptr);
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("vahine"), "helmet_name"), "");
    EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kHelmetFigureTag), nullptr);
    EXPECT_EQ(values(), (std::vector<std::string>{"100", "110", "14", "2", "35"}));

    struct Case {
        const char* what;
        int medusas;
        int level;
        bool buttonShown;
        int levelAfter;
        int refund;
    };
    // Levels 2 and 3 cost 100 + 150.
    const Case cases[] = {
        {"with a medusa", 1, 3, true, 1, 250},
        {"the stock fell to 0 after the card was built", 0, 3, true, 3, 0},
        {"none in stock: no button", 0, 3, false, 3, 0},
        {"level 1: no button", 2, 1, false, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        profile->setKelvoLevel("vahine", c.level);
        setMedusas(c.buttonShown ? 1 : c.medusas);
        ASSERT_NE(open("vahine"), nullptr);
        EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kBrainwashButtonTag) != nullptr, c.buttonShown);
        setMedusas(c.medusas);
        const int pearls = profile->getPearlAmount();
        if (c.buttonShown) {
            card()->brainwashPressed(nullptr);
            EXPECT_EQ(menu->popUpKind, 2);
            // The pop-up's confirmation.
            CCNotificationCenter::getInstance()->postNotification(EVENT_BRAIN_WASH_TRIGGERED,
                                                                  kvdata::newString("vahine"));
            menu->changeState(19);
            frame();
        }
        EXPECT_EQ(profile->getKelvoLevel("vahine"), c.levelAfter);
        EXPECT_EQ(profile->getPearlAmount() - pearls, c.refund);
        EXPECT_EQ(card()->getChildByTag(KVCharacterItem::kBrainwashButtonTag) != nullptr,
                  c.buttonShown && c.levelAfter > 1);
        char level[16];
        std::snprintf(level, sizeof level, " %d/10", c.levelAfter);
        EXPECT_EQ(levelText(), level);
    }
}

TEST_F(EquipTest, TheArrowsStepThroughUnlockedCreaturesInNameOrder) {
    struct Case {
        const char* what;
        std::vector<std::string> unlocked;
        const char* from;
        bool next;
        const char* to;
    };
    const Case cases[] = {
        {"next", {"kiwa", "steev", "vahine"}, "kiwa", true, "steev"},
        {"next wraps round", {"kiwa", "steev", "vahine"}, "vahine", true, "kiwa"},
        {"previous wraps round", {"kiwa", "steev", "vahine"}, "kiwa", false, "vahine"},
        {"locked and shop creatures are skipped", {"clint", "vahine"}, "clint", true, "vahine"},
        {"previous skips them too", {"clint", "vahine"}, "vahine", false, "clint"},
        {"alone: the same creature", {"steev"}, "steev", true, "steev"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* name : {"steev", "vahine", "kiwa", "clint", "sammo", "kiwa0", "kiwa2"})
            setKelvoStatus(name, kLockStatusLocked);
        setKelvoStatus("sammo", kLockStatusInShop);
        for (const std::string& name : c.unlocked)
            setKelvoStatus(name, kLockStatusUnlocked);
        ASSERT_NE(open(c.from), nullptr);
        if (c.next)
            view->nextPressed(nullptr);
        else
            view->previousPressed(nullptr);
        EXPECT_EQ(kvdata::textOf(menu->getSelectedKelvoName()), c.to);
        ASSERT_NE(card(), nullptr);
        EXPECT_EQ(card()->getParent(), view);
    }
}

TEST_F(EquipTest, TheHelmetListHoldsTheClassHelmetsAndAChoiceIsWornAndSaved) {
    struct Case {
        const char* creature;
        std::vector<std::pair<std::string, int>> statuses;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"vahine",
         {{"pearl_tiara", 0}, {"seaweed_band", 1}, {"nacre_crown", 3}},
         {"pearl_tiara", "seaweed_band"}},
        {"vahine", {{"pearl_tiara", 2}, {"seaweed_band", 3}, {"nacre_crown", 3}}, {"pearl_tiara"}},
        {"kiwa", {{"snorkel", 0}, {"straw_hat", 0}, {"coconut", 1}}, {"coconut", "snorkel", "straw_hat"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.creature);
        for (const auto& [helmet, status] : c.statuses)
            setHelmetStatus(helmet, status);
        profile->setKelvoHelmet(c.creature, "");
        ASSERT_NE(open(c.creature), nullptr);
        kvdata::Dict* entries = KVEquipScreenView::buildHelmetEntries();
        EXPECT_EQ(kvdata::keysOf(entries), c.listed);
        for (const auto& [helmet, status] : c.statuses) {
            if (status == 3) continue;
            EXPECT_EQ(kvdata::intAt(kvdata::dictAt(entries, helmet), "status_locked"), status) << helmet;
            EXPECT_EQ(kvdata::textAt(kvdata::dictAt(entries, helmet), "status_selected"), "0") << helmet;
        }
    }

    // Choosing an unlocked helmet wears it and saves the profile at once.
    setHelmetStatus("snorkel", kLockStatusUnlocked);
    ASSERT_NE(open("kiwa"), nullptr);
    auto* icon = new CCNode();
    icon->setUserObject(kvdata::newString("snorkel"));
    view->helmetChosen(icon);
    frame();
    EXPECT_NE(card()->getChildByTag(KVCharacterItem::kHelmetFigureTag), nullptr);
    EXPECT_EQ(
        kvdata::textAt(kvdata::dictAt(KVEquipScreenView::buildHelmetEntries(), "snorkel"), "status_selected"),
        "1");
    screenshot("equip-helmet-worn.png");
    // A locked helmet is ignored; one on sale opens the shop with it chosen.
    setHelmetStatus("straw_hat", kLockStatusLocked);
    icon->setUserObject(kvdata::newString("straw_hat"));
    view->helmetChosen(icon);
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("kiwa"), "helmet_name"), "snorkel");
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kEquipmentState);
    setHelmetStatus("straw_hat", kLockStatusInShop);
    icon->setUserObject(kvdata::newString("straw_hat"));
    view->helmetChosen(icon);
    EXPECT_EQ(kvdata::textOf(menu->getSelectedShopItemName()), "straw_hat");
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kShopState);
    icon->release();
    frame();
    // The profile read back from the saved settings keeps the helmet.
    profile->release();
    CCUserDefaults::getInstance()->release();
    profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(kvdata::textAt(profile->getKelvoRecord("kiwa"), "helmet_name"), "snorkel");
}

TEST_F(EquipTest, SteppingAndLeavingUnloadEverySheetTheCardLoaded) {
    for (const char* name : {"steev", "vahine", "kiwa", "clint", "sammo"})
        setKelvoStatus(name, kLockStatusUnlocked);
    setHelmetStatus("shell_helm", kLockStatusUnlocked);
    profile->setKelvoHelmet("steev", "shell_helm");
    CCSpriteFrameCache* frames = CCSpriteFrameCache::getInstance();
    // Leaving the screen unloads the card's sheets before the next screen loads its own: the troops
    // screen keeps the team's.
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        ASSERT_NE(open("steev"), nullptr);
        EXPECT_NE(frames->findSpriteFrameByName("shell_helm_idle_01.png"), nullptr);
        if (round < 2)
            for (int step = 0; step < 5; ++step)
                view->nextPressed(nullptr);
        EXPECT_EQ(kvdata::textOf(menu->getSelectedKelvoName()), "steev");
        if (round < 5) {
            menu->changeState(KVMenuManager::kWorldMapState);
            frame();
            for (const char* figure : {"steev_idle_01.png", "shell_helm_idle_01.png", "sammo_idle_01.png"})
                EXPECT_EQ(frames->findSpriteFrameByName(figure), nullptr) << figure;
        } else {
            KVCharacterItem* shown = card();
            shown->retain();
            view->backPressed(nullptr);
            EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kTroopsState);
            EXPECT_EQ(kvdata::countOf(shown->getSheetsLoaded()), 0u);
            shown->release();
            frame();
            // The troops screen's own copy of the team's sheets stays once the card is gone.
            EXPECT_NE(frames->findSpriteFrameByName("steev_idle_01.png"), nullptr);
        }
    }
    // The troops screen saves the profile when it goes: let it go before the test ends.
    menu->changeState(KVMenuManager::kWorldMapState);
    frame();
}

} // namespace
