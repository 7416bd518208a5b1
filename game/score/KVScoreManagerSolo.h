#pragma once

#include "game/score/KVScoreManager.h"

/// The score manager of a solo mission.
class KVScoreManagerSolo : public KVScoreManager {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManagerSolo, KVScoreManager)
};
