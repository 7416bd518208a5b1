#include "engine/sprites/CCSpriteFrameCache.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/files/CCFileUtils.h"
#include "engine/files/CCPlistReader.h"
#include "engine/files/CCPlistValues.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/textures/CCTextureCache.h"

#include <cmath>
#include <cstdlib>

namespace kvengine {

namespace {

using Dictionary = plist::Dict;

int sheetFormat(Dictionary* sheet) {
    Dictionary* metadata = plist::dictAt(sheet, "metadata");
    return metadata ? plist::intAt(metadata, "format") : 0;
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
    const std::string textureName = plist::textAt(plist::dictAt(sheet, "metadata"), "textureFileName");
    if (!textureName.empty())
        texturePath = fullPathRelativeToFile(path.c_str(), textureName.c_str());
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
    Dictionary* frames = plist::dictAt(sheet, "frames");
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
        Dictionary* entry = plist::dictAt(frames, name);
        if (!entry) {
            logDebugMessage("CCSpriteFrameCache: frame %s is not a dictionary", name.c_str());
            continue;
        }
        CCRect rect;
        CCPoint offset;
        CCSize size;
        bool rotated = false;
        if (format == 0) {
            rect = CCRect(plist::floatAt(entry, "x"), plist::floatAt(entry, "y"),
                          plist::floatAt(entry, "width"), plist::floatAt(entry, "height"));
            offset = CCPoint(plist::floatAt(entry, "offsetX"), plist::floatAt(entry, "offsetY"));
            size = CCSize(std::fabs(static_cast<float>(plist::intAt(entry, "originalWidth"))),
                          std::fabs(static_cast<float>(plist::intAt(entry, "originalHeight"))));
        } else if (format == 1 || format == 2) {
            rect = CCRectFromString(plist::textAt(entry, "frame").c_str());
            offset = CCPointFromString(plist::textAt(entry, "offset").c_str());
            size = CCSizeFromString(plist::textAt(entry, "sourceSize").c_str());
            rotated = format == 2 && plist::intAt(entry, "rotated") != 0;
        } else {
            const CCSize spriteSize = CCSizeFromString(plist::textAt(entry, "spriteSize").c_str());
            const CCRect textureRect = CCRectFromString(plist::textAt(entry, "textureRect").c_str());
            rect = CCRect(textureRect.origin, spriteSize);
            offset = CCPointFromString(plist::textAt(entry, "spriteOffset").c_str());
            size = CCSizeFromString(plist::textAt(entry, "spriteSourceSize").c_str());
            rotated = plist::intAt(entry, "textureRotated") != 0;
            if (plist::Array* list = plist::arrayAt(entry, "aliases")) {
                for (unsigned i = 0; i < list->count(); ++i) {
                    CCString* alias = plist::asString(list->objectAtIndex(i));
                    if (!alias) continue;
                    auto* target = new CCString(name);
                    m_aliases->setObject(target, alias->text);
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
    Dictionary* frames = plist::dictAt(sheet, "frames");
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
