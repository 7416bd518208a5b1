#pragma once

#include <string>

#include "engine/base/CCNotification.h"
#include "game/data/KVDataAccess.h"
#include "game/world/KVObject.h"

class KVPlayer;

/// Keeps the score of a running mission and decides its winner. The game model makes one per
/// mission (solo or multiplayer kind) and updates it last in each frame.
///
/// A verdict is requested by the subclasses (victory or defeat requested), declared by the next
/// update that finds none pending (victory first when both are requested): the dance notification
/// ("EVENT_VICTORY_DANCE" or "EVENT_LOOSE_DANCE") at once, "EVENT_GAME_WINNER" 2 s (victory) or
/// 1 s (defeat) of updates later. Requests are never cleared and a verdict is declared once.
///
/// The base adds the value of every scored action (types 17 to 20) to the score.
class KVScoreManager : public KVObject {
public:
    CC_DECLARE_CLASS_NAME(KVScoreManager, KVObject)

    /// Condition codes of a mission definition's "victory_condition" / "fail_condition".
    enum Condition : int {
        kNoCondition = -1,
        kAllGone = 0,   ///< "KillAllEnemies" / "AllKelvosDead"
        kReach = 1,     ///< "KelvoReach" / "EnemyReach", with "triggerName"
        kTurnLimit = 2, ///< "Survive" / "TimeElimination", with "nbTurns"
    };
    static constexpr float kVictoryDelay = 2.0f;
    static constexpr float kDefeatDelay = 1.0f;

    /// Reads both conditions of the current mission's definition and observes "EVENT_ACTION".
    KVScoreManager();
    /// Stops observing.
    void cleanupBeforeDelete() override;
    /// Runs the end timer, then declares a requested verdict when none is pending.
    void update(float dt) override;

    /// "EVENT_ACTION": a scored action adds its value to the score.
    virtual void onAction(kvengine::CCNotification* notification);
    /// A multiplayer side joins the score; nothing here.
    virtual void addPlayer(KVPlayer* player) { (void)player; }
    /// Posts "EVENT_LOOSE_DANCE"; "EVENT_GAME_WINNER" follows after 1 s of updates. Ignored
    /// (logged) once a verdict has been declared: a mission ends once.
    virtual void declareDefeat();
    /// Posts "EVENT_VICTORY_DANCE"; "EVENT_GAME_WINNER" follows after 2 s of updates. Ignored
    /// (logged) once a verdict has been declared.
    virtual void declareVictory();

    /// The code of a condition dictionary: its "condition" text (whole, case-sensitive) among the
    /// three names of its side, with the extra key that codes 1 and 2 need; -1 otherwise (null,
    /// unknown text, missing key).
    static int conditionCode(kvdata::Dict* condition, bool victorySide);
    /// The current mission's definition; null (logged) when the game setup names no mission or the
    /// game data has none.
    static kvdata::Dict* currentMissionDefinition();

    /// Whether the match has been decided for the player or against: input stops then.
    bool isVictoryRequested() const { return m_victoryRequested; }
    bool isDefeatRequested() const { return m_defeatRequested; }
    void requestVictory() { m_victoryRequested = true; }
    void requestDefeat() { m_defeatRequested = true; }
    /// A verdict has been declared; the end timer runs.
    bool isEndPending() const { return m_endPending; }
    /// Switched by the rules: while off, the victory condition is not tested.
    bool isVictoryChecking() const { return m_victoryChecking; }
    void setVictoryChecking(bool checking) { m_victoryChecking = checking; }
    int getVictoryCondition() const { return m_victoryCondition; }
    int getFailCondition() const { return m_failCondition; }
    int getScore() const { return m_score; }
    float getEndTimer() const { return m_endTimer; }

protected:
    /// The mission definition read at construction (retained); null when the mission has none.
    kvdata::Dict* m_missionDefinition = nullptr;
    bool m_victoryRequested = false;
    bool m_defeatRequested = false;
    bool m_endPending = false;
    bool m_victoryChecking = true;
    int m_victoryCondition = kNoCondition;
    int m_failCondition = kNoCondition;
    int m_score = 0;
    float m_endTimer = 0.0f;
};
