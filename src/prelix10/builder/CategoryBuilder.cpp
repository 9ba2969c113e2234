#include "prelix10/builder/CategoryBuilder.hpp"

#include <algorithm>
#include <unordered_set>

namespace Prelix10::VelmarCommand {

CategoryBuilder::CategoryBuilder(std::string_view category, bool withParameters)
    : category_(JsonObject::make()) {
    category_->set("category", JsonLiteral{category});
    if (withParameters) category_->set("parameters", JsonList{});
    category_->set("contents", JsonList{});
}

JsonObjectRef CategoryBuilder::methodItem(std::string_view method, JsonObjectRef parameter) {
    for (const auto& [key, value] : parameter->pairs()) {
        (void)key;
        if (!value.isWritable()) return nullptr;
    }
    JsonObjectRef item = JsonObject::make();
    item->reserve(2);
    item->append("method", JsonLiteral{method});
    item->append("parameter", std::move(parameter));
    return item;
}

JsonList& CategoryBuilder::list(std::string_view key) {
    JsonValue* value = category_->find(key);
    if (!value || !value->list()) {
        category_->set(key, JsonList{});
        value = category_->find(key);
    }
    return *value->list();
}

bool CategoryBuilder::appendMethod(std::string_view listKey, std::string_view method,
                                   JsonObjectRef parameter) {
    JsonObjectRef item = methodItem(method, std::move(parameter));
    if (!item) return false;
    list(listKey).emplace_back(std::move(item));
    return true;
}

bool CategoryBuilder::insertMethod(std::size_t index, std::string_view method, JsonObjectRef parameter) {
    JsonObjectRef item = methodItem(method, std::move(parameter));
    if (!item) return false;
    JsonList& contents = list("contents");
    const std::size_t position = std::min(index, contents.size());
    contents.emplace_back(std::move(item));
    std::rotate(contents.begin() + static_cast<std::ptrdiff_t>(position), contents.end() - 1, contents.end());
    return true;
}

bool CategoryBuilder::reaches(const JsonObject& tree, const JsonObject* target) {
    std::unordered_set<const JsonObject*> seen;
    std::vector<const JsonObject*> pending{&tree};
    while (!pending.empty()) {
        const JsonObject* node = pending.back();
        pending.pop_back();
        if (node == target) return true;
        if (!seen.insert(node).second) continue;
        const JsonValue* contents = node->get("contents");
        if (!contents || !contents->list()) continue;
        for (const JsonValue& element : *contents->list()) {
            const JsonObject* child = element.object();
            // Method items hold no categories; only category objects are walked.
            if (child && child->get("category")) pending.push_back(child);
        }
    }
    return false;
}

bool CategoryBuilder::appendChild(const CategoryBuilder& child) {
    if (reaches(*child.category_, category_.get())) return false;
    list("contents").emplace_back(child.category_);
    return true;
}

}  // namespace Prelix10::VelmarCommand
