// The area attack's and the dash's views on a small host layer, with texture-less frames and the
// action manager stepped by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../pawns/ControllerTestSupport.h"
#include "engine/actions/CCActionManager.h"
#include "engine/files/CCPlistReader.h"
#include "engine/nodes/CCLayer.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/attacks/KVAOEAttack.h"
#include "game/attacks/KVAOEAttackV.h"
#include "game/attacks/KVDash.h"
#include "game/attacks/KVDashV.h"

using kvengine::CCSpriteFrameCache;
using pawntest::fighterStats;

namespace {

// The frames of "top_sfx_51_ss" that the views ask for; the player's blast lacks 04 to 09.
std::string sheetText() {
    std::string frames;
    auto add = [&frames](const std::string& name) {
        frames += "<key>" + name + "</key><dict><key>frame</key><string>{{0,0},{4,4}}</string></dict>";
    };
    add("AE_Area_BGR.png");
    add("AE_Area_CHR.png");
    char name[32];
    for (int i = 1; i <= 3; ++i) {
        std::snprintf(name, sizeof name, "AoE_melee_%02d.png", i);
        add(name);
    }
    for (int i = 1; i <= 9; ++i) {
        std::snprintf(name, sizeof name, "AoE_enemy_%02d.png", i);
        add(name);
    }
    for (int i = 1; i <= 6; ++i) {
        std::snprintf(name, sizeof name, "doubledash_%02d.png", i);
        add(name);
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
           "version=\"1.0\"><dict><key>frames</key><dict>" +
           frames +
           "</dict><key>metadata</key><dict><key>format</key><integer>1</integer></dict></dict></plist>\n";
}

// The gameplay layer as far as views need it.
class TestHost : public kvengine::CCLayer, public KVActorViewHost {
public:
    TestHost() {
        sheet = kvengine::CCNode::create();
        addChild(sheet);
    }
    kvengine::CCObject* viewHostObject() override { return this; }
    kvengine::CCNode* viewSheet(const std::string& name) override {
        return name == "top_sfx_51_ss" ? sheet : nullptr;
    }
    kvengine::CCNode* sheet = nullptr;
    void removeActorView(KVActorV* view) override { removed.push_back(view); }
    std::vector<KVActorV*> removed;
};

class KVAttackViewsTest : public pawntest::ControllerWorldTest {
protected:
    void SetUp() override {
        ControllerWorldTest::SetUp();
        const std::string sheet = sheetText();
        auto* parsed =
            kvengine::dictionaryWithContentsOfData(sheet.data(), static_cast<unsigned>(sheet.size()));
        ASSERT_NE(parsed, nullptr);
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithDictionary(parsed, nullptr);
        host = new TestHost();
        host->onEnter(); // running: actions on its children play
        trace = new pawntest::Trace({EVENT_REMOVE_ACTOR, EVENT_DASH_ACTIVE, EVENT_AOE_TRIGGERED});
    }
    void TearDown() override {
        trace->release();
        host->onExit();
        host->release();
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        ControllerWorldTest::TearDown();
    }
    static void play(float seconds) {
        for (float t = 0.0f; t < seconds; t += pawntest::kFrame)
            kvengine::CCActionManager::getInstance()->update(pawntest::kFrame);
    }
    KVAOEAttack* makeAttack(KVPawn* attacker) {
        auto* attack = new KVAOEAttack();
        EXPECT_TRUE(attack->initWithAttacker(attacker->positionX, attacker->positionY, attacker,
                                             KVAOEAttack::kPhaseAiming, 3.0f, nullptr));
        attack->autorelease();
        return attack;
    }

    TestHost* host = nullptr;
    pawntest::Trace* trace = nullptr;
};

TEST_F(KVAttackViewsTest, TheRingIsScaledByRangeAndTheBlastEndsTheAttack) {
    auto* kelvo =
        makeKelvo("kelvo", 2.0f, 1.0f, fighterStats({{"Range AoE", "89.6"}, {"hasAOEAttack", "YES"}}));
    kelvo->setStamina(100);
    KVAOEAttack* attack = makeAttack(kelvo);
    trace->name(attack, "attack");
    auto* view = new KVAOEAttackV();
    ASSERT_TRUE(view->initWithActor(attack, host));
    // Range AoE is read as an integer: 89 px.
    EXPECT_NEAR(view->getRingScale(), 89.0f / 89.6f * 0.9f, 1e-5f);
    ASSERT_NE(view->getSprite(), nullptr);
    EXPECT_EQ(view->getSprite()->getParent(), host->sheet);
    ASSERT_NE(view->getCentreSprite(), nullptr); // the player's ticking hand
    EXPECT_FLOAT_EQ(view->getSprite()->getPosition().x, 64.0f);
    EXPECT_EQ(view->getBlastFrameCount(), 3u); // the missing frames are skipped

    attack->setPhase(KVAOEAttack::kPhaseLaunched);
    view->update(0.25f);
    play(0.25f);
    view->update(0.0f);
    // Two ticks of 22.5 degrees behind the ring.
    EXPECT_NEAR(view->getCentreSprite()->getRotation(), view->getSprite()->getRotation() - 45.0f, 1e-3f);

    attack->setPhase(KVAOEAttack::kPhaseTriggered);
    view->update(pawntest::kFrame);
    EXPECT_TRUE(view->isFading());
    EXPECT_NEAR(view->getCentreSprite()->getScale(), view->getRingScale() * 2.0f, 1e-5f);
    EXPECT_EQ(trace->find("EVENT_REMOVE_ACTOR attack"), -1);
    for (int i = 0; i < 60; ++i) {
        view->update(pawntest::kFrame);
        play(pawntest::kFrame);
    }
    EXPECT_NE(trace->find("EVENT_REMOVE_ACTOR attack"), -1); // after the blast's 0.24 s
    EXPECT_EQ(host->removed.size(), 1u);
    EXPECT_EQ(view->getSprite() == nullptr || view->getSprite()->getParent() == nullptr, true);
    view->release();
}

TEST_F(KVAttackViewsTest, AnEnemysRingHasNoHandAndPlaysTheEnemyBlast) {
    auto* crab = makePawn("crab", 0.0f, 0.0f, fighterStats({{"Range AoE", "179"}}), true, true);
    KVAOEAttack* attack = makeAttack(crab);
    auto* view = new KVAOEAttackV();
    ASSERT_TRUE(view->initWithActor(attack, host));
    EXPECT_TRUE(view->isEnemy());
    EXPECT_EQ(view->getCentreSprite(), nullptr);
    EXPECT_EQ(view->getBlastFrameCount(), 9u);
    EXPECT_NEAR(view->getRingScale(), 179.0f / 89.6f * 0.9f, 1e-5f);
    // Removing the attacker ends the view with the attack.
    post(EVENT_REMOVE_ACTOR, crab);
    EXPECT_EQ(host->removed.size(), 1u);
    view->release();

    auto* wrong = new KVAOEAttackV();
    EXPECT_FALSE(wrong->initWithActor(crab, host));
    wrong->release();
}

TEST_F(KVAttackViewsTest, ADashTrailIsDrawnBehindThePawnAndReportsTheDash) {
    const struct {
        float angle;
        float x, y, rotation;
    } cases[] = {{0.0f, 0.0f, -32.0f, 0.0f}, {1.57079633f, 32.0f, 0.0f, 270.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        auto* kelvo = makeKelvo("kelvo", 0.0f, 0.0f, fighterStats());
        kelvo->getBody()->SetTransform(b2Vec2(0.0f, 0.0f), c.angle);
        step();
        auto* dash = new KVDash();
        ASSERT_TRUE(dash->initWithPawn(kelvo));
        trace->name(dash, "dash");
        trace->clear();
        auto* view = new KVDashV();
        ASSERT_TRUE(view->initWithActor(dash, host));
        ASSERT_NE(view->getSprite(), nullptr);
        EXPECT_NEAR(view->getSprite()->getPosition().x, c.x, 1e-3f);
        EXPECT_NEAR(view->getSprite()->getPosition().y, c.y, 1e-3f);
        EXPECT_NEAR(view->getSprite()->getRotation(), c.rotation, 1e-3f);
        play(0.5f);
        EXPECT_TRUE(trace->lines.empty());
        play(0.2f); // six frames of 0.1 s
        EXPECT_EQ(trace->lines,
                  (std::vector<std::string>{"EVENT_DASH_ACTIVE dash", "EVENT_REMOVE_ACTOR dash"}));
        view->release();
        dash->release();
        post(EVENT_REMOVE_ACTOR, kelvo);
        kelvo->getBody()->SetTransform(b2Vec2(50.0f, 50.0f), 0.0f);
    }
}

} // namespace
