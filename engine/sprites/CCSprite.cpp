#include "engine/sprites/CCSprite.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSpriteBatchNode.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/textures/CCTextureCache.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace kvengine {

namespace {

constexpr float kDegreesToRadians = 0.017453292f;
constexpr ccBlendFunc kPremultipliedBlend{1, 771};
constexpr ccBlendFunc kStraightAlphaBlend{770, 771};

float contentScale() {
    return CCDirector::sharedContentScaleFactor();
}

CCSprite* finishCreate(CCSprite* sprite, bool ok) {
    if (!ok) {
        sprite->release();
        return nullptr;
    }
    sprite->autorelease();
    return sprite;
}

CCAffineTransform skewTransform(float skewX, float skewY) {
    return makeAffineTransform(1.0f, std::tan(skewY * kDegreesToRadians), std::tan(skewX * kDegreesToRadians),
                               1.0f, 0.0f, 0.0f);
}

} // namespace

// --- creation --------------------------------------------------------------------------------

CCSprite* CCSprite::createWithFile(const char* file) {
    auto* sprite = new CCSprite();
    return finishCreate(sprite, sprite->initWithFile(file));
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture) {
    auto* sprite = new CCSprite();
    return finishCreate(sprite, sprite->initWithTexture(texture));
}

CCSprite* CCSprite::createWithSpriteFrame(CCSpriteFrame* frame) {
    auto* sprite = new CCSprite();
    return finishCreate(sprite, sprite->initWithSpriteFrame(frame));
}

CCSprite* CCSprite::createWithSpriteFrameName(const char* name) {
    CCSpriteFrame* frame = CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name);
    return frame ? createWithSpriteFrame(frame) : nullptr; // the cache logged the missing name
}

CCSprite::CCSprite() {
    CCSprite::init();
}

CCSprite::~CCSprite() {
    // Batched sprites are retained by their batch node; a sprite queued without being in its
    // descendants (a tile drawn through insertQuadFromSprite) must not stay on the queue.
    if (m_updateSlot != kIndexNotInitialized && m_batchNode) m_batchNode->forgetQueuedSprite(this);
    if (m_texture) m_texture->release();
}

// --- initialisation ----------------------------------------------------------------------------

bool CCSprite::init() {
    m_dirty = m_recursiveDirty = false;
    useSelfRender();
    m_opacity = 255;
    m_color = m_colorUnmodified = ccColor3B{255, 255, 255};
    m_opacityModifyRGB = true;
    m_blendFunc = kPremultipliedBlend;
    setTexture(nullptr);
    m_quad = ccV3F_C4B_T2F_Quad();
    m_flipX = m_flipY = false;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    m_offsetPositionInPixels = CCPointZero;
    m_honorParentTransform = kHonorAll;
    m_hasChildren = false;
    const ccColor4B white{255, 255, 255, 255};
    m_quad.tl.colors = m_quad.bl.colors = m_quad.tr.colors = m_quad.br.colors = white;
    setTextureRectInPixels(CCRectZero, false, CCSizeZero);
    return true;
}

bool CCSprite::initWithTextureRect(CCTexture2D* texture, const CCRect& rect) {
    init();
    setTexture(texture);
    setTextureRect(rect);
    return true;
}

bool CCSprite::initWithTexture(CCTexture2D* texture) {
    if (!texture) {
        logDebugMessage("CCSprite: no texture to show");
        return false;
    }
    const CCSize size = texture->getContentSize();
    return initWithTextureRect(texture, CCRect(0, 0, size.width, size.height));
}

bool CCSprite::initWithFile(const char* file) {
    CCTexture2D* texture = file ? CCTextureCache::getInstance()->addImage(file) : nullptr;
    if (!texture) {
        logDebugMessage("CCSprite: cannot load the image %s", file ? file : "(null)");
        return false;
    }
    return initWithTexture(texture);
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
    if (!frame) {
        logDebugMessage("CCSprite: no sprite frame to show");
        return false;
    }
    const bool ok = initWithTextureRect(frame->getTexture(), frame->getRect());
    setDisplayFrame(frame);
    return ok;
}

bool CCSprite::initWithBatchNodeRect(CCSpriteBatchNode* batchNode, const CCRect& rect) {
    if (!batchNode) {
        logDebugMessage("CCSprite: no batch node");
        return false;
    }
    const bool ok = initWithTextureRect(batchNode->getTexture(), rect);
    useBatchNode(batchNode);
    return ok;
}

bool CCSprite::initWithBatchNodeRectInPixels(CCSpriteBatchNode* batchNode, const CCRect& rect) {
    if (!batchNode || !batchNode->getTexture()) {
        logDebugMessage("CCSprite: no batch node texture");
        return false;
    }
    if (!initWithTexture(batchNode->getTexture())) return false;
    setTextureRectInPixels(rect, false, rect.size);
    useBatchNode(batchNode);
    return true;
}

// --- rectangle ---------------------------------------------------------------------------------

void CCSprite::setTextureRect(const CCRect& rect) {
    const float f = contentScale();
    const CCRect pixels(rect.origin.x * f, rect.origin.y * f, rect.size.width * f, rect.size.height * f);
    setTextureRectInPixels(pixels, false, pixels.size);
}

void CCSprite::setTextureRectInPixels(const CCRect& rect, bool rotated, const CCSize& untrimmedSize) {
    m_rectInPixels = rect;
    const float f = contentScale();
    m_rect = CCRect(rect.origin.x / f, rect.origin.y / f, rect.size.width / f, rect.size.height / f);
    m_rectRotated = rotated;
    setContentSizeInPixels(untrimmedSize);
    updateTextureCoords(m_rectInPixels);

    CCPoint relative = m_unflippedOffsetPositionFromCenter;
    if (m_flipX) relative.x = -relative.x;
    if (m_flipY) relative.y = -relative.y;
    m_offsetPositionInPixels.x = relative.x + (m_contentSizeInPixels.width - m_rectInPixels.size.width) / 2;
    m_offsetPositionInPixels.y = relative.y + (m_contentSizeInPixels.height - m_rectInPixels.size.height) / 2;

    if (m_usesBatchNode)
        queueForUpdate();
    else
        buildSelfQuadPositions();
}

void CCSprite::buildSelfQuadPositions() {
    const float x1 = m_offsetPositionInPixels.x;
    const float y1 = m_offsetPositionInPixels.y;
    const float x2 = x1 + m_rectInPixels.size.width;
    const float y2 = y1 + m_rectInPixels.size.height;
    m_quad.bl.vertices = ccVertex3F{x1, y1, 0};
    m_quad.br.vertices = ccVertex3F{x2, y1, 0};
    m_quad.tl.vertices = ccVertex3F{x1, y2, 0};
    m_quad.tr.vertices = ccVertex3F{x2, y2, 0};
}

void CCSprite::updateTextureCoords(const CCRect& rect) {
    CCTexture2D* texture = m_usesBatchNode && m_textureAtlas ? m_textureAtlas->getTexture() : m_texture;
    if (!texture || texture->getPixelsWide() == 0 || texture->getPixelsHigh() == 0) return;
    const float wide = static_cast<float>(texture->getPixelsWide());
    const float high = static_cast<float>(texture->getPixelsHigh());
    float left = rect.origin.x / wide;
    float top = rect.origin.y / high;
    if (m_rectRotated) {
        float right = left + rect.size.height / wide;
        float bottom = top + rect.size.width / high;
        if (m_flipX) std::swap(top, bottom);
        if (m_flipY) std::swap(left, right);
        m_quad.bl.texCoords = ccTex2F{left, top};
        m_quad.br.texCoords = ccTex2F{left, bottom};
        m_quad.tl.texCoords = ccTex2F{right, top};
        m_quad.tr.texCoords = ccTex2F{right, bottom};
    } else {
        float right = left + rect.size.width / wide;
        float bottom = top + rect.size.height / high;
        if (m_flipX) std::swap(left, right);
        if (m_flipY) std::swap(top, bottom);
        m_quad.bl.texCoords = ccTex2F{left, bottom};
        m_quad.br.texCoords = ccTex2F{right, bottom};
        m_quad.tl.texCoords = ccTex2F{left, top};
        m_quad.tr.texCoords = ccTex2F{right, top};
    }
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
    if (!frame) {
        logDebugMessage("CCSprite::setDisplayFrame: null frame ignored");
        return;
    }
    m_unflippedOffsetPositionFromCenter = frame->getOffsetInPixels();
    CCTexture2D* texture = frame->getTexture();
    if (texture != m_texture) setTexture(texture);
    m_rectRotated = frame->isRotated();
    setTextureRectInPixels(frame->getRectInPixels(), frame->isRotated(), frame->getOriginalSizeInPixels());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) const {
    if (!frame) return false;
    const uint32_t mine = m_texture ? m_texture->getName() : 0;
    const uint32_t theirs = frame->getTexture() ? frame->getTexture()->getName() : 0;
    return rectEqualToRect(m_rect, frame->getRect()) && mine == theirs;
}

CCSpriteFrame* CCSprite::createDisplayedFrame() {
    return CCSpriteFrame::createWithTexture(m_texture, m_rectRotated, m_rectInPixels,
                                            m_unflippedOffsetPositionFromCenter, m_contentSizeInPixels);
}

void CCSprite::setFlipX(bool flip) {
    if (m_flipX == flip) return;
    m_flipX = flip;
    setTextureRectInPixels(m_rectInPixels, m_rectRotated, m_contentSizeInPixels);
}

void CCSprite::setFlipY(bool flip) {
    if (m_flipY == flip) return;
    m_flipY = flip;
    setTextureRectInPixels(m_rectInPixels, m_rectRotated, m_contentSizeInPixels);
}

// --- batch membership ----------------------------------------------------------------------------

void CCSprite::useBatchNode(CCSpriteBatchNode* batchNode) {
    m_usesBatchNode = true;
    m_textureAtlas = batchNode ? batchNode->getTextureAtlas() : nullptr;
    m_batchNode = batchNode;
}

void CCSprite::queueForUpdate() {
    m_dirty = true;
    if (m_updateSlot == kIndexNotInitialized && m_usesBatchNode && m_batchNode)
        m_batchNode->queueSpriteForUpdate(this);
}

void CCSprite::useSelfRender() {
    if (m_updateSlot != kIndexNotInitialized && m_batchNode) m_batchNode->forgetQueuedSprite(this);
    m_updateSlot = kIndexNotInitialized;
    m_atlasIndex = kIndexNotInitialized;
    m_usesBatchNode = false;
    m_textureAtlas = nullptr;
    m_batchNode = nullptr;
    m_dirty = m_recursiveDirty = false;
    buildSelfQuadPositions();
}

void CCSprite::markBatchDirty() {
    if (!m_usesBatchNode || m_recursiveDirty) return;
    m_recursiveDirty = true;
    queueForUpdate();
    if (m_hasChildren) setDirtyRecursively(true);
}

bool CCSprite::isSimpleInBatch() const {
    return m_usesBatchNode && !m_dirty && m_parent == static_cast<const CCNode*>(m_batchNode) &&
           m_rotation == 0.0f && m_skewX == 0.0f && m_skewY == 0.0f && !m_hasChildren && m_visible &&
           m_textureAtlas != nullptr && m_atlasIndex < m_textureAtlas->getTotalQuads();
}

ccV3F_C4B_T2F_Quad* CCSprite::atlasQuad() const {
    if (!m_textureAtlas || m_atlasIndex >= m_textureAtlas->getTotalQuads()) return nullptr;
    return m_textureAtlas->getQuads() + m_atlasIndex;
}

// The transform (scale, then position, less the scaled anchor) written out: the same products and
// sums, in the same order, as the general matrix gives for an angle and skew of 0, so a quad
// written here equals one rebuilt by updateTransform.
void CCSprite::writeSimpleCorners(ccV3F_C4B_T2F_Quad& quad) const {
    const float tx = m_positionInPixels.x + m_scaleX * -m_anchorPointInPixels.x;
    const float ty = m_positionInPixels.y + m_scaleY * -m_anchorPointInPixels.y;
    const float x1 = m_offsetPositionInPixels.x;
    const float y1 = m_offsetPositionInPixels.y;
    const float x2 = x1 + m_rectInPixels.size.width;
    const float y2 = y1 + m_rectInPixels.size.height;
    const float left = x1 * m_scaleX + tx, right = x2 * m_scaleX + tx;
    const float bottom = y1 * m_scaleY + ty, top = y2 * m_scaleY + ty;
    quad.bl.vertices = ccVertex3F{left, bottom, m_vertexZ};
    quad.br.vertices = ccVertex3F{right, bottom, m_vertexZ};
    quad.tr.vertices = ccVertex3F{right, top, m_vertexZ};
    quad.tl.vertices = ccVertex3F{left, top, m_vertexZ};
}

void CCSprite::positionChanged() {
    if (!isSimpleInBatch()) {
        markBatchDirty();
        return;
    }
    writeSimpleCorners(m_quad);
    ccV3F_C4B_T2F_Quad& target = m_textureAtlas->getQuads()[m_atlasIndex];
    target.bl.vertices = m_quad.bl.vertices;
    target.br.vertices = m_quad.br.vertices;
    target.tr.vertices = m_quad.tr.vertices;
    target.tl.vertices = m_quad.tl.vertices;
}

void CCSprite::setDirtyRecursively(bool value) {
    m_recursiveDirty = value;
    if (value)
        queueForUpdate();
    else
        m_dirty = false;
    if (!m_hasChildren || !m_children) return;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        auto* child = dynamic_cast<CCSprite*>(m_children->objectAtIndex(i));
        if (child) child->setDirtyRecursively(true);
    }
}

void CCSprite::writeDegenerateQuad() {
    m_quad.tl.vertices = m_quad.bl.vertices = m_quad.tr.vertices = m_quad.br.vertices = ccVertex3F{0, 0, 0};
    if (m_textureAtlas && m_atlasIndex != kIndexNotInitialized)
        m_textureAtlas->updateQuad(m_quad, m_atlasIndex);
    m_dirty = m_recursiveDirty = false;
}

void CCSprite::updateTransform() {
    if (!m_dirty) return;
    if (!m_visible) {
        writeDegenerateQuad();
        return;
    }
    const bool direct = !m_parent || m_parent == static_cast<CCNode*>(m_batchNode);
    if (direct && m_rotation == 0.0f && m_skewX == 0.0f && m_skewY == 0.0f) {
        writeSimpleCorners(m_quad);
        if (m_textureAtlas && m_atlasIndex != kIndexNotInitialized)
            m_textureAtlas->updateQuad(m_quad, m_atlasIndex);
        m_dirty = m_recursiveDirty = false;
        return;
    }
    CCAffineTransform matrix;
    if (direct) {
        // Most batched sprites are not rotated: skip the trigonometry for them.
        const float radians = -m_rotation * kDegreesToRadians;
        const float c = m_rotation == 0.0f ? 1.0f : std::cos(radians);
        const float s = m_rotation == 0.0f ? 0.0f : std::sin(radians);
        matrix = makeAffineTransform(c * m_scaleX, s * m_scaleX, -s * m_scaleY, c * m_scaleY,
                                     m_positionInPixels.x, m_positionInPixels.y);
        if (m_skewX != 0.0f || m_skewY != 0.0f)
            matrix = concatAffineTransform(skewTransform(m_skewX, m_skewY), matrix);
        matrix = translateAffineTransform(matrix, -m_anchorPointInPixels.x, -m_anchorPointInPixels.y);
    } else {
        matrix = CCAffineTransformIdentity;
        int previousHonor = kHonorAll;
        for (CCNode* p = this; p && p != static_cast<CCNode*>(m_batchNode); p = p->getParent()) {
            if (!p->isVisible()) {
                writeDegenerateQuad();
                return;
            }
            CCAffineTransform n = CCAffineTransformIdentity;
            if (previousHonor & kHonorTranslate) {
                const CCPoint position = p->getPositionInPixels();
                n = translateAffineTransform(n, position.x, position.y);
            }
            if (previousHonor & kHonorRotate)
                n = rotateAffineTransform(n, -p->getRotation() * kDegreesToRadians);
            if (previousHonor & kHonorSkew)
                n = concatAffineTransform(skewTransform(p->getSkewX(), p->getSkewY()), n);
            if (previousHonor & kHonorScale) n = scaleAffineTransform(n, p->getScaleX(), p->getScaleY());
            const CCPoint anchor = p->getAnchorPointInPixels();
            n = translateAffineTransform(n, -anchor.x, -anchor.y);
            matrix = concatAffineTransform(matrix, n);
            auto* sprite = dynamic_cast<CCSprite*>(p);
            previousHonor = sprite ? sprite->m_honorParentTransform : kHonorAll;
        }
    }

    const float x1 = m_offsetPositionInPixels.x;
    const float y1 = m_offsetPositionInPixels.y;
    const float x2 = x1 + m_rectInPixels.size.width;
    const float y2 = y1 + m_rectInPixels.size.height;
    auto corner = [&](float x, float y) {
        return ccVertex3F{x * matrix.a + y * matrix.c + matrix.tx, x * matrix.b + y * matrix.d + matrix.ty,
                          m_vertexZ};
    };
    m_quad.bl.vertices = corner(x1, y1);
    m_quad.br.vertices = corner(x2, y1);
    m_quad.tr.vertices = corner(x2, y2);
    m_quad.tl.vertices = corner(x1, y2);
    if (m_textureAtlas && m_atlasIndex != kIndexNotInitialized)
        m_textureAtlas->updateQuad(m_quad, m_atlasIndex);
    m_dirty = m_recursiveDirty = false;
}

// --- node properties -----------------------------------------------------------------------------

void CCSprite::setVertexZ(float z) {
    CCNode::setVertexZ(z);
    markBatchDirty();
}

void CCSprite::setRotation(float degrees) {
    CCNode::setRotation(degrees);
    markBatchDirty();
}

void CCSprite::setScaleX(float scale) {
    CCNode::setScaleX(scale);
    positionChanged();
}

void CCSprite::setScaleY(float scale) {
    CCNode::setScaleY(scale);
    positionChanged();
}

void CCSprite::setScale(float scale) {
    CCNode::setScale(scale);
    positionChanged();
}

void CCSprite::setPosition(const CCPoint& position) {
    CCNode::setPosition(position);
    positionChanged();
}

void CCSprite::setPositionInPixels(const CCPoint& position) {
    CCNode::setPositionInPixels(position);
    positionChanged();
}

void CCSprite::setSkewX(float degrees) {
    CCNode::setSkewX(degrees);
    markBatchDirty();
}

void CCSprite::setSkewY(float degrees) {
    CCNode::setSkewY(degrees);
    markBatchDirty();
}

void CCSprite::setVisible(bool visible) {
    CCNode::setVisible(visible);
    markBatchDirty();
}

void CCSprite::setAnchorPoint(const CCPoint& point) {
    CCNode::setAnchorPoint(point);
    markBatchDirty();
}

void CCSprite::setRelativeAnchorPoint(bool relative) {
    CCNode::setRelativeAnchorPoint(relative);
    markBatchDirty();
}

// --- children --------------------------------------------------------------------------------------

void CCSprite::addChildAtZWithTag(CCNode* child, int z, int tag) {
    auto* sprite = dynamic_cast<CCSprite*>(child);
    if (m_usesBatchNode && child && !sprite) {
        logDebugMessage("CCSprite::addChild: a batched sprite takes only sprites as children");
        return;
    }
    CCNode::addChildAtZWithTag(child, z, tag);
    if (!child || child->getParent() != this) return; // refused by the node
    if (m_usesBatchNode && m_batchNode)
        m_batchNode->insertSpriteIntoAtlas(sprite, m_batchNode->computeAtlasIndexForChild(sprite, z));
    m_hasChildren = true;
}

void CCSprite::addChildAtZ(CCNode* child, int z) {
    if (!child) {
        logDebugMessage("CCSprite::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, z, child->getTag());
}

void CCSprite::addChild(CCNode* child) {
    if (!child) {
        logDebugMessage("CCSprite::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, child->getZOrder(), child->getTag());
}

void CCSprite::removeChild(CCNode* child, bool cleanup) {
    if (!child || child->getParent() != this) return;
    if (m_usesBatchNode && m_batchNode)
        if (auto* sprite = dynamic_cast<CCSprite*>(child)) m_batchNode->removeSpriteFromAtlas(sprite);
    CCNode::removeChild(child, cleanup);
}

void CCSprite::removeAllChildren(bool cleanup) {
    if (m_usesBatchNode && m_batchNode && m_children) {
        for (unsigned i = 0; i < m_children->count(); ++i)
            if (auto* sprite = dynamic_cast<CCSprite*>(m_children->objectAtIndex(i)))
                m_batchNode->removeSpriteFromAtlas(sprite);
    }
    CCNode::removeAllChildren(cleanup);
    m_hasChildren = false;
}

void CCSprite::reorderChild(CCNode* child, int z) {
    if (!child || child->getParent() != this) {
        logDebugMessage("CCSprite::reorderChild: not a child of this sprite");
        return;
    }
    if (child->getZOrder() == z) return;
    if (!m_usesBatchNode) {
        CCNode::reorderChild(child, z);
        return;
    }
    child->retain();
    removeChild(child, false);
    addChildAtZ(child, z);
    child->release();
}

// --- drawing -----------------------------------------------------------------------------------------

void CCSprite::draw() {
    // Fill rate is what software GL runs short of: a quad that would leave every pixel as it was
    // is not drawn at all, and an opaque one is drawn without reading the pixels under it.
    const ccColor4B& color = m_quad.tl.colors;
    if (blendShowsNothing(m_blendFunc, color)) return;
    const bool blendOff =
        blendIsReplace(m_blendFunc, color.a, m_texture != nullptr && m_texture->isOpaque()) &&
        glIsEnabled(GL_BLEND);
    if (blendOff) glDisable(GL_BLEND);
    const bool changeBlend = !blendOff && m_blendFunc != kPremultipliedBlend;
    if (changeBlend) glBlendFunc(m_blendFunc.src, m_blendFunc.dst);
    glBindTexture(GL_TEXTURE_2D, m_texture ? m_texture->getName() : 0);
    const auto* base = reinterpret_cast<const unsigned char*>(&m_quad);
    constexpr GLsizei stride = sizeof(ccV3F_C4B_T2F);
    glVertexPointer(3, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, vertices));
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, base + offsetof(ccV3F_C4B_T2F, colors));
    glTexCoordPointer(2, GL_FLOAT, stride, base + offsetof(ccV3F_C4B_T2F, texCoords));
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    if (changeBlend) glBlendFunc(kPremultipliedBlend.src, kPremultipliedBlend.dst);
    if (blendOff) glEnable(GL_BLEND);
}

// --- texture and colour ----------------------------------------------------------------------------

void CCSprite::setTexture(CCTexture2D* texture) {
    if (m_usesBatchNode) return;
    if (texture) texture->retain();
    if (m_texture) m_texture->release();
    m_texture = texture;
    updateBlendFunc();
}

void CCSprite::updateBlendFunc() {
    if (!m_texture || !m_texture->hasPremultipliedAlpha()) {
        m_blendFunc = kStraightAlphaBlend;
        m_opacityModifyRGB = false;
    } else {
        m_blendFunc = kPremultipliedBlend;
        m_opacityModifyRGB = true;
    }
}

void CCSprite::setColor(const ccColor3B& color) {
    m_colorUnmodified = color;
    m_color = color;
    if (m_opacityModifyRGB) {
        m_color.r = static_cast<uint8_t>(color.r * m_opacity / 255);
        m_color.g = static_cast<uint8_t>(color.g * m_opacity / 255);
        m_color.b = static_cast<uint8_t>(color.b * m_opacity / 255);
    }
    updateColor();
}

ccColor3B CCSprite::getColor() {
    return m_opacityModifyRGB ? m_colorUnmodified : m_color;
}

void CCSprite::setOpacity(uint8_t opacity) {
    m_opacity = opacity;
    if (m_opacityModifyRGB) setColor(m_colorUnmodified);
    updateColor();
}

void CCSprite::updateColor() {
    const ccColor4B color{m_color.r, m_color.g, m_color.b, m_opacity};
    m_quad.tl.colors = m_quad.bl.colors = m_quad.tr.colors = m_quad.br.colors = color;
    if (!m_usesBatchNode) return;
    if (ccV3F_C4B_T2F_Quad* target = atlasQuad())
        target->tl.colors = target->bl.colors = target->tr.colors = target->br.colors = color;
    else
        queueForUpdate();
}

} // namespace kvengine
