#pragma once

#include "engine/base/CCNotification.h"
#include "game/rules/KVRuleCondition.h"

/// The conditions a rule file can name ("ConditionType"). Each registers its observers when made and
/// removes them at clean-up. All but "out_of_focus" keep holding once they hold.

/// "mission_started" (delay in seconds): holds once the frame times counted by its updates reach
/// the delay. The time counts from the first frame after loading, also while its rule is disabled.
class KVConditionMissionStarted : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionMissionStarted, KVRuleCondition)

    KVConditionMissionStarted() { m_parameterCount = 1; }
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override { return m_delay <= m_elapsed; }
    void update(float dt) override { m_elapsed += dt; }

private:
    float m_elapsed = 0.0f;
    float m_delay = 0.0f;
};

/// "dead_pawn" (side, mode): side "kelvo" counts the human-driven kelvos removed (AI-driven allies
/// are not counted), any other side the enemies removed. Mode "any" holds at the first, any other
/// mode once the count reaches the pawn manager's number of human kelvos or of enemies (all
/// registered so far, spawned ones included).
class KVConditionDeadPawn : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionDeadPawn, KVRuleCondition)

    KVConditionDeadPawn();
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override;

    /// "EVENT_REMOVE_ACTOR".
    virtual void onRemoveActor(kvengine::CCNotification* notification);

private:
    bool m_anyMode = false;
    int m_humanPawnsLost = 0;
    int m_enemiesRemoved = 0;
    kvengine::CCString* m_side = nullptr;
};

/// "trigger" (who, trigger name): holds once the named trigger was set off by a human-driven pawn
/// (who "kelvo"), by anyone ("any") or by an enemy (any other text).
class KVConditionTrigger : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionTrigger, KVRuleCondition)

    enum Who : int { kHumanKelvo = 0, kEnemy = 1, kAnyone = 2 };

    KVConditionTrigger();
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override { return m_met; }

    /// "EVENT_TRIGGER_TRIGGERED".
    virtual void onTriggerTriggered(kvengine::CCNotification* notification);

private:
    int m_who = kAnyone;
    kvengine::CCString* m_triggerName = nullptr;
    bool m_met = false;
};

/// "out_of_focus": holds from the showing of the out-of-screen bubble until a pawn is selected.
class KVConditionOOF : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionOOF, KVRuleCondition)

    KVConditionOOF();
    void cleanupBeforeDelete() override;
    bool isMet() override { return m_met; }

    /// "EVENT_OOF_ACTIVE".
    virtual void onOutOfScreenShown(kvengine::CCNotification* notification);
    /// "EVENT_PAWN_SELECTED".
    virtual void onPawnSelected(kvengine::CCNotification* notification);

private:
    bool m_met = false;
};

/// "dash": holds once a dash was performed.
class KVConditionDash : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionDash, KVRuleCondition)

    KVConditionDash();
    void cleanupBeforeDelete() override;
    bool isMet() override { return m_met; }

    /// "EVENT_DASH_ACTIVE".
    virtual void onDashActive(kvengine::CCNotification* notification);

private:
    bool m_met = false;
};

/// "end_of_speech" (dialogue identifier): holds once that dialogue has ended.
class KVConditionEOS : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionEOS, KVRuleCondition)

    KVConditionEOS();
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override { return m_met; }

    /// "EVENT_END_SPEECH" (the identifier of the dialogue that ended).
    virtual void onEndSpeech(kvengine::CCNotification* notification);

private:
    kvengine::CCString* m_chatterIdentifier = nullptr;
    bool m_met = false;
};

/// "new_powerup" (power-up name): holds once a pawn receives that power-up while the profile has
/// not seen it yet (tested when the rule file is loaded); marks it seen in the profile (unsaved).
/// A name outside the five power-ups is refused.
class KVConditionNewPowerup : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionNewPowerup, KVRuleCondition)

    KVConditionNewPowerup();
    void cleanupBeforeDelete() override;
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override { return m_met; }

    /// "EVENT_POWERUP_PICKED_UP" (the pawn that received a power-up).
    virtual void onPowerupPickedUp(kvengine::CCNotification* notification);

    /// The kind of a power-up name: 0 "energy_drink", 1 "sushi", 2 "spiky_shell", 3 "ninja_log",
    /// 4 "shuriken"; -1 for any other text.
    static int powerupKind(const std::string& name);

private:
    int m_powerupKind = 0;
    bool m_met = false;
    bool m_armed = true;
    kvengine::CCString* m_powerupName = nullptr;
};

/// "turn_count" (number of turns): holds in a solo mission once the player has started at least
/// that many turns; never in multiplayer.
class KVConditionTurnCount : public KVRuleCondition {
public:
    CC_DECLARE_CLASS_NAME(KVConditionTurnCount, KVRuleCondition)

    KVConditionTurnCount() { m_parameterCount = 1; }
    bool initWithParameters(Parameters* parameters) override;
    bool isMet() override;

private:
    int m_turns = 0;
};
