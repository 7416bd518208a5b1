#pragma once

#include "game/pawns/KVPawnAI.h"

/// A computer-driven crustacean: it travels sideways (forward axis (1, 0), the AI's aim turned by
/// pi/2) and plays a wind-up before each launch. Made by the level builder from an AI spawn point
/// ("engine_class" "KVCrustacean", "KVCrab", "KVHermit" or "KVShrimp"; "Name" the entry of the AI
/// stats table); what it can do comes from its stats ("hasAOEAttack", "hasDistanceAttack").
class KVCrustacean : public KVPawnAI {
public:
    CC_DECLARE_CLASS_NAME(KVCrustacean, KVPawnAI)

    KVCrustacean() { m_enemy = true; }

    std::string viewClassName() override { return "KVCrustaceanV"; }
    /// pi/2: the AI turns its launch direction by this for a sideways traveller.
    float getAimAngleOffset() override { return 1.5707964f; }
    /// (1, 0) in body coordinates.
    void getForwardVector(float* x, float* y) override;
};

/// The hermit crab: a crustacean whose view adds the distance attack.
class KVHermit : public KVCrustacean {
public:
    CC_DECLARE_CLASS_NAME(KVHermit, KVCrustacean)
    std::string viewClassName() override { return "KVHermitV"; }
};

/// The shrimp.
class KVShrimp : public KVCrustacean {
public:
    CC_DECLARE_CLASS_NAME(KVShrimp, KVCrustacean)
    std::string viewClassName() override { return "KVShrimpV"; }
};
