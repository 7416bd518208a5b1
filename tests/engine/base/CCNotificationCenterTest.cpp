#include <gtest/gtest.h>

#include <functional>

#include "Probe.h"
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCNotificationCenter.h"

using namespace kvengine;

namespace {

// An observer that journals every call and can run a scripted reaction inside it.
class Listener : public CCObject {
public:
    Listener(std::vector<std::string>* journal, std::string name)
        : m_journal(journal), m_name(std::move(name)) {}
    void onEvent(CCNotification* n) {
        m_journal->push_back(m_name + ":" + n->getName()->text);
        if (reaction) reaction(n);
    }
    void onSecond(CCNotification* n) { m_journal->push_back(m_name + "2:" + n->getName()->text); }
    std::function<void(CCNotification*)> reaction;

private:
    std::vector<std::string>* m_journal;
    std::string m_name;
};

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        CCAutoreleasePoolStack::getInstance().push();
        center = CCNotificationCenter::getInstance();
        for (const char* n : {"A", "B", "C"})
            listeners.push_back(new Listener(&journal, n));
    }
    void TearDown() override {
        for (Listener* l : listeners) {
            center->removeObserver(l);
            l->release();
        }
        name->release();
        other->release();
        CCNotificationCenter::purgeInstance();
        CCAutoreleasePoolStack::getInstance().pop();
    }
    void add(Listener* l, CCObject* filter = nullptr, CCString* on = nullptr) {
        center->addObserver(l, notification_selector(Listener::onEvent), on ? on : name, filter);
    }
    Listener* A() { return listeners[0]; }
    Listener* B() { return listeners[1]; }
    Listener* C() { return listeners[2]; }
    using Journal = std::vector<std::string>;

    CCNotificationCenter* center = nullptr;
    CCString* name = new CCString("EVENT_TEST");
    CCString* other = new CCString("EVENT_OTHER");
    std::vector<Listener*> listeners;
    Journal journal;
};

} // namespace

TEST_F(NotificationCenterTest, DeliversInRegistrationOrderAndGroupsSelectorsByObserver) {
    add(A());
    add(B());
    add(C());
    center->addObserver(A(), notification_selector(Listener::onSecond), name, nullptr);
    // A post with another string of the same text reaches the same observers.
    CCString sameText("EVENT_TEST");
    center->postNotification(&sameText);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST", "A2:EVENT_TEST", "B:EVENT_TEST", "C:EVENT_TEST"}));
    EXPECT_EQ(sameText.retainCount(), 1u);
}

TEST_F(NotificationCenterTest, FiltersSelectByPostedObject) {
    CCObject x, y;
    add(A(), &x);
    add(B());
    center->postNotification(name, &x);
    center->postNotification(name, &y);
    center->postNotification(name, nullptr);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST", "B:EVENT_TEST", "B:EVENT_TEST", "B:EVENT_TEST"}));
    // Re-adding with a null filter widens the filtered registration instead of adding one.
    journal.clear();
    add(A());
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 2u);
    center->postNotification(name, &y);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST", "B:EVENT_TEST"}));
}

TEST_F(NotificationCenterTest, ObserverAddedDuringADeliveryGetsThatDelivery) {
    add(A());
    A()->reaction = [this](CCNotification*) {
        A()->reaction = nullptr;
        add(B());
    };
    center->postNotification(name);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST", "B:EVENT_TEST"}));
}

TEST_F(NotificationCenterTest, RemovalDuringADeliveryStopsLaterCallsAndErasesAfterTheOutermostPost) {
    add(A());
    add(B());
    add(C());
    // A removes itself (all names) and C (by name); B posts a nested notification.
    A()->reaction = [this](CCNotification*) {
        center->removeObserver(A());
        center->removeObserver(C(), name);
    };
    center->addObserver(B(), notification_selector(Listener::onSecond), other, nullptr);
    B()->reaction = [this](CCNotification*) {
        center->postNotification(other);
        // The nested post did not flush: the marked registrations are still held.
        EXPECT_EQ(center->registrationCount("EVENT_TEST"), 3u);
    };
    center->postNotification(name);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST", "B:EVENT_TEST", "B2:EVENT_OTHER"}));
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 3u);
    center->flushPendingRemovals();
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 1u);
    EXPECT_FALSE(center->isObserverKnown(A()));
    EXPECT_FALSE(center->isObserverKnown(C()));
}

TEST_F(NotificationCenterTest, RemovalByNameStopsEveryEntryUnderThatName) {
    CCObject x;
    add(A());
    add(A(), &x);
    center->addObserver(A(), notification_selector(Listener::onSecond), name, nullptr);
    add(A(), nullptr, other);
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 3u);
    center->removeObserver(A(), name);
    center->postNotification(name, &x);
    center->postNotification(other);
    EXPECT_EQ(journal, (Journal{"A:EVENT_OTHER"}));
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 0u);
    EXPECT_TRUE(center->isObserverKnown(A()));
    center->removeObserver(A(), other);
    center->flushPendingRemovals();
    EXPECT_FALSE(center->isObserverKnown(A()));
}

TEST_F(NotificationCenterTest, ReAddingBeforeTheFlushRevives) {
    add(A());
    center->removeObserver(A());
    add(A());
    center->flushPendingRemovals();
    center->postNotification(name);
    EXPECT_EQ(journal, (Journal{"A:EVENT_TEST"}));
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 1u);
}

TEST_F(NotificationCenterTest, PostedObjectsAreHeldDuringTheDeliveryAndReleasedAfter) {
    std::vector<std::string> events;
    auto* payload = new Probe(&events, "payload");
    add(A());
    A()->reaction = [&](CCNotification* n) {
        EXPECT_EQ(n->getObject(), payload);
        payload->release(); // the poster's reference goes; the notification still holds one
        EXPECT_TRUE(events.empty());
    };
    center->postNotification(name, payload);
    EXPECT_EQ(events, (std::vector<std::string>{"cleanup payload", "~payload"}));
}

TEST_F(NotificationCenterTest, UnobservedNamesAndBadArgumentsDoNothing) {
    LogCapture log;
    std::vector<std::string> events;
    auto* payload = new Probe(&events, "payload");
    center->postNotification(other, payload);
    EXPECT_EQ(payload->retainCount(), 1u); // no notification was made
    payload->release();
    center->postNotification(nullptr);
    center->addObserver(nullptr, notification_selector(Listener::onEvent), name, nullptr);
    center->addObserver(A(), nullptr, name, nullptr);
    center->addObserver(A(), notification_selector(Listener::onEvent), nullptr, nullptr);
    center->removeObserver(B(), name); // never registered
    center->flushPendingRemovals();
    EXPECT_EQ(log.lines.size(), 4u);
    EXPECT_FALSE(center->isObserverKnown(A()));
}

TEST_F(NotificationCenterTest, AnObserverDestroyedWithoutUnregisteringIsNeverCalled) {
    auto* forgetful = new Listener(&journal, "F");
    add(forgetful);
    add(A());
    A()->reaction = [&](CCNotification*) {
        if (forgetful != nullptr) {
            // Destroyed in the middle of a delivery that has not reached it yet.
            forgetful->release();
            forgetful = nullptr;
        }
    };
    center->postNotification(name);
    center->postNotification(name);
    EXPECT_EQ(journal, (Journal{"F:EVENT_TEST", "A:EVENT_TEST", "A:EVENT_TEST"}));
    center->flushPendingRemovals();
    EXPECT_EQ(center->registrationCount("EVENT_TEST"), 1u);
}
