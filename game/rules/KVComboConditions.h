#pragma once

#include "game/rules/KVRuleCombo.h"

/// The conditions of the ten combos. Each observes "EVENT_ACTION" from its creation and counts or
/// notes the actions of the player's side in the current move; the combo resets them when the
/// move ends. An action "of the combo pawn" is one whose actor is the combo pawn and is not
/// AI-driven; actions without an actor count too.

/// Counts the actions of one type done by the combo pawn (or without actor) in the move and holds
/// once the count reaches the threshold; counting restarts when the combo fires. Every counted
/// action's target joins the combo's pawns once, and the combo's counter follows the count.
class KVConditionComboMultipleEvent : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboMultipleEvent, KVRuleConditionCombo)

    KVConditionComboMultipleEvent(KVRuleCombo* combo, int actionType, int threshold);
    bool isMet() override { return count >= threshold; }
    void reset() override { count = 0; }
    void onAction(kvengine::CCNotification* notification) override;

    int count = 0;
    int threshold = 3;
    int actionType = 0;
};

/// Three area-attack hits in a move ("quake_shot.png").
class KVConditionComboAOE : public KVConditionComboMultipleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboAOE, KVConditionComboMultipleEvent)
    explicit KVConditionComboAOE(KVRuleCombo* combo);
};

/// Two heals in a move ("double_kiss.png").
class KVConditionComboHeal : public KVConditionComboMultipleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboHeal, KVConditionComboMultipleEvent)
    explicit KVConditionComboHeal(KVRuleCombo* combo);
};

/// Melee hits of a move: holds at the second and again at every further hit of the same move
/// (the count keeps growing when the combo fires). The count it last fired at is forgotten with
/// the move, so a double hit in a later move fires again.
class KVConditionComboMelee : public KVConditionComboMultipleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboMelee, KVConditionComboMultipleEvent)
    explicit KVConditionComboMelee(KVRuleCombo* combo);
    bool isMet() override;
    void reset() override;
    void onComboFired() override {}

    int lastFiredCount = 0;
};

/// Never holds: six area-attack hits in a move post "EVENT_ACHIEVEMENT_SEAFOOD_PORRIDGE".
class KVConditionComboAOEAchievement : public KVConditionComboMultipleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboAOEAchievement, KVConditionComboMultipleEvent)
    explicit KVConditionComboAOEAchievement(KVRuleCombo* combo);
    bool isMet() override;
};

/// Never holds: five melee hits in a move post "EVENT_ACHIEVEMENT_KUNG_FU_KELVO".
class KVConditionComboMeleeAchievement : public KVConditionComboMultipleEvent {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboMeleeAchievement, KVConditionComboMultipleEvent)
    explicit KVConditionComboMeleeAchievement(KVRuleCombo* combo);
    bool isMet() override;
};

/// The attacker fooled by a player's ninja log (action 8) is punished afterwards: pricked by a
/// spiky shell, hit by a spiky ball or wall (actions 9-11) or fallen into a hole. The log's owner
/// becomes the combo pawn ("big_bluff.png").
class KVConditionComboNinjaLog : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboNinjaLog, KVRuleConditionCombo)

    explicit KVConditionComboNinjaLog(KVRuleCombo* combo);
    void cleanupBeforeDelete() override;
    bool isMet() override;
    void reset() override;
    void onAction(kvengine::CCNotification* notification) override;
    /// "EVENT_PAWN_FALL".
    virtual void onPawnFall(kvengine::CCNotification* notification);
    /// "EVENT_REMOVE_ACTOR".
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    bool armed = false;
    bool done = false;
    KVPawn* getLogOwner() const { return m_logOwner; }
    KVPawn* getAttacker() const { return m_attacker; }

private:
    KVPawn* m_logOwner = nullptr;
    KVPawn* m_attacker = nullptr;
};

/// A player's distance attack hit at 75 % of the shooter's range or more ("eagle_shot.png").
class KVConditionComboDistanceAttack : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboDistanceAttack, KVRuleConditionCombo)

    static constexpr float kEagleRatio = 0.75f;

    explicit KVConditionComboDistanceAttack(KVRuleCombo* combo);
    bool isMet() override { return met; }
    void reset() override { met = false; }
    void onAction(kvengine::CCNotification* notification) override;

    bool met = false;
};

/// A player's spiky shell pricked an enemy ("team_trick.png").
class KVConditionComboSpikyShell : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboSpikyShell, KVRuleConditionCombo)

    explicit KVConditionComboSpikyShell(KVRuleCombo* combo);
    bool isMet() override { return met; }
    void reset() override { met = false; }
    void onAction(kvengine::CCNotification* notification) override;

    bool met = false;
};

/// A player's kelvo strikes an enemy after a bounce, both legs of its path (start to bounce,
/// bounce to strike) at least 0.3125 m long ("bounce_kick.png"). Never in the boss mission
/// "C0M26", where the bounces are still tracked.
class KVConditionComboBounceKick : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboBounceKick, KVRuleConditionCombo)

    static constexpr float kMinimumLeg = 0.3125f;

    explicit KVConditionComboBounceKick(KVRuleCombo* combo);
    void cleanupBeforeDelete() override;
    bool isMet() override;
    void reset() override;
    void onAction(kvengine::CCNotification* notification) override;
    /// "EVENT_PAWN_BOUNCE".
    virtual void onPawnBounce(kvengine::CCNotification* notification);
    /// "EVENT_REMOVE_ACTOR".
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    kvengine::CCMutableArray<KVPawn*>* getBouncedPawns() const { return m_bounced; }
    bool met = false;

private:
    kvengine::CCMutableArray<KVPawn*>* m_bounced = nullptr;
};

/// Never holds: an enemy hit by a player's distance attack that falls into a hole in the same move
/// posts "EVENT_ACHIEVEMENT_DONT_RUN_NEAR_POOL".
class KVConditionComboDontRunNearThePool : public KVRuleConditionCombo {
public:
    CC_DECLARE_CLASS_NAME(KVConditionComboDontRunNearThePool, KVRuleConditionCombo)

    explicit KVConditionComboDontRunNearThePool(KVRuleCombo* combo);
    void cleanupBeforeDelete() override;
    bool isMet() override { return false; }
    void reset() override;
    void onAction(kvengine::CCNotification* notification) override;
    /// "EVENT_PAWN_FALL".
    virtual void onPawnFall(kvengine::CCNotification* notification);
    /// "EVENT_REMOVE_ACTOR".
    virtual void onRemoveActor(kvengine::CCNotification* notification);

    kvengine::CCMutableArray<KVPawn*>* getHitEnemies() const { return m_hitEnemies; }

private:
    kvengine::CCMutableArray<KVPawn*>* m_hitEnemies = nullptr;
};

/// A new condition (autoreleased) for a combo of `combo`'s type; null for a type outside 0-9.
KVRuleConditionCombo* kvCreateComboCondition(KVRuleCombo* combo);
