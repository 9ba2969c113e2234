#include "prelix10/command/printer/SeparatorFeed.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

void feed(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model,
          std::initializer_list<uint8_t> command) {
    if (buffer == nullptr || settings == nullptr || !MethodChecker::isSeparatorFeedSupported(model)) return;
    buffer->add(command);
    settings->isLineHead = true;
}

}  // namespace

void SeparatorFeed::orvoCommon(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    feed(buffer, settings, model, {0x0C});
}

void SeparatorFeed::escpos(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    feed(buffer, settings, model, {0x0C});
}

void SeparatorFeed::escposMobile(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    feed(buffer, settings, model, {0x1B, 0x7A, 0x1B, 0x79});
}

void SeparatorFeed::orvoGraphic(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    feed(buffer, settings, model, {0x0C});
}

void SeparatorFeed::orvoYalme1(ByteBuffer*, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
