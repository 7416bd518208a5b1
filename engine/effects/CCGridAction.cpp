#include "engine/effects/CCGridAction.h"

#include <algorithm>

#include "engine/actions/CCActionCopy.h"
#include "engine/actions/CCReverseTime.h"
#include "engine/base/CCLog.h"
#include "engine/effects/CCGrid3D.h"
#include "engine/nodes/CCNode.h"

namespace kvengine {

// ---------------------------------------------------------------------------------------------
// Grid actions

bool CCGridAction::initWithSize(const ccGridSize& size, float duration) {
    initWithDuration(duration);
    m_gridSize = size;
    if (size.x < 0 || size.y < 0 || static_cast<long long>(size.x) * size.y > 16384) {
        // No grid can hold this; the action then runs without one.
        logDebugMessage("CCGridAction: a %d x %d grid is not possible", size.x, size.y);
        m_gridSize = ccGridSize{};
        return false;
    }
    return true;
}

void CCGridAction::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (target == nullptr) return;
    CCGridBase* made = makeGrid();
    CCGridBase* grid = target->getGrid();
    if (grid != nullptr && grid->getReuseGrid() > 0) {
        if (grid->isActive() && grid->getGridSize() == m_gridSize) grid->keepCurrentVertices();
        return;
    }
    if (grid != nullptr && grid->isActive()) grid->setActive(false);
    target->setGrid(made);
    if (made != nullptr) made->setActive(true);
}

CCFiniteTimeAction* CCGridAction::reverse() {
    return CCReverseTime::createWithAction(this);
}

CCObject* CCGridAction::copyInto(CCCopyHolder* holder) {
    CCGridAction* copy = detail::copyObjectFor<CCGridAction>(holder);
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    copy->initWithSize(m_gridSize, getDuration());
    return copy;
}

CCGridBase* CCTiledGrid3DAction::makeGrid() {
    return CCTiledGrid3D::createWithSize(m_gridSize);
}

CCTiledGrid3D* CCTiledGrid3DAction::targetGrid() const {
    CCNode* target = getTarget();
    CCGridBase* grid = target != nullptr ? target->getGrid() : nullptr;
    // Another kind of grid (kept through a reuse count) has no separate tiles to move.
    if (grid == nullptr || std::strcmp(grid->className(), "CCTiledGrid3D") != 0) return nullptr;
    return static_cast<CCTiledGrid3D*>(grid);
}

void CCTiledGrid3DAction::restTile(int x, int y, float out[12]) const {
    if (CCTiledGrid3D* grid = targetGrid())
        grid->originalTile(x, y, out);
    else
        std::fill(out, out + 12, 0.0f);
}

void CCTiledGrid3DAction::storeTile(int x, int y, const float coordinates[12]) {
    if (CCTiledGrid3D* grid = targetGrid()) grid->storeTile(x, y, coordinates);
}

CCObject* CCTiledGrid3DAction::copyInto(CCCopyHolder* holder) {
    CCTiledGrid3DAction* copy = detail::copyObjectFor<CCTiledGrid3DAction>(holder);
    CCCopyHolder inner{copy};
    CCGridAction::copyInto(&inner);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Instant grid actions

CCStopGrid* CCStopGrid::create() {
    auto* action = new CCStopGrid();
    action->autorelease();
    return action;
}

void CCStopGrid::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    CCGridBase* grid = target != nullptr ? target->getGrid() : nullptr;
    if (grid != nullptr && grid->isActive()) grid->setActive(false);
}

CCObject* CCStopGrid::copyInto(CCCopyHolder* holder) {
    return detail::copyWithBase<CCStopGrid, CCActionInstant>(this, holder);
}

CCReuseGrid* CCReuseGrid::createWithTimes(int times) {
    auto* action = new CCReuseGrid();
    action->initWithTimes(times);
    action->autorelease();
    return action;
}

bool CCReuseGrid::initWithTimes(int times) {
    m_times = times;
    return true;
}

void CCReuseGrid::startWithTarget(CCNode* target) {
    CCActionInstant::startWithTarget(target);
    CCGridBase* grid = target != nullptr ? target->getGrid() : nullptr;
    if (grid != nullptr && grid->isActive()) grid->setReuseGrid(grid->getReuseGrid() + m_times);
}

CCObject* CCReuseGrid::copyInto(CCCopyHolder* holder) {
    CCReuseGrid* copy = detail::copyObjectFor<CCReuseGrid>(holder);
    CCCopyHolder inner{copy};
    CCActionInstant::copyInto(&inner);
    copy->initWithTimes(m_times);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Amplitude wrappers

namespace {

template <class T> T* makeWrapper(CCAction* action, float duration) {
    auto* wrapper = new T();
    if (!wrapper->initWithAction(action, duration)) {
        wrapper->release();
        return nullptr;
    }
    wrapper->autorelease();
    return wrapper;
}

} // namespace

CCAccelAmplitude* CCAccelAmplitude::createWithAction(CCAction* action, float duration) {
    return makeWrapper<CCAccelAmplitude>(action, duration);
}

CCDeccelAmplitude* CCDeccelAmplitude::createWithAction(CCAction* action, float duration) {
    return makeWrapper<CCDeccelAmplitude>(action, duration);
}

CCAccelDeccelAmplitude* CCAccelDeccelAmplitude::createWithAction(CCAction* action, float duration) {
    return makeWrapper<CCAccelDeccelAmplitude>(action, duration);
}

CCAccelAmplitude::~CCAccelAmplitude() {
    if (m_other) m_other->release();
}

bool CCAccelAmplitude::initWithAction(CCAction* action, float duration) {
    auto* interval = dynamic_cast<CCActionInterval*>(action);
    if (interval == nullptr) {
        logDebugMessage("CCAccelAmplitude: the inner action must be an interval action");
        return false;
    }
    initWithDuration(duration);
    m_rate = 1.0f;
    interval->retain();
    if (m_other) m_other->release();
    m_other = interval;
    return true;
}

void CCAccelAmplitude::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (m_other) m_other->startWithTarget(target);
}

void CCAccelAmplitude::update(float t) {
    if (m_other && forwardsTime()) m_other->update(t);
}

CCFiniteTimeAction* CCAccelAmplitude::reverse() {
    if (m_other == nullptr) return nullptr;
    CCAccelAmplitude* wrapper = makeSame();
    if (!wrapper->initWithAction(m_other->reverse(), getDuration())) {
        wrapper->release();
        return nullptr;
    }
    wrapper->autorelease();
    return wrapper;
}

CCObject* CCAccelAmplitude::copyInto(CCCopyHolder* holder) {
    CCAccelAmplitude* copy = holder != nullptr && holder->object != nullptr
                                 ? static_cast<CCAccelAmplitude*>(holder->object)
                                 : makeSame();
    CCCopyHolder inner{copy};
    CCActionInterval::copyInto(&inner);
    if (m_other != nullptr) {
        CCObject* otherCopy = m_other->copy();
        copy->initWithAction(static_cast<CCAction*>(otherCopy), getDuration());
        if (otherCopy) otherCopy->release();
    }
    copy->m_rate = m_rate;
    return copy;
}

} // namespace kvengine
