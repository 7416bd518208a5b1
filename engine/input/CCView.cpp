#include "engine/input/CCView.h"

#include "engine/director/CCDirector.h"

namespace kvengine {

namespace {

int lastViewId = 0;

} // namespace

CCView::CCView() : viewId_(++lastViewId) {}

bool CCView::initWithFrame(const CCRect& rect) {
    frame_ = rect;
    bounds_ = CCRect(0.0f, 0.0f, rect.size.width, rect.size.height);
    center_ = CCPoint(rect.origin.x + rect.size.width / 2.0f, rect.origin.y + rect.size.height / 2.0f);
    setContentSize(rect.size);
    setPosition(CCPoint(0.0f, 0.0f));
    return true;
}

void CCView::removeFromDirector() {
    CCDirector::getInstance()->removeOverlayView(this);
}

} // namespace kvengine
