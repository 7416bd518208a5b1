#include "game/hud/KVCompanionAction.h"

#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCFadeTo.h"
#include "engine/base/CCLog.h"
#include "engine/nodes/CCNode.h"

#include <cassert>

using namespace kvengine;

namespace kvhud {

CCAction* runActionWithCompanion(CCNode* label, CCNode* companion, CCAction* action) {
    assert(label != nullptr && action != nullptr);
    if (label == nullptr || action == nullptr) {
        logDebugMessage("labels: no action to run with the outline");
        return nullptr;
    }
    CCActionManager* manager = CCActionManager::getInstance();
    auto* copy = static_cast<CCAction*>(action->copy());
    // A sequence usually moves the label about or calls back into the caller: run once, on the
    // label only. Moves need no companion action since the companion is a child of the label.
    if (copy != nullptr && companion != nullptr && !copy->isKindOf("CCSequence") &&
        !copy->isKindOf("CCMoveTo")) {
        CCAction* companionAction = copy;
        if (copy->isKindOf("CCFadeIn")) {
            // From the companion's own opacity, which a fade-in of the label does not reset.
            const float seconds = static_cast<CCFiniteTimeAction*>(copy)->getDuration();
            companionAction = CCFadeTo::createWithDurationOpacity(seconds, 255);
        }
        if (companionAction != nullptr)
            manager->addAction(companionAction, companion, !companion->isRunning());
    }
    if (copy != nullptr) copy->release();
    manager->addAction(action, label, !label->isRunning());
    return action;
}

} // namespace kvhud
