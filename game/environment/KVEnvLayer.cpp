#include "game/environment/KVEnvLayer.h"

#include <cstdio>

#include "engine/actions/CCAnimate.h"
#include "engine/actions/CCRepeat.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/files/CCResourceIndex.h"
#include "engine/nodes/CCNode.h"
#include "engine/nodes/CCProtocols.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTexturePixels.h"
#include "engine/tilemaps/CCTMXTiledMap.h"
#include "game/data/KVGameSetup.h"

using namespace kvengine;

namespace {
// The engine's code of the 32-bit texture format.
constexpr int kPixelFormatRGBA8888 = kCCPixelFormatRGBA8888;
} // namespace

bool KVEnvLayer::initWithDictionary(kvdata::Dict* dictionary) {
    CCString* name = kvdata::stringAt(dictionary, "name");
    if (name != nullptr) name->retain();
    if (m_name != nullptr) m_name->release();
    m_name = name;
    m_kind = kUnknown;
    if (kvdata::hasKey(dictionary, "scale")) m_scale = kvdata::floatAt(dictionary, "scale");
    if (kvdata::hasKey(dictionary, "opacity")) {
        // Truncated as stored; out-of-range values are held to what a node can show.
        const float opacity = kvdata::floatAt(dictionary, "opacity") * 255.0f;
        m_opacity = opacity <= 0.0f ? 0 : opacity >= 255.0f ? 255 : static_cast<int>(opacity);
    }
    if (kvdata::hasKey(dictionary, "parallax_factor"))
        m_parallaxFactor = kvdata::floatAt(dictionary, "parallax_factor");
    if (kvdata::hasKey(dictionary, "zoom_factor")) m_zoomFactor = kvdata::floatAt(dictionary, "zoom_factor");
    m_fixed = false;
    if (kvdata::hasKey(dictionary, "use_pixel_format_32_bit"))
        m_pixelFormat32Bit = kvdata::boolAt(dictionary, "use_pixel_format_32_bit");
    if (kvdata::hasKey(dictionary, "blending_mode")) {
        const std::string mode = kvdata::textAt(dictionary, "blending_mode");
        m_blendingMode = mode == "additive"   ? kBlendAdditive
                         : mode == "multiply" ? kBlendMultiply
                                              : kBlendNormal;
    }
    return true;
}

void KVEnvLayer::resizeToNode(CCNode* levelNode) {
    (void)levelNode;
}

void KVEnvLayer::updateLayer(float zoomStep) {
    (void)zoomStep;
}

void KVEnvLayer::cleanupBeforeDelete() {
    if (m_name != nullptr) m_name->release();
    m_name = nullptr;
    setNode(nullptr);
    KVObject::cleanupBeforeDelete();
}

CCSize KVEnvLayer::levelSizeInPoints(CCNode* levelNode) {
    if (levelNode == nullptr) return CCSize(0, 0);
    if (auto* map = dynamic_cast<CCTMXTiledMap*>(levelNode)) {
        const float scale = CCDirector::sharedContentScaleFactor();
        return CCSize(map->getMapSize().width * map->getTileSize().width / scale,
                      map->getMapSize().height * map->getTileSize().height / scale);
    }
    return levelNode->getContentSize();
}

bool KVEnvLayer::blendFuncForMode(int mode, ccBlendFunc& blend) {
    if (mode == kBlendAdditive) {
        blend.src = GL_ONE;
        blend.dst = GL_ONE;
        return true;
    }
    if (mode == kBlendMultiply) {
        blend.src = GL_DST_COLOR;
        blend.dst = GL_ONE_MINUS_SRC_ALPHA;
        return true;
    }
    return false;
}

void KVEnvLayer::setNode(CCNode* node) {
    if (node != nullptr) node->retain();
    if (m_node != nullptr) m_node->release();
    m_node = node;
}

void KVEnvLayer::placeAtOrigin(CCNode* node) const {
    node->setScale(m_scale);
    node->setAnchorPoint(CCPoint(0, 0));
    node->setPosition(CCPoint(0, 0));
}

void KVEnvLayer::applyBlending(CCBlendProtocol* node) const {
    ccBlendFunc blend;
    if (node != nullptr && blendFuncForMode(m_blendingMode, blend)) node->setBlendFunc(blend);
}

void KVEnvLayer::useLayerPixelFormat() const {
    if (m_pixelFormat32Bit) CCTexture2D::setDefaultAlphaPixelFormat(kPixelFormatRGBA8888);
}

void KVEnvLayer::applySetupTexturePixelFormat() {
    CCTexture2D::setDefaultAlphaPixelFormat(KVGameSetup::getInstance()->texturePixelFormat);
}

std::string KVEnvLayer::resourcePath(const std::string& fileName) {
    if (!fileName.empty() && fileName[0] == '/') return fileName;
    return CCResourceIndex::getInstance()->pathForFileName(fileName);
}

bool KVEnvLayer::loadSheetFrames(const std::string& sheetName) const {
    const std::string file = sheetName + ".plist";
    if (file[0] != '/' && !CCResourceIndex::getInstance()->containsFileName(file)) {
        logProblem("no sprite sheet " + file);
        return false;
    }
    CCSpriteFrameCache::getInstance()->addSpriteFramesWithFile(resourcePath(file).c_str());
    return true;
}

CCAnimation* KVEnvLayer::numberedFrames(const std::string& prefix, int first, int last, float delay) const {
    if (last < first || last - first >= kMaxFrames) {
        logProblem("no frames from " + std::to_string(first) + " to " + std::to_string(last));
        return nullptr;
    }
    CCAnimation* animation = CCAnimation::create();
    animation->setDelay(delay);
    char number[16];
    for (int i = first; i <= last; ++i) {
        std::snprintf(number, sizeof number, "%.2d.png", i);
        animation->addFrameWithName((prefix + number).c_str());
    }
    return animation;
}

void KVEnvLayer::runForever(CCNode* sprite, CCAnimation* animation) {
    if (sprite == nullptr || animation == nullptr || animation->getFrames()->count() == 0) return;
    sprite->runAction(
        CCRepeatForever::createWithAction(CCAnimate::createWithAnimationRestore(animation, false)));
}

void KVEnvLayer::logProblem(const std::string& message) const {
    logDebugMessage("%s '%s': %s", className(), m_name != nullptr ? m_name->c_str() : "", message.c_str());
}
