#pragma once

#include "game/menu/KVPortraitIcon.h"

namespace kvengine {
class CCString;
}

/// A helmet icon of the equipment screen's list (and its remove-helmet icon): the frames
/// "KV_CadreStuffNormal.png" and "KV_CadreStuffSelect.png", 66 x 71 points.
///
/// A framed icon puts its picture into both frames (it shows whichever frame is the normal image),
/// with "KV_Iconelocked.png" over it when the item is locked. An unframed icon shows the picture
/// alone, over the normal frame, and its release sounds invalid. No selected image is set, so a
/// press does not change the look; the list switches frames with showNormalFrame and
/// showSelectedFrame.
class KVPortraitRadioIcon : public KVPortraitIcon {
public:
    CC_DECLARE_CLASS_NAME(KVPortraitRadioIcon, KVPortraitIcon)

    /// Autoreleased icon; null (logged) when the frames are not loaded. A missing picture frame
    /// shows "KV_hiddenLarge.png" (logged).
    static KVPortraitRadioIcon* createWithName(kvengine::CCString* pictureName, bool lockMark, bool selected,
                                               bool framed, kvengine::CCObject* target,
                                               kvengine::SEL_MenuHandler selector);
    [[nodiscard]] bool initWithName(kvengine::CCString* pictureName, bool lockMark, bool selected,
                                    bool framed, kvengine::CCObject* target,
                                    kvengine::SEL_MenuHandler selector);
};
