#pragma once

#include "game/menu/KVPortraitIcon.h"

namespace kvengine {
class CCString;
}

/// An icon of the plain portrait list (kind 1): the picture "KV_<base>Large.png" centred on the
/// large frames, which serve as normal and pressed image; a check mark ("Pic_Check.png") for the item
/// in use or a lock mark ("Pic_Lock.png") for an item offered in the shop in the lower right corner.
/// An unframed icon carries no mark and its release sounds invalid.
class KVPortraitSimpleIcon : public KVPortraitIcon {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitSimpleIcon, KVPortraitIcon)

    /// Autoreleased icon; null (logged) when the frames are not loaded. A missing picture frame
    /// shows "KV_hiddenLarge.png" (logged).
    static KVPortraitSimpleIcon* createWithName(kvengine::CCString* baseName, bool lockMark, bool checkMark,
                                                bool framed, kvengine::CCObject* target,
                                                kvengine::SEL_MenuHandler selector);
    [[nodiscard]] bool initWithName(kvengine::CCString* baseName, bool lockMark, bool checkMark, bool framed,
                                    kvengine::CCObject* target, kvengine::SEL_MenuHandler selector);
};
