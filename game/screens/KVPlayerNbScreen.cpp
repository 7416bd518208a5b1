#include "game/screens/KVPlayerNbScreen.h"

#include "engine/base/CCNotificationCenter.h"
#include "engine/base/CCString.h"
#include "engine/labels/CCLabelTTF.h"
#include "game/app/KVGlobalNames.h"

using namespace kvengine;

namespace {

constexpr float kLabelSize = 28.0f;

} // namespace

KVPlayerNbScreenItem* KVPlayerNbScreenItem::createWithSprites(const char* normalFrame,
                                                              const char* pressedFrame, CCString* label,
                                                              CCObject* target, SEL_MenuHandler selector) {
    auto* button = new KVPlayerNbScreenItem();
    if (!button->initWithSprites(normalFrame, pressedFrame, label, target, selector)) {
        button->release();
        return nullptr;
    }
    button->autorelease();
    return button;
}

bool KVPlayerNbScreenItem::initWithSprites(const char* normalFrame, const char* pressedFrame, CCString* label,
                                           CCObject* target, SEL_MenuHandler selector) {
    if (!initWithTarget(target, selector) || !initWithFrames(normalFrame, pressedFrame)) return false;
    const CCSize size = getContentSize();
    CCLabelTTF* text = label != nullptr
                           ? CCLabelTTF::createWithWideString(label->makeWideString(), "Arial", kLabelSize)
                           : CCLabelTTF::createWithString("", "Arial", kLabelSize);
    text->setAnchorPoint(CCPoint(0.5f, 0.5f));
    text->setPosition(CCPoint(size.width / 2, 0.75f * size.height));
    addChildAtZWithTag(text, 1, kLabelTag);
    return true;
}

void KVPlayerNbScreenItem::unselected() {
    KVPressMenuItem::unselected();
    CCNotificationCenter::getInstance()->postNotification(EVENT_BUTTON_VALIDATED, this);
}

KVPlayerNbScreen* KVPlayerNbScreen::createButton(const char* normalFrame, const char* pressedFrame,
                                                 CCString* label, CCObject* target,
                                                 SEL_MenuHandler selector) {
    KVPlayerNbScreenItem* button =
        KVPlayerNbScreenItem::createWithSprites(normalFrame, pressedFrame, label, target, selector);
    if (button == nullptr) return nullptr;
    auto* menu = new KVPlayerNbScreen();
    CCMenuItem* const items[] = {button};
    if (!menu->initWithItemList(items, 1)) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    menu->fitTo(button);
    return menu;
}

KVPlayerNbScreenItem* KVPlayerNbScreen::getButton() const {
    CCNode* item = getItem();
    return item != nullptr && item->isKindOf("KVPlayerNbScreenItem")
               ? static_cast<KVPlayerNbScreenItem*>(item)
               : nullptr;
}
