// A vector kept in the order of its element's less-than. Equal elements stay in the order
// they were added: a new element goes after the last element that is not greater than it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace lumdb {

template <class T>
class SortedArray {
  public:
    using value_type = T;
    using const_iterator = typename std::vector<T>::const_iterator;
    using iterator = typename std::vector<T>::iterator;

    // Inserts after every element that does not compare greater, keeping insertion order
    // among equals. Returns the index the element landed at.
    std::size_t add(T value) {
        auto pos = std::upper_bound(items_.begin(), items_.end(), value,
                                    [](const T& a, const T& b) { return a < b; });
        auto at = items_.insert(pos, std::move(value));
        return static_cast<std::size_t>(at - items_.begin());
    }

    // Index of the first element equal to value (by the element's ==), or npos.
    std::size_t find(const T& value) const {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == value) return i;
        return npos;
    }

    void removeAt(std::size_t index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    // Removes every element whose flag in `drop` (one per element, by index) is set; the
    // rest keep their order. One pass, however many go.
    void removeMarked(const std::vector<char>& drop) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (i >= drop.size() || !drop[i]) {
                if (kept != i) items_[kept] = std::move(items_[i]);
                ++kept;
            }
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(kept), items_.end());
    }
    void clear() { items_.clear(); }
    void reserve(std::size_t n) { items_.reserve(n); }

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const T& operator[](std::size_t i) const { return items_[i]; }
    // Mutable access for fields that do not take part in the order (the candidate lists of a
    // line, for example). Changing the compared field through it breaks the order.
    T& operator[](std::size_t i) { return items_[i]; }

    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }

    const std::vector<T>& items() const { return items_; }

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  private:
    std::vector<T> items_;
};

}  // namespace lumdb
