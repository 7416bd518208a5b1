#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCNotification.h"
#include "engine/base/CCString.h"
#include "game/score/KVScoreManager.h"

/// The score manager of a solo mission.
///
/// Counts what happens on the board (kelvos lost, enemies removed, player turns, triggers
/// reached, the hidden star, the boss's death) and, at the end of every move, tests the failure
/// condition first, then the victory condition (unless the rules switched victory checking off).
/// At the victory it works out the mission's three stars and records the new ones in the profile
/// (not saved here). It also keeps the creatures, helmets and chests found during the mission.
///
/// Turn conditions: a "Survive" victory with "nbTurns" N is won at the end of the first move after
/// the N-th player turn started; a "TimeElimination" failure with N is lost at the end of the
/// first move after the (N+1)-th, unless every enemy is gone. Each side keeps its own limit.
class KVScoreManagerSolo : public KVScoreManager {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManagerSolo, KVScoreManager)

    /// Star results.
    enum StarResult : int { kStarNotEarned = 0, kStarEarned = 1, kStarEarnedBefore = 2 };

    /// Reads the trigger names and turn limits of the conditions; observes the board's events.
    KVScoreManagerSolo();
    /// Removes every observer, releases the three lists, forgets the trigger names.
    void cleanupBeforeDelete() override;

    /// Stars first, then the victory's dance.
    void declareVictory() override;

    /// "EVENT_END_TURN_BEFORE_BUFFER", "EVENT_MOVE_OVER_BEFORE_BUFFER": the end-of-move test.
    virtual void checkEndOfMove(kvengine::CCNotification* notification);
    virtual void onCoconutCrabDead(kvengine::CCNotification* notification);
    /// Counts the turn and posts "EVENT_TURN_START_PLAYER_DISPLAY".
    virtual void onTurnStartPlayer(kvengine::CCNotification* notification);
    virtual void onHiddenStarFound(kvengine::CCNotification* notification);
    /// A removed pawn: an enemy counts as removed, a human-driven kelvo as lost.
    virtual void onRemoveActor(kvengine::CCNotification* notification);
    /// A KVTriggerEvent: the victory trigger reached by a human-driven kelvo, or the failure
    /// trigger reached by an enemy.
    virtual void onTriggerTriggered(kvengine::CCNotification* notification);
    /// The pause screen opened: the end test waits until it clears the flag (setPaused(false)).
    virtual void onPause(kvengine::CCNotification* notification);

    /// The boss is dead, or every enemy the pawn manager counted has been removed.
    bool areAllEnemiesDefeated() const;
    /// Every human-driven kelvo the pawn manager counted has been lost.
    bool areAllHumanKelvosDead() const;

    /// "EVENT_TURN_START_PLAYER" received since the mission was built.
    int getPlayerTurns() const { return m_playerTurns; }
    int getKelvosLost() const { return m_kelvosLost; }
    int getEnemiesRemoved() const { return m_enemiesRemoved; }
    bool isHiddenStarFound() const { return m_hiddenStarFound; }
    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }
    /// The victory's "nbTurns" ("Survive"); -1 without that condition.
    int getVictoryTurnLimit() const { return m_victoryTurnLimit; }
    /// The failure's "nbTurns" + 1 ("TimeElimination"); -1 without that condition.
    int getFailTurnLimit() const { return m_failTurnLimit; }
    /// The limit the player plays against: the failure's when it has one, else the victory's.
    int getTurnLimit() const { return m_failTurnLimit >= 0 ? m_failTurnLimit : m_victoryTurnLimit; }
    /// StarResult values, set at the victory.
    int getHiddenStarResult() const { return m_hiddenStarResult; }
    int getSpeedStarResult() const { return m_speedStarResult; }
    int getSurvivalStarResult() const { return m_survivalStarResult; }
    /// Names found during the mission (hidden characters, their helmets, chests).
    kvengine::CCMutableArray<kvengine::CCString*>* getHelmetsFound() const { return m_helmetsFound; }
    kvengine::CCMutableArray<kvengine::CCString*>* getKelvosFound() const { return m_kelvosFound; }
    kvengine::CCMutableArray<kvengine::CCString*>* getChestsFound() const { return m_chestsFound; }

private:
    void computeStars();

    int m_kelvosLost = 0;
    int m_enemiesRemoved = 0;
    int m_playerTurns = 0;
    bool m_hiddenStarFound = false;
    bool m_victoryTriggerReached = false;
    bool m_failTriggerReached = false;
    bool m_bossDead = false;
    bool m_paused = false;
    std::string m_failTriggerName;
    std::string m_victoryTriggerName;
    int m_victoryTurnLimit = -1;
    int m_failTurnLimit = -1;
    int m_hiddenStarResult = kStarNotEarned;
    int m_speedStarResult = kStarNotEarned;
    int m_survivalStarResult = kStarNotEarned;
    kvengine::CCMutableArray<kvengine::CCString*>* m_helmetsFound = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_kelvosFound = nullptr;
    kvengine::CCMutableArray<kvengine::CCString*>* m_chestsFound = nullptr;
};
