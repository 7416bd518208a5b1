#pragma once

#include "game/tutorial/KVHelpCase.h"

/// Three misses in a row while armed for a special attack (a player's kelvo that has it entered
/// the attack mode) play the attack's help; the end of the turn or a move in between disarms.
/// This one watches the distance attack ("Tutos_chatot").
class KVHelpCaseFrigateAttack : public KVHelpCase {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCaseFrigateAttack, KVHelpCase)

    KVHelpCaseFrigateAttack();
    std::string getChatterName() const override { return "Tutos_chatot"; }
    void onDamageModeOn(kvengine::CCNotification* notification) override;
    void onTurnEndOrAction(kvengine::CCNotification* notification) override;
    void onDamageModeOff(kvengine::CCNotification* notification) override;
    virtual void onMiss(kvengine::CCNotification* notification);

protected:
    /// Observes the attack-mode, turn and miss notifications; `missedAttack` is the attack's own miss.
    explicit KVHelpCaseFrigateAttack(kvengine::CCString* missedAttack);
    /// Whether the pawn has the watched attack.
    virtual bool hasWatchedAttack(class KVPawn* pawn) const;
};

/// The same for the area attack ("Tutos_chatmp").
class KVHelpCaseDestroyerAttack : public KVHelpCaseFrigateAttack {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCaseDestroyerAttack, KVHelpCaseFrigateAttack)

    KVHelpCaseDestroyerAttack();
    std::string getChatterName() const override { return "Tutos_chatmp"; }

protected:
    bool hasWatchedAttack(class KVPawn* pawn) const override;
};

/// Three useless taps during one enemy phase play "Tutos_chatrn".
class KVHelpCaseEnemyTurn : public KVHelpCase {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCaseEnemyTurn, KVHelpCase)

    KVHelpCaseEnemyTurn();
    std::string getChatterName() const override { return "Tutos_chatrn"; }
    virtual void onTurnStart(kvengine::CCNotification* notification);
    virtual void onUselessTap(kvengine::CCNotification* notification);
};

/// Ten launches in a row by a player's kelvo that could have dashed and did not play the dash
/// help ("Tutos_chatah") at the end of a move, at most twice per profile (the profile's
/// "HelpCase" dictionary keeps the count under "Dash").
class KVHelpCaseDash : public KVHelpCase {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCaseDash, KVHelpCase)

    /// Launches without a dash before the help plays, and how often it plays at most.
    static constexpr int kLaunchesBeforeHelp = 10;
    static constexpr int kMostShown = 2;

    /// Reads the times shown from the profile.
    KVHelpCaseDash();
    std::string getChatterName() const override { return "Tutos_chatah"; }
    virtual void onMoveOver(kvengine::CCNotification* notification);
    virtual void onDash(kvengine::CCNotification* notification);
    virtual void onLaunch(kvengine::CCNotification* notification);

    int getTimesShown() const { return m_timesShown; }

private:
    int m_timesShown = 0;
};

/// No dialogue: after three player turns without a hit the objective banner comes back (posts
/// "EVENT_MISSION_OBJECTIVE"), then every third turn; a hit restarts the count and a chest or a
/// hidden star found takes one turn off it.
class KVHelpCaseObjective : public KVHelpCase {
public:
    CC_DECLARE_CLASS_NAME(KVHelpCaseObjective, KVHelpCase)

    KVHelpCaseObjective();
    virtual void onPlayerTurn(kvengine::CCNotification* notification);
    virtual void onAction(kvengine::CCNotification* notification);
    virtual void onDiscovery(kvengine::CCNotification* notification);
};
