#pragma once

#include "engine/nodes/CCNode.h"

class KVActorViewHost;

namespace kveffect {

/// Name of the sheet the short effects draw in.
extern const char* const kEffectSheet;
constexpr float kPointsPerMetre = 32.0f;

/// Adds `sprite` to the host's effect sheet at z 0 and answers whether it is now on a running node
/// (so its actions play). No host, no sheet or a sheet off the screen: logged once per call, false.
bool showOnEffectSheet(kvengine::CCNode* sprite, KVActorViewHost* host, const char* who);

} // namespace kveffect
