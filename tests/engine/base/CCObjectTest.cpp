#include <gtest/gtest.h>

#include "Probe.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCObject.h"

using namespace kvengine;

namespace {

class Animal : public CCObject {
public:
    CC_DECLARE_CLASS_NAME(Animal, CCObject)
};
class Crab : public Animal {
public:
    CC_DECLARE_CLASS_NAME(Crab, Animal)
};
// Does not override the type slots: it answers with its base's name.
class SilentCrab : public Crab {};

// Every test runs inside its own pool so that drains see only its objects.
class AutoreleaseTest : public ::testing::Test {
protected:
    void SetUp() override { CCAutoreleasePoolStack::getInstance().push(); }
    void TearDown() override { CCAutoreleasePoolStack::getInstance().pop(); }
    void drain() { CCAutoreleasePoolStack::getInstance().getCurrentPool()->clear(); }
    std::vector<std::string> journal;
};

} // namespace

TEST(CCObjectTest, NewObjectsTakeConsecutiveIdsAndOneReference) {
    CCObject* a = new CCObject();
    CCObject* b = new CCObject();
    EXPECT_EQ(b->getObjectId(), a->getObjectId() + 1);
    EXPECT_EQ(a->retainCount(), 1u);
    EXPECT_FALSE(a->isManaged());
    EXPECT_TRUE(a->isEqual(a));
    EXPECT_FALSE(a->isEqual(b));
    a->release();
    b->release();
}

TEST(CCObjectTest, ReleaseCleansUpBeforeDestroyingOnlyAtZero) {
    std::vector<std::string> journal;
    auto* probe = new Probe(&journal, "p");
    probe->retain();
    probe->release();
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(probe->retainCount(), 1u);
    probe->release();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup p", "~p"}));
}

TEST(CCObjectTest, PlainObjectsCannotBeCopied) {
    CCObject* object = new CCObject();
    EXPECT_EQ(object->copy(), nullptr);
    object->release();
}

TEST(CCObjectTest, IsKindOfFollowsTheClassChain) {
    Crab crab;
    SilentCrab silent;
    CCObject plain;
    struct Case {
        const CCObject* object;
        const char* name;
        bool expected;
    } cases[] = {
        {&crab, "Crab", true},     {&crab, "Animal", true},        {&crab, "CCObject", true},
        {&crab, "crab", false},    {&crab, "Crabs", false},        {&crab, nullptr, false},
        {&silent, "Crab", true},   {&silent, "SilentCrab", false}, {&plain, "CCObject", true},
        {&plain, "Animal", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.object->isKindOf(c.name), c.expected)
            << c.object->className() << " / " << (c.name ? c.name : "null");
    EXPECT_STREQ(crab.className(), "Crab");
    EXPECT_STREQ(silent.className(), "Crab");
    EXPECT_STREQ(plain.className(), "CCObject");
}

TEST_F(AutoreleaseTest, AutoreleaseKeepsTheCountAndDrainReleasesInOrder) {
    auto* a = new Probe(&journal, "a");
    auto* b = new Probe(&journal, "b");
    auto* kept = new Probe(&journal, "kept");
    EXPECT_EQ(a->autorelease(), a);
    b->autorelease();
    kept->autorelease();
    kept->retain();
    EXPECT_EQ(a->retainCount(), 1u);
    EXPECT_TRUE(a->isManaged());
    drain();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup a", "~a", "cleanup b", "~b"}));
    EXPECT_EQ(kept->retainCount(), 1u);
    EXPECT_FALSE(kept->isManaged());
    kept->release();
}

TEST_F(AutoreleaseTest, TwiceListedObjectIsReleasedTwice) {
    auto* a = new Probe(&journal, "a");
    a->retain();
    a->autorelease();
    a->autorelease();
    EXPECT_EQ(CCAutoreleasePoolStack::getInstance().getCurrentPool()->count(), 2u);
    drain();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup a", "~a"}));
}

TEST_F(AutoreleaseTest, ObjectDestroyedWhileListedLeavesThePool) {
    auto* a = new Probe(&journal, "a");
    auto* b = new Probe(&journal, "b");
    a->retain();
    a->autorelease();
    b->autorelease();
    a->release();
    a->release(); // the caller gave one reference too many back: the pool forgets a
    auto* pool = CCAutoreleasePoolStack::getInstance().getCurrentPool();
    EXPECT_EQ(pool->count(), 1u);
    drain();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup a", "~a", "cleanup b", "~b"}));
}

TEST_F(AutoreleaseTest, ObjectsAutoreleasedByDestructorsDuringADrainGoInALaterPass) {
    auto* first = new Probe(&journal, "first");
    auto* second = new Probe(&journal, "second");
    first->onDestroy = [this] {
        auto* late = new Probe(&journal, "late");
        late->onDestroy = [this] { (new Probe(&journal, "later"))->autorelease(); };
        late->autorelease();
    };
    first->autorelease();
    second->autorelease();
    drain();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup first", "~first", "cleanup second", "~second",
                                                 "cleanup late", "~late", "cleanup later", "~later"}));
    EXPECT_EQ(CCAutoreleasePoolStack::getInstance().getCurrentPool()->count(), 0u);
}

TEST_F(AutoreleaseTest, PopDropsTheTopPoolButKeepsTheLast) {
    auto& stack = CCAutoreleasePoolStack::getInstance();
    CCAutoreleasePool* lower = stack.getCurrentPool();
    unsigned pools = stack.poolCount();
    stack.push();
    EXPECT_EQ(stack.poolCount(), pools + 1);
    EXPECT_NE(stack.getCurrentPool(), lower);
    (new Probe(&journal, "top"))->autorelease();
    stack.pop();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup top", "~top"}));
    EXPECT_EQ(stack.poolCount(), pools);
    EXPECT_EQ(stack.getCurrentPool(), lower);
}

TEST(CCAutoreleasePoolStackTest, PopWithTheLastPoolDrainsItAndKeepsIt) {
    auto& stack = CCAutoreleasePoolStack::getInstance();
    CCAutoreleasePool* bottom = stack.getCurrentPool();
    while (stack.poolCount() > 1) {
        stack.pop();
        bottom = stack.getCurrentPool();
    }
    std::vector<std::string> journal;
    (new Probe(&journal, "x"))->autorelease();
    stack.pop();
    EXPECT_EQ(journal, (std::vector<std::string>{"cleanup x", "~x"}));
    EXPECT_EQ(stack.poolCount(), 1u);
    EXPECT_EQ(stack.getCurrentPool(), bottom);
}
