#include "engine/textures/CCTextureCache.h"

#include "engine/base/CCLog.h"
#include "engine/files/CCFileUtils.h"
#include "engine/textures/CCDecodedImage.h"
#include "engine/textures/CCTexture2D.h"

#include <algorithm>
#include <cctype>

namespace kvengine {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

CCTextureCache::CCTextureCache() : m_textures(new CCMutableDictionary<std::string, CCTexture2D*>()) {}

CCTextureCache::~CCTextureCache() {
    m_textures->release();
}

CCTexture2D* CCTextureCache::addImage(const char* path) {
    if (path == nullptr) return nullptr;
    std::string key = path;
    removeHdSuffix(key);
    key = fullPathForFile(key.c_str());
    if (CCTexture2D* cached = m_textures->objectForKey(key)) return cached;

    const std::string lower = lowerCase(path);
    if (lower.find(".pvr") != std::string::npos) return addPVRImage(key.c_str());
    const bool jpeg = lower.find(".jpg") != std::string::npos || lower.find(".jpeg") != std::string::npos;

    CCFileBuffer file(key.c_str(), "rb");
    if (file.data == nullptr || file.size == 0) {
        logDebugMessage("texture cache: %s gives no data", key.c_str());
        return nullptr;
    }
    const int maxSize = CCTexture2D::getMaxTextureSize();
    const uint32_t limit = maxSize > 0 ? uint32_t(maxSize) : 0;
    CCDecodedImage image;
    const bool decoded = jpeg ? image.initWithJpegData(file.data, file.size, limit)
                              : image.initWithPngData(file.data, file.size, limit);
    if (!decoded) {
        logDebugMessage("texture cache: %s cannot be decoded", key.c_str());
        return nullptr;
    }
    CCTexture2D* texture = new CCTexture2D();
    if (!texture->initWithImage(&image)) {
        texture->release();
        return nullptr;
    }
    m_textures->setObject(texture, key);
    texture->autorelease();
    return texture;
}

CCTexture2D* CCTextureCache::addPVRImage(const char* path) {
    if (path == nullptr) return nullptr;
    // Keyed by full path like addImage, so that both ways to the same file meet in one entry.
    std::string key = path;
    removeHdSuffix(key);
    key = fullPathForFile(key.c_str());
    if (CCTexture2D* cached = m_textures->objectForKey(key)) return cached;
    CCTexture2D* texture = new CCTexture2D();
    if (!texture->initWithPVRFile(key.c_str())) {
        texture->release();
        return nullptr;
    }
    m_textures->setObject(texture, key);
    texture->autorelease();
    return texture;
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
    if (texture == nullptr) return;
    for (const std::string& key : m_textures->allKeysForObject(texture))
        m_textures->removeObjectForKey(key);
}

void CCTextureCache::removeTextureForKey(const char* path) {
    if (path == nullptr) return;
    m_textures->removeObjectForKey(fullPathForFile(path));
}

void CCTextureCache::removeAllTextures() {
    m_textures->removeAllObjects();
}

} // namespace kvengine
