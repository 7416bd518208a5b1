#pragma once

#include "engine/base/CCMutableArray.h"
#include "engine/base/CCObject.h"

namespace kvengine {

/// A list of objects, each listed once per autorelease, released once per listing when the pool
/// is drained. Reports "CCObject" as its class name.
class CCAutoreleasePool : public CCObject {
public:
    CCAutoreleasePool();
    /// Releases every object still listed.
    ~CCAutoreleasePool() override;

    /// Lists `object` and takes over one reference of the caller (count unchanged).
    void addObject(CCObject* object);
    /// Takes the first listing of `object` out without releasing it.
    void removeObject(CCObject* object);
    /// Drains the pool: releases every listed object in the order it was autoreleased. Objects
    /// autoreleased into this pool during the drain (from destructors or clean-up hooks) are
    /// released by the same drain, in a later pass.
    void clear();

    /// Number of listings (a null slot never occurs in a pool).
    unsigned count() const { return m_objects->count(); }
    bool contains(CCObject* object) const { return m_objects->containsObject(object); }

private:
    CCMutableArray<CCObject*>* m_objects;
};

} // namespace kvengine
