#include <gtest/gtest.h>

#include <vector>

#include "InputTestSupport.h"
#include "engine/director/CCDirector.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCPinchGestureRecognizer.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouchDelegate.h"
#include "engine/nodes/CCNode.h"

using namespace kvengine;
using kvtest::GestureClockScope;
using kvtest::TouchFixture;

namespace {

struct GestureCall {
    int state;
    CCPoint translation;
    CCPoint velocity;
    float scale;
    CCPoint location;
};

class GestureRecorder : public CCObject {
public:
    void onGesture(CCGestureRecognizer* recognizer, CCNode* /*node*/) {
        GestureCall call{recognizer->getState(), {}, {}, 1.0f, {}};
        if (recognizer->isKindOf("CCPanGestureRecognizer")) {
            auto* pan = static_cast<CCPanGestureRecognizer*>(recognizer);
            call.translation = pan->getTranslation();
            call.velocity = pan->getVelocity();
            call.location = pan->getLocation();
        } else if (recognizer->isKindOf("CCPinchGestureRecognizer")) {
            call.scale = static_cast<CCPinchGestureRecognizer*>(recognizer)->getScale();
        } else {
            call.location = static_cast<CCTapGestureRecognizer*>(recognizer)->getLocation();
        }
        calls.push_back(call);
    }
    std::vector<GestureCall> calls;
};

/// Owns a recognizer wired to a recorder, without a layer.
template <class Recognizer> struct Wired {
    Wired() : recognizer(new Recognizer()), recorder(new GestureRecorder()) {
        recognizer->setCallback(recorder, gesture_selector(GestureRecorder::onGesture));
    }
    ~Wired() {
        recognizer->release();
        recorder->release();
    }
    Wired(const Wired&) = delete;
    Wired& operator=(const Wired&) = delete;
    std::vector<GestureCall>& calls() { return recorder->calls; }

    Recognizer* recognizer;
    GestureRecorder* recorder;
};

class ScriptedDelegate : public CCTouchDelegate {
public:
    bool handle = true;
    bool receive = true;
    bool shouldRecognizerHandleTouches(CCGestureRecognizer*) override { return handle; }
    bool shouldRecognizerReceiveTouch(CCGestureRecognizer*, CCTouch*) override { return receive; }
};

} // namespace

TEST(GestureClock, StartsAtMinusOneThenZeroAndNeverRunsBackwards) {
    CCFakeClock fake;
    CCClock::setShared(&fake);
    CCGestureRecognizer::resetClock();
    EXPECT_FLOAT_EQ(CCGestureRecognizer::getClock(), -1.0f);
    fake.setMicroseconds(50000000);
    CCGestureRecognizer::advanceClock();
    EXPECT_FLOAT_EQ(CCGestureRecognizer::getClock(), 0.0f);
    fake.advanceSeconds(0.25);
    CCGestureRecognizer::advanceClock();
    EXPECT_FLOAT_EQ(CCGestureRecognizer::getClock(), 0.25f);
    fake.setMicroseconds(10000000); // the source jumps back 40 s
    CCGestureRecognizer::advanceClock();
    EXPECT_FLOAT_EQ(CCGestureRecognizer::getClock(), 0.25f);
    fake.advanceSeconds(0.5);
    CCGestureRecognizer::advanceClock();
    EXPECT_FLOAT_EQ(CCGestureRecognizer::getClock(), 0.75f);
    CCGestureRecognizer::resetClock();
    CCClock::setShared(nullptr);
}

TEST(PanGesture, BeginsOnlyOnceTheTouchHasMovedEightPoints) {
    struct Case {
        float dx, dy;
        bool begins;
    };
    const Case cases[] = {{7.9f, 0.0f, false}, {8.0f, 0.0f, true},   {0.0f, 8.0f, true},
                          {-8.0f, 0.0f, true}, {0.0f, -7.9f, false}, {5.0f, 5.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "move " << c.dx << ", " << c.dy);
        GestureClockScope clock;
        TouchFixture touch;
        Wired<CCPanGestureRecognizer> pan;
        pan.recognizer->touchesBegan(touch.at(100, 100), nullptr);
        clock.frame(0.1);
        pan.recognizer->touchesMoved(touch.at(100 + c.dx, 100 + c.dy), nullptr);
        if (c.begins) {
            ASSERT_EQ(pan.calls().size(), 1u);
            EXPECT_EQ(pan.calls()[0].state, kCCGestureRecognizerStateBegan);
            EXPECT_FLOAT_EQ(pan.calls()[0].translation.x, c.dx);
            EXPECT_FLOAT_EQ(pan.calls()[0].translation.y, c.dy);
        } else {
            EXPECT_TRUE(pan.calls().empty());
            pan.recognizer->touchesEnded(touch.at(100 + c.dx, 100 + c.dy), nullptr);
            EXPECT_TRUE(pan.calls().empty());
            EXPECT_EQ(pan.recognizer->getState(), kCCGestureRecognizerStatePossible);
        }
    }
}

TEST(PanGesture, ReportsStepsSinceThePreviousUpdateThenEndsWithTheLastVelocity) {
    GestureClockScope clock;
    TouchFixture touch;
    Wired<CCPanGestureRecognizer> pan;
    pan.recognizer->touchesBegan(touch.at(0, 0), nullptr);
    clock.frame(0.1);
    pan.recognizer->touchesMoved(touch.at(10, 0), nullptr);
    clock.frame(0.1);
    pan.recognizer->touchesMoved(touch.at(13, -2), nullptr);
    clock.frame(0.1);
    pan.recognizer->touchesMoved(touch.at(20, -2), nullptr);
    pan.recognizer->touchesEnded(touch.at(20, -2), nullptr); // same frame: the velocity stays

    const std::vector<GestureCall>& calls = pan.calls();
    ASSERT_EQ(calls.size(), 4u);
    const struct {
        int state;
        float tx, ty, vx, vy, lx, ly;
    } expected[] = {{kCCGestureRecognizerStateBegan, 10, 0, 100, 0, 10, 0},
                    {kCCGestureRecognizerStateChanged, 3, -2, 30, -20, 13, -2},
                    {kCCGestureRecognizerStateChanged, 7, 0, 70, 0, 20, -2},
                    {kCCGestureRecognizerStateEnded, 7, 0, 70, 0, 20, -2}};
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].state, expected[i].state);
        EXPECT_NEAR(calls[i].translation.x, expected[i].tx, 1e-3);
        EXPECT_NEAR(calls[i].translation.y, expected[i].ty, 1e-3);
        EXPECT_NEAR(calls[i].velocity.x, expected[i].vx, 0.5);
        EXPECT_NEAR(calls[i].velocity.y, expected[i].vy, 0.5);
        // Where the touch is: kept once it has lifted.
        EXPECT_FLOAT_EQ(calls[i].location.x, expected[i].lx);
        EXPECT_FLOAT_EQ(calls[i].location.y, expected[i].ly);
    }

    // The next update returns to possible without a callback.
    clock.frame(0.1);
    pan.recognizer->touchesBegan(touch.at(50, 50), nullptr);
    EXPECT_EQ(pan.recognizer->getState(), kCCGestureRecognizerStatePossible);
    EXPECT_EQ(pan.calls().size(), 4u);
}

TEST(PanGesture, LiftAfterAPauseMeasuresTheVelocityOfTheLastStep) {
    GestureClockScope clock;
    TouchFixture touch;
    Wired<CCPanGestureRecognizer> pan;
    pan.recognizer->touchesBegan(touch.at(0, 0), nullptr);
    clock.frame(0.1);
    pan.recognizer->touchesMoved(touch.at(20, 0), nullptr);
    clock.frame(0.5);
    pan.recognizer->touchesEnded(touch.at(20, 0), nullptr);
    ASSERT_EQ(pan.calls().size(), 2u);
    EXPECT_EQ(pan.calls()[1].state, kCCGestureRecognizerStateEnded);
    EXPECT_FLOAT_EQ(pan.calls()[1].velocity.x, 0.0f);
}

TEST(PanGesture, ASecondTouchBeyondTheMaximumEndsThePan) {
    GestureClockScope clock;
    TouchFixture first;
    TouchFixture second;
    Wired<CCPanGestureRecognizer> pan;
    pan.recognizer->touchesBegan(first.at(0, 0), nullptr);
    clock.frame(0.1);
    pan.recognizer->touchesMoved(first.at(0, 12), nullptr);
    ASSERT_EQ(pan.recognizer->getState(), kCCGestureRecognizerStateBegan);
    pan.recognizer->touchesBegan(second.at(40, 40), nullptr);
    EXPECT_EQ(pan.recognizer->getState(), kCCGestureRecognizerStateEnded);
    ASSERT_EQ(pan.calls().size(), 2u);
    EXPECT_EQ(pan.calls()[1].state, kCCGestureRecognizerStateEnded);
}

TEST(PanGesture, DelegateAnswersDecideWhetherTouchesAreTracked) {
    struct Case {
        bool handle, receive, begins;
    };
    for (const Case& c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
        SCOPED_TRACE(testing::Message() << "handle " << c.handle << " receive " << c.receive);
        GestureClockScope clock;
        TouchFixture touch;
        ScriptedDelegate delegate;
        delegate.handle = c.handle;
        delegate.receive = c.receive;
        Wired<CCPanGestureRecognizer> pan;
        delegate.addGestureRecognizer(pan.recognizer);
        EXPECT_EQ(pan.recognizer->getDelegate(), &delegate);
        pan.recognizer->touchesBegan(touch.at(0, 0), nullptr);
        clock.frame(0.1);
        pan.recognizer->touchesMoved(touch.at(30, 0), nullptr);
        EXPECT_EQ(!pan.calls().empty(), c.begins);
    }
}

TEST(PanGesture, NullSetsAreIgnored) {
    Wired<CCPanGestureRecognizer> pan;
    pan.recognizer->touchesBegan(nullptr, nullptr);
    pan.recognizer->touchesMoved(nullptr, nullptr);
    pan.recognizer->touchesEnded(nullptr, nullptr);
    EXPECT_EQ(pan.recognizer->getState(), kCCGestureRecognizerStatePossible);
    EXPECT_TRUE(pan.calls().empty());
}

TEST(TapGesture, SingleTapNeedsAShortStillPress) {
    struct Case {
        double pressSeconds;
        float moveX;
        bool taps;
    };
    const Case cases[] = {{1.4, 0.0f, true}, {1.6, 0.0f, false}, {0.2, 15.0f, true}, {0.2, 16.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "press " << c.pressSeconds << " s, move " << c.moveX);
        GestureClockScope clock;
        TouchFixture touch;
        Wired<CCTapGestureRecognizer> tap;
        tap.recognizer->touchesBegan(touch.at(40, 60), nullptr);
        clock.frame(c.pressSeconds / 2);
        tap.recognizer->touchesMoved(touch.at(40 + c.moveX, 60), nullptr);
        clock.frame(c.pressSeconds / 2);
        tap.recognizer->touchesEnded(touch.at(40 + c.moveX, 60), nullptr);
        ASSERT_EQ(tap.calls().size(), c.taps ? 1u : 0u);
        if (c.taps) {
            EXPECT_FLOAT_EQ(tap.calls()[0].location.x, 40.0f); // where it went down
            EXPECT_FLOAT_EQ(tap.calls()[0].location.y, 60.0f);
        }
        EXPECT_EQ(tap.recognizer->getState(), kCCGestureRecognizerStatePossible);
    }
}

TEST(TapGesture, CancelledPressIsForgotten) {
    GestureClockScope clock;
    TouchFixture touch;
    Wired<CCTapGestureRecognizer> tap;
    tap.recognizer->touchesBegan(touch.at(0, 0), nullptr);
    tap.recognizer->touchesCancelled(touch.at(0, 0), nullptr);
    tap.recognizer->touchesEnded(touch.at(0, 0), nullptr);
    EXPECT_TRUE(tap.calls().empty());
}

namespace {

void tapAt(CCTapGestureRecognizer* recognizer, TouchFixture& touch, GestureClockScope& clock, float x,
           float y) {
    recognizer->touchesBegan(touch.at(x, y), nullptr);
    clock.frame(0.1);
    recognizer->touchesEnded(touch.at(x, y), nullptr);
}

} // namespace

TEST(TapGesture, DoubleTapNeedsTheSecondTapSoonAndClose) {
    struct Case {
        double gap;
        float secondX;
        bool recognised;
    };
    const Case cases[] = {{0.5, 10.0f, true}, {0.75, 0.0f, true}, {0.9, 10.0f, false}, {0.5, 16.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "gap " << c.gap << " s, second tap at x " << c.secondX);
        GestureClockScope clock;
        TouchFixture touch;
        Wired<CCTapGestureRecognizer> tap;
        tap.recognizer->setNumberOfTapsRequired(2);
        tapAt(tap.recognizer, touch, clock, 100, 100);
        clock.frame(c.gap);
        tapAt(tap.recognizer, touch, clock, 100 + c.secondX, 100);
        ASSERT_EQ(tap.calls().size(), c.recognised ? 1u : 0u);
        if (c.recognised) {
            EXPECT_FLOAT_EQ(tap.calls()[0].location.x, 100 + c.secondX); // the second tap's location
        } else {
            // The later tap waits as the first of a new pair.
            clock.frame(0.3);
            tapAt(tap.recognizer, touch, clock, 100 + c.secondX, 102);
            ASSERT_EQ(tap.calls().size(), 1u);
            EXPECT_FLOAT_EQ(tap.calls()[0].location.y, 102.0f);
        }
    }
}

TEST(TapGesture, FirstTapOlderThanTwiceItsLifetimeIsDropped) {
    GestureClockScope clock;
    TouchFixture touch;
    Wired<CCTapGestureRecognizer> tap;
    tap.recognizer->setNumberOfTapsRequired(2);
    tapAt(tap.recognizer, touch, clock, 10, 10);
    clock.frame(4.7);
    // The first tap is gone before the second is evaluated, so the second is
    // only the start of a new pair.
    tapAt(tap.recognizer, touch, clock, 10, 10);
    EXPECT_TRUE(tap.calls().empty());
    clock.frame(0.2);
    tapAt(tap.recognizer, touch, clock, 10, 10);
    EXPECT_EQ(tap.calls().size(), 1u);
}

TEST(PinchGesture, BeginsPastTenPercentAndThenReportsStepRatios) {
    GestureClockScope clock;
    TouchFixture a;
    TouchFixture b;
    Wired<CCPinchGestureRecognizer> pinch;
    a.touch->setTouchInfo(0, 0, 0);
    b.touch->setTouchInfo(0, 100, 0);
    CCSet* both = new CCSet();
    both->addObject(a.touch);
    both->addObject(b.touch);
    pinch.recognizer->touchesBegan(both, nullptr);
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(105, 0), nullptr); // 5 %: nothing yet
    EXPECT_TRUE(pinch.calls().empty());
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(120, 0), nullptr);
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(150, 0), nullptr);
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(300, 0), nullptr);
    EXPECT_FLOAT_EQ(pinch.recognizer->getCenter().x, 150.0f);
    pinch.recognizer->touchesEnded(b.at(300, 0), nullptr);

    const struct {
        int state;
        float scale;
    } expected[] = {{kCCGestureRecognizerStateBegan, 1.2f},
                    {kCCGestureRecognizerStateChanged, 1.5f}, // against the touch-down distance
                    {kCCGestureRecognizerStateChanged, 2.0f}, // against the previous update
                    {kCCGestureRecognizerStateEnded, 2.0f}};
    ASSERT_EQ(pinch.calls().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pinch.calls()[i].state, expected[i].state);
        EXPECT_NEAR(pinch.calls()[i].scale, expected[i].scale, 1e-4);
    }
    EXPECT_NEAR(pinch.recognizer->getVelocity(), (2.0f - 1.5f) / 0.1f, 1e-2);

    // One touch left: the next update resets to possible without a callback.
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(a.at(5, 0), nullptr);
    EXPECT_EQ(pinch.recognizer->getState(), kCCGestureRecognizerStatePossible);
    EXPECT_FLOAT_EQ(pinch.recognizer->getScale(), 1.0f);
    EXPECT_EQ(pinch.calls().size(), 4u);
    both->release();
}

TEST(PinchGesture, SingleTouchNeverPinchesAndTouchesOnOneSpotDoNotDivideByZero) {
    GestureClockScope clock;
    TouchFixture a;
    TouchFixture b;
    Wired<CCPinchGestureRecognizer> pinch;
    pinch.recognizer->touchesBegan(a.at(0, 0), nullptr);
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(a.at(300, 300), nullptr);
    EXPECT_TRUE(pinch.calls().empty());

    pinch.recognizer->touchesBegan(b.at(300, 300), nullptr); // both on one spot
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(300, 300), nullptr);
    EXPECT_TRUE(pinch.calls().empty());
    EXPECT_FLOAT_EQ(pinch.recognizer->getScale(), 1.0f);
    pinch.recognizer->touchesMoved(b.at(340, 300), nullptr); // now a distance exists
    clock.frame(0.1);
    pinch.recognizer->touchesMoved(b.at(360, 300), nullptr);
    ASSERT_EQ(pinch.calls().size(), 1u);
    EXPECT_NEAR(pinch.calls()[0].scale, 1.5f, 1e-4);
}

namespace {

/// Detaches every recognizer of its delegate from inside a callback.
class DetachingRecorder : public GestureRecorder {
public:
    CCTouchDelegate* owner = nullptr;
    void onTapThenDetachAll(CCGestureRecognizer* recognizer, CCNode* node) {
        onGesture(recognizer, node);
        while (owner->getGestureRecognizers()->count() > 0) {
            owner->removeGestureRecognizer(owner->getGestureRecognizers()->objectAtIndex(0));
        }
    }
};

} // namespace

TEST(RecognizerForwarding, ACallbackMayDetachRecognizersDuringTheWalk) {
    GestureClockScope clock;
    TouchFixture touch;
    CCTouchDelegate owner;
    DetachingRecorder* recorder = new DetachingRecorder();
    recorder->owner = &owner;
    for (int i = 0; i < 2; ++i) {
        CCTapGestureRecognizer* tap = new CCTapGestureRecognizer();
        tap->setCallback(recorder, gesture_selector(DetachingRecorder::onTapThenDetachAll));
        owner.addGestureRecognizer(tap);
        tap->release(); // the delegate's array keeps it
    }
    owner.addGestureRecognizer(nullptr);
    ASSERT_EQ(owner.getGestureRecognizers()->count(), 2u);

    owner.forwardTouchesBeganToRecognizers(touch.at(5, 5), nullptr);
    clock.frame(0.1);
    owner.forwardTouchesEndedToRecognizers(touch.at(5, 5), nullptr);
    // The first tap fired and detached both; the second, detached before its
    // turn, was skipped (and freed only after the walk).
    EXPECT_EQ(recorder->calls.size(), 1u);
    EXPECT_EQ(owner.getGestureRecognizers()->count(), 0u);
    recorder->release();
}

namespace {

CCNode* box(CCNode* parent, float x, float y, float size) {
    CCNode* node = CCNode::create();
    node->setPosition(CCPoint(x, y));
    node->setContentSize(CCSize(size, size));
    if (parent != nullptr) {
        parent->addChild(node);
    }
    return node;
}

} // namespace

TEST(GestureHitTest, NodesDrawnAboveTheWatchedNodeTakeTheTouch) {
    CCDirector::getInstance()->setWinSizeInPoints(CCSize(800, 600));
    CCNode* root = box(nullptr, 0, 0, 800);
    CCNode* panel = box(root, 0, 0, 400); // holds the watched node
    CCNode* watched = box(panel, 100, 100, 100);
    box(panel, 150, 150, 100);             // a later sibling over its top right
    CCNode* cover = box(root, 0, 180, 60); // a later sibling of the panel
    box(cover, 100, 0, 30);                // ... whose child reaches over the watched node
    Wired<CCTapGestureRecognizer> tap;
    tap.recognizer->setNode(watched);
    TouchFixture touch;

    const struct {
        float glX, glY;
        bool receives;
    } cases[] = {{120, 120, true}, {160, 160, false}, {300, 300, false}, {110, 190, false}, {199, 100, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.glX << ", " << c.glY);
        touch.at(c.glX, 600 - c.glY); // touches carry window coordinates, origin top left
        EXPECT_EQ(tap.recognizer->shouldReceiveTouch(touch.touch), c.receives);
    }
    cover->setVisible(false); // its visible child still covers
    touch.at(110, 600 - 190);
    EXPECT_FALSE(tap.recognizer->shouldReceiveTouch(touch.touch));
    watched->setVisible(false);
    touch.at(120, 600 - 120);
    EXPECT_FALSE(tap.recognizer->shouldReceiveTouch(touch.touch));
    EXPECT_FALSE(tap.recognizer->shouldReceiveTouch(nullptr));
    CCAutoreleasePoolStack::getInstance().clearAllPools();
}
