#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "InputTestSupport.h"
#include "engine/base/CCMutableArray.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/input/CCTouchHandler.h"

using namespace kvengine;
using kvtest::TouchFixture;

namespace {

/// Writes every call it receives into a shared log: "T.b" for a targeted began,
/// "S.b1" for a standard set of one touch, "S.rb" for the recognizer forward.
class RecordingDelegate : public CCTouchDelegate {
public:
    RecordingDelegate(std::string name, std::vector<std::string>* log, bool claims)
        : name_(std::move(name)), log_(log), claims_(claims) {}

    bool touchBegan(CCTouch*, CCEvent*) override {
        write("b");
        if (onBegan) {
            onBegan();
        }
        return claims_;
    }
    void touchMoved(CCTouch*, CCEvent*) override { write("m"); }
    void touchEnded(CCTouch*, CCEvent*) override { write("e"); }
    void touchCancelled(CCTouch*, CCEvent*) override { write("c"); }
    void touchesBegan(CCSet* touches, CCEvent*) override {
        write("b" + std::to_string(touches->count()));
        if (onBegan) {
            onBegan();
        }
    }
    void touchesMoved(CCSet* touches, CCEvent*) override { write("m" + std::to_string(touches->count())); }
    void touchesEnded(CCSet* touches, CCEvent*) override { write("e" + std::to_string(touches->count())); }
    void touchesCancelled(CCSet* touches, CCEvent*) override {
        write("c" + std::to_string(touches->count()));
    }
    void forwardTouchesBeganToRecognizers(CCSet*, CCEvent*) override { write("rb"); }
    void forwardTouchesMovedToRecognizers(CCSet*, CCEvent*) override { write("rm"); }
    void forwardTouchesEndedToRecognizers(CCSet*, CCEvent*) override { write("re"); }
    void forwardTouchesCancelledToRecognizers(CCSet*, CCEvent*) override { write("rc"); }
    void retainOwner() override { ++ownerReferences; }
    void releaseOwner() override { --ownerReferences; }

    std::function<void()> onBegan;
    int ownerReferences = 0;

private:
    void write(const std::string& what) { log_->push_back(name_ + "." + what); }

    std::string name_;
    std::vector<std::string>* log_;
    bool claims_;
};

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : " ") + item;
    }
    return out;
}

class TouchDispatcherTest : public testing::Test {
protected:
    void SetUp() override {
        dispatcher = new CCTouchDispatcher();
        dispatcher->init();
    }
    void TearDown() override {
        dispatcher->release();
        CCAutoreleasePoolStack::getInstance().clearAllPools(); // handlers made during the test
    }

    RecordingDelegate* make(const std::string& name, bool claims = true) {
        delegates.emplace_back(name, &log, claims);
        return &delegates.back();
    }

    /// Press, move and release of one touch; the phases are separated by " | ".
    std::string pressMoveRelease() {
        log.clear();
        std::string out;
        dispatcher->touchesBegan(touch.at(10, 10), nullptr);
        out += joined(log) + " | ";
        log.clear();
        dispatcher->touchesMoved(touch.at(12, 10), nullptr);
        out += joined(log) + " | ";
        log.clear();
        dispatcher->touchesEnded(touch.at(12, 10), nullptr);
        out += joined(log);
        log.clear();
        return out;
    }

    std::vector<std::string> log;
    std::deque<RecordingDelegate> delegates;
    TouchFixture touch;
    CCTouchDispatcher* dispatcher = nullptr;
};

} // namespace

TEST_F(TouchDispatcherTest, OrderClaimingAndSwallowing) {
    struct Registration {
        const char* name;
        bool targeted;
        int priority;
        bool swallows;
        bool claims;
    };
    struct Case {
        const char* title;
        std::vector<Registration> registrations;
        const char* expected;
    };
    const Case cases[] = {
        {"targeted by ascending priority, newest first among equals",
         {{"A", true, 5, false, true}, {"B", true, -10, false, true}, {"C", true, 5, false, true}},
         "B.b C.b A.b | B.m C.m A.m | B.e C.e A.e"},
        {"standard delegates, newest first",
         {{"S1", false, 0, false, false}, {"S2", false, 0, false, false}},
         "S2.rb S1.rb S2.b1 S1.b1 | S2.rm S1.rm S2.m1 S1.m1 | S2.re S1.re S2.e1 S1.e1"},
        {"a swallowed touch reaches the recognizers but no standard delegate",
         {{"S", false, 0, false, false}, {"T", true, 0, true, true}},
         "S.rb T.b | S.rm T.m | S.re T.e"},
        {"claims without swallowing leave the touch to everyone",
         {{"S", false, 0, false, false}, {"T1", true, 0, false, true}, {"T2", true, 1, false, true}},
         "S.rb T1.b T2.b S.b1 | S.rm T1.m T2.m S.m1 | S.re T1.e T2.e S.e1"},
        {"targeted only: a swallowing claim still hides the touch",
         {{"T1", true, 0, true, true}, {"T2", true, 1, false, true}},
         "T1.b | T1.m | T1.e"},
        {"an unclaimed touch brings no later phases",
         {{"T1", true, 0, false, false}, {"T2", true, 1, false, true}},
         "T1.b T2.b | T2.m | T2.e"},
        {"a swallowing delegate that did not claim swallows nothing",
         {{"S", false, 0, false, false}, {"T1", true, 0, true, false}, {"T2", true, 1, false, true}},
         "S.rb T1.b T2.b S.b1 | S.rm T2.m S.m1 | S.re T2.e S.e1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        dispatcher->removeAllDelegates();
        for (const Registration& r : c.registrations) {
            RecordingDelegate* delegate = make(r.name, r.claims);
            if (r.targeted) {
                dispatcher->addTargetedDelegate(delegate, r.priority, r.swallows);
                EXPECT_EQ(delegate->getHandlerKind(), CCTouchDelegate::kTargeted);
            } else {
                dispatcher->addStandardDelegate(delegate);
                EXPECT_EQ(delegate->getHandlerKind(), CCTouchDelegate::kStandard);
            }
        }
        EXPECT_EQ(pressMoveRelease(), c.expected);
    }
}

TEST_F(TouchDispatcherTest, ChangesMadeDuringADispatchApplyWhenItEnds) {
    struct Case {
        const char* title;
        std::function<void(CCTouchDispatcher*, RecordingDelegate* self, RecordingDelegate* other)> action;
        bool otherRegisteredBefore;
        const char* sameDispatch;
        const char* nextPress;
    };
    const Case cases[] = {
        {"removing itself takes effect after the dispatch",
         [](CCTouchDispatcher* d, RecordingDelegate* self, RecordingDelegate*) { d->removeDelegate(self); },
         false, "X.b", " |  | "},
        {"an addition joins from the next dispatch",
         [](CCTouchDispatcher* d, RecordingDelegate*, RecordingDelegate* other) {
             d->addTargetedDelegate(other, 0, false);
         },
         false, "X.b", "Y.b X.b | Y.m X.m | Y.e X.e"},
        {"added then removed in one dispatch stays out",
         [](CCTouchDispatcher* d, RecordingDelegate*, RecordingDelegate* other) {
             d->addTargetedDelegate(other, 0, false);
             d->removeDelegate(other);
         },
         false, "X.b", "X.b | X.m | X.e"},
        {"removed then added again in one dispatch stays in",
         [](CCTouchDispatcher* d, RecordingDelegate*, RecordingDelegate* other) {
             d->removeDelegate(other);
             d->addTargetedDelegate(other, -1, false);
         },
         true, "Y.b X.b", "Y.b X.b | Y.m X.m | Y.e X.e"},
        {"remove-all then an addition keeps only the addition",
         [](CCTouchDispatcher* d, RecordingDelegate*, RecordingDelegate* other) {
             d->removeAllDelegates();
             d->addTargetedDelegate(other, 0, false);
         },
         false, "X.b", "Y.b | Y.m | Y.e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        dispatcher->removeAllDelegates();
        RecordingDelegate* self = make("X");
        RecordingDelegate* other = make("Y");
        dispatcher->addTargetedDelegate(self, 0, false);
        if (c.otherRegisteredBefore) {
            dispatcher->addTargetedDelegate(other, -1, false);
        }
        bool acted = false;
        self->onBegan = [&] {
            if (!acted) {
                acted = true;
                c.action(dispatcher, self, other);
            }
        };
        log.clear();
        dispatcher->touchesBegan(touch.at(0, 0), nullptr);
        EXPECT_EQ(joined(log), c.sameDispatch);
        dispatcher->touchesEnded(touch.at(0, 0), nullptr);
        EXPECT_FALSE(dispatcher->isLocked());
        EXPECT_EQ(pressMoveRelease(), c.nextPress);
    }
}

TEST_F(TouchDispatcherTest, RemovingAClaimingDelegateDropsItsRemainingPhases) {
    RecordingDelegate* t = make("T");
    dispatcher->addTargetedDelegate(t, 0, false);
    dispatcher->touchesBegan(touch.at(0, 0), nullptr);
    EXPECT_EQ(t->ownerReferences, 1);
    dispatcher->removeDelegate(t);
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    EXPECT_EQ(t->ownerReferences, 0); // the handler let its owner go
    log.clear();
    dispatcher->touchesMoved(touch.at(1, 0), nullptr);
    dispatcher->touchesEnded(touch.at(1, 0), nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(TouchDispatcherTest, SuspendedRecognizersAndSwitchedOffDispatch) {
    RecordingDelegate* s = make("S");
    dispatcher->addStandardDelegate(s);
    dispatcher->setRecognizersSuspended(true);
    EXPECT_EQ(pressMoveRelease(), "S.b1 | S.m1 | S.e1");
    dispatcher->setRecognizersSuspended(false);
    dispatcher->setDispatchEvents(false);
    EXPECT_EQ(pressMoveRelease(), " |  | ");
}

TEST_F(TouchDispatcherTest, BadAndRepeatedRegistrations) {
    kvtest::LogCapture capture;
    dispatcher->addStandardDelegate(nullptr);
    dispatcher->addTargetedDelegate(nullptr, 0, true);
    EXPECT_EQ(capture.lines.size(), 2u);
    dispatcher->removeDelegate(nullptr);
    dispatcher->dispatchTouches(nullptr, nullptr, 0);
    dispatcher->dispatchTouches(touch.at(0, 0), nullptr, 7);
    EXPECT_EQ(capture.lines.size(), 4u);

    RecordingDelegate* a = make("A");
    RecordingDelegate* b = make("B");
    dispatcher->addTargetedDelegate(a, 5, false);
    dispatcher->addTargetedDelegate(b, 0, false);
    dispatcher->addTargetedDelegate(a, -5, false);         // ignored: A keeps priority 5
    CCAutoreleasePoolStack::getInstance().clearAllPools(); // the refused handler goes away
    EXPECT_EQ(dispatcher->getTargetedHandlers()->count(), 2u);
    EXPECT_EQ(a->ownerReferences, 1);
    EXPECT_EQ(pressMoveRelease(), "B.b A.b | B.m A.m | B.e A.e");

    RecordingDelegate* stranger = make("Z");
    dispatcher->removeDelegate(stranger); // registered nowhere
    EXPECT_EQ(dispatcher->getTargetedHandlers()->count(), 2u);
}
