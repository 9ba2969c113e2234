// Arbitrary bytes as document text: the converter, the text command and the width layout must
// never read past the text or emit more than a bounded amount per input byte, and the byte form of the
// conversion must send what the character form does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/Text.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t control = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<VelmarCommandParser::CharStruct> out;
    const std::vector<VelmarCommandParser::Encode> encodes = Text::createDefaultEncodeList();
    VelmarCommandParser::StrConverter::fromUtf8(
        text, encodes, out, (control & 1) ? VelmarCommandParser::kEmulationCodeEscposMobile : 0,
        (control & 2) ? AmbiguousCharacterWidthType::Full : AmbiguousCharacterWidthType::Half, control & 4,
        control & 8);
    if (out.size() > text.size()) __builtin_trap();

    // The byte form of the one-encoding conversion sends exactly the character form's bytes.
    const auto encode = encodes[(control >> 4) % encodes.size()];
    const auto emulation = (control & 1) ? VelmarCommandParser::kEmulationCodeEscposMobile
                                         : VelmarCommandParser::kEmulationCodeEscpos;
    std::vector<VelmarCommandParser::CharStruct> characters;
    VelmarCommandParser::StrConverter::fromUtf8toPrinter(text, encode, characters, emulation);
    std::vector<uint8_t> expected;
    for (const auto& c : characters) expected.insert(expected.end(), c.bytes.begin(), c.bytes.begin() + c.size);
    std::vector<uint8_t> bytes;
    VelmarCommandParser::StrConverter::fromUtf8toPrinterBytes(text, encode, bytes, emulation);
    if (bytes != expected) __builtin_trap();

    PrintSettingsInformation settings;
    TextWidthParameter width;
    width.widthSpecified = control & 16;
    width.width = control >> 5;
    width.ellipsizeType = static_cast<TextEllipsizeType>(control & 3);
    width.alignment = static_cast<TextAlignment>((control >> 2) % 3);
    ByteBuffer buffer;
    Text::orvoCommon(&buffer, text, width, PrinterModel::Harlo599KZ, &settings);
    Text::escposMobile(&buffer, text, PrinterModel::Wexal_X759k, &settings);
    return 0;
}
