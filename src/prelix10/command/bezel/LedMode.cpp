#include "prelix10/command/bezel/LedMode.hpp"

#include <cstdint>

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Bezel {

// The LED mode from which LEDs have a stored blink time: all three 4, Holding and Error 3, one of
// them alone 1 or 2, otherwise 0 (Idle alone counts for nothing).
void LedMode::kestrin(ByteBuffer* buffer, PrinterModel model, BezelSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr || !CommonModelChecker::isSupportedBezel(model)) return;
    const bool holding = settings->onTime(LedType::Holding) >= 1;
    const bool error = settings->onTime(LedType::Error) >= 1;
    const bool idle = settings->onTime(LedType::Idle) >= 1;
    std::uint8_t k = 0;
    if (holding && error)
        k = idle ? 4 : 3;
    else if (holding)
        k = 1;
    else if (error)
        k = 2;
    buffer->add({0x1B, 0x1D, 0x1A, 0x11, k, 0x00, 0x00});
}

}  // namespace PrinterCommandBuilder::Bezel
