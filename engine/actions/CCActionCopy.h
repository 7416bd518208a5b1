#pragma once

#include "engine/base/CCObject.h"

namespace kvengine {
namespace detail {

/// The copy protocol lets a derived class make the new object and each base class fill in its
/// own fields. This returns the object a copyInto override should fill: the holder's when the
/// holder carries one, else a new T (owned by the caller, count 1).
template <class T> T* copyObjectFor(CCCopyHolder* holder) {
    if (holder != nullptr && holder->object != nullptr) return static_cast<T*>(holder->object);
    return new T();
}

/// The usual copy chain in one call: make (or take) the object of the most derived class T,
/// then let Base::copyInto fill in the fields of Base and its bases.
template <class T, class Base> CCObject* copyWithBase(Base* self, CCCopyHolder* holder) {
    T* copy = copyObjectFor<T>(holder);
    CCCopyHolder inner{copy};
    self->Base::copyInto(&inner);
    return copy;
}

} // namespace detail
} // namespace kvengine
