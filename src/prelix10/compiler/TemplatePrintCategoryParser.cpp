#include "prelix10/compiler/TemplatePrintCategoryParser.hpp"

#include <array>
#include <limits>
#include <stdexcept>
#include <string_view>

#include "prelix10/compiler/JsonUtil.hpp"
#include "prelix10/compiler/TemplatePrintException.hpp"

namespace TemplatePrint {

namespace {

using namespace std::string_view_literals;

constexpr std::array kTopCategories = {"Document"sv, "Printer"sv, "PageMode"sv,     "Display"sv,
                                       "Drawer"sv,   "Buzzer"sv,  "MelodySpeaker"sv};
constexpr std::array kNestedCategories = {"Printer"sv, "PageMode"sv, "Display"sv,
                                          "Drawer"sv,  "Buzzer"sv,   "MelodySpeaker"sv};
constexpr std::array kParameterBearingCategories = {"Printer"sv, "PageMode"sv};
constexpr std::array kWalkedCategories = {"Document"sv, "Printer"sv, "PageMode"sv};
constexpr std::array kCopiedMethodPrefixes = {"Action"sv, "Style"sv, "Setting"sv, "Raw"sv};
constexpr std::array kReplacedMethods = {"Action.Print.Text"sv, "Action.Print.Barcode"sv,
                                         "Action.Print.QRCode"sv, "Action.Print.Pdf417"sv,
                                         "Action.Show.Text"sv};
constexpr std::array kArrayModeMethodPrefixes = {"Action"sv, "Style"sv};
constexpr std::array kArrayModeDroppedMethods = {
    "Action.Print.PageModeImage"sv, "Action.Print.PageModeRuledLine"sv, "Action.Print.PageModeRectangle"sv};
constexpr std::array kArrayModeReplacedMethods = {"Action.Print.Text"sv, "Action.Print.Barcode"sv,
                                                  "Action.Print.QRCode"sv, "Action.Print.Pdf417"sv};
constexpr std::array kTemplateExtension = {"Setting.TemplateExtension"sv};
constexpr std::array kPageModeArea = {"Style.PageMode.Area"sv};

bool isParameterBearing(const std::string& name) {
    return name == kParameterBearingCategories[0] || name == kParameterBearingCategories[1];
}

// The "parameters" of a Printer or PageMode category (a missing list is an empty one), else none.
OrderedJson categoryParameters(const OrderedJson& category, const std::string& name) {
    if (isParameterBearing(name)) {
        auto found = category.find("parameters");
        if (found != category.end()) return *found;
    }
    return OrderedJson::array();
}

// Removes the first item of a parameters list whose method starts with `prefix`.
void eraseFirstParameter(OrderedJson& category, TemplatePrintUtil::Names prefix) {
    auto parameters = category.find("parameters");
    if (parameters == category.end() || !parameters->is_array()) return;
    for (std::size_t i = 0; i < parameters->size(); ++i) {
        if (TemplatePrintUtil::isMethodStartWith((*parameters)[i], prefix)) {
            parameters->erase(i);
            return;
        }
    }
}

// A category (with contents) whose "object_id" is `id`.
bool isCategoryWithId(const OrderedJson& item, std::int32_t id) {
    if (!TemplatePrintUtil::isCategory(item, {}) || !item.contains("contents")) return false;
    auto found = item.find("object_id");
    return found != item.end() && found->is_number_integer() && found->get<std::int64_t>() == id;
}

const std::string& contentOf(const OrderedJson& method) {
    return method.at("parameter").at("content").get_ref<const std::string&>();
}

}  // namespace

TemplatePrintCategoryParser::TemplatePrintCategoryParser(const FieldData& fieldData, const std::string& name)
    : fieldData_(fieldData),
      outputBuffer_(initializeBuffer(name, OrderedJson::array(), 0)),
      skeletonBuffer_(initializeBuffer(name, OrderedJson::array(), 0)),
      objectIdCounters_(kMaxDepth, -1) {}

OrderedJson TemplatePrintCategoryParser::initializeBuffer(const std::string& name,
                                                          const OrderedJson& parameters,
                                                          std::int32_t objectId) {
    OrderedJson buffer = OrderedJson::object();
    buffer["category"] = name;
    buffer["object_id"] = objectId;
    if (isParameterBearing(name)) buffer["parameters"] = parameters;
    buffer["contents"] = OrderedJson::array();
    return buffer;
}

void TemplatePrintCategoryParser::initializeArrayInfo() {
    arrayTemplateMode_ = false;
    arrayTemplateDepth_ = 0;
    arraySize_ = 1;
    arrayKeyPointer_ = JsonPointer();
}

OrderedJson TemplatePrintCategoryParser::parse(const OrderedJson& element, std::int32_t depth) {
    if (!TemplatePrintUtil::isCategory(element, kTopCategories)) return nullptr;
    if (depth < 0 || static_cast<std::size_t>(depth) >= kMaxDepth) {
        throw std::length_error("template nesting too deep");
    }
    for (const OrderedJson& item : element.at("contents")) {
        if (arrayTemplateMode_) {
            visitArrayModeItem(item, depth);
        } else if (TemplatePrintUtil::isCategory(item, kNestedCategories)) {
            visitNestedCategory(item, depth);
        } else if (TemplatePrintUtil::isMethodStartWith(item, kReplacedMethods)) {
            TemplatePrintUtil::extractReplacingSpecifier(contentOf(item));
            addMethod(outputBuffer_, depth, fieldData_.replace(item, -1));
        } else if (TemplatePrintUtil::isMethodStartWith(item, kCopiedMethodPrefixes)) {
            addMethod(outputBuffer_, depth, item);
        }
    }
    if (arrayTemplateMode_ && arrayTemplateDepth_ == depth) exitArrayTemplateMode();
    if (depth != 0) return nullptr;
    removeObjectId(outputBuffer_);
    return outputBuffer_;
}

std::int32_t TemplatePrintCategoryParser::countCategory(std::int32_t depth) {
    if (depth < 0 || static_cast<std::size_t>(depth) >= objectIdCounters_.size()) {
        throw std::length_error("template nesting too deep");
    }
    return ++objectIdCounters_[static_cast<std::size_t>(depth)];
}

void TemplatePrintCategoryParser::visitNestedCategory(const OrderedJson& item, std::int32_t depth) {
    countCategory(depth);
    const std::string& name = item.at("category").get_ref<const std::string&>();
    OrderedJson parameters = categoryParameters(item, name);
    for (const OrderedJson& parameter : parameters) {
        if (arrayTemplateMode_ || !TemplatePrintUtil::isMethodStartWith(parameter, kTemplateExtension))
            continue;
        bool notFound = false;
        const bool enabled = VelmarCommandParser::JsonUtil::getBoolean(&parameter.at("parameter"),
                                                                       "enableArrayFieldData", notFound);
        if (!notFound && enabled) enterArrayTemplateMode(depth + 1);
    }
    addEmptyCategory(arrayTemplateMode_ ? *arrayTemplateBuffer_ : outputBuffer_, name, parameters, depth);
    addEmptyCategory(skeletonBuffer_, name, parameters, depth);
    parse(item, depth + 1);
}

void TemplatePrintCategoryParser::visitArrayModeItem(const OrderedJson& item, std::int32_t depth) {
    if (TemplatePrintUtil::isCategory(item, kParameterBearingCategories)) {
        countCategory(depth);
        const std::string& name = item.at("category").get_ref<const std::string&>();
        OrderedJson parameters = categoryParameters(item, name);
        addEmptyCategory(*arrayTemplateBuffer_, name, parameters, depth);
        addEmptyCategory(skeletonBuffer_, name, parameters, depth);
        parse(item, depth + 1);
    } else if (TemplatePrintUtil::isMethodStartWith(item, kArrayModeDroppedMethods)) {
        return;
    } else if (TemplatePrintUtil::isMethodStartWith(item, kArrayModeReplacedMethods)) {
        std::vector<std::string> specifiers = TemplatePrintUtil::extractReplacingSpecifier(contentOf(item));
        confirmArrayKeySpecifier(TemplatePrintUtil::extractKeySpecifierList(specifiers));
        addMethod(*arrayTemplateBuffer_, depth, item);
    } else if (TemplatePrintUtil::isMethodStartWith(item, kArrayModeMethodPrefixes)) {
        addMethod(*arrayTemplateBuffer_, depth, item);
    }
}

void TemplatePrintCategoryParser::addEmptyCategory(OrderedJson& buffer, const std::string& name,
                                                   const OrderedJson& parameters, std::int32_t depth) {
    bool notFound = false;
    const JsonPointer pointer =
        TemplatePrintUtil::getKey(depth, objectIdCounters_, buffer, notFound, false).first;
    if (notFound) return;
    buffer.at(pointer).push_back(
        initializeBuffer(name, parameters, objectIdCounters_[static_cast<std::size_t>(depth)]));
}

void TemplatePrintCategoryParser::addMethod(OrderedJson& buffer, std::int32_t depth,
                                            const OrderedJson& method) {
    bool notFound = false;
    const JsonPointer pointer =
        TemplatePrintUtil::getKey(depth, objectIdCounters_, buffer, notFound, false).first;
    if (notFound) return;
    buffer.at(pointer).push_back(method);
}

void TemplatePrintCategoryParser::confirmArrayKeySpecifier(const std::vector<std::string>& keys) {
    for (const auto& key : keys) {
        bool error = true;
        KeySpecifierInfo info = fieldData_.createJsonPointer(key, 0, error);
        if (error || !info.isArray()) continue;
        if (arrayKeyPointer_.empty()) {
            arrayKeyPointer_ = info.getArrayKeyPointer();
            arraySize_ = static_cast<std::int32_t>(
                std::min<std::uint64_t>(info.getArraySize(), std::numeric_limits<std::int32_t>::max()));
        } else if (!(info.getArrayKeyPointer() == arrayKeyPointer_)) {
            throw TemplatePrintException::differentArrays();
        }
    }
}

void TemplatePrintCategoryParser::enterArrayTemplateMode(std::int32_t depth) {
    arrayTemplateBuffer_ = ancestorChain(depth - 1);
    arrayTemplateMode_ = true;
    arrayTemplateDepth_ = depth;
}

// The block is built beneath the categories that enclose it. Of the skeleton only that line of
// categories is ever looked up again (each is the newest one of its level), so the block starts from
// a copy of just that line: one category per level, without parameters, which the block never reads.
// Should the skeleton not end in the enclosing categories, the whole skeleton is taken instead.
OrderedJson TemplatePrintCategoryParser::ancestorChain(std::int32_t levels) {
    arrayBlockFromSkeleton_ = false;
    // Repetitions fill their specifiers only beneath a line of Printer and PageMode categories.
    arrayBlockReplaced_ = TemplatePrintUtil::isCategory(skeletonBuffer_, kWalkedCategories);
    OrderedJson chain =
        initializeBuffer(skeletonBuffer_.at("category").get<std::string>(), OrderedJson::array(), 0);
    const OrderedJson* from = &skeletonBuffer_.at("contents");
    OrderedJson* to = &chain["contents"];
    for (std::int32_t level = 0; level < levels; ++level) {
        const std::int32_t id = objectIdCounters_[static_cast<std::size_t>(level)];
        if (!from->is_array() || from->empty() || !isCategoryWithId(from->back(), id)) {
            arrayBlockFromSkeleton_ = true;
            return skeletonBuffer_;
        }
        const OrderedJson& last = from->back();
        const std::string& name = last.at("category").get_ref<const std::string&>();
        if (!isParameterBearing(name)) arrayBlockReplaced_ = false;
        OrderedJson node = OrderedJson::object();
        node["category"] = name;
        node["object_id"] = id;
        node["contents"] = OrderedJson::array();
        to->push_back(std::move(node));
        to = &to->back()["contents"];
        from = &last.at("contents");
    }
    return chain;
}

void TemplatePrintCategoryParser::exitArrayTemplateMode() {
    const std::int32_t depth = arrayTemplateDepth_ - 1;
    bool notFound = false;
    auto [pointer, index] =
        TemplatePrintUtil::getKey(depth, objectIdCounters_, *arrayTemplateBuffer_, notFound);
    if (notFound) return;
    // An index of -1 (the block's category is not where it should be) is rejected by the lookup.
    const JsonPointer categoryPointer = pointer / std::to_string(index);
    const OrderedJson& source = arrayTemplateBuffer_->at(categoryPointer);
    // The outer copy: the block's category with its keys in order and its contents emptied.
    OrderedJson block = OrderedJson::object();
    for (auto it = source.begin(); it != source.end(); ++it) {
        block[it.key()] = it.key() == "contents" ? OrderedJson::array() : it.value();
    }
    if (!block.contains("contents")) block["contents"] = OrderedJson::array();
    const bool replaced =
        arrayBlockReplaced_ && TemplatePrintUtil::isCategory(source, kParameterBearingCategories);
    for (std::int32_t element = 0; element < arraySize_; ++element) {
        OrderedJson repetition;
        if (arrayBlockFromSkeleton_) {
            OrderedJson copy = *arrayTemplateBuffer_;
            replaceArrayTemplate(copy, element);
            repetition = std::move(copy.at(categoryPointer));
        } else {
            // Only the block itself is copied and filled for each element.
            repetition = source;
            if (replaced) replaceArrayTemplate(repetition, element);
        }
        eraseFirstParameter(repetition, kPageModeArea);
        block["contents"].push_back(std::move(repetition));
    }
    bool outputNotFound = false;
    const JsonPointer outputPointer =
        TemplatePrintUtil::getKey(depth, objectIdCounters_, outputBuffer_, outputNotFound, false).first;
    if (outputNotFound) return;
    outputBuffer_.at(outputPointer).push_back(std::move(block));
    arrayTemplateBuffer_.reset();
    initializeArrayInfo();
}

void TemplatePrintCategoryParser::replaceArrayTemplate(OrderedJson& node, std::int64_t elementIndex) const {
    if (!TemplatePrintUtil::isCategory(node, kWalkedCategories)) return;
    auto contents = node.find("contents");
    if (contents == node.end()) return;
    TemplatePrintUtil::countLookupSteps(contents->size());
    for (OrderedJson& item : *contents) {
        if (TemplatePrintUtil::isCategory(item, kParameterBearingCategories)) {
            replaceArrayTemplate(item, elementIndex);
        } else if (TemplatePrintUtil::isMethodStartWith(item, kArrayModeReplacedMethods)) {
            item = fieldData_.replace(item, elementIndex);
        }
    }
}

void TemplatePrintCategoryParser::removeObjectId(OrderedJson& node) {
    if (!TemplatePrintUtil::isCategory(node, kTopCategories)) return;
    node.erase("object_id");
    auto contents = node.find("contents");
    if (contents == node.end() || !contents->is_array()) return;
    for (OrderedJson& item : *contents) {
        if (!TemplatePrintUtil::isCategory(item, kNestedCategories)) continue;
        item.erase("object_id");
        eraseFirstParameter(item, kTemplateExtension);
        removeObjectId(item);
    }
}

}  // namespace TemplatePrint
