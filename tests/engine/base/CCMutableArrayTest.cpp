#include <gtest/gtest.h>

#include "Probe.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCString.h"

using namespace kvengine;

namespace {
class MutableArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePoolStack::getInstance().push();
        for (const char* name : {"a", "b", "c"})
            objects.push_back(new CCString(name));
    }
    void TearDown() override {
        for (CCString* s : objects)
            s->release();
        CCAutoreleasePoolStack::getInstance().pop();
    }
    CCString* a() { return objects[0]; }
    CCString* b() { return objects[1]; }
    CCString* c() { return objects[2]; }
    std::vector<CCString*> objects;
};

// An element type with its own comparison, for the method sorts.
class Ranked : public CCObject {
public:
    explicit Ranked(int rank_) : rank(rank_) {}
    int compare(Ranked* other) { return rank < other->rank ? -1 : rank > other->rank ? 1 : 0; }
    int compareDescending(Ranked* other) { return -compare(other); }
    int rank;
};

int byText(CCString* x, CCString* y, void* context) {
    int sign = *static_cast<int*>(context);
    int order = x->text < y->text ? -1 : x->text > y->text ? 1 : 0;
    return order * sign;
}
} // namespace

TEST_F(MutableArrayTest, FreshArrayIsEmptyAndSearchesFail) {
    CCMutableArray<CCString*> array;
    EXPECT_EQ(array.count(), 0u);
    EXPECT_EQ(array.objectAtIndex(0), nullptr);
    EXPECT_EQ(array.indexOfObject(a()), 0xFFFFFFFFu);
    EXPECT_FALSE(array.containsObject(nullptr));
    array.addObject(nullptr);
    EXPECT_EQ(array.count(), 0u);
    array.removeObjectAtIndex(0); // no slots: silently nothing
    EXPECT_STREQ(array.className(), "CCMutableArray");
    EXPECT_TRUE(array.isKindOf("CCObject"));
}

TEST_F(MutableArrayTest, CapacityConstructorPrefillsNullSlotsThatAddFills) {
    CCMutableArray<CCString*> array(2);
    EXPECT_EQ(array.count(), 0u);
    array.addObject(a());
    array.addObject(b());
    array.addObject(c()); // no null slot left: appends
    EXPECT_EQ(array.count(), 3u);
    EXPECT_EQ(array.objectAtIndex(2), c());
}

TEST_F(MutableArrayTest, NullSlotEndsTheContentButScansSeeBeyond) {
    CCMutableArray<CCString*> array;
    array.addObject(a());
    array.addObject(b());
    array.addObject(c());
    array.replaceObjectAtIndex(nullptr, 1); // a, null, c
    EXPECT_EQ(b()->retainCount(), 1u);
    EXPECT_EQ(array.count(), 1u);
    EXPECT_EQ(array.objectAtIndex(2), nullptr);
    EXPECT_EQ(array.indexOfObject(c()), 2u);
    EXPECT_TRUE(array.containsObject(c()));
    array.addObject(b()); // fills the hole
    EXPECT_EQ(array.count(), 3u);
    EXPECT_EQ(array.objectAtIndex(1), b());
}

TEST_F(MutableArrayTest, RetainsWhatItHoldsAndReleasesWhatItDrops) {
    auto* array = new CCMutableArray<CCString*>();
    array->addObject(a());
    array->addObject(a());
    array->addObject(b());
    EXPECT_EQ(a()->retainCount(), 3u);
    array->removeObject(a()); // first occurrence only
    EXPECT_EQ(a()->retainCount(), 2u);
    EXPECT_EQ(array->indexOfObject(a()), 0u);
    array->removeObject(a(), false); // taken out without release
    EXPECT_EQ(a()->retainCount(), 2u);
    a()->release();
    array->replaceObjectAtIndex(b(), 0); // by itself: stays alive, count unchanged
    EXPECT_EQ(b()->retainCount(), 2u);
    array->release();
    EXPECT_EQ(b()->retainCount(), 1u);
}

TEST_F(MutableArrayTest, BadIndexesAreLoggedAndIgnored) {
    LogCapture log;
    CCMutableArray<CCString*> array;
    array.addObject(a());
    array.addObject(b());
    array.addObject(c());
    array.removeObjectAtIndex(3);
    array.replaceObjectAtIndex(a(), 7);
    EXPECT_EQ(array.count(), 3u);
    EXPECT_EQ(log.lines.size(), 2u);
    // An insert past the count lands at the end instead of behind hidden null slots.
    CCMutableArray<CCString*> fresh;
    fresh.insertObjectAtIndex(a(), 2);
    EXPECT_EQ(fresh.count(), 1u);
    EXPECT_EQ(fresh.objectAtIndex(0), a());
    fresh.insertObjectAtIndex(b(), 0);
    fresh.insertObjectAtIndex(c(), 1);
    EXPECT_EQ(fresh.objectAtIndex(0), b());
    EXPECT_EQ(fresh.objectAtIndex(1), c());
    EXPECT_EQ(fresh.objectAtIndex(2), a());
}

TEST_F(MutableArrayTest, CopySharesElementsWithAnExtraReference) {
    CCMutableArray<CCString*> array;
    array.addObject(a());
    array.addObject(b());
    CCMutableArray<CCString*>* copy = array.copy();
    EXPECT_EQ(copy->retainCount(), 1u);
    EXPECT_EQ(copy->count(), 2u);
    EXPECT_EQ(a()->retainCount(), 3u);
    copy->release();
    EXPECT_EQ(a()->retainCount(), 2u);

    auto* empty = CCMutableArray<CCString*>::createWithArray(nullptr);
    EXPECT_EQ(empty->count(), 0u);
    EXPECT_TRUE(empty->isManaged());
    auto* listed = CCMutableArray<CCString*>::createWithObjects(a(), b(), c(), nullptr);
    EXPECT_EQ(listed->count(), 3u);
    EXPECT_EQ(listed->objectAtIndex(2), c());
}

TEST_F(MutableArrayTest, SortIsStableAndDropsNullSlots) {
    CCMutableArray<CCString*> array(1);
    auto* b2 = new CCString("b");
    array.replaceObjectAtIndex(b(), 0);
    array.addObject(c());
    array.addObject(b2);
    array.addObject(a());
    array.insertObjectAtIndex(a(), 0);
    array.replaceObjectAtIndex(nullptr, 0); // null, b, c, b2, a
    int ascending = 1;
    array.sortWithFunction(byText, &ascending);
    ASSERT_EQ(array.count(), 4u);
    EXPECT_EQ(array.objectAtIndex(0), a());
    EXPECT_EQ(array.objectAtIndex(1), b()); // equal texts keep their order
    EXPECT_EQ(array.objectAtIndex(2), b2);
    EXPECT_EQ(array.objectAtIndex(3), c());
    int descending = -1;
    array.sortWithFunction(byText, &descending);
    EXPECT_EQ(array.objectAtIndex(0), c());
    EXPECT_EQ(array.objectAtIndex(1), b());
    b2->release();
}

TEST(CCMutableArrayMethodSortTest, SortsByTheElementsOwnComparison) {
    CCMutableArray<Ranked*> array;
    for (int rank : {3, 1, 2}) {
        auto* item = new Ranked(rank);
        array.addObject(item);
        item->release();
    }
    array.sortWithMethod();
    EXPECT_EQ(array.objectAtIndex(0)->rank, 1);
    EXPECT_EQ(array.objectAtIndex(2)->rank, 3);
    array.sortWithMethod(&Ranked::compareDescending);
    EXPECT_EQ(array.objectAtIndex(0)->rank, 3);
    EXPECT_EQ(array.objectAtIndex(2)->rank, 1);
}
