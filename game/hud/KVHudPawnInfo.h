#pragma once

#include "engine/base/CCRetained.h"
#include "game/menu/KVLayer.h"

class KVPawn;

/// The bottom-left panel of a solo mission: one icon per special ability of the kelvo whose turn
/// it is (dash, area attack, distance attack, heal), each on a background disc, with the dashes or
/// attack charges left. While the kelvo moves with dashes left, the dash icon becomes a
/// highlighted dash button.
///
/// Children (z 1 backgrounds, z 2 icons and counters), by ability in this order, 50 points apart
/// from x 35 (the heal group last): dash 100 / 101 / 102, area attack 103 / 104 / 105, distance
/// attack 106 / 107 / 108, heal 109 / 110 (background / icon / counter tags). The pawn is
/// retained and let go of in cleanupBeforeDelete.
class KVHudPawnInfo : public KVLayer {
public:
    CC_DECLARE_CLASS_NAME(KVHudPawnInfo, KVLayer)

    enum Tag {
        kDashBackground = 100,
        kDashIcon = 101,
        kDashCounter = 102,
        kAreaBackground = 103,
        kAreaIcon = 104,
        kAreaCounter = 105,
        kDistanceBackground = 106,
        kDistanceIcon = 107,
        kDistanceCounter = 108,
        kHealBackground = 109,
        kHealIcon = 110,
    };
    /// Tags of an old group are raised by this much while it fades out.
    static constexpr int kFadingTagShift = 130;
    /// Seconds of the icons' fades.
    static constexpr float kFade = 0.2f;

    /// The panel for `pawn` (null: an empty panel). The position is not used: the panel stays at
    /// the HUD's origin.
    KVHudPawnInfo(KVPawn* pawn, float x, float y);
    void cleanupBeforeDelete() override;

    /// Fades the old icons out and, for a player's pawn, the new pawn's icons in. A null pawn is
    /// forgotten and nothing else changes.
    virtual void setupForPawn(KVPawn* pawn);
    /// Counters and the dash button after the pawn's current state; nothing without a pawn.
    virtual void refreshCounters();

    KVPawn* getPawn() const { return m_pawn; }
    bool isDashButtonShown() const { return m_dashButtonShown; }

    /// End of an old icon's fade: it leaves the panel (without clean-up).
    void removeFaded(kvengine::CCNode* node);

private:
    void setCounter(int tag, int value);

    bool m_dashButtonShown = false;
    kvengine::CCRetained<KVPawn> m_pawn;
};
