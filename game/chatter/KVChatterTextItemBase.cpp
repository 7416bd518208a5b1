#include "game/chatter/KVChatterTextItemBase.h"

#include <algorithm>
#include <cmath>

#include "engine/base/CCLog.h"
#include "engine/base/CCString.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/labels/CCBMFontConfiguration.h"
#include "engine/labels/CCLabelBMFont.h"
#include "engine/textures/CCTexture2D.h"
#include "game/data/KVGameSetup.h"

using namespace kvengine;

namespace {

constexpr int kRGBA8888 = 1;

// The bitmap fonts hold Latin-1: UTF-8 text is brought to one byte a character.
std::string toLatin1(const std::string& utf8) {
    std::string out;
    for (char16_t unit : utf8ToUtf16(utf8))
        out.push_back(unit < 256 ? static_cast<char>(unit) : '?');
    return out;
}

std::vector<std::string> splitAtSpaces(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    while (true) {
        const size_t space = text.find(' ', start);
        words.push_back(text.substr(start, space == std::string::npos ? std::string::npos : space - start));
        if (space == std::string::npos) break;
        start = space + 1;
    }
    return words;
}

float measure(const std::string& piece, const CCBMFontConfiguration* font, float scale) {
    float width = 0;
    for (unsigned char c : piece)
        width += static_cast<float>(font->glyph(c).xAdvance);
    return width * scale;
}

bool removeMark(std::string& word, const char* mark) {
    const size_t at = word.find(mark);
    if (at == std::string::npos) return false;
    word.erase(at, 2);
    return true;
}

} // namespace

void KVChatterTextItemBase::cleanupBeforeDelete() {
    if (m_label != nullptr) m_label->release();
    m_label = nullptr;
    m_lines.clear();
    m_spans.clear();
    m_delegate = nullptr;
    KVMenuItem::cleanupBeforeDelete();
}

void KVChatterTextItemBase::build(CCString* text, int width, int height, int margin,
                                  const ccColor3B& highlight, const std::string& fontFile, float scale) {
    init();
    m_highlight = highlight;
    m_fontFile = fontFile;
    setContentSize(CCSize(static_cast<float>(width + 2 * margin), static_cast<float>(height + 2 * margin)));

    CCResourceIndex* index = CCResourceIndex::getInstance();
    const std::string fontPath =
        index->containsFileName(fontFile) ? index->pathForFileName(fontFile) : fontFile;
    CCBMFontConfiguration* font = loadFontConfiguration(fontPath.c_str());
    if (font == nullptr) {
        logDebugMessage("chatter: no bitmap font %s; the text is not shown", fontFile.c_str());
        m_lines.emplace_back();
        m_pageCount = 1;
        m_page = 1;
        return;
    }
    breakLines(toLatin1(text != nullptr ? text->c_str() : ""), font, width, scale);
    m_linesPerPage = std::max(1, linesPerPage(font, height, scale));
    m_pageCount = static_cast<int>((m_lines.size() + m_linesPerPage - 1) / m_linesPerPage);
    buildPage();

    // The label's glyphs keep full colour depth whatever the game's default is.
    const int previousFormat = CCTexture2D::defaultAlphaPixelFormat();
    CCTexture2D::setDefaultAlphaPixelFormat(kRGBA8888);
    m_label = CCLabelBMFont::createWithString(m_pageText.c_str(), fontPath.c_str());
    KVGameSetup* setup = KVGameSetup::existingInstance();
    CCTexture2D::setDefaultAlphaPixelFormat(setup != nullptr ? setup->texturePixelFormat : previousFormat);
    if (m_label == nullptr) {
        logDebugMessage("chatter: the label of font %s cannot be made", fontFile.c_str());
        return;
    }
    m_label->retain();
    m_label->setScale(scale);
    m_label->setAnchorPoint(CCPoint(0, 0.5f));
    m_label->setPosition(labelPosition(height, margin));
    colourPage();
    addChild(m_label);
}

void KVChatterTextItemBase::breakLines(const std::string& text, const CCBMFontConfiguration* font, int width,
                                       float scale) {
    std::string line;
    float running = 0;
    int storedCharacters = 0; // characters of the stored lines
    const std::vector<std::string> words = splitAtSpaces(text);
    auto store = [&]() {
        storedCharacters += static_cast<int>(line.size());
        m_lines.push_back(line);
        line.clear();
    };
    for (size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        const bool first = i == 0;
        const float wordWidth = measure(first ? word : " " + word, font, scale);
        running += wordWidth;
        const bool highlighted = removeMark(word, "@c");
        if (removeMark(word, "\\n")) {
            // An explicit break: appended without a width test, the line ends after the word.
            if (highlighted)
                m_spans.emplace_back(storedCharacters + static_cast<int>(line.size()) + 1,
                                     static_cast<int>(word.size()));
            line += " " + word;
            store();
            running = 0;
            continue;
        }
        // An over-long first word of a line stays on it rather than leaving an empty line above.
        if (static_cast<int>(running) > width && !line.empty()) {
            store();
            line = word;
            running = measure(word, font, scale);
            if (highlighted) m_spans.emplace_back(storedCharacters, static_cast<int>(word.size()));
            continue;
        }
        const bool spaced = !first;
        if (highlighted)
            m_spans.emplace_back(storedCharacters + static_cast<int>(line.size()) + (spaced ? 1 : 0),
                                 static_cast<int>(word.size()));
        line += spaced ? " " + word : word;
    }
    m_lines.push_back(line);
}

void KVChatterTextItemBase::buildPage() {
    m_pageText.clear();
    m_charactersInPage = 0;
    const size_t first = static_cast<size_t>(m_page) * static_cast<size_t>(m_linesPerPage);
    for (size_t i = first; i < m_lines.size() && i < first + static_cast<size_t>(m_linesPerPage); ++i) {
        m_pageText += m_lines[i] + "\n";
        m_charactersInPage += static_cast<int>(m_lines[i].size());
    }
    // A glyph's tag is its byte index in the page text, newlines included.
    m_glyphTags.clear();
    for (size_t i = 0; i < m_pageText.size(); ++i)
        if (m_pageText[i] != '\n') m_glyphTags.push_back(static_cast<int>(i));
    ++m_page;
    m_revealed = typesPages() ? 0.0f : static_cast<float>(m_charactersInPage);
}

CCNode* KVChatterTextItemBase::glyphAt(int character) const {
    if (m_label == nullptr || character < 0 || character >= static_cast<int>(m_glyphTags.size()))
        return nullptr;
    return m_label->getChildByTag(m_glyphTags[static_cast<size_t>(character)]);
}

void KVChatterTextItemBase::setGlyphOpacity(uint8_t opacity) {
    for (int i = 0; i < m_charactersInPage; ++i) {
        CCNode* glyph = glyphAt(i);
        if (CCRGBAProtocol* rgba = glyph != nullptr ? glyph->asRGBAProtocol() : nullptr)
            rgba->setOpacity(opacity);
    }
}

void KVChatterTextItemBase::colourPage() {
    setGlyphOpacity(255);
    for (int i = 0; i < m_charactersInPage; ++i) {
        CCNode* glyph = glyphAt(i);
        if (CCRGBAProtocol* rgba = glyph != nullptr ? glyph->asRGBAProtocol() : nullptr)
            rgba->setColor(kNormalColour);
    }
    const int pageEnd = m_glyphOffset + m_charactersInPage;
    for (std::pair<int, int>& span : m_spans) {
        if (span.first < 0) continue;
        if (span.first >= pageEnd) break;
        for (int i = span.first - m_glyphOffset; i < span.first - m_glyphOffset + span.second; ++i) {
            CCNode* glyph = glyphAt(i);
            if (CCRGBAProtocol* rgba = glyph != nullptr ? glyph->asRGBAProtocol() : nullptr)
                rgba->setColor(m_highlight);
        }
        span.first = -1;
    }
    setGlyphOpacity(0);
}

void KVChatterTextItemBase::update(float dt) {
    if (m_label == nullptr) return;
    m_revealed =
        std::min(m_revealed + static_cast<float>(kTypingSpeed) * dt, static_cast<float>(m_charactersInPage));
    const int shown = static_cast<int>(m_revealed);
    for (int i = 0; i < shown; ++i) {
        CCNode* glyph = glyphAt(i);
        if (CCRGBAProtocol* rgba = glyph != nullptr ? glyph->asRGBAProtocol() : nullptr)
            rgba->setOpacity(255);
    }
}

void KVChatterTextItemBase::advance() {
    if (static_cast<float>(m_charactersInPage) > m_revealed) {
        setGlyphOpacity(255);
        m_revealed = static_cast<float>(m_charactersInPage);
        return;
    }
    if (m_page >= m_pageCount) {
        m_finished = true;
        if (m_delegate != nullptr) m_delegate->proceed(this, m_pageCount);
        return;
    }
    m_glyphOffset += m_charactersInPage;
    buildPage();
    if (m_label != nullptr) {
        m_label->setString(m_pageText.c_str());
        colourPage();
    }
    if (m_delegate != nullptr) m_delegate->onTextProgress(this, m_page);
}
