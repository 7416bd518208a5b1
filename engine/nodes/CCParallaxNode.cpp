#include "engine/nodes/CCParallaxNode.h"

#include "engine/base/CCArrayData.h"
#include "engine/base/CCLog.h"

namespace kvengine {

CCPointObject* CCPointObject::create(const CCPoint& ratio, const CCPoint& offset) {
    auto* entry = new CCPointObject();
    entry->m_ratio = ratio;
    entry->m_offset = offset;
    entry->autorelease();
    return entry;
}

CCParallaxNode* CCParallaxNode::create() {
    auto* node = new CCParallaxNode();
    if (!node->m_entries) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

CCParallaxNode::CCParallaxNode() : m_entries(newArrayData(5)) {}

CCParallaxNode::~CCParallaxNode() {
    if (m_entries) freeArrayData(m_entries);
}

unsigned CCParallaxNode::entryCount() const {
    return m_entries ? m_entries->count : 0u;
}

void CCParallaxNode::addChildWithZAndTag(CCNode*, unsigned, int) {}

void CCParallaxNode::addChildWithRatioAndOffset(CCNode* child, int z, const CCPoint& ratio,
                                                const CCPoint& offset) {
    if (!child || child->getParent() || !m_entries) {
        logDebugMessage("CCParallaxNode::addChildWithRatioAndOffset: %s child refused",
                        child ? "an already parented" : "a null");
        return;
    }
    CCPointObject* entry = CCPointObject::create(ratio, offset);
    entry->setChild(child);
    appendArrayDataObjectWithResize(m_entries, entry);
    const CCPoint p = getPosition();
    child->setPosition(CCPoint(p.x * ratio.x + offset.x, p.y * ratio.y + offset.y));
    CCNode::addChildAtZWithTag(child, z, child->getTag());
}

void CCParallaxNode::removeChild(CCNode* child, bool cleanup) {
    if (m_entries) {
        for (unsigned i = 0; i < m_entries->count; ++i) {
            if (static_cast<CCPointObject*>(m_entries->items[i])->getChild() == child) {
                removeArrayDataObjectAtIndex(m_entries, i);
                break;
            }
        }
    }
    CCNode::removeChild(child, cleanup);
}

void CCParallaxNode::removeAllChildren(bool cleanup) {
    if (m_entries) removeAllArrayDataObjects(m_entries);
    CCNode::removeAllChildren(cleanup);
}

CCPoint CCParallaxNode::absolutePosition() const {
    CCPoint p = getPosition();
    for (const CCNode* n = getParent(); n; n = n->getParent())
        p = pointAdd(p, n->getPosition());
    return p;
}

void CCParallaxNode::visit() {
    const CCPoint p = absolutePosition();
    if (!m_placed || !pointEqualToPoint(p, m_lastPosition)) {
        for (unsigned i = 0; m_entries && i < m_entries->count; ++i) {
            auto* entry = static_cast<CCPointObject*>(m_entries->items[i]);
            const CCPoint r = entry->getRatio();
            const CCPoint o = entry->getOffset();
            entry->getChild()->setPosition(CCPoint(p.x * r.x - p.x + o.x, p.y * r.y - p.y + o.y));
        }
        m_lastPosition = p;
        m_placed = true;
    }
    CCNode::visit();
}

} // namespace kvengine
