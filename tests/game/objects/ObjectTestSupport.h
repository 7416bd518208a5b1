#pragma once

// A physics world stepped at a fixed 1/60 s with pawns, kelvos and level objects in it, updated in
// the order the game model uses (the world's step, then every actor).

#include "game/pawns/PawnTestSupport.h"

#include "game/objects/KVObjectBodies.h"
#include "game/pawns/KVKelvo.h"
#include "game/world/KVActor.h"

namespace objecttest {

using pawntest::fighterStats;

/// A kelvo set up the way the creature classes do it.
class TestKelvo : public KVKelvo {
public:
    static TestKelvo* make(float x, float y) {
        auto* kelvo = new TestKelvo();
        auto* typeName = new kvengine::CCString("steev");
        EXPECT_TRUE(kelvo->initAt(x, y, nullptr, typeName));
        typeName->release();
        kelvo->readStats(fighterStats());
        EXPECT_TRUE(kelvo->createBody());
        kelvo->registerObservers();
        return kelvo;
    }
};

/// An actor with a small group-1 sensor ball, like a flying projectile: it meets the border edges.
class SensorActor : public KVActor {
public:
    CC_DECLARE_CLASS_NAME(SensorActor, KVActor)

    bool initAt(float x, float y) {
        init();
        positionX = x;
        positionY = y;
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(x, y);
        def.userData.pointer = reinterpret_cast<uintptr_t>(static_cast<KVActor*>(this));
        m_body = KVPhysWorld::getInstance()->getWorld()->CreateBody(&def);
        b2CircleShape circle;
        circle.m_radius = 0.2f;
        b2FixtureDef fixture;
        fixture.shape = &circle;
        fixture.density = 1.0f;
        fixture.isSensor = true;
        fixture.filter.categoryBits = 0x0002;
        fixture.filter.maskBits = 0x0000;
        fixture.filter.groupIndex = 1;
        m_body->CreateFixture(&fixture);
        return true;
    }
    void cleanupBeforeDelete() override {
        kvobjects::destroyBody(m_body, this);
        m_body = nullptr;
        KVActor::cleanupBeforeDelete();
    }
    b2Body* getBody() override { return m_body; }

private:
    b2Body* m_body = nullptr;
};

/// A tile-map object dictionary (autoreleased) of pixel texts.
inline kvobjects::Dict* tileObject(int x, int y, int width, int height,
                                   std::initializer_list<std::pair<const char*, const char*>> extra = {}) {
    kvdata::Dict* dict = kvdata::newDict();
    kvdata::setText(dict, "x", std::to_string(x).c_str());
    kvdata::setText(dict, "y", std::to_string(y).c_str());
    kvdata::setText(dict, "width", std::to_string(width).c_str());
    kvdata::setText(dict, "height", std::to_string(height).c_str());
    for (const auto& entry : extra)
        kvdata::setText(dict, entry.first, entry.second);
    return dict;
}

class ObjectWorldTest : public pawntest::PawnWorldTest {
protected:
    void TearDown() override {
        for (kvengine::CCObject* each : m_traces)
            each->release();
        m_traces.clear();
        for (KVActor* actor : actors)
            actor->release();
        actors.clear();
        PawnWorldTest::TearDown();
    }

    /// Keeps `actor` (its creation reference) and updates it every step.
    template <typename T> T* keep(T* actor) {
        actors.push_back(actor);
        return actor;
    }
    TestKelvo* makeKelvo(float x, float y) {
        TestKelvo* kelvo = TestKelvo::make(x, y);
        pawns.push_back(kelvo);
        return kelvo;
    }
    pawntest::Trace* trace(std::initializer_list<kvengine::CCString*> names) {
        auto* made = new pawntest::Trace(names);
        m_traces.push_back(made);
        return made;
    }

    void stepAll(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            for (pawntest::Trace* each : m_traces)
                each->frame++;
            physics->update(pawntest::kFrame);
            for (KVPawn* pawn : pawns)
                pawn->update(pawntest::kFrame);
            for (KVActor* actor : actors)
                actor->update(pawntest::kFrame);
            drainPool();
        }
    }

    std::vector<KVActor*> actors;

private:
    std::vector<pawntest::Trace*> m_traces;
};

} // namespace objecttest
