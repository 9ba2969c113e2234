#pragma once

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <span>
#include <vector>

namespace Prelix10 {

// A bounded, thread-safe first-in buffer with a read position. Writers append at the end and the oldest
// elements are dropped when the capacity would be passed; readers copy from the read position, move it on,
// or remove ranges. "Relative" positions count from the read position, "stored" ones from the first stored
// element; ranges include both ends. Positions outside the elements are refused: reads give nothing and
// changes do nothing.
template <typename T>
class GenericCache {
public:
    explicit GenericCache(int maxSize) : maxSize_(std::max(maxSize, 0)) {}
    GenericCache(const GenericCache&) = delete;
    GenericCache& operator=(const GenericCache&) = delete;

    int maxSize() const { return maxSize_; }

    // Adds the elements at the end, dropping the oldest first when needed. An append of more elements than
    // the capacity keeps the newest maxSize of them, with the read position on the first.
    void append(std::span<const T> elements) {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        const std::size_t n = elements.size();
        const std::size_t capacity = static_cast<std::size_t>(maxSize_);
        if (n >= capacity) {
            caches_.assign(elements.end() - static_cast<std::ptrdiff_t>(capacity), elements.end());
            cacheIndex_ = 0;
            return;
        }
        const std::size_t total = caches_.size() + n;
        if (total > capacity) removeStored(0, static_cast<int>(total - capacity) - 1);
        caches_.insert(caches_.end(), elements.begin(), elements.end());
    }
    void append(const std::vector<T>& elements) { append(std::span<const T>(elements)); }
    void append(std::initializer_list<T> elements) {
        append(std::span<const T>(elements.begin(), elements.size()));
    }

    // Copies of up to count elements from the read position on; nothing changes.
    std::vector<T> read(int count) const {
        std::lock_guard get(getLock_);
        if (count <= 0) return {};
        const std::size_t unread = caches_.size() - cacheIndex_;
        const std::size_t k = std::min(unread, static_cast<std::size_t>(count));
        return std::vector<T>(caches_.begin() + static_cast<std::ptrdiff_t>(cacheIndex_),
                              caches_.begin() + static_cast<std::ptrdiff_t>(cacheIndex_ + k));
    }

    // As read(count), and moves the read position past the elements returned.
    std::vector<T> take(int count) {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        std::vector<T> result = read(count);
        cacheIndex_ += result.size();
        return result;
    }

    // The unread elements at relative positions from...to; empty when to == from - 1 or out of range.
    std::vector<T> read(int from, int to) const {
        std::lock_guard get(getLock_);
        if (!validRelativeRange(from, to)) return {};
        const auto begin = caches_.begin() + static_cast<std::ptrdiff_t>(cacheIndex_) + from;
        return std::vector<T>(begin, begin + (to - from + 1));
    }

    // Removes the unread elements at relative positions from...to; the read position stays.
    void remove(int from, int to) {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        if (!validRelativeRange(from, to) || to < from) return;
        const auto begin = caches_.begin() + static_cast<std::ptrdiff_t>(cacheIndex_) + from;
        caches_.erase(begin, begin + (to - from + 1));
    }

    // Removes the stored elements at positions from...to, keeping the read position on the same unread
    // element (or on the first element after the removed ones).
    void removeStored(int from, int to) {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        if (from < 0 || to < from || static_cast<std::size_t>(to) >= caches_.size()) return;
        caches_.erase(caches_.begin() + from, caches_.begin() + to + 1);
        const auto f = static_cast<std::size_t>(from);
        const auto t = static_cast<std::size_t>(to);
        if (cacheIndex_ >= f && cacheIndex_ <= t) {
            cacheIndex_ = f;
        } else if (cacheIndex_ > t) {
            cacheIndex_ -= t - f + 1;
        }
    }

    // Overwrites the unread element at a relative position; false when there is none.
    bool replace(int at, const T& element) {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        if (at < 0 || static_cast<std::size_t>(at) >= caches_.size() - cacheIndex_) return false;
        caches_[cacheIndex_ + static_cast<std::size_t>(at)] = element;
        return true;
    }

    void clear() {
        std::lock_guard add(addLock_);
        std::lock_guard get(getLock_);
        caches_.clear();
        cacheIndex_ = 0;
    }

    // Stored elements, consumed ones included.
    int storedCount() const {
        std::lock_guard get(getLock_);
        return static_cast<int>(caches_.size());
    }
    int unreadCount() const {
        std::lock_guard get(getLock_);
        return static_cast<int>(caches_.size() - cacheIndex_);
    }
    int cacheIndex() const {
        std::lock_guard get(getLock_);
        return static_cast<int>(cacheIndex_);
    }
    // Every stored element, oldest first.
    std::vector<T> stored() const {
        std::lock_guard get(getLock_);
        return caches_;
    }

private:
    bool validRelativeRange(int from, int to) const {
        const std::size_t unread = caches_.size() - cacheIndex_;
        if (from < 0 || to < from - 1) return false;
        if (to == from - 1) return static_cast<std::size_t>(from) <= unread;
        return static_cast<std::size_t>(to) < unread;
    }

    mutable std::recursive_mutex addLock_;
    mutable std::recursive_mutex getLock_;
    const int maxSize_;
    std::vector<T> caches_;
    std::size_t cacheIndex_ = 0;
};

}  // namespace Prelix10
