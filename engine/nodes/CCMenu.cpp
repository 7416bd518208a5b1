#include "engine/nodes/CCMenu.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/nodes/CCMenuItem.h"

#include <cstring>
#include <vector>

namespace kvengine {

namespace {

CCMenuItem* itemAt(CCArray* children, unsigned index) {
    return dynamic_cast<CCMenuItem*>(children->objectAtIndex(index));
}

} // namespace

CCMenu* CCMenu::createWithItems(CCMenuItem* first, ...) {
    va_list rest;
    va_start(rest, first);
    auto* menu = new CCMenu();
    const bool ok = menu->initWithItems(first, rest);
    va_end(rest);
    if (!ok) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

CCMenu::~CCMenu() {
    if (m_selectedItem) m_selectedItem->release();
}

bool CCMenu::isKindOf(const char* name) const {
    return (name != nullptr && std::strcmp(name, "CCMenu") == 0) || CCLayer::isKindOf(name);
}

bool CCMenu::setUpLayer() {
    if (!CCLayer::init()) return false;
    m_touchEnabled = true;
    setRelativeAnchorPoint(false);
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    const CCSize win = CCDirector::getInstance()->getWinSize();
    setContentSize(win);
    setPosition(CCPoint(win.width / 2, win.height / 2));
    return true;
}

bool CCMenu::initWithItems(CCMenuItem* first, va_list rest) {
    std::vector<CCMenuItem*> items;
    if (first) {
        items.push_back(first);
        for (CCMenuItem* item = va_arg(rest, CCMenuItem*); item; item = va_arg(rest, CCMenuItem*))
            items.push_back(item);
    }
    return initWithItemList(items.data(), static_cast<unsigned>(items.size()));
}

bool CCMenu::initWithItemList(CCMenuItem* const* items, unsigned count) {
    if (!setUpLayer()) return false;
    for (unsigned i = 0; i < count; ++i)
        addChildAtZ(items[i], static_cast<int>(i));
    setSelectedItem(nullptr);
    m_state = kStateWaiting;
    return true;
}

void CCMenu::setSelectedItem(CCMenuItem* item) {
    if (item) item->retain();
    if (m_selectedItem) m_selectedItem->release();
    m_selectedItem = item;
}

void CCMenu::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, m_touchPriority, m_swallowsTouches);
}

void CCMenu::onExit() {
    // A touch in progress is dropped: without this reset a menu that left the stage while
    // tracking would refuse every later touch.
    if (m_state == kStateTrackingTouch && m_selectedItem) m_selectedItem->unselected();
    setSelectedItem(nullptr);
    m_state = kStateWaiting;
    CCLayer::onExit();
}

// --- items -------------------------------------------------------------------------------------

CCMenuItem* CCMenu::itemForTouch(CCTouch* touch) {
    if (!touch || !m_children) return nullptr;
    const CCPoint location = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    for (unsigned i = 0; i < m_children->count(); ++i) {
        CCMenuItem* item = itemAt(m_children, i);
        if (!item || !item->isVisible() || !item->isEnabled()) continue;
        const CCPoint local = item->convertToNodeSpace(location);
        const CCSize size = item->getContentSize();
        if (local.x >= 0 && local.y >= 0 && local.x <= size.width && local.y <= size.height) return item;
    }
    return nullptr;
}

void CCMenu::alignItemsHorizontallyWithPadding(float padding) {
    if (!m_children) return;
    float width = -padding;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        auto* child = static_cast<CCNode*>(m_children->objectAtIndex(i));
        width += child->getContentSize().width * child->getScaleX() + padding;
    }
    float x = -width / 2.0f;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        auto* child = static_cast<CCNode*>(m_children->objectAtIndex(i));
        const float scaled = child->getContentSize().width * child->getScaleX();
        child->setPosition(CCPoint(x + scaled / 2.0f, 0));
        x += scaled + padding;
    }
}

void CCMenu::alignItemsVerticallyWithPadding(float padding) {
    if (!m_children) return;
    float height = -padding;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        auto* child = static_cast<CCNode*>(m_children->objectAtIndex(i));
        height += child->getContentSize().height * child->getScaleY() + padding;
    }
    float y = height / 2.0f;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        auto* child = static_cast<CCNode*>(m_children->objectAtIndex(i));
        const float scaled = child->getContentSize().height * child->getScaleY();
        child->setPosition(CCPoint(0, y - scaled / 2.0f));
        y -= scaled + padding;
    }
}

// --- touches -----------------------------------------------------------------------------------

bool CCMenu::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    if (m_state != kStateWaiting) return false;
    for (CCNode* node = this; node; node = node->getParent())
        if (!node->isVisible()) return false;
    CCMenuItem* item = itemForTouch(touch);
    setSelectedItem(item);
    if (!item) return false;
    item->selected();
    m_state = kStateTrackingTouch;
    return true;
}

void CCMenu::touchMoved(CCTouch* touch, CCEvent* event) {
    (void)event;
    CCMenuItem* item = itemForTouch(touch);
    if (item == m_selectedItem) return;
    if (m_selectedItem) m_selectedItem->unselected();
    setSelectedItem(item);
    if (m_selectedItem) m_selectedItem->selected();
}

void CCMenu::touchEnded(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
    m_state = kStateWaiting;
    CCMenuItem* item = m_selectedItem;
    if (!item) return;
    m_selectedItem = nullptr; // our reference moves to `item` for the calls below
    item->unselected();
    item->activate();
    item->release();
}

void CCMenu::touchCancelled(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
    m_state = kStateWaiting;
    CCMenuItem* item = m_selectedItem;
    if (!item) return;
    m_selectedItem = nullptr;
    item->unselected();
    item->release();
}

// --- colour ------------------------------------------------------------------------------------

void CCMenu::setColor(const ccColor3B& color) {
    m_color = color;
    if (!m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i)
        if (CCRGBAProtocol* rgba = static_cast<CCNode*>(m_children->objectAtIndex(i))->asRGBAProtocol())
            rgba->setColor(color);
}

void CCMenu::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    if (!m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i)
        if (CCRGBAProtocol* rgba = static_cast<CCNode*>(m_children->objectAtIndex(i))->asRGBAProtocol())
            rgba->setOpacity(opacity);
}

} // namespace kvengine
