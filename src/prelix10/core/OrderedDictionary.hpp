#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <vector>

namespace Prelix10 {

// A dictionary that keeps its pairs in insertion order, for JSON objects whose member order matters and for
// ordered tables. Iterators are independent: a walk nested in another, or begun while another is under way,
// does not disturb it. Hold it by std::shared_ptr where several owners must see one object.
template <typename Key, typename Value>
class OrderedDictionary {
public:
    struct Pair {
        Key key;
        Value value;
    };
    using Pairs = std::vector<Pair>;
    using const_iterator = typename Pairs::const_iterator;

    OrderedDictionary() = default;
    // The pairs in the order written; keys are not tested for duplicates.
    OrderedDictionary(std::initializer_list<Pair> pairs) : parameters_(pairs) {}

    const Pairs& parameters() const { return parameters_; }
    std::size_t count() const { return parameters_.size(); }
    bool empty() const { return parameters_.empty(); }

    const_iterator begin() const { return parameters_.begin(); }
    const_iterator end() const { return parameters_.end(); }

    // The value of the first pair with this key, scanning from the front; null when none.
    const Value* find(const Key& key) const {
        for (const auto& pair : parameters_) {
            if (pair.key == key) return &pair.value;
        }
        return nullptr;
    }
    Value* find(const Key& key) {
        for (auto& pair : parameters_) {
            if (pair.key == key) return &pair.value;
        }
        return nullptr;
    }
    std::optional<Value> value(const Key& key) const {
        if (const Value* found = find(key)) return *found;
        return std::nullopt;
    }
    bool contains(const Key& key) const { return find(key) != nullptr; }

    // Replaces the value of the first pair with this key where it stands, or appends a new pair at the end.
    void set(const Key& key, Value value) {
        if (Value* found = find(key)) {
            *found = std::move(value);
        } else {
            parameters_.push_back(Pair{key, std::move(value)});
        }
    }
    // Writing no value removes the first pair with this key (later pairs move up); without one nothing changes.
    void set(const Key& key, std::nullopt_t) { remove(key); }
    void set(const Key& key, std::optional<Value> value) {
        if (value) {
            set(key, std::move(*value));
        } else {
            remove(key);
        }
    }
    void remove(const Key& key) {
        for (auto it = parameters_.begin(); it != parameters_.end(); ++it) {
            if (it->key == key) {
                parameters_.erase(it);
                return;
            }
        }
    }
    // Appends without looking for the key, as construction from a literal does.
    void append(Key key, Value value) { parameters_.push_back(Pair{std::move(key), std::move(value)}); }

private:
    Pairs parameters_;
};

}  // namespace Prelix10
