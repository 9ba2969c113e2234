#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

ElementParser::ElementParser(PrinterCommandBuilder::BaseBuilder* builder, std::string categoryName)
    : builder_(builder), categoryName_(categoryName), logName_(std::move(categoryName)) {}

void ElementParser::addOwnedChild(std::unique_ptr<ElementParser> child) {
    children_.push_back(child.get());
    ownedChildren_.push_back(std::move(child));
}

void ElementParser::dispatch(const nlohmann::json& item,
                             const std::map<std::string, Handler>& handlers) const {
    if (!item.is_object()) return;
    const auto method = item.find("method");
    const auto parameter = item.find("parameter");
    if (method == item.end() || !method->is_string() || parameter == item.end() || !parameter->is_object())
        return;
    const auto handler = handlers.find(method->get_ref<const std::string&>());
    if (handler != handlers.end()) handler->second(&*parameter);
}

bool ElementParser::parse(const nlohmann::json* element, std::int32_t depth) {
    if (element == nullptr) return false;
    if (element->is_object() && !element->contains("category")) {
        if (element->contains("contents")) return false;
        throw DocumentWalkError("element without \"category\"");
    }
    if (!element->is_object()) throw DocumentWalkError("element is not an object");
    const auto& category = (*element)["category"];
    if (!category.is_string() || category.get_ref<const std::string&>() != categoryName_) return false;
    const auto contents = element->find("contents");
    if (contents == element->end()) throw DocumentWalkError("element without \"contents\"");
    if (depth > kMaxDepth) throw DocumentWalkError("document nested too deeply");

    // The signed depth widens to the unsigned rank: leaving a top-level element reports all ones.
    if (builder_) builder_->notifyRank(static_cast<std::size_t>(static_cast<std::int64_t>(depth)));

    const auto parameters = element->find("parameters");
    if (parameters != element->end() && parameters->is_array())
        for (const auto& item : *parameters) dispatch(item, parametersHandlers_);

    auto walk = [&](const nlohmann::json& item) {
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
