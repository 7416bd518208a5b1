#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCGeometry.h"

namespace kvengine {

/// Keeps a node (usually a layer) placed so that the followed node stays in the middle of the
/// window. With a world rectangle, the layer is held inside it: the view never shows anything
/// outside the world. Along an axis where the world is smaller than the window the layer is held
/// centred on the world; when the world fits the window along both axes the layer is not moved.
/// The action never finishes while the followed node is running.
class CCFollow : public CCAction {
public:
    CCFollow() = default;
    ~CCFollow() override;

    /// Follows `followedNode` without a boundary. Autoreleased; null (and a log line) for a null
    /// node. The followed node is retained.
    static CCFollow* create(CCNode* followedNode);
    /// Follows `followedNode` inside `world` (points, in the followed node's parent space).
    /// Null (and a log line) for a null node or a world of negative size.
    static CCFollow* createWithWorld(CCNode* followedNode, const CCRect& world);
    /// Reads the window size from the director; `world` null means no boundary.
    bool initWithNode(CCNode* followedNode, const CCRect* world);

    /// Places the target; dt is not used.
    void step(float dt) override;
    /// True once the followed node no longer runs.
    bool isDone() override;
    void stop() override;
    /// A follow action of the same node, tag, sizes and boundaries.
    CCObject* copyInto(CCCopyHolder* holder) override;

    CCNode* getFollowedNode() const { return m_followedNode; }
    bool isBoundarySet() const { return m_boundarySet; }
    bool isBoundaryFullyCovered() const { return m_boundaryFullyCovered; }
    CCPoint getHalfScreenSize() const { return m_halfScreenSize; }
    CCPoint getFullScreenSize() const { return m_fullScreenSize; }
    float getLeftBoundary() const { return m_leftBoundary; }
    float getRightBoundary() const { return m_rightBoundary; }
    float getTopBoundary() const { return m_topBoundary; }
    float getBottomBoundary() const { return m_bottomBoundary; }

private:
    CCNode* m_followedNode = nullptr;
    bool m_boundarySet = false;
    bool m_boundaryFullyCovered = false;
    CCPoint m_halfScreenSize;
    CCPoint m_fullScreenSize;
    float m_leftBoundary = 0.0f;
    float m_rightBoundary = 0.0f;
    float m_topBoundary = 0.0f;
    float m_bottomBoundary = 0.0f;
};

} // namespace kvengine
