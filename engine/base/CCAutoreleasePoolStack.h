#pragma once

#include "engine/base/CCAutoreleasePool.h"
#include "engine/base/CCMutableArray.h"

namespace kvengine {

/// The stack of autorelease pools behind CCObject::autorelease. The current pool is the top one;
/// the director pushes one at start and pops once per frame, which drains the current pool. The
/// bottom pool is never dropped by pop().
class CCAutoreleasePoolStack {
public:
    /// The one stack of the program, made on first use.
    static CCAutoreleasePoolStack& getInstance();
    /// False once the stack has been destroyed at program exit; objects autoreleased or
    /// destroyed after that point leave the pools alone.
    static bool isAlive();

    /// Makes a new pool, makes it current and puts it on top.
    void push();
    /// Drains the current pool, then drops it unless it is the last one.
    void pop();
    /// The current pool, pushing one first when there is none. Not retained for the caller.
    CCAutoreleasePool* getCurrentPool();
    /// Adds `object` to the current pool (made when there is none).
    void addObject(CCObject* object);
    /// Takes the first listing of `object` out of the current pool without releasing it.
    void removeObject(CCObject* object);
    /// Drains every pool, bottom first.
    void clearAllPools();

    unsigned poolCount() const { return m_pools->count(); }

    CCAutoreleasePoolStack(const CCAutoreleasePoolStack&) = delete;
    CCAutoreleasePoolStack& operator=(const CCAutoreleasePoolStack&) = delete;

private:
    CCAutoreleasePoolStack();
    ~CCAutoreleasePoolStack();

    CCMutableArray<CCAutoreleasePool*>* m_pools;
    CCAutoreleasePool* m_current = nullptr;
};

} // namespace kvengine
