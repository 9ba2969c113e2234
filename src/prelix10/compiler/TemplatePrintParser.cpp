#include "prelix10/compiler/TemplatePrintParser.hpp"

#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/compiler/FieldData.hpp"
#include "prelix10/compiler/TemplatePrintCategoryParser.hpp"
#include "prelix10/compiler/TemplatePrintException.hpp"

namespace TemplatePrint {

namespace {

// Deepest bracket nesting a template may have: enough for categories nested to the counters' limit
// with their methods and parameters, and shallow enough that copying and writing it out (both
// recursive in the JSON library) stay well inside a thread's stack.
constexpr std::size_t kMaxTemplateNesting = 2 * TemplatePrintCategoryParser::kMaxDepth + 48;

// The deepest bracket nesting of a JSON text, brackets inside strings not counted.
std::size_t bracketNesting(const std::string& text) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

std::string expand(const std::string& templateText, const FieldData& fieldData) {
    if (bracketNesting(templateText) > kMaxTemplateNesting)
        throw std::length_error("template nesting too deep");
    OrderedJson document = OrderedJson::parse(templateText);
    const std::string& title = document.at("title").get_ref<const std::string&>();
    const std::string& version = document.at("version").get_ref<const std::string&>();
    if (title == "VelmarCommand" && VelmarCommandParser::StrUtil::startsWith(version, "1.") &&
        document.at("contents").is_array()) {
        for (OrderedJson& element : document.at("contents")) {
            if (element.at("category") != "Document") continue;
            TemplatePrintCategoryParser parser(fieldData, "Document");
            element = parser.parse(element, 0);
        }
    }
    return document.dump(1, '\t', false, OrderedJson::error_handler_t::strict);
}

}  // namespace

std::string TemplatePrintParser::parse(const std::string& templateText, const std::string& fieldData,
                                       std::int32_t& errorTypeId, std::int32_t& errorCode,
                                       std::int32_t& errorMessageId) {
    auto fail = [&](std::int32_t typeId, std::int32_t code, std::int32_t messageId) {
        errorTypeId = typeId;
        errorCode = code;
        errorMessageId = messageId;
        return std::string("{}");
    };
    try {
        std::optional<FieldData> data;
        try {
            data.emplace(fieldData);
        } catch (const nlohmann::json::parse_error& error) {
            if (error.id == 101) return fail(1, 5000, 7000);
            throw;
        }
        // Field data that is already a command document is printed as it is.
        if (data->isVelmarCommand()) return fieldData;
        return expand(templateText, *data);
    } catch (const TemplatePrintException& error) {
        return fail(error.getErrorTypeId(), error.getErrorCode(), error.getErrorMessageId());
    } catch (...) {
        // JSON errors of the template, the nesting limit and exhausted memory alike: no partial output.
        return fail(0, 0, 0);
    }
}

}  // namespace TemplatePrint
