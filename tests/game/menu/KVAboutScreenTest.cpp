// The about screen: the staff file, each member's title and description, the carousel of staff
// bubbles (laid out by item number), the arrows and keys, and the way in and out through the menu
// manager.
#include "MenuFixture.h"

#include <string>
#include <vector>

#include "engine/base/CCArray.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/base/CCValue.h"
#include "engine/director/CCDirector.h"
#include "engine/director/CCScene.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenu.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVMenuManager.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"
#include "game/screens/KVAboutInteractivePictureItem.h"
#include "game/screens/KVAboutItem.h"
#include "game/screens/KVAboutScreenView.h"
#include "support/TestFiles.h"

using namespace kvengine;

namespace {

struct Member {
    const char* key;
    int position;
    const char* name;     // null: none
    const char* fontSize; // null: none
};

// A staff table as the screen's loader makes it.
kvdata::Dict* staffTable(const std::vector<Member>& members) {
    kvdata::Dict* staff = kvdata::newDict();
    for (const Member& member : members) {
        kvdata::Dict* entry = kvdata::newDict();
        kvdata::setInt(entry, "item_number", member.position);
        if (member.name != nullptr) kvdata::setText(entry, "name", member.name);
        if (member.fontSize != nullptr) kvdata::setText(entry, "fontSize", member.fontSize);
        staff->setObject(entry, member.key);
    }
    return staff;
}

std::vector<Member> fiveMembers() {
    return {{"Ann", 0, "Ann", nullptr},
            {"Bob", 1, "Bob", nullptr},
            {"Cleo", 2, "Cleo", nullptr},
            {"Dan", 3, "Dan", nullptr},
            {"Eve", 4, "Eve", nullptr}};
}

std::string shownText(CCNode* node) {
    auto* label = static_cast<CCLabelTTF*>(node);
    if (const char16_t* wide = label->getWideString()) {
        std::string narrow;
        for (const char16_t* c = wide; *c != 0; ++c)
            narrow += static_cast<char>(*c);
        return narrow;
    }
    return label->getString();
}

class AboutScreenTest : public menutest::MenuFixture {
protected:
    /// Runs a new scene holding the view of `staff`; the view, after its first frame.
    KVAboutScreenView* openAbout(kvdata::Dict* staff) {
        auto* view = new KVAboutScreenView(staff);
        view->autorelease();
        CCScene* scene = CCScene::create();
        scene->addChildAtZWithTag(view, 0, view->getTag());
        director->replaceScene(scene);
        frame();
        return view;
    }
    void pressKey(const char* name) {
        auto* key = new CCString(name);
        CCNotificationCenter::getInstance()->postNotification(ccEventKeyPress(), key);
        key->release();
    }
    static std::string nameShown(KVAboutScreenView* view) {
        return shownText(view->getStaffDisplay()->getChildByTag(KVAboutInteractivePictureItem::kNameTag));
    }
    static CCNode* arrowItem(CCMenu* arrow) {
        return static_cast<CCNode*>(arrow->getChildren()->objectAtIndex(0));
    }
};

TEST_F(AboutScreenTest, TheStaffFileBecomesATableByKeyAndBadFilesAreReported) {
    const std::string folder = kvtest::makeTempFolder("about");
    const std::string good = folder + "/staffList.plist";
    ASSERT_TRUE(kvtest::writeTextFile(good, R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>Lead Artist</key><dict><key>position</key><string>1</string><key>name</key><string>Lead Artist</string><key>fontSize</key><string>16</string></dict>
<key>Coder</key><dict><key>position</key><string>0</string><key>name</key><string>Kim Coder</string></dict>
</dict></plist>)"));
    kvdata::Dict* staff = KVAboutScreenView::loadStaffListFromFile(good);
    ASSERT_EQ(kvdata::countOf(staff), 2u);
    const struct {
        const char* key;
        int number;
        const char* name;
        const char* fontSize; // "" when none
    } expected[] = {{"Lead Artist", 1, "Lead Artist", "16"}, {"Coder", 0, "Kim Coder", ""}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.key);
        kvdata::Dict* entry = kvdata::dictAt(staff, e.key);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(kvdata::textAt(entry, "item_number"), std::to_string(e.number));
        EXPECT_EQ(kvdata::textAt(entry, "name"), e.name);
        EXPECT_EQ(kvdata::textAt(entry, "fontSize"), e.fontSize);
        EXPECT_EQ(kvdata::hasKey(entry, "fontSize"), e.fontSize[0] != 0);
    }

    // Files that would leave the row with holes or nobody: an empty (or partial) table and a line
    // in the log that names the fault.
    const struct {
        const char* what;
        const char* text; // null: no file
        unsigned members;
        const char* logged;
    } bad[] = {
        {"missing", nullptr, 0, "missing or unreadable"},
        {"not a property list", "this is not a staff list", 0, "missing or unreadable"},
        {"nobody", "<plist version=\"1.0\"><dict></dict></plist>", 0, "has nobody"},
        {"gap",
         "<plist version=\"1.0\"><dict><key>A</key><dict><key>position</key><string>0</string></dict>"
         "<key>C</key><dict><key>position</key><string>2</string></dict></dict></plist>",
         2, "\"C\" has the position 2 where 1 was due"},
        {"repeat",
         "<plist version=\"1.0\"><dict><key>A</key><dict><key>position</key><string>0</string></dict>"
         "<key>B</key><dict><key>position</key><string>0</string></dict></dict></plist>",
         2, "\"B\" repeats the position 0 of \"A\""},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.what);
        const std::string path = folder + "/" + c.what + ".plist";
        if (c.text != nullptr) {
            ASSERT_TRUE(kvtest::writeTextFile(path, c.text));
        }
        kvtest::LogLines log;
        kvdata::Dict* table = KVAboutScreenView::loadStaffListFromFile(path);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(kvdata::countOf(table), c.members);
        EXPECT_TRUE(log.contains(c.logged)) << (log.lines.empty() ? "" : log.lines.front());
    }
}

TEST_F(AboutScreenTest, EachMemberShowsItsTitleAndItsDescriptionInABoxOfFourLines) {
    KVAboutInteractivePictureItem* display = KVAboutInteractivePictureItem::createWithStaff(staffTable({
        {"Mara Quillon", 0, "Mara Quillon", nullptr},  // description by key, name as title
        {"Credits Fonts", 1, "DejaVu Fonts", nullptr}, // a localised title of its own
        {"Nobody Here", 2, "M01a", "16"},              // a localised name, no description, size 16
        {"Plain Key", 3, "Just a name", nullptr},      // plain name, back to size 20
        {"Nameless", 4, nullptr, "nonsense"},          // nothing to show; a bad size is refused
    }));
    ASSERT_NE(display, nullptr);
    director->getRunningScene()->addChild(display);
    const struct {
        int number;
        const char* title;
        const char* description;
        float size;
    } cases[] = {
        {0, "Mara Quillon", "Code: the engine, the physics and every screen of the reef.", 20},
        {1, "DejaVu fonts",
         "The DejaVu fonts, made by the DejaVu project from the Bitstream Vera fonts, under their free "
         "licence.",
         20},
        {2, "First Dive", "", 16},
        {3, "Just a name", "", 20},
        {4, "", "", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        kvtest::LogLines log;
        auto* number = new CCValue<int>(c.number);
        display->showStaffMember(nullptr, number);
        number->release();
        CCNode* name = display->getChildByTag(KVAboutInteractivePictureItem::kNameTag);
        auto* description =
            static_cast<CCLabelTTF*>(display->getChildByTag(KVAboutInteractivePictureItem::kDescriptionTag));
        ASSERT_NE(description, nullptr);
        EXPECT_EQ(shownText(name), c.title);
        EXPECT_EQ(shownText(description), c.description);
        CCLabelTTF* line = CCLabelTTF::createWithString("a", PRODUCT_FONT_NAME, c.size);
        EXPECT_FLOAT_EQ(description->getFontSize(), line->getFontSize());
        const float scale = director->getContentScaleFactor();
        EXPECT_NEAR(description->getDimensions().height / scale, 4 * line->getContentSize().height, 0.5f);
        EXPECT_FLOAT_EQ(description->getDimensions().width / scale, 0.9f * kWidth);
        // Hung from the bottom of the name.
        EXPECT_FLOAT_EQ(description->getAnchorPoint().y, 1.0f);
        EXPECT_FLOAT_EQ(description->getPosition().y,
                        name->getPosition().y - name->getContentSize().height / 2);
        EXPECT_EQ(log.contains("font size \"nonsense\""), c.number == 4);
    }
    EXPECT_EQ(KVAboutInteractivePictureItem::descriptionKey("Lead Artist"), "about_screen_lead_artist");
    EXPECT_EQ(display->findMemberKey(7), nullptr);
    display->removeFromParent(true);
}

TEST_F(AboutScreenTest, TheCarouselLaysOutStaffBubblesByItemNumber) {
    KVAboutScreenView* view = openAbout(staffTable(fiveMembers()));
    ASSERT_NE(view->getStaffDisplay(), nullptr);
    KVScrollScalableItem* carousel = view->getStaffDisplay()->getCarousel();
    ASSERT_NE(carousel, nullptr);
    EXPECT_EQ(carousel->getMode(), KVScrollScalableItem::kAboutEntries);
    EXPECT_EQ(carousel->getCount(), 6) << "five bubbles and the empty end";
    EXPECT_FLOAT_EQ(carousel->getPitch(), KVAboutScreenView::kArrowStep) << "the arrows step one bubble";
    EXPECT_EQ(carousel->getCurrentIndex(), 0);
    EXPECT_EQ(nameShown(view), "Ann") << "the first member is shown at once";
    const char* keys[] = {"Ann", "Bob", "Cleo", "Dan", "Eve"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        auto* bubble = dynamic_cast<KVAboutItem*>(carousel->entryAt(i));
        ASSERT_NE(bubble, nullptr);
        EXPECT_EQ(bubble->index, i);
        EXPECT_STREQ(carousel->keyAtPosition(i)->c_str(), keys[i]);
        // Only the current bubble and those beyond its neighbours are left enabled.
        EXPECT_EQ(bubble->isEnabled(), i != 1);
        // Full size at the centre, smaller with the distance.
        if (i > 0) {
            EXPECT_LE(bubble->getScale(), carousel->entryAt(i - 1)->getScale());
        }
    }
    EXPECT_FLOAT_EQ(carousel->entryAt(0)->getScale(), 1.0f);
    EXPECT_LT(carousel->entryAt(1)->getScale(), 1.0f);
    // No member has a picture of its own: the default bubble.
    CCSpriteFrame* fallback =
        CCSpriteFrameCache::getInstance()->findSpriteFrameByName("KV_bubbleAboutDefault.png");
    ASSERT_NE(fallback, nullptr);
    auto* image =
        static_cast<CCSprite*>(static_cast<CCMenuItemSprite*>(carousel->entryAt(0))->getNormalImage());
    EXPECT_TRUE(image->isFrameDisplayed(fallback));

    // Item numbers with a gap: the members after it keep their numbers as tags, and moving past the
    // empty place touches no missing neighbour.
    view = openAbout(staffTable({{"Ann", 0, "Ann", nullptr}, {"Cleo", 2, "Cleo", nullptr}}));
    carousel = view->getStaffDisplay()->getCarousel();
    EXPECT_EQ(carousel->entryAt(1), nullptr);
    ASSERT_NE(carousel->entryAt(2), nullptr);
    for (int step = 0; step <= 2; ++step) {
        auto* offset = new CCValue<float>(step * carousel->getPitch());
        carousel->onScrollOffsetChanged(nullptr, offset);
        offset->release();
    }
    EXPECT_EQ(carousel->getCurrentIndex(), 1) << "the last place is the empty end";
    EXPECT_EQ(nameShown(view), "") << "nobody has item number 1";
}

TEST_F(AboutScreenTest, ArrowsAndKeysStepOneMemberAtATime) {
    KVAboutScreenView* view = openAbout(staffTable(fiveMembers()));
    KVScrollScalableItem* carousel = view->getStaffDisplay()->getCarousel();
    CCMenu* left = view->getLeftArrow();
    CCMenu* right = view->getRightArrow();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(view->getLastMemberIndex(), 4);
    EXPECT_FALSE(left->isVisible());
    EXPECT_TRUE(right->isVisible());

    pressKey("TOUCH_RIGHT");
    EXPECT_EQ(view->getCurrentMember(), 1);
    pressKey("TOUCH_RIGHT"); // the row still glides: ignored
    EXPECT_EQ(view->getCurrentMember(), 1);
    EXPECT_TRUE(left->isVisible()) << "shown from the first press on";
    run(0.4f);
    EXPECT_EQ(carousel->getCurrentIndex(), 1);
    EXPECT_EQ(nameShown(view), "Bob");
    // The right arrow itself, then the key again.
    const CCPoint at = centreOf(arrowItem(right));
    for (int member = 2; member <= 4; ++member) {
        if (member == 3)
            pressKey("TOUCH_RIGHT");
        else
            tap(at.x, at.y);
        run(0.4f);
        EXPECT_EQ(view->getCurrentMember(), member);
        EXPECT_EQ(carousel->getCurrentIndex(), member);
    }
    EXPECT_EQ(nameShown(view), "Eve");
    EXPECT_FALSE(right->isVisible());
    pressKey("TOUCH_RIGHT"); // nothing further
    for (const char* other : {"TOUCH_UP", "TOUCH_DOWN", "TOUCH_SPACE"})
        pressKey(other);
    run(0.4f);
    EXPECT_EQ(view->getCurrentMember(), 4);
    EXPECT_EQ(carousel->getCurrentIndex(), 4);
    const CCPoint back = centreOf(arrowItem(left));
    tap(back.x, back.y);
    run(0.4f);
    EXPECT_EQ(view->getCurrentMember(), 3);
    EXPECT_EQ(nameShown(view), "Dan");
    EXPECT_TRUE(right->isVisible());

    // One member: neither press moves anything; the right arrow stays.
    view = openAbout(staffTable({{"Solo", 0, "Solo", nullptr}}));
    carousel = view->getStaffDisplay()->getCarousel();
    const float offset = carousel->getScrollView()->getContentOffset().x;
    pressKey("TOUCH_RIGHT");
    pressKey("TOUCH_LEFT");
    run(0.4f);
    EXPECT_EQ(view->getCurrentMember(), 0);
    EXPECT_FLOAT_EQ(carousel->getScrollView()->getContentOffset().x, offset);
    EXPECT_TRUE(view->getRightArrow()->isVisible());
    EXPECT_FALSE(view->getLeftArrow()->isVisible());

    // Nobody: the background and Back only, said in the log; the keys do nothing.
    kvtest::LogLines log;
    view = openAbout(nullptr);
    EXPECT_TRUE(log.contains("no staff to show"));
    EXPECT_EQ(view->getStaffDisplay(), nullptr);
    EXPECT_EQ(view->getLastMemberIndex(), -1);
    EXPECT_FALSE(view->getLeftArrow()->isVisible());
    EXPECT_FALSE(view->getRightArrow()->isVisible());
    EXPECT_NE(view->getChildByTag(KVAboutScreenView::kBackTag), nullptr);
    pressKey("TOUCH_RIGHT");
    pressKey("TOUCH_LEFT");
    EXPECT_EQ(view->getCurrentMember(), 0);
}

TEST_F(AboutScreenTest, CreditsOpensTheStaffOfTheGameAndBackReturnsToTheMainMenu) {
    KVMenuManager* menu = KVMenuManager::getInstance();
    menu->changeState(KVMenuManager::kAboutState);
    frame();
    KVAboutScreenView* view = nullptr;
    CCScene* scene = director->getRunningScene();
    for (unsigned i = 0; scene != nullptr && i < scene->getChildren()->count(); ++i) {
        auto* child = static_cast<CCNode*>(scene->getChildren()->objectAtIndex(i));
        if (child->isKindOf("KVAboutScreenView")) view = static_cast<KVAboutScreenView*>(child);
    }
    ASSERT_NE(view, nullptr);
    EXPECT_GE(view->getLastMemberIndex(), 4) << "the game's own staff list";
    EXPECT_EQ(nameShown(view), "Mara Quillon");
    screenshot("about_first.png");
    CCNode* back = view->getChildByTag(KVAboutScreenView::kBackTag);
    ASSERT_NE(back, nullptr);
    const CCPoint at = centreOf(back);
    tap(at.x, at.y);
    EXPECT_EQ(menu->getCurrentState(), KVMenuManager::kMainMenuState);
    EXPECT_EQ(menu->getSlot(KVMenuManager::kAboutSlot), nullptr);
}

} // namespace
