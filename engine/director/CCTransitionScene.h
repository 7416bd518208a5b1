#pragma once

#include "engine/director/CCScene.h"

namespace kvengine {

class CCActionInterval;

/// A scene that stands in for the running scene while it animates from the scene that was
/// running (outgoing) to a new one (incoming). Hand it to CCDirector::replaceScene; at the end of
/// its animation a kind calls finish(), and one scheduler tick later the transition asks the
/// director to replace it by the incoming scene.
///
/// Ownership: retains both scenes until it is destroyed. Touch dispatch is off from the moment
/// the transition enters the stage until its hand-over (or until it leaves the stage without one),
/// so a transition that is made but never run leaves input alone.
class CCTransitionScene : public CCScene {
public:
    /// Tag of the layer a kind adds over both scenes (the fade's colour layer).
    static constexpr int kSceneFadeTag = static_cast<int>(0xFADEFADEu);

    CCTransitionScene() = default;
    ~CCTransitionScene() override;

    /// Duration in seconds and the incoming scene; the outgoing scene is the director's running
    /// scene now. False (with a log line) for a null incoming scene or one that is already running.
    [[nodiscard]] virtual bool initWithDuration(float seconds, CCScene* incoming);
    /// Incoming scene drawn on top; kinds may draw it below.
    virtual void setSceneOrder();

    /// The transition, then the incoming scene, enter; touch dispatch is switched off.
    void onEnter() override;
    /// The transition and the outgoing scene exit; the incoming scene is told that the transition
    /// finished; touch dispatch is on again.
    void onExit() override;
    /// Cleans up the outgoing scene too when the replacement asked for cleanup.
    void cleanup() override;
    /// Draws both scenes, the incoming one on top unless the kind chose otherwise.
    void draw() override;

    /// Resets both scenes and schedules the hand-over for the next scheduler tick.
    void finish();
    /// Incoming scene visible, outgoing scene hidden.
    void hideOutShowIn();
    /// The scheduled hand-over: the director's top scene becomes the incoming scene.
    void setNewScene(float dt);

    CCScene* getInScene() const { return m_inScene; }
    CCScene* getOutScene() const { return m_outScene; }
    float getDuration() const { return m_duration; }
    bool isInSceneOnTop() const { return m_isInSceneOnTop; }

protected:
    CCScene* m_inScene = nullptr;
    CCScene* m_outScene = nullptr;
    float m_duration = 0.0f;
    bool m_isInSceneOnTop = true;
    bool m_isSendCleanupToScene = false;
};

/// A transition that chooses between two directions (flips).
class CCTransitionSceneOriented : public CCTransitionScene {
public:
    /// 0 or 1: for horizontal flips 1 means the right side goes over; for vertical flips 0
    /// means the upper side goes over.
    [[nodiscard]] bool initWithDurationAndOrientation(float seconds, CCScene* incoming, int orientation);

protected:
    int m_orientation = 0;
};

/// Kinds that pass their main action through an easing implement this.
class CCTransitionEaseScene {
public:
    /// The action wrapped in the kind's easing (autoreleased), or the action itself.
    virtual CCActionInterval* easeActionWithAction(CCActionInterval* action) = 0;

protected:
    ~CCTransitionEaseScene() = default;
};

namespace detail {

/// new T, initWithDuration, autorelease; null when initialisation fails.
template <class T> T* createTransition(float seconds, CCScene* incoming) {
    T* transition = new T();
    if (!transition->initWithDuration(seconds, incoming)) {
        transition->release();
        return nullptr;
    }
    transition->autorelease();
    return transition;
}

} // namespace detail

} // namespace kvengine
