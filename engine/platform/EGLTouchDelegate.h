#pragma once

namespace kvengine {

class CCSet;

/// What the view hands its touch sets to (the touch dispatcher implements it).
/// `touches` holds the single touch that stands for the mouse; `event` is always null.
class EGLTouchDelegate {
public:
    virtual void touchesBegan(CCSet* touches, void* event) = 0;
    virtual void touchesMoved(CCSet* touches, void* event) = 0;
    virtual void touchesEnded(CCSet* touches, void* event) = 0;
    virtual void touchesCancelled(CCSet* touches, void* event) = 0;
    virtual ~EGLTouchDelegate() = default;
};

} // namespace kvengine
