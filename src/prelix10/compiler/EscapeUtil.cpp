#include "prelix10/compiler/EscapeUtil.hpp"

#include "prelix10/command/StrUtil.hpp"

namespace TemplatePrint {

std::string EscapeUtil::decodeParenthesisEscape(const std::string& text) {
    return VelmarCommandParser::StrUtil::repace(text, "\\}", "}");
}

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
    return VelmarCommandParser::StrUtil::repace(VelmarCommandParser::StrUtil::repace(text, "\\.", "."), "\\%",
                                                "%");
}

}  // namespace TemplatePrint
