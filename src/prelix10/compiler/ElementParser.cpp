#include "prelix10/compiler/ElementParser.hpp"

#include <algorithm>

namespace VelmarCommandParser {

ElementParser::ElementParser(PrinterCommandBuilder::BaseBuilder* builder, std::string categoryName)
    : builder_(builder), categoryName_(categoryName), logName_(std::move(categoryName)) {}

void ElementParser::addOwnedChild(std::unique_ptr<ElementParser> child) {
    children_.push_back(child.get());
    ownedChildren_.push_back(std::move(child));
}

void ElementParser::HandlerTable::set(std::string_view method, Handler handler) {
    if (entries_.empty()) entries_.reserve(32);
    const auto at =
        std::lower_bound(entries_.begin(), entries_.end(), method,
                         [](const auto& entry, std::string_view name) { return entry.first < name; });
    if (at != entries_.end() && at->first == method) {
        at->second = std::move(handler);
        return;
    }
    entries_.emplace(at, method, std::move(handler));
}

const ElementParser::Handler* ElementParser::HandlerTable::find(std::string_view method) const {
    const auto at =
        std::lower_bound(entries_.begin(), entries_.end(), method,
                         [](const auto& entry, std::string_view name) { return entry.first < name; });
    return at != entries_.end() && at->first == method ? &at->second : nullptr;
}

void ElementParser::dispatch(const DocumentTree& item, const HandlerTable& handlers) const {
    if (!item.is_object()) return;
    const auto method = item.find("method");
    const auto parameter = item.find("parameter");
    if (method == item.end() || !method->is_string() || parameter == item.end() || !parameter->is_object())
        return;
    if (const Handler* handler = handlers.find(textOf(*method)))
        (*handler)(&*parameter);
}

bool ElementParser::parse(const DocumentTree* element, std::int32_t depth) {
    if (element == nullptr) return false;
    if (element->is_object() && !element->contains("category")) {
        if (element->contains("contents")) return false;
        throw DocumentWalkError("element without \"category\"");
    }
    if (!element->is_object()) throw DocumentWalkError("element is not an object");
    const auto& category = (*element)["category"];
    if (!category.is_string() || textOf(category) != categoryName_) return false;
    const auto contents = element->find("contents");
    if (contents == element->end()) throw DocumentWalkError("element without \"contents\"");
    if (depth > kMaxDepth) throw DocumentWalkError("document nested too deeply");

    // The signed depth widens to the unsigned rank: leaving a top-level element reports all ones.
    if (builder_) builder_->notifyRank(static_cast<std::size_t>(static_cast<std::int64_t>(depth)));

    const auto parameters = element->find("parameters");
    if (parameters != element->end() && parameters->is_array())
        for (const auto& item : *parameters) dispatch(item, parametersHandlers_);

    auto walk = [&](const DocumentTree& item) {
        if (item.is_object()) {
            const auto nested = item.find("category");
            if (nested != item.end() && nested->is_string())
                for (auto* child : children_) child->parse(&item, depth + 1);
        }
        dispatch(item, contentsHandlers_);
    };
    if (contents->is_array() || contents->is_object()) {
        for (const auto& item : *contents) walk(item);
    } else if (!contents->is_null()) {
        walk(*contents);
    }

    if (builder_) builder_->notifyRank(static_cast<std::size_t>(static_cast<std::int64_t>(depth) - 1));
    return true;
}

}  // namespace VelmarCommandParser
