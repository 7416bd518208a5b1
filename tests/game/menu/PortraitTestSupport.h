#pragma once
// Small helpers of the portrait icon and list tests: a handler target, the frame a sprite shows,
// and a profile tutorial step pointing at an item.
#include <string>
#include <vector>

#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"
#include "engine/nodes/CCMenuItem.h"

namespace kvengine {
class CCNode;
class CCSprite;
} // namespace kvengine

namespace portraittest {

/// Records the user objects (entry keys) of the icons its handlers receive.
class Handler : public kvengine::CCObject {
public:
    void onChosen(kvengine::CCObject* sender);
    void onRemoved(kvengine::CCObject* sender);
    std::vector<std::string> chosen;
    int removed = 0;
};

inline kvengine::SEL_MenuHandler chosenSelector() {
    return menu_selector(Handler::onChosen);
}

/// Whether the sprite shows the frame of that name (same texture rectangle).
bool showsFrame(kvengine::CCNode* sprite, const char* frameName);
/// The children of `node` that show `frameName`.
int childrenShowing(kvengine::CCNode* node, const char* frameName);
/// A forced tutorial step whose condition points the shop at `item` ("buyKelvo").
void pointTutorialAt(const std::string& item);
/// Loads a sheet of the built resource folder into the frame cache.
void loadSheet(const char* sheet);

} // namespace portraittest
