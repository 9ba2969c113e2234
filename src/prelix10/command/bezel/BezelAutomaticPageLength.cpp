#include "prelix10/command/bezel/BezelAutomaticPageLength.hpp"

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Bezel {

void BezelAutomaticPageLength::kestrin(ByteBuffer* buffer, bool enable, PrinterModel model) {
    if (buffer == nullptr || !CommonModelChecker::isSupportedBezel(model)) return;
    buffer->add({0x1B, 0x16, 0x12, static_cast<std::uint8_t>(enable ? 0x01 : 0x00)});
}

}  // namespace PrinterCommandBuilder::Bezel
