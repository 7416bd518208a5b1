#pragma once

#include "game/pawns/KVPawn.h"

class KVHelmet;

/// The player's sea creature: a pawn that may wear a helmet.
///
/// Ownership: the helmet is retained; released at clean-up.
class KVKelvo : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVKelvo, KVPawn)

    void cleanupBeforeDelete() override;

    /// The helmet worn, or null. Not retained for the caller.
    KVHelmet* getHelmet() const { return m_helmet; }
    /// Wears `helmet` (retained; null takes it off).
    void setHelmet(KVHelmet* helmet);

protected:
    KVHelmet* m_helmet = nullptr;
};
