#include "prelix10/command/printer/Text.hpp"

#include <algorithm>
#include <cstdint>

#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/CharacterSpace.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/WidthSpecifiedTextConverter.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

using VelmarCommandParser::CharStruct;
using VelmarCommandParser::StrConverter;
using ConverterEncode = VelmarCommandParser::Encode;

enum class TextSupport { None, CodePage, Utf8 };

TextSupport textSupport(PrinterModel model) {
    switch (model) {
        case PrinterModel::Harlo219KK:
        case PrinterModel::Harlo599KZ:
        case PrinterModel::Harlo599KZ_XW:
        case PrinterModel::Rovan:
        case PrinterModel::Telva_7:
        case PrinterModel::Telva_6:
        case PrinterModel::Ginor_7:
        case PrinterModel::Ginor_6:
        case PrinterModel::Kelto59KK:
            return TextSupport::Utf8;
        case PrinterModel::OEM:
        case PrinterModel::Harlo399KK:
        case PrinterModel::Harlo499KK:
        case PrinterModel::Zunel59:
        case PrinterModel::Wexal_X759k:
        case PrinterModel::Wexal_X769k:
        case PrinterModel::Wexal_D699:
        case PrinterModel::Wexal_D899k:
        case PrinterModel::Wexal_R799:
        case PrinterModel::Wexal_R699:
        case PrinterModel::Kelto59:
        case PrinterModel::Harlo986:
        case PrinterModel::Dalix399:
        case PrinterModel::Vorne199:
        case PrinterModel::Pundo5_7GG:
        case PrinterModel::Pundo5_6GG:
        case PrinterModel::Pundo5_8G:
        case PrinterModel::Pundo1_6G:
            return TextSupport::CodePage;
        default:
            return TextSupport::None;
    }
}

// The content with its \xHH escapes decoded into `decoded`, or the content itself when it has none.
// The decoded length is kept, so an escaped NUL does not cut off the rest of the text (the
// converter skips NUL characters).
const std::string& decodedText(const std::string& content, std::string& decoded) {
    if (content.find('\\') == std::string::npos) return content;
    ByteBuffer scratch;
    VelmarCommandParser::StrUtil::decodeEscape(content, &scratch);
    const std::vector<uint8_t> bytes = scratch.toVector();
    decoded.assign(bytes.begin(), bytes.end());
    return decoded;
}

// The characters' bytes, gathered in blocks before they go to the buffer.
void appendCharacters(ByteBuffer* buffer, const std::vector<CharStruct>& characters) {
    std::uint8_t block[512];
    std::size_t used = 0;
    for (const CharStruct& character : characters) {
        const std::size_t size = std::min<std::size_t>(character.size, character.bytes.size());
        if (used + size > sizeof block) {
            buffer->add(block, used);
            used = 0;
        }
        std::copy_n(character.bytes.data(), size, block + used);
        used += size;
    }
    buffer->add(block, used);
}

// A text that converted to something leaves the print position at a line head when the last byte
// it sent is a line feed. Characters that were not sent (NUL, characters without a form in the
// encoding) do not count.
void updateLineHead(const std::vector<CharStruct>& characters, bool& isLineHead) {
    if (characters.empty()) return;
    const CharStruct& last = characters.back();
    const std::size_t size = std::min<std::size_t>(last.size, last.bytes.size());
    isLineHead = size > 0 && last.bytes[size - 1] == 0x0A;
}

// The converter's encodings for a CJK priority list (values outside the map are skipped), then
// the code page. Trying an encoding a second time finds nothing new, so converting with the list of
// distinct values gives the same characters as with the whole list.
std::vector<ConverterEncode> encodeList(const std::vector<Encode>& priority) {
    std::vector<ConverterEncode> list;
    for (const Encode encode : priority) {
        switch (encode) {
            case Encode::TraditionalChinese:
                list.push_back(ConverterEncode::TraditionalChinese);
                break;
            case Encode::SimplifiedChinese:
                list.push_back(ConverterEncode::SimplifiedChinese);
                break;
            case Encode::Japanese:
                list.push_back(ConverterEncode::Japanese);
                break;
            case Encode::Korean:
                list.push_back(ConverterEncode::Korean);
                break;
            default:
                break;
        }
    }
    list.push_back(ConverterEncode::CodePage);
    return list;
}

// The text in the one encoding of the settings, sent as it converts; the print position is at a line
// head afterwards when the last byte sent is a line feed (a text that sends nothing leaves it as it was).
void singleEncodingText(ByteBuffer* buffer, const std::string& text, ConverterEncode encode, bool& isLineHead,
                        VelmarCommandParser::VelmarCommandParserEmulation emulation) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::min<std::size_t>(text.size(), 4096));
    StrConverter::fromUtf8toPrinterBytes(text, encode, bytes, emulation);
    if (bytes.empty()) return;
    buffer->add(bytes.data(), bytes.size());
    isLineHead = bytes.back() == 0x0A;
}

void singleEncodingText(ByteBuffer* buffer, const std::string& content, PrintSettingsInformation* settings,
                        VelmarCommandParser::VelmarCommandParserEmulation emulation) {
    if (buffer == nullptr || settings == nullptr) return;
    std::string decoded;
    singleEncodingText(buffer, decodedText(content, decoded), settings->secondPriorityCharacterEncoding,
                       settings->isLineHead, emulation);
}

}  // namespace

void Text::orvoCommon(ByteBuffer* buffer, const std::string& content, TextWidthParameter widthParameter,
                      PrinterModel model, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    const TextSupport support = textSupport(model);
    if (support == TextSupport::None) return;
    std::string decoded;
    const std::string& text = decodedText(content, decoded);
    if (support == TextSupport::CodePage) {
        singleEncodingText(buffer, text, settings->secondPriorityCharacterEncoding, settings->isLineHead,
                           VelmarCommandParser::kEmulationCodePagePrinter);
        return;
    }
    std::vector<CharStruct> characters;
    characters.reserve(std::min<std::size_t>(text.size(), 4096));
    bool isLineHead = settings->isLineHead;
    // Page 128 is the printer's UTF-8 mode.
    buffer->add({0x1B, 0x1D, 0x74, 0x80});
    const std::vector<ConverterEncode> encodes =
        settings->cjkCharacterPriority.empty() ? createDefaultEncodeList()
                                               : encodeList(settings->cjkCharacterPriority.distinctValues());
    StrConverter::fromUtf8toUtf8(text, encodes, characters, VelmarCommandParser::kEmulationCodeUtf8,
                                 settings->ambiguousCharacterWidthType);
    CharacterSpace::orvoCommon(buffer, settings->characterSpace, settings, model);
    if (MethodChecker::isSpecifyingPrintWidthSupported(model) && widthParameter.widthSpecified) {
        if (!characters.empty() || widthParameter.printType == TextPrintType::Always) {
            const WidthSpecifiedTextConverter converter(settings, model);
            converter.convert(buffer, characters, widthParameter, isLineHead);
        }
    } else {
        appendCharacters(buffer, characters);
        updateLineHead(characters, isLineHead);
    }
    settings->isLineHead = isLineHead;
}

void Text::escpos(ByteBuffer* buffer, const std::string& content, PrinterModel,
                  PrintSettingsInformation* settings) {
    singleEncodingText(buffer, content, settings, VelmarCommandParser::kEmulationCodeEscpos);
}

void Text::escposMobile(ByteBuffer* buffer, const std::string& content, PrinterModel,
                        PrintSettingsInformation* settings) {
    singleEncodingText(buffer, content, settings, VelmarCommandParser::kEmulationCodeEscposMobile);
}

void Text::orvoGraphic(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

void Text::orvoYalme1(ByteBuffer*, const std::string&, PrinterModel, PrintSettingsInformation*) {}

std::vector<VelmarCommandParser::Encode> Text::createDefaultEncodeList() {
    return {ConverterEncode::SimplifiedChinese, ConverterEncode::TraditionalChinese,
            ConverterEncode::Japanese, ConverterEncode::Korean, ConverterEncode::CodePage};
}

std::vector<VelmarCommandParser::Encode> Text::createEncodeList(PrintSettingsInformation* settings) {
    if (settings == nullptr) return encodeList({});
    return encodeList(settings->cjkCharacterPriority.values());
}

}  // namespace PrinterCommandBuilder::Printer
