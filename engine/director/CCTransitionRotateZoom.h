#pragma once

#include "engine/director/CCTransitionScene.h"

namespace kvengine {

/// The outgoing scene shrinks and spins away, then the incoming scene spins and grows in.
class CCTransitionRotateZoom : public CCTransitionScene {
public:
    static CCTransitionRotateZoom* create(float seconds, CCScene* incoming);
    void onEnter() override;
};

/// The outgoing scene shrinks and jumps out to the left, then the incoming one jumps in and grows.
class CCTransitionJumpZoom : public CCTransitionScene {
public:
    static CCTransitionJumpZoom* create(float seconds, CCScene* incoming);
    void onEnter() override;
};

/// The outgoing scene shrinks away while the incoming one grows, easing out.
class CCTransitionShrinkGrow : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionShrinkGrow* create(float seconds, CCScene* incoming);
    void onEnter() override;
    /// An ease-out of rate 2.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;
};

} // namespace kvengine
