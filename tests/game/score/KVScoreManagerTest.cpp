// The score managers: how a mission is decided (failure first, then victory), when the verdict
// and "EVENT_GAME_WINNER" are posted, the stars of a solo victory, the multiplayer points,
// placings and streak messages, and the score of the scored actions.
#include "ScoreTestSupport.h"

#include <memory>

#include "game/pawns/KVKelvoPlayer.h"
#include "game/pawns/KVPlayerHuddle.h"
#include "game/score/KVScoreManagerHuddle.h"
#include "game/score/KVScoreManagerSolo.h"
#include "game/world/KVTriggerEvent.h"

using kvengine::CCNotificationCenter;
using kvengine::CCString;
using pawntest::LogCapture;
using pawntest::Trace;
using scoretest::condition;

namespace {

// The board of the solo cases: two human-driven kelvos, a computer-driven ally, two enemies.
class KVScoreManagerSoloTest : public scoretest::ScoreWorldTest {
protected:
    void SetUp() override {
        ScoreWorldTest::SetUp();
        kvdata::Dict* stats = pawntest::fighterStats();
        kelvos = {makePawn("k1", 2, 2, stats), makePawn("k2", 4, 2, stats)};
        ally = makePawn("ally", 6, 2, stats, false, true);
        enemies = {makePawn("e1", 2, 8, stats, true, true), makePawn("e2", 4, 8, stats, true, true)};
    }
    void TearDown() override {
        if (score != nullptr) score->release();
        score = nullptr;
        ScoreWorldTest::TearDown();
    }

    void trigger(const char* name, KVPawn* pawn) {
        auto* text = new CCString(name);
        auto* event = new KVTriggerEvent(text, pawn, false);
        post(EVENT_TRIGGER_TRIGGERED, event);
        event->release();
        text->release();
    }

    // Plays `script`, one character per step, and answers "V<step>" or "D<step>" for the step at
    // which the first dance was posted, "-" for none. Steps:
    //   T a player turn starts    m a move ends (the score's own test)   U the model's update
    //   M a move ends, then the model's update    E a turn ends, then the model's update
    //   e / k / a  the next enemy / human kelvo / the ally leaves the board
    //   R / r / X  "goal" set off by a human kelvo / the ally / an enemy;   Y "danger" by an enemy
    //   B the boss dies    P the pause screen opens
    std::string play(const std::string& script) {
        score = new KVScoreManagerSolo();
        auto* trace = new Trace({EVENT_VICTORY_DANCE, EVENT_LOOSE_DANCE});
        size_t enemy = 0, kelvo = 0;
        std::string verdict = "-";
        for (size_t i = 0; i < script.size(); ++i) {
            switch (script[i]) {
            case 'T':
                post(EVENT_TURN_START_PLAYER);
                break;
            case 'm':
                post(EVENT_MOVE_OVER_BEFORE_BUFFER);
                break;
            case 'U':
                score->update(0.0f);
                break;
            case 'M':
                post(EVENT_MOVE_OVER_BEFORE_BUFFER);
                score->update(0.0f);
                break;
            case 'E':
                post(EVENT_END_TURN_BEFORE_BUFFER, kelvos[0]);
                score->update(0.0f);
                break;
            case 'e':
                post(EVENT_REMOVE_ACTOR, enemies[enemy++]);
                break;
            case 'k':
                post(EVENT_REMOVE_ACTOR, kelvos[kelvo++]);
                break;
            case 'a':
                post(EVENT_REMOVE_ACTOR, ally);
                break;
            case 'R':
                trigger("goal", kelvos[0]);
                break;
            case 'r':
                trigger("goal", ally);
                break;
            case 'X':
                trigger("goal", enemies[0]);
                break;
            case 'Y':
                trigger("danger", enemies[0]);
                break;
            case 'B':
                post(EVENT_COCONUT_CRAB_DEAD);
                break;
            case 'P':
                post(SCREEN_INGAME_PAUSE);
                break;
            default:
                ADD_FAILURE() << "unknown step " << script[i];
            }
            if (verdict == "-" && !trace->lines.empty())
                verdict = std::string(trace->lines[0].rfind("EVENT_VICTORY", 0) == 0 ? "V" : "D") +
                          std::to_string(i);
        }
        EXPECT_LE(trace->lines.size(), 1u) << trace->dump();
        trace->release();
        return verdict;
    }

    std::vector<KVPawn*> kelvos;
    KVPawn* ally = nullptr;
    std::vector<KVPawn*> enemies;
    KVScoreManagerSolo* score = nullptr;
};

struct ConditionCase {
    const char* label;
    const char* victory; // condition name; null: no dictionary
    const char* victoryKey;
    const char* victoryValue;
    const char* fail;
    const char* failKey;
    const char* failValue;
    const char* script;
    const char* verdict;
};

TEST_F(KVScoreManagerSoloTest, ConditionKindsDecideAtTheStepThePartsSay) {
    const ConditionCase cases[] = {
        {"all enemies gone: declared at the model's update", "KillAllEnemies", nullptr, nullptr,
         "AllKelvosDead", nullptr, nullptr, "TeemU", "V4"},
        {"one enemy left", "KillAllEnemies", nullptr, nullptr, "AllKelvosDead", nullptr, nullptr, "TeMTM",
         "-"},
        {"every human kelvo lost", "KillAllEnemies", nullptr, nullptr, "AllKelvosDead", nullptr, nullptr,
         "TkkM", "D3"},
        {"the ally does not count as a kelvo", "KillAllEnemies", nullptr, nullptr, "AllKelvosDead", nullptr,
         nullptr, "TkaM", "-"},
        {"failure is tested first", "KillAllEnemies", nullptr, nullptr, "AllKelvosDead", nullptr, nullptr,
         "TeekkM", "D5"},
        {"the boss kill wins with enemies left", "KillAllEnemies", nullptr, nullptr, nullptr, nullptr,
         nullptr, "TBmU", "V3"},
        {"a turn end also ends a move", "KillAllEnemies", nullptr, nullptr, nullptr, nullptr, nullptr, "TeeE",
         "V3"},
        {"names are case-sensitive: an unknown victory is all enemies gone", "killallenemies", nullptr,
         nullptr, "Survive", "nbTurns", "1", "TmTmTmTeeM", "V9"},
        {"no fail condition: all kelvos lost", "KillAllEnemies", nullptr, nullptr, nullptr, nullptr, nullptr,
         "TkkM", "D3"},
        {"reach by a human kelvo: declared at once", "KelvoReach", "triggerName", "goal", "AllKelvosDead",
         nullptr, nullptr, "TRm", "V2"},
        {"reach by the ally does not count", "KelvoReach", "triggerName", "goal", nullptr, nullptr, nullptr,
         "TrMTeeM", "-"},
        {"reach by an enemy does not count", "KelvoReach", "triggerName", "goal", nullptr, nullptr, nullptr,
         "TXM", "-"},
        {"reach without its trigger name is all enemies gone", "KelvoReach", nullptr, nullptr, nullptr,
         nullptr, nullptr, "TRMTeeM", "V6"},
        {"an enemy reaches the failure trigger", "KillAllEnemies", nullptr, nullptr, "EnemyReach",
         "triggerName", "danger", "TYm", "D2"},
        {"the failure trigger ignores other names", "KillAllEnemies", nullptr, nullptr, "EnemyReach",
         "triggerName", "danger", "TXM", "-"},
        {"survive 5 turns: won after the fifth turn's move", "Survive", "nbTurns", "5", nullptr, nullptr,
         nullptr, "TmTmTmTmTm", "V9"},
        {"survive 5 turns: not after the fourth", "Survive", "nbTurns", "5", nullptr, nullptr, nullptr,
         "TmTmTmTmE", "-"},
        {"5-turn limit: lost after the sixth turn's move", "KillAllEnemies", nullptr, nullptr,
         "TimeElimination", "nbTurns", "5", "TmTmTmTmTmTm", "D11"},
        {"5-turn limit: every enemy gone wins", "KillAllEnemies", nullptr, nullptr, "TimeElimination",
         "nbTurns", "5", "TmTmTmTmTmTeemU", "V14"},
        {"both turn limits kept apart: survive 3 of 5", "Survive", "nbTurns", "3", "TimeElimination",
         "nbTurns", "5", "TmTmTm", "V5"},
        {"the pause screen suspends the end test", "KillAllEnemies", nullptr, nullptr, nullptr, nullptr,
         nullptr, "TeePmU", "-"},
    };
    for (const ConditionCase& c : cases) {
        SCOPED_TRACE(c.label);
        defineMission(c.victory != nullptr ? condition(c.victory, c.victoryKey, c.victoryValue) : nullptr,
                      c.fail != nullptr ? condition(c.fail, c.failKey, c.failValue) : nullptr);
        EXPECT_EQ(play(c.script), c.verdict);
        // A fresh board for the next case.
        score->release();
        score = nullptr;
        TearDown();
        SetUp();
    }
}

TEST(KVScoreManagerConditionTest, ConditionCodes) {
    struct Case {
        const char* name;
        const char* key;
        bool victorySide;
        int code;
    } cases[] = {
        {"KillAllEnemies", nullptr, true, 0},
        {"KelvoReach", "triggerName", true, 1},
        {"Survive", "nbTurns", true, 2},
        {"AllKelvosDead", nullptr, false, 0},
        {"EnemyReach", "triggerName", false, 1},
        {"TimeElimination", "nbTurns", false, 2},
        {"KelvoReach", nullptr, true, -1},
        {"Survive", "triggerName", true, -1},
        {"AllKelvosDead", nullptr, true, -1},
        {"KillAllEnemies ", nullptr, true, -1},
        {nullptr, nullptr, true, -1},
    };
    kvengine::CCAutoreleasePoolStack::getInstance().push();
    for (const Case& c : cases)
        EXPECT_EQ(KVScoreManager::conditionCode(condition(c.name, c.key, "7"), c.victorySide), c.code)
            << (c.name != nullptr ? c.name : "(none)") << " " << (c.key != nullptr ? c.key : "");
    EXPECT_EQ(KVScoreManager::conditionCode(nullptr, true), -1);
    kvengine::CCAutoreleasePoolStack::getInstance().pop();
}

TEST_F(KVScoreManagerSoloTest, VerdictThenGameWinnerAfterItsDelayOnce) {
    defineMission(condition("KillAllEnemies"), condition("AllKelvosDead"));
    for (bool victory : {true, false}) {
        SCOPED_TRACE(victory ? "victory" : "defeat");
        score = new KVScoreManagerSolo();
        auto* trace = new Trace({EVENT_VICTORY_DANCE, EVENT_LOOSE_DANCE, EVENT_GAME_WINNER});
        trace->frame = 0;
        if (victory) {
            post(EVENT_REMOVE_ACTOR, enemies[0]);
            post(EVENT_REMOVE_ACTOR, enemies[1]);
        } else {
            post(EVENT_REMOVE_ACTOR, kelvos[0]);
            post(EVENT_REMOVE_ACTOR, kelvos[1]);
        }
        post(EVENT_MOVE_OVER_BEFORE_BUFFER);
        for (trace->frame = 1; trace->frame <= 200; ++trace->frame)
            score->update(pawntest::kFrame);
        // Further moves and a second declaration change nothing.
        post(EVENT_MOVE_OVER_BEFORE_BUFFER);
        LogCapture log;
        score->declareDefeat();
        score->declareVictory();
        for (int i = 0; i < 200; ++i)
            score->update(pawntest::kFrame);
        EXPECT_TRUE(log.contains("already decided"));
        ASSERT_EQ(trace->lines.size(), 2u) << trace->dump();
        EXPECT_EQ(trace->lines[0], victory ? "EVENT_VICTORY_DANCE -" : "EVENT_LOOSE_DANCE -");
        EXPECT_EQ(trace->lines[1], "EVENT_GAME_WINNER -");
        // 2 s (victory) or 1 s (defeat) of 60 Hz frames after the dance.
        const int frames = trace->frames[1] - (victory ? 1 : 0);
        EXPECT_NEAR(frames, victory ? 120 : 60, 1) << trace->dump();
        EXPECT_EQ(score->isVictoryRequested(), victory);
        trace->release();
        score->release();
        score = nullptr;
        TearDown();
        SetUp();
    }
}

TEST_F(KVScoreManagerSoloTest, VictoryCheckingOffWaitsForItToComeBack) {
    defineMission(condition("KillAllEnemies"), nullptr);
    score = new KVScoreManagerSolo();
    score->setVictoryChecking(false);
    post(EVENT_REMOVE_ACTOR, enemies[0]);
    post(EVENT_REMOVE_ACTOR, enemies[1]);
    post(EVENT_MOVE_OVER_BEFORE_BUFFER);
    score->update(0.0f);
    EXPECT_FALSE(score->isEndPending());
    score->setVictoryChecking(true);
    post(EVENT_MOVE_OVER_BEFORE_BUFFER);
    score->update(0.0f);
    EXPECT_TRUE(score->isEndPending());
    EXPECT_TRUE(score->isVictoryRequested());
}

TEST_F(KVScoreManagerSoloTest, MissionWithoutDefinitionIsLoggedAndEndsWhenASideIsGone) {
    auto* other = new CCString("NoSuchMission");
    KVGameSetup::getInstance()->setMissionName(other);
    other->release();
    LogCapture log;
    score = new KVScoreManagerSolo();
    EXPECT_TRUE(log.contains("\"NoSuchMission\" has no definition")) << log.lines.size();
    EXPECT_EQ(score->getVictoryCondition(), -1);
    EXPECT_EQ(score->getFailCondition(), -1);
    EXPECT_EQ(score->getTurnLimit(), -1);
    for (int turn = 0; turn < 10; ++turn) {
        post(EVENT_TURN_START_PLAYER);
        post(EVENT_MOVE_OVER_BEFORE_BUFFER);
        score->update(0.0f);
    }
    EXPECT_FALSE(score->isEndPending());
    post(EVENT_REMOVE_ACTOR, kelvos[0]);
    post(EVENT_REMOVE_ACTOR, kelvos[1]);
    post(EVENT_MOVE_OVER_BEFORE_BUFFER);
    EXPECT_TRUE(score->isDefeatRequested());
    EXPECT_TRUE(score->isEndPending());
}

TEST_F(KVScoreManagerSoloTest, TurnStartsAreCountedAndDisplayed) {
    defineMission(condition("KillAllEnemies"), condition("TimeElimination", "nbTurns", "5"));
    score = new KVScoreManagerSolo();
    auto* trace = new Trace({EVENT_TURN_START_PLAYER_DISPLAY});
    post(EVENT_TURN_START_PLAYER);
    post(EVENT_TURN_START_ENEMY);
    post(EVENT_TURN_START_PLAYER);
    EXPECT_EQ(score->getPlayerTurns(), 2);
    EXPECT_EQ(trace->lines.size(), 2u);
    EXPECT_EQ(score->getTurnLimit(), 6);
    trace->release();
}

TEST_F(KVScoreManagerSoloTest, ScoredActionsAddTheirValue) {
    defineMission(condition("KillAllEnemies"), nullptr);
    score = new KVScoreManagerSolo();
    for (int type = 0; type <= KVActionEvent::kLastType; ++type)
        post(EVENT_ACTION, KVActionEvent::create(type, 100 + type, 0.0f, nullptr, nullptr));
    post(EVENT_ACTION, kelvos[0]); // no action event: ignored
    EXPECT_EQ(score->getScore(), 117 + 118 + 119 + 120);
}

struct StarCase {
    const char* label;
    const char* speedStar; // null: the definition has none
    int turns;
    int kelvosLost;
    bool hiddenFound;
    const char* recordFlag; // the record's three "..._locked" values
    int hidden, speed, survival;
};

TEST_F(KVScoreManagerSoloTest, StarsOfAVictory) {
    const StarCase cases[] = {
        {"every star within 3 turns", "3", 3, 0, true, "1", 1, 1, 1},
        {"the speed star is lost from the fourth turn", "3", 4, 0, true, "1", 1, 0, 1},
        {"a kelvo lost, hidden star not found", "3", 1, 1, false, "1", 0, 1, 0},
        {"no speed-star turn count: never the speed star", nullptr, 1, 0, false, "1", 0, 0, 1},
        {"stars earned before", "3", 9, 1, false, "0", 2, 2, 2},
    };
    for (const StarCase& c : cases) {
        SCOPED_TRACE(c.label);
        defineMission(condition("KillAllEnemies"), nullptr, c.speedStar);
        for (const char* key : {"hidden_locked", "speed_locked", "surviva_locked"})
            kvdata::setText(record, key, c.recordFlag);
        score = new KVScoreManagerSolo();
        auto* trace =
            new Trace({EVENT_STAR_HIDDEN_UNLOCKED, EVENT_STAR_SPEED_UNLOCKED, EVENT_STAR_SURVIVAL_UNLOCKED});
        for (int turn = 0; turn < c.turns; ++turn)
            post(EVENT_TURN_START_PLAYER);
        if (c.hiddenFound) post(EVENT_HIDDEN_STAR_FOUND);
        for (int lost = 0; lost < c.kelvosLost; ++lost)
            post(EVENT_REMOVE_ACTOR, kelvos[lost]);
        post(EVENT_REMOVE_ACTOR, enemies[0]);
        post(EVENT_REMOVE_ACTOR, enemies[1]);
        post(EVENT_MOVE_OVER_BEFORE_BUFFER);
        score->update(0.0f);
        ASSERT_TRUE(score->isEndPending());
        EXPECT_EQ(score->getHiddenStarResult(), c.hidden);
        EXPECT_EQ(score->getSpeedStarResult(), c.speed);
        EXPECT_EQ(score->getSurvivalStarResult(), c.survival);
        // The profile records the stars earned now; the others keep their value.
        const std::pair<const char*, int> flags[] = {
            {"hidden_locked", c.hidden}, {"speed_locked", c.speed}, {"surviva_locked", c.survival}};
        int earned = 0;
        for (const auto& [key, result] : flags) {
            EXPECT_EQ(kvdata::textAt(record, key), result == 1 ? std::string("0") : std::string(c.recordFlag))
                << key;
            earned += result == 1 ? 1 : 0;
        }
        EXPECT_EQ(static_cast<int>(trace->lines.size()), earned) << trace->dump();
        trace->release();
        score->release();
        score = nullptr;
        TearDown();
        SetUp();
    }
}

TEST_F(KVScoreManagerSoloTest, DefeatComputesNoStar) {
    defineMission(condition("KillAllEnemies"), nullptr, "3");
    score = new KVScoreManagerSolo();
    auto* trace =
        new Trace({EVENT_STAR_HIDDEN_UNLOCKED, EVENT_STAR_SPEED_UNLOCKED, EVENT_STAR_SURVIVAL_UNLOCKED});
    post(EVENT_TURN_START_PLAYER);
    post(EVENT_REMOVE_ACTOR, kelvos[0]);
    post(EVENT_REMOVE_ACTOR, kelvos[1]);
    post(EVENT_MOVE_OVER_BEFORE_BUFFER);
    EXPECT_TRUE(score->isEndPending());
    EXPECT_EQ(score->getSpeedStarResult(), 0);
    EXPECT_TRUE(trace->lines.empty());
    EXPECT_EQ(kvdata::textAt(record, "speed_locked"), "1");
    trace->release();
}

// Multiplayer: three players of one kelvo each.
class KVScoreManagerHuddleTest : public scoretest::ScoreWorldTest {
protected:
    void SetUp() override {
        ScoreWorldTest::SetUp();
        KVGameSetup::getInstance()->solo = false;
        defineMission(nullptr, nullptr);
        score = new KVScoreManagerHuddle();
        for (int i = 0; i < 3; ++i) {
            auto* player = new KVPlayerHuddle();
            players.push_back(player);
            score->addPlayer(player);
        }
    }
    void TearDown() override {
        score->release();
        for (KVPlayerHuddle* player : players)
            player->release();
        players.clear();
        ScoreWorldTest::TearDown();
    }

    // A fresh kelvo of player `owner` (released with the fixture).
    KVKelvoPlayer* kelvoOf(int owner) {
        auto* kelvo =
            pawntest::TestPawn::setUp(new KVKelvoPlayer(), "kelvo", 2.0f * static_cast<float>(pawns.size()),
                                      2.0f, pawntest::fighterStats(), false, false);
        kelvo->setOwnerPlayer(players[static_cast<size_t>(owner)]);
        pawns.push_back(kelvo);
        return kelvo;
    }

    KVScoreManagerHuddle* score = nullptr;
    std::vector<KVPlayerHuddle*> players;
};

TEST_F(KVScoreManagerHuddleTest, StreakMessagesAsTheMarkMoves) {
    auto* trace = new Trace({EVENT_SHOW_COMBO_MESSAGE});
    post(EVENT_START_TURN, kelvoOf(0));
    // Step: whose kelvo leaves -> streak, mark, whether a message was posted.
    struct Step {
        int owner;
        int streak;
        int mark;
        bool message;
    } steps[] = {
        {1, 1, 2, true}, {2, 2, 3, true}, {0, 1, 0, true}, {0, 0, 0, false}, {0, -1, -2, true},
    };
    size_t messages = 0;
    for (const Step& step : steps) {
        post(EVENT_REMOVE_ACTOR, kelvoOf(step.owner));
        messages += step.message ? 1 : 0;
        EXPECT_EQ(score->getStreak(), step.streak);
        EXPECT_EQ(score->getStreakMark(), step.mark);
        EXPECT_EQ(trace->lines.size(), messages);
    }
    EXPECT_EQ(players[0]->points, -1);
    post(EVENT_MOVE_OVER);
    EXPECT_EQ(score->getStreak(), 0);
    EXPECT_EQ(score->getStreakMark(), 1);
    trace->release();
}

TEST_F(KVScoreManagerHuddleTest, ThreePointsDecideTheMatchAndPlacingsFollow) {
    auto* trace = new Trace({EVENT_LOOSE_DANCE, EVENT_GAME_WINNER});
    post(EVENT_START_TURN, kelvoOf(1));
    post(EVENT_REMOVE_ACTOR, kelvoOf(0));
    EXPECT_EQ(players[1]->placing, 1);
    EXPECT_EQ(players[0]->placing, 2);
    EXPECT_EQ(players[2]->placing, 2);
    post(EVENT_START_TURN, kelvoOf(2));
    post(EVENT_REMOVE_ACTOR, kelvoOf(0));
    EXPECT_EQ(players[1]->placing, 1);
    EXPECT_EQ(players[2]->placing, 1);
    post(EVENT_REMOVE_ACTOR, kelvoOf(1));
    EXPECT_FALSE(score->isDefeatRequested());
    post(EVENT_REMOVE_ACTOR, kelvoOf(0));
    EXPECT_EQ(players[2]->points, 3);
    EXPECT_TRUE(score->isDefeatRequested());
    // Decided: no more points.
    post(EVENT_REMOVE_ACTOR, kelvoOf(1));
    EXPECT_EQ(players[2]->points, 3);
    for (int frame = 0; frame < 70; ++frame)
        score->update(pawntest::kFrame);
    ASSERT_EQ(trace->lines.size(), 2u) << trace->dump();
    EXPECT_EQ(trace->lines[0], "EVENT_LOOSE_DANCE -");
    EXPECT_EQ(trace->lines[1], "EVENT_GAME_WINNER -");
    trace->release();
}

TEST_F(KVScoreManagerHuddleTest, RemovalsOutsideATurnAndOddPlayersAreIgnored) {
    LogCapture log;
    post(EVENT_REMOVE_ACTOR, kelvoOf(0));
    EXPECT_TRUE(log.contains("no player's turn"));
    EXPECT_EQ(players[0]->points, 0);
    score->addPlayer(nullptr);
    EXPECT_TRUE(log.contains("no multiplayer side"));
    EXPECT_EQ(score->getPlayers()->count(), 3u);
}

} // namespace
