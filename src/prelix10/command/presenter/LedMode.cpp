#include "prelix10/command/presenter/LedMode.hpp"

#include <cstdint>

namespace PrinterCommandBuilder::Presenter {

namespace {

// The LED mode from which LEDs have a stored blink time: Holding and Error both 3 (4 with Idle
// too, where the printer knows it), one of them alone 1 or 2, otherwise 0.
std::uint8_t mode(PresenterSettingsInformation& settings, bool withIdle) {
    const bool holding = settings.onTime(LedType::Holding) >= 1;
    const bool error = settings.onTime(LedType::Error) >= 1;
    const bool idle = settings.onTime(LedType::Idle) >= 1;
    if (holding && error) return withIdle && idle ? 4 : 3;
    if (holding) return 1;
    if (error) return 2;
    return 0;
}

}  // namespace

void LedMode::kestrin(ByteBuffer* buffer, PrinterModel model, PresenterSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    if (model != PrinterModel::Pundo5_7GG && model != PrinterModel::Pundo5_6GG) return;
    buffer->add({0x1B, 0x1D, 0x1A, 0x11, mode(*settings, true), 0x00, 0x00});
}

void LedMode::orvoLine(ByteBuffer* buffer, PrinterModel model, PresenterSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr || model != PrinterModel::Vorne199) return;
    buffer->add({0x1B, 0x1D, 0x1A, 0x11, mode(*settings, false), 0x00, 0x00});
}

}  // namespace PrinterCommandBuilder::Presenter
