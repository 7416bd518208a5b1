#include "engine/base/CCNotificationCenter.h"

#include <algorithm>

#include "engine/base/CCLog.h"

namespace kvengine {

void CCNotificationCenter::purgeInstance() {
    CCNotificationCenter* center = existingInstance();
    if (center != nullptr && center->m_postDepth > 0) {
        logDebugMessage("CCNotificationCenter::purgeInstance: refused during a post");
        return;
    }
    CCSingleton::purgeInstance();
}

CCNotificationCenter::~CCNotificationCenter() = default;

unsigned CCNotificationCenter::registrationCount(const std::string& name) const {
    auto it = m_observersByName.find(name);
    if (it == m_observersByName.end()) return 0;
    unsigned count = 0;
    for (const Group& group : it->second)
        count += static_cast<unsigned>(group.entries.size());
    return count;
}

void CCNotificationCenter::addObserver(CCObject* observer, SEL_Notification selector, CCString* name,
                                       CCObject* filter) {
    if (observer == nullptr || selector == nullptr || name == nullptr) {
        logDebugMessage("CCNotificationCenter::addObserver: observer, selector and name are needed");
        return;
    }
    const std::string& key = name->text;
    observer->m_observing = true;

    std::vector<std::string>& names = m_namesByObserver[observer];
    if (std::find(names.begin(), names.end(), key) == names.end()) names.push_back(key);

    std::vector<Group>& groups = m_observersByName[key];
    auto group = std::find_if(groups.begin(), groups.end(),
                              [observer](const Group& g) { return g.observer == observer; });
    if (group == groups.end()) {
        groups.push_back(Group{observer, {Entry{false, selector, filter}}});
        return;
    }
    for (Entry& entry : group->entries) {
        if (entry.selector == selector && (filter == nullptr || entry.filter == filter)) {
            entry.removed = false;
            if (filter == nullptr) entry.filter = nullptr;
            return;
        }
    }
    group->entries.push_back(Entry{false, selector, filter});
}

void CCNotificationCenter::removeObserver(CCObject* observer, CCString* name) {
    if (observer == nullptr) return;
    std::string key = name != nullptr ? name->text : std::string();
    markObserverRemoved(observer, key);
    m_pendingRemovals[observer].push_back(RemovalRequest{key, nullptr});
}

void CCNotificationCenter::postNotification(CCString* name, CCObject* object, CCObject* userInfo) {
    if (name == nullptr) {
        logDebugMessage("CCNotificationCenter::postNotification: no name");
        return;
    }
    if (s_postTracer != nullptr) s_postTracer(name, object);
    if (m_postDepth == 0) flushPendingRemovals();
    // The key is copied: a callback may change or free the posted name string.
    const std::string key = name->text;
    if (m_observersByName.find(key) == m_observersByName.end()) return;

    ++m_postDepth;
    auto* notification = new CCNotification(name, object, userInfo);
    // Lists are looked up afresh at every step: callbacks may append groups and entries (which
    // this delivery then reaches) but nothing is erased while a post runs.
    for (std::size_t g = 0;; ++g) {
        auto groups = m_observersByName.find(key);
        if (groups == m_observersByName.end() || g >= groups->second.size()) break;
        for (std::size_t e = 0;; ++e) {
            groups = m_observersByName.find(key);
            if (groups == m_observersByName.end() || g >= groups->second.size()) break;
            const Group& group = groups->second[g];
            if (e >= group.entries.size()) break;
            const Entry entry = group.entries[e];
            if (entry.removed || (entry.filter != nullptr && entry.filter != object)) continue;
            CCObject* observer = group.observer;
            (observer->*entry.selector)(notification);
        }
    }
    notification->release();
    --m_postDepth;
}

void CCNotificationCenter::flushPendingRemovals() {
    if (m_postDepth > 0 || m_pendingRemovals.empty()) return;
    std::map<CCObject*, std::vector<RemovalRequest>> pending;
    pending.swap(m_pendingRemovals);
    for (const auto& [observer, requests] : pending)
        for (const RemovalRequest& request : requests)
            removeObserverNow(observer, request.name, request.object);
}

void CCNotificationCenter::observerDestroyed(CCObject* observer) {
    CCNotificationCenter* center = existingInstance();
    if (center == nullptr || !center->isObserverKnown(observer)) return;
    center->markObserverRemovedEverywhere(observer);
    if (center->m_postDepth > 0) {
        center->m_pendingRemovals[observer].push_back(RemovalRequest{std::string(), nullptr});
        return;
    }
    // Erase now: a new object may soon live at the same address.
    center->m_pendingRemovals.erase(observer);
    center->purgeRemovedEntries(observer);
}

CCNotificationCenter::Group* CCNotificationCenter::findGroup(CCObject* observer, const std::string& name) {
    auto groups = m_observersByName.find(name);
    if (groups == m_observersByName.end()) return nullptr;
    for (Group& group : groups->second)
        if (group.observer == observer) return &group;
    return nullptr;
}

void CCNotificationCenter::markObserverRemoved(CCObject* observer, const std::string& name) {
    if (name.empty()) {
        markObserverRemovedEverywhere(observer);
        return;
    }
    auto names = m_namesByObserver.find(observer);
    if (names == m_namesByObserver.end()) return;
    if (std::find(names->second.begin(), names->second.end(), name) == names->second.end()) return;
    // Every entry under the name: an observer may hold several (other selectors or filters).
    if (Group* group = findGroup(observer, name))
        for (Entry& entry : group->entries)
            entry.removed = true;
}

void CCNotificationCenter::markObserverRemovedEverywhere(CCObject* observer) {
    auto names = m_namesByObserver.find(observer);
    if (names == m_namesByObserver.end()) return;
    for (const std::string& name : names->second)
        if (Group* group = findGroup(observer, name))
            for (Entry& entry : group->entries)
                entry.removed = true;
}

void CCNotificationCenter::removeObserverNow(CCObject* observer, const std::string& name, CCObject* object) {
    if (name.empty() && object == nullptr) {
        purgeRemovedEntries(observer);
        return;
    }
    eraseMarkedEntries(observer, name, object);
}

void CCNotificationCenter::purgeRemovedEntries(CCObject* observer) {
    auto names = m_namesByObserver.find(observer);
    if (names == m_namesByObserver.end()) return;
    const std::vector<std::string> snapshot = names->second;
    for (const std::string& name : snapshot)
        eraseMarkedEntries(observer, name, nullptr);
}

void CCNotificationCenter::eraseMarkedEntries(CCObject* observer, const std::string& name, CCObject* object) {
    auto groups = m_observersByName.find(name);
    if (groups != m_observersByName.end()) {
        std::vector<Group>& list = groups->second;
        for (auto group = list.begin(); group != list.end(); ++group) {
            if (group->observer != observer) continue;
            auto& entries = group->entries;
            entries.erase(std::remove_if(entries.begin(), entries.end(),
                                         [object](const Entry& entry) {
                                             return entry.removed &&
                                                    (object == nullptr || entry.filter == object);
                                         }),
                          entries.end());
            if (entries.empty()) list.erase(group);
            break;
        }
        if (list.empty()) m_observersByName.erase(groups);
    }
    // The name stays in the observer's list only while the observer still has a group under it.
    if (findGroup(observer, name) != nullptr) return;
    auto names = m_namesByObserver.find(observer);
    if (names == m_namesByObserver.end()) return;
    names->second.erase(std::remove(names->second.begin(), names->second.end(), name), names->second.end());
    if (names->second.empty()) m_namesByObserver.erase(names);
}

} // namespace kvengine
