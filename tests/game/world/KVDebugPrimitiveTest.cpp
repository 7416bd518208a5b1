#include <gtest/gtest.h>

#include <cmath>

#include "WorldTestSupport.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "game/app/KVGlobalNames.h"
#include "game/world/KVDebugPrimitive.h"

using worldtest::PostRecorder;

namespace {

class KVDebugPrimitiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvengine::CCAutoreleasePoolStack::getInstance().push();
        newActors = new PostRecorder(EVENT_NEW_ACTOR);
        removals = new PostRecorder(EVENT_REMOVE_ACTOR);
    }
    void TearDown() override {
        newActors->release();
        removals->release();
        kvengine::CCAutoreleasePoolStack::getInstance().pop();
    }
    PostRecorder* newActors = nullptr;
    PostRecorder* removals = nullptr;
};

TEST_F(KVDebugPrimitiveTest, SegmentAnnouncesItselfAndItsEndOnce) {
    KVDebugPrimitive* line = KVDebugPrimitive::createLine(5.0f, 1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_TRUE(line->isManaged());
    ASSERT_EQ(newActors->objects.size(), 1u);
    EXPECT_EQ(newActors->objects[0], line);
    EXPECT_EQ(line->kind, 1);
    EXPECT_EQ(line->x2, 3.0f);
    EXPECT_EQ(line->viewClassName(), "KVDebugPrimitiveV");

    int removalStep = -1;
    for (int step = 1; step <= 400; ++step) {
        line->update(1.0f / 60.0f);
        if (removalStep < 0 && !removals->objects.empty()) removalStep = step;
    }
    // Five seconds of sixtieths, give or take one step of float rounding.
    EXPECT_GE(removalStep, 299);
    EXPECT_LE(removalStep, 301);
    EXPECT_EQ(removals->objects.size(), 1u);
    EXPECT_TRUE(line->removed);
    EXPECT_EQ(line->lifetime, 0.0f);
}

TEST_F(KVDebugPrimitiveTest, LifetimeCases) {
    struct Case {
        float lifetime;
        size_t removalsAfterTenSeconds;
    };
    const Case cases[] = {{0.0f, 0u}, {-1.0f, 1u}, {0.01f, 1u}};
    for (const Case& c : cases) {
        removals->objects.clear();
        KVDebugPrimitive* line = c.lifetime == 0.0f ? KVDebugPrimitive::createPermanentLine(0, 0, 1, 1)
                                                    : KVDebugPrimitive::createLine(c.lifetime, 0, 0, 1, 1);
        line->update(1.0f / 60.0f);
        EXPECT_EQ(removals->objects.size(), c.removalsAfterTenSeconds) << c.lifetime; // first update
        for (int step = 0; step < 600; ++step)
            line->update(1.0f / 60.0f);
        EXPECT_EQ(removals->objects.size(), c.removalsAfterTenSeconds) << c.lifetime;
    }
}

TEST_F(KVDebugPrimitiveTest, PointListAndTypeTests) {
    auto* primitive = new KVDebugPrimitive();
    primitive->initPoints(nullptr, 3, 0.5f, 2.0f);
    EXPECT_EQ(primitive->kind, 0);
    EXPECT_EQ(primitive->pointCount, 3);
    EXPECT_EQ(primitive->pointListValue, 0.5f);
    EXPECT_EQ(newActors->objects.size(), 1u);
    EXPECT_STREQ(primitive->className(), "KVDebugPrimitive");
    for (const char* name : {"KVDebugPrimitive", "KVActor", "KVObject", "CCObject"})
        EXPECT_TRUE(primitive->isKindOf(name));
    EXPECT_FALSE(primitive->isKindOf("KVActorV"));
    worldtest::LogCapture log;
    primitive->update(NAN);
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(primitive->lifetime, 2.0f);
    primitive->release();
}

} // namespace
