#include "prelix10/command/printer/Cut.hpp"

#include <string>

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void Cut::orvoCommon(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings,
                     PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    uint8_t n = 0x03;
    switch (type) {
        case CutType::PartialDirect:
            n = 0x01;
            break;
        case CutType::Full:
            n = 0x02;
            break;
        case CutType::FullDirect:
            n = 0x00;
            break;
        // The kiosk printers have no tear-off position: they cut partially instead.
        case CutType::TearOff:
            n = CommonModelChecker::isTamrelPundo(model) ? 0x03 : 0x74;
            break;
        default:
            n = 0x03;
            break;
    }
    buffer->add({0x1B, 0x64, n});
    settings->isLineHead = true;
}

void Cut::orvoGraphic(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    std::string code = "13";
    switch (type) {
        case CutType::PartialDirect:
            code = "12";
            break;
        case CutType::Full:
            code = "9";
            break;
        case CutType::FullDirect:
            code = "8";
            break;
        default:
            code = "13";
            break;
    }
    buffer->add({0x1B, 0x2A, 0x72, 0x65});
    buffer->add(code.data(), code.size());
    buffer->add({0x00, 0x1B, 0x0C, 0x19});
    settings->isLineHead = true;
}

void Cut::escpos(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    uint8_t m = 0x42;
    switch (type) {
        case CutType::PartialDirect:
            m = 0x01;
            break;
        case CutType::Full:
            m = 0x41;
            break;
        case CutType::FullDirect:
            m = 0x00;
            break;
        default:
            m = 0x42;
            break;
    }
    buffer->add({0x1D, 0x56, m, 0x00});
    settings->isLineHead = true;
}

void Cut::escposMobile(ByteBuffer* buffer, CutType type, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    // The mobile printers tear off by hand: feed the last line past the tear bar unless told not to.
    if (type == CutType::PartialDirect || type == CutType::FullDirect) {
        buffer->add({0x0A});
    } else {
        buffer->add({0x0A, 0x0A, 0x0A, 0x0A});
    }
    buffer->add({0x1B, 0x7A, 0x1B, 0x79});
    settings->isLineHead = true;
}

void Cut::orvoYalme1(ByteBuffer*, CutType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
