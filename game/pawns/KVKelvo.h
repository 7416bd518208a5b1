#pragma once

#include "engine/base/CCRetained.h"
#include "game/pawns/KVPawn.h"

class KVHelmet;

/// The player's sea creature: a pawn whose stats come from the creature stats table and grow with
/// its level, plus the bonuses of the helmet it wears; it carries the pull state that the player
/// controller drives and the creature view shows.
///
/// Every stat getter answers the stored stat plus the helmet's bonus (Move Power: the pawn's,
/// modifiers included, plus the bonus). "EVENT_PULL_RELEASE" from anyone deselects it.
///
/// Ownership: the helmet is retained; released at clean-up.
class KVKelvo : public KVPawn {
public:
    CC_DECLARE_CLASS_NAME(KVKelvo, KVPawn)

    /// Stretch of a full pull, metres (105 pixels): the stretch fraction is stretch / this.
    static constexpr float kFullStretch = 3.28125f;

    void cleanupBeforeDelete() override;
    std::string viewClassName() override { return "KVKelvoV"; }

    int getMaxHP() override;
    int getMaxSP() override;
    int getSPRegen() override;
    float getMovePower() override;
    float getWeightDensity() override;
    int getRangeTarget() override;
    int getRangeAoE() override;
    int getDefense() override;
    int getDmgTarget() override;
    int getDmgAoE() override;
    int getHeal() override;
    int getDmgMelee() override;
    int getDashPerTurn() override;
    float getPushOffCoefTarget() override;
    float getPushOffCoefAoE() override;
    float getDodge() override;
    float getCritics() override;
    int getSpeed() override;

    /// Observes "EVENT_PULL_RELEASE" (from anyone) -> onDamageModeOff, then the pawn's.
    void registerObservers() override;

    /// Writes the kelvo's level into the profile's record of its creature.
    virtual void saveLevel(kvengine::CCNotification* notification);

    /// For each of the 18 stats, in the fixed order, whose level-up list the creature's entry of
    /// the stats table holds: value := computeStatAtLevel(list, level, stored value); integer stats
    /// are truncated. A creature without an entry keeps its stats (logged).
    void applyLevelUps(int level);

    /// The helmet worn, or null. Not retained for the caller.
    KVHelmet* getHelmet() const { return m_helmet; }
    /// Wears `helmet` (retained; null takes it off).
    void setHelmet(KVHelmet* helmet);

    bool isPulling() const { return m_pulling; }
    void setPulling(bool pulling) { m_pulling = pulling; }
    /// Current stretch / 3.28125, 0 to 1.
    float getStretchFraction() const { return m_stretchFraction; }
    void setStretchFraction(float fraction) { m_stretchFraction = fraction; }
    /// Current pull power: negative for a short pull, at most 1; 0 when no pull.
    float getPullPower() const { return m_pullPower; }
    void setPullPower(float power) { m_pullPower = power; }

protected:
    bool m_pulling = false;
    float m_stretchFraction = 0.0f;
    float m_pullPower = 0.0f;
    kvengine::CCRetained<KVHelmet> m_helmet;
};
