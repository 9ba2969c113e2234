#include "prelix10/discovery/CompositeMemberSet.hpp"

#include <algorithm>

namespace Prelix10 {

void CompositeMemberSet::reset() {
    std::lock_guard guard(mutex_);
    active_.clear();
    earlyEnds_.clear();
}

void CompositeMemberSet::didStart(const void* member) {
    std::lock_guard guard(mutex_);
    auto early = std::find(earlyEnds_.begin(), earlyEnds_.end(), member);
    if (early != earlyEnds_.end()) earlyEnds_.erase(early);
    else active_.push_back(member);
}

void CompositeMemberSet::didFinish(const void* member) {
    std::lock_guard guard(mutex_);
    auto it = std::find(active_.begin(), active_.end(), member);
    if (it != active_.end()) active_.erase(it);
    else earlyEnds_.push_back(member);
}

bool CompositeMemberSet::isEmpty() const {
    std::lock_guard guard(mutex_);
    return active_.empty();
}

}  // namespace Prelix10
