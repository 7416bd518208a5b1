#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/rules/KVRule.h"
#include "game/rules/KVRuleCondition.h"
#include "game/rules/KVRuleEffect.h"

class KVPawn;
class KVRuleCombo;

/// The combo types, one built-in rule each (see KVRuleManager::addComboRules). The last three
/// never fire: they only announce achievements.
enum KVComboType : int {
    kComboAreaAttack = 0,
    kComboMelee = 1,
    kComboHeal = 2,
    kComboNinjaLog = 3,
    kComboDistanceAttack = 4,
    kComboSpikyShell = 5,
    kComboBounceKick = 6,
    kComboAreaAchievement = 7,
    kComboMeleeAchievement = 8,
    kComboPoolAchievement = 9,
    kComboTypeCount = 10,
};

/// A combo: a built-in rule of solo missions that rewards a skilful move of the player's kelvo with
/// a sticker ("EVENT_ACTION" of type 7 carrying the sticker's frame name) and a bonus pearl. Unlike
/// a rule of the mission's file it never disables itself: it fires each time its condition holds.
///
/// Every combo is confined to one move: "EVENT_MOVE_OVER" resets its condition, its pawn list and
/// its counter. "EVENT_START_TURN" names the pawn credited with the combo (the combo pawn).
class KVRuleCombo : public KVRule {
public:
    CC_DECLARE_CLASS_NAME(KVRuleCombo, KVRule)

    /// A combo of `type` (0-9) without condition or effect yet; observes the removal of actors,
    /// the end of moves and the start of turns.
    explicit KVRuleCombo(int type);
    /// Removes the observers and releases the combo pawn, the name and the pawn list.
    void cleanupBeforeDelete() override;
    /// Lets every combo condition know that the combo fired; the rule stays enabled.
    void onFired() override;

    /// "EVENT_REMOVE_ACTOR": forgets the combo pawn when it leaves.
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// "EVENT_MOVE_OVER": resets every condition, empties the pawns and zeroes the counter.
    virtual void onMoveOver(kvengine::CCNotification* notification);
    /// "EVENT_START_TURN": the pawn whose turn starts becomes the combo pawn.
    virtual void onStartTurn(kvengine::CCNotification* notification);

    int getType() const { return m_type; }
    /// The pawn credited with the combo; may be null.
    KVPawn* getComboPawn() const { return m_comboPawn; }
    /// Retains `pawn` (null clears).
    void setComboPawn(KVPawn* pawn);
    /// The pawns involved in the current combo, in order of addition; the pearl falls at the last.
    kvengine::CCMutableArray<KVPawn*>* getPawns() const { return m_pawns; }
    /// Appends `pawn` unless `unique` and it is already listed. Null is ignored.
    void addPawn(KVPawn* pawn, bool unique);
    kvengine::CCString* getName() const { return m_name; }

    /// Counted actions of the current move (multiple-event combos).
    int counter = 0;

private:
    int m_type = 0;
    KVPawn* m_comboPawn = nullptr;
    kvengine::CCString* m_name = nullptr;
    kvengine::CCMutableArray<KVPawn*>* m_pawns = nullptr;
};

/// The condition of a combo: watches "EVENT_ACTION" (and a few pawn notifications) and is reset at
/// the end of every move. Takes no parameter. Knows its combo without retaining it (the combo owns
/// the condition).
class KVRuleConditionCombo : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVRuleConditionCombo, KVRuleCondition)

    explicit KVRuleConditionCombo(KVRuleCombo* combo) : m_combo(combo) {}
    /// Removes the observers and forgets the combo.
    void cleanupBeforeDelete() override;

    /// Forgets what was counted in the move; the base has nothing to forget.
    virtual void reset() {}
    /// Called after the combo fired; the base resets.
    virtual void onComboFired() { reset(); }
    /// "EVENT_ACTION".
    virtual void onAction(kvengine::CCNotification* notification) { (void)notification; }

    KVRuleCombo* getCombo() const { return m_combo; }

protected:
    /// Observes "EVENT_ACTION" with onAction; the kinds call it from their constructors.
    void observeActions();
    KVRuleCombo* m_combo = nullptr;
};

/// The effect of a combo. Takes no parameter; knows its combo without retaining it.
class KVRuleEffectCombo : public KVRuleEffect {
public:
    CC_DECLARE_CLASS_NAME(KVRuleEffectCombo, KVRuleEffect)

    explicit KVRuleEffectCombo(KVRuleCombo* combo) : m_combo(combo) {}
    void cleanupBeforeDelete() override;

protected:
    KVRuleCombo* m_combo = nullptr;
};

/// The reward of a combo: posts "EVENT_ACTION" of type 7 (actor the combo pawn, value the points,
/// text the sticker frame) and drops a combo pearl (kind 19) at the last pawn of the combo.
class KVEffectComboPearl : public KVRuleEffectCombo {
public:
    CC_DECLARE_CLASS_NAME(KVEffectComboPearl, KVRuleEffectCombo)

    explicit KVEffectComboPearl(KVRuleCombo* combo) : KVRuleEffectCombo(combo) {}
    void update(float dt) override;

    /// The reward of a combo of `type` after `counter` counted actions: the sticker frame
    /// ("Undefined" outside types 0-6), the points shown and the pearl dropped.
    struct Reward {
        const char* sticker;
        int points;
        int pearl;
    };
    static Reward rewardFor(int type, int counter);
};
