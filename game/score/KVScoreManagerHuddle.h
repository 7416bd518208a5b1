#pragma once

#include "game/score/KVScoreManager.h"

/// The score manager of a multiplayer match.
class KVScoreManagerHuddle : public KVScoreManager {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManagerHuddle, KVScoreManager)
};
