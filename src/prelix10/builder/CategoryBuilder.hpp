#pragma once

#include "prelix10/core/Export.hpp"
#include <initializer_list>
#include <string_view>

#include "prelix10/core/JSONBuilder.hpp"

namespace Prelix10::VelmarCommand {

// The part every builder shares: its category object in the command document tree. Builders are handles:
// a copy of a builder refers to the same category object, and a parent stores the child's object itself,
// so calls made on a child after it was added still reach the document.
class PRELIX10_EXPORT CategoryBuilder {
  public:
    // The category object this builder writes into.
    const JsonObjectRef& categoryObject() const { return category_; }

  protected:
    // {"category": name, ["parameters": [],] "contents": []}
    CategoryBuilder(std::string_view category, bool withParameters);

    // {"method": method, "parameter": parameter}, or nothing when a number in the parameter is NaN or
    // infinite (such an item is left out).
    // Method names are string literals; they are kept without a copy.
    static JsonObjectRef methodItem(std::string_view method, JsonObjectRef parameter);
    // Appends a method item at the end of the list under `listKey`; false when the item was left out.
    bool appendMethod(std::string_view listKey, std::string_view method, JsonObjectRef parameter);
    bool appendMethod(std::string_view method, JsonObjectRef parameter) {
        return appendMethod("contents", method, std::move(parameter));
    }
    // Inserts a method item into "contents" at `index` (clamped to the list).
    bool insertMethod(std::size_t index, std::string_view method, JsonObjectRef parameter);
    // Appends the child's category object to "contents". Refused (false) when the child is this builder's
    // own object or holds it somewhere below, since that would make the document endless.
    bool appendChild(const CategoryBuilder& child);
    // True when `target` is `tree` or is reachable from it through "contents" lists.
    static bool reaches(const JsonObject& tree, const JsonObject* target);

    JsonList& list(std::string_view key);

    JsonObjectRef category_;
};

}  // namespace Prelix10::VelmarCommand
