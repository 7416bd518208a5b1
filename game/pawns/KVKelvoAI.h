#pragma once

#include "game/pawns/KVKelvo.h"

/// A kelvo steered by the computer, on either side, described in the AI creature stats table:
/// "Is Enemy" puts it on the enemy side (missing: an ally on the player side), "Default Helmet"
/// is its helmet, "useAllStamina" and "level" are read; its stats are final (no level-ups). A
/// KVPawnAIController moves it.
class KVKelvoAI : public KVKelvo {
public:
    CC_DECLARE_CLASS_NAME(KVKelvoAI, KVKelvo)

    /// False (logged) when the pawn or its body cannot be made.
    [[nodiscard]] bool initAt(float x, float y, KVGameModel* model, kvengine::CCString* typeName) override;
};
