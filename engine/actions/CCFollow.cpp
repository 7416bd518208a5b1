#include "engine/actions/CCFollow.h"

#include "engine/actions/CCActionCopy.h"
#include "engine/base/CCLog.h"
#include "engine/director/CCDirector.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

CCFollow::~CCFollow() {
    if (m_followedNode != nullptr) m_followedNode->release();
}

namespace {
CCFollow* finish(CCFollow* follow, bool ok) {
    if (!ok) {
        follow->release();
        return nullptr;
    }
    follow->autorelease();
    return follow;
}
} // namespace

CCFollow* CCFollow::create(CCNode* followedNode) {
    CCFollow* follow = new CCFollow();
    return finish(follow, follow->initWithNode(followedNode, nullptr));
}

CCFollow* CCFollow::createWithWorld(CCNode* followedNode, const CCRect& world) {
    CCFollow* follow = new CCFollow();
    return finish(follow, follow->initWithNode(followedNode, &world));
}

bool CCFollow::initWithNode(CCNode* followedNode, const CCRect* world) {
    if (followedNode == nullptr) {
        logDebugMessage("CCFollow: no node to follow");
        return false;
    }
    // The negated comparisons also refuse NaN sizes.
    if (world != nullptr && !(world->size.width >= 0.0f && world->size.height >= 0.0f)) {
        logDebugMessage("CCFollow: world rectangle of negative size %g x %g",
                        static_cast<double>(world->size.width), static_cast<double>(world->size.height));
        return false;
    }
    followedNode->retain();
    if (m_followedNode != nullptr) m_followedNode->release();
    m_followedNode = followedNode;

    const CCSize win = CCDirector::getInstance()->getWinSize();
    m_fullScreenSize = CCPoint(win.width, win.height);
    m_halfScreenSize = CCPoint(win.width * 0.5f, win.height * 0.5f);
    m_boundarySet = world != nullptr;
    m_boundaryFullyCovered = false;
    m_leftBoundary = m_rightBoundary = m_topBoundary = m_bottomBoundary = 0.0f;
    if (world == nullptr) return true;

    // The target's position is the offset of the world's parent space on the screen: at the
    // right boundary the world's left edge is on the window's left edge, at the left boundary
    // its right edge is on the window's right edge (likewise top/bottom for y).
    m_leftBoundary = -((world->origin.x + world->size.width) - m_fullScreenSize.x);
    m_rightBoundary = -world->origin.x;
    m_bottomBoundary = -((world->origin.y + world->size.height) - m_fullScreenSize.y);
    m_topBoundary = -world->origin.y;
    // A world narrower (lower) than the window: hold it centred along that axis.
    if (m_rightBoundary < m_leftBoundary)
        m_leftBoundary = m_rightBoundary = (m_leftBoundary + m_rightBoundary) * 0.5f;
    if (m_topBoundary < m_bottomBoundary)
        m_bottomBoundary = m_topBoundary = (m_bottomBoundary + m_topBoundary) * 0.5f;
    m_boundaryFullyCovered = m_leftBoundary == m_rightBoundary && m_bottomBoundary == m_topBoundary;
    return true;
}

void CCFollow::step(float dt) {
    (void)dt;
    if (m_target == nullptr || m_followedNode == nullptr) return;
    const CCPoint followed = m_followedNode->getPosition();
    const CCPoint p(m_halfScreenSize.x - followed.x, m_halfScreenSize.y - followed.y);
    if (!m_boundarySet) {
        m_target->setPosition(p);
        return;
    }
    if (m_boundaryFullyCovered) return;
    m_target->setPosition(CCPoint(clampFloat(p.x, m_leftBoundary, m_rightBoundary),
                                  clampFloat(p.y, m_bottomBoundary, m_topBoundary)));
}

bool CCFollow::isDone() {
    return m_followedNode == nullptr || !m_followedNode->isRunning();
}

void CCFollow::stop() {
    CCAction::stop();
}

CCObject* CCFollow::copyInto(CCCopyHolder* holder) {
    CCFollow* copy = static_cast<CCFollow*>(detail::copyWithBase<CCFollow, CCAction>(this, holder));
    if (m_followedNode != nullptr) m_followedNode->retain();
    if (copy->m_followedNode != nullptr) copy->m_followedNode->release();
    copy->m_followedNode = m_followedNode;
    copy->m_boundarySet = m_boundarySet;
    copy->m_boundaryFullyCovered = m_boundaryFullyCovered;
    copy->m_halfScreenSize = m_halfScreenSize;
    copy->m_fullScreenSize = m_fullScreenSize;
    copy->m_leftBoundary = m_leftBoundary;
    copy->m_rightBoundary = m_rightBoundary;
    copy->m_topBoundary = m_topBoundary;
    copy->m_bottomBoundary = m_bottomBoundary;
    return copy;
}

} // namespace kvengine
