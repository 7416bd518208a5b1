#pragma once

namespace kvengine {
class CCAction;
class CCNode;
} // namespace kvengine

namespace kvhud {

/// Shared by the shadow and stroke labels: runs `action` on `label` (paused while the label is
/// not running) and the companion's matching action on `companion` when there is one: for a
/// fade-in a fade to 255 of the same duration, for a move or a sequence nothing, otherwise a copy
/// of the action. `companion` may be null. Returns `action`; a null action is refused (null).
kvengine::CCAction* runActionWithCompanion(kvengine::CCNode* label, kvengine::CCNode* companion,
                                           kvengine::CCAction* action);

} // namespace kvhud
