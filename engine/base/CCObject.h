#pragma once

#include <cstdint>
#include <cstring>

namespace kvengine {

class CCObject;

/// Record handed to CCObject::copyInto. A null holder, or one whose `object` is null, asks the
/// class to make a new object; otherwise the class copies its own fields into `object`, so a
/// derived class can make the object and let each base fill in its part.
struct CCCopyHolder {
    CCObject* object = nullptr;
};

/// The copy protocol: one operation, implemented by CCObject and overridden by copyable classes.
class CCCopying {
public:
    virtual CCObject* copyInto(CCCopyHolder* holder) = 0;

protected:
    ~CCCopying() = default;
};

/// Declares the two run-time type slots of a class: className() answers the class's own name and
/// isKindOf() accepts that name or, through Base, any ancestor's name (byte-wise, case-sensitive).
/// Put it in the public part of every class that answers its own name.
#define CC_DECLARE_CLASS_NAME(ClassName, BaseName)                                                           \
    const char* className() const override {                                                                 \
        return #ClassName;                                                                                   \
    }                                                                                                        \
    bool isKindOf(const char* kindName) const override {                                                     \
        return (kindName != nullptr && std::strcmp(kindName, #ClassName) == 0) ||                            \
               BaseName::isKindOf(kindName);                                                                 \
    }

/// Reference-counted base of every engine and game class.
///
/// Ownership: the creator owns the one reference a new object starts with. retain() adds an owner,
/// release() drops one and destroys the object (after cleanupBeforeDelete()) when none is left.
/// autorelease() hands one reference to the current autorelease pool, which drops it at the next
/// drain (once per frame). Single-threaded: nothing here is atomic.
class CCObject : public CCCopying {
public:
    CCObject();
    CCObject(const CCObject&) = delete;
    CCObject& operator=(const CCObject&) = delete;

    /// Returns null: a plain object cannot be copied. Copyable classes fill holder->object when it
    /// is set, otherwise make a new object (count 1, owned by the caller).
    CCObject* copyInto(CCCopyHolder* holder) override;
    /// Called by release() just before the destructor; drop retained members and unregister
    /// notification observers here.
    virtual void cleanupBeforeDelete() {}
    /// Scheduler callback: seconds since the last call (actions: progress 0..1).
    virtual void update(float dt) { (void)dt; }
    /// Second per-frame callback, used by the scheduler's frame step.
    virtual void tick(float dt) { (void)dt; }
    /// Called when this object becomes a callback target of the scheduler or of a call action.
    virtual void retainAsTarget() {}
    /// Counterpart of retainAsTarget().
    virtual void releaseAsTarget() {}

    virtual ~CCObject();

    void retain();
    /// Drops one reference; at zero calls cleanupBeforeDelete() and deletes the object.
    /// Releasing an object whose count is already 0 is logged and ignored.
    void release();
    /// Hands one reference of the caller to the current autorelease pool; returns this.
    CCObject* autorelease();
    /// A new object owned by the caller (count 1, not autoreleased), or null when the class
    /// cannot be copied.
    virtual CCObject* copy();
    /// True only for this very object.
    bool isEqual(const CCObject* other) const { return other == this; }

    virtual const char* className() const { return "CCObject"; }
    /// True for the class's own name and every ancestor's name; false for null.
    virtual bool isKindOf(const char* name) const {
        return name != nullptr && std::strcmp(name, "CCObject") == 0;
    }

    std::uint32_t getObjectId() const { return m_objectId; }
    std::uint32_t retainCount() const { return m_referenceCount; }
    /// True while a pool may still list this object (set by autorelease, cleared by a drain).
    bool isManaged() const { return m_managed; }

private:
    friend class CCAutoreleasePool;
    friend class CCNotificationCenter;

    std::uint32_t m_objectId;
    std::uint32_t m_referenceCount = 1;
    bool m_managed = false;
    bool m_observing = false; // set once it registers with the notification centre
};

} // namespace kvengine
