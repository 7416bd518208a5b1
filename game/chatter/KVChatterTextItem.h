#pragma once

#include "game/chatter/KVChatterTextItemBase.h"

/// The text of the full dialogue box: three lines a page, each page typed out at 20 characters a
/// second. It keeps the step's voice value (not played).
class KVChatterTextItem : public KVChatterTextItemBase {
public:
    CC_DECLARE_CLASS_NAME(KVChatterTextItem, KVChatterTextItemBase)

    static constexpr int kLinesPerPage = 3;

    /// `width`, `height` and `margin` in pixels; `voice` is retained.
    KVChatterTextItem(kvengine::CCString* text, int width, int height, int margin,
                      const kvengine::ccColor3B& highlight, const std::string& fontFile, float scale,
                      kvengine::CCObject* voice);

    void cleanupBeforeDelete() override;
    kvengine::CCObject* getVoice() const { return m_voice; }

protected:
    int linesPerPage(const kvengine::CCBMFontConfiguration* font, int height, float scale) const override;
    kvengine::CCPoint labelPosition(int height, int margin) const override;
    bool typesPages() const override { return true; }

private:
    kvengine::CCObject* m_voice = nullptr;
};
