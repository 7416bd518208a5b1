#pragma once

// Interval actions that give their target a grid when they start and deform its vertices at
// every step, plus the instant actions that stop or reuse a grid and the amplitude wrappers.

#include "engine/actions/CCAction.h"
#include "engine/actions/CCActionInstant.h"
#include "engine/effects/CCGridBase.h"

namespace kvengine {

class CCTiledGrid3D;

class CCGridAction : public CCActionInterval {
public:
    virtual bool initWithSize(const ccGridSize& size, float duration);
    /// The grid this action deforms (autoreleased), or null for the base.
    virtual CCGridBase* makeGrid() { return nullptr; }

    /// The interval start, then: a target grid with a positive reuse count is kept (its current
    /// vertices become the rest shape when it is active and of the same size); otherwise the
    /// target gets a new active grid.
    void startWithTarget(CCNode* target) override;
    /// This action played backwards.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    ccGridSize getGridSize() const { return m_gridSize; }

protected:
    ccGridSize m_gridSize;
};

/// Base of the actions that move the separate tiles of a CCTiledGrid3D.
class CCTiledGrid3DAction : public CCGridAction {
public:
    CCGridBase* makeGrid() override;
    /// The 12 rest coordinates of cell (x, y) of the target's grid (zeros without a grid).
    void restTile(int x, int y, float out[12]) const;
    /// Writes cell (x, y) of the target's grid; nothing without a tiled grid.
    void storeTile(int x, int y, const float coordinates[12]);
    CCObject* copyInto(CCCopyHolder* holder) override;

protected:
    CCTiledGrid3D* targetGrid() const;
};

/// Turns the target's active grid off (restoring the director's projection).
class CCStopGrid : public CCActionInstant {
public:
    static CCStopGrid* create();
    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;
};

/// Adds a count to the reuse count of the target's active grid.
class CCReuseGrid : public CCActionInstant {
public:
    static CCReuseGrid* createWithTimes(int times);
    bool initWithTimes(int times);
    void startWithTarget(CCNode* target) override;
    CCObject* copyInto(CCCopyHolder* holder) override;

private:
    int m_times = 0;
};

/// Starts an inner action on the same target and forwards the time to it unchanged (the
/// decelerating and combined variants behave alike, the combined one never forwards).
class CCAccelAmplitude : public CCActionInterval {
public:
    static CCAccelAmplitude* createWithAction(CCAction* action, float duration);
    ~CCAccelAmplitude() override;
    bool initWithAction(CCAction* action, float duration);
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;
    float getRate() const { return m_rate; }
    void setRate(float rate) { m_rate = rate; }

protected:
    virtual bool forwardsTime() const { return true; }
    virtual CCAccelAmplitude* makeSame() const { return new CCAccelAmplitude(); }

    float m_rate = 1.0f;
    CCActionInterval* m_other = nullptr;
};

class CCDeccelAmplitude : public CCAccelAmplitude {
public:
    static CCDeccelAmplitude* createWithAction(CCAction* action, float duration);

protected:
    CCAccelAmplitude* makeSame() const override { return new CCDeccelAmplitude(); }
};

class CCAccelDeccelAmplitude : public CCAccelAmplitude {
public:
    static CCAccelDeccelAmplitude* createWithAction(CCAction* action, float duration);

protected:
    bool forwardsTime() const override { return false; }
    CCAccelAmplitude* makeSame() const override { return new CCAccelDeccelAmplitude(); }
};

} // namespace kvengine
