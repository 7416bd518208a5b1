#include "engine/sprites/CCSpriteBatchNode.h"

#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/effects/CCGridBase.h"
#include "engine/platform/CCGL.h"
#include "engine/sprites/CCSprite.h"
#include "engine/textures/CCTexture2D.h"
#include "engine/textures/CCTextureAtlas.h"
#include "engine/textures/CCTextureCache.h"

#include <algorithm>

namespace kvengine {

namespace {

constexpr ccBlendFunc kPremultipliedBlend{1, 771};

CCSprite* spriteAt(CCArray* array, unsigned index) {
    return static_cast<CCSprite*>(array->objectAtIndex(index));
}

} // namespace

CCSpriteBatchNode* CCSpriteBatchNode::createWithFile(const char* file, uint32_t capacity) {
    auto* node = new CCSpriteBatchNode();
    if (!node->initWithFile(file, capacity)) {
        node->release();
        return nullptr;
    }
    node->autorelease();
    return node;
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture, uint32_t capacity) {
    auto* node = new CCSpriteBatchNode();
    if (!node->initWithTexture(texture, capacity)) {
        node->release();
        return nullptr;
    }
    node->autorelease();
    return node;
}

CCSpriteBatchNode::~CCSpriteBatchNode() {
    // Sprites kept alive elsewhere must not write into the atlas that dies here.
    for (CCSprite* sprite : m_updateQueue)
        sprite->setUpdateSlot(CCSprite::kIndexNotInitialized);
    m_updateQueue.clear();
    if (m_descendants) {
        for (unsigned i = 0; i < m_descendants->count(); ++i)
            spriteAt(m_descendants, i)->useSelfRender();
        m_descendants->release();
    }
    if (m_textureAtlas) m_textureAtlas->release();
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, uint32_t capacity) {
    m_blendFunc = kPremultipliedBlend;
    if (!texture) {
        logDebugMessage("CCSpriteBatchNode: no texture");
        return false;
    }
    auto* atlas = new CCTextureAtlas();
    if (!atlas->initWithTexture(texture, capacity)) {
        atlas->release();
        logDebugMessage("CCSpriteBatchNode: cannot make an atlas of %u quads", capacity);
        return false;
    }
    if (m_textureAtlas) m_textureAtlas->release();
    m_textureAtlas = atlas;
    updateBlendFunc();
    if (!m_children) createChildrenArray();
    if (!m_descendants) {
        m_descendants = CCArray::createWithCapacity(capacity);
        if (m_descendants) m_descendants->retain();
    }
    return m_children != nullptr && m_descendants != nullptr;
}

bool CCSpriteBatchNode::initWithFile(const char* file, uint32_t capacity) {
    CCTexture2D* texture = file ? CCTextureCache::getInstance()->addImage(file) : nullptr;
    if (!texture) {
        logDebugMessage("CCSpriteBatchNode: cannot load the image %s", file ? file : "(null)");
        return false;
    }
    return initWithTexture(texture, capacity);
}

// --- atlas bookkeeping -------------------------------------------------------------------------

void CCSpriteBatchNode::shiftDescendantIndices(unsigned position, int delta) {
    for (unsigned i = position; i < m_descendants->count(); ++i) {
        CCSprite* sprite = spriteAt(m_descendants, i);
        sprite->setAtlasIndex(sprite->getAtlasIndex() + delta);
    }
}

bool CCSpriteBatchNode::increaseAtlasCapacity() {
    // The last step stops at the atlas's limit instead of overshooting it and failing.
    const uint32_t capacity =
        std::min<uint32_t>((m_textureAtlas->getCapacity() + 1) * 4 / 3, CCTextureAtlas::kMaxCapacity);
    if (capacity == m_textureAtlas->getCapacity()) {
        logDebugMessage("CCSpriteBatchNode: the atlas is full at %u quads", capacity);
        return false;
    }
    if (!m_textureAtlas->resizeCapacity(capacity)) {
        logDebugMessage("CCSpriteBatchNode: the atlas cannot grow to %u quads", capacity);
        return false;
    }
    return true;
}

void CCSpriteBatchNode::insertSpriteIntoAtlas(CCSprite* sprite, uint32_t index) {
    if (!sprite || !m_textureAtlas) return;
    if (index > m_textureAtlas->getTotalQuads() || index > m_descendants->count()) {
        logDebugMessage("CCSpriteBatchNode: atlas index %u out of range", index);
        return;
    }
    if (m_textureAtlas->getTotalQuads() == m_textureAtlas->getCapacity() && !increaseAtlasCapacity()) return;
    sprite->useBatchNode(this);
    sprite->setAtlasIndex(index);
    sprite->queueForUpdate();
    m_textureAtlas->insertQuad(sprite->getQuad(), index);
    m_descendants->insertObjectAtIndex(sprite, index);
    shiftDescendantIndices(index + 1, +1);

    if (CCArray* children = sprite->getChildren()) {
        for (unsigned i = 0; i < children->count(); ++i) {
            CCSprite* child = spriteAt(children, i);
            insertSpriteIntoAtlas(child, computeAtlasIndexForChild(child, child->getZOrder()));
        }
    }
}

void CCSpriteBatchNode::removeSpriteFromAtlas(CCSprite* sprite) {
    if (!sprite || !m_textureAtlas || sprite->getBatchNode() != this) return;
    const uint32_t index = sprite->getAtlasIndex();
    unsigned position = index;
    if (position >= m_descendants->count() || m_descendants->objectAtIndex(position) != sprite)
        position = m_descendants->indexOfObject(sprite);
    if (index < m_textureAtlas->getTotalQuads()) m_textureAtlas->removeQuadAtIndex(index);
    sprite->useSelfRender();
    if (position < m_descendants->count()) {
        // The array may hold the last reference; the sprite's children are still walked below.
        sprite->retain();
        m_descendants->removeObjectAtIndex(position);
        shiftDescendantIndices(position, -1);
        if (CCArray* children = sprite->getChildren())
            for (unsigned i = 0; i < children->count(); ++i)
                removeSpriteFromAtlas(spriteAt(children, i));
        sprite->release();
        return;
    }
    if (CCArray* children = sprite->getChildren())
        for (unsigned i = 0; i < children->count(); ++i)
            removeSpriteFromAtlas(spriteAt(children, i));
}

uint32_t CCSpriteBatchNode::highestAtlasIndexInChild(CCSprite* sprite) {
    CCArray* children = sprite->getChildren();
    if (!children || children->count() == 0) return sprite->getAtlasIndex();
    CCSprite* last = spriteAt(children, children->count() - 1);
    if (last->getBatchNode() != this || last->getAtlasIndex() == CCSprite::kIndexNotInitialized)
        return sprite->getAtlasIndex();
    // A branch whose children all lie below the sprite (negative z) ends with the sprite itself.
    return std::max(sprite->getAtlasIndex(), highestAtlasIndexInChild(last));
}

uint32_t CCSpriteBatchNode::lowestAtlasIndexInChild(CCSprite* sprite) {
    CCArray* children = sprite->getChildren();
    if (!children || children->count() == 0) return sprite->getAtlasIndex();
    CCSprite* first = spriteAt(children, 0);
    const bool placed =
        first->getBatchNode() == this && first->getAtlasIndex() != CCSprite::kIndexNotInitialized;
    return first->getZOrder() < 0 && placed ? lowestAtlasIndexInChild(first) : sprite->getAtlasIndex();
}

uint32_t CCSpriteBatchNode::computeAtlasIndexForChild(CCSprite* sprite, int z) {
    CCNode* parent = sprite->getParent();
    CCArray* siblings = parent ? parent->getChildren() : nullptr;
    if (!siblings) return 0;
    // Appending is the usual case: the new child is the last one, found without a search.
    const unsigned count = siblings->count();
    const unsigned k = count > 0 && siblings->objectAtIndex(count - 1) == sprite
                           ? count - 1
                           : siblings->indexOfObject(sprite);
    CCSprite* previous = k > 0 && k < siblings->count() ? spriteAt(siblings, k - 1) : nullptr;
    if (parent == this) return previous ? highestAtlasIndexInChild(previous) + 1 : 0;
    auto* parentSprite = static_cast<CCSprite*>(parent);
    if (!previous) {
        if (z >= 0) return parentSprite->getAtlasIndex() + 1;
        // First child below the parent: it goes before the parent's other children below it.
        CCSprite* next = k + 1 < siblings->count() ? spriteAt(siblings, k + 1) : nullptr;
        const bool nextPlaced = next && next->getZOrder() < 0 && next->getBatchNode() == this &&
                                next->getAtlasIndex() != CCSprite::kIndexNotInitialized;
        return nextPlaced ? lowestAtlasIndexInChild(next) : parentSprite->getAtlasIndex();
    }
    const bool sameSide = (previous->getZOrder() < 0) == (z < 0);
    return sameSide ? highestAtlasIndexInChild(previous) + 1 : parentSprite->getAtlasIndex() + 1;
}

void CCSpriteBatchNode::queueSpriteForUpdate(CCSprite* sprite) {
    if (!sprite || sprite->getUpdateSlot() != CCSprite::kIndexNotInitialized) return;
    sprite->setUpdateSlot(static_cast<uint32_t>(m_updateQueue.size()));
    m_updateQueue.push_back(sprite);
}

void CCSpriteBatchNode::forgetQueuedSprite(CCSprite* sprite) {
    if (!sprite) return;
    const uint32_t slot = sprite->getUpdateSlot();
    if (slot >= m_updateQueue.size() || m_updateQueue[slot] != sprite) return;
    CCSprite* last = m_updateQueue.back();
    m_updateQueue[slot] = last;
    last->setUpdateSlot(slot);
    m_updateQueue.pop_back();
    sprite->setUpdateSlot(CCSprite::kIndexNotInitialized);
}

void CCSpriteBatchNode::insertQuadFromSprite(CCSprite* sprite, uint32_t index) {
    if (!sprite || !m_textureAtlas) return;
    while (index >= m_textureAtlas->getCapacity() ||
           m_textureAtlas->getTotalQuads() == m_textureAtlas->getCapacity()) {
        if (!increaseAtlasCapacity()) return;
    }
    sprite->useBatchNode(this);
    sprite->setAtlasIndex(index);
    m_textureAtlas->insertQuad(sprite->getQuad(), index);
    sprite->setDirty(true);
    sprite->updateTransform();
}

// --- children ----------------------------------------------------------------------------------

void CCSpriteBatchNode::addChildAtZWithTag(CCNode* child, int z, int tag) {
    auto* sprite = dynamic_cast<CCSprite*>(child);
    if (!sprite) {
        logDebugMessage("CCSpriteBatchNode::addChild: only sprites can be added");
        return;
    }
    if (sprite->getTexture() && getTexture() && sprite->getTexture()->getName() != getTexture()->getName())
        logDebugMessage("CCSpriteBatchNode::addChild: the sprite shows another texture");
    CCNode::addChildAtZWithTag(child, z, tag);
    if (child->getParent() != this) return; // refused by the node
    insertSpriteIntoAtlas(sprite, computeAtlasIndexForChild(sprite, z));
}

void CCSpriteBatchNode::addChildAtZ(CCNode* child, int z) {
    if (!child) {
        logDebugMessage("CCSpriteBatchNode::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, z, child->getTag());
}

void CCSpriteBatchNode::addChild(CCNode* child) {
    if (!child) {
        logDebugMessage("CCSpriteBatchNode::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, child->getZOrder(), child->getTag());
}

void CCSpriteBatchNode::removeChild(CCNode* child, bool cleanup) {
    if (!child || child->getParent() != this) return;
    removeSpriteFromAtlas(static_cast<CCSprite*>(child));
    CCNode::removeChild(child, cleanup);
}

void CCSpriteBatchNode::removeAllChildren(bool cleanup) {
    if (m_children)
        for (unsigned i = 0; i < m_children->count(); ++i)
            removeSpriteFromAtlas(spriteAt(m_children, i));
    CCNode::removeAllChildren(cleanup);
    if (m_descendants) m_descendants->removeAllObjects();
    if (m_textureAtlas) m_textureAtlas->removeAllQuads();
}

void CCSpriteBatchNode::reorderChild(CCNode* child, int z) {
    if (!child || child->getParent() != this) {
        logDebugMessage("CCSpriteBatchNode::reorderChild: not a child of this node");
        return;
    }
    if (child->getZOrder() == z) return;
    child->retain();
    removeChild(child, false);
    addChildAtZ(child, z);
    child->release();
}

// --- drawing -----------------------------------------------------------------------------------

void CCSpriteBatchNode::draw() {
    if (!m_textureAtlas || m_textureAtlas->getTotalQuads() == 0) return;
    // Only the queued sprites can be dirty. An update never queues a sprite again.
    for (CCSprite* sprite : m_updateQueue) {
        sprite->setUpdateSlot(CCSprite::kIndexNotInitialized);
        sprite->updateTransform();
    }
    m_updateQueue.clear();
    const bool changeBlend = m_blendFunc != kPremultipliedBlend;
    if (changeBlend) glBlendFunc(m_blendFunc.src, m_blendFunc.dst);
    m_textureAtlas->drawQuads(m_textureAtlas->getTotalQuads());
    if (changeBlend) glBlendFunc(kPremultipliedBlend.src, kPremultipliedBlend.dst);
}

void CCSpriteBatchNode::visit() {
    if (!m_visible) return;
    glPushMatrix();
    CCGridBase* grid = m_grid != nullptr && m_grid->isActive() ? m_grid : nullptr;
    if (grid) grid->beforeDraw();
    transform();
    draw();
    if (grid) grid->afterDraw(this);
    glPopMatrix();
}

// --- texture -----------------------------------------------------------------------------------

CCTexture2D* CCSpriteBatchNode::getTexture() {
    return m_textureAtlas ? m_textureAtlas->getTexture() : nullptr;
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture) {
    if (!m_textureAtlas) return;
    m_textureAtlas->setTexture(texture);
    updateBlendFunc();
}

void CCSpriteBatchNode::updateBlendFunc() {
    CCTexture2D* texture = getTexture();
    if (texture && !texture->hasPremultipliedAlpha()) m_blendFunc = ccBlendFunc{770, 771};
}

} // namespace kvengine
