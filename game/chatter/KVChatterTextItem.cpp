#include "game/chatter/KVChatterTextItem.h"

#include "engine/director/CCDirector.h"

using namespace kvengine;

KVChatterTextItem::KVChatterTextItem(CCString* text, int width, int height, int margin,
                                     const ccColor3B& highlight, const std::string& fontFile, float scale,
                                     CCObject* voice)
    : m_voice(voice) {
    if (m_voice != nullptr) m_voice->retain();
    build(text, width, height, margin, highlight, fontFile, scale);
}

void KVChatterTextItem::cleanupBeforeDelete() {
    if (m_voice != nullptr) m_voice->release();
    m_voice = nullptr;
    KVChatterTextItemBase::cleanupBeforeDelete();
}

int KVChatterTextItem::linesPerPage(const CCBMFontConfiguration*, int, float) const {
    return kLinesPerPage;
}

CCPoint KVChatterTextItem::labelPosition(int height, int margin) const {
    const float y = static_cast<float>(height + margin) / 2;
    if (CCDirector::wideScreen != 0) return CCPoint(static_cast<float>(margin) / 2 + 240, y + 140);
    return CCPoint(static_cast<float>(margin) / 2 + 176, y + 172);
}
