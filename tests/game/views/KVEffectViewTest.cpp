#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/actions/CCActionManager.h"
#include "engine/actions/CCAnimate.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCNotificationCenter.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/app/KVGlobalNames.h"
#include "game/pawns/KVCrab.h"
#include "game/pawns/KVPawn.h"
#include "game/views/KVHit.h"
#include "game/views/KVHitV.h"
#include "game/views/KVPuff.h"
#include "game/views/KVPuffV.h"

using kvengine::CCNotification;
using kvengine::CCNotificationCenter;
using kvengine::CCSpriteFrameCache;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

/// Texture-less frames named like the effect sheet's, each at its own place in the sheet so the
/// shown frame tells which one it is.
std::string effectSheet() {
    std::string frames;
    int x = 0;
    auto add = [&](const std::string& name) {
        frames += "<key>" + name + "</key><dict><key>frame</key><string>{{" + std::to_string(x) +
                  ",0},{4,4}}</string></dict>";
        x += 4;
    };
    add("combo_hit_01.png");
    char name[64];
    for (const char* stem : {"hit_enemy", "hit_kelvo", "hit_heal"})
        for (int i = 1; i <= 4; ++i) {
            std::snprintf(name, sizeof name, "%s_%.2d.png", stem, i);
            add(name);
        }
    for (const char* stem : {"puff_kelvo", "puff_enemy"})
        for (int i = 1; i <= 6; ++i) {
            std::snprintf(name, sizeof name, "%s_%.2d.png", stem, i);
            add(name);
        }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
           "version=\"1.0\"><dict><key>frames</key><dict>" +
           frames +
           "</dict><key>metadata</key><dict><key>format</key><integer>1</integer></dict></dict></plist>\n";
}

/// The layer as the views see it: a running sheet node under the effect sheet's name, and a list
/// of the views that asked to leave.
class FakeHost : public kvengine::CCObject, public KVActorViewHost {
public:
    FakeHost() {
        sheet = kvengine::CCNode::create();
        sheet->retain();
        sheet->onEnter();
    }
    ~FakeHost() override {
        sheet->onExit();
        sheet->release();
    }
    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override { removed.push_back(view); }
    kvengine::CCNode* viewSheet(const std::string& name) override {
        asked.push_back(name);
        return withSheet ? sheet : nullptr;
    }

    kvengine::CCNode* sheet = nullptr;
    bool withSheet = true;
    std::vector<std::string> asked;
    std::vector<KVActorV*> removed;
};

/// Records the names of the posts it hears, with their objects.
class Trace : public kvengine::CCObject {
public:
    Trace() {
        for (kvengine::CCString* name : {EVENT_NEW_ACTOR, EVENT_MIDDLE_PUFF, EVENT_REMOVE_ACTOR})
            CCNotificationCenter::getInstance()->addObserver(this, notification_selector(Trace::heard), name,
                                                             nullptr);
    }
    void stop() { CCNotificationCenter::getInstance()->removeObserver(this, nullptr); }
    void heard(CCNotification* notification) {
        posts.push_back(notification->getName()->c_str());
        objects.push_back(notification->getObject());
    }
    int count(const std::string& name, kvengine::CCObject* object) const {
        int n = 0;
        for (size_t i = 0; i < posts.size(); ++i)
            n += posts[i] == name && objects[i] == object ? 1 : 0;
        return n;
    }
    std::vector<std::string> posts;
    std::vector<kvengine::CCObject*> objects;
};

class KVEffectViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        const std::string sheet = effectSheet();
        auto* parsed =
            kvengine::dictionaryWithContentsOfData(sheet.data(), static_cast<unsigned>(sheet.size()));
        ASSERT_NE(parsed, nullptr);
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithDictionary(parsed, nullptr);
        host = new FakeHost();
        trace = new Trace();
    }
    void TearDown() override {
        for (kvengine::CCObject* object : owned)
            object->release();
        trace->stop();
        trace->release();
        host->release();
        kvengine::CCActionManager::purgeInstance();
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }

    template <typename T> T* keep(T* object) {
        owned.push_back(object);
        return object;
    }
    KVPawn* pawnAt(float x, float y, bool enemy, bool crab = false) {
        KVPawn* pawn = crab ? new KVCrab() : new KVPawn();
        pawn->setEnemy(enemy);
        pawn->positionX = x;
        pawn->positionY = y;
        return keep(pawn);
    }
    KVHitV* hitView(KVHit* hit) {
        auto* view = keep(new KVHitV());
        EXPECT_TRUE(view->initWithActor(hit, host));
        return view;
    }
    KVPuffV* puffView(KVPuff* puff) {
        auto* view = keep(new KVPuffV());
        EXPECT_TRUE(view->initWithActor(puff, host));
        return view;
    }
    /// Steps the actions by whole frames for about `seconds`.
    static void run(float seconds) {
        for (float t = 0.0f; t < seconds; t += kFrame)
            kvengine::CCActionManager::getInstance()->update(kFrame);
    }
    static std::string shownFrame(KVActorV* view) {
        auto* sprite = static_cast<kvengine::CCSprite*>(view->getSprite());
        for (const char* name : shownCandidates())
            if (sprite->isFrameDisplayed(CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name)))
                return name;
        return "?";
    }
    static std::vector<const char*> shownCandidates() {
        return {"combo_hit_01.png",  "hit_enemy_04.png",  "hit_kelvo_04.png",
                "hit_heal_04.png",   "puff_kelvo_01.png", "puff_kelvo_03.png",
                "puff_kelvo_06.png", "puff_enemy_03.png", "puff_enemy_06.png"};
    }

    FakeHost* host = nullptr;
    Trace* trace = nullptr;
    std::vector<kvengine::CCObject*> owned;
};

TEST_F(KVEffectViewTest, AHitFlashesTheFramesOfItsKindAndSideThenLeaves) {
    struct Case {
        bool enemy;
        int kind;
        const char* lastFrame;
        float seconds; // length of the flash
    } cases[] = {
        {false, KVHit::Damage, "hit_enemy_04.png", 0.28f},
        {true, KVHit::Damage, "hit_kelvo_04.png", 0.28f},
        {false, KVHit::Healing, "hit_heal_04.png", 0.52f},
        {true, KVHit::Healing, "hit_heal_04.png", 0.52f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.enemy ? "enemy" : "player") + " kind " + std::to_string(c.kind));
        KVPawn* pawn = pawnAt(2.0f, 3.0f, c.enemy);
        KVHit* hit = keep(KVHit::create(pawn, c.kind));
        hit->retain();
        KVHitV* view = hitView(hit);
        EXPECT_NEAR(view->getFlash()->getDuration(), c.seconds, 1e-4f);
        EXPECT_EQ(view->getSprite()->getParent(), host->sheet);
        EXPECT_FLOAT_EQ(view->getSprite()->getPosition().x, 64.0f);
        EXPECT_FLOAT_EQ(view->getSprite()->getPosition().y, 96.0f);

        run(c.seconds - 0.05f);
        EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", hit), 0) << "ended early";
        run(0.1f);
        EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", hit), 1);
        EXPECT_EQ(shownFrame(view), c.lastFrame);
        EXPECT_EQ(view->getSprite()->getParent(), nullptr);
        EXPECT_FALSE(view->isAttached());
    }
    EXPECT_EQ(host->removed.size(), 4u);
}

TEST_F(KVEffectViewTest, TwoHitsOnOnePawnFlashIndependentlyAndFollowItUntilItIsRemoved) {
    KVPawn* pawn = pawnAt(1.0f, 1.0f, true);
    KVHit* first = keep(KVHit::create(pawn, KVHit::Damage));
    first->retain();
    KVHit* second = keep(KVHit::create(pawn, KVHit::Damage));
    second->retain();
    KVHitV* a = hitView(first);
    KVHitV* b = hitView(second);
    EXPECT_NE(a->getSprite(), b->getSprite());

    pawn->positionX = 2.0f;
    a->update(kFrame);
    b->update(kFrame);
    EXPECT_FLOAT_EQ(a->getSprite()->getPosition().x, 64.0f);
    EXPECT_FLOAT_EQ(b->getSprite()->getPosition().x, 64.0f);

    // The pawn leaves: both flashes stay where it was last seen, whatever its fields say later.
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, pawn);
    EXPECT_EQ(first->getPawn(), nullptr);
    pawn->positionX = 9.0f;
    a->update(kFrame);
    EXPECT_FLOAT_EQ(a->getSprite()->getPosition().x, 64.0f);

    run(0.35f);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", first), 1);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", second), 1);
}

TEST_F(KVEffectViewTest, APuffIsSizedAndPlacedByItsPawn) {
    struct Case {
        const char* what;
        bool enemy;
        bool crab;
        float scale;
        float x; // points, pawn at (2, 3) m
        float y;
        bool creature;
    } cases[] = {
        {"kelvo", false, false, 1.5f, 64.0f + 25.0f, 96.0f - 10.0f, true},
        {"crab", true, true, 2.0f, 64.0f, 96.0f, false},
        {"shrimp", true, false, 1.3f, 64.0f, 96.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KVPawn* pawn = pawnAt(2.0f, 3.0f, c.enemy, c.crab);
        KVPuff* puff = keep(KVPuff::create(pawn));
        puff->retain();
        KVPuffV* view = puffView(puff);
        EXPECT_FLOAT_EQ(view->getSprite()->getScale(), c.scale);
        EXPECT_EQ(view->isCreature(), c.creature);
        EXPECT_EQ(view->getSprite()->getParent(), nullptr) << "hidden until the puff begins";
        CCNotificationCenter::getInstance()->postNotification(EVENT_BEGIN_PUFF, pawn);
        EXPECT_EQ(view->getSprite()->getParent(), host->sheet);
        EXPECT_FLOAT_EQ(view->getSprite()->getPosition().x, c.x);
        EXPECT_FLOAT_EQ(view->getSprite()->getPosition().y, c.y);
        run(0.7f);
        EXPECT_EQ(shownFrame(view), c.creature ? "puff_kelvo_06.png" : "puff_enemy_06.png");
        EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", puff), 1);
    }
}

TEST_F(KVEffectViewTest, APuffWaitsForItsOwnPawnThenPostsTheMiddleAndTheEndInTime) {
    KVPawn* pawn = pawnAt(1.0f, 1.0f, true, true);
    KVPawn* other = pawnAt(4.0f, 1.0f, true, true);
    KVPuff* puff = keep(KVPuff::create(pawn));
    puff->retain();
    KVPuffV* view = puffView(puff);

    CCNotificationCenter::getInstance()->postNotification(EVENT_BEGIN_PUFF, other);
    EXPECT_EQ(view->getSprite()->getParent(), nullptr);
    run(1.0f);
    EXPECT_EQ(trace->count("EVENT_MIDDLE_PUFF", pawn), 0);

    CCNotificationCenter::getInstance()->postNotification(EVENT_BEGIN_PUFF, pawn);
    run(0.25f);
    EXPECT_EQ(trace->count("EVENT_MIDDLE_PUFF", pawn), 0);
    EXPECT_EQ(shownFrame(view), "puff_enemy_03.png");
    run(0.1f);
    EXPECT_EQ(trace->count("EVENT_MIDDLE_PUFF", pawn), 1);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", puff), 0);

    // The pawn is removed on the middle; the second half finishes where it was last seen.
    pawn->positionX = 3.0f;
    view->update(kFrame);
    CCNotificationCenter::getInstance()->postNotification(EVENT_REMOVE_ACTOR, pawn);
    pawn->positionX = 30.0f;
    view->update(kFrame);
    EXPECT_FLOAT_EQ(view->getSprite()->getPosition().x, 96.0f);
    run(0.35f);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", puff), 1);
    EXPECT_EQ(trace->count("EVENT_MIDDLE_PUFF", pawn), 1);
    EXPECT_EQ(host->removed, std::vector<KVActorV*>{view});
}

TEST_F(KVEffectViewTest, WithoutASheetTheEffectsEndAtOnceWithALogLine) {
    host->withSheet = false;
    std::vector<std::string> log;
    kvengine::setDebugLogSink([&log](const std::string& line) { log.push_back(line); });
    KVPawn* pawn = pawnAt(1.0f, 1.0f, false);
    KVHit* hit = keep(KVHit::create(pawn, KVHit::Damage));
    hit->retain();
    KVHitV* hitV = hitView(hit);
    hitV->update(kFrame);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", hit), 1);

    KVPuff* puff = keep(KVPuff::create(pawn));
    puff->retain();
    puffView(puff);
    CCNotificationCenter::getInstance()->postNotification(EVENT_BEGIN_PUFF, pawn);
    EXPECT_EQ(trace->count("EVENT_MIDDLE_PUFF", pawn), 1);
    EXPECT_EQ(trace->count("EVENT_REMOVE_ACTOR", puff), 1);
    kvengine::setDebugLogSink({});
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.front().find("top_sfx_51_ss"), std::string::npos);
}

TEST_F(KVEffectViewTest, BadModelsAndPawnsAreRefused) {
    std::vector<std::string> log;
    kvengine::setDebugLogSink([&log](const std::string& line) { log.push_back(line); });
    EXPECT_EQ(KVHit::create(nullptr, KVHit::Damage), nullptr);
    EXPECT_EQ(KVPuff::create(nullptr), nullptr);
    KVPawn* pawn = pawnAt(1.0f, 1.0f, false);
    auto* hitV = keep(new KVHitV());
    auto* puffV = keep(new KVPuffV());
    EXPECT_FALSE(hitV->initWithActor(nullptr, host));
    EXPECT_FALSE(hitV->initWithActor(pawn, host));
    EXPECT_FALSE(puffV->initWithActor(pawn, host));
    EXPECT_FALSE(puffV->initWithActor(nullptr, host));
    kvengine::setDebugLogSink({});
    EXPECT_GE(log.size(), 6u);
}

} // namespace
