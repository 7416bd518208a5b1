#pragma once

#include <string>

#include "engine/sprites/CCSprite.h"

namespace kvengine {
class CCString;
}

/// A shadowed title: a sprite without picture whose only child is a `KVLabelWithShadow` (z 1, the
/// label's own tag, default anchor, position (0, 0)). The item takes the label's content size.
///
///     KVTitleItem* name = KVTitleItem::createWithTitle(creatureName, PRODUCT_FONT_NAME, 16);
///     name->setPosition(...);   // anchor (0, 0) and position (0, 0) until the caller moves it
class KVTitleItem : public kvengine::CCSprite {
public:
    CC_DECLARE_CLASS_NAME(KVTitleItem, kvengine::CCSprite)

    /// An autoreleased title of `title` in `fontName` at `fontSize` points; a null title shows "".
    static KVTitleItem* createWithTitle(kvengine::CCString* title, const std::string& fontName, int fontSize);

    KVTitleItem(kvengine::CCString* title, const std::string& fontName, int fontSize);
};
