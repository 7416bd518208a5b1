#include "engine/sprites/CCSpriteFrameCache.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/textures/CCTextureCache.h"

#include <cmath>
#include <cstdlib>

namespace kvengine {

namespace {

using Dictionary = CCMutableDictionary<std::string, CCObject*>;

// Property-list scalars arrive as CCString; anything else reads as absent.
const char* textFor(Dictionary* dict, const char* key) {
    if (!dict) return "";
    CCObject* value = dict->objectForKey(key);
    if (!value || !value->isKindOf("CCString")) return "";
    return static_cast<CCString*>(value)->c_str();
}

Dictionary* dictionaryFor(Dictionary* dict, const char* key) {
    if (!dict) return nullptr;
    CCObject* value = dict->objectForKey(key);
    if (!value || !value->isKindOf("CCMutableDictionary")) return nullptr;
    return static_cast<Dictionary*>(value);
}

int sheetFormat(Dictionary* sheet) {
    Dictionary* metadata = dictionaryFor(sheet, "metadata");
    return metadata ? std::atoi(textFor(metadata, "format")) : 0;
}

bool parsePair(const char* text, float* a, float* b) {
    std::vector<std::string> pieces;
    if (!text || !splitBracedPair(text, &pieces)) return false;
    *a = static_cast<float>(std::atof(pieces[0].c_str()));
    *b = static_cast<float>(std::atof(pieces[1].c_str()));
    return true;
}

// The texture beside a sheet without a texture name: the sheet's name with ".png" in place of
// its extension. Only a dot in the file-name part counts, so dotted folder names stay intact.
std::string defaultTexturePath(const std::string& plistPath) {
    const size_t slash = plistPath.find_last_of('/');
    const size_t dot = plistPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return plistPath + ".png";
    return plistPath.substr(0, dot) + ".png";
}

} // namespace

// --- brace texts -----------------------------------------------------------------------------

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

bool splitBracedPair(const std::string& text, std::vector<std::string>* pieces) {
    const size_t open = text.find('{');
    const size_t close = text.find('}');
    if (open == std::string::npos || close == std::string::npos || close < open) return false;
    const std::string inner = text.substr(open + 1, close - open - 1);
    if (inner.empty() || inner.find('{') != std::string::npos) return false;
    std::vector<std::string> parts = splitAtCommas(inner);
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) return false;
    if (pieces) *pieces = std::move(parts);
    return true;
}

CCPoint CCPointFromString(const char* text) {
    float x = 0, y = 0;
    return parsePair(text, &x, &y) ? CCPoint(x, y) : CCPointZero;
}

CCSize CCSizeFromString(const char* text) {
    float w = 0, h = 0;
    return parsePair(text, &w, &h) ? CCSize(w, h) : CCSizeZero;
}

CCRect CCRectFromString(const char* text) {
    if (!text) return CCRectZero;
    const std::string all(text);
    const size_t open = all.find('{');
    size_t close = all.find('}');
    for (int i = 1; i < 3 && close != std::string::npos; ++i)
        close = all.find('}', close + 1);
    if (open == std::string::npos || close == std::string::npos || close < open) return CCRectZero;
    const std::string inner = all.substr(open + 1, close - open - 1);
    const size_t originEnd = inner.find('}');
    if (originEnd == std::string::npos) return CCRectZero;
    const size_t comma = inner.find(',', originEnd);
    if (comma == std::string::npos) return CCRectZero;
    float x = 0, y = 0, w = 0, h = 0;
    if (!parsePair(inner.substr(0, comma).c_str(), &x, &y)) return CCRectZero;
    if (!parsePair(inner.substr(comma + 1).c_str(), &w, &h)) return CCRectZero;
    return CCRect(x, y, w, h);
}

// --- the cache -------------------------------------------------------------------------------

CCSpriteFrameCache::CCSpriteFrameCache()
    : m_frames(new CCMutableDictionary<std::string, CCSpriteFrame*>()),
      m_aliases(new CCMutableDictionary<std::string, CCString*>()) {}

CCSpriteFrameCache::~CCSpriteFrameCache() {
    m_frames->release();
    m_aliases->release();
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plistFile) {
    if (!plistFile || !*plistFile) {
        logDebugMessage("CCSpriteFrameCache: no sheet file named");
        return;
    }
    const std::string path = fullPathForFile(plistFile);
    bool wellFormed = false;
    Dictionary* sheet = dictionaryWithContentsOfFile(path.c_str(), &wellFormed);
    if (!sheet || !wellFormed) {
        // A sheet cut short would still give the frames before the cut: none are taken.
        logDebugMessage("CCSpriteFrameCache: cannot read the sheet %s", plistFile);
        return;
    }
    std::string texturePath;
    const char* textureName = textFor(dictionaryFor(sheet, "metadata"), "textureFileName");
    if (*textureName)
        texturePath = fullPathRelativeToFile(path.c_str(), textureName);
    else
        texturePath = defaultTexturePath(path);
    CCTexture2D* texture = CCTextureCache::getInstance()->addImage(texturePath.c_str());
    if (!texture) {
        logDebugMessage("CCSpriteFrameCache: no texture %s for the sheet %s", texturePath.c_str(), plistFile);
        return;
    }
    addSpriteFramesWithDictionary(sheet, texture);
}

void CCSpriteFrameCache::addSpriteFramesWithDictionary(Dictionary* sheet, CCTexture2D* texture) {
    Dictionary* frames = dictionaryFor(sheet, "frames");
    if (!frames) {
        logDebugMessage("CCSpriteFrameCache: the sheet has no \"frames\"");
        return;
    }
    const int format = sheetFormat(sheet);
    if (format < 0 || format > 3) {
        logDebugMessage("CCSpriteFrameCache: unsupported sheet format %d", format);
        return;
    }
    for (const std::string& name : frames->allKeys()) {
        if (m_frames->objectForKey(name)) continue;
        Dictionary* entry = dictionaryFor(frames, name.c_str());
        if (!entry) {
            logDebugMessage("CCSpriteFrameCache: frame %s is not a dictionary", name.c_str());
            continue;
        }
        CCRect rect;
        CCPoint offset;
        CCSize size;
        bool rotated = false;
        if (format == 0) {
            rect = CCRect(static_cast<float>(std::atof(textFor(entry, "x"))),
                          static_cast<float>(std::atof(textFor(entry, "y"))),
                          static_cast<float>(std::atof(textFor(entry, "width"))),
                          static_cast<float>(std::atof(textFor(entry, "height"))));
            offset = CCPoint(static_cast<float>(std::atof(textFor(entry, "offsetX"))),
                             static_cast<float>(std::atof(textFor(entry, "offsetY"))));
            size = CCSize(static_cast<float>(std::abs(std::atoi(textFor(entry, "originalWidth")))),
                          static_cast<float>(std::abs(std::atoi(textFor(entry, "originalHeight")))));
        } else if (format == 1 || format == 2) {
            rect = CCRectFromString(textFor(entry, "frame"));
            offset = CCPointFromString(textFor(entry, "offset"));
            size = CCSizeFromString(textFor(entry, "sourceSize"));
            rotated = format == 2 && std::atoi(textFor(entry, "rotated")) != 0;
        } else {
            const CCSize spriteSize = CCSizeFromString(textFor(entry, "spriteSize"));
            const CCRect textureRect = CCRectFromString(textFor(entry, "textureRect"));
            rect = CCRect(textureRect.origin, spriteSize);
            offset = CCPointFromString(textFor(entry, "spriteOffset"));
            size = CCSizeFromString(textFor(entry, "spriteSourceSize"));
            rotated = std::atoi(textFor(entry, "textureRotated")) != 0;
            CCObject* aliases = entry->objectForKey("aliases");
            if (aliases && aliases->isKindOf("CCMutableArray")) {
                auto* list = static_cast<CCMutableArray<CCObject*>*>(aliases);
                for (unsigned i = 0; i < list->count(); ++i) {
                    CCObject* alias = list->objectAtIndex(i);
                    if (!alias || !alias->isKindOf("CCString")) continue;
                    auto* target = new CCString(name);
                    m_aliases->setObject(target, static_cast<CCString*>(alias)->text);
                    target->release();
                }
            }
        }
        auto* frame = new CCSpriteFrame();
        frame->initWithTexture(texture, rect, rotated, offset, size);
        m_frames->setObject(frame, name);
        frame->release();
    }
}

CCSpriteFrame* CCSpriteFrameCache::findSpriteFrameByName(const char* name) {
    if (!name) {
        logDebugMessage("CCSpriteFrameCache: null frame name");
        return nullptr;
    }
    if (CCSpriteFrame* frame = m_frames->objectForKey(name)) return frame;
    if (CCString* target = m_aliases->objectForKey(name))
        if (CCSpriteFrame* frame = m_frames->objectForKey(target->text)) return frame;
    logDebugMessage("CCSpriteFrameCache: no frame named %s", name);
    return nullptr;
}

bool CCSpriteFrameCache::hasSpriteFrame(const char* name) {
    if (!name) return false;
    if (m_frames->objectForKey(name)) return true;
    CCString* target = m_aliases->objectForKey(name);
    return target && m_frames->objectForKey(target->text);
}

void CCSpriteFrameCache::removeSpriteFramesFromFile(const char* plistFile) {
    if (!plistFile || !*plistFile) return;
    const std::string path = fullPathForFile(plistFile);
    bool wellFormed = false;
    Dictionary* sheet = dictionaryWithContentsOfFile(path.c_str(), &wellFormed);
    if (!sheet || !wellFormed) {
        // A sheet cut short would still give the frames before the cut: none are taken.
        logDebugMessage("CCSpriteFrameCache: cannot read the sheet %s", plistFile);
        return;
    }
    removeSpriteFramesFromDictionary(sheet);
}

void CCSpriteFrameCache::removeSpriteFramesFromDictionary(Dictionary* sheet) {
    Dictionary* frames = dictionaryFor(sheet, "frames");
    if (!frames) return;
    std::vector<std::string> present;
    for (const std::string& name : frames->allKeys())
        if (m_frames->objectForKey(name)) present.push_back(name);
    for (const std::string& name : present)
        m_frames->removeObjectForKey(name);
}

void CCSpriteFrameCache::removeAllSpriteFrames() {
    m_frames->removeAllObjects();
    m_aliases->removeAllObjects();
}

} // namespace kvengine
