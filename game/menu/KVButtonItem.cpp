#include "game/menu/KVButtonItem.h"

#include <cassert>
#include <iterator>

#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/director/CCScheduler.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/menu/KVButton.h"

using namespace kvengine;

namespace {

struct ButtonKind {
    int kind;
    const char* normalFrame;
    const char* pressedFrame;
};

// The pictures of each kind. The front end adds its own kinds here.
constexpr ButtonKind kKinds[] = {
    {23, "Kv_BT_Down.png", "Kv_BT_Up.png"},
};

const ButtonKind* kindOf(int kind) {
    for (const ButtonKind& row : kKinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

constexpr float kCaptionSize = 18.0f;
constexpr int kCaptionZ = 1;

KVButton* owningButton(CCNode* item) {
    CCNode* parent = item->getParent();
    return parent != nullptr && parent->isKindOf("KVButton") ? static_cast<KVButton*>(parent) : nullptr;
}

} // namespace

KVButtonItem* KVButtonItem::createWithLabel(CCString* label, int kind, CCObject* target,
                                            SEL_MenuHandler selector) {
    auto* item = new KVButtonItem();
    if (!item->initWithLabel(label, kind, target, selector)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

KVButtonItem* KVButtonItem::createWithText(const std::string& text, int kind, CCObject* target,
                                           SEL_MenuHandler selector) {
    auto* item = new KVButtonItem();
    if (!item->initWithText(text, kind, target, selector)) {
        item->release();
        return nullptr;
    }
    item->autorelease();
    return item;
}

bool KVButtonItem::initWithLabel(CCString* label, int kind, CCObject* target, SEL_MenuHandler selector) {
    return initWithCaption(label, nullptr, kind, target, selector);
}

bool KVButtonItem::initWithText(const std::string& text, int kind, CCObject* target,
                                SEL_MenuHandler selector) {
    return initWithCaption(nullptr, &text, kind, target, selector);
}

bool KVButtonItem::initWithCaption(CCString* label, const std::string* text, int kind, CCObject* target,
                                   SEL_MenuHandler selector) {
    const ButtonKind* row = kindOf(kind);
    assert(row != nullptr && "a button kind without pictures");
    if (row == nullptr) {
        logDebugMessage("buttons: kind %d has no pictures", kind);
        return false;
    }
    if (!initWithTarget(target, selector)) return false;
    CCSprite* normal = CCSprite::createWithSpriteFrameName(row->normalFrame);
    CCSprite* pressed = CCSprite::createWithSpriteFrameName(row->pressedFrame);
    if (normal == nullptr || pressed == nullptr) {
        // Logged by the frame cache: the sheet holding the button is not loaded.
        return false;
    }
    m_normalSprite = normal;
    m_normalSprite->retain();
    m_selectedSprite = pressed;
    m_selectedSprite->retain();
    m_normalSprite->setAnchorPoint(CCPoint(0, 0));
    m_selectedSprite->setAnchorPoint(CCPoint(0, 0));
    setNormalImage(m_normalSprite);
    setSelectedImage(m_selectedSprite);
    m_kind = kind;
    setContentSize(m_normalSprite->getContentSize());

    KVLabelWithShadow* caption =
        text != nullptr ? KVLabelWithShadow::createWithStdString(*text, PRODUCT_FONT_NAME, kCaptionSize)
                        : KVLabelWithShadow::createWithString(label, PRODUCT_FONT_NAME, kCaptionSize);
    caption->setAnchorPoint(CCPoint(0.5f, 0.5f));
    const CCSize size = getContentSize();
    caption->setPosition(CCPoint(size.width / 2, size.height / 2));
    addChildAtZWithTag(caption, kCaptionZ, kLabelTag);
    m_cleanedUp = false;
    return true;
}

void KVButtonItem::cleanupBeforeDelete() {
    if (m_normalSprite != nullptr) m_normalSprite->release();
    if (m_selectedSprite != nullptr) m_selectedSprite->release();
    m_normalSprite = m_selectedSprite = nullptr;
    CCMenuItemSprite::cleanupBeforeDelete();
}

void KVButtonItem::cleanup() {
    m_cleanedUp = true;
    CCMenuItemSprite::cleanup();
}

void KVButtonItem::activate() {
    CCMenuItemSprite::activate();
    // The handler may have taken the whole screen down (this item included): then nothing more.
    if (m_cleanedUp || owningButton(this) == nullptr) return;
    setEnabled(false);
    schedule(schedule_selector(KVButtonItem::reenable), kLockSeconds);
}

void KVButtonItem::reenable(float dt) {
    (void)dt;
    unschedule(schedule_selector(KVButtonItem::reenable));
    if (owningButton(this) != nullptr) setEnabled(true);
}

void KVButtonItem::selected() {
    CCMenuItemSprite::selected();
    if (KVButton* button = owningButton(this)) button->setPressState(KVButton::kPressed);
}

void KVButtonItem::unselected() {
    CCMenuItemSprite::unselected();
    if (KVButton* button = owningButton(this)) button->setPressState(KVButton::kReleased);
    // Every release clicks, also a press dragged off the button that activated nothing.
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
}

void KVButtonItem::setLabelString(const char* text) {
    CCNode* caption = getChildByTag(kLabelTag);
    if (caption != nullptr && caption->asLabelProtocol() != nullptr)
        caption->asLabelProtocol()->setString(text);
}

const char* KVButtonItem::getLabelString() {
    CCNode* caption = getChildByTag(kLabelTag);
    return caption != nullptr && caption->asLabelProtocol() != nullptr
               ? caption->asLabelProtocol()->getString()
               : nullptr;
}
