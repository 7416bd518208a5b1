// Vortices and geysers: the vortex's pull and its slow zone, the geyser's start velocity and push,
// who keeps a geyser busy and when it lets a move end, and the objects both refuse.
#include "ObjectTestSupport.h"

#include <cmath>

#include "game/objects/KVGeyser.h"
#include "game/objects/KVVortex.h"

using objecttest::tileObject;
using pawntest::LogCapture;

namespace {

class HazardTest : public objecttest::ObjectWorldTest {
protected:
    // A vortex of radius 4 m centred on (10, 10), pull 0.1.
    KVVortex* makeVortex() {
        auto* vortex = keep(new KVVortex());
        EXPECT_TRUE(vortex->initWithDictionary(tileObject(192, 192, 256, 256, {{"PullPower", "0.1"}})));
        return vortex;
    }
    // The body the drawing makes of a rectangle whose top-left corner is (x, y), metres: the box
    // hangs below and right of the corner; a sensor of the drawing's group.
    b2Body* drawnRect(float x, float y, float width, float height, float angle = 0.0f) {
        b2BodyDef def;
        def.position.Set(x, y);
        def.angle = angle;
        b2Body* body = physics->getWorld()->CreateBody(&def);
        b2PolygonShape box;
        box.SetAsBox(width / 2.0f, height / 2.0f, b2Vec2(width / 2.0f, -height / 2.0f), 0.0f);
        b2FixtureDef fixture;
        fixture.shape = &box;
        fixture.isSensor = true;
        fixture.filter.groupIndex = 5;
        body->CreateFixture(&fixture);
        return body;
    }
    // A geyser over [4, 8] x [2, 10] with "power" 2 (so J = 1 upwards).
    KVGeyser* makeGeyser() {
        auto* geyser = keep(new KVGeyser());
        EXPECT_TRUE(geyser->initWithBody(drawnRect(4.0f, 10.0f, 4.0f, 8.0f)));
        geyser->applyParameters(pawntest::statsOf({{"power", "2"}}));
        return geyser;
    }
    static b2Vec2 velocityOf(KVPawn* pawn) { return pawn->getBody()->GetLinearVelocity(); }
    // The trace's lines about the geyser (pawns announce their own moves too).
    static std::vector<std::string> geyserLines(const pawntest::Trace* t) {
        std::vector<std::string> lines;
        for (const std::string& line : t->lines)
            if (line.size() > 7 && line.compare(line.size() - 7, 7, " geyser") == 0) lines.push_back(line);
        return lines;
    }
};

TEST_F(HazardTest, AVortexPullsTowardsItsCentreAndOnlySlowsWithinOneAndAQuarterMetres) {
    KVVortex* vortex = makeVortex();
    EXPECT_FLOAT_EQ(vortex->getRadius(), 4.0f);
    EXPECT_EQ(vortex->viewClassName(), "KVVortexV");
    const struct {
        float dx, dy; // from the centre
        bool pulled;
    } cases[] = {{3.0f, 0.0f, true},
                 {0.0f, -2.0f, true},
                 {1.25f, 0.0f, true},
                 {1.0f, 0.0f, false},
                 {0.0f, 0.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        KVPawn* pawn = makePawn("kelvo", 10.0f + c.dx, 10.0f + c.dy, pawntest::fighterStats());
        physics->update(pawntest::kFrame); // the probe enters the sensor
        ASSERT_TRUE(vortex->getActors()->containsObject(pawn));
        pawn->getBody()->SetLinearVelocity(b2Vec2(0.0f, 2.0f));
        vortex->update(pawntest::kFrame);
        const b2Vec2 v = velocityOf(pawn);
        if (c.pulled) {
            const float dist = std::hypot(c.dx, c.dy);
            const float mass = pawn->getBody()->GetMass();
            EXPECT_NEAR(v.x, -0.1f * c.dx / dist / mass, 1e-5f);
            EXPECT_NEAR(v.y, 2.0f - 0.1f * c.dy / dist / mass, 1e-5f);
        } else {
            EXPECT_FLOAT_EQ(v.x, 0.0f);
            EXPECT_FLOAT_EQ(v.y, 1.9f);
        }
        // Removed, it leaves the list at once.
        post(EVENT_REMOVE_ACTOR, pawn);
        EXPECT_EQ(vortex->getActors()->count(), 0u);
    }
    // A pawn outside the sensor is left alone.
    KVPawn* far = makePawn("kelvo", 15.0f, 10.0f, pawntest::fighterStats());
    stepAll(1);
    EXPECT_FALSE(vortex->getActors()->containsObject(far));
}

TEST_F(HazardTest, VortexAndGeyserObjectsWithoutWhatTheyNeedAreRefusedAndLogged) {
    LogCapture log;
    auto* noPull = keep(new KVVortex());
    EXPECT_FALSE(noPull->initWithDictionary(tileObject(0, 0, 64, 64)));
    EXPECT_EQ(noPull->getBody(), nullptr);
    EXPECT_TRUE(log.contains("no \"PullPower\""));
    auto* noDictionary = keep(new KVVortex());
    EXPECT_FALSE(noDictionary->initWithDictionary(nullptr));
    EXPECT_TRUE(log.contains("no object dictionary"));

    // A geyser needs a drawn rectangle: an edge, a circle or no body at all is refused.
    b2BodyDef def;
    b2Body* edgeBody = physics->getWorld()->CreateBody(&def);
    b2EdgeShape edge;
    edge.SetTwoSided(b2Vec2(0.0f, 0.0f), b2Vec2(2.0f, 0.0f));
    edgeBody->CreateFixture(&edge, 0.0f);
    b2Body* circleBody = physics->getWorld()->CreateBody(&def);
    b2CircleShape circle;
    circle.m_radius = 1.0f;
    circleBody->CreateFixture(&circle, 0.0f);
    for (b2Body* body : {edgeBody, circleBody, static_cast<b2Body*>(nullptr)}) {
        auto* geyser = keep(new KVGeyser());
        EXPECT_FALSE(geyser->initWithBody(body));
    }
    EXPECT_TRUE(log.contains("no four-cornered polygon"));
    EXPECT_TRUE(log.contains("KVGeyser: no body"));
}

TEST_F(HazardTest, AGeyserStartsARestingBodyAndPushesItUpEveryFrame) {
    KVGeyser* geyser = makeGeyser();
    EXPECT_FLOAT_EQ(geyser->getWidth(), 4.0f);
    EXPECT_FLOAT_EQ(geyser->getHeight(), 8.0f);
    EXPECT_FLOAT_EQ(geyser->positionX, 4.0f) << "the base corner";
    EXPECT_FLOAT_EQ(geyser->positionY, 2.0f);
    EXPECT_FLOAT_EQ(geyser->getPushAngle(), 1.5707964f);
    EXPECT_FLOAT_EQ(geyser->getPower(), 1.0f);
    EXPECT_EQ(geyser->getBody()->GetFixtureList()->GetFilterData().categoryBits, 0x0002);
    EXPECT_FALSE(geyser->isCameraTarget());

    const struct {
        const char* what;
        bool anchored, dead;
        float startVy; // velocity before the push
        bool pushed;
    } cases[] = {
        {"a resting pawn gets J as its velocity, then the push", false, false, 0.0f, true},
        {"a moving pawn only gets the push", false, false, 0.5f, true},
        {"an anchored pawn gets no start velocity, only the push", true, false, 0.0f, true},
        {"a dead pawn is not pushed", false, true, 0.0f, false},
    };
    float x = 4.5f;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        KVPawn* pawn = makePawn("kelvo", x, 5.0f, pawntest::fighterStats());
        x += 1.0f;
        pawn->setAnchored(c.anchored);
        if (c.dead) {
            pawn->setTakesDamage(true);
            pawn->takeDamage(1000, nullptr, KVActionEvent::MeleeHit, 1.0f, 0.0f);
        }
        physics->update(pawntest::kFrame);
        ASSERT_TRUE(geyser->getActors()->containsObject(pawn));
        pawn->getBody()->SetLinearVelocity(b2Vec2(0.0f, c.startVy));
        geyser->update(pawntest::kFrame);
        const float mass = pawn->getBody()->GetMass();
        const bool starts = !c.anchored && c.startVy == 0.0f && c.pushed;
        const float expected = c.pushed ? (starts ? 1.0f : c.startVy) + 1.0f / mass : c.startVy;
        EXPECT_NEAR(velocityOf(pawn).y, expected, 1e-5f);
        EXPECT_NEAR(velocityOf(pawn).x, 0.0f, 1e-5f);
        post(EVENT_REMOVE_ACTOR, pawn);
        EXPECT_FALSE(geyser->getActors()->containsObject(pawn));
    }
}

TEST_F(HazardTest, WhatKeepsAGeyserBusy) {
    KVGeyser* geyser = makeGeyser();
    auto* t = trace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(geyser, "geyser");

    // An anchored pawn keeps it idle.
    KVPawn* anchored = makePawn("kelvo", 5.0f, 5.0f, pawntest::fighterStats());
    anchored->setAnchored(true);
    anchored->getBody()->SetType(b2_staticBody);
    stepAll(5);
    EXPECT_TRUE(geyserLines(t).empty()) << t->dump();
    EXPECT_FALSE(geyser->isBusy());

    // A dead pawn is not pushed but keeps it busy until it leaves.
    KVPawn* dead = makePawn("crab", 7.0f, 5.0f, pawntest::fighterStats(), true, true);
    dead->setTakesDamage(true);
    dead->takeDamage(1000, nullptr, KVActionEvent::MeleeHit, 1.0f, 0.0f);
    dead->getBody()->SetLinearVelocity(b2Vec2(0.0f, 3.0f));
    t->clear();
    stepAll(2);
    EXPECT_EQ(geyserLines(t), std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION geyser"});
    EXPECT_TRUE(geyser->isBusy());
    post(EVENT_REMOVE_ACTOR, dead);
    stepAll(1);
    EXPECT_EQ(geyserLines(t),
              (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION geyser", "EVENT_NOTIFY_IDLE geyser"}));
}

TEST_F(HazardTest, ABodyPushedAgainstAWallLetsTheMoveEndAfterASecondAtRest) {
    KVGeyser* geyser = makeGeyser();
    // A ceiling across the geyser at y = 7.
    b2BodyDef def;
    def.position.Set(6.0f, 7.5f);
    b2Body* ceiling = physics->getWorld()->CreateBody(&def);
    b2PolygonShape slab;
    slab.SetAsBox(3.0f, 0.5f);
    ceiling->CreateFixture(&slab, 0.0f);
    auto* t = trace({EVENT_NOTIFY_IN_ACTION, EVENT_NOTIFY_IDLE});
    t->name(geyser, "geyser");
    KVPawn* pawn = makePawn("kelvo", 6.0f, 4.0f, pawntest::fighterStats());
    stepAll(30);
    EXPECT_EQ(geyserLines(t), std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION geyser"})
        << "not a second at rest";
    stepAll(120);
    EXPECT_EQ(geyserLines(t),
              (std::vector<std::string>{"EVENT_NOTIFY_IN_ACTION geyser", "EVENT_NOTIFY_IDLE geyser"}))
        << t->dump();
    EXPECT_FALSE(geyser->isBusy());
    EXPECT_NEAR(pawn->positionY, 6.5f, 0.1f) << "held under the ceiling";
    EXPECT_TRUE(geyser->getActors()->containsObject(pawn)) << "and still pushed";
}

} // namespace

#include "engine/effects/CCParticleSystem.h"
#include "engine/nodes/CCNode.h"
#include "game/objects/KVGeyserV.h"

namespace {

// The gameplay layer as far as the geyser views see it.
class ViewHost : public kvengine::CCNode, public KVActorViewHost {
public:
    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override { (void)view; }
};

TEST_F(HazardTest, GeyserViewsShareABudgetOfFifteenHundredLiveParticles) {
    auto* host = new ViewHost();
    // 4 x 8 m (160 particles) and twice 20 x 14 m (1400 each): 2960 in all.
    const struct {
        float x, width, height;
        unsigned capacity, limit;
    } geysers[] = {
        {0.0f, 4.0f, 8.0f, 160, 81}, {10.0f, 20.0f, 14.0f, 1400, 709}, {40.0f, 20.0f, 14.0f, 1400, 709}};
    std::vector<KVGeyserV*> views;
    for (const auto& g : geysers) {
        auto* geyser = keep(new KVGeyser());
        ASSERT_TRUE(geyser->initWithBody(drawnRect(g.x, 20.0f, g.width, g.height)));
        geyser->applyParameters(pawntest::statsOf({{"power", "2"}}));
        auto* view = new KVGeyserV();
        ASSERT_TRUE(view->initWithActor(geyser, host));
        EXPECT_EQ(view->getCapacity(), g.capacity);
        EXPECT_EQ(view->getEmitter()->getParent(), host);
        views.push_back(view);
    }
    EXPECT_EQ(KVGeyserV::sharedParticleTotal(), 2960u);
    EXPECT_EQ(KVGeyserV::viewCount(), 3);
    post(EVENT_POST_LOAD_GAME);
    unsigned sum = 0;
    for (size_t i = 0; i < views.size(); ++i) {
        kvengine::CCParticleSystem* emitter = views[i]->getEmitter();
        EXPECT_EQ(emitter->getTotalParticles(), geysers[i].limit) << i;
        EXPECT_LE(emitter->getTotalParticles(), views[i]->getCapacity());
        EXPECT_FLOAT_EQ(emitter->getSpeed(), 100.0f) << "power 1 x 100";
        EXPECT_FLOAT_EQ(emitter->getLife(), geysers[i].height * 32.0f / 100.0f * 0.93f);
        sum += emitter->getTotalParticles();
    }
    EXPECT_LE(sum, KVGeyserV::kParticleBudget);
    for (KVGeyserV* view : views)
        view->release();
    EXPECT_EQ(KVGeyserV::sharedParticleTotal(), 0u);
    EXPECT_EQ(KVGeyserV::viewCount(), 0);
    host->release();
}

} // namespace
