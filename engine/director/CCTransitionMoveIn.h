#pragma once

#include "engine/director/CCTransitionScene.h"

namespace kvengine {

/// The incoming scene moves in from the left over the outgoing one, easing out.
class CCTransitionMoveInL : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionMoveInL* create(float seconds, CCScene* incoming);
    void onEnter() override;
    /// An ease-out of rate 2.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;

protected:
    /// Where the incoming scene starts.
    virtual void initScenes();
};

/// Moves in from the right.
class CCTransitionMoveInR : public CCTransitionMoveInL {
public:
    static CCTransitionMoveInR* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
};

/// Moves in from the top.
class CCTransitionMoveInT : public CCTransitionMoveInL {
public:
    static CCTransitionMoveInT* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
};

/// Moves in from the bottom.
class CCTransitionMoveInB : public CCTransitionMoveInL {
public:
    static CCTransitionMoveInB* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
};

/// Both scenes slide together: the incoming one pushes the outgoing one out to the right.
class CCTransitionSlideInL : public CCTransitionScene, public CCTransitionEaseScene {
public:
    static CCTransitionSlideInL* create(float seconds, CCScene* incoming);
    void onEnter() override;
    /// An ease-out of rate 2.
    CCActionInterval* easeActionWithAction(CCActionInterval* action) override;

protected:
    /// Where the incoming scene starts.
    virtual void initScenes();
    /// The move both scenes make (autoreleased).
    virtual CCActionInterval* action();
};

/// Slides in from the right.
class CCTransitionSlideInR : public CCTransitionSlideInL {
public:
    static CCTransitionSlideInR* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
    CCActionInterval* action() override;
};

/// Slides in from the top.
class CCTransitionSlideInT : public CCTransitionSlideInL {
public:
    static CCTransitionSlideInT* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
    CCActionInterval* action() override;
};

/// Slides in from the bottom.
class CCTransitionSlideInB : public CCTransitionSlideInL {
public:
    static CCTransitionSlideInB* create(float seconds, CCScene* incoming);

protected:
    void initScenes() override;
    CCActionInterval* action() override;
};

} // namespace kvengine
