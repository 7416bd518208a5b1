#pragma once

#include <set>

#include "engine/base/CCObject.h"

namespace kvengine {

/// Set of objects ordered by address (iteration is address order, not insertion order); each
/// member holds one reference. Carries the touches of one input event. Reports "CCObject".
class CCSet : public CCObject {
public:
    using const_iterator = std::set<CCObject*>::const_iterator;

    CCSet() = default;
    /// Copy of `other`'s members, each retained once more.
    explicit CCSet(const CCSet& other);
    ~CCSet() override;

    /// New set (count 1, owned by the caller) with the same members, each retained once more.
    CCSet* copy() override;
    CCSet* mutableCopy() { return copy(); }

    unsigned count() const { return static_cast<unsigned>(m_members.size()); }
    const_iterator begin() const { return m_members.begin(); }
    const_iterator end() const { return m_members.end(); }
    bool containsObject(CCObject* object) const { return m_members.count(object) != 0; }
    /// Adds and retains `object` unless it is already a member; null is ignored (logged).
    void addObject(CCObject* object);
    /// Erases and releases `object` when it is a member.
    void removeObject(CCObject* object);
    /// The first member in address order, or null.
    CCObject* anyObject() const { return m_members.empty() ? nullptr : *m_members.begin(); }

private:
    std::set<CCObject*> m_members;
};

} // namespace kvengine
