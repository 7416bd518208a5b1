#include "game/menu/KVPopUpItem.h"

#include <string>

#include "engine/base/CCArray.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/menu/KVButton.h"
#include "game/menu/KVMenuManager.h"

using namespace kvengine;

namespace {

constexpr int kCancelButtonKind = 1;
constexpr unsigned char kDimmerOpacity = 100;
constexpr const char* kMessageFont = "Thonburi";
constexpr float kMessageFontSize = 20.0f;
// Below the middle of the window by the button's height / 0.7.
constexpr float kButtonRowDrop = 0.7f;

const char* frameSuffixOf(int kind) {
    switch (kind) {
    case 1:
        return "HelmetInfo";
    case 2:
        return "LevelInfo";
    case 3:
    case 4:
        return "Squad";
    default:
        return "";
    }
}

} // namespace

void KVPopUpItem::initWithKind(int kind) {
    if (!init()) return;
    m_kind = kind;
    const CCSize size = getContentSize();

    if (CCSprite* dimmer = CCSprite::createWithSpriteFrameName("Bg_GreyLayer.png")) {
        // Centred on the window's corner, and large enough to cover the whole window from there.
        const CCSize own = dimmer->getContentSize();
        if (own.width > 0 && own.height > 0) {
            dimmer->setScaleX(2 * size.width / own.width);
            dimmer->setScaleY(2 * size.height / own.height);
        }
        dimmer->setPosition(CCPoint(0, 0));
        dimmer->setOpacity(kDimmerOpacity);
        addChildAtZWithTag(dimmer, 0, kDimmerTag);
    }
    const std::string frameName = std::string("Bg_PopUp") + frameSuffixOf(kind) + ".png";
    if (CCSprite* frame = CCSprite::createWithSpriteFrameName(frameName.c_str())) {
        frame->setAnchorPoint(CCPoint(0.5f, 0.5f));
        frame->setPosition(CCPoint(size.width / 2, size.height / 2));
        addChildAtZWithTag(frame, 1, kFrameTag);
    } else {
        logDebugMessage("pop-up: no frame %s", frameName.c_str());
    }
    if (kind == 3) return; // the squad pop-up closes by a tap on a member only
    CCString* caption = getLocalizedString("Pop Up Cancel");
    if (caption == nullptr) {
        logDebugMessage("pop-up: no text for \"Pop Up Cancel\"");
        caption = new CCString("");
        caption->autorelease();
    }
    if (KVButton* cancel =
            KVButton::createWithLabel(caption, size.width / 2, size.height / 2, kCancelButtonKind, this,
                                      static_cast<SEL_MenuHandler>(&KVPopUpItem::onCancel)))
        addChildAtZWithTag(cancel, 2, kCancelTag);
}

void KVPopUpItem::onCancel(CCObject* sender) {
    (void)sender;
    // Removes the pop-up's scene: nothing of this item may be used afterwards.
    KVMenuManager::getInstance()->changeState(KVMenuManager::kCloseOverlayState);
}

std::string KVPopUpItem::localisedText(const char* key) {
    if (CCString* text = getLocalizedString(key)) return text->text;
    logDebugMessage("pop-up: no text for \"%s\"", key);
    return key;
}

void KVPopUpItem::placeCancelAndAction(KVButton* action) {
    const CCSize size = getContentSize();
    if (CCNode* cancel = getChildByTag(kCancelTag)) {
        const CCSize own = cancel->getContentSize();
        cancel->setPosition(
            CCPoint(size.width / 2 - own.width, size.height / 2 - own.height / kButtonRowDrop));
    }
    if (action == nullptr) {
        logDebugMessage("pop-up: kind %d has no action button", m_kind);
        return;
    }
    const CCSize own = action->getContentSize();
    action->setPosition(CCPoint(size.width / 2 + own.width, size.height / 2 - own.height / kButtonRowDrop));
    addChildAtZWithTag(action, 1, kActionTag);
}

CCLabelTTF* KVPopUpItem::addMessage(const char* text, float boxWidth, float boxHeight, float x, float y) {
    constexpr int kCentred = 1; // lines centred in the box
    CCLabelTTF* label = CCLabelTTF::createWithStringDimensions(
        text != nullptr ? text : "", kCentred, kMessageFont, kMessageFontSize, boxWidth, boxHeight);
    if (label == nullptr) {
        logDebugMessage("pop-up: the message \"%s\" cannot be drawn", text != nullptr ? text : "");
        return nullptr;
    }
    label->setColor(ccColor3B{0, 0, 255});
    label->setPosition(CCPoint(x, y));
    addChildAtZ(label, 2);
    return label;
}

void KVPopUpItem::registerWithTouchDispatcher() {
    m_registered = true;
    CCTouchDispatcher::getInstance()->addTargetedDelegate(this, kTouchPriority, true);
}

bool popUpButtonHolds(const CCNode* parent, int tag, const CCPoint& point) {
    // Pop-ups may give their texts the tags of the frame's own children: only a button counts.
    CCArray* children = parent != nullptr ? parent->getChildren() : nullptr;
    CCNode* button = nullptr;
    for (unsigned i = 0; children != nullptr && i < children->count() && button == nullptr; ++i) {
        auto* child = static_cast<CCNode*>(children->objectAtIndex(i));
        if (child->getTag() == tag && child->isKindOf("KVButton")) button = child;
    }
    if (button == nullptr) return false;
    const CCSize size = button->getContentSize();
    const CCPoint at = button->getPosition();
    return rectContainsPoint(CCRect(at.x - size.width / 2, at.y - size.height / 2, size.width, size.height),
                             point);
}

bool KVPopUpItem::touchBegan(CCTouch* touch, CCEvent* event) {
    (void)event;
    const CCPoint point = CCDirector::getInstance()->convertToGL(touch->getLocationInView());
    return !popUpButtonHolds(this, kCancelTag, point) && !popUpButtonHolds(this, kActionTag, point);
}

void KVPopUpItem::touchEnded(CCTouch* touch, CCEvent* event) {
    (void)touch;
    (void)event;
}
