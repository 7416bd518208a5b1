#include <gtest/gtest.h>

#include "Probe.h"
#include "engine/base/CCArray.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCSet.h"

using namespace kvengine;

namespace {
class ArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePoolStack::getInstance().push();
        for (const char* name : {"a", "b", "c"})
            probes.push_back(new Probe(&journal, name));
    }
    void TearDown() override {
        for (Probe* p : probes)
            p->release();
        CCAutoreleasePoolStack::getInstance().pop();
    }
    std::vector<std::string> journal;
    std::vector<Probe*> probes;
};
} // namespace

TEST_F(ArrayTest, GrowsByDoublingAndKeepsOrderOnRemoval) {
    CCArray* array = CCArray::createWithCapacity(0);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->capacity(), 1u);
    EXPECT_EQ(array->lastObject(), nullptr);
    for (Probe* p : probes)
        array->addObject(p);
    EXPECT_EQ(array->capacity(), 4u);
    EXPECT_EQ(probes[1]->retainCount(), 2u);
    array->removeObjectAtIndex(1);
    EXPECT_EQ(probes[1]->retainCount(), 1u);
    EXPECT_EQ(array->objectAtIndex(1), probes[2]);
    EXPECT_EQ(array->lastObject(), probes[2]);
    EXPECT_EQ(array->indexOfObject(probes[1]), 0xFFFFFFFFu);
    array->removeObject(probes[1]); // absent: nothing released
    EXPECT_EQ(probes[1]->retainCount(), 1u);
    array->insertObjectAtIndex(probes[1], 1);
    EXPECT_EQ(array->objectAtIndex(1), probes[1]);
    EXPECT_TRUE(array->isKindOf("CCArray"));
    EXPECT_EQ(array->copy(), nullptr);
}

TEST_F(ArrayTest, DuplicatesAndReleaseOrder) {
    auto* array = new CCArray();
    ASSERT_TRUE(array->init());
    array->addObject(probes[0]);
    array->addObject(probes[0]);
    array->addObject(probes[1]);
    array->addObject(probes[2]);
    array->removeObject(probes[0]);
    EXPECT_EQ(array->indexOfObject(probes[0]), 0u);
    // Give the array the only references, then check the release order: last first.
    for (Probe* p : probes)
        p->release();
    probes.clear();
    array->removeAllObjects();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup c", "~c", "cleanup b", "~b", "cleanup a", "~a"}));
    array->release();
}

TEST_F(ArrayTest, BadIndexesAreLoggedAndIgnored) {
    LogCapture log;
    CCArray* array = CCArray::create();
    array->addObject(nullptr);
    array->addObject(probes[0]);
    EXPECT_EQ(array->objectAtIndex(5), nullptr);
    array->removeObjectAtIndex(5);
    array->insertObjectAtIndex(probes[1], 9); // clamped to the end
    EXPECT_EQ(array->count(), 2u);
    EXPECT_EQ(array->objectAtIndex(1), probes[1]);
    EXPECT_EQ(log.lines.size(), 3u);
}

TEST_F(ArrayTest, SetRetainsMembersOnceAndCopiesShareThem) {
    auto* set = new CCSet();
    set->addObject(probes[0]);
    set->addObject(probes[0]);
    set->addObject(probes[1]);
    EXPECT_EQ(set->count(), 2u);
    EXPECT_EQ(probes[0]->retainCount(), 2u);
    set->removeObject(probes[2]);
    EXPECT_EQ(probes[2]->retainCount(), 1u);
    CCSet* copy = set->copy();
    EXPECT_EQ(copy->retainCount(), 1u);
    EXPECT_EQ(probes[0]->retainCount(), 3u);
    copy->release();
    EXPECT_EQ(probes[0]->retainCount(), 2u);
    EXPECT_TRUE(set->containsObject(probes[1]));
    EXPECT_FALSE(set->isKindOf("CCSet"));
    set->release();
    EXPECT_EQ(probes[0]->retainCount(), 1u);
    EXPECT_EQ(probes[1]->retainCount(), 1u);
}
