#include "game/chatter/KVChatterLightTextItem.h"

#include "engine/labels/CCBMFontConfiguration.h"

using namespace kvengine;

KVChatterLightTextItem::KVChatterLightTextItem(CCString* text, int width, int height, int margin,
                                               const ccColor3B& highlight, const std::string& fontFile,
                                               float scale) {
    build(text, width, height, margin, highlight, fontFile, scale);
}

int KVChatterLightTextItem::linesPerPage(const CCBMFontConfiguration* font, int height, float scale) const {
    const float lineHeight = scale * static_cast<float>(font->getLineHeight());
    return lineHeight > 0 ? static_cast<int>(static_cast<float>(height) / lineHeight) : 1;
}

CCPoint KVChatterLightTextItem::labelPosition(int height, int margin) const {
    return CCPoint(static_cast<float>(margin) / 2, static_cast<float>(height + margin) / 2);
}
