#include "game/menu/KVPlayScreenItem.h"

#include <cstdarg>

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/labels/CCLabelTTF.h"
#include "engine/sprites/CCSprite.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/data/KVPlayerParameters.h"
#include "game/hud/KVLabelWithShadow.h"
#include "game/screens/KVPlayScreenView.h"

using namespace kvengine;

namespace {

const char* const kCardFrame = "KV_CadreImageChapitre.png";
constexpr float kFramedTitleSize = 24.0f;
constexpr float kPlainTitleSize = 18.0f;
constexpr float kCaptionSize = 16.0f;
constexpr float kStarTextSize = 14.0f;

} // namespace

KVPlayScreenItem* KVPlayScreenItem::createWithCard(CCString* title, const std::string& spriteName,
                                                   CCObject* target, SEL_MenuHandler selector,
                                                   CCString* chapterName) {
    auto* card = new KVPlayScreenItem();
    if (!card->initWithCard(title, spriteName, nullptr, target, selector, chapterName)) {
        card->release();
        return nullptr;
    }
    card->autorelease();
    return card;
}

bool KVPlayScreenItem::initWithCard(CCString* title, const std::string& spriteName, CCString* caption,
                                    CCObject* target, SEL_MenuHandler selector, CCString* chapterName) {
    if (!initWithTarget(target, selector)) return false;
    if (title == nullptr) title = kvdata::newString("");
    const bool framed = spriteName.find(kFramedMark) != std::string::npos;
    return framed ? buildFramed(title, spriteName, caption, chapterName) : buildPlain(title, spriteName);
}

bool KVPlayScreenItem::buildFramed(CCString* title, const std::string& spriteName, CCString* caption,
                                   CCString* chapterName) {
    if (!initWithFrames(kCardFrame, kCardFrame)) return false;
    const CCSize size = getContentSize();
    const float w = size.width;
    const float h = size.height;

    KVLabelWithShadow* name = KVLabelWithShadow::createWithString(title, PRODUCT_FONT_NAME, kFramedTitleSize);
    name->setAnchorPoint(CCPoint(0.5f, 0.5f));
    name->setPosition(CCPoint(w / 2, h / 2 - 68));
    // A long title would run past the card and into its neighbour: shrink it onto the plate.
    const float widest = w * kFramedTitleWidthShare;
    const float wide = name->getContentSize().width;
    if (wide > widest) name->setScale(widest / wide);
    addChildAtZWithTag(name, 2, kTitleTag);

    // The chapter's picture shows through the frame's window, so it lies behind the frame.
    if (CCSprite* picture = CCSprite::createWithSpriteFrameName(spriteName.c_str())) {
        picture->setAnchorPoint(CCPoint(0.5f, 1.0f));
        picture->setPosition(CCPoint(w / 2, h * 0.98f));
        addChildAtZWithTag(picture, -1, kPictureTag);
    } else {
        logDebugMessage("menu: the chapter card has no picture \"%s\"", spriteName.c_str());
    }

    if (caption != nullptr) {
        KVLabelWithShadow* text =
            KVLabelWithShadow::createWithStdString(caption->c_str(), "Arial", kCaptionSize);
        text->setAnchorPoint(CCPoint(0.5f, 0.5f));
        text->setPosition(CCPoint(w / 2, h / 2 - 93));
        addChildAtZWithTag(text, 1, kCaptionTag);
        return true;
    }
    CCString* stars = KVPlayerParameters::getInstance()->getChapterStarsText(chapterName);
    CCLabelTTF* text = CCLabelTTF::createWithString(stars != nullptr ? stars->c_str() : "0/0",
                                                    HUD_FONT->c_str(), kStarTextSize);
    text->setAnchorPoint(CCPoint(0.5f, 0.5f));
    text->setPosition(CCPoint(w / 2 + 14, h / 2 - 103));
    addChildAtZWithTag(text, 2, kCaptionTag);
    if (CCSprite* star = CCSprite::createWithSpriteFrameName("KV_Star.png")) {
        star->setAnchorPoint(CCPoint(0.5f, 0.5f));
        star->setPosition(CCPoint(w / 2 - 19, h / 2 - 100));
        addChildAtZWithTag(star, 2, kStarTag);
    }
    return true;
}

bool KVPlayScreenItem::buildPlain(CCString* title, const std::string& spriteName) {
    if (!initWithFrames(spriteName.c_str(), spriteName.c_str())) return false;
    const CCSize size = getContentSize();
    KVLabelWithShadow* name = KVLabelWithShadow::createWithStringInBox(
        title, PRODUCT_FONT_NAME, kPlainTitleSize, size.width / 1.4f, size.height / 1.5f);
    name->setAnchorPoint(CCPoint(0.5f, 1.0f));
    name->setColor(ccColor3B{255, 255, 255});
    name->setOpacity(255);
    name->setPosition(CCPoint(size.width / 2, size.height * 0.94f));
    addChildAtZWithTag(name, 10, kTitleTag);
    // A plain card is a picture only: it never reacts, whatever its target.
    setEnabled(false);
    return true;
}

KVPlayScreen* KVPlayScreen::createWithItems(CCMenuItem* first, ...) {
    va_list rest;
    va_start(rest, first);
    auto* menu = new KVPlayScreen();
    const bool ok = menu->initWithItems(first, rest);
    va_end(rest);
    if (!ok) {
        menu->release();
        return nullptr;
    }
    menu->autorelease();
    return menu;
}

KVPlayScreen* KVPlayScreen::createStoryCard(CCString* title, const std::string& spriteName, CCString* caption,
                                            CCObject* target) {
    auto* card = new KVPlayScreenItem();
    if (!card->initWithCard(title, spriteName, caption, target, menu_selector(KVPlayScreenView::storyChosen),
                            nullptr)) {
        card->release();
        return nullptr;
    }
    card->autorelease();
    KVPlayScreen* menu = createWithItems(card, nullptr);
    if (menu != nullptr) menu->fitTo(card);
    return menu;
}

KVPlayScreenItem* KVPlayScreen::getCard() const {
    CCNode* item = getItem();
    return item != nullptr && item->isKindOf("KVPlayScreenItem") ? static_cast<KVPlayScreenItem*>(item)
                                                                 : nullptr;
}
