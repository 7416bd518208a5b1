#include "engine/input/CCTouch.h"

namespace kvengine {

CCPoint CCTouch::getLocationInView(int /*viewId*/) const {
    return location_;
}

CCPoint CCTouch::getPreviousLocationInView(int /*viewId*/) const {
    return previousLocation_;
}

void CCTouch::setTouchInfo(int viewId, float x, float y) {
    viewId_ = viewId;
    previousLocation_ = location_;
    location_ = CCPoint(x, y);
}

} // namespace kvengine
