#include "prelix10/compiler/Parser.hpp"

#include <nlohmann/json.hpp>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/compiler/DocumentElementParser.hpp"
#include "prelix10/compiler/PreSettingElementParser.hpp"

namespace VelmarCommandParser {

namespace {
struct TooDeep {};
}  // namespace

Parser::Parser(PrinterCommandBuilder::RootBuilder* root) : rootBuilder_(root) {
    elementParsers_.push_back(std::make_unique<PreSettingElementParser>(root));
    elementParsers_.push_back(std::make_unique<DocumentElementParser>(root));
}

Parser::~Parser() = default;

Parser::Result Parser::parse(const std::string& text) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text, [](int depth, nlohmann::json::parse_event_t, nlohmann::json&) {
            if (depth > kMaxJsonDepth) throw TooDeep{};
            return true;
        });
    } catch (const nlohmann::json::exception&) {
        return Result::invalidJson;
    } catch (const TooDeep&) {
        return Result::invalidJson;
    }
    try {
        if (!document.is_object()) return Result::walkFailed;
        const auto& title = document.at("title");
        const auto& version = document.at("version");
        if (!title.is_string() || !version.is_string()) return Result::walkFailed;
        if (title.get_ref<const std::string&>() != "VelmarCommand") return Result::completed;
        if (!StrUtil::startsWith(version.get_ref<const std::string&>(), "1.")) return Result::completed;
        const auto contents = document.find("contents");
        if (contents == document.end() || !contents->is_array()) return Result::completed;
        for (const auto& item : *contents)
            for (auto& elementParser : elementParsers_) elementParser->parse(&item, 0);
    } catch (const nlohmann::json::exception&) {
        return Result::walkFailed;
    } catch (const DocumentWalkError&) {
        return Result::walkFailed;
    }
    return Result::completed;
}

}  // namespace VelmarCommandParser
