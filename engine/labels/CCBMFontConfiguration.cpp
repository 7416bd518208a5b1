#include "engine/labels/CCBMFontConfiguration.h"

#include "engine/base/CCLog.h"
#include "engine/base/CCMutableDictionary.h"
#include "engine/base/CCSharedRegistry.h"
#include "engine/files/CCFileUtils.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>

namespace kvengine {

namespace {

CCMutableDictionary<std::string, CCBMFontConfiguration*>* g_configurations = nullptr;

// The value text of `key` ("x=", ...) up to the next space; empty when the key is absent. A key
// only counts at the start of the line or after a space, so "x=" is not found inside "xoffset=".
std::string fieldText(const std::string& line, const char* key) {
    size_t at = line.find(key);
    while (at != std::string::npos && at > 0 && line[at - 1] != ' ' && line[at - 1] != '\t')
        at = line.find(key, at + 1);
    if (at == std::string::npos) return std::string();
    const size_t end = line.find(' ', at);
    return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

template <typename T> void readField(const std::string& line, const char* key, const char* format, T* value) {
    const std::string text = fieldText(line, key);
    if (!text.empty()) std::sscanf(text.c_str(), format, value);
}

bool startsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::strlen(prefix), prefix) == 0;
}

// The other formats a BMFont tool writes, recognised by their first bytes (after a UTF-8 byte
// order mark and blanks); null for text, which is all this reader understands.
const char* otherFontFormat(const char* data, size_t size) {
    size_t i = 0;
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) i = 3;
    if (size - i >= 4 && std::memcmp(data + i, "BMF", 3) == 0) return "binary";
    while (i < size && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    if (i == size) return nullptr;
    if (data[i] == '<') return "XML";
    if (data[i] == '{' || data[i] == '[') return "JSON";
    return nullptr;
}

} // namespace

struct CCBMFontConfiguration::ParseState {
    std::string fntPath;
    bool understood = false;          ///< an "info", "common" or "char" line was read
    unsigned glyphs = 0;              ///< glyph records stored
    std::set<int> pagesUsed;          ///< pages of the stored glyphs
    std::map<int, std::string> pages; ///< page id -> atlas image path
};

CCBMFontConfiguration* CCBMFontConfiguration::createWithFNTFile(const char* fntFile) {
    auto* configuration = new CCBMFontConfiguration();
    if (!configuration->initWithFNTFile(fntFile)) {
        configuration->release();
        return nullptr;
    }
    configuration->autorelease();
    return configuration;
}

CCBMFontConfiguration::CCBMFontConfiguration() : m_glyphs(kMaxGlyphs) {}

bool CCBMFontConfiguration::initWithFNTFile(const char* fntFile) {
    return parseConfigFile(fntFile);
}

bool CCBMFontConfiguration::parseConfigFile(const char* fntFile) {
    if (!fntFile || !*fntFile) {
        logDebugMessage("CCBMFontConfiguration: no font file named");
        return false;
    }
    const std::string path = fullPathForFile(fntFile);
    unsigned size = 0;
    std::unique_ptr<char[]> data(readFileData(&size, path.c_str(), "rb"));
    if (!data) {
        logDebugMessage("CCBMFontConfiguration: cannot read %s", fntFile);
        return false;
    }
    return parseText(data.get(), size, path.c_str());
}

void CCBMFontConfiguration::clear() {
    m_glyphs.assign(kMaxGlyphs, CCBMFontGlyph());
    m_lineHeight = 0;
    m_padding = CCBMFontPadding();
    m_atlasName.clear();
    m_kerning.clear();
}

bool CCBMFontConfiguration::parseText(const char* data, size_t size, const char* fntPath) {
    clear();
    const char* name = fntPath ? fntPath : "(memory)";
    if (data == nullptr) {
        logDebugMessage("CCBMFontConfiguration: no font data for %s", name);
        return false;
    }
    if (const char* format = otherFontFormat(data, size)) {
        logDebugMessage("CCBMFontConfiguration: %s is a BMFont %s file; only the text format is read", name,
                        format);
        return false;
    }
    ParseState state;
    if (fntPath) state.fntPath = fntPath;
    size_t start = 0;
    while (start < size) {
        const void* found = std::memchr(data + start, '\n', size - start);
        const size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
        parseLine(std::string(data + start, end - start), state);
        start = end + 1;
    }

    const char* refusal = nullptr;
    if (!state.understood)
        refusal = "has no info, common or char lines";
    else if (state.glyphs == 0)
        refusal = "has no glyphs";
    else if (state.pagesUsed.size() > 1)
        refusal = "has glyphs on several pages; a label draws from one atlas image";
    if (refusal == nullptr && !state.pages.empty()) {
        // The atlas image is the page the glyphs are on, whatever else the file lists.
        auto page = state.pages.find(*state.pagesUsed.begin());
        if (page == state.pages.end())
            refusal = "has no page line for the page its glyphs are on";
        else
            m_atlasName = page->second;
    }
    if (refusal != nullptr) {
        logDebugMessage("CCBMFontConfiguration: %s %s; not used", name, refusal);
        clear();
        return false;
    }
    return true;
}

void CCBMFontConfiguration::parseLine(const std::string& line, ParseState& state) {
    if (startsWith(line, "info face")) {
        state.understood = true;
        int top = 0, right = 0, bottom = 0, left = 0;
        const std::string text = fieldText(line, "padding=");
        if (!text.empty()) std::sscanf(text.c_str(), "padding=%d,%d,%d,%d", &top, &right, &bottom, &left);
        m_padding = CCBMFontPadding{left, top, right, bottom};
    } else if (startsWith(line, "common lineHeight")) {
        state.understood = true;
        readField(line, "lineHeight=", "lineHeight=%u", &m_lineHeight);
    } else if (startsWith(line, "page id")) {
        const size_t open = line.find('"');
        const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close == std::string::npos) {
            logDebugMessage("CCBMFontConfiguration: page line without a quoted file name");
            return;
        }
        int id = 0;
        readField(line, "id=", "id=%d", &id);
        const std::string name = line.substr(open + 1, close - open - 1);
        state.pages[id] = state.fntPath.empty()
                              ? name
                              : std::string(fullPathRelativeToFile(state.fntPath.c_str(), name.c_str()));
    } else if (startsWith(line, "chars c")) {
        return;
    } else if (startsWith(line, "char")) {
        CCBMFontGlyph g;
        readField(line, "id=", "id=%u", &g.id);
        readField(line, "x=", "x=%f", &g.x);
        readField(line, "y=", "y=%f", &g.y);
        readField(line, "width=", "width=%f", &g.width);
        readField(line, "height=", "height=%f", &g.height);
        readField(line, "xoffset=", "xoffset=%d", &g.xOffset);
        readField(line, "yoffset=", "yoffset=%d", &g.yOffset);
        readField(line, "xadvance=", "xadvance=%d", &g.xAdvance);
        int page = 0;
        readField(line, "page=", "page=%d", &page);
        state.understood = true;
        if (g.id < kMaxGlyphs) {
            m_glyphs[g.id] = g;
            ++state.glyphs;
            state.pagesUsed.insert(page);
        }
    } else if (startsWith(line, "kernings count")) {
        return;
    } else if (startsWith(line, "kerning first")) {
        int first = 0, second = 0, amount = 0;
        readField(line, "first=", "first=%d", &first);
        readField(line, "second=", "second=%d", &second);
        readField(line, "amount=", "amount=%d", &amount);
        m_kerning[(static_cast<uint32_t>(first) & 0xFFFFu) << 16 |
                  (static_cast<uint32_t>(second) & 0xFFFFu)] = amount;
    }
}

const CCBMFontGlyph& CCBMFontConfiguration::glyph(uint32_t code) const {
    static const CCBMFontGlyph none;
    return code < kMaxGlyphs ? m_glyphs[code] : none;
}

int CCBMFontConfiguration::kerningAmount(uint32_t first, uint32_t second) const {
    if (m_kerning.empty()) return 0;
    auto it = m_kerning.find((first & 0xFFFFu) << 16 | (second & 0xFFFFu));
    return it == m_kerning.end() ? 0 : it->second;
}

CCBMFontConfiguration* loadFontConfiguration(const char* fntFile) {
    if (!fntFile) {
        logDebugMessage("loadFontConfiguration: no font file named");
        return nullptr;
    }
    if (!g_configurations) {
        g_configurations = new CCMutableDictionary<std::string, CCBMFontConfiguration*>();
        CCSharedRegistry::add(&purgeFontConfigurations, kReleasedWithDirectorPurge);
    }
    if (CCBMFontConfiguration* known = g_configurations->objectForKey(fntFile)) return known;
    auto* configuration = new CCBMFontConfiguration();
    if (!configuration->initWithFNTFile(fntFile)) {
        configuration->release();
        return nullptr;
    }
    g_configurations->setObject(configuration, fntFile);
    configuration->release();
    return configuration;
}

void purgeFontConfigurations() {
    auto* configurations = g_configurations;
    g_configurations = nullptr;
    CCSharedRegistry::remove(&purgeFontConfigurations);
    if (configurations) configurations->release();
}

} // namespace kvengine
