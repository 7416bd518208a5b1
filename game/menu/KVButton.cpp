#include "game/menu/KVButton.h"

#include <cstdarg>

#include "engine/input/CCTouchDispatcher.h"
#include "game/menu/KVButtonItem.h"

using namespace kvengine;

KVButton* KVButton::createWithLabel(CCString* label, float x, float y, int kind, CCObject* target,
                                    SEL_MenuHandler selector) {
    return finish(KVButtonItem::createWithLabel(label, kind, target, selector), x, y, kind);
}

KVButton* KVButton::createWithText(const std::string& text, float x, float y, int kind, CCObject* target,
                                   SEL_MenuHandler selector) {
    return finish(KVButtonItem::createWithText(text, kind, target, selector), x, y, kind);
}

KVButton* KVButton::finish(KVButtonItem* item, float x, float y, int kind) {
    if (item == nullptr) return nullptr;
    KVButton* button = createWithItems(item, nullptr);
    if (button == nullptr) return nullptr;
    button->setContentSize(item->getContentSize());
    button->setPosition(CCPoint(x, y));
    button->m_item = item;
    button->m_pressState = kReleased;
    button->m_kind = kind;
    return button;
}

KVButton* KVButton::createWithItems(CCMenuItem* first, ...) {
    va_list rest;
    va_start(rest, first);
    auto* button = new KVButton();
    const bool ok = button->initWithItems(first, rest);
    va_end(rest);
    if (!ok) {
        button->release();
        return nullptr;
    }
    button->autorelease();
    return button;
}

void KVButton::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, m_touchPriority, true);
}

void KVButton::setTouchPriority(int priority) {
    if (priority == m_touchPriority) return;
    m_touchPriority = priority;
    if (!m_registered) return;
    CCTouchDispatcher::getInstance()->removeDelegate(this);
    registerWithTouchDispatcher();
}

void KVButton::setLabelString(const char* text) {
    if (m_item != nullptr) m_item->setLabelString(text);
}

const char* KVButton::getLabelString() {
    return m_item != nullptr ? m_item->getLabelString() : nullptr;
}
