#include "engine/nodes/CCNode.h"

#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionManager.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCCamera.h"
#include "engine/director/CCDirector.h"
#include "engine/effects/CCGridBase.h"
#include "engine/platform/CCGL.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace kvengine {

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

float contentScale() {
    return CCDirector::sharedContentScaleFactor();
}

CCNode* childAt(CCArray* children, unsigned index) {
    return static_cast<CCNode*>(children->objectAtIndex(index));
}

} // namespace

CCNode* CCNode::create() {
    CCNode* node = new CCNode();
    node->autorelease();
    return node;
}

CCNode::~CCNode() {
    delete m_camera;
    // The grid is retained by hand: its class is only declared here (it lives above the nodes).
    if (m_grid) m_grid->release();
    if (m_children) {
        for (unsigned i = 0; i < m_children->count(); ++i)
            childAt(m_children, i)->setParent(nullptr);
        m_children->release();
    }
}

bool CCNode::isKindOf(const char* name) const {
    return name != nullptr && (std::strcmp(name, "CCNode") == 0 || CCObject::isKindOf(name));
}

// --- properties --------------------------------------------------------------------------

float CCNode::getVertexZ() const {
    return m_vertexZ / contentScale();
}

void CCNode::setVertexZ(float z) {
    m_vertexZ = z * contentScale();
}

void CCNode::setRotation(float degrees) {
    m_rotation = degrees;
    markDirty();
}

void CCNode::setScaleX(float scale) {
    m_scaleX = scale;
    markDirty();
}

void CCNode::setScaleY(float scale) {
    m_scaleY = scale;
    markDirty();
}

void CCNode::setScale(float scale) {
    m_scaleX = m_scaleY = scale;
    markDirty();
}

void CCNode::setPosition(const CCPoint& position) {
    m_position = position;
    const float f = contentScale();
    m_positionInPixels = f == 1.0f ? position : pointMultiply(position, f);
    markDirty();
}

void CCNode::setPositionInPixels(const CCPoint& position) {
    m_positionInPixels = position;
    const float f = contentScale();
    m_position = f == 1.0f ? position : pointMultiply(position, 1.0f / f);
    markDirty();
}

void CCNode::setSkewX(float degrees) {
    m_skewX = degrees;
    markDirty();
}

void CCNode::setSkewY(float degrees) {
    m_skewY = degrees;
    markDirty();
}

CCCamera* CCNode::getCamera() {
    if (!m_camera) m_camera = new CCCamera();
    return m_camera;
}

void CCNode::setAnchorPoint(const CCPoint& point) {
    if (pointEqualToPoint(point, m_anchorPoint)) return;
    m_anchorPoint = point;
    m_anchorPointInPixels =
        CCPoint(m_contentSizeInPixels.width * point.x, m_contentSizeInPixels.height * point.y);
    markDirty();
}

void CCNode::setContentSize(const CCSize& size) {
    if (sizeEqualToSize(size, m_contentSize)) return;
    m_contentSize = size;
    const float f = contentScale();
    m_contentSizeInPixels = f == 1.0f ? size : CCSize(size.width * f, size.height * f);
    m_anchorPointInPixels = CCPoint(m_contentSizeInPixels.width * m_anchorPoint.x,
                                    m_contentSizeInPixels.height * m_anchorPoint.y);
    markDirty();
}

void CCNode::setContentSizeInPixels(const CCSize& size) {
    if (sizeEqualToSize(size, m_contentSizeInPixels)) return;
    m_contentSizeInPixels = size;
    const float f = contentScale();
    m_contentSize = f == 1.0f ? size : CCSize(size.width / f, size.height / f);
    m_anchorPointInPixels = CCPoint(m_contentSizeInPixels.width * m_anchorPoint.x,
                                    m_contentSizeInPixels.height * m_anchorPoint.y);
    markDirty();
}

CCSize CCNode::getTouchSize() const {
    if (m_touchSize.width != 0.0f && m_touchSize.height != 0.0f) return m_touchSize;
    return m_contentSize;
}

void CCNode::setRelativeAnchorPoint(bool relative) {
    m_relativeAnchorPoint = relative;
    markDirty();
}

void CCNode::setUserObject(CCObject* object) {
    m_userObject = object;
}

// --- lifecycle ---------------------------------------------------------------------------

void CCNode::forEachChildSnapshot(Pass pass) {
    if (!m_children || m_children->count() == 0) return;
    std::vector<CCNode*> snapshot;
    snapshot.reserve(m_children->count());
    for (unsigned i = 0; i < m_children->count(); ++i) {
        CCNode* child = childAt(m_children, i);
        child->retain();
        snapshot.push_back(child);
    }
    for (CCNode* child : snapshot) {
        // A child that an earlier callback removed (or moved elsewhere) is no longer ours.
        if (child->getParent() == this) {
            switch (pass) {
            case Pass::Enter:
                child->onEnter();
                break;
            case Pass::EnterFinished:
                child->onEnterTransitionDidFinish();
                break;
            case Pass::Exit:
                child->onExit();
                break;
            case Pass::Cleanup:
                child->cleanup();
                break;
            }
        }
    }
    for (CCNode* child : snapshot)
        child->release();
}

void CCNode::onEnter() {
    forEachChildSnapshot(Pass::Enter);
    resumeSchedulerAndActions();
    m_running = true;
}

void CCNode::onEnterTransitionDidFinish() {
    forEachChildSnapshot(Pass::EnterFinished);
}

void CCNode::onExit() {
    pauseSchedulerAndActions();
    m_running = false;
    forEachChildSnapshot(Pass::Exit);
}

void CCNode::cleanup() {
    stopAllActions();
    unscheduleAllSelectors();
    forEachChildSnapshot(Pass::Cleanup);
}

// --- tree --------------------------------------------------------------------------------

void CCNode::createChildrenArray() {
    m_children = CCArray::createWithCapacity(4);
    if (m_children) m_children->retain();
}

void CCNode::insertChild(CCNode* child, int z) {
    const unsigned count = m_children->count();
    CCNode* last = count > 0 ? childAt(m_children, count - 1) : nullptr;
    if (!last || z >= last->getZOrder()) {
        m_children->addObject(child);
    } else {
        unsigned index = 0;
        while (index < count && childAt(m_children, index)->getZOrder() <= z)
            ++index;
        m_children->insertObjectAtIndex(child, index);
    }
    child->storeZOrder(z);
}

void CCNode::addChildAtZWithTag(CCNode* child, int z, int tag) {
    if (!child) {
        logDebugMessage("CCNode::addChild: null child refused");
        return;
    }
    if (child->getParent()) {
        // Linking a node into a second tree would leave both trees pointing at it.
        logDebugMessage("CCNode::addChild: the child already has a parent; remove it first");
        return;
    }
    for (CCNode* n = this; n; n = n->getParent()) {
        if (n == child) {
            logDebugMessage("CCNode::addChild: a node cannot become its own descendant");
            return;
        }
    }
    if (!m_children) createChildrenArray();
    if (!m_children) return;
    insertChild(child, z);
    child->setTag(tag);
    child->setParent(this);
    if (m_running) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
}

void CCNode::addChildAtZ(CCNode* child, int z) {
    if (!child) {
        logDebugMessage("CCNode::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, z, child->getTag());
}

void CCNode::addChild(CCNode* child) {
    if (!child) {
        logDebugMessage("CCNode::addChild: null child refused");
        return;
    }
    addChildAtZWithTag(child, child->getZOrder(), child->getTag());
}

void CCNode::detachChild(CCNode* child, bool cleanup) {
    // The child may be freed by the final removal; keep it until the steps are done.
    child->retain();
    if (m_running) child->onExit();
    if (cleanup) child->cleanup();
    child->setParent(nullptr);
    m_children->removeObject(child);
    child->release();
}

void CCNode::removeChild(CCNode* child, bool cleanup) {
    if (!child || !m_children || m_children->count() == 0) return;
    if (!m_children->containsObject(child)) return;
    detachChild(child, cleanup);
}

void CCNode::removeAllChildren(bool cleanup) {
    if (!m_children) return;
    std::vector<CCNode*> snapshot;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        CCNode* child = childAt(m_children, i);
        child->retain();
        snapshot.push_back(child);
    }
    for (CCNode* child : snapshot) {
        if (child->getParent() != this) continue;
        if (m_running) child->onExit();
        if (cleanup) child->cleanup();
        child->setParent(nullptr);
    }
    m_children->removeAllObjects();
    for (CCNode* child : snapshot)
        child->release();
}

void CCNode::reorderChild(CCNode* child, int z) {
    if (!child || !m_children || !m_children->containsObject(child)) {
        logDebugMessage("CCNode::reorderChild: not a child of this node");
        return;
    }
    child->retain();
    m_children->removeObject(child);
    insertChild(child, z);
    child->release();
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
    if (CCNode* child = getChildByTag(tag)) removeChild(child, cleanup);
}

CCNode* CCNode::getChildByTag(int tag) const {
    if (!m_children) return nullptr;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        CCNode* child = childAt(m_children, i);
        if (child->getTag() == tag) return child;
    }
    return nullptr;
}

void CCNode::removeFromParent(bool cleanup) {
    if (m_parent) m_parent->removeChild(this, cleanup);
}

void CCNode::removeFromParentNoCleanup() {
    removeFromParent(false);
}

// --- drawing -----------------------------------------------------------------------------

void CCNode::visit() {
    if (!m_visible) return;
    glPushMatrix();
    CCGridBase* grid = m_grid != nullptr && m_grid->isActive() ? m_grid : nullptr;
    if (grid) grid->beforeDraw();
    transform();
    unsigned i = 0;
    if (m_children) {
        for (; i < m_children->count(); ++i) {
            CCNode* child = childAt(m_children, i);
            if (child->getZOrder() >= 0) break;
            child->visit();
        }
    }
    draw();
    if (m_children) {
        for (; i < m_children->count(); ++i)
            childAt(m_children, i)->visit();
    }
    if (grid) grid->afterDraw(this);
    glPopMatrix();
}

void CCNode::setGrid(CCGridBase* grid) {
    if (grid) grid->retain();
    if (m_grid) m_grid->release();
    m_grid = grid;
}

void CCNode::transform() {
    if (m_glMatrixDirty) {
        const CCAffineTransform t = nodeToParentTransform();
        std::memset(m_glMatrix, 0, sizeof(m_glMatrix));
        m_glMatrix[0] = t.a;
        m_glMatrix[1] = t.b;
        m_glMatrix[4] = t.c;
        m_glMatrix[5] = t.d;
        m_glMatrix[12] = t.tx;
        m_glMatrix[13] = t.ty;
        m_glMatrix[10] = 1.0f;
        m_glMatrix[15] = 1.0f;
        m_glMatrixDirty = false;
    }
    glMultMatrixf(m_glMatrix);
    if (m_vertexZ != 0.0f) glTranslatef(0.0f, 0.0f, m_vertexZ);
    if (m_camera) {
        const bool translate = m_anchorPointInPixels.x != 0.0f || m_anchorPointInPixels.y != 0.0f;
        if (translate) glTranslatef(m_anchorPointInPixels.x, m_anchorPointInPixels.y, 0.0f);
        m_camera->locate();
        if (translate) glTranslatef(-m_anchorPointInPixels.x, -m_anchorPointInPixels.y, 0.0f);
    }
}

void CCNode::transformAncestors() {
    if (!m_parent) return;
    m_parent->transformAncestors();
    m_parent->transform();
}

// --- transforms --------------------------------------------------------------------------

CCAffineTransform CCNode::nodeToParentTransform() {
    if (!m_transformDirty) return m_transform;
    CCAffineTransform t = CCAffineTransformIdentity;
    const bool anchored = m_anchorPointInPixels.x != 0.0f || m_anchorPointInPixels.y != 0.0f;
    if (!m_relativeAnchorPoint && anchored) {
        t = translateAffineTransform(t, m_anchorPointInPixels.x, m_anchorPointInPixels.y);
    }
    if (m_positionInPixels.x != 0.0f || m_positionInPixels.y != 0.0f) {
        t = translateAffineTransform(t, m_positionInPixels.x, m_positionInPixels.y);
    }
    if (m_rotation != 0.0f) t = rotateAffineTransform(t, -m_rotation * kDegreesToRadians);
    if (m_skewX != 0.0f || m_skewY != 0.0f) {
        const CCAffineTransform skew =
            makeAffineTransform(1.0f, std::tan(m_skewY * kDegreesToRadians),
                                std::tan(m_skewX * kDegreesToRadians), 1.0f, 0.0f, 0.0f);
        t = concatAffineTransform(skew, t);
    }
    if (m_scaleX != 1.0f || m_scaleY != 1.0f) t = scaleAffineTransform(t, m_scaleX, m_scaleY);
    if (anchored) t = translateAffineTransform(t, -m_anchorPointInPixels.x, -m_anchorPointInPixels.y);
    m_transform = t;
    m_transformDirty = false;
    return m_transform;
}

CCAffineTransform CCNode::nodeToWorldTransform() {
    CCAffineTransform t = nodeToParentTransform();
    for (CCNode* p = m_parent; p; p = p->getParent())
        t = concatAffineTransform(t, p->nodeToParentTransform());
    return t;
}

CCAffineTransform CCNode::worldToNodeTransform() {
    return invertAffineTransform(nodeToWorldTransform());
}

CCRect CCNode::boundingBoxInPixels() {
    const CCRect rect(0.0f, 0.0f, m_contentSizeInPixels.width, m_contentSizeInPixels.height);
    return applyAffineTransformToRect(rect, nodeToParentTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) {
    const float f = contentScale();
    if (f == 1.0f) return applyAffineTransformToPoint(nodePoint, nodeToWorldTransform());
    const CCPoint p = applyAffineTransformToPoint(pointMultiply(nodePoint, f), nodeToWorldTransform());
    return pointMultiply(p, 1.0f / f);
}

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) {
    const float f = contentScale();
    if (f == 1.0f) return applyAffineTransformToPoint(worldPoint, worldToNodeTransform());
    const CCPoint p = applyAffineTransformToPoint(pointMultiply(worldPoint, f), worldToNodeTransform());
    return pointMultiply(p, 1.0f / f);
}

bool CCNode::containsWorldPoint(const CCPoint& worldPoint) {
    if (!m_visible) return false;
    const CCPoint local = convertToNodeSpace(worldPoint);
    const CCSize size = getTouchSize();
    return rectContainsPoint(CCRect(0.0f, 0.0f, size.width, size.height), local);
}

bool CCNode::subtreeContainsWorldPoint(const CCPoint& worldPoint) {
    if (containsWorldPoint(worldPoint)) return true;
    if (!m_children) return false;
    for (unsigned i = 0; i < m_children->count(); ++i) {
        if (childAt(m_children, i)->subtreeContainsWorldPoint(worldPoint)) return true;
    }
    return false;
}

// --- scheduling and actions --------------------------------------------------------------

void CCNode::schedule(SEL_SCHEDULE selector, float interval) {
    CCScheduler::getInstance()->scheduleSelector(selector, this, interval, !m_running);
}

void CCNode::unschedule(SEL_SCHEDULE selector) {
    if (!selector) return;
    if (CCScheduler* scheduler = CCScheduler::existingInstance())
        scheduler->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors() {
    if (CCScheduler* scheduler = CCScheduler::existingInstance())
        scheduler->unscheduleAllSelectorsForTarget(this);
}

void CCNode::scheduleUpdateWithPriority(int priority) {
    CCScheduler::getInstance()->scheduleUpdateForTarget(this, priority, !m_running);
}

void CCNode::scheduleUpdate() {
    scheduleUpdateWithPriority(0);
}

void CCNode::unscheduleUpdate() {
    if (CCScheduler* scheduler = CCScheduler::existingInstance()) scheduler->unscheduleUpdateForTarget(this);
}

void CCNode::pauseSchedulerAndActions() {
    if (CCScheduler* scheduler = CCScheduler::existingInstance()) scheduler->pauseTarget(this);
    if (CCActionManager* manager = CCActionManager::existingInstance()) manager->pauseTarget(this);
}

void CCNode::resumeSchedulerAndActions() {
    if (CCScheduler* scheduler = CCScheduler::existingInstance()) scheduler->resumeTarget(this);
    if (CCActionManager* manager = CCActionManager::existingInstance()) manager->resumeTarget(this);
}

CCAction* CCNode::runAction(CCAction* action) {
    if (!action) {
        logDebugMessage("CCNode::runAction: null action ignored");
        return nullptr;
    }
    CCActionManager::getInstance()->addAction(action, this, !m_running);
    return action;
}

void CCNode::stopAction(CCAction* action) {
    if (CCActionManager* manager = CCActionManager::existingInstance()) manager->removeAction(action);
}

void CCNode::stopActionByTag(int tag) {
    if (CCActionManager* manager = CCActionManager::existingInstance()) manager->removeActionByTag(tag, this);
}

CCAction* CCNode::getActionByTag(int tag) {
    CCActionManager* manager = CCActionManager::existingInstance();
    return manager ? manager->getActionByTag(tag, this) : nullptr;
}

void CCNode::stopAllActions() {
    if (CCActionManager* manager = CCActionManager::existingInstance())
        manager->removeAllActionsFromTarget(this);
}

unsigned CCNode::numberOfRunningActions() {
    CCActionManager* manager = CCActionManager::existingInstance();
    return manager ? manager->countActionsForTarget(this) : 0u;
}

// --- helpers -----------------------------------------------------------------------------

CCPoint scalePoint(const CCPoint& point, float factor) {
    return CCPoint(point.x * factor, point.y * factor);
}

void callOnEachArrayObject(CCArray* array, void (CCNode::*method)()) {
    if (!array || !method) return;
    for (unsigned i = 0; i < array->count(); ++i) {
        if (CCNode* node = static_cast<CCNode*>(array->objectAtIndex(i))) (node->*method)();
    }
}

} // namespace kvengine
