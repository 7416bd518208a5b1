#include "PawnTestSupport.h"

#include "game/chatter/KVChatterManager.h"
#include "game/pawns/KVPawnController.h"
#include "game/pawns/KVTurnManager.h"

using pawntest::fighterStats;
using pawntest::LogCapture;
using pawntest::PawnWorldTest;
using pawntest::TestPawn;
using pawntest::Trace;
using Lines = std::vector<std::string>;

namespace {

// Something a move must wait for (a rolling coconut, a view's animation): busy when started, idle
// after its frames. Started twice, it announces itself twice and must go idle twice.
class BusyThing : public KVObject {
public:
    void start(int frames) {
        m_idleAt.push_back(frames);
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IN_ACTION, this);
    }
    void update(float dt) override {
        (void)dt;
        for (int& left : m_idleAt)
            if (left > 0 && --left == 0)
                kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_NOTIFY_IDLE, this);
    }

private:
    std::vector<int> m_idleAt;
};

class KVTurnManagerTest : public PawnWorldTest {
protected:
    void SetUp() override {
        PawnWorldTest::SetUp();
        turns = new KVTurnManager();
        trace = new Trace({EVENT_TURN_START_PLAYER, EVENT_TURN_START_ENEMY, EVENT_SET_CAMERA_TO_OBJECT,
                           EVENT_START_TURN, EVENT_MOVE_OVER_BEFORE_BUFFER, EVENT_MOVE_OVER,
                           EVENT_END_TURN_BEFORE_BUFFER, EVENT_END_TURN, EVENT_SHOW_SKIP_TURN,
                           EVENT_AUTO_FOCUS_REQUEST, EVENT_PLAYER_MOVE_REMAINING, EVENT_PAWN_SELECTED,
                           EVENT_PAWN_UNSELECTED, EVENT_PAWN_ON_SCREEN, EVENT_PAWN_OUT_OF_SCREEN});
        trace->name(turns, "turns");
    }
    void TearDown() override {
        for (BusyThing* thing : busy)
            thing->release();
        trace->release();
        turns->release();
        if (KVChatterManager* dialogues = KVChatterManager::existingInstance()) dialogues->release();
        PawnWorldTest::TearDown();
    }

    TestPawn* add(const char* label, float x, float y, const char* speed, bool enemy = false,
                  bool ai = false) {
        TestPawn* pawn = makePawn(label, x, y, fighterStats({{"Speed", speed}}), enemy, ai);
        trace->name(pawn, label);
        return pawn;
    }
    BusyThing* addBusyThing() {
        auto* thing = new BusyThing();
        busy.push_back(thing);
        return thing;
    }

    /// One frame of the game model: the world, the actors, then the turn manager.
    void frame() {
        ++trace->frame;
        physics->update(pawntest::kFrame);
        for (KVPawn* pawn : pawns)
            pawn->update(pawntest::kFrame);
        for (BusyThing* thing : busy)
            thing->update(pawntest::kFrame);
        turns->update(pawntest::kFrame);
        drainPool();
    }
    /// Frames until `line` has been posted (at most `limit`); the frame it came in, or -1.
    int runUntil(const std::string& line, int limit = 600) {
        const size_t seen = trace->lines.size();
        for (int i = 0; i < limit; ++i) {
            frame();
            for (size_t k = seen; k < trace->lines.size(); ++k)
                if (trace->lines[k] == line) return trace->frames[k];
        }
        return -1;
    }
    /// A small slow launch along -y (or +x for `sideways`), as a pull would give; it comes to rest
    /// within a few frames, a few centimetres away.
    static void nudge(KVPawn* pawn, bool sideways = false) {
        launch(pawn, 0.03f, sideways ? 1.0f : 0.0f, sideways ? 0.0f : -1.0f);
    }
    Lines linesSince(size_t from) const {
        return Lines(trace->lines.begin() + static_cast<long>(from), trace->lines.end());
    }

    KVTurnManager* turns = nullptr;
    Trace* trace = nullptr;
    std::vector<BusyThing*> busy;
};

// A whole scripted match: three kelvos (Speed 5, 3, 3, registered in that order) and three
// computer crabs, one 11 m from every kelvo, one 10.9 m from the nearest.
TEST_F(KVTurnManagerTest, AScriptedMatchPassesTheTurnsInOrder) {
    TestPawn* p5 = add("p5", 0.0f, 0.0f, "5");
    TestPawn* p3a = add("p3a", 0.0f, -3.0f, "3");
    TestPawn* p3b = add("p3b", 0.0f, -6.0f, "3");
    TestPawn* far = add("far", -11.0f, 0.0f, "1", true, true);
    TestPawn* near = add("near", 10.9f, 0.0f, "2", true, true);
    TestPawn* close = add("close", 5.0f, -3.0f, "3", true, true);
    p3b->setStamina(90);
    KVChatterManager* dialogues = KVChatterManager::getInstance();

    turns->startFirstTurn();
    EXPECT_EQ(trace->lines,
              (Lines{"EVENT_TURN_START_PLAYER -", "EVENT_SET_CAMERA_TO_OBJECT p3a", "EVENT_START_TURN p3a",
                     "EVENT_PAWN_SELECTED p3a", "EVENT_SHOW_SKIP_TURN turns"}));
    // Until the camera reports that it is ready, nothing is decided.
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(trace->lines.size(), 5u);
    post(EVENT_CAM_PLAYABLE);

    // p3a moves; two other objects are busy (one announced twice) and a dialogue runs: the move
    // ends only when all of them are done.
    size_t mark = trace->lines.size();
    nudge(p3a);
    p3a->setStamina(75);
    BusyThing* coconut = addBusyThing();
    BusyThing* geyser = addBusyThing();
    coconut->start(40);
    geyser->start(20);
    geyser->start(45);
    dialogues->setChatterRunning(true);
    post(EVENT_CHATTER_START);
    for (int i = 0; i < 59; ++i)
        frame();
    EXPECT_FALSE(turns->isAllIdle());
    EXPECT_EQ(turns->getBusyCount(), 0u);
    dialogues->setChatterRunning(false);
    post(EVENT_END_SPEECH);
    const int speechEnded = trace->frame;
    const int endOfP3a = runUntil("EVENT_END_TURN_BEFORE_BUFFER p3a");
    EXPECT_EQ(endOfP3a, speechEnded + 1);
    frame();
    EXPECT_EQ(linesSince(mark), (Lines{"EVENT_PAWN_UNSELECTED p3a", "EVENT_END_TURN_BEFORE_BUFFER p3a",
                                       "EVENT_END_TURN p3a", "EVENT_START_TURN p3b", "EVENT_MOVE_OVER -",
                                       "EVENT_PAWN_SELECTED p3b", "EVENT_SHOW_SKIP_TURN turns"}));
    EXPECT_EQ(p3b->getStamina(), 100); // 90 + 25 regained, capped at 100

    // p3b moves without spending stamina: another move for it.
    mark = trace->lines.size();
    nudge(p3b);
    ASSERT_NE(runUntil("EVENT_MOVE_OVER -"), -1);
    EXPECT_EQ(linesSince(mark),
              (Lines{"EVENT_PAWN_UNSELECTED p3b", "EVENT_MOVE_OVER_BEFORE_BUFFER -", "EVENT_MOVE_OVER -",
                     "EVENT_PAWN_SELECTED p3b", "EVENT_SHOW_SKIP_TURN turns"}));

    // p3b's second move: it leaves the board while moving. Its end of turn names nobody and no
    // "EVENT_END_TURN" follows for it.
    mark = trace->lines.size();
    nudge(p3b);
    p3b->setStamina(50);
    frame();
    post(EVENT_REMOVE_ACTOR, p3b);
    ASSERT_NE(runUntil("EVENT_START_TURN p5"), -1);
    frame();
    EXPECT_EQ(linesSince(mark),
              (Lines{"EVENT_PAWN_UNSELECTED p3b", "EVENT_END_TURN_BEFORE_BUFFER -", "EVENT_START_TURN p5",
                     "EVENT_MOVE_OVER -", "EVENT_PAWN_SELECTED p5", "EVENT_SHOW_SKIP_TURN turns"}));

    // p5 ends the player side; the enemies start: the crab 11 m away is passed without a turn, the
    // one 10.9 m away plays.
    mark = trace->lines.size();
    nudge(p5);
    p5->setStamina(75);
    ASSERT_NE(runUntil("EVENT_START_TURN near"), -1);
    frame();
    EXPECT_EQ(linesSince(mark),
              (Lines{"EVENT_PAWN_UNSELECTED p5", "EVENT_END_TURN_BEFORE_BUFFER p5", "EVENT_END_TURN p5",
                     "EVENT_TURN_START_ENEMY -", "EVENT_END_TURN far", "EVENT_START_TURN near",
                     "EVENT_MOVE_OVER -", "EVENT_PAWN_SELECTED near"}));
    EXPECT_EQ(trace->count("EVENT_START_TURN far"), 0);
    EXPECT_FALSE(far->isTurnActive());

    // near moves; then close, whose brain finds nothing and skips while the camera glides
    // elsewhere: the next turn asks the camera to focus and the pawn is selected when the camera
    // is ready.
    mark = trace->lines.size();
    nudge(near, true);
    near->setStamina(75);
    ASSERT_NE(runUntil("EVENT_START_TURN close"), -1);
    frame();
    post(EVENT_CAM_UNPLAYABLE);
    post(EVENT_SKIP_TURN);
    ASSERT_NE(runUntil("EVENT_START_TURN p3a"), -1);
    for (int i = 0; i < 5; ++i)
        frame();
    post(EVENT_CAM_PLAYABLE);
    EXPECT_EQ(
        linesSince(mark),
        (Lines{"EVENT_PAWN_UNSELECTED near", "EVENT_END_TURN_BEFORE_BUFFER near", "EVENT_END_TURN near",
               "EVENT_START_TURN close", "EVENT_MOVE_OVER -", "EVENT_PAWN_SELECTED close",
               "EVENT_PAWN_UNSELECTED close", "EVENT_END_TURN_BEFORE_BUFFER close", "EVENT_END_TURN close",
               "EVENT_TURN_START_PLAYER -", "EVENT_START_TURN p3a", "EVENT_MOVE_OVER -",
               "EVENT_AUTO_FOCUS_REQUEST -", "EVENT_PAWN_SELECTED p3a", "EVENT_SHOW_SKIP_TURN turns"}));
    EXPECT_EQ(p3a->getStamina(), 100);

    // Every "..._BEFORE_BUFFER" comes exactly one frame before its partner.
    for (size_t i = 0; i < trace->lines.size(); ++i) {
        const std::string& line = trace->lines[i];
        if (line.find("_BEFORE_BUFFER") == std::string::npos) continue;
        const std::string partner = line.find("MOVE_OVER") != std::string::npos ? "EVENT_MOVE_OVER -"
                                    : line == "EVENT_END_TURN_BEFORE_BUFFER -"
                                        ? "EVENT_START_TURN"
                                        : "EVENT_END_TURN " + line.substr(line.rfind(' ') + 1);
        size_t k = i + 1;
        while (k < trace->lines.size() && trace->lines[k].compare(0, partner.size(), partner) != 0)
            ++k;
        ASSERT_LT(k, trace->lines.size()) << line;
        EXPECT_EQ(trace->frames[k], trace->frames[i] + 1) << line << "\n" << trace->dump();
    }
    (void)close;
}

// The first tick of an ending is remembered while the manager waits: the second completes what
// the decision gives by then, without a buffer notification of its own.
TEST_F(KVTurnManagerTest, AWaitBetweenTheTwoTicksCompletesTheLaterDecision) {
    TestPawn* kelvo = add("kelvo", 0.0f, 0.0f, "1");
    add("mate", 0.0f, -3.0f, "2");
    turns->startFirstTurn();
    post(EVENT_CAM_PLAYABLE);
    nudge(kelvo);
    ASSERT_NE(runUntil("EVENT_MOVE_OVER_BEFORE_BUFFER -"), -1);
    post(SCREEN_INGAME_PAUSE); // the pause screen opens between the ticks
    const size_t mark = trace->lines.size();
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(trace->lines.size(), mark);
    post(EVENT_SKIP_TURN);
    turns->setPaused(false); // Continue
    frame();
    EXPECT_EQ(linesSince(mark), (Lines{"EVENT_END_TURN kelvo", "EVENT_START_TURN mate", "EVENT_MOVE_OVER -",
                                       "EVENT_PAWN_SELECTED mate", "EVENT_SHOW_SKIP_TURN turns"}));

    // A decided match stops the manager for good.
    post(EVENT_VICTORY_DANCE);
    post(EVENT_SKIP_TURN);
    const size_t frozenMark = trace->lines.size();
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(trace->lines.size(), frozenMark);
}

// Stamina spent, but an attack charge and an opponent in range in a solo mission: the kelvo keeps
// its turn and the HUD learns that only the attack is left.
TEST_F(KVTurnManagerTest, AnAttackLeftKeepsTheTurnWithoutStamina) {
    TestPawn* bomber =
        makePawn("bomber", 0.0f, 0.0f, fighterStats({{"hasAOEAttack", "YES"}, {"Range AoE", "160"}}));
    trace->name(bomber, "bomber");
    add("crab", 3.0f, 0.0f, "9", true, true);
    auto* controller = new KVPawnController();
    ASSERT_TRUE(controller->initWithPawn(bomber));
    bomber->setController(controller);
    controller->release();
    turns->startFirstTurn();
    post(EVENT_CAM_PLAYABLE);
    nudge(bomber, false);
    bomber->setStamina(0);
    const size_t mark = trace->lines.size();
    ASSERT_NE(runUntil("EVENT_MOVE_OVER -"), -1);
    EXPECT_EQ(linesSince(mark), (Lines{"EVENT_PAWN_UNSELECTED bomber", "EVENT_MOVE_OVER_BEFORE_BUFFER -",
                                       "EVENT_MOVE_OVER -", "EVENT_PAWN_SELECTED bomber",
                                       "EVENT_SHOW_SKIP_TURN turns", "EVENT_PLAYER_MOVE_REMAINING bomber"}));
}

// Two computer-driven sides 20 m apart: nobody can ever play. The search ends after both sides
// were tried, no turn starts, the frames go on, and play resumes once a pawn can act again.
TEST_F(KVTurnManagerTest, WhenNobodyCanPlayNoTurnStartsAndTheFramesGoOn) {
    TestPawn* kelvo = add("kelvo", 0.0f, 0.0f, "1", false, true);
    TestPawn* crab = add("crab", 20.0f, 0.0f, "1", true, true);
    turns->startFirstTurn();
    post(EVENT_CAM_PLAYABLE);
    LogCapture log;
    size_t mark = trace->lines.size();
    post(EVENT_SKIP_TURN); // the kelvo's brain finds nothing
    for (int i = 0; i < 600; ++i)
        frame();
    EXPECT_EQ(linesSince(mark),
              (Lines{"EVENT_PAWN_UNSELECTED kelvo", "EVENT_END_TURN_BEFORE_BUFFER kelvo",
                     "EVENT_END_TURN kelvo", "EVENT_TURN_START_ENEMY -", "EVENT_END_TURN crab",
                     "EVENT_TURN_START_PLAYER -", "EVENT_END_TURN kelvo"}));
    EXPECT_TRUE(log.contains("no pawn of either side can play"));
    EXPECT_EQ(turns->getCurrentPawn(), nullptr);

    mark = trace->lines.size();
    crab->getBody()->SetTransform(b2Vec2(9.0f, 0.0f), 0.0f);
    frame();
    EXPECT_EQ(linesSince(mark), (Lines{"EVENT_TURN_START_ENEMY -", "EVENT_START_TURN crab",
                                       "EVENT_MOVE_OVER -", "EVENT_PAWN_SELECTED crab"}));
    (void)kelvo;
}

TEST_F(KVTurnManagerTest, SidesWithoutPawnsOrTurnsGiveWayAndWeakPointsNeverPlay) {
    TestPawn* eye = add("eye", 0.0f, 0.0f, "1", true, true);
    eye->weakPoint = true;
    TestPawn* boss = add("boss", 3.0f, 0.0f, "4", true, true);
    turns->startFirstTurn(); // no player pawns: the enemy side starts
    EXPECT_EQ(trace->lines, (Lines{"EVENT_TURN_START_ENEMY -", "EVENT_SET_CAMERA_TO_OBJECT boss",
                                   "EVENT_START_TURN boss", "EVENT_PAWN_SELECTED boss"}));
    EXPECT_FALSE(turns->getCurrentSide());
    EXPECT_EQ(turns->getQueue()->count(), 1u);
    // With the player side empty an enemy plays without asking its brain.
    boss->canActAnswer = false;
    EXPECT_TRUE(turns->canPawnPlay(boss));
    EXPECT_FALSE(turns->canPawnPlay(nullptr));
}

// A busy actor that leaves the board never says it is idle: all its announcements go with it.
TEST_F(KVTurnManagerTest, ARemovedActorIsNoLongerWaitedFor) {
    TestPawn* kelvo = add("kelvo", 0.0f, 0.0f, "1");
    BusyThing* thing = addBusyThing();
    thing->start(1000);
    thing->start(1000);
    EXPECT_EQ(turns->getBusyCount(), 2u);
    post(EVENT_NOTIFY_IN_ACTION, nullptr); // nobody: ignored
    post(EVENT_REMOVE_ACTOR, thing);
    EXPECT_EQ(turns->getBusyCount(), 0u);
    EXPECT_TRUE(turns->isAllIdle());
    (void)kelvo;
}

class ScreenTurnManager : public KVTurnManager {
public:
    bool onScreen = true;

protected:
    bool isPawnOnScreen(KVPawn* pawn) override {
        (void)pawn;
        return onScreen;
    }
};

TEST_F(KVTurnManagerTest, TheCurrentPawnLeavingAndEnteringTheScreenIsAnnounced) {
    turns->release();
    auto* screenTurns = new ScreenTurnManager();
    turns = screenTurns;
    trace->name(turns, "turns");
    add("kelvo", 0.0f, 0.0f, "1");
    add("mate", 0.0f, -3.0f, "2");
    turns->startFirstTurn();
    const size_t mark = trace->lines.size();
    screenTurns->onScreen = false;
    frame();
    frame();
    screenTurns->onScreen = true;
    frame();
    EXPECT_EQ(linesSince(mark), (Lines{"EVENT_PAWN_OUT_OF_SCREEN kelvo", "EVENT_PAWN_ON_SCREEN kelvo"}));

    // A new turn first waits until its pawn has been seen on the screen (silently); then the
    // last state reported (the kelvo off the screen) is corrected.
    post(EVENT_CAM_PLAYABLE);
    post(EVENT_SKIP_TURN);
    screenTurns->onScreen = false;
    ASSERT_NE(runUntil("EVENT_START_TURN mate"), -1);
    const size_t turnMark = trace->lines.size();
    frame();
    screenTurns->onScreen = true;
    frame();
    EXPECT_EQ(trace->lines.size(), turnMark);
    frame();
    EXPECT_EQ(linesSince(turnMark), Lines{"EVENT_PAWN_ON_SCREEN mate"});
}

} // namespace
