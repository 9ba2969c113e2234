#include "compiler/EscapeUtil.hpp"

namespace TemplatePrint {

namespace {

// Replaces every occurrence of a non-empty `from`, resuming after each inserted `to`.
std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    std::size_t position = 0;
    while ((position = text.find(from, position)) != std::string::npos) {
        text.replace(position, from.size(), to);
        position += to.size();
    }
    return text;
}

}  // namespace

std::string EscapeUtil::decodeParenthesisEscape(const std::string& text) { return replaceAll(text, "\\}", "}"); }

std::string EscapeUtil::decodeSemicolonEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ';') {
            out += ';';
            ++i;
        } else if (text[i] != ';') {
            out += text[i];
        }
    }
    return out;
}

std::string EscapeUtil::decodePeriodPercentEscape(const std::string& text) {
    return replaceAll(replaceAll(text, "\\.", "."), "\\%", "%");
}

}  // namespace TemplatePrint
