#pragma once

#include "engine/actions/CCAction.h"

namespace kvengine {

class CCAnimation;
class CCSpriteFrame;

/// Plays an animation's frames on a sprite, each for an equal share of the duration. With
/// restore set, the frame the sprite showed at start is shown again when the action stops.
/// The target must be a CCSprite; other nodes are left alone (logged at start).
class CCAnimate : public CCActionInterval {
public:
    /// Duration = the animation's delay x its frame count; restores the original frame.
    static CCAnimate* createWithAnimation(CCAnimation* animation);
    static CCAnimate* createWithAnimationRestore(CCAnimation* animation, bool restoreOriginalFrame);
    static CCAnimate* createWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame);

    CCAnimate() = default;
    ~CCAnimate() override;

    /// Retains the animation; false (logged) for a null one.
    bool initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame);
    bool initWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame);

    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    void stop() override;
    /// The frames in reverse order, same duration and restore flag.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    CCAnimation* getAnimation() const { return m_animation; }

private:
    CCAnimation* m_animation = nullptr;
    CCSpriteFrame* m_origFrame = nullptr;
    bool m_restoreOriginalFrame = true;
};

} // namespace kvengine
