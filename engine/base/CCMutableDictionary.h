#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/CCLog.h"
#include "engine/base/CCObject.h"
#include "engine/base/CCString.h"

namespace kvengine {

/// Sorted map from a key (std::string, compared byte-wise as unsigned bytes, or int) to object
/// pointers (V is a pointer to a CCObject subclass). Every value is non-null and holds one
/// reference. Cannot be copied through CCObject::copy; duplicate() is its copy.
///
/// The entries lie in one sorted vector: a lookup is a binary search over contiguous keys, and a
/// dictionary costs one block instead of one node per entry. Keys added in ascending order (as
/// documents and most callers add them) are appended; a key added out of order moves the entries
/// above it, which stays cheap at the sizes the game keeps (a few thousand sprite frames at most).
///
/// Iteration: begin() hands out a Walk, its own cursor over a snapshot of the keys; next() skips
/// keys removed meanwhile, so the loop may change the dictionary. Walks are independent: one may
/// run inside another or be left before its end (a search that finds its entry) without
/// disturbing any other.
///
///     if (auto walk = dict->begin())
///         while (CCObject* value = walk.next(&key)) { ... }
template <typename K, typename V> class CCMutableDictionary : public CCObject {
public:
    CCMutableDictionary() = default;
    ~CCMutableDictionary() override { removeAllObjects(); }

    const char* className() const override { return "CCMutableDictionary"; }
    bool isKindOf(const char* name) const override {
        return (name != nullptr && std::strcmp(name, "CCMutableDictionary") == 0) || CCObject::isKindOf(name);
    }

    unsigned count() const { return static_cast<unsigned>(m_entries.size()); }

    /// The value under `key`, or null; no retain.
    V objectForKey(const K& key) const {
        auto it = lowerBound(key);
        return it != m_entries.end() && it->first == key ? it->second : nullptr;
    }

    /// Retains `value` and stores it under `key`, releasing a value it replaces. A null value is
    /// refused (false, logged).
    bool setObject(V value, const K& key) {
        if (value == nullptr) {
            logDebugMessage("CCMutableDictionary::setObject: null value refused");
            return false;
        }
        value->retain();
        // Documents and callers often add keys in ascending order: a key above the last one goes
        // straight to the end without a search.
        if (m_entries.empty() || m_entries.back().first < key) {
            // Most dictionaries are records of a handful of keys: one block holds them all.
            if (m_entries.capacity() == 0) m_entries.reserve(kFirstCapacity);
            m_entries.emplace_back(key, value);
            return true;
        }
        auto it = lowerBound(key);
        if (it != m_entries.end() && it->first == key) {
            V old = it->second;
            it->second = value;
            old->release();
        } else {
            m_entries.emplace(it, key, value);
        }
        return true;
    }

    /// Releases the value under `key` and erases the entry; an absent key changes nothing.
    void removeObjectForKey(const K& key) {
        auto it = lowerBound(key);
        if (it == m_entries.end() || !(it->first == key)) return;
        V value = it->second;
        m_entries.erase(it);
        value->release();
    }

    /// Releases every value in key order and erases all entries.
    void removeAllObjects() {
        std::vector<std::pair<K, V>> entries;
        entries.swap(m_entries);
        for (auto& entry : entries)
            entry.second->release();
    }

    /// One walk over the keys present now, in ascending order. Movable, not copyable.
    class Walk {
    public:
        Walk() = default;
        ~Walk() { finish(); }
        Walk(Walk&& other) noexcept { *this = std::move(other); }
        Walk& operator=(Walk&& other) noexcept {
            if (this != &other) {
                finish();
                m_dictionary = other.m_dictionary;
                m_keys = std::move(other.m_keys);
                m_position = other.m_position;
                other.m_dictionary = nullptr;
                other.m_keys.clear();
                other.m_position = 0;
            }
            return *this;
        }
        Walk(const Walk&) = delete;
        Walk& operator=(const Walk&) = delete;

        /// False when the dictionary was empty when the walk began (next() then gives null).
        explicit operator bool() const { return m_dictionary != nullptr; }

        /// The value under the next key that is still present (filling `key` when given), or
        /// null once the snapshot is used up.
        V next(K* key = nullptr) {
            while (m_dictionary != nullptr && m_position < m_keys.size()) {
                const K& candidate = m_keys[m_position++];
                V value = m_dictionary->objectForKey(candidate);
                if (value == nullptr) continue;
                if (key != nullptr) *key = candidate;
                return value;
            }
            finish();
            return nullptr;
        }

    private:
        friend class CCMutableDictionary;
        // Keeps the dictionary alive while the walk may still read it: a loop body may drop the
        // last other reference.
        explicit Walk(CCMutableDictionary* dictionary)
            : m_dictionary(dictionary), m_keys(dictionary->allKeys()) {
            m_dictionary->retain();
        }
        void finish() {
            if (m_dictionary != nullptr) m_dictionary->release();
            m_dictionary = nullptr;
        }

        CCMutableDictionary* m_dictionary = nullptr;
        std::vector<K> m_keys;
        std::size_t m_position = 0;
    };

    /// Starts a walk over a snapshot of the keys; an empty dictionary gives an empty walk (false).
    /// The walk holds a reference to the dictionary until it ends or is destroyed.
    [[nodiscard]] Walk begin() { return m_entries.empty() ? Walk() : Walk(this); }

    /// Every key in ascending order.
    std::vector<K> allKeys() const {
        std::vector<K> keys;
        keys.reserve(m_entries.size());
        for (const auto& entry : m_entries)
            keys.push_back(entry.first);
        return keys;
    }

    /// The keys under which `value` is stored, in ascending order.
    std::vector<K> allKeysForObject(V value) const {
        std::vector<K> keys;
        for (const auto& entry : m_entries)
            if (entry.second == value) keys.push_back(entry.first);
        return keys;
    }

    /// New dictionary (count 1, owned by the caller) with the same pairs, each value retained once
    /// more.
    CCMutableDictionary* duplicate() const {
        auto* result = new CCMutableDictionary();
        result->m_entries.reserve(m_entries.size());
        for (const auto& entry : m_entries)
            result->setObject(entry.second, entry.first);
        return result;
    }

    /// Stores a new CCString with `text`; null text is refused (false, logged).
    bool setStringForKey(const K& key, const char* text) {
        if (text == nullptr) {
            logDebugMessage("CCMutableDictionary::setStringForKey: null text refused");
            return false;
        }
        return storeNewString(key, new CCString(text));
    }
    /// Stores a new CCString with the value printed by "%d".
    bool setIntForKey(const K& key, int value) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        return storeNewString(key, new CCString(text));
    }
    /// Stores a new CCString with the value printed by "%f" (six decimals).
    bool setFloatForKey(const K& key, float value) {
        std::string text(
            static_cast<std::size_t>(std::snprintf(nullptr, 0, "%f", static_cast<double>(value))), '\0');
        std::snprintf(text.data(), text.size() + 1, "%f", static_cast<double>(value));
        return storeNewString(key, new CCString(text));
    }
    /// Stores a new CCString "YES" or "NO".
    bool setBoolForKey(const K& key, bool value) {
        return storeNewString(key, new CCString(value ? "YES" : "NO"));
    }

private:
    using Entries = std::vector<std::pair<K, V>>;
    static constexpr std::size_t kFirstCapacity = 8;

    typename Entries::const_iterator lowerBound(const K& key) const {
        return std::lower_bound(
            m_entries.begin(), m_entries.end(), key,
            [](const std::pair<K, V>& entry, const K& wanted) { return entry.first < wanted; });
    }
    typename Entries::iterator lowerBound(const K& key) {
        return std::lower_bound(
            m_entries.begin(), m_entries.end(), key,
            [](const std::pair<K, V>& entry, const K& wanted) { return entry.first < wanted; });
    }

    // Hands the new string's one reference to the dictionary.
    bool storeNewString(const K& key, CCString* text) {
        bool stored = setObject(text, key);
        text->release();
        return stored;
    }

    Entries m_entries;
};

} // namespace kvengine
