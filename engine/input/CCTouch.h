#pragma once

#include "engine/base/CCGeometry.h"
#include "engine/base/CCObject.h"

namespace kvengine {

/// The single touch that stands for the mouse. Locations are in points with the
/// origin at the top left of the picture, y growing downwards.
class CCTouch : public CCObject {
public:
    CCTouch() = default;

    CC_DECLARE_CLASS_NAME(CCTouch, CCObject)

    /// Id of the topmost overlay view under the touch (0 when none), stamped by the
    /// touch dispatcher before delivery.
    int getViewId() const { return viewId_; }
    void setViewId(int viewId) { viewId_ = viewId; }

    /// Current location; the view id argument is accepted for symmetry with the
    /// overlay views and does not change the answer.
    CCPoint getLocationInView(int viewId = 0) const;
    CCPoint getPreviousLocationInView(int viewId = 0) const;

    /// Moves the touch: the old location becomes the previous one.
    void setTouchInfo(int viewId, float x, float y);

private:
    int viewId_ = 0;
    CCPoint location_;
    CCPoint previousLocation_;
};

} // namespace kvengine
