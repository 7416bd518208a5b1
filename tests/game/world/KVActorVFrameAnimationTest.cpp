#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WorldTestSupport.h"
#include "engine/actions/CCAnimate.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/files/CCPlistReader.h"
#include "engine/sprites/CCAnimation.h"
#include "engine/sprites/CCSpriteFrame.h"
#include "engine/sprites/CCSpriteFrameCache.h"
#include "game/world/KVActorV.h"

using kvengine::CCAnimate;
using kvengine::CCSpriteFrame;
using kvengine::CCSpriteFrameCache;
using worldtest::LogCapture;

namespace {

// A sheet of texture-less frames: the crab's idle frames 1, 3 and 12 (2 is missing), one frame
// with a three-digit index and one whose sprite name holds a '%'.
const char* const kSheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>frames</key><dict>"
    "<key>crab_idle_01.png</key><dict><key>frame</key><string>{{0,0},{4,4}}</string></dict>"
    "<key>crab_idle_03.png</key><dict><key>frame</key><string>{{4,0},{4,4}}</string></dict>"
    "<key>crab_idle_12.png</key><dict><key>frame</key><string>{{8,0},{4,4}}</string></dict>"
    "<key>crab_walk_123.png</key><dict><key>frame</key><string>{{12,0},{4,4}}</string></dict>"
    "<key>50%d_idle_01.png</key><dict><key>frame</key><string>{{0,4},{4,4}}</string></dict>"
    "</dict><key>metadata</key><dict><key>format</key><integer>1</integer></dict></dict></plist>\n";

class KVActorVFrameAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        const std::string sheet = kSheet;
        auto* parsed =
            kvengine::dictionaryWithContentsOfData(sheet.data(), static_cast<unsigned>(sheet.size()));
        ASSERT_NE(parsed, nullptr);
        CCSpriteFrameCache::getInstance()->addSpriteFramesWithDictionary(parsed, nullptr);
    }
    void TearDown() override {
        CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }
    static CCSpriteFrame* frame(const char* name) {
        return CCSpriteFrameCache::getInstance()->findSpriteFrameByName(name);
    }
    static std::vector<CCSpriteFrame*> framesOf(CCAnimate* animate) {
        std::vector<CCSpriteFrame*> frames;
        auto* list = animate->getAnimation()->getFrames();
        for (unsigned i = 0; i < list->count(); ++i)
            frames.push_back(list->objectAtIndex(i));
        return frames;
    }
};

TEST_F(KVActorVFrameAnimationTest, CollectsTheNamedFramesInOrderAndKeepsTheLastOneShown) {
    struct Case {
        const char* sprite;
        const char* anim;
        int first;
        int last;
        std::vector<const char*> frames;
    } cases[] = {
        {"crab", "idle", 1, 1, {"crab_idle_01.png"}},
        {"crab", "idle", 1, 3, {"crab_idle_01.png", "crab_idle_03.png"}}, // 02 is skipped
        {"crab", "idle", 3, 12, {"crab_idle_03.png", "crab_idle_12.png"}},
        {"crab", "walk", 123, 123, {"crab_walk_123.png"}},
        {"50%d", "idle", 1, 1, {"50%d_idle_01.png"}}, // the names are not a format
        {"crab", "idle", 3, 1, {}},                   // first > last: no frames
        {"squid", "idle", 1, 3, {}},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.sprite) + "_" + c.anim + " " + std::to_string(c.first) + ".." +
                                 std::to_string(c.last);
        CCAnimate* animate = KVActorV::createFrameAnimation(c.sprite, c.anim, c.first, c.last, 0.25f);
        ASSERT_NE(animate, nullptr) << what;
        EXPECT_FALSE(animate->isRestoreOriginalFrame()) << what;
        EXPECT_FLOAT_EQ(animate->getAnimation()->getDelay(), 0.25f) << what;
        EXPECT_NEAR(animate->getDuration(), 0.25f * c.frames.size(), 1e-6f) << what; // actions never last 0 s
        std::vector<CCSpriteFrame*> expected;
        for (const char* name : c.frames)
            expected.push_back(frame(name));
        EXPECT_EQ(framesOf(animate), expected) << what;
    }
}

TEST_F(KVActorVFrameAnimationTest, LogsEachMissingFrameByName) {
    LogCapture log;
    CCAnimate* animate = KVActorV::createFrameAnimation("crab", "idle", 1, 3, 0.1f);
    ASSERT_NE(animate, nullptr);
    EXPECT_TRUE(log.contains("crab_idle_02.png"));
    EXPECT_FALSE(log.contains("crab_idle_01.png"));
    EXPECT_FALSE(log.contains("crab_idle_03.png"));
}

} // namespace
