// The dialogue manager over a plain host scene: which file and entry an identifier reads, the order
// of the steps in full and light dialogues, the start and end notifications, the end of a dialogue
// in and out of a mission, and the input cooldown.
#include <gtest/gtest.h>

#include "ChatterFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/chatter/KVChatterImageView.h"
#include "game/chatter/KVChatterLightTextView.h"
#include "game/chatter/KVChatterManager.h"
#include "game/chatter/KVChatterTextView.h"

using namespace kvengine;
using chattertest::ChatterFixture;

namespace {

// A scene that answers as the mission scene does.
class MissionScene : public CCScene {
public:
    CC_DECLARE_CLASS_NAME(KVGameplayScene, CCScene)
};

} // namespace

class ChatterManagerTest : public ChatterFixture {};

TEST_F(ChatterManagerTest, TheIdentifierNamesItsFileAndEntry) {
    chatter->loadChatter("Tutos_chatot");
    EXPECT_EQ(chatter->getStepCount(), 2);
    EXPECT_EQ(chatter->getLightMode(), 1);
    // The same file serves its other entries, whatever the case of the "_chat" part.
    chatter->loadChatter("Tutos_CHATrn");
    EXPECT_EQ(chatter->getStepCount(), 0) << "entries are named as written";
    chatter->loadChatter("Tutos_chatrn");
    EXPECT_EQ(chatter->getStepCount(), 2);
    chatter->loadChatter("M01a_chatin");
    EXPECT_EQ(chatter->getStepCount(), 4);
    EXPECT_EQ(chatter->getLightMode(), 0);
}

TEST_F(ChatterManagerTest, AnIdentifierThatLoadsNothingStartsNothing) {
    const char* const nothing[] = {
        "", "Tut_ab", "Tutos_xx", "Missing_chatzz", "Tutos_chatzz", "Broken_chatab", "Tutos_chat"};
    for (const char* identifier : nothing) {
        chatter->loadChatter("Tutos_chatot"); // something loaded before must not linger
        play(identifier);
        EXPECT_EQ(chatter->getStepCount(), 0) << identifier;
        EXPECT_FALSE(chatter->isChatterRunning()) << identifier;
        EXPECT_EQ(chatter->getDialogueScene(), nullptr) << identifier;
    }
    EXPECT_EQ(recorder->count("EVENT_CHATTER_START"), 0);
    EXPECT_TRUE(ends->identifiers.empty());
    // A broken file leaves nothing behind: a good identifier of another file still plays.
    play("Tutos_chatot");
    EXPECT_TRUE(chatter->isChatterRunning());
}

TEST_F(ChatterManagerTest, ALightDialoguePlaysItsTextStepsAndSkipsThePictures) {
    play("Test_chatlt");
    EXPECT_EQ(chatter->getStepCount(), 3);
    EXPECT_EQ(chatter->getLightMode(), 2);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_START"), 1);
    ASSERT_NE(stepView(KVChatterManager::kTextViewTag), nullptr);
    EXPECT_STREQ(stepView(KVChatterManager::kTextViewTag)->className(), "KVChatterLightTextView");
    EXPECT_EQ(chatter->getStep(), 1);

    chatter->nextStep();
    EXPECT_EQ(chatter->getStep(), 3);
    EXPECT_EQ(chatter->getImageCount(), 0);
    EXPECT_EQ(stepView(0), nullptr);
    ASSERT_NE(stepView(KVChatterManager::kTextViewTag), nullptr);
    EXPECT_STREQ(chatter->findStep(3) != nullptr ? "ok" : "", "ok");

    chatter->nextStep();
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(base->getChildren()->count(), 1u) << "the dialogue scene is gone";
    ASSERT_EQ(ends->identifiers.size(), 1u);
    EXPECT_EQ(ends->identifiers[0], "Test_chatlt");
    EXPECT_EQ(recorder->count("EVENT_CHATTER_START"), 1);
}

TEST_F(ChatterManagerTest, AStepNumberWithoutAStepIsSkipped) {
    play("Test_chatgp");
    EXPECT_EQ(chatter->getStepCount(), 2);
    chatter->nextStep(); // step 2 has no key: skipped; step 3 lies beyond the count
    EXPECT_FALSE(chatter->isChatterRunning());
    EXPECT_EQ(ends->identifiers.size(), 1u);
}

TEST_F(ChatterManagerTest, SelectedStepsAreMarkedWithTheirType) {
    chatter->loadChatter("M01a_chatin");
    auto* effect = chatter->findStep(1);
    ASSERT_NE(effect, nullptr);
    EXPECT_STREQ(static_cast<CCString*>(effect->objectForKey("item_type"))->c_str(), "Effect");
    auto* dialog = chatter->findStep(2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(static_cast<CCString*>(dialog->objectForKey("item_type"))->c_str(), "Dialog");
    EXPECT_EQ(chatter->findStep(5), nullptr);
}

TEST_F(ChatterManagerTest, MissingFlagsReadAsFalse) {
    play("Test_chatnf");
    EXPECT_EQ(chatter->getLightMode(), 0);
    CCNode* box = stepView(KVChatterManager::kTextViewTag);
    ASSERT_NE(box, nullptr) << "a full box is shown";
    EXPECT_STREQ(box->className(), "KVChatterTextView");
    chatter->nextStep();
    EXPECT_FALSE(chatter->isChatterRunning());
}

TEST_F(ChatterManagerTest, AStartOverARunningDialogueEndsItFirst) {
    play("Tutos_chatot");
    play("Tutos_chatrn");
    EXPECT_TRUE(chatter->isChatterRunning());
    EXPECT_EQ(chatter->getLoadedChatterName(), "Tutos_chatrn");
    ASSERT_EQ(ends->identifiers.size(), 1u);
    EXPECT_EQ(ends->identifiers[0], "Tutos_chatot");
    // Only the new dialogue scene lies over the host.
    int scenes = 0;
    for (unsigned i = 0; i < base->getChildren()->count(); ++i)
        if (base->getChildren()->objectAtIndex(i) == chatter->getDialogueScene()) ++scenes;
    EXPECT_EQ(scenes, 1);
    EXPECT_EQ(base->getChildren()->count(), 2u);
    // Starting the loaded dialogue again restarts it: one end, one start.
    chatter->nextStep();
    chatter->startChatter();
    EXPECT_EQ(chatter->getStep(), 1);
    EXPECT_EQ(ends->identifiers.size(), 2u);
    EXPECT_EQ(recorder->count("EVENT_CHATTER_START"), 3);
}

TEST_F(ChatterManagerTest, ASkipRequestEndsTheDialogueAtTheNextFrame) {
    struct Case {
        bool inMission;
        bool hostKept;
    };
    // Outside a mission the end goes through the front end's dialogue state, which clears the host.
    for (const Case& c : {Case{false, false}, Case{true, true}}) {
        CCScene* host = base;
        if (c.inMission) {
            auto* mission = new MissionScene();
            mission->init();
            mission->autorelease();
            director->replaceScene(mission);
            frame();
            host = mission;
        }
        chatter->setHostScene(host);
        chatter->loadChatter("Tutos_chatot");
        chatter->startChatter();
        chatter->requestEnd();
        EXPECT_TRUE(chatter->isChatterRunning());
        chatter->update(1.0f / 60);
        EXPECT_FALSE(chatter->isChatterRunning()) << c.inMission;
        EXPECT_EQ(chatter->getHostScene() != nullptr, c.hostKept) << c.inMission;
    }
    EXPECT_EQ(ends->identifiers.size(), 2u);
}

TEST_F(ChatterManagerTest, GesturesWaitThreeTenthsOfASecondAfterAnEnd) {
    EXPECT_FALSE(chatter->isInputCooldown());
    chatter->endChatter(); // nothing runs: no cooldown, no notification
    EXPECT_FALSE(chatter->isInputCooldown());
    EXPECT_TRUE(ends->identifiers.empty());
    play("Tutos_chatot");
    chatter->endChatter();
    EXPECT_TRUE(chatter->isInputCooldown());
    chatter->update(0.2f);
    EXPECT_TRUE(chatter->isInputCooldown());
    chatter->update(0.11f);
    EXPECT_FALSE(chatter->isInputCooldown());
}

TEST_F(ChatterManagerTest, PicturesStayUnderTheTextUntilABackgroundReset) {
    play("Test_chatbg");
    ASSERT_NE(stepView(0), nullptr);
    // Still pictures wait for a touch; the view tells itself finished and moves on at its update.
    static_cast<KVChatterImageView*>(stepView(0))->onItemFinished(nullptr, 1);
    frame();
    ASSERT_NE(stepView(1), nullptr);
    static_cast<KVChatterImageView*>(stepView(1))->onItemFinished(nullptr, 1);
    frame();
    EXPECT_EQ(chatter->getStep(), 3);
    EXPECT_NE(stepView(0), nullptr);
    EXPECT_NE(stepView(1), nullptr);
    EXPECT_NE(stepView(KVChatterManager::kTextViewTag), nullptr);
    EXPECT_EQ(chatter->getImageCount(), 2);

    chatter->nextStep();
    EXPECT_EQ(chatter->getStep(), 4);
    EXPECT_EQ(stepView(0), nullptr);
    EXPECT_EQ(stepView(1), nullptr);
    EXPECT_EQ(chatter->getImageCount(), 0);
    EXPECT_NE(stepView(KVChatterManager::kTextViewTag), nullptr);
}

TEST_F(ChatterManagerTest, APictureStepWithoutAPictureEndsAtOnce) {
    play("Test_chatxb");
    EXPECT_EQ(chatter->getStep(), 1);
    frame();
    EXPECT_EQ(chatter->getStep(), 2);
    EXPECT_NE(stepView(KVChatterManager::kTextViewTag), nullptr);
}

TEST_F(ChatterManagerTest, ThePortraitSheetsLeaveTheCaches) {
    chatter->loadChatter("Tutos_chatot");
    EXPECT_TRUE(CCSpriteFrameCache::getInstance()->hasSpriteFrame("steev_chatter.png"));
    EXPECT_TRUE(CCSpriteFrameCache::getInstance()->hasSpriteFrame("steev_chatterLight.png"));
    chatter->unloadPortraitSheets();
    EXPECT_FALSE(CCSpriteFrameCache::getInstance()->hasSpriteFrame("steev_chatter.png"));
    EXPECT_FALSE(CCSpriteFrameCache::getInstance()->hasSpriteFrame("TextBox_chatter.png"));
}
