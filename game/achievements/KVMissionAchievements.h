#pragma once

// The achievements that watch a mission while it runs. What they read of the running mission (the
// pawn whose turn it is, the solo player-turn count) comes through KVRunningMission, from the model
// that the game settings hold during the mission; outside a mission there is none.

#include "game/achievements/KVAchievement.h"

class KVPawn;
class KVRunningMission;

/// The running mission's model when it can be read, else null.
KVRunningMission* kvRunningMission();

/// One of the mission's team members wears the boxing helmet ("InGame - Game").
class KVAchievementSparringTheKelvo : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementSparringTheKelvo, KVAchievement)
    std::string getIdentifier() override { return "1066592"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

/// "C0M14" won before the second player turn has started ("EVENT_GAME_PLAYER_WIN").
class KVAchievementPolePosition : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementPolePosition, KVAchievement)
    std::string getIdentifier() override { return "1066662"; }
    virtual void handleEvent(kvengine::CCNotification* notification);

protected:
    bool registerObservers() override;
};

/// Ten combos (action type 7) within one run of mission "C0M17". Each mission start resets it.
class KVAchievementKelvoCalibur : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementKelvoCalibur, KVAchievement)
    std::string getIdentifier() override { return "1108302"; }
    /// "InGame - Game" (object: the mission name).
    virtual void onMissionStart(kvengine::CCNotification* notification);
    /// "EVENT_ACTION" (object: a KVActionEvent).
    virtual void onAction(kvengine::CCNotification* notification);

    static constexpr int kCombosNeeded = 10;

    bool active = false;
    int counter = 0;

protected:
    bool registerObservers() override;
};

/// Mission "C0M20" won with a bounce of the playing pawn in every player turn (the last one before
/// the win excepted) and none of the player's pawns lost. Each mission start resets it.
class KVAchievementLetsBounce : public KVAchievement {
public:
    CC_DECLARE_CLASS_NAME(KVAchievementLetsBounce, KVAchievement)
    std::string getIdentifier() override { return "1108292"; }
    /// "InGame - Game" (object: the mission name).
    virtual void onMissionStart(kvengine::CCNotification* notification);
    /// "EVENT_PAWN_BOUNCE_FOR_ACHIEVEMENT" (object: the bouncing pawn).
    virtual void onPawnBounce(kvengine::CCNotification* notification);
    /// "EVENT_START_TURN" (object: the pawn whose turn starts).
    virtual void onStartTurn(kvengine::CCNotification* notification);
    /// "EVENT_END_TURN": nothing.
    virtual void onEndTurn(kvengine::CCNotification* notification);
    /// "EVENT_REMOVE_ACTOR" (object: the actor leaving).
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// "EVENT_GAME_PLAYER_WIN".
    virtual void onPlayerWin(kvengine::CCNotification* notification);

    bool active = false;
    bool bouncedThisTurn = false;
    bool playerTurnRunning = false;
    bool stillPossible = true;

protected:
    bool registerObservers() override;
};
