#pragma once

#include "game/world/KVPickableObject.h"

namespace kvengine {
class CCString;
}

/// The helmet that pops out of an opened treasure chest and flies to the pawn whose turn it is
/// (its view, KVPickupHelmetV, times the flight). Taking it (grantReward) puts the helmet in the
/// mission's helmets to unlock and the chest in its opened chests, once; on a map without those
/// lists (multiplayer) nothing is recorded.
///
/// Made directly by the chest and autoreleased: the game model keeps it from its
/// "EVENT_NEW_ACTOR" on. The two names are retained.
class KVPickupHelmet : public KVPickableObject {
public:
    CC_DECLARE_CLASS_NAME(KVPickupHelmet, KVPickableObject)

    static constexpr float kPickRadius = 2.5f;

    float getPickRadius() override { return kPickRadius; }
    /// At `source`'s position (the origin when null); posts "EVENT_NEW_ACTOR". False (logged)
    /// without a helmet name.
    virtual bool initFromChest(KVActor* source, kvengine::CCString* helmetName, kvengine::CCString* chestId);
    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVPickupHelmetV"; }

    /// Records the helmet and the chest in the running mission's lists; a second call records
    /// nothing. False when nothing was recorded.
    bool grantReward();

    kvengine::CCString* getHelmetName() const { return m_helmetName; }
    kvengine::CCString* getChestId() const { return m_chestId; }
    bool isGranted() const { return m_granted; }

private:
    kvengine::CCString* m_helmetName = nullptr;
    kvengine::CCString* m_chestId = nullptr;
    bool m_granted = false;
};
