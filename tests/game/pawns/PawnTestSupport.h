#pragma once

// Shared pieces of the pawn tests: stat dictionaries, a pawn set up the way subclasses set
// themselves up, a notification trace, and a fixture with a real physics world stepped at a fixed
// 1/60 s.

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <box2d/box2d.h>

#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "game/app/KVGameServices.h"
#include "game/app/KVGlobalNames.h"
#include "game/data/KVDataAccess.h"
#include "game/pawns/KVPawn.h"
#include "game/pawns/KVPawnManager.h"
#include "game/world/KVActionEvent.h"
#include "game/world/KVPhysWorld.h"

namespace pawntest {

constexpr float kFrame = 1.0f / 60.0f;

using StatList = std::initializer_list<std::pair<const char*, const char*>>;

/// An autoreleased stat dictionary of the given texts.
inline kvdata::Dict* statsOf(StatList entries) {
    kvdata::Dict* stats = kvdata::newDict();
    for (const auto& entry : entries)
        kvdata::setText(stats, entry.first, entry.second);
    return stats;
}

/// A fighter: Radius 16 px (0.5 m), density 1 (mass pi/4 kg), Move Power 20 (a full launch gives
/// 25.46 m/s), 100 HP, 100 SP, melee 30, Speed 5; `extra` entries are added or replace these.
inline kvdata::Dict* fighterStats(StatList extra = {}) {
    kvdata::Dict* stats = statsOf({{"HP", "100"},
                                   {"SP", "100"},
                                   {"SP regen", "25"},
                                   {"DMG Melee", "30"},
                                   {"Heal", "5"},
                                   {"Move Power", "20"},
                                   {"Weight Density", "1"},
                                   {"Radius", "16"},
                                   {"Speed", "5"},
                                   {"Dash Per Turn", "2"},
                                   {"hasSpecialMeleeAttack", "YES"},
                                   {"Voice", "Female"}});
    for (const auto& entry : extra)
        kvdata::setText(stats, entry.first, entry.second);
    return stats;
}

/// A pawn initialised the way the pawn subclasses do it (initAt, readStats, createBody,
/// registerObservers), with its side, driver and canAct answer chosen by the test.
class TestPawn : public KVPawn {
public:
    static TestPawn* make(const char* name, float x, float y, kvdata::Dict* stats, bool enemy = false,
                          bool aiDriven = false) {
        return setUp(new TestPawn(), name, x, y, stats, enemy, aiDriven);
    }
    /// Initialises `pawn` (any pawn class) as make does; returns it.
    template <class P>
    static P* setUp(P* pawn, const char* name, float x, float y, kvdata::Dict* stats, bool enemy,
                    bool aiDriven) {
        pawn->setEnemy(enemy);
        pawn->setAIDriven(aiDriven);
        auto* typeName = new kvengine::CCString(name);
        EXPECT_TRUE(pawn->initAt(x, y, nullptr, typeName));
        typeName->release();
        pawn->readStats(stats);
        EXPECT_TRUE(pawn->createBody());
        pawn->registerObservers();
        return pawn;
    }

    bool canAct() override { return canActAnswer; }
    bool isBossWeakPoint() override { return weakPoint; }

    bool canActAnswer = true;
    bool weakPoint = false;
};

/// Records the posts of a set of names, in order, as readable lines: "NAME object", with the
/// objects named by label ("-" for none, "?" for an unnamed one); an action event reads
/// "EVENT_ACTION type value actor>target".
class Trace : public kvengine::CCObject {
public:
    explicit Trace(std::initializer_list<kvengine::CCString*> names) {
        for (kvengine::CCString* name : names)
            kvengine::CCNotificationCenter::getInstance()->addObserver(
                this, notification_selector(Trace::onPost), name);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
    }

    void name(kvengine::CCObject* object, const std::string& label) { labels[object] = label; }
    std::string labelOf(kvengine::CCObject* object) const {
        if (object == nullptr) return "-";
        auto it = labels.find(object);
        return it != labels.end() ? it->second : "?";
    }

    void onPost(kvengine::CCNotification* notification) {
        std::string line = notification->getName()->text;
        kvengine::CCObject* object = notification->getObject();
        if (object != nullptr && object->isKindOf("KVActionEvent")) {
            auto* event = static_cast<KVActionEvent*>(object);
            line += " " + std::to_string(event->type) + " " + std::to_string(event->value) + " " +
                    labelOf(event->actor) + ">" + labelOf(event->target);
            ratios.push_back(event->ratio);
        } else {
            line += " " + labelOf(object);
        }
        lines.push_back(line);
        frames.push_back(frame);
    }

    /// Index of the first line equal to `line` at or after `from`; -1 when none.
    int find(const std::string& line, int from = 0) const {
        for (size_t i = static_cast<size_t>(from); i < lines.size(); ++i)
            if (lines[i] == line) return static_cast<int>(i);
        return -1;
    }
    int count(const std::string& line) const {
        int n = 0;
        for (const std::string& each : lines)
            n += each == line ? 1 : 0;
        return n;
    }
    void clear() {
        lines.clear();
        frames.clear();
        ratios.clear();
    }
    std::string dump() const {
        std::string all;
        for (size_t i = 0; i < lines.size(); ++i)
            all += "[" + std::to_string(frames[i]) + "] " + lines[i] + "\n";
        return all;
    }

    std::vector<std::string> lines;
    std::vector<int> frames;
    /// The ratio of each action event, in order.
    std::vector<float> ratios;
    /// Stamped on each line; the fixture counts it up.
    int frame = 0;
    std::map<kvengine::CCObject*, std::string> labels;
};

/// Collects log lines while it lives.
class LogCapture {
public:
    LogCapture() {
        kvengine::setDebugLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { kvengine::setDebugLogSink({}); }
    bool contains(const std::string& part) const {
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines;
};

/// A fresh physics world (fixed 1/60 s steps) and pawn manager per test; pawns made through
/// makePawn are released, with the world and the manager, at the end.
class PawnWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the application does first thing: the turn manager asks the dialogues through it.
        kvConnectGameServices();
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        physics = KVPhysWorld::getInstance();
        physics->createWorld();
        physics->setFixedTimeStep(true);
        KVPawnManager::getInstance();
    }

    void TearDown() override {
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
        for (KVPawn* pawn : pawns)
            pawn->release();
        pawns.clear();
        physics->destroyWorld();
        physics->release();
        if (KVPawnManager* manager = KVPawnManager::existingInstance()) manager->release();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }

    TestPawn* makePawn(const char* name, float x, float y, kvdata::Dict* stats, bool enemy = false,
                       bool aiDriven = false) {
        TestPawn* pawn = TestPawn::make(name, x, y, stats, enemy, aiDriven);
        pawns.push_back(pawn);
        return pawn;
    }

    /// One frame as the game model runs it: the world's step, then every pawn's update; the
    /// frame's autoreleased objects are drained at the end.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            physics->update(kFrame);
            for (KVPawn* pawn : pawns)
                pawn->update(kFrame);
            drainPool();
        }
    }

    static void drainPool() {
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
        kvengine::CCAutoreleasePoolStack::getInstance().push();
    }

    static void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
        kvengine::CCNotificationCenter::getInstance()->postNotification(name, object);
    }

    /// Sets the pawn's velocity as a launch of `power` (1 = full Move Power) along +x would.
    static void launch(KVPawn* pawn, float power, float dirX = 1.0f, float dirY = 0.0f) {
        const float impulse = pawn->getMovePower() * power;
        pawn->getBody()->ApplyLinearImpulse(b2Vec2(dirX * impulse, dirY * impulse),
                                            pawn->getBody()->GetPosition(), true);
    }

    KVPhysWorld* physics = nullptr;
    std::vector<KVPawn*> pawns;
};

} // namespace pawntest
