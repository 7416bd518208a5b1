// The item pop-up of menu state 24 over a running scene: its texts and buttons by kind, where it
// lies, what a tap on each button posts and does, and that it keeps every other touch.
#include "game/menu/KVPopUpItemScreenView.h"

#include "MenuFixture.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCLayer.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVGameSetup.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVStateMenu.h"

using namespace kvengine;

namespace {

/// A layer that wants every touch it is offered, as a dialogue box or a screen under the pop-up.
class TouchCounter : public CCLayer {
public:
    explicit TouchCounter(int priority) : m_priority(priority) {
        init();
        setTouchEnabled(true);
        autorelease();
    }
    void registerWithTouchDispatcher() override {
        m_registered = true;
        CCTouchDispatcher::getInstance()->addTargetedDelegate(this, m_priority, true);
    }
    bool touchBegan(CCTouch*, CCEvent*) override {
        ++touches;
        return true;
    }
    int touches = 0;

private:
    int m_priority;
};

class PopUpTest : public menutest::MenuFixture {
protected:
    void setUpWithGL() override {
        MenuFixture::setUpWithGL();
        if (IsSkipped() || HasFatalFailure()) return;
        recorder = new menutest::Recorder();
        recorder->observe(EVENT_POP_UP_CLOSED);
        recorder->observe(EVENT_POP_UP_CANCELLED);
        menu = KVMenuManager::getInstance();
    }
    void tearDownWithGL() override {
        if (recorder != nullptr) recorder->release();
        recorder = nullptr;
        MenuFixture::tearDownWithGL();
    }

    /// Opens the pop-up of `kind` (with `text` as its subject) over the base scene.
    KVPopUpItemScreenView* open(int kind, const char* text = nullptr) {
        menu->popUpKind = kind;
        if (text != nullptr) {
            auto* subject = new CCString(text);
            menu->setPopUpText(subject);
            subject->release();
        }
        menu->changeState(KVMenuManager::kItemPopUpState);
        frame();
        CCScene* scene = menu->getPopUpScene();
        if (scene == nullptr || scene->getChildren() == nullptr) return nullptr;
        return static_cast<KVPopUpItemScreenView*>(scene->getChildren()->objectAtIndex(0));
    }
    static std::string textOf(CCNode* node) {
        KVLabelWithShadow* label = static_cast<KVLabelWithShadow*>(node);
        return label != nullptr ? label->getString() : "<none>";
    }
    static std::string captionOf(CCNode* button) {
        const char* caption = button != nullptr ? static_cast<KVButton*>(button)->getLabelString() : nullptr;
        return caption != nullptr ? caption : "<none>";
    }

    menutest::Recorder* recorder = nullptr;
    KVMenuManager* menu = nullptr;
};

TEST_F(PopUpTest, EachKindShowsItsTextsAndButtons) {
    struct Case {
        int kind;
        const char* subject;
        const char* ok;
        const char* message;
        bool cancel;
        int z;
    };
    menu->setSelectedKelvoName(kvdata::newString("steev"));
    const std::string brainwash =
        "Let the medusa wipe Steev's training? You get " +
        std::to_string(KVPlayerParameters::getInstance()->getTotalLevelUpCost("steev")) + " pearls back.";
    const Case cases[] = {
        {1, nullptr, "OK", "You need more pearls. Play missions again to earn some!", false, 1200},
        {2, nullptr, "OK", brainwash.c_str(), true, 1200},
        {3, nullptr, "OK", "Your bag is full: you already carry as many of these as you can.", false, 1200},
        {5, "cocktail", "OK", "You bought a reef cocktail.", false, 1200},
        {5, "clint", "OK", "Clint joins your team!", false, 1200},
        {5, "brainwash_medusa", "OK", "A brainwash medusa floats into your bag.", false, 1200},
        {5, "whale", "OK", "Item bought!", false, 1200},
        {6, "cocktail", "OK", "You found a reef cocktail!", false, 1200},
        {7, "cocktail", "Oh well", "Item Locked!", false, 1200},
        {7, "sammo", "Oh well", "Sammo is not ready to join you yet.", false, 1200},
        {8, "Pop Up Cancel", "OK", "Cancel", false, 1200},
        {8, "A text of its own", "OK", "A text of its own", false, 1200},
        {9, nullptr, "Quit", "Leave this mission and swim back to the map? What you did in it is lost.", true,
         1200},
        {15, "3", "OK", "Switch the game to Deutsch?", true, 1200},
        {15, "9", "OK", "Switch the game to ?", true, 1200},
        {16, nullptr, "OK", "Leave the reef and quit Kelvos?", true, 3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        KVPopUpItemScreenView* view = open(c.kind, c.subject);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->getKind(), c.kind);
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), menu->getPopUpScene());
        EXPECT_EQ(menu->getPopUpScene()->getZOrder(), c.z);
        ASSERT_NE(view->getChildByTag(KVPopUpItemScreenView::kFrameTag), nullptr)
            << "the frame is in the sheets";
        CCNode* ok = view->getChildByTag(KVPopUpItemScreenView::kOkTag);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(captionOf(ok), c.ok);
        EXPECT_EQ(textOf(view->getChildByTag(KVPopUpItemScreenView::kMessageTag)), c.message);
        CCNode* cancel = view->getChildByTag(KVPopUpItemScreenView::kCancelTag);
        EXPECT_EQ(cancel != nullptr, c.cancel);
        const CCSize frame = view->getChildByTag(KVPopUpItemScreenView::kFrameTag)->getContentSize();
        const float buttonY = kHeight / 2.0f - frame.height / 2 + ok->getContentSize().height;
        EXPECT_FLOAT_EQ(ok->getPosition().y, buttonY);
        if (cancel != nullptr) {
            EXPECT_EQ(captionOf(cancel), "Cancel");
            EXPECT_FLOAT_EQ(cancel->getPosition().x, kWidth / 2.0f - cancel->getContentSize().width / 1.5f);
            EXPECT_FLOAT_EQ(ok->getPosition().x, kWidth / 2.0f + ok->getContentSize().width / 1.5f);
        } else {
            EXPECT_FLOAT_EQ(ok->getPosition().x, kWidth / 2.0f);
        }
        menu->changeState(KVMenuManager::kCloseOverlayState);
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), nullptr);
        menu->popUpKind = 0;
    }
}

TEST_F(PopUpTest, OkAndCancelPostOnceEachAndCloseThePopUp) {
    menu->getStateRecord()->setCurrentId(4); // a screen under the pop-up (its scene is the base)
    for (const bool pressOk : {true, false}) {
        SCOPED_TRACE(pressOk ? "OK" : "cancel");
        recorder->names.clear();
        KVPopUpItemScreenView* view = open(9);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(menu->getCurrentState(), 24);
        EXPECT_EQ(menu->getPreviousState(), 4);
        const CCPoint button = centreOf(
            view->getChildByTag(pressOk ? KVPopUpItemScreenView::kOkTag : KVPopUpItemScreenView::kCancelTag));
        tap(button.x, button.y);
        EXPECT_EQ(recorder->count("EVENT_POP_UP_CLOSED"), pressOk ? 1 : 0);
        EXPECT_EQ(recorder->count("EVENT_POP_UP_CANCELLED"), pressOk ? 0 : 1);
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), nullptr) << "state 19 took it away";
        EXPECT_EQ(menu->getPopUpScene(), nullptr);
        EXPECT_EQ(menu->getCurrentState(), 4) << "the screen under it is back";
        EXPECT_EQ(menu->getPreviousState(), 24);
        // Nothing left to tap: a second tap at the same place posts nothing more.
        tap(button.x, button.y);
        run(0.6f);
        EXPECT_EQ(recorder->names.size(), 1u);
    }
}

TEST_F(PopUpTest, ThePopUpKeepsEveryTouchOutsideItsButtons) {
    TouchCounter* below = new TouchCounter(CCMenu::kDefaultTouchPriority);
    base->addChildAtZ(below, 10);
    frame();
    tap(20, 20);
    EXPECT_EQ(below->touches, 1) << "reachable before the pop-up opens";

    KVPopUpItemScreenView* view = open(8, "Pop Up Ok");
    ASSERT_NE(view, nullptr);
    for (const CCPoint& point :
         {CCPoint(20, 20), CCPoint(kWidth / 2.0f, kHeight / 2.0f), CCPoint(kWidth - 5.0f, 5)})
        tap(point.x, point.y);
    EXPECT_EQ(below->touches, 1) << "swallowed by the pop-up";
    EXPECT_TRUE(recorder->names.empty());
    const CCPoint ok = centreOf(view->getChildByTag(KVPopUpItemScreenView::kOkTag));
    tap(ok.x, ok.y);
    EXPECT_EQ(recorder->count("EVENT_POP_UP_CLOSED"), 1);
    frame();
    tap(20, 20);
    EXPECT_EQ(below->touches, 2) << "the screen under it reacts again";
}

TEST_F(PopUpTest, TheQuitConfirmationLiesOverADialogueAndStillTakesItsTaps) {
    // A dialogue box at z 2000 that claims every touch before the menus do.
    TouchCounter* dialogue = new TouchCounter(-999);
    base->addChildAtZ(dialogue, 2000);
    frame();
    CCTouchDispatcher::getInstance()->setRecognizersSuspended(true); // as the Escape key leaves it
    KVPopUpItemScreenView* view = open(16);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(menu->getPopUpScene()->getZOrder(), 3000);
    for (int tag : {KVPopUpItemScreenView::kOkTag, KVPopUpItemScreenView::kCancelTag})
        EXPECT_EQ(static_cast<KVButton*>(view->getChildByTag(tag))->getButtonTouchPriority(), -1000);
    screenshot("quit_confirmation_over_dialogue.png");

    const CCPoint cancel = centreOf(view->getChildByTag(KVPopUpItemScreenView::kCancelTag));
    tap(cancel.x, cancel.y);
    EXPECT_EQ(dialogue->touches, 0);
    EXPECT_EQ(recorder->count("EVENT_POP_UP_CANCELLED"), 1);
    EXPECT_EQ(menu->popUpKind, 0);
    EXPECT_FALSE(CCTouchDispatcher::getInstance()->isRecognizersSuspended())
        << "the screens' gestures are back";
    EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), nullptr);
    EXPECT_FALSE(director->isPurgeRequested());

    view = open(16);
    ASSERT_NE(view, nullptr);
    const CCPoint ok = centreOf(view->getChildByTag(KVPopUpItemScreenView::kOkTag));
    tap(ok.x, ok.y);
    EXPECT_EQ(dialogue->touches, 0);
    EXPECT_TRUE(director->isPurgeRequested()) << "the program ends";
    EXPECT_EQ(menu->popUpKind, 0);
    EXPECT_EQ(recorder->count("EVENT_POP_UP_CLOSED"), 0) << "quitting is not a closed pop-up";
}

TEST_F(PopUpTest, ThePopUpIsDrawnOverTheRunningScene) {
    const kvtest::RGBA before = gl.pixel(10, 10);
    KVPopUpItemScreenView* view = open(16);
    ASSERT_NE(view, nullptr);
    frame();
    screenshot("quit_confirmation.png");
    const kvtest::RGBA corner = gl.pixel(10, 10);
    EXPECT_LT(corner.g, before.g) << "the screen is dimmed";
    EXPECT_GT(corner.g, 0) << "but still seen";
    // Inside the frame, above the message: the frame's deep blue.
    const kvtest::RGBA inside = gl.pixel(kWidth / 2, kHeight / 2 + 115);
    EXPECT_GT(inside.b, inside.r + 40);
    // The button's caption is drawn: white pixels around the OK button's centre.
    const CCPoint ok = centreOf(view->getChildByTag(KVPopUpItemScreenView::kOkTag));
    int white = 0;
    for (int y = -8; y <= 8; ++y)
        for (int x = -30; x <= 30; ++x) {
            const kvtest::RGBA p = gl.pixel(static_cast<int>(ok.x) + x, static_cast<int>(ok.y) + y);
            if (p.r > 220 && p.g > 220 && p.b > 220) ++white;
        }
    EXPECT_GT(white, 10);
}

TEST_F(PopUpTest, ClosingWithNothingOpenRemovesNothing) {
    CCNode* other = CCNode::create();
    base->addChildAtZWithTag(other, 5, 2);
    menu->changeState(KVMenuManager::kCloseOverlayState);
    EXPECT_EQ(base->getChildByTag(2), other);
    EXPECT_EQ(menu->getPopUpScene(), nullptr);
}

} // namespace

namespace {

class PopUpKindsTest : public PopUpTest {};

TEST_F(PopUpKindsTest, AnUnlockedCreatureShowsItsPortraitAboveTheMessage) {
    KVPopUpItemScreenView* view = open(6, "clint");
    ASSERT_NE(view, nullptr);
    CCNode* portrait = view->getChildByTag(KVPopUpItemScreenView::kPortraitTag);
    ASSERT_NE(portrait, nullptr) << "the portrait frame is in the dialogue sheet";
    EXPECT_EQ(textOf(view->getChildByTag(KVPopUpItemScreenView::kMessageTag)),
              "Clint can now join your team!");
    const CCSize frameSize = view->getChildByTag(KVPopUpItemScreenView::kFrameTag)->getContentSize();
    CCNode* ok = view->getChildByTag(KVPopUpItemScreenView::kOkTag);
    const float bottom = kHeight / 2.0f - frameSize.height / 2;
    const float okHeight = ok->getContentSize().height;
    const CCSize face = portrait->getContentSize();
    EXPECT_FLOAT_EQ(ok->getPosition().y, bottom + okHeight);
    EXPECT_FLOAT_EQ(portrait->getPosition().x, kWidth / 2.0f);
    EXPECT_FLOAT_EQ(portrait->getPosition().y, bottom + 2 * okHeight + face.height / 3.5f);
    EXPECT_FLOAT_EQ(view->getChildByTag(KVPopUpItemScreenView::kMessageTag)->getPosition().y,
                    kHeight / 2.0f + okHeight / 2 + face.height / 1.65f);
    frame();
    screenshot("item_popup_creature_unlocked.png");
    menu->changeState(KVMenuManager::kCloseOverlayState);
    // Anything else unlocked shows no portrait.
    view = open(6, "cocktail");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getChildByTag(KVPopUpItemScreenView::kPortraitTag), nullptr);
}

TEST_F(PopUpKindsTest, OkDoesWhatTheKindSays) {
    recorder->observe(EVENT_BRAIN_WASH_TRIGGERED);
    menu->setSelectedKelvoName(kvdata::newString("kiwa"));
    KVGameSetup* setup = KVGameSetup::getInstance();
    struct Case {
        int kind;
        const char* subject;
        bool languageChoice;
        std::vector<std::string> posts;
        int stateAfter; // the record's current state after OK
    };
    const Case cases[] = {
        {1, nullptr, false, {"EVENT_POP_UP_CLOSED"}, 4},
        {2, nullptr, false, {"EVENT_BRAIN_WASH_TRIGGERED"}, 4},
        {3, nullptr, false, {"EVENT_POP_UP_CLOSED"}, 4},
        {5, "cocktail", false, {"EVENT_POP_UP_CLOSED"}, 4},
        // The language changes only when the options screen asked for it; the options screen is
        // built again in either case.
        {15, "1", false, {}, 4},
        {15, "1", true, {}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        recorder->names.clear();
        menu->getStateRecord()->setCurrentId(4);
        setup->languageChoicePending = c.languageChoice;
        KVPopUpItemScreenView* view = open(c.kind, c.subject);
        ASSERT_NE(view, nullptr);
        const CCPoint ok = centreOf(view->getChildByTag(KVPopUpItemScreenView::kOkTag));
        tap(ok.x, ok.y);
        EXPECT_EQ(recorder->names, c.posts);
        EXPECT_EQ(menu->getCurrentState(), c.stateAfter);
        if (c.kind == 15) {
            // The options screen replaced the scene the pop-up lay over.
            EXPECT_EQ(setup->getLanguageIndex(), c.languageChoice ? 1 : 0);
            CCString* cancel = getLocalizedString("Pop Up Cancel");
            EXPECT_EQ(cancel != nullptr ? std::string(cancel->c_str()) : "",
                      c.languageChoice ? "Annuler" : "Cancel");
            setup->setLanguage(0);
            frame(); // the options screen runs from here on
            continue;
        }
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), nullptr);
    }
}

} // namespace

#include "engine/base/CCUserDefaults.h"
#include "engine/input/CCPanGestureRecognizer.h"

namespace {

class PanCounter : public CCObject {
public:
    void onPan(CCGestureRecognizer* recognizer, CCNode*) {
        if (recognizer->getState() == kCCGestureRecognizerStateBegan) ++began;
    }
    int began = 0;
};

TEST_F(PopUpKindsTest, CancellingTheQuitConfirmationGivesTheScreenItsPansBack) {
    // A screen under the pop-up that pans, as the world map does.
    CCLayer* screen = CCLayer::create();
    auto* pan = new CCPanGestureRecognizer();
    auto* counter = new PanCounter();
    pan->setCallback(counter, gesture_selector(PanCounter::onPan));
    screen->addGestureRecognizer(pan);
    screen->setTouchEnabled(true);
    base->addChildAtZ(screen, 5);
    frame();
    auto drag = [this](float y) {
        press(100, y);
        frame();
        move(140, y);
        frame();
        lift(140, y);
        frame();
    };
    drag(100);
    ASSERT_EQ(counter->began, 1) << "the screen pans before Escape";

    KVGameSetup::getInstance()->showQuitConfirmation(); // as the Escape key does
    frame();
    KVPopUpItemScreenView* view =
        static_cast<KVPopUpItemScreenView*>(menu->getPopUpScene()->getChildren()->objectAtIndex(0));
    drag(100);
    EXPECT_EQ(counter->began, 1) << "no pan while the question is asked";
    const CCPoint cancel = centreOf(view->getChildByTag(KVPopUpItemScreenView::kCancelTag));
    tap(cancel.x, cancel.y);
    frame();
    drag(100);
    EXPECT_EQ(counter->began, 2) << "the screen pans again";
    screen->removeGestureRecognizer(pan);
    pan->release();
    counter->release();
}

TEST_F(PopUpKindsTest, QuittingSavesWhatTheProfileHoldsInMemory) {
    KVPlayerParameters* profile = KVPlayerParameters::getInstance();
    const int speed = profile->getKelvoTurnSpeed("steev") == 3 ? 2 : 3;
    profile->setKelvoTurnSpeed("steev", speed); // a team change, kept in memory only
    KVPopUpItemScreenView* view = open(16);
    ASSERT_NE(view, nullptr);
    const CCPoint ok = centreOf(view->getChildByTag(KVPopUpItemScreenView::kOkTag));
    tap(ok.x, ok.y);
    EXPECT_TRUE(director->isPurgeRequested());
    // What a new start of the program reads from the file.
    KVPlayerParameters::getInstance()->release();
    CCUserDefaults::getInstance()->release();
    EXPECT_EQ(KVPlayerParameters::getInstance()->getKelvoTurnSpeed("steev"), speed);
}

} // namespace

#include "game/menu/KVPopUpItem.h"

namespace {

TEST_F(PopUpKindsTest, TheFrameOfEachKindAndItsCancelButtonClosingThePopUp) {
    struct Case {
        int kind;
        bool cancel;
    };
    for (const Case c : {Case{1, true}, Case{2, true}, Case{3, false}, Case{4, true}, Case{7, true}}) {
        SCOPED_TRACE(c.kind);
        CCScene* overlay = CCScene::create();
        auto* item = new KVPopUpItem();
        item->initWithKind(c.kind);
        item->setTouchEnabled(true);
        overlay->addChildAtZ(item, 0);
        item->release();
        base->addChildAtZWithTag(overlay, 1, KVMenuManager::kOverlayTag);
        frame();
        ASSERT_NE(item->getChildByTag(KVPopUpItem::kFrameTag), nullptr) << "the frame is in the sheet";
        EXPECT_NE(item->getChildByTag(KVPopUpItem::kDimmerTag), nullptr);
        CCNode* cancel = item->getChildByTag(KVPopUpItem::kCancelTag);
        EXPECT_EQ(cancel != nullptr, c.cancel);
        if (cancel == nullptr) {
            // Kind 3 keeps every touch and closes only by its own choice.
            tap(20, 20);
            EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), overlay);
            base->removeChildByTag(KVMenuManager::kOverlayTag, true);
            continue;
        }
        if (c.kind == 4) {
            frame();
            screenshot("popup_frame_squad_kind4.png");
        }
        const CCPoint at = centreOf(cancel);
        tap(at.x, at.y);
        EXPECT_EQ(base->getChildByTag(KVMenuManager::kOverlayTag), nullptr) << "cancel closes the pop-up";
    }
}

} // namespace
