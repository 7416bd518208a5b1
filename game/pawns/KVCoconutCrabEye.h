#pragma once

#include "game/pawns/KVPawn.h"

/// A weak point of the coconut-crab boss: a small static pawn with hit points on the boss's head.
/// It plays no turn of its own (no controller), belongs to no player and is an ordinary enemy pawn
/// for everybody else: listed on the enemy side, hurt and killed through the damage rules, and
/// gone with its "EVENT_REMOVE_ACTOR". Stats from the AI stats entry of its type name
/// ("CoconutCrabEye"). Its body: a static bullet circle of "Radius" pixels, group -1 so that it
/// never meets the boss's slab.
class KVCoconutCrabEye : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabEye, KVPawn)

    KVCoconutCrabEye() { m_enemy = true; }

    /// False (logged) when the pawn, its stats or its body cannot be made.
    [[nodiscard]] bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) override;
    [[nodiscard]] bool createBody() override;
    std::string viewClassName() override { return "KVCoconutCrabEyeV"; }
    bool isBossWeakPoint() override { return true; }
};

/// The boss's third weak point, opened once both eyes are gone; destroying it kills the boss.
/// Stats from "CoconutCrabMouth".
class KVCoconutCrabMouth : public KVCoconutCrabEye {
public:
    CC_DECLARE_CLASS_NAME(KVCoconutCrabMouth, KVCoconutCrabEye)

    std::string viewClassName() override { return "KVCoconutCrabMouthV"; }
};
