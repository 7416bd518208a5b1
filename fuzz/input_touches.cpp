// Plays arbitrary streams of touches, clock steps and registrations through the touch
// dispatcher and the tap, pan and pinch recognizers, with delegates and recognizer callbacks
// that register, unregister, attach and detach while a delivery runs. Nothing may crash,
// leak or touch freed memory, and the dispatcher must end every delivery unlocked.
#include "engine/base/CCAutoreleasePoolStack.h"
#include "engine/base/CCLog.h"
#include "engine/base/CCMutableArray.h"
#include "engine/base/CCSet.h"
#include "engine/input/CCPanGestureRecognizer.h"
#include "engine/input/CCPinchGestureRecognizer.h"
#include "engine/input/CCTapGestureRecognizer.h"
#include "engine/input/CCTouch.h"
#include "engine/input/CCTouchDispatcher.h"
#include "engine/platform/CCClock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace kvengine;

namespace {

struct Stream {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t next() { return at < size ? data[at++] : 0; }
    bool done() const { return at >= size; }
};

constexpr int kDelegates = 4;
constexpr int kTouches = 3;

struct World;

/// A delegate whose callbacks replay the next byte of the stream as a registration change.
class ChaosDelegate : public CCTouchDelegate {
public:
    World* world = nullptr;
    int index = 0;
    bool touchBegan(CCTouch*, CCEvent*) override;
    void touchMoved(CCTouch*, CCEvent*) override;
    void touchEnded(CCTouch*, CCEvent*) override;
    void touchesBegan(CCSet*, CCEvent*) override;
    void touchesEnded(CCSet*, CCEvent*) override;
};

class Callbacks : public CCObject {
public:
    World* world = nullptr;
    void onGesture(CCGestureRecognizer* recognizer, CCNode*);
};

struct World {
    Stream in;
    CCFakeClock clock;
    CCTouchDispatcher* dispatcher = nullptr;
    ChaosDelegate delegates[kDelegates];
    CCTouch* touches[kTouches] = {};
    Callbacks* callbacks = nullptr;
    int depth = 0;

    void change() {
        const uint8_t op = in.next();
        ChaosDelegate* d = &delegates[(op >> 3) % kDelegates];
        switch (op & 7) {
        case 0:
            dispatcher->addStandardDelegate(d);
            break;
        case 1:
            dispatcher->addTargetedDelegate(d, static_cast<int>(in.next() % 5) - 2, (op & 0x40) != 0);
            break;
        case 2:
            dispatcher->removeDelegate(d);
            break;
        case 3:
            dispatcher->removeAllDelegates();
            break;
        case 4: {
            CCGestureRecognizer* r = nullptr;
            switch (in.next() % 4) {
            case 0:
                r = new CCPanGestureRecognizer();
                break;
            case 1:
                r = new CCPinchGestureRecognizer();
                break;
            default: {
                auto* tap = new CCTapGestureRecognizer();
                tap->setNumberOfTapsRequired(1 + in.next() % 2);
                r = tap;
            }
            }
            r->setCallback(callbacks, static_cast<SEL_GestureHandler>(&Callbacks::onGesture));
            d->addGestureRecognizer(r);
            r->release();
            break;
        }
        case 5: {
            CCMutableArray<CCGestureRecognizer*>* list = d->getGestureRecognizers();
            if (list->count() > 0) d->removeGestureRecognizer(list->objectAtIndex(in.next() % list->count()));
            break;
        }
        case 6:
            dispatcher->setRecognizersSuspended((op & 0x40) != 0);
            break;
        default:
            break; // no change this time
        }
    }

    void deliver(int phase, CCTouch* touch, float x, float y) {
        touch->setTouchInfo(0, x, y);
        CCSet* set = new CCSet();
        set->addObject(touch);
        ++depth;
        dispatcher->dispatchTouches(set, nullptr, phase);
        --depth;
        set->release();
    }
};

bool ChaosDelegate::touchBegan(CCTouch*, CCEvent*) {
    world->change();
    return (world->in.next() & 1) != 0;
}
void ChaosDelegate::touchMoved(CCTouch*, CCEvent*) {
    world->change();
}
void ChaosDelegate::touchEnded(CCTouch*, CCEvent*) {
    world->change();
}
void ChaosDelegate::touchesBegan(CCSet*, CCEvent*) {
    world->change();
}
void ChaosDelegate::touchesEnded(CCSet*, CCEvent*) {
    world->change();
}
void Callbacks::onGesture(CCGestureRecognizer*, CCNode*) {
    world->change();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setDebugLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto* world = new World{Stream{data, size}};
    CCClock::setShared(&world->clock);
    CCGestureRecognizer::resetClock();
    CCGestureRecognizer::advanceClock();
    world->dispatcher = new CCTouchDispatcher();
    world->dispatcher->init();
    world->callbacks = new Callbacks();
    world->callbacks->world = world;
    for (int i = 0; i < kDelegates; ++i) {
        world->delegates[i].world = world;
        world->delegates[i].index = i;
    }
    for (CCTouch*& touch : world->touches)
        touch = new CCTouch();

    for (int steps = 0; !world->in.done() && steps < 4096; ++steps) {
        const uint8_t op = world->in.next();
        CCTouch* touch = world->touches[(op >> 4) % kTouches];
        const float x = static_cast<float>(world->in.next()) * 4.0f - 100.0f;
        const float y = static_cast<float>(world->in.next()) * 3.0f - 100.0f;
        switch (op & 15) {
        case 0:
        case 1:
        case 2:
        case 3:
            world->deliver(op & 3, touch, x, y);
            break;
        case 4:
            world->clock.advanceMicroseconds(static_cast<int64_t>(world->in.next()) * 20000);
            CCGestureRecognizer::advanceClock();
            break;
        case 5:
            CCAutoreleasePoolStack::getInstance().clearAllPools();
            break;
        default:
            world->change();
            break;
        }
        if (world->dispatcher->isLocked()) abort();
    }

    // Handlers hold their delegates: drop them all before the delegates go.
    world->dispatcher->removeAllDelegates();
    world->dispatcher->release();
    CCAutoreleasePoolStack::getInstance().clearAllPools();
    for (CCTouch* touch : world->touches)
        touch->release();
    world->callbacks->release();
    delete world;
    CCGestureRecognizer::resetClock();
    CCClock::setShared(nullptr);
    return 0;
}
