#pragma once

// Pieces shared by the controller tests: kelvos and crustacean-like pawns built from stat
// dictionaries and bound to a controller, on the pawn tests' stepped physics world.

#include "PawnTestSupport.h"

#include <algorithm>

#include "game/pawns/KVAIBrain.h"
#include "game/pawns/KVKelvo.h"
#include "game/pawns/KVPawnAIController.h"
#include "game/pawns/KVPawnController.h"
#include "game/pawns/KVPawnPlayerController.h"

namespace pawntest {

/// A kelvo set up as the creature code does it (initAt, readStats, createBody,
/// registerObservers), on the player side, human-driven.
class TestKelvo : public KVKelvo {
public:
    static TestKelvo* make(const char* name, float x, float y, kvdata::Dict* stats) {
        return TestPawn::setUp(new TestKelvo(), name, x, y, stats, false, false);
    }
};

/// A pawn whose launch axis is its side, as the crustaceans' is: forward (1, 0), aim offset pi/2.
class SidewaysPawn : public TestPawn {
public:
    static SidewaysPawn* make(const char* name, float x, float y, kvdata::Dict* stats, bool enemy, bool ai) {
        return TestPawn::setUp(new SidewaysPawn(), name, x, y, stats, enemy, ai);
    }
    void getForwardVector(float* x, float* y) override {
        *x = 1.0f;
        *y = 0.0f;
    }
    float getAimAngleOffset() override { return 1.57079633f; }
    bool canAct() override { return getController() != nullptr && getController()->canAct(); }
};

/// Binds a new controller of class C to `pawn` (the pawn keeps it); returns it.
template <class C> C* bindController(KVPawn* pawn) {
    auto* controller = new C();
    EXPECT_TRUE(controller->initWithPawn(pawn));
    pawn->setController(controller);
    controller->release();
    return controller;
}

/// The game model's part in the actor lifetimes: what announces itself with "EVENT_NEW_ACTOR"
/// (controllers, brains, attacks, dashes; pawns excepted, the tests hold those) is retained and
/// updated each frame until "EVENT_REMOVE_ACTOR" names it.
class ActorKeeper : public kvengine::CCObject {
public:
    ActorKeeper() {
        auto* centre = kvengine::CCNotificationCenter::getInstance();
        centre->addObserver(this, notification_selector(ActorKeeper::onNew), EVENT_NEW_ACTOR);
        centre->addObserver(this, notification_selector(ActorKeeper::onRemove), EVENT_REMOVE_ACTOR);
    }
    void cleanupBeforeDelete() override {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVObject* object : kept)
            object->release();
        kept.clear();
    }
    void onNew(kvengine::CCNotification* notification) {
        kvengine::CCObject* object = notification->getObject();
        if (object == nullptr || object->isKindOf("KVPawn") || !object->isKindOf("KVObject")) return;
        object->retain();
        kept.push_back(static_cast<KVObject*>(object));
    }
    void onRemove(kvengine::CCNotification* notification) {
        auto it = std::find(kept.begin(), kept.end(), notification->getObject());
        if (it == kept.end()) return;
        KVObject* object = *it;
        kept.erase(it);
        object->autorelease(); // not during the post that names it
    }
    /// Updates a copy of the list: updates may announce or remove actors.
    void update(float dt) override {
        std::vector<KVObject*> now = kept;
        for (KVObject* object : now)
            object->retain();
        for (KVObject* object : now) {
            if (std::find(kept.begin(), kept.end(), object) != kept.end()) object->update(dt);
            object->release();
        }
    }
    int countOf(const char* className) const {
        int n = 0;
        for (KVObject* object : kept)
            n += object->isKindOf(className) ? 1 : 0;
        return n;
    }
    std::vector<KVObject*> kept;
};

/// The pawn world, plus the actors that controllers, brains and attacks announce, updated after
/// the pawns as the game model does.
class ControllerWorldTest : public PawnWorldTest {
protected:
    void SetUp() override {
        PawnWorldTest::SetUp();
        keeper = new ActorKeeper();
    }
    void TearDown() override {
        PawnWorldTest::TearDown();
        keeper->release();
    }

    TestKelvo* makeKelvo(const char* name, float x, float y, kvdata::Dict* stats) {
        TestKelvo* kelvo = TestKelvo::make(name, x, y, stats);
        pawns.push_back(kelvo);
        return kelvo;
    }
    SidewaysPawn* makeSideways(const char* name, float x, float y, kvdata::Dict* stats, bool enemy, bool ai) {
        SidewaysPawn* pawn = SidewaysPawn::make(name, x, y, stats, enemy, ai);
        pawns.push_back(pawn);
        return pawn;
    }
    KVPawnPlayerController* playerControllerOf(KVPawn* pawn) {
        return bindController<KVPawnPlayerController>(pawn);
    }

    /// One frame: the world's step, every pawn's update, then the kept actors' updates.
    void frame(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            physics->update(kFrame);
            for (KVPawn* pawn : pawns)
                pawn->update(kFrame);
            keeper->update(kFrame);
            drainPool();
        }
    }

    static float speedOf(KVPawn* pawn) { return pawn->getBody()->GetLinearVelocity().Length(); }

    ActorKeeper* keeper = nullptr;
};

} // namespace pawntest
