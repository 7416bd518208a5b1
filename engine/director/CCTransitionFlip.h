#pragma once

#include "engine/director/CCTransitionScene.h"

namespace kvengine {

/// Flips the outgoing scene away and the incoming scene in by orbiting their cameras through a
/// quarter turn each. The orientation picks the direction of the turn; the zoom variants also
/// shrink the outgoing scene and grow the incoming one.
class CCTransitionFlipBase : public CCTransitionSceneOriented {
public:
    void onEnter() override;

protected:
    /// Which orientation value selects the first direction of the turn (1 for horizontal and
    /// angular flips, 0 for vertical ones).
    virtual int firstDirection() const { return 1; }
    /// The azimuths (degrees) of the incoming and the outgoing orbit.
    virtual float inAngleX() const = 0;
    virtual float outAngleX() const = 0;
    /// Whether the scenes also zoom while they turn.
    virtual bool zooms() const { return false; }
};

#define KV_DECLARE_FLIP(Name, First, InX, OutX, Zoom)                                                        \
    class Name : public CCTransitionFlipBase {                                                               \
    public:                                                                                                  \
        /** Null when initialisation fails. */                                                               \
        static Name* create(float seconds, CCScene* incoming, int orientation);                              \
                                                                                                             \
    protected:                                                                                               \
        int firstDirection() const override { return First; }                                                \
        float inAngleX() const override { return InX; }                                                      \
        float outAngleX() const override { return OutX; }                                                    \
        bool zooms() const override { return Zoom; }                                                         \
    };

/// Turns about the vertical axis.
KV_DECLARE_FLIP(CCTransitionFlipX, 1, 0.0f, 0.0f, false)
/// Turns about the horizontal axis.
KV_DECLARE_FLIP(CCTransitionFlipY, 0, 90.0f, 90.0f, false)
/// Turns about a diagonal.
KV_DECLARE_FLIP(CCTransitionFlipAngular, 1, -45.0f, 45.0f, false)
KV_DECLARE_FLIP(CCTransitionZoomFlipX, 1, 0.0f, 0.0f, true)
KV_DECLARE_FLIP(CCTransitionZoomFlipY, 0, 90.0f, 90.0f, true)
KV_DECLARE_FLIP(CCTransitionZoomFlipAngular, 1, -45.0f, 45.0f, true)

#undef KV_DECLARE_FLIP

} // namespace kvengine
