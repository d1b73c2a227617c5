#pragma once
// A list of item paths still to be restored, taken from the front one by one. Taking
// the next entry costs the same however long the list is. A list of unique entries
// holds each path once for as long as it lives (until it is assigned afresh or
// cleared): a path that is in it, or was taken from it already, is not added again,
// since expanding an item again changes nothing.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <unordered_set>
#include <vector>

namespace nav {

class TReserveList {
public:
    using const_iterator = std::vector<std::wstring>::const_iterator;
    using iterator = const_iterator;
    using value_type = std::wstring;

    explicit TReserveList(bool unique = false) : unique_(unique) {}
    TReserveList& operator=(std::vector<std::wstring> paths);
    TReserveList& operator=(std::initializer_list<std::wstring> paths);

    void push_back(std::wstring path);
    template <typename It> void Append(It first, It last) {
        for (; first != last; ++first)
            push_back(*first);
    }
    // Takes the first entry out; the list must not be empty.
    std::wstring PopFront();
    void clear();

    bool empty() const { return next_ == entries_.size(); }
    std::size_t size() const { return entries_.size() - next_; }
    const std::wstring& front() const { return entries_[next_]; }
    // The entries still to come, in order.
    const_iterator begin() const { return entries_.begin() + static_cast<std::ptrdiff_t>(next_); }
    const_iterator end() const { return entries_.end(); }
    operator std::vector<std::wstring>() const { return {begin(), end()}; }
    bool operator==(const std::vector<std::wstring>& other) const;

private:
    bool unique_;
    std::vector<std::wstring> entries_;
    // Entries before this one have been taken.
    std::size_t next_ = 0;
    std::unordered_set<std::wstring> seen_;
};

} // namespace nav
