#include "nav/ReserveList.h"

#include <algorithm>

namespace nav {

TReserveList& TReserveList::operator=(std::vector<std::wstring> paths) {
    clear();
    if (!unique_) {
        entries_ = std::move(paths);
        return *this;
    }
    for (std::wstring& path : paths)
        push_back(std::move(path));
    return *this;
}

TReserveList& TReserveList::operator=(std::initializer_list<std::wstring> paths) {
    return *this = std::vector<std::wstring>(paths);
}

void TReserveList::push_back(std::wstring path) {
    if (unique_ && !seen_.insert(path).second)
        return;
    entries_.push_back(std::move(path));
}

std::wstring TReserveList::PopFront() {
    std::wstring path = std::move(entries_[next_++]);
    // Taken entries are dropped once they are as many as those left, so the list never
    // holds more than twice what is still to come, and each entry is moved at most once
    // more on average.
    if (next_ == entries_.size()) {
        entries_.clear();
        next_ = 0;
    } else if (next_ >= 64 && next_ * 2 >= entries_.size()) {
        entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(next_));
        next_ = 0;
    }
    return path;
}

void TReserveList::clear() {
    entries_.clear();
    next_ = 0;
    seen_.clear();
}

bool TReserveList::operator==(const std::vector<std::wstring>& other) const {
    return std::equal(begin(), end(), other.begin(), other.end());
}

} // namespace nav
