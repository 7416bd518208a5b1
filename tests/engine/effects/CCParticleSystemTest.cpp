#include "engine/effects/CCParticleExamples.h"
#include "engine/effects/CCParticleSystemQuad.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/base/CCRandom.h"
#include "engine/director/CCDirector.h"
#include "engine/platform/CCGL.h"
#include "support/GLFixture.h"
#include "tests/engine/files/FilesTestSupport.h"

using namespace kvengine;

namespace {

// Owns one system for a test and lets the scheduler go of it at the end.
template <typename T = CCParticleSystemQuad> struct System {
    explicit System(unsigned capacity) : p(new T()) {
        p->retain(); // survive a failed init's self-release so the test can report it
        ok = p->initWithTotalParticles(capacity);
    }
    ~System() {
        if (ok) {
            p->unscheduleUpdate();
            p->release();
        }
        p->release();
    }
    T* operator->() { return p; }
    T* p;
    bool ok;
};

// A system that moves particles without any random spread, so positions follow from the
// configuration alone.
void configureSteady(CCParticleSystem* s) {
    s->setLife(10);
    s->setStartColor({1, 1, 1, 1});
    s->setEndColor({1, 1, 1, 0});
    s->setStartSize(4);
    s->setEndSize(CCParticleSystem::kStartSizeEqualToEndSize);
    s->setEmissionRate(1000);
    s->setDuration(CCParticleSystem::kDurationInfinity);
}

TEST(ParticleSystem, EmissionFollowsRateAndDuration) {
    struct Case {
        float rate, duration, dt;
        int updates;
        unsigned count;
        float elapsed;
        bool active;
    } cases[] = {
        {10, -1, 0.25f, 1, 2, 0.25f, true}, // the counter must pass 0.1 strictly: 0.05 stays over
        {0, 2, 1, 5, 0, 0, true},           // no rate: no particles and the clock stands still
        {1, 2, 1, 3, 2, 2, false},          // the third update ends emission; elapsed is clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        System<> s(50);
        ASSERT_TRUE(s.ok);
        s->setLife(100);
        s->setEmissionRate(c.rate);
        s->setDuration(c.duration);
        for (int i = 0; i < c.updates; ++i)
            s->update(c.dt);
        EXPECT_EQ(s->getParticleCount(), c.count);
        EXPECT_FLOAT_EQ(s->getElapsed(), c.elapsed);
        EXPECT_EQ(s->isActive(), c.active);
    }
}

TEST(ParticleSystem, GravityModeMovesEachParticleByExplicitSteps) {
    System<> s(3);
    ASSERT_TRUE(s.ok);
    configureSteady(s.p);
    s->setSpeed(20);
    s->setAngle(0);
    s->setGravity(CCPoint(0, -10));
    s->setSourcePosition(CCPoint(5, 0));
    s->update(0.5f); // emits 3 (capacity) and moves them one step
    ASSERT_EQ(s->getParticleCount(), 3u);
    for (int i = 0; i < 3; ++i)
        s->update(0.5f);
    // Four steps of 0.5 s: dir.y = -5, -10, -15, -20; y = -2.5 - 5 - 7.5 - 10.
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_NEAR(s->particles()[i].pos.x, 5 + 20 * 2, 1e-4);
        EXPECT_NEAR(s->particles()[i].pos.y, -25, 1e-4);
        EXPECT_FLOAT_EQ(s->particles()[i].size, 4);
    }
}

TEST(ParticleSystem, RadiusModeCirclesTheCentre) {
    System<> s(1);
    ASSERT_TRUE(s.ok);
    configureSteady(s.p);
    s->setEmitterMode(CCParticleSystem::kModeRadius);
    s->setStartRadius(10);
    s->setEndRadius(20);
    s->setRotatePerSecond(90);
    s->setAngle(0);
    s->update(1);
    // One second: angle 0 + pi/2, radius 10 + 10/10 = 11; pos = (-cos, -sin) x radius.
    const CCParticle& p = s->particles()[0];
    EXPECT_NEAR(p.pos.x, 0, 1e-4);
    EXPECT_NEAR(p.pos.y, -11, 1e-4);
}

TEST(ParticleSystem, SpreadsDrawFromTheSeededSourceInOrder) {
    for (float endSize : {CCParticleSystem::kStartSizeEqualToEndSize, 8.0f}) {
        SCOPED_TRACE(endSize);
        System<> s(1);
        ASSERT_TRUE(s.ok);
        s->setLife(10);
        s->setLifeVar(2);
        s->setPosVar(CCPoint(100, 50));
        s->setStartSize(4);
        s->setEndSize(endSize);
        s->setAngleVar(30);
        s->setSpeed(10);
        s->setSpeedVar(5);
        s->setEmissionRate(1);
        CCRandom::seed(7);
        std::vector<float> r;
        for (int i = 0; i < 20; ++i)
            r.push_back(CCRandom::randomMinus1To1());
        CCRandom::seed(7);
        ASSERT_TRUE(s->emitParticle());
        const CCParticle& p = s->particles()[0];
        EXPECT_FLOAT_EQ(p.timeToLive, 10 + 2 * r[0]);
        EXPECT_FLOAT_EQ(p.pos.x, 100 * r[1]);
        EXPECT_FLOAT_EQ(p.pos.y, 50 * r[2]);
        // 8 colour draws, start size, end size (unless -1), two spins, then the angle and speed.
        size_t angleDraw = endSize == CCParticleSystem::kStartSizeEqualToEndSize ? 14 : 15;
        float a = 30 * r[angleDraw] * 3.14159265f / 180;
        float speed = 10 + 5 * r[angleDraw + 1];
        EXPECT_NEAR(p.dir.x, std::cos(a) * speed, 1e-4);
        EXPECT_NEAR(p.dir.y, std::sin(a) * speed, 1e-4);
    }
}

TEST(ParticleSystem, RetiringMovesTheLastRecordIntoTheGap) {
    System<> s(5);
    ASSERT_TRUE(s.ok);
    configureSteady(s.p);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(s->emitParticle());
    EXPECT_FALSE(s->emitParticle());
    auto* records = const_cast<CCParticle*>(s->particles());
    for (int i = 0; i < 5; ++i)
        records[i].timeToLive = 10.0f + i;
    records[2].timeToLive = 0; // a life of 0 ends in the first update
    s->setEmissionRate(0);
    s->update(0.5f);
    ASSERT_EQ(s->getParticleCount(), 4u);
    EXPECT_FLOAT_EQ(records[2].timeToLive, 13.5f); // record 4, also stepped in this update
    EXPECT_FLOAT_EQ(records[3].timeToLive, 12.5f);
}

TEST(ParticleSystem, AutoRemoveLeavesTheParentWithTheLastParticle) {
    CCNode* parent = CCNode::create();
    parent->retain();
    auto* s = new CCParticleSystemQuad();
    ASSERT_TRUE(s->initWithTotalParticles(1));
    configureSteady(s);
    s->setLife(1);
    s->setAutoRemoveOnFinish(true);
    parent->addChild(s); // the test keeps its own reference to look at the system afterwards
    s->update(0.5f);
    ASSERT_EQ(s->getParticleCount(), 1u);
    s->stopEmission();
    s->update(0.6f);
    EXPECT_EQ(s->getParent(), nullptr); // removed with cleanup, which also unscheduled it
    EXPECT_EQ(s->retainCount(), 1u);
    s->release();
    parent->release();
}

TEST(ParticleSystem, CapacityCannotGrowPastTheAllocation) {
    kvtest::LogCapture log;
    System<> s(4);
    ASSERT_TRUE(s.ok);
    configureSteady(s.p);
    s->setTotalParticles(100);
    EXPECT_EQ(s->getTotalParticles(), 4u);
    EXPECT_TRUE(log.contains("only 4 allocated"));
    s->update(1);
    EXPECT_EQ(s->getParticleCount(), 4u);
}

TEST(ParticleSystem, QuadCapacityIsBoundedBySixteenBitIndices) {
    kvtest::LogCapture log;
    auto* s = new CCParticleSystemQuad();
    s->retain();
    EXPECT_FALSE(s->initWithTotalParticles(CCParticleSystemQuad::kMaxParticles + 1));
    EXPECT_EQ(s->retainCount(), 1u); // it gave up its own reference
    s->release();
    EXPECT_TRUE(log.contains("16-bit"));
}

TEST(ParticleSystemQuad, CornersFollowRotationAndColour) {
    System<> s(1);
    ASSERT_TRUE(s.ok);
    CCParticle particle;
    particle.size = 10;
    particle.color = {1, 0.5f, 0, 2}; // alpha past 1 is kept to 255
    s->updateQuadWithParticle(&particle, CCPoint(0, 0));
    const ccV2F_C4B_T2F_Quad& q = s->quads()[0];
    EXPECT_FLOAT_EQ(q.bl.x, -5);
    EXPECT_FLOAT_EQ(q.tr.y, 5);
    EXPECT_EQ(q.tl.colors.g, 127);
    EXPECT_EQ(q.br.colors.a, 255);
    particle.rotation = 90;
    s->updateQuadWithParticle(&particle, CCPoint(0, 0));
    EXPECT_NEAR(q.bl.x, -5, 1e-5);
    EXPECT_NEAR(q.bl.y, 5, 1e-5);
    // Indices: two triangles per quad.
    const std::uint16_t expected[] = {0, 1, 2, 3, 2, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(s->indices()[i], expected[i]);
    // Without a texture the whole unit square is used, first picture row at the top.
    EXPECT_FLOAT_EQ(q.bl.texCoords.v, 1);
    EXPECT_FLOAT_EQ(q.tl.texCoords.v, 0);
}

class ParticleSystemQuadOnScreen : public kvtest::GLFixture {
protected:
    ParticleSystemQuadOnScreen() : GLFixture(64, 64) {}
};

TEST_F(ParticleSystemQuadOnScreen, DrawsUntexturedSquaresWithoutATexture) {
    System<> s(1);
    ASSERT_TRUE(s.ok);
    configureSteady(s.p);
    s->setStartColor({1, 0, 0, 1});
    s->setEndColor({1, 0, 0, 1});
    s->setStartSize(10);
    s->setSourcePosition(CCPoint(32, 32));
    s->update(0.01f);
    ASSERT_EQ(s->getParticleCount(), 1u);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    s->draw();
    EXPECT_EQ(gl.pixel(32, 32), (kvtest::RGBA{255, 0, 0, 255}));
    EXPECT_EQ(gl.pixel(20, 20), (kvtest::RGBA{0, 0, 0, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ParticleSystem, BlendFollowsAdditiveFlag) {
    System<> s(1);
    ASSERT_TRUE(s.ok);
    EXPECT_FALSE(s->isBlendAdditive());
    s->setBlendAdditive(true);
    EXPECT_TRUE(s->isBlendAdditive());
    EXPECT_EQ(s->getBlendFunc().dst, static_cast<uint32_t>(GL_ONE));
    s->setBlendAdditive(false);
    EXPECT_EQ(s->getBlendFunc().src, static_cast<uint32_t>(GL_ONE));
    EXPECT_EQ(s->getBlendFunc().dst, static_cast<uint32_t>(GL_ONE_MINUS_SRC_ALPHA));
}

TEST(ParticlePresets, SnowFallsFromAboveTheWindowAndFades) {
    CCDirector* director = CCDirector::getInstance();
    CCSize oldSize = director->getWinSize();
    director->setWinSizeInPoints(CCSize(480, 320));
    CCRandom::seed(3);
    System<CCParticleSnow> snow(100);
    ASSERT_TRUE(snow.ok);
    EXPECT_FLOAT_EQ(snow->getPosition().x, 240);
    EXPECT_FLOAT_EQ(snow->getPosition().y, 330);
    EXPECT_FLOAT_EQ(snow->getPosVar().x, 240);
    EXPECT_FLOAT_EQ(snow->getEmissionRate(), 10);
    EXPECT_FALSE(snow->isBlendAdditive());
    {
        // New flakes cover the whole width around the emitter (positions relative to it).
        System<CCParticleSnow> fresh(100);
        ASSERT_TRUE(fresh.ok);
        float minX = 1e9f, maxX = -1e9f;
        while (fresh->emitParticle()) {
            const CCParticle& p = fresh->particles()[fresh->getParticleCount() - 1];
            minX = std::fmin(minX, p.pos.x);
            maxX = std::fmax(maxX, p.pos.x);
            EXPECT_GE(p.timeToLive, 30.0f);
            EXPECT_LE(p.timeToLive, 60.0f);
        }
        EXPECT_GE(minX, -240.0f);
        EXPECT_LE(maxX, 240.0f);
        EXPECT_LT(minX, -150.0f);
        EXPECT_GT(maxX, 150.0f);
    }
    director->setWinSizeInPoints(oldSize);

    std::vector<float> sizes;
    for (int frame = 0; frame < 240; ++frame) { // 12 s at 20 frames per second
        snow->update(0.05f);
        if (frame == 0) continue;
        ASSERT_LE(snow->getParticleCount(), 100u);
        for (unsigned i = 0; i < snow->getParticleCount(); ++i) {
            const CCParticle& p = snow->particles()[i];
            ASSERT_LE(p.color.a, 1.0f);
            ASSERT_GE(p.timeToLive, 0.0f);
            ASSERT_LE(p.timeToLive, 60.0f);
        }
    }
    EXPECT_EQ(snow->getParticleCount(), 100u); // 10 per second fills 100 in about 10 s
    float size = snow->particles()[0].size;
    for (int i = 0; i < 20; ++i)
        snow->update(0.05f);
    EXPECT_FLOAT_EQ(snow->particles()[0].size, size);
}

TEST(ParticlePresets, BurstStopsAfterItsTenthOfASecond) {
    System<CCParticleBurst> burst(50);
    ASSERT_TRUE(burst.ok);
    EXPECT_FLOAT_EQ(burst->getEmissionRate(), 500);
    for (int i = 0; i < 10; ++i)
        burst->update(0.02f);
    EXPECT_FALSE(burst->isActive());
    unsigned count = burst->getParticleCount();
    EXPECT_LE(count, 50u);
    EXPECT_GT(count, 0u);
    for (int i = 0; i < 400; ++i) // 8 s: every life (3 to 7 s) has ended
        burst->update(0.02f);
    EXPECT_EQ(burst->getParticleCount(), 0u);
}

} // namespace
