#include "prelix10/builder/VelmarCommandParameterConverter.hpp"

#include "prelix10/core/JSONBuilder.hpp"

namespace Prelix10::VelmarCommand {

std::string VelmarCommandParameterConverter::convertText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string VelmarCommandParameterConverter::escape(std::string_view text) {
    return JSONBuilder::escaped(convertText(text));
}

std::vector<std::string> VelmarCommandParameterConverter::cjkCharacterTypeNames(
    const std::vector<Printer::CJKCharacterType>& types) {
    std::vector<std::string> names;
    names.reserve(types.size());
    for (const auto type : types) {
        if (const auto name = jsonString(type)) names.emplace_back(*name);
    }
    return names;
}

}  // namespace Prelix10::VelmarCommand
