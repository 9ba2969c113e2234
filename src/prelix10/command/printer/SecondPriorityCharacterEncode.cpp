#include "prelix10/command/printer/SecondPriorityCharacterEncode.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void SecondPriorityCharacterEncode::orvoCommon(ByteBuffer*, VelmarCommandParser::Encode encode,
                                               PrintSettingsInformation* settings, PrinterModel model) {
    if (settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    settings->secondPriorityCharacterEncoding = encode;
}

void SecondPriorityCharacterEncode::orvoGraphic(ByteBuffer*, VelmarCommandParser::Encode encode,
                                                PrintSettingsInformation* settings, PrinterModel) {
    if (settings) settings->secondPriorityCharacterEncoding = encode;
}

void SecondPriorityCharacterEncode::escpos(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                                           PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    if (encode == VelmarCommandParser::Encode::CodePage)
        buffer->add({0x1C, 0x2E});
    else
        buffer->add({0x1C, 0x26});
    settings->secondPriorityCharacterEncoding = encode;
}

void SecondPriorityCharacterEncode::escposMobile(ByteBuffer* buffer, VelmarCommandParser::Encode encode,
                                                 PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add(
        {0x1C, 0x43, static_cast<std::uint8_t>(encode == VelmarCommandParser::Encode::CodePage ? 0 : 1)});
    settings->secondPriorityCharacterEncoding = encode;
}

void SecondPriorityCharacterEncode::orvoYalme1(ByteBuffer*, VelmarCommandParser::Encode,
                                               PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
