#include "game/environment/KVEnvLayerCaustics.h"

#include <cmath>

#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTextureCache.h"
#include "game/environment/KVEnvDrawing.h"

using namespace kvengine;

namespace {
const char* const kSheet = "caustic_ss";
const char* const kFirstFrame = "caustic_01.png";
constexpr int kFrameCount = 16;
constexpr float kFrameDelay = 0.1f;
// A level is a few thousand points; this bounds the sprites a broken scale could ask for.
constexpr long kMaxTiles = 4096;
// Glow fainter than this (alpha 0..1) is left out: it would cost most of a window of fill.
constexpr float kDroppedGlow = 0.2f;
} // namespace

KVEnvLayerCaustics* KVEnvLayerCaustics::createMenuCausticsLayer() {
    auto* layer = new KVEnvLayerCaustics();
    kvdata::Dict* dictionary = kvdata::newDict();
    kvdata::setText(dictionary, "blending_mode", "additive");
    kvdata::setText(dictionary, "scale", "2");
    kvdata::setText(dictionary, "opacity", "0.1");
    kvdata::setText(dictionary, "parallax_factor", "1");
    kvdata::setText(dictionary, "zoom_factor", "1");
    if (!layer->initWithDictionary(dictionary)) {
        layer->release();
        return nullptr;
    }
    const CCSize window = CCDirector::getInstance()->getWinSize();
    layer->tileArea(window.width, window.height);
    layer->autorelease();
    return layer;
}

bool KVEnvLayerCaustics::initWithDictionary(kvdata::Dict* dictionary) {
    KVEnvLayer::initWithDictionary(dictionary);
    m_kind = kCaustics;
    useLayerPixelFormat();
    const bool loaded = loadSheetFrames(kSheet);
    CCTexture2D* texture =
        loaded
            ? CCTextureCache::getInstance()->addImage(resourcePath(std::string(kSheet) + ".pvr.ccz").c_str())
            : nullptr;
    // The frames carry a glow everywhere, added over the scene: only the bright lines are drawn.
    CCSpriteBatchNode* batch = KVAlphaTestedBatchNode::createWithTexture(texture, kDroppedGlow);
    applySetupTexturePixelFormat();
    if (batch == nullptr) {
        logProblem("the caustics sheet cannot be loaded");
        return false;
    }
    batch->setAnchorPoint(CCPoint(0, 0));
    batch->setPosition(CCPoint(0, 0));
    batch->setTag(kNodeTag);
    batch->setBlendFunc(ccBlendFunc{GL_SRC_ALPHA, GL_ONE});
    setNode(batch);
    return true;
}

void KVEnvLayerCaustics::resizeToNode(CCNode* levelNode) {
    const CCSize level = levelSizeInPoints(levelNode);
    tileArea(level.width, level.height);
}

void KVEnvLayerCaustics::tileArea(float width, float height) {
    if (m_node == nullptr) return;
    m_node->removeAllChildren(true);
    m_columns = m_rows = 0;
    m_node->setContentSize(CCSize(width, height));
    CCSpriteFrame* first = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(kFirstFrame);
    const float tileWidth = first != nullptr ? first->getRect().size.width * m_scale : 0.0f;
    const float tileHeight = first != nullptr ? first->getRect().size.height * m_scale : 0.0f;
    if (!(tileWidth > 0.0f && tileHeight > 0.0f) || !(width >= 0.0f && height >= 0.0f)) {
        logProblem("no tile to lay (missing frame, or a scale of 0)");
        return;
    }
    const double columns = std::ceil(width / tileWidth);
    const double rows = std::ceil(height / tileHeight);
    if (columns * rows > kMaxTiles) {
        logProblem("refusing " + std::to_string(columns * rows) + " tiles");
        return;
    }
    m_columns = static_cast<int>(columns);
    m_rows = static_cast<int>(rows);
    CCAnimation* animation = numberedFrames("caustic_", 1, kFrameCount, kFrameDelay);
    for (int c = 0; c < m_columns; ++c) {
        for (int r = 0; r < m_rows; ++r) {
            CCSprite* tile = CCSprite::createWithSpriteFrame(first);
            runForever(tile, animation);
            tile->setAnchorPoint(CCPoint(0, 0));
            tile->setScale(m_scale);
            tile->setOpacity(255);
            tile->setPosition(CCPoint(c * tileWidth, r * tileHeight));
            m_node->addChild(tile);
        }
    }
    m_scale = 1.0f;
}
