// The squad pop-up (state 16) over the troops screen: the team members on its frame, the swap a
// tap on a member makes in the profile, and the taps that change nothing.
#include "game/screens/KVPopUpSquadScreenView.h"

#include <map>
#include <string>

#include "MenuFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCString.h"
#include "engine/base/CCUserDefaults.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {

class SquadPopUpTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        m_wide = CCDirector::wideScreen;
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        CCDirector::wideScreen = 1;
        menu = KVMenuManager::getInstance();
        profile = KVPlayerParameters::getInstance();
        recorder = new menutest::Recorder();
        recorder->observe(EVENT_BUTTON_VALIDATED);
    }
    void tearDownWithGL() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        MenuFixture::tearDownWithGL();
        CCDirector::wideScreen = m_wide;
    }
    /// A team of three (steev 1 with the straw hat, vahine 2, kiwa 3) on the troops screen, with
    /// `selected` as the menu manager's selected creature, and the squad pop-up over it.
    KVPopUpSquadScreenView* openOverTroops(const char* selected) {
        const std::map<std::string, int> team = {{"steev", 1}, {"vahine", 2}, {"kiwa", 3}};
        for (const char* name : {"steev", "vahine", "kiwa", "clint", "sammo", "kiwa0", "kiwa2"}) {
            const auto found = team.find(name);
            profile->setKelvoSelectedStatus(name, found != team.end() ? 1 : 0);
            profile->setKelvoTurnSpeed(name, found != team.end() ? found->second : 5);
            profile->setKelvoHelmet(name, "");
        }
        profile->setKelvoHelmet("steev", "straw_hat");
        profile->setKelvoHelmet("kiwa", "straw_hat");
        menu->setSelectedKelvoName(selected != nullptr ? kvdata::newString(selected) : nullptr);
        menu->changeState(KVMenuManager::kTroopsState);
        frame();
        menu->changeState(KVMenuManager::kSquadPopUpState);
        frame();
        CCNode* overlay = director->getRunningScene()->getChildByTag(KVMenuManager::kOverlayTag);
        if (overlay == nullptr || overlay->getChildren() == nullptr) return nullptr;
        return static_cast<KVPopUpSquadScreenView*>(overlay->getChildren()->objectAtIndex(0));
    }
    bool isOpen() const {
        return director->getRunningScene()->getChildByTag(KVMenuManager::kOverlayTag) != nullptr;
    }
    /// The point of the frame at (fx, fy) of its width and height.
    static CCPoint onFrame(KVPopUpSquadScreenView* view, float fx, float fy) {
        CCNode* frameSprite = view->getChildByTag(KVPopUpItem::kFrameTag);
        const CCSize size = frameSprite->getContentSize();
        return frameSprite->convertToWorldSpace(CCPoint(fx * size.width, fy * size.height));
    }
    std::map<std::string, int> team() {
        std::map<std::string, int> members;
        for (const std::string& name : kvdata::keysOf(profile->getSelectedKelvos()))
            members[name] = profile->getKelvoTurnSpeed(name);
        return members;
    }

    KVMenuManager* menu = nullptr;
    KVPlayerParameters* profile = nullptr;
    menutest::Recorder* recorder = nullptr;

private:
    int m_wide = 0;
};

TEST_F(SquadPopUpTest, TheTeamStandsOnTheFrameInNameOrderWithTheirHelmets) {
    KVPopUpSquadScreenView* view = openOverTroops("clint");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kSquadPopUpState);
    EXPECT_EQ(menu->getPreviousState(), KVMenuManager::kTroopsState);
    EXPECT_EQ(director->getRunningScene()->getChildByTag(KVMenuManager::kOverlayTag)->getZOrder(),
              KVMenuManager::kSquadPopUpZ);
    EXPECT_EQ(view->getChildByTag(KVPopUpItem::kCancelTag), nullptr) << "no cancel button";
    CCNode* frameSprite = view->getChildByTag(KVPopUpItem::kFrameTag);
    ASSERT_NE(frameSprite, nullptr);
    const CCSize size = frameSprite->getContentSize();
    // kiwa, steev, vahine: kiwa and steev wear the straw hat.
    struct Member {
        const char* sprite;
        bool helmet;
    };
    const Member members[] = {{"kiwa", true}, {"steev", true}, {"vahine", false}};
    CCSpriteFrameCache* cache = CCSpriteFrameCache::getInstance();
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(members[k].sprite);
        auto* figure =
            static_cast<CCSprite*>(frameSprite->getChildByTag(KVPopUpSquadScreenView::kFigureTag + k));
        ASSERT_NE(figure, nullptr);
        EXPECT_FLOAT_EQ(figure->getPosition().x, (k + 1) * 0.2f * size.width);
        EXPECT_FLOAT_EQ(figure->getPosition().y, size.height / 2);
        const std::string first = std::string(members[k].sprite) + "_idle_01.png";
        EXPECT_TRUE(figure->isFrameDisplayed(cache->findSpriteFrameByName(first.c_str())));
        CCNode* helmet = frameSprite->getChildByTag(KVPopUpSquadScreenView::kHelmetTag + k);
        EXPECT_EQ(helmet != nullptr, members[k].helmet);
        if (helmet != nullptr) {
            EXPECT_FLOAT_EQ(helmet->getPosition().x, figure->getPosition().x);
            EXPECT_FLOAT_EQ(helmet->getPosition().y, figure->getPosition().y);
        }
    }
    EXPECT_EQ(frameSprite->getChildByTag(KVPopUpSquadScreenView::kFigureTag + 3), nullptr);
    // The helmet sheet two members share is loaded and batched once: one batch per sheet.
    int batches = 0;
    for (unsigned i = 0; i < view->getChildren()->count(); ++i)
        if (static_cast<CCNode*>(view->getChildren()->objectAtIndex(i))->getZOrder() ==
            KVPopUpSquadScreenView::kBatchZ)
            ++batches;
    EXPECT_EQ(batches, 4) << "kiwa_ss, straw_hat_ss, steev_ss, vahine_ss";
    EXPECT_TRUE(view->hasSheetBatch("straw_hat_ss"));
    run(0.5f);
    screenshot("squad_popup_over_troops.png");
}

TEST_F(SquadPopUpTest, ATapOnAMemberPutsTheSelectedCreatureInItsPlace) {
    KVPopUpSquadScreenView* view = openOverTroops("clint");
    ASSERT_NE(view, nullptr);
    const CCPoint second = onFrame(view, 0.4f, 0.5f); // steev
    tap(second.x, second.y);
    frame();
    EXPECT_EQ(team(), (std::map<std::string, int>{{"clint", 1}, {"kiwa", 3}, {"vahine", 2}}))
        << "clint takes steev's place in the team and in the row";
    EXPECT_EQ(recorder->count("EVENT_BUTTON_VALIDATED"), 1);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kTroopsState);
    // Saved: what a new start of the program reads.
    profile->release();
    CCUserDefaults::getInstance()->release();
    profile = KVPlayerParameters::getInstance();
    EXPECT_EQ(profile->getKelvoSelectedStatus("clint"), 1);
    EXPECT_EQ(profile->getKelvoSelectedStatus("steev"), 0);
}

TEST_F(SquadPopUpTest, TapsOffTheMembersChangeNothingAndKeepThePopUp) {
    KVPopUpSquadScreenView* view = openOverTroops("clint");
    ASSERT_NE(view, nullptr);
    const std::map<std::string, int> before = team();
    const CCPoint points[] = {
        onFrame(view, 0.8f, 0.5f),  // where a fourth member would stand
        onFrame(view, 0.3f, 0.95f), // on the frame, between and above the members
        CCPoint(5, 5),              // outside the frame, over the troops screen
    };
    for (const CCPoint& point : points) {
        tap(point.x, point.y);
        frame();
    }
    EXPECT_EQ(team(), before);
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(recorder->count("EVENT_BUTTON_VALIDATED"), 0) << "nothing under the pop-up reacted either";
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kSquadPopUpState);
}

TEST_F(SquadPopUpTest, WithoutAFitSelectedCreatureATapClosesWithoutChange) {
    struct Case {
        const char* what;
        const char* selected;
    };
    for (const Case c :
         {Case{"none", nullptr}, Case{"unknown", "whale"}, Case{"already a member", "vahine"}}) {
        SCOPED_TRACE(c.what);
        KVPopUpSquadScreenView* view = openOverTroops(c.selected);
        ASSERT_NE(view, nullptr);
        const std::map<std::string, int> before = team();
        const CCPoint first = onFrame(view, 0.2f, 0.5f);
        tap(first.x, first.y);
        frame();
        EXPECT_EQ(team(), before);
        EXPECT_FALSE(isOpen());
        EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kTroopsState);
    }
}

} // namespace
