#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/base/CCNotification.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCSingleton.h"
#include "engine/base/CCString.h"

namespace kvengine {

/// The program's message bus. Observers register (observer, selector, name, optional object
/// filter); a post calls every matching registration at once, synchronously, in registration
/// order. The centre retains nothing: observers, filters and posted objects are plain pointers.
///
/// Re-entrancy rules:
/// - A registration added by a callback during a post of the same name is called in that post.
/// - removeObserver marks at once (a marked registration is never called again, even later in a
///   post that is running) and erases later, at the next flush: the start of the next outermost
///   post or the director's per-frame flushPendingRemovals(). Nested posts never flush.
/// - Adding the same (observer, selector, filter) again before the flush revives it; adding
///   with a null filter widens an existing filtered registration to every object.
///
/// An observer unregisters (usually with a null name, from cleanupBeforeDelete) before it dies.
/// One that forgets is unregistered by CCObject's destructor, so it is never called after death.
///
/// The shared centre (getInstance) is released at the application's shutdown.
class CCNotificationCenter : public CCSingleton<CCNotificationCenter> {
public:
    /// Releases the shared centre (shutdown). Refused (logged) while a post is running.
    static void purgeInstance();

    CCNotificationCenter() = default;
    ~CCNotificationCenter() override;

    /// Registers `selector` of `observer` for `name`, for posts whose object is `filter` (every
    /// object when null). Null observer, selector or name: logged, nothing registered.
    void addObserver(CCObject* observer, SEL_Notification selector, CCString* name,
                     CCObject* filter = nullptr);
    /// Stops every registration of `observer` under `name`, or under every name when `name` is
    /// null. Unknown observers or names change nothing.
    void removeObserver(CCObject* observer, CCString* name = nullptr);
    /// Delivers the notification to every live matching registration before returning. A name
    /// nobody observes makes no notification. A null name is logged and ignored.
    void postNotification(CCString* name, CCObject* object = nullptr, CCObject* userInfo = nullptr);
    /// Erases the registrations removed so far. Does nothing while a post is running.
    void flushPendingRemovals();

    /// True while the centre holds any registration of `observer` (removed or not).
    bool isObserverKnown(CCObject* observer) const { return m_namesByObserver.count(observer) != 0; }
    /// Registrations held under `name`, removed-but-not-yet-erased ones included.
    unsigned registrationCount(const std::string& name) const;

    /// Called by CCObject's destructor for objects that ever registered.
    static void observerDestroyed(CCObject* observer);

    /// A function told of every post with a name, observed or not, before it is delivered (test
    /// tooling records the traffic with it); null stops telling.
    using PostTracer = void (*)(CCString* name, CCObject* object);
    static void setPostTracer(PostTracer tracer) { s_postTracer = tracer; }

private:
    struct Entry {
        bool removed;
        SEL_Notification selector;
        CCObject* filter;
    };
    struct Group {
        CCObject* observer;
        std::vector<Entry> entries;
    };
    struct RemovalRequest {
        std::string name; // empty: every name
        CCObject* object;
    };

    void markObserverRemoved(CCObject* observer, const std::string& name);
    void markObserverRemovedEverywhere(CCObject* observer);
    void removeObserverNow(CCObject* observer, const std::string& name, CCObject* object);
    void purgeRemovedEntries(CCObject* observer);
    Group* findGroup(CCObject* observer, const std::string& name);
    // Erases the observer's marked entries under `name` (those with filter `object` when it is
    // not null), then drops emptied groups, names and name-list items.
    void eraseMarkedEntries(CCObject* observer, const std::string& name, CCObject* object);

    inline static PostTracer s_postTracer = nullptr;
    int m_postDepth = 0;
    std::map<CCObject*, std::vector<std::string>> m_namesByObserver;
    std::map<std::string, std::vector<Group>> m_observersByName;
    std::map<CCObject*, std::vector<RemovalRequest>> m_pendingRemovals;
};

} // namespace kvengine
