#pragma once

#include <vector>

namespace kvengine {

/// A growable array of plain pointers that neither owns nor retains what it holds;
/// the dispatchers queue their deferred requests in it. Starts with room for 8 and
/// doubles its capacity whenever an append fills it.
template <class T> class CCPointerArray {
public:
    CCPointerArray() { items_.reserve(8); }

    unsigned count() const { return static_cast<unsigned>(items_.size()); }
    bool empty() const { return items_.empty(); }
    T* at(unsigned index) const { return index < items_.size() ? items_[index] : nullptr; }

    void append(T* item) {
        items_.push_back(item);
        if (items_.size() == items_.capacity()) {
            items_.reserve(items_.capacity() * 2);
        }
    }
    void removeAt(unsigned index) {
        if (index < items_.size()) {
            items_.erase(items_.begin() + index);
        }
    }
    void clear() { items_.clear(); }

    typename std::vector<T*>::const_iterator begin() const { return items_.begin(); }
    typename std::vector<T*>::const_iterator end() const { return items_.end(); }

private:
    std::vector<T*> items_;
};

} // namespace kvengine
