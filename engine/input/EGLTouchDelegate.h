#pragma once

namespace kvengine {

class CCEvent;
class CCSet;

/// What the window hands its touch sets to (the touch dispatcher implements it).
/// The event is opaque and passed through untouched; the window passes null.
class EGLTouchDelegate {
public:
    virtual void touchesBegan(CCSet* touches, CCEvent* event) = 0;
    virtual void touchesMoved(CCSet* touches, CCEvent* event) = 0;
    virtual void touchesEnded(CCSet* touches, CCEvent* event) = 0;
    virtual void touchesCancelled(CCSet* touches, CCEvent* event) = 0;
    virtual ~EGLTouchDelegate() = default;
};

} // namespace kvengine
