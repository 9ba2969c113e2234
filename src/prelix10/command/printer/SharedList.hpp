#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace PrinterCommandBuilder::Printer {

// An immutable list shared between the records of nested levels. Copying a record shares the
// list; setting a new list replaces the storage of that record only. A nesting level therefore
// costs the same whatever the length of the lists it inherits.
template <typename T>
class SharedList {
  public:
    SharedList() = default;
    SharedList(std::initializer_list<T> values) { set(std::vector<T>(values)); }

    SharedList& operator=(const std::vector<T>& values) {
        // A record handed back the list it already holds keeps sharing it.
        if (&values == &this->values()) return *this;
        set(std::vector<T>(values));
        return *this;
    }
    SharedList& operator=(std::vector<T>&& values) {
        if (&values == &this->values()) return *this;
        set(std::move(values));
        return *this;
    }
    SharedList& operator=(std::initializer_list<T> values) {
        set(std::vector<T>(values));
        return *this;
    }

    const std::vector<T>& values() const { return list_ ? list_->values : emptyList(); }

    // The values without repeats, in order of first appearance. Worked out once per list and kept
    // with it, so that levels sharing the list share this too. Records belong to one compilation
    // and one thread.
    const std::vector<T>& distinctValues() const {
        if (!list_) return emptyList();
        if (!list_->distinct) {
            std::vector<T> distinct;
            std::set<T> seen;
            for (const T& value : list_->values)
                if (seen.insert(value).second) distinct.push_back(value);
            list_->distinct = std::move(distinct);
        }
        return *list_->distinct;
    }
    operator const std::vector<T>&() const { return values(); }

    std::size_t size() const { return values().size(); }
    bool empty() const { return values().empty(); }
    typename std::vector<T>::const_iterator begin() const { return values().begin(); }
    typename std::vector<T>::const_iterator end() const { return values().end(); }
    const T& operator[](std::size_t index) const { return values()[index]; }

    // True when both hold the very same storage (two empty lists count as shared).
    bool sharesStorageWith(const SharedList& other) const { return list_ == other.list_; }

    friend bool operator==(const SharedList& a, const SharedList& b) {
        return a.list_ == b.list_ || a.values() == b.values();
    }
    friend bool operator==(const SharedList& a, const std::vector<T>& b) { return a.values() == b; }

  private:
    struct Storage {
        std::vector<T> values;
        mutable std::optional<std::vector<T>> distinct;
    };

    void set(std::vector<T>&& values) {
        if (values.empty())
            list_.reset();
        else
            list_ = std::make_shared<const Storage>(Storage{std::move(values), std::nullopt});
    }
    static const std::vector<T>& emptyList() {
        static const std::vector<T> empty;
        return empty;
    }

    std::shared_ptr<const Storage> list_;
};

}  // namespace PrinterCommandBuilder::Printer
