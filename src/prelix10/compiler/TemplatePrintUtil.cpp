#include "prelix10/compiler/TemplatePrintUtil.hpp"

#include <stdexcept>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/compiler/EscapeUtil.hpp"
#include "prelix10/compiler/TemplatePrintException.hpp"

namespace TemplatePrint {

namespace {

bool startsWithAny(const std::string& text, TemplatePrintUtil::Names prefixes) {
    for (std::string_view prefix : prefixes) {
        if (std::string_view(text).starts_with(prefix)) return true;
    }
    return false;
}

}  // namespace

bool TemplatePrintUtil::isCategory(const OrderedJson& element, Names names) {
    if (!element.is_object()) return false;
    auto found = element.find("category");
    if (found == element.end() || !found->is_string()) return false;
    if (names.size() == 0) return true;
    const auto& name = found->get_ref<const std::string&>();
    for (std::string_view candidate : names) {
        if (name == candidate) return true;
    }
    return false;
}

bool TemplatePrintUtil::isMethodStartWith(const OrderedJson& element, Names prefixes) {
    if (!element.is_object()) return false;
    auto method = element.find("method");
    if (method == element.end() || !method->is_string()) return false;
    auto parameter = element.find("parameter");
    if (parameter == element.end() || !parameter->is_object()) return false;
    return startsWithAny(method->get_ref<const std::string&>(), prefixes);
}

std::int32_t TemplatePrintUtil::findCategory(const OrderedJson& contents, std::int32_t objectId) {
    auto matches = [objectId](const OrderedJson& item) {
        if (!isCategory(item, {})) return false;
        auto id = item.find("object_id");
        return id != item.end() && id->is_number_integer() && id->get<std::int64_t>() == objectId;
    };
    // The current category is the newest one, so search from the end; it is nearly always the last
    // item, which keeps a lookup from rescanning every earlier sibling.
    std::uint64_t steps = 0;
    std::int32_t found = -1;
    for (std::size_t i = contents.size(); i-- > 0;) {
        ++steps;
        if (matches(contents[i])) {
            found = static_cast<std::int32_t>(i);
            break;
        }
    }
    countLookupSteps(steps);
    return found;
}

std::pair<JsonPointer, std::int32_t> TemplatePrintUtil::getKey(std::int32_t depth,
                                                               const std::vector<std::int32_t>& counters,
                                                               const OrderedJson& buffer, bool& notFound,
                                                               bool withIndex) {
    if (depth < 0 || static_cast<std::size_t>(depth) >= counters.size()) {
        throw std::length_error("template nesting too deep");
    }
    std::vector<std::int32_t> path(static_cast<std::size_t>(depth) + 1, -1);
    const OrderedJson* contents = &buffer.at("contents");
    for (std::int32_t level = 0; level <= depth; ++level) {
        if (!contents->is_array()) break;
        if (level != depth && contents->empty()) {
            notFound = true;
            return {JsonPointer(), -1};
        }
        // The category at `depth` itself only gives the position; the pointer ends above it.
        if (level == depth && !withIndex) break;
        const std::int32_t found = contents->empty() ? -1 : findCategory(*contents, counters[level]);
        path[static_cast<std::size_t>(level)] = found;
        if (found >= 0) {
            const OrderedJson& category = (*contents)[static_cast<std::size_t>(found)];
            auto inner = category.find("contents");
            if (inner == category.end()) break;
            contents = &*inner;
        }
    }
    return {createKey(path, depth), path[static_cast<std::size_t>(depth)]};
}

JsonPointer TemplatePrintUtil::createKey(const std::vector<std::int32_t>& path, std::int32_t depth) {
    JsonPointer pointer;
    pointer /= "contents";
    for (std::int32_t level = 0; level < depth && static_cast<std::size_t>(level) < path.size(); ++level) {
        // A level whose category was not found keeps -1, which no array accepts as an index.
        pointer /= std::to_string(path[static_cast<std::size_t>(level)]);
        pointer /= "contents";
    }
    return pointer;
}

SpecifierMatch TemplatePrintUtil::findReplacingSpecifier(const std::string& content, std::size_t from) {
    SpecifierMatch match;
    if (from >= content.size() || content.size() - from < 2) return match;
    std::size_t start = content.find("${", from);
    if (start == std::string::npos) return match;
    if (start + 2 < content.size() && content[start + 2] == ';') {
        match.kind = SpecifierMatch::Kind::escape;
        match.start = start;
        match.end = start + 3;
        return match;
    }
    std::size_t searchFrom = start + 2;
    std::size_t close = std::string::npos;
    while (true) {
        std::size_t escaped = content.find("\\}", searchFrom);
        close = content.find('}', searchFrom);
        if (close == std::string::npos) return match;
        if (escaped != std::string::npos && escaped < close) {
            searchFrom = escaped + 2;
            continue;
        }
        break;
    }
    match.kind = SpecifierMatch::Kind::specifier;
    match.start = start;
    match.end = close + 1;
    match.text = content.substr(start + 2, close - start - 2);
    return match;
}

std::string TemplatePrintUtil::decodeSpecifier(const std::string& specifier) {
    return EscapeUtil::decodeSemicolonEscape(EscapeUtil::decodeParenthesisEscape(specifier));
}

std::vector<std::string> TemplatePrintUtil::extractReplacingSpecifier(const std::string& content) {
    std::vector<std::string> specifiers;
    std::size_t position = 0;
    while (true) {
        SpecifierMatch match = findReplacingSpecifier(content, position);
        if (match.kind == SpecifierMatch::Kind::none) break;
        position = match.end;
        if (match.kind == SpecifierMatch::Kind::escape) continue;
        std::string decoded = decodeSpecifier(match.text);
        if (!VelmarCommandParser::StrUtil::isAsciiString(decoded))
            throw TemplatePrintException::nonAsciiSpecifier();
        specifiers.push_back(std::move(decoded));
    }
    return specifiers;
}

std::pair<std::string, std::string> TemplatePrintUtil::getReplacingSpecifierPair(
    const std::string& specifier) {
    std::vector<std::string> parts = split(specifier, "%", 1);
    if (parts.size() < 2) return {parts.empty() ? std::string() : parts[0], std::string()};
    return {parts[0], parts[1]};
}

std::vector<std::string> TemplatePrintUtil::extractKeySpecifierList(
    const std::vector<std::string>& specifiers) {
    std::vector<std::string> keys;
    keys.reserve(specifiers.size());
    for (const auto& specifier : specifiers) keys.push_back(getReplacingSpecifierPair(specifier).first);
    return keys;
}

std::vector<std::string> TemplatePrintUtil::split(const std::string& text, const std::string& delimiter,
                                                  std::int32_t maxCount) {
    std::vector<std::string> parts;
    if (delimiter.empty()) return {text};
    const std::string escape = "\\" + delimiter;
    std::string rest = text;
    std::size_t position = 0;
    std::int32_t splits = 0;
    while (true) {
        std::size_t escaped = rest.find(escape, position);
        std::size_t cut = rest.find(delimiter, position);
        if (cut == std::string::npos) break;
        if (escaped != std::string::npos && escaped < cut) {
            position = escaped + escape.size();
            continue;
        }
        if (maxCount >= 0 && splits >= maxCount) break;
        parts.push_back(rest.substr(0, cut));
        rest = rest.substr(cut + delimiter.size());
        position = 0;
        ++splits;
    }
    parts.push_back(std::move(rest));
    return parts;
}

namespace {
thread_local std::uint64_t lookupStepCount = 0;
}  // namespace

std::uint64_t TemplatePrintUtil::lookupSteps() noexcept {
    return lookupStepCount;
}

void TemplatePrintUtil::countLookupSteps(std::uint64_t steps) noexcept {
    lookupStepCount += steps;
}

}  // namespace TemplatePrint
