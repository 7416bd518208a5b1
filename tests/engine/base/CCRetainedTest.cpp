#include "engine/base/CCRetained.h"

#include "engine/base/CCAutoreleasePoolStack.h"

#include <gtest/gtest.h>

using namespace kvengine;

namespace {

// Counts its destruction, so a test sees a reference too many or too few.
class Counted : public CCObject {
public:
    explicit Counted(int* deaths = nullptr) : m_deaths(deaths) {}
    ~Counted() override {
        if (m_deaths) ++*m_deaths;
    }
    bool initWith(int newValue, bool accept) {
        value = newValue;
        return accept;
    }
    int value = 0;

private:
    int* m_deaths;
};

TEST(RetainedTest, HoldsOneReferenceAcrossAssignmentsAndReleasesItAtTheEnd) {
    int deaths = 0;
    auto* first = new Counted(&deaths);
    auto* second = new Counted(&deaths);
    {
        CCRetained<Counted> held;
        EXPECT_EQ(held.get(), nullptr);
        held = first;
        EXPECT_EQ(first->retainCount(), 2u);
        held = first; // the same object again: still one reference, never freed on the way
        EXPECT_EQ(first->retainCount(), 2u);
        held = second;
        EXPECT_EQ(first->retainCount(), 1u);
        EXPECT_EQ(second->retainCount(), 2u);
        EXPECT_EQ(held->retainCount(), 2u);
        Counted* plain = held; // reads as a pointer
        EXPECT_EQ(plain, second);
        held = nullptr;
        EXPECT_EQ(second->retainCount(), 1u);
        held = second;
    }
    EXPECT_EQ(second->retainCount(), 1u);
    EXPECT_EQ(deaths, 0);
    first->release();
    second->release();
    EXPECT_EQ(deaths, 2);
}

TEST(RetainedTest, AdoptTakesOverTheCreatorsReference) {
    int deaths = 0;
    {
        CCRetained<Counted> held;
        held.adopt(new Counted(&deaths));
        EXPECT_EQ(held->retainCount(), 1u);
        held.adopt(new Counted(&deaths)); // the first one goes
        EXPECT_EQ(deaths, 1);
    }
    EXPECT_EQ(deaths, 2);
}

TEST(RetainedTest, TakeHandsTheReferenceToTheCallerAndHoldsNothing) {
    int deaths = 0;
    Counted* taken = nullptr;
    {
        CCRetained<Counted> held;
        EXPECT_EQ(held.take(), nullptr);
        held.adopt(new Counted(&deaths));
        taken = held.take();
        EXPECT_EQ(held.get(), nullptr);
        EXPECT_EQ(taken->retainCount(), 1u);
    }
    EXPECT_EQ(deaths, 0); // the holder's end released nothing
    taken->release();
    EXPECT_EQ(deaths, 1);
}

// An object whose only owner is the held member, and whose release clears that member again
// (as a node whose last owner lets go while being replaced): no double release.
class ClearsHolder : public CCObject {
public:
    explicit ClearsHolder(CCRetained<CCObject>* holder) : m_holder(holder) {}
    ~ClearsHolder() override { m_holder->reset(); }

private:
    CCRetained<CCObject>* m_holder;
};

TEST(RetainedTest, ReplacingTheLastReferenceIsSafeWhenTheOldObjectTouchesTheHolder) {
    CCRetained<CCObject> holder;
    auto* old = new ClearsHolder(&holder);
    holder = old;
    old->release();
    auto* fresh = new CCObject();
    holder = fresh; // the old object dies here and resets the holder
    EXPECT_EQ(holder.get(), nullptr);
    EXPECT_EQ(fresh->retainCount(), 1u);
    fresh->release();
}

TEST(RetainedTest, CreateAutoreleasesWhatInitAcceptsAndDeletesWhatItRefuses) {
    CCAutoreleasePoolStack::getInstance().push();
    Counted* made = ccCreate<Counted>(&Counted::initWith, 7, true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->value, 7);
    EXPECT_EQ(made->retainCount(), 1u); // owned by the pool only
    made->retain();
    EXPECT_EQ(ccCreate<Counted>(&Counted::initWith, 8, false), nullptr);
    Counted* byLambda = ccCreate<Counted>([](Counted* c) { return c->initWith(9, true); });
    ASSERT_NE(byLambda, nullptr);
    EXPECT_EQ(byLambda->value, 9);
    CCAutoreleasePoolStack::getInstance().pop();
    EXPECT_EQ(made->retainCount(), 1u); // the pool let its reference go
    made->release();
}

} // namespace
