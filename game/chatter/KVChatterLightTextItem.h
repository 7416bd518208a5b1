#pragma once

#include "game/chatter/KVChatterTextItemBase.h"

/// The text of the light dialogue box: as many lines a page as the height holds, each page shown
/// whole.
class KVChatterLightTextItem : public KVChatterTextItemBase {
public:
    CC_DECLARE_CLASS_NAME(KVChatterLightTextItem, KVChatterTextItemBase)

    /// `width`, `height` and `margin` in pixels.
    KVChatterLightTextItem(kvengine::CCString* text, int width, int height, int margin,
                           const kvengine::ccColor3B& highlight, const std::string& fontFile, float scale);

protected:
    int linesPerPage(const kvengine::CCBMFontConfiguration* font, int height, float scale) const override;
    kvengine::CCPoint labelPosition(int height, int margin) const override;
    bool typesPages() const override { return false; }
};
