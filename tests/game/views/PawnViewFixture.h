#pragma once

// Shared pieces of the pawn-view tests: texture-less frames named like the pawn and effect
// sheets, animation counts and texts written into the test resource tree, a layer stand-in with
// named sheets that makes the views of announced puffs, and a fixture with a real physics world.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/actions/CCActionManager.h"
#include "engine/base/CCLocalizationManager.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCSprite.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/data/GameDataFixture.h"
#include "game/pawns/KVCrab.h"
#include "game/pawns/KVCrustacean.h"
#include "game/pawns/KVCrustaceanV.h"
#include "game/pawns/PawnTestSupport.h"
#include "game/views/KVPuff.h"
#include "game/views/KVPuffV.h"
#include "game/views/KVViewText.h"
#include "game/world/KVPhysWorld.h"

namespace viewtest {

constexpr float kFrame = 1.0f / 60.0f;

/// Frame counts of the test animation sets.
inline const char* animSettings() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>crab</key><dict><key>idle</key><string>6</string><key>throw</key><string>4</string><key>hit</key><string>4</string>
<key>ko</key><string>6</string><key>victory</key><string>6</string><key>impulse</key><string>4</string>
<key>aoe</key><string>4</string></dict>
<key>hermit</key><dict><key>idle</key><string>6</string><key>throw</key><string>4</string><key>hit</key><string>4</string>
<key>ko</key><string>6</string><key>victory</key><string>6</string><key>impulse</key><string>4</string>
<key>aoe</key><string>4</string><key>attack_begin</key><string>3</string><key>attack_end</key><string>2</string></dict>
<key>crustacean</key><dict><key>idle</key><string>6</string><key>throw</key><string>4</string><key>hit</key><string>4</string>
<key>ko</key><string>6</string><key>impulse</key><string>4</string><key>aoe</key><string>4</string></dict>
<key>kelvo</key><dict><key>idle</key><string>6</string><key>stretch</key><string>8</string>
<key>stretch_idle</key><string>4</string><key>stretch_release</key><string>5</string><key>launched</key><string>4</string>
<key>hit</key><string>4</string><key>hit_healed</key><string>4</string><key>wait</key><string>8</string>
<key>victory</key><string>8</string><key>ko</key><string>6</string><key>fall</key><string>6</string>
<key>anchor</key><string>4</string><key>aoe_start</key><string>32</string><key>aoe_end</key><string>2</string>
<key>shoot_start</key><string>2</string><key>shoot_middle</key><string>2</string><key>shoot_end</key><string>2</string></dict>
</dict></plist>
)";
}

/// Computer stats: "crab" has every frame and an area attack; "hermit" shoots; "bare" (class
/// KVCrustacean) has only idle, throw and hit frames.
inline const char* aiStats() {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>crab</key><dict><key>HP</key><string>100</string><key>SP</key><string>100</string><key>Radius</key><string>16</string>
<key>Move Power</key><string>20</string><key>Weight Density</key><string>1</string><key>DMG Melee</key><string>10</string>
<key>hasAOEAttack</key><string>YES</string><key>sprite_name</key><string>crab</string>
<key>spritesheet_name</key><string>crab_ss</string><key>Voice</key><string>Crab</string></dict>
<key>hermit</key><dict><key>HP</key><string>100</string><key>SP</key><string>100</string><key>Radius</key><string>16</string>
<key>Move Power</key><string>20</string><key>Weight Density</key><string>1</string>
<key>hasDistanceAttack</key><string>YES</string><key>sprite_name</key><string>hermit</string>
<key>spritesheet_name</key><string>hermit_ss</string></dict>
<key>bare</key><dict><key>HP</key><string>100</string><key>SP</key><string>100</string><key>Radius</key><string>16</string>
<key>Move Power</key><string>20</string><key>Weight Density</key><string>1</string>
<key>sprite_name</key><string>bare</string><key>spritesheet_name</key><string>bare_ss</string></dict>
<key>ghost</key><dict><key>HP</key><string>100</string><key>Radius</key><string>16</string>
<key>sprite_name</key><string>ghost</string><key>spritesheet_name</key><string>crab_ss</string></dict>
</dict></plist>
)";
}

/// English texts of the views, as the content tables hold them.
inline std::u16string englishTexts() {
    return u"\xFEFF\"On touched pawn\" = \"%d/%d HP\";\n\"Injured pawn\" = \"-%d\";\n"
           u"\"Healed pawn\" = \"+%d (%d/%d)\";\n";
}

/// Texture-less frames, each at its own place so the shown frame tells which one it is.
class FrameSet {
public:
    void add(const std::string& name) {
        m_frames += "<key>" + name + "</key><dict><key>frame</key><string>{{" + std::to_string(m_x) +
                    ",0},{8,6}}</string><key>offset</key><string>{0,0}</string>"
                    "<key>sourceSize</key><string>{8,6}</string></dict>";
        m_x += 8;
    }
    void addNumbered(const std::string& stem, int first, int last) {
        char name[96];
        for (int i = first; i <= last; ++i) {
            std::snprintf(name, sizeof name, "%s_%.2d.png", stem.c_str(), i);
            add(name);
        }
    }
    bool load() const {
        const std::string text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
            "version=\"1.0\"><dict><key>frames</key><dict>" +
            m_frames +
            "</dict><key>metadata</key><dict><key>format</key><integer>1</integer></dict>"
            "</dict></plist>\n";
        auto* parsed =
            kvengine::dictionaryWithContentsOfData(text.data(), static_cast<unsigned>(text.size()));
        if (parsed == nullptr) return false;
        kvengine::CCSpriteFrameCache::getInstance()->addSpriteFramesWithDictionary(parsed, nullptr);
        return true;
    }

private:
    std::string m_frames;
    int m_x = 0;
};

inline void addSharedFrames(FrameSet& frames) {
    for (const char* name : {"PlayingChar_CircleGrey.png", "PlayingChar_Circle.png", "PlayingChar_Bubble.png",
                             "target_enemy.png", "HP_GaugeSmall_GreenFill.png", "HP_GaugeSmall_RedFill.png",
                             "HP_GaugeSmall_Stroke.png", "KV_DommageBulleBlanche1.png",
                             "KV_DommageBulleBlanche2.png", "Kv_EncartHP_bleu.png", "Kv_EncartHP_Vert.png",
                             "combo_hit_01.png", "spikyshell.png", "NinjaLog.png"})
        frames.add(name);
    frames.addNumbered("spawn_pawn", 1, 13);
    frames.addNumbered("puff_enemy", 1, 6);
    frames.addNumbered("puff_kelvo", 1, 6);
    frames.addNumbered("puff_dirt", 1, 6);
}

inline void addCrustaceanFrames(FrameSet& frames, const std::string& sprite, bool full, int attack) {
    frames.addNumbered(sprite + "_idle", 1, 6);
    frames.addNumbered(sprite + "_throw", 1, 4);
    frames.addNumbered(sprite + "_hit", 1, 4);
    if (!full) return;
    frames.addNumbered(sprite + "_ko", 1, 6);
    frames.addNumbered(sprite + "_victory", 1, 6);
    frames.addNumbered(sprite + "_impulse", 1, 4);
    frames.addNumbered(sprite + "_attack", 1, attack);
}

/// The gameplay layer as the views see it: a running node with named sheets (each a running
/// child node); it keeps the views of the puffs that announce themselves and lists the views
/// that asked to leave.
class TestLayer : public kvengine::CCNode, public KVActorViewHost {
public:
    CC_DECLARE_CLASS_NAME(TestLayer, kvengine::CCNode)

    static TestLayer* make() {
        auto* layer = new TestLayer();
        for (const char* name : {"low_sfx_88_ss", "top_sfx_51_ss", "low_sfx_51_ss", "crab_ss", "hermit_ss",
                                 "bare_ss", "steev_ss", "straw_hat_ss"}) {
            kvengine::CCNode* sheet = kvengine::CCNode::create();
            layer->addChild(sheet);
            layer->sheets[name] = sheet;
        }
        layer->onEnter();
        kvengine::CCNotificationCenter::getInstance()->addObserver(
            layer, notification_selector(TestLayer::onNewActor), EVENT_NEW_ACTOR);
        return layer;
    }
    void close() {
        kvengine::CCNotificationCenter::getInstance()->removeObserver(this);
        for (KVActorV* view : puffViews)
            view->release();
        for (KVActor* puff : puffs)
            puff->release();
        puffViews.clear();
        puffs.clear();
        onExit();
    }

    kvengine::CCObject* viewHostObject() override { return this; }
    void removeActorView(KVActorV* view) override { removed.push_back(view); }
    kvengine::CCNode* viewSheet(const std::string& name) override {
        auto found = sheets.find(name);
        return found != sheets.end() ? found->second : nullptr;
    }
    bool showsPawnSpawnEffect() override { return spawnEffect; }
    bool isCameraZoomedOutManually() override { return zoomedOut; }

    void onNewActor(kvengine::CCNotification* notification) {
        auto* puff = dynamic_cast<KVPuff*>(notification->getObject());
        if (puff == nullptr) return;
        puff->retain();
        puffs.push_back(puff);
        auto* view = new KVPuffV();
        EXPECT_TRUE(view->initWithActor(puff, this));
        puffViews.push_back(view);
    }
    void updatePuffs(float dt) {
        for (KVActorV* view : puffViews)
            view->update(dt);
    }

    std::map<std::string, kvengine::CCNode*> sheets;
    std::vector<KVActorV*> removed;
    std::vector<KVActor*> puffs;
    std::vector<KVActorV*> puffViews;
    bool spawnEffect = false;
    bool zoomedOut = false;
};

class PawnViewTest : public kvtest::GameDataTest {
protected:
    void SetUp() override {
        GameDataTest::SetUp();
        kvtest::replaceDataFile("animSettings.plist", animSettings());
        kvtest::replaceDataFile("kelvoStatsAI.plist", aiStats());
        const std::u16string english = englishTexts();
        kvtest::writeScrambled(
            kvtest::gameDataPaths().resources + "/English.lproj/localizable.strings",
            std::string(reinterpret_cast<const char*>(english.data()), english.size() * 2));
        FrameSet frames;
        addSharedFrames(frames);
        addCrustaceanFrames(frames, "crab", true, 4);
        addCrustaceanFrames(frames, "hermit", true, 5);
        addCrustaceanFrames(frames, "bare", false, 0);
        addExtraFrames(frames);
        ASSERT_TRUE(frames.load());
        physics = KVPhysWorld::getInstance();
        physics->createWorld();
        physics->setFixedTimeStep(true);
        KVPawnManager::getInstance();
        layer = TestLayer::make();
    }
    void TearDown() override {
        TearDownTraces();
        kvengine::CCNotificationCenter::getInstance()->postNotification(EVENT_GAME_SHUTDOWN);
        layer->close();
        for (KVPawnV* view : views)
            view->release();
        views.clear();
        for (KVPawn* pawn : pawns)
            pawn->release();
        pawns.clear();
        layer->release();
        physics->destroyWorld();
        physics->release();
        if (KVPawnManager* manager = KVPawnManager::existingInstance()) manager->release();
        kvengine::CCActionManager::purgeInstance();
        kvengine::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        GameDataTest::TearDown();
    }
    /// More frames for a test file's own sprite sets.
    virtual void addExtraFrames(FrameSet& frames) { (void)frames; }

    /// A computer pawn of class P with the test stats entry `entry`, at (x, y) metres.
    template <class P> P* enemy(const char* entry, float x = 3.0f, float y = 3.0f) {
        auto* pawn = new P();
        auto* name = new kvengine::CCString(entry);
        EXPECT_TRUE(pawn->initAt(x, y, nullptr, name));
        name->release();
        pawns.push_back(pawn);
        return pawn;
    }
    /// The view of class V bound to `pawn` on the test layer.
    template <class V> V* viewOf(KVPawn* pawn) {
        auto* view = new V();
        EXPECT_TRUE(view->initWithActor(pawn, layer));
        views.push_back(view);
        return view;
    }
    /// One frame as the game runs it: physics, pawns, then views and actions.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            physics->update(kFrame);
            for (KVPawn* pawn : pawns)
                if (!pawn->isRemoved()) pawn->update(kFrame);
            for (KVPawnV* view : views)
                if (view->isAttached()) view->update(kFrame);
            layer->updatePuffs(kFrame);
            kvengine::CCActionManager::getInstance()->update(kFrame);
            if (trace != nullptr) ++trace->frame;
        }
    }
    void seconds(float s) { step(static_cast<int>(s * 60.0f + 0.5f)); }
    static void post(kvengine::CCString* name, kvengine::CCObject* object = nullptr) {
        kvengine::CCNotificationCenter::getInstance()->postNotification(name, object);
    }
    static bool shows(kvengine::CCNode* node, const char* frame) {
        auto* sprite = dynamic_cast<kvengine::CCSprite*>(node);
        return sprite != nullptr &&
               sprite->isFrameDisplayed(
                   kvengine::CCSpriteFrameCache::getInstance()->findSpriteFrameByName(frame));
    }
    pawntest::Trace* makeTrace(std::initializer_list<kvengine::CCString*> names) {
        trace = new pawntest::Trace(names);
        traces.push_back(trace);
        return trace;
    }
    void TearDownTraces() {
        for (pawntest::Trace* each : traces)
            each->release();
        traces.clear();
        trace = nullptr;
    }

    KVPhysWorld* physics = nullptr;
    TestLayer* layer = nullptr;
    std::vector<KVPawn*> pawns;
    std::vector<KVPawnV*> views;
    pawntest::Trace* trace = nullptr;
    std::vector<pawntest::Trace*> traces;
};

} // namespace viewtest
