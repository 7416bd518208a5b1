#include "game/menu/KVButtonItem.h"

#include <cassert>
#include <iterator>

#include "engine/base/CCLocalizationManager.h"
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

// Where a kind puts its caption.
enum class Caption {
    Centred,    // at the middle of the picture
    Offset,     // at the middle moved by (dx, dy)
    Price,      // kind 8: a price with the pearl icon, or "Shop_Screen_Buy"
    Currency,   // kind 9: a price in the currency font, or "Shop_Screen_Buy"
    ClassName,  // kind 10: the localised class name under the class picture
    Train,      // kind 11: the localised "Train"
    MaxLevel,   // kind 12: the localised "Max Level" beside an empty caption
    FreePearls, // kinds 18, 19: a small price left of the picture's own pearl
    LeftCorner, // kind 22: at the origin, half size
};

struct ButtonKind {
    int kind;
    const char* normalFrame; // null for kind 10: "KV_Bt_" + caption + ".png"
    const char* pressedFrame;
    Caption caption;
    float dx, dy;   // Offset
    float scale;    // of the pictures (22) or of the caption (24)
    bool labelForm; // made by createWithLabel
    bool textForm;  // made by createWithText
};

// The pictures and caption of each kind. 16 is no kind; 18 and 19 exist only with a CCString
// caption, 25 only with a plain text.
constexpr ButtonKind kKinds[] = {
    {1, "Bt_Small_Up.png", "Bt_Small_Down.png", Caption::Centred, 0, 0, 1, true, true},
    {2, "Bt_Mid_Up.png", "Bt_Mid_Down.png", Caption::Centred, 0, 0, 1, true, true},
    {3, "KV_BT_Squad.png", "KV_BT_SquadDown.png", Caption::Offset, -5, 6, 1, true, true},
    {4, "Kv_BT_Down.png", "Kv_BT_Up.png", Caption::Centred, 0, 0, 1, true, true},
    {5, "KV_BT_StuffNormal.png", "KV_BT_StuffDown.png", Caption::Offset, -5, -3, 1, true, true},
    {6, "KV_BT_HelmetsNormal.png", "KV_BT_HelmetsDown.png", Caption::Offset, 0, -3, 1, true, true},
    {7, "KV_BT_KelvosNormal.png", "KV_BT_KelvosDown.png", Caption::Offset, 15, -3, 1, true, true},
    {8, "Kv_BT_Levelup01.png", "KV_Bt_BuyDown.png", Caption::Price, 0, 0, 1, true, true},
    {9, "Kv_BT_Levelup01.png", "KV_Bt_BuyDown.png", Caption::Currency, 0, 0, 1, true, true},
    {10, nullptr, nullptr, Caption::ClassName, 0, 0, 1, true, true},
    {11, "Kv_BT_Levelup01.png", "KV_Bt_BuyDown.png", Caption::Train, 0, 0, 1, true, true},
    {12, "KV_Bt_BuyNormal.png", "KV_Bt_BuyNormal.png", Caption::MaxLevel, 0, 0, 1, true, true},
    {13, "Kv_BT_Up.png", "Kv_BT_Down.png", Caption::Centred, 0, 0, 1, true, true},
    {14, "Bt_Big_Up.png", "Bt_Big_Down.png", Caption::Centred, 0, 0, 1, true, true},
    {15, "Bt_SpecialProp_Up.png", "Bt_SpecialProp_Down.png", Caption::Centred, 0, 0, 1, true, true},
    {17, "KV_BT_BackDown.png", "KV_BT_Back.png", Caption::Centred, 0, 0, 1, true, true},
    {18, "KV_BT_FreePearls.png", "KV_BT_FreePearls_Down.png", Caption::FreePearls, 0, 0, 1, true, false},
    {19, "KV_BT_FreePearls.png", "KV_BT_FreePearls_Down.png", Caption::FreePearls, 0, 0, 1, true, false},
    {20, "KV_BT_BackDown.png", "KV_BT_Back.png", Caption::Centred, 0, 0, 1, true, true},
    {21, "KV_Bt_ViewSmallNormal.png", "KV_Bt_ViewSmallDown.png", Caption::Centred, 0, 0, 1, true, true},
    {22, "KV_BT_BackDown.png", "KV_BT_Back.png", Caption::LeftCorner, 0, 0, 0.5f, true, true},
    {23, "Kv_BT_Down.png", "Kv_BT_Up.png", Caption::Centred, 0, 0, 1, true, true},
    {24, "KV_Bt_up_Transfert.png", "KV_Bt_Down_Transfert.png", Caption::Centred, 0, 0, 0.8f, true, true},
    {25, "Kv_BT_Levelup01.png", "KV_Bt_BuyDown.png", Caption::Centred, 0, 0, 1, false, true},
};

const ButtonKind* kindOf(int kind) {
    for (const ButtonKind& row : kKinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

const ccColor3B kPriceColour{255, 162, 0};
constexpr float kPriceSize = 24.0f;
constexpr float kClassNameSize = 16.0f;

// The localised text of a key, or null when the table has none.
CCString* localisedOrNull(const char* key) {
    return CCLocalizationManager::getInstance()->stringForKey(key);
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
    const bool form = row != nullptr && (text != nullptr ? row->textForm : row->labelForm);
    if (!form) {
        logDebugMessage("buttons: kind %d has no pictures%s", kind,
                        row != nullptr ? (text != nullptr ? " as a text button" : " as a label button") : "");
        return false;
    }
    const std::string captionText = text != nullptr ? *text : (label != nullptr ? label->c_str() : "");
    if (!initWithTarget(target, selector)) return false;
    std::string normalFrame =
        row->normalFrame != nullptr ? row->normalFrame : "KV_Bt_" + captionText + ".png";
    std::string pressedFrame = row->pressedFrame != nullptr ? row->pressedFrame : normalFrame;
    CCSprite* normal = CCSprite::createWithSpriteFrameName(normalFrame.c_str());
    CCSprite* pressed = CCSprite::createWithSpriteFrameName(pressedFrame.c_str());
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
    if (row->caption == Caption::LeftCorner) {
        m_normalSprite->setScale(row->scale);
        m_selectedSprite->setScale(row->scale);
    }
    setNormalImage(m_normalSprite);
    setSelectedImage(m_selectedSprite);
    m_kind = kind;
    setContentSize(m_normalSprite->getContentSize());
    const CCSize size = getContentSize();
    const CCPoint centre(size.width / 2, size.height / 2);

    KVLabelWithShadow* caption =
        text != nullptr ? KVLabelWithShadow::createWithStdString(*text, PRODUCT_FONT_NAME, kCaptionSize)
                        : KVLabelWithShadow::createWithString(label, PRODUCT_FONT_NAME, kCaptionSize);
    if (kind == 15) caption->setScaleX(0.6f);
    caption->setAnchorPoint(CCPoint(0.5f, 0.5f));
    caption->setPosition(centre);

    switch (row->caption) {
    case Caption::Centred:
        if (kind == 24) caption->setScale(row->scale);
        break;
    case Caption::Offset:
        caption->setPosition(CCPoint(centre.x + row->dx, centre.y + row->dy));
        break;
    case Caption::Price:
    case Caption::Currency:
        if (captionText.empty()) {
            // No price: the localised "Buy" beside the empty caption.
            caption->setPosition(CCPoint(0, 0));
            CCString* buy = localisedOrNull("Shop_Screen_Buy");
            KVLabelWithShadow* extra =
                buy != nullptr ? KVLabelWithShadow::createWithString(buy, PRODUCT_FONT_NAME, kCaptionSize)
                               : KVLabelWithShadow::createWithStdString("", PRODUCT_FONT_NAME, kCaptionSize);
            extra->setPosition(centre);
            addChild(extra);
        } else if (row->caption == Caption::Currency) {
            caption = KVLabelWithShadow::createWithStdString(captionText, "Currency", kPriceSize);
            caption->setColor(kPriceColour);
            caption->setAnchorPoint(CCPoint(0.5f, 0.5f));
            caption->setPosition(centre);
        } else {
            // The price and the pearl, centred together.
            caption = KVLabelWithShadow::createWithStdString(captionText, HUD_FONT->c_str(), kPriceSize);
            caption->setColor(kPriceColour);
            CCSprite* pearl = CCSprite::createWithSpriteFrameName("KV_Perl3.png");
            const float pearlWidth = pearl != nullptr ? pearl->getContentSize().width : 0.0f;
            const float total = pearlWidth + caption->getContentSize().width + 5;
            const float x = (size.width - total) / 2;
            caption->setAnchorPoint(CCPoint(0, 0.5f));
            caption->setPosition(CCPoint(x, centre.y));
            if (pearl != nullptr) {
                pearl->setAnchorPoint(CCPoint(1, 0.5f));
                pearl->setPosition(CCPoint(size.width - x, centre.y));
                addChildAtZWithTag(pearl, kCaptionZ, kPearlTag);
            }
        }
        break;
    case Caption::ClassName: {
        CCString* name = localisedOrNull(captionText.c_str());
        caption =
            name != nullptr
                ? KVLabelWithShadow::createWithString(name, PRODUCT_FONT_NAME, kClassNameSize)
                : KVLabelWithShadow::createWithStdString(captionText, PRODUCT_FONT_NAME, kClassNameSize);
        caption->setPosition(CCPoint(centre.x, centre.y - 20));
        break;
    }
    case Caption::Train:
    case Caption::MaxLevel: {
        const char* key = row->caption == Caption::Train ? "Train" : "Max Level";
        CCString* localisedText = localisedOrNull(key);
        KVLabelWithShadow* words =
            localisedText != nullptr
                ? KVLabelWithShadow::createWithString(localisedText, PRODUCT_FONT_NAME, kPriceSize)
                : KVLabelWithShadow::createWithStdString(key, PRODUCT_FONT_NAME, kPriceSize);
        words->setAnchorPoint(CCPoint(0.5f, 0.5f));
        words->setPosition(centre);
        if (row->caption == Caption::Train) {
            caption = words;
        } else {
            caption->setPosition(CCPoint(0, 0));
            addChild(words);
        }
        break;
    }
    case Caption::FreePearls: {
        const bool small = kind == 19;
        caption =
            KVLabelWithShadow::createWithStdString(captionText, HUD_FONT->c_str(), small ? 12.0f : 14.0f);
        caption->setColor(small ? ccColor3B{255, 255, 255} : kPriceColour);
        caption->setAnchorPoint(CCPoint(0, 0.5f));
        CCSprite* pearl = CCSprite::createWithSpriteFrameName("KV_Perl3.png");
        const float total =
            caption->getContentSize().width + (pearl != nullptr ? pearl->getContentSize().width : 0) + 5;
        caption->setPosition(CCPoint((size.width - total) / 2 + 15, centre.y));
        if (small) caption->setOpacity(0);
        break;
    }
    case Caption::LeftCorner:
        caption->setScale(row->scale);
        caption->setPosition(CCPoint(0, 0));
        break;
    }
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
    // Every release clicks, also a press dragged off the button that activated nothing; the class
    // buttons click lightly.
    CCNotificationCenter::getInstance()->postNotification(
        m_kind == 10 ? EVENT_BUTTON_VALIDATED_LIGHT : EVENT_BUTTON_VALIDATED, this);
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
