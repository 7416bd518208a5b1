#pragma once
#include "engine/base/CCAffineTransform.h"
#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCRetained.h"
#include "engine/director/CCScheduler.h"
#include "engine/nodes/CCProtocols.h"

namespace kvengine {

class CCAction;
class CCArray;
class CCCamera;
class CCGridBase;

/// The element of the scene graph: a 2-D transform relative to its parent, children sorted by
/// z order, a tag and a user object, and a running flag that follows the scene it belongs to.
///
/// Ownership: the children array retains each child; the parent pointer is weak. The node owns
/// its camera and retains its user object. A node that is a scheduler target, or has actions,
/// is kept alive by the scheduler or the action manager until they let it go (cleanup does).
///
/// Units: positions and sizes in points, mirrored in pixels (points x the director's content
/// scale factor); angles in degrees, positive turning clockwise on screen.
class CCNode : public CCObject {
public:
    /// A new autoreleased node.
    static CCNode* create();

    CCNode() = default;
    ~CCNode() override;

    const char* className() const override { return "CCNode"; }
    bool isKindOf(const char* name) const override;
    /// Scheduled nodes keep themselves alive.
    void retainAsTarget() override { retain(); }
    void releaseAsTarget() override { release(); }

    // --- properties ---------------------------------------------------------------------
    virtual int getZOrder() const { return m_zOrder; }
    /// Depth along GL z, in points (stored in pixels).
    virtual float getVertexZ() const;
    virtual void setVertexZ(float z);
    virtual float getRotation() const { return m_rotation; }
    virtual void setRotation(float degrees);
    virtual float getScaleX() const { return m_scaleX; }
    virtual void setScaleX(float scale);
    virtual float getScaleY() const { return m_scaleY; }
    virtual void setScaleY(float scale);
    /// Sets both scales.
    virtual void setScale(float scale);
    /// The x scale.
    float getScale() const { return m_scaleX; }
    virtual CCPoint getPosition() const { return m_position; }
    virtual void setPosition(const CCPoint& position);
    virtual CCPoint getPositionInPixels() const { return m_positionInPixels; }
    virtual void setPositionInPixels(const CCPoint& position);
    virtual float getSkewX() const { return m_skewX; }
    virtual void setSkewX(float degrees);
    virtual float getSkewY() const { return m_skewY; }
    virtual void setSkewY(float degrees);
    /// May be null (no child was ever added).
    virtual CCArray* getChildren() const { return m_children; }
    /// Made on first request and owned by the node.
    virtual CCCamera* getCamera();
    /// The grid the node draws through while it is active (retained); null when none.
    virtual CCGridBase* getGrid() const { return m_grid; }
    virtual void setGrid(CCGridBase* grid);
    virtual bool isVisible() const { return m_visible; }
    virtual void setVisible(bool visible) { m_visible = visible; }
    virtual CCPoint getAnchorPoint() const { return m_anchorPoint; }
    virtual void setAnchorPoint(const CCPoint& point);
    virtual CCPoint getAnchorPointInPixels() const { return m_anchorPointInPixels; }
    virtual CCSize getContentSize() const { return m_contentSize; }
    virtual void setContentSize(const CCSize& size);
    virtual CCSize getContentSizeInPixels() const { return m_contentSizeInPixels; }
    virtual void setContentSizeInPixels(const CCSize& size);
    /// The touch size when both its sides are non-zero, else the content size.
    virtual CCSize getTouchSize() const;
    virtual void setTouchSize(const CCSize& size) { m_touchSize = size; }
    virtual bool isRunning() const { return m_running; }
    virtual CCNode* getParent() const { return m_parent; }
    /// Plain store, no retain: use the tree operations to move nodes.
    virtual void setParent(CCNode* parent) { m_parent = parent; }
    virtual bool isRelativeAnchorPoint() const { return m_relativeAnchorPoint; }
    virtual void setRelativeAnchorPoint(bool relative);
    virtual int getTag() const { return m_tag; }
    virtual void setTag(int tag) { m_tag = tag; }
    virtual CCObject* getUserObject() const { return m_userObject; }
    /// Retains the new object, releases the old one.
    virtual void setUserObject(CCObject* object);

    // --- lifecycle ----------------------------------------------------------------------
    /// Children enter first, then this node's timers and actions resume and it is running.
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    /// This node's timers and actions pause and it stops running, then the children exit.
    virtual void onExit();

    // --- tree ---------------------------------------------------------------------------
    /// Adds `child` among the children sorted by z (after its equals). A null child, this node,
    /// one of its ancestors, or a child that already has a parent is refused with a log line.
    /// When this node is running the child enters at once.
    virtual void addChildAtZWithTag(CCNode* child, int z, int tag);
    virtual void addChildAtZ(CCNode* child, int z);
    virtual void addChild(CCNode* child);
    /// Removes `child` if it is one (exit when running, cleanup when asked, then released).
    virtual void removeChild(CCNode* child, bool cleanup);
    virtual void removeAllChildren(bool cleanup);
    /// Moves a child to z order `z`, after its new equals; nothing for a node that is not a child.
    virtual void reorderChild(CCNode* child, int z);
    /// Stops this node's actions and timers for good, then its children's.
    virtual void cleanup();
    void removeChildByTag(int tag, bool cleanup);
    /// The first child with that tag, or null.
    CCNode* getChildByTag(int tag) const;
    void removeFromParent(bool cleanup);
    void removeFromParentNoCleanup();

    // --- drawing ------------------------------------------------------------------------
    /// The node's own content; a plain node draws nothing.
    virtual void draw() {}
    /// Draws the subtree: children with z < 0, this node, then the others.
    virtual void visit();
    /// Multiplies the current GL matrix by this node's transform.
    void transform();
    /// Applies the transforms of all ancestors, root first.
    void transformAncestors();

    virtual CCRGBAProtocol* asRGBAProtocol() { return nullptr; }
    virtual CCLabelProtocol* asLabelProtocol() { return nullptr; }

    // --- transforms ---------------------------------------------------------------------
    /// Node to parent, in pixels; recomputed only when a property changed.
    CCAffineTransform nodeToParentTransform();
    CCAffineTransform nodeToWorldTransform();
    CCAffineTransform worldToNodeTransform();
    /// The content rectangle carried into the parent, axis-aligned bounds, pixels.
    CCRect boundingBoxInPixels();
    CCPoint convertToWorldSpace(const CCPoint& nodePoint);
    CCPoint convertToNodeSpace(const CCPoint& worldPoint);
    /// False when this node is invisible; else whether the point, in this node's space, lies in
    /// (0, 0, touch size), edges included.
    bool containsWorldPoint(const CCPoint& worldPoint);
    /// This node or any descendant contains the point (invisible nodes' children are searched).
    bool subtreeContainsWorldPoint(const CCPoint& worldPoint);

    // --- scheduling and actions ---------------------------------------------------------
    void schedule(SEL_SCHEDULE selector, float interval = 0.0f);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllSelectors();
    void scheduleUpdateWithPriority(int priority);
    void scheduleUpdate();
    void unscheduleUpdate();
    void pauseSchedulerAndActions();
    void resumeSchedulerAndActions();
    /// Runs the action on this node (paused while the node is not running); returns it.
    CCAction* runAction(CCAction* action);
    void stopAction(CCAction* action);
    void stopActionByTag(int tag);
    CCAction* getActionByTag(int tag);
    void stopAllActions();
    unsigned numberOfRunningActions();

protected:
    /// Places the child in the sorted children array (retained) and stores its z order.
    void insertChild(CCNode* child, int z);
    void detachChild(CCNode* child, bool cleanup);
    void createChildrenArray();
    void storeZOrder(int z) { m_zOrder = z; }
    void markDirty() { m_transformDirty = m_glMatrixDirty = true; }

    int m_zOrder = 0;
    float m_vertexZ = 0.0f;
    float m_rotation = 0.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    CCPoint m_position;
    CCPoint m_positionInPixels;
    float m_skewX = 0.0f;
    float m_skewY = 0.0f;
    CCArray* m_children = nullptr;
    CCCamera* m_camera = nullptr;
    CCGridBase* m_grid = nullptr;
    bool m_visible = true;
    CCPoint m_anchorPoint;
    CCPoint m_anchorPointInPixels;
    CCSize m_contentSize;
    CCSize m_contentSizeInPixels;
    CCSize m_touchSize;
    bool m_running = false;
    CCNode* m_parent = nullptr;
    bool m_relativeAnchorPoint = true;
    int m_tag = -1;
    CCRetained<CCObject> m_userObject;
    CCAffineTransform m_transform;
    float m_glMatrix[16] = {};
    bool m_transformDirty = true;
    bool m_glMatrixDirty = true;

private:
    enum class Pass { Enter, EnterFinished, Exit, Cleanup };
    /// Runs a lifecycle pass over a retained snapshot of the children, so a callback that
    /// removes a child or a sibling cannot pull a node from under the walk.
    void forEachChildSnapshot(Pass pass);
};

/// A point times a float, both coordinates.
CCPoint scalePoint(const CCPoint& point, float factor);

/// Calls `method` on each node of `array` in order.
void callOnEachArrayObject(CCArray* array, void (CCNode::*method)());

} // namespace kvengine
