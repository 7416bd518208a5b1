#pragma once
#include "engine/nodes/CCNode.h"

namespace kvengine {

struct CCArrayData;

/// The per-child record of a parallax node: ratio, offset (points) and the child (not retained;
/// the node's children array holds it). Reports the class name "CCObject".
class CCPointObject : public CCObject {
public:
    /// Autoreleased, without a child.
    static CCPointObject* create(const CCPoint& ratio, const CCPoint& offset);

    CCPoint getRatio() const { return m_ratio; }
    CCPoint getOffset() const { return m_offset; }
    CCNode* getChild() const { return m_child; }
    void setChild(CCNode* child) { m_child = child; }

private:
    CCPoint m_ratio;
    CCPoint m_offset;
    CCNode* m_child = nullptr;
};

/// A node whose children scroll at their own speeds: a child added with ratio r sits on screen
/// at (absolute position x r + offset), so it moves by r times the node's (or any ancestor's)
/// movement. Children added through the plain node operations are never re-placed.
class CCParallaxNode : public CCNode {
public:
    /// A new autoreleased parallax node; null when memory runs out.
    static CCParallaxNode* create();

    CCParallaxNode();
    ~CCParallaxNode() override;

    /// Does nothing: children of a parallax node are added with a ratio and an offset.
    virtual void addChildWithZAndTag(CCNode* child, unsigned z, int tag);
    /// Adds `child` at z with its own tag and places it for the node's current position.
    virtual void addChildWithRatioAndOffset(CCNode* child, int z, const CCPoint& ratio,
                                            const CCPoint& offset);
    void removeChild(CCNode* child, bool cleanup) override;
    void removeAllChildren(bool cleanup) override;
    /// Re-places the children when the absolute position changed, then draws.
    void visit() override;

    /// This node's position plus every ancestor's (their scales and rotations are not applied).
    CCPoint absolutePosition() const;
    unsigned entryCount() const;

private:
    CCArrayData* m_entries = nullptr;
    CCPoint m_lastPosition;
    bool m_placed = false; // the first visit places every child
};

} // namespace kvengine
