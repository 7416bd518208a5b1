#include "game/menu/KVPressMenu.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSprite.h"

using namespace kvengine;

void KVPressMenu::fitTo(CCNode* item) {
    if (item == nullptr) return;
    setContentSize(item->getContentSize());
    setAnchorPoint(CCPoint(0, 0));
    setPosition(CCPoint(0, 0));
    m_pressState = kReleased;
}

CCNode* KVPressMenu::getItem() const {
    CCArray* children = getChildren();
    return children != nullptr && children->count() > 0 ? static_cast<CCNode*>(children->objectAtIndex(0))
                                                        : nullptr;
}

bool KVPressMenuItem::initWithFrames(const char* normalFrame, const char* pressedFrame) {
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalFrame);
    CCSprite* pressed = CCSprite::createWithSpriteFrameName(pressedFrame);
    if (normal == nullptr || pressed == nullptr) {
        logDebugMessage("menu: a card lacks its picture \"%s\" or \"%s\"", normalFrame, pressedFrame);
        return false;
    }
    normal->setAnchorPoint(CCPoint(0, 0));
    pressed->setAnchorPoint(CCPoint(0, 0));
    setNormalImage(normal);
    setSelectedImage(pressed);
    setContentSize(normal->getContentSize());
    m_cleanedUp = false;
    return true;
}

KVPressMenu* KVPressMenuItem::pressMenu() const {
    CCNode* parent = getParent();
    return parent != nullptr && parent->isKindOf("KVPressMenu") ? static_cast<KVPressMenu*>(parent) : nullptr;
}

void KVPressMenuItem::selected() {
    if (KVPressMenu* menu = pressMenu()) menu->setPressState(KVPressMenu::kPressed);
    CCMenuItemSprite::selected();
}

void KVPressMenuItem::unselected() {
    if (KVPressMenu* menu = pressMenu()) menu->setPressState(KVPressMenu::kReleased);
    CCMenuItemSprite::unselected();
}

void KVPressMenuItem::activate() {
    if (!isEnabled()) return;
    // The handler may take the whole screen down, this item with it: keep it alive meanwhile.
    retain();
    CCMenuItemSprite::activate();
    setEnabled(false);
    if (!m_cleanedUp)
        CCScheduler::getInstance()->scheduleSelector(schedule_selector(KVPressMenuItem::reenable), this,
                                                     kLockSeconds, !isRunning());
    release();
}

void KVPressMenuItem::reenable(float dt) {
    (void)dt;
    CCScheduler::getInstance()->unscheduleSelector(schedule_selector(KVPressMenuItem::reenable), this);
    setEnabled(true);
}

void KVPressMenuItem::cleanup() {
    m_cleanedUp = true;
    CCMenuItemSprite::cleanup();
}
