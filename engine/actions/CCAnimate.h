#pragma once

#include "engine/actions/CCAction.h"
#include "engine/base/CCRetained.h"

namespace kvengine {

class CCAnimation;
class CCSpriteFrame;

/// Plays a frame animation on its sprite: each frame covers an equal share of the duration and
/// t = 1 shows the last one. With the restore flag the sprite gets back, when the action is
/// stopped, the frame it showed when the action started. An animation without frames shows
/// nothing and simply takes its time.
///
/// Ownership: retains the animation, and the saved frame while it holds one.
class CCAnimate : public CCActionInterval {
public:
    ~CCAnimate() override;

    /// Duration = delay x frame count; restores the original frame. Null (logged) for a null
    /// animation.
    static CCAnimate* createWithAnimation(CCAnimation* animation);
    static CCAnimate* createWithAnimationRestore(CCAnimation* animation, bool restoreOriginalFrame);
    /// The duration is the given one (seconds).
    static CCAnimate* createWithDurationAnimation(float seconds, CCAnimation* animation,
                                                  bool restoreOriginalFrame);

    bool initWithAnimation(CCAnimation* animation, bool restoreOriginalFrame);
    bool initWithDurationAnimation(float seconds, CCAnimation* animation, bool restoreOriginalFrame);

    /// Saves the sprite's current frame when the restore flag is set.
    void startWithTarget(CCNode* target) override;
    void update(float t) override;
    /// Shows the saved frame again when the restore flag is set, then clears the target.
    void stop() override;
    /// The frames in reverse order (copies), same delay, duration and restore flag.
    CCFiniteTimeAction* reverse() override;
    CCObject* copyInto(CCCopyHolder* holder) override;

    CCAnimation* getAnimation() const { return m_animation; }
    bool isRestoreOriginalFrame() const { return m_restoreOriginalFrame; }

private:
    void setAnimation(CCAnimation* animation);
    void setSavedFrame(CCSpriteFrame* frame);

    CCRetained<CCAnimation> m_animation;
    CCRetained<CCSpriteFrame> m_savedFrame;
    bool m_restoreOriginalFrame = false;
};

} // namespace kvengine
