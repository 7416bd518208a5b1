#pragma once

#include "game/pawns/KVCrustacean.h"

/// An enemy crab, the common crustacean. Type tests for "KVCrab" tell a crab's area attack from a
/// kelvo's, and size its knock-out puff.
class KVCrab : public KVCrustacean {
public:
    CC_DECLARE_CLASS_NAME(KVCrab, KVCrustacean)
    std::string viewClassName() override { return "KVCrabV"; }
};
