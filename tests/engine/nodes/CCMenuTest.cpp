#include "engine/nodes/CCMenu.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCSet.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/nodes/CCMenuItemFont.h"
#include "engine/nodes/CCMenuItemLabel.h"
#include "engine/nodes/CCMenuItemSprite.h"
#include "engine/nodes/CCMenuItemToggle.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureCache.h"
#include "engine/textures/CCTexturePixels.h"

#include "support/GLFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvengine;

namespace {

constexpr float kWinWidth = 800, kWinHeight = 600;

// Records the events its items receive, by tag.
class Recorder : public CCObject {
public:
    void hit(CCObject* item) {
        events.push_back("activate " + std::to_string(static_cast<CCNode*>(item)->getTag()));
    }
    std::vector<std::string> events;
};

// A plain item that also records selection changes.
class TraceItem : public CCMenuItem {
public:
    TraceItem(Recorder* recorder, int tag, float width, float height) : m_recorder(recorder) {
        initWithTarget(recorder, static_cast<SEL_MenuHandler>(&Recorder::hit));
        setTag(tag);
        setContentSize(CCSize(width, height));
        autorelease();
    }
    void selected() override {
        CCMenuItem::selected();
        m_recorder->events.push_back("select " + std::to_string(getTag()));
    }
    void unselected() override {
        CCMenuItem::unselected();
        m_recorder->events.push_back("unselect " + std::to_string(getTag()));
    }

private:
    Recorder* m_recorder;
};

class CCMenuTest : public kvtest::GLFixture {
protected:
    CCMenuTest() : GLFixture(64, 64) {}
    void setUpWithGL() override {
        CCDirector::getInstance()->setWinSizeInPoints(CCSize(kWinWidth, kWinHeight));
        touch = new CCTouch();
        touches = new CCSet();
        touches->addObject(touch);
    }
    void tearDownWithGL() override {
        CCTouchDispatcher::getInstance()->removeAllDelegates();
        touches->release();
        touch->release();
        recorder.events.clear();
        CCAutoreleasePoolStack::getInstance().clearAllPools();
        CCTouchDispatcher::purgeSharedDispatcher();
    }

    CCSprite* sprite(float size) {
        return CCSprite::createWithTexture(makeTexture(64, 64, size, size, {255, 255, 255, 255}));
    }

    // Touch phases at a point in GL coordinates, through the dispatcher.
    CCSet* at(float glX, float glY) {
        touch->setTouchInfo(0, glX, kWinHeight - glY);
        return touches;
    }
    void press(float x, float y) { CCTouchDispatcher::getInstance()->touchesBegan(at(x, y), nullptr); }
    void move(float x, float y) { CCTouchDispatcher::getInstance()->touchesMoved(at(x, y), nullptr); }
    void release(float x, float y) { CCTouchDispatcher::getInstance()->touchesEnded(at(x, y), nullptr); }

    Recorder recorder;
    CCTouch* touch = nullptr;
    CCSet* touches = nullptr;
};

using Events = std::vector<std::string>;

TEST_F(CCMenuTest, TapActivatesTheItemUnderItEarlierChildWinningOnOverlap) {
    const auto handler = static_cast<SEL_MenuHandler>(&Recorder::hit);
    CCMenuItemSprite* spriteItem = CCMenuItemSprite::createWithSpritesDisabledAndTarget(
        sprite(40), sprite(40), sprite(40), &recorder, handler);
    CCMenuItemLabel* labelItem = CCMenuItemLabel::createWithLabel(
        CCLabelTTF::createWithString("Label item", "Marker Felt", 20), &recorder, handler);
    auto* fontText = new CCString("Font");
    fontText->autorelease();
    CCMenuItemFont* fontItem = CCMenuItemFont::createWithStringAndTarget(fontText, &recorder, handler);
    ASSERT_TRUE(spriteItem && labelItem && fontItem);
    spriteItem->setTag(1);
    labelItem->setTag(2);
    fontItem->setTag(3);
    CCMenu* menu = CCMenu::createWithItems(spriteItem, labelItem, fontItem, nullptr);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getTouchPriority(), -128);
    // Menu origin at the window centre. The sprite item covers 380..420 x 280..320; the label item
    // starts at the sprite item's centre and reaches further right; the font item is lower down.
    const float labelWidth = labelItem->getContentSize().width;
    ASSERT_GT(labelWidth, 30);
    labelItem->setPosition(CCPoint(labelWidth / 2, 0));
    fontItem->setPosition(CCPoint(0, -150));
    menu->onEnter();

    struct Case {
        const char* what;
        float x, y;
        Events expected;
    } cases[] = {
        {"sprite item alone", 385, 300, {"activate 1"}},
        {"overlap: the earlier child", 410, 300, {"activate 1"}},
        {"label item alone", 400 + labelWidth - 2, 300, {"activate 2"}},
        {"font item", 400, 150, {"activate 3"}},
        {"nothing there", 100, 100, {}},
    };
    for (const Case& c : cases) {
        recorder.events.clear();
        press(c.x, c.y);
        EXPECT_EQ(menu->getState(), c.expected.empty() ? CCMenu::kStateWaiting : CCMenu::kStateTrackingTouch)
            << c.what;
        release(c.x, c.y);
        EXPECT_EQ(recorder.events, c.expected) << c.what;
        EXPECT_EQ(menu->getState(), CCMenu::kStateWaiting) << c.what;
    }

    // A disabled item is passed over: the overlap now goes to the label item. A disabled sprite
    // item shows its disabled image.
    spriteItem->setEnabled(false);
    EXPECT_TRUE(spriteItem->getDisabledImage()->isVisible());
    EXPECT_FALSE(spriteItem->getNormalImage()->isVisible());
    recorder.events.clear();
    press(410, 300);
    release(410, 300);
    EXPECT_EQ(recorder.events, Events{"activate 2"});
    menu->onExit();
}

TEST_F(CCMenuTest, MovesBetweenItemsSwitchTheSelection) {
    auto* a = new TraceItem(&recorder, 1, 40, 40);
    auto* b = new TraceItem(&recorder, 2, 40, 40);
    CCMenu* menu = CCMenu::createWithItems(a, b, nullptr);
    b->setPosition(CCPoint(0, 100));
    menu->onEnter();

    press(400, 300);
    move(400, 400);
    release(400, 400);
    EXPECT_EQ(recorder.events, (Events{"select 1", "unselect 1", "select 2", "unselect 2", "activate 2"}));

    recorder.events.clear();
    press(400, 300);
    move(100, 100);
    release(100, 100);
    EXPECT_EQ(recorder.events, (Events{"select 1", "unselect 1"}));
    EXPECT_EQ(menu->getState(), CCMenu::kStateWaiting);
    menu->onExit();
}

TEST_F(CCMenuTest, TrackedItemSurvivesRemovalAndLeavingTheStageResetsTheMenu) {
    auto* a = new TraceItem(&recorder, 1, 40, 40);
    CCMenu* menu = CCMenu::createWithItems(a, nullptr);
    menu->retain();
    menu->onEnter();
    press(400, 300);
    CCAutoreleasePoolStack::getInstance().clearAllPools(); // the menu's child is a's only owner now
    menu->removeChild(a, true);
    release(400, 300); // the menu kept the item alive while tracking it
    EXPECT_EQ(recorder.events, (Events{"select 1", "unselect 1", "activate 1"}));

    auto* b = new TraceItem(&recorder, 2, 40, 40);
    menu->addChild(b);
    recorder.events.clear();
    press(400, 300);
    EXPECT_EQ(menu->getState(), CCMenu::kStateTrackingTouch);
    menu->onExit(); // leaves the stage in the middle of the touch
    EXPECT_EQ(menu->getState(), CCMenu::kStateWaiting);
    EXPECT_EQ(recorder.events, (Events{"select 2", "unselect 2"}));
    menu->onEnter();
    recorder.events.clear();
    press(400, 300);
    release(400, 300);
    EXPECT_EQ(recorder.events, (Events{"select 2", "unselect 2", "activate 2"}));

    // A menu under an invisible parent claims nothing.
    CCNode* parent = CCNode::create();
    menu->onExit();
    parent->addChild(menu);
    parent->setVisible(false);
    recorder.events.clear();
    at(400, 300);
    EXPECT_FALSE(menu->touchBegan(touch, nullptr));
    EXPECT_TRUE(recorder.events.empty());
    menu->release();
}

TEST_F(CCMenuTest, AlignsItemsInRowsAndColumnsAroundItsOrigin) {
    auto* a = new TraceItem(&recorder, 1, 100, 20);
    auto* b = new TraceItem(&recorder, 2, 25, 30);
    auto* c = new TraceItem(&recorder, 3, 100, 40);
    b->setScaleX(2); // scaled width 50
    CCMenu* menu = CCMenu::createWithItems(a, b, c, nullptr);
    menu->alignItemsHorizontallyWithPadding(10);
    EXPECT_FLOAT_EQ(a->getPosition().x, -85);
    EXPECT_FLOAT_EQ(b->getPosition().x, 0);
    EXPECT_FLOAT_EQ(c->getPosition().x, 85);
    menu->alignItemsVerticallyWithPadding(5); // heights 20, 30, 40: total 100
    EXPECT_FLOAT_EQ(a->getPosition().y, 40);
    EXPECT_FLOAT_EQ(b->getPosition().y, 10);
    EXPECT_FLOAT_EQ(c->getPosition().y, -30);
    EXPECT_FLOAT_EQ(a->getPosition().x, 0);
    EXPECT_FLOAT_EQ(menu->getPosition().x, kWinWidth / 2);
}

TEST_F(CCMenuTest, ItemsShowTheirStateAndPassColourOn) {
    CCMenuItemSprite* item = CCMenuItemSprite::createWithSprites(sprite(40), sprite(40));
    ASSERT_NE(item, nullptr);
    item->selected();
    EXPECT_FALSE(item->getNormalImage()->isVisible());
    EXPECT_TRUE(item->getSelectedImage()->isVisible());
    item->unselected();
    EXPECT_TRUE(item->getNormalImage()->isVisible());
    item->setEnabled(false); // no disabled image: the normal one stays
    EXPECT_TRUE(item->getNormalImage()->isVisible());
    item->setColor(ccColor3B{1, 2, 3});
    EXPECT_EQ(item->getColor(), (ccColor3B{1, 2, 3}));
    EXPECT_EQ(item->getSelectedImage()->asRGBAProtocol()->getColor(), (ccColor3B{1, 2, 3}));
    EXPECT_EQ(CCMenuItemSprite::createWithSprites(nullptr, sprite(4)), nullptr);

    // Label items: grey while disabled, zoom back to the rest scale after a press.
    CCMenuItemLabel* label = CCMenuItemLabel::createWithLabel(
        CCLabelTTF::createWithString("x", "Marker Felt", 12), nullptr, nullptr);
    label->setColor(ccColor3B{10, 20, 30});
    label->setEnabled(false);
    EXPECT_EQ(label->getColor(), (ccColor3B{126, 126, 126}));
    label->setEnabled(true);
    EXPECT_EQ(label->getColor(), (ccColor3B{10, 20, 30}));
    label->setScale(1.5f);
    label->selected();
    label->setScale(3.0f);
    label->unselected();
    EXPECT_NE(label->getActionByTag(CCMenuItemLabel::kZoomActionTag), nullptr);
    label->activate();
    EXPECT_EQ(label->getActionByTag(CCMenuItemLabel::kZoomActionTag), nullptr);
    EXPECT_FLOAT_EQ(label->getScaleX(), 1.5f);
    EXPECT_EQ(CCMenuItemLabel::createWithLabel(nullptr, nullptr, nullptr), nullptr);

    // Font items take the shared size at creation.
    CCString* text = new CCString("Play");
    CCMenuItemFont* before = CCMenuItemFont::createWithString(text);
    CCMenuItemFont::setFontSize(40);
    CCMenuItemFont* after = CCMenuItemFont::createWithString(text);
    CCMenuItemFont::setFontSize(32);
    text->release();
    EXPECT_EQ(before->getFontSize(), 32);
    EXPECT_EQ(after->getFontSize(), 40);
    EXPECT_EQ(before->getFontName(), "Marker Felt");
    EXPECT_EQ(CCMenuItemFont::createWithString(nullptr), nullptr);

    // Toggles cycle through their sub-items.
    auto* items = new CCMutableArray<CCMenuItem*>();
    items->addObject(new TraceItem(&recorder, 1, 10, 10));
    items->addObject(new TraceItem(&recorder, 2, 30, 20));
    CCMenuItemToggle* toggle =
        CCMenuItemToggle::createWithItems(&recorder, static_cast<SEL_MenuHandler>(&Recorder::hit), items);
    items->release();
    ASSERT_NE(toggle, nullptr);
    toggle->setTag(9);
    EXPECT_EQ(toggle->getChildByTag(CCMenuItemToggle::kSelectedItemTag), items->objectAtIndex(0));
    toggle->activate();
    EXPECT_EQ(toggle->getSelectedIndex(), 1u);
    EXPECT_FLOAT_EQ(toggle->getContentSize().width, 30);
    toggle->activate();
    EXPECT_EQ(toggle->getSelectedIndex(), 0u);
    EXPECT_EQ(recorder.events, (Events{"activate 9", "activate 9"}));
    toggle->setSelectedIndex(5); // refused
    EXPECT_EQ(toggle->getSelectedIndex(), 0u);
}

} // namespace
