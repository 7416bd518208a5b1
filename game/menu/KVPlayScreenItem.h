#pragma once

#include <string>

#include "game/menu/KVPressMenu.h"

namespace kvengine {
class CCString;
}

/// A chapter card: a large picture card of the chapter screen's list and of the play-mode screen.
///
/// The sprite name decides the look. A name holding "CommingSoon" makes a framed card: the frame
/// "KV_CadreImageChapitre.png" as picture, the chapter's own picture (the sprite name) behind it at
/// the top, the title in 24-point game font below, and under it either the caption (Arial 16) or
/// the chapter's stars ("earned/possible" beside a star). Such a card stays enabled. Any other name
/// makes a plain card: that picture with the title boxed at its top, disabled from the start (its
/// target is never called).
///
/// Children by tag: title (kTitleTag), picture (kPictureTag, framed only), caption or star text
/// (kCaptionTag), star (kStarTag).
class KVPlayScreenItem : public KVPressMenuItem {
public:
    CC_DECLARE_CLASS_NAME(KVPlayScreenItem, KVPressMenuItem)

    enum Tag { kTitleTag = 1, kPictureTag = 2, kCaptionTag = 3, kStarTag = 4 };
    /// The part of a sprite name that makes a framed card.
    static constexpr const char* kFramedMark = "CommingSoon";
    /// A framed card's title is shrunk to fit this share of the card's width (the frame's plate).
    static constexpr float kFramedTitleWidthShare = 0.8f;

    /// An autoreleased card without caption; null (logged) when its pictures are missing.
    static KVPlayScreenItem* createWithCard(kvengine::CCString* title, const std::string& spriteName,
                                            kvengine::CCObject* target, kvengine::SEL_MenuHandler selector,
                                            kvengine::CCString* chapterName);
    /// Target and selector may be null: the card then does nothing when tapped. The chapter name
    /// (framed card without caption) gives the star text.
    [[nodiscard]] bool initWithCard(kvengine::CCString* title, const std::string& spriteName,
                                    kvengine::CCString* caption, kvengine::CCObject* target,
                                    kvengine::SEL_MenuHandler selector, kvengine::CCString* chapterName);

    /// The card's place in the chapter list (0 elsewhere).
    int index = 0;

private:
    [[nodiscard]] bool buildFramed(kvengine::CCString* title, const std::string& spriteName,
                                   kvengine::CCString* caption, kvengine::CCString* chapterName);
    [[nodiscard]] bool buildPlain(kvengine::CCString* title, const std::string& spriteName);
};

/// The one-card menu of a chapter card.
class KVPlayScreen : public KVPressMenu {
public:
    CC_DECLARE_CLASS_NAME(KVPlayScreen, KVPressMenu)

    /// As CCMenu::createWithItems: autoreleased, null when it fails.
    static KVPlayScreen* createWithItems(kvengine::CCMenuItem* first, ...);
    /// The play-mode screen's story card: a card of (title, sprite name, caption) whose selector is
    /// KVPlayScreenView::storyChosen on `target`, in a menu the card's size anchored and placed at
    /// (0, 0); null when the card cannot be made.
    static KVPlayScreen* createStoryCard(kvengine::CCString* title, const std::string& spriteName,
                                         kvengine::CCString* caption, kvengine::CCObject* target);

    KVPlayScreenItem* getCard() const;
};
