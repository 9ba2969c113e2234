#include "prelix10/command/display/Text.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

namespace {

using ConverterEncode = VelmarCommandParser::Encode;

ConverterEncode converterEncode(Encode encode) {
    switch (encode) {
        case Encode::TraditionalChinese:
            return ConverterEncode::TraditionalChinese;
        case Encode::SimplifiedChinese:
            return ConverterEncode::SimplifiedChinese;
        case Encode::Japanese:
            return ConverterEncode::Japanese;
        case Encode::Korean:
            return ConverterEncode::Korean;
        default:
            return ConverterEncode::CodePage;
    }
}

// The display's selection byte for a two-byte encoding; 0 for the code page, which needs none.
std::uint8_t selection(Encode encode) {
    switch (encode) {
        case Encode::Japanese:
            return 0x3A;
        case Encode::SimplifiedChinese:
            return 0x3B;
        case Encode::TraditionalChinese:
            return 0x3C;
        case Encode::Korean:
            return 0x3D;
        default:
            return 0;
    }
}

// The content with its \xHH escapes decoded, keeping the decoded length: an escaped NUL does not
// cut off the rest of the text (the converter skips NUL characters).
std::string decodedText(const std::string& content) {
    if (content.find('\\') == std::string::npos) return content;
    ByteBuffer scratch;
    VelmarCommandParser::StrUtil::decodeEscape(content, &scratch);
    const std::vector<std::uint8_t> bytes = scratch.toVector();
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

void Text::orvoCommon(ByteBuffer* buffer, const std::string& content, PrinterModel,
                      DisplaySettingsInformation* settings) {
    if (buffer == nullptr) return;
    const Encode encode = settings != nullptr ? settings->encode : Encode::CodePage;
    std::vector<std::uint8_t> display;
    if (const std::uint8_t e = selection(encode)) display.insert(display.end(), {0x1B, 0x52, e});

    std::vector<VelmarCommandParser::CharStruct> characters;
    VelmarCommandParser::StrConverter::fromUtf8toDisplay(decodedText(content), converterEncode(encode),
                                                         characters);
    for (const auto& character : characters) {
        const auto size = std::min<std::uint64_t>(character.size, character.bytes.size());
        display.insert(display.end(), character.bytes.begin(), character.bytes.begin() + size);
    }
    Converter::savePrinterCommand(reinterpret_cast<const char*>(display.data()), display.size(), buffer);
}

void Text::kestrin(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                   DisplaySettingsInformation* settings) {
    orvoCommon(buffer, content, model, settings);
}

void Text::orvoGraphic(ByteBuffer* buffer, const std::string& content, PrinterModel model,
                       DisplaySettingsInformation* settings) {
    orvoCommon(buffer, content, model, settings);
}

// The other emulations drive no customer display.
void Text::orvoLine(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoDotImpact(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::orvoYalme1(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::escpos(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

void Text::escposMobile(ByteBuffer*, const std::string&, PrinterModel, DisplaySettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Display
