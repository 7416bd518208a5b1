#include "game/menu/KVCarouselSteps.h"

#include <string>

#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCMenu.h"
#include "game/data/KVDataAccess.h"
#include "game/menu/KVScrollOverlayView.h"
#include "game/menu/KVScrollScalableItem.h"

using namespace kvengine;

namespace kvmenu {

bool stepCarousel(KVScrollScalableItem* carousel, int direction, float step, int& current, int last,
                  CCMenu* previousArrow, CCMenu* nextArrow) {
    KVScrollOverlayView* scroll = carousel != nullptr ? carousel->getScrollView() : nullptr;
    // A press while the row still glides from the previous one would land between two entries.
    if (scroll == nullptr || scroll->isPaging()) return false;
    const bool forward = direction > 0;
    if (forward ? (current < 0 || current >= last) : current <= 0) return false;
    current += forward ? 1 : -1;
    scroll->scrollByWithInertia(forward ? -step : step);
    CCMenu* behind = forward ? previousArrow : nextArrow;
    CCMenu* ahead = forward ? nextArrow : previousArrow;
    if (behind != nullptr && !behind->isVisible() && (forward ? current > 0 : current < last))
        behind->setVisible(true);
    if (ahead != nullptr && current == (forward ? last : 0)) ahead->setVisible(false);
    return true;
}

int arrowKeyDirection(CCNotification* notification) {
    CCString* key = notification != nullptr ? kvdata::asString(notification->getObject()) : nullptr;
    if (key == nullptr) return 0;
    const std::string name = key->c_str();
    if (name == "TOUCH_RIGHT") return 1;
    if (name == "TOUCH_LEFT") return -1;
    return 0;
}

} // namespace kvmenu
