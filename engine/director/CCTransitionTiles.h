#pragma once

#include "engine/director/CCTransitionScene.h"
#include "engine/effects/CCGridBase.h"

namespace kvengine {

/// The outgoing scene's tiles switch off one by one in a shuffled order, uncovering the incoming
/// scene, which is drawn below it.
class CCTransitionTurnOffTiles : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionTurnOffTiles* create(float seconds, CCScene* incoming);
    /// Incoming scene below the outgoing one.
    void setSceneOrder() override;
    void onEnter() override;
    /// The action itself.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;
};

/// Columns of the outgoing scene slide out, then columns of the incoming scene slide in.
class CCTransitionSplitCols : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionSplitCols* create(float seconds, CCScene* incoming);
    void onEnter() override;
    /// An in-out ease of rate 3.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;

protected:
    /// The split that runs over each half (autoreleased).
    virtual CCActionInterval* action();
};

/// Rows slide out and in.
class CCTransitionSplitRows : public CCTransitionSplitCols {
public:
    static CCTransitionSplitRows* create(float seconds, CCScene* incoming);

protected:
    CCActionInterval* action() override;
};

/// The outgoing scene's tiles shrink away towards the top right, uncovering the incoming scene,
/// which is drawn below it.
class CCTransitionFadeTR : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionFadeTR* create(float seconds, CCScene* incoming);
    /// Incoming scene below the outgoing one.
    void setSceneOrder() override;
    void onEnter() override;
    /// The action itself.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;

protected:
    /// The tile fade over the whole duration (autoreleased).
    virtual CCActionInterval* actionWithSize(const ccGridSize& size);
};

/// Tiles shrink away towards the bottom left.
class CCTransitionFadeBL : public CCTransitionFadeTR {
public:
    static CCTransitionFadeBL* create(float seconds, CCScene* incoming);

protected:
    CCActionInterval* actionWithSize(const ccGridSize& size) override;
};

/// Rows of tiles fold away upwards.
class CCTransitionFadeUp : public CCTransitionFadeTR {
public:
    static CCTransitionFadeUp* create(float seconds, CCScene* incoming);

protected:
    CCActionInterval* actionWithSize(const ccGridSize& size) override;
};

/// Rows of tiles fold away downwards.
class CCTransitionFadeDown : public CCTransitionFadeTR {
public:
    static CCTransitionFadeDown* create(float seconds, CCScene* incoming);

protected:
    CCActionInterval* actionWithSize(const ccGridSize& size) override;
};

} // namespace kvengine
