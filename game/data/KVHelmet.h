#pragma once

#include "engine/base/CCString.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVObject.h"

/// The helmet a creature pawn wears during a mission, with the total bonus of each statistic.
///
/// Bonuses are computed once, at construction, from the helmet table of the game data: the worn
/// helmet plus every helmet transferred to the wearer for good (the worn one counted once, each
/// transferred helmet once). Helmets changed during a mission count from the next one.
class KVHelmet : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVHelmet, KVObject)

    /// `helmetName` may be null or empty (no pictures, only transferred helmets count). A wearer
    /// without a profile record (a computer-controlled creature) has no transferred helmets.
    KVHelmet(kvengine::CCString* helmetName, kvengine::CCString* wearerName);
    void cleanupBeforeDelete() override;

    void computeBonuses();
    void releaseSpriteName();

    kvengine::CCString* getHelmetName() const { return m_helmetName; }
    /// "spritesheet_name" / "sprite_name" of the worn helmet; null for an empty name.
    kvengine::CCString* getSpriteSheetName() const { return m_spriteSheetName; }
    kvengine::CCString* getSpriteName() const { return m_spriteName; }
    kvengine::CCString* getWearerName() const { return m_wearerName; }

    int hpBonus = 0;
    int spBonus = 0;
    int meleeDamageBonus = 0;
    int defenseBonus = 0;
    int dashPerTurnBonus = 0;
    int healBonus = 0;
    int areaDamageBonus = 0;
    int targetDamageBonus = 0;
    int spRegenBonus = 0;
    float movePowerBonus = 0.0f;
    float weightDensityBonus = 0.0f;
    int areaRangeBonus = 0;
    int targetRangeBonus = 0;
    float criticsBonus = 0.0f;
    float dodgeBonus = 0.0f;
    float targetPushOffBonus = 0.0f;
    float areaPushOffBonus = 0.0f;
    int speedBonus = 0;

private:
    void addBonusesOf(kvdata::Dict* helmet);

    kvengine::CCString* m_helmetName = nullptr;
    kvengine::CCString* m_spriteSheetName = nullptr;
    kvengine::CCString* m_spriteName = nullptr;
    kvengine::CCString* m_wearerName = nullptr;
};
