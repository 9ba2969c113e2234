#include "prelix10/command/presenter/PresenterLed.hpp"

#include <algorithm>
#include <cstdint>

namespace PrinterCommandBuilder::Presenter {

namespace {

// A blink time in units of unit milliseconds, rounded up, into one byte.
std::uint8_t units(int milliseconds, int unit) {
    const std::int64_t value = (static_cast<std::int64_t>(milliseconds) + unit - 1) / unit;
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

// The LED's code in the command: Holding 1, Error 2, Idle 3 (0: the printer has no such LED).
std::uint8_t ledCode(LedType type, bool withIdle) {
    switch (type) {
        case LedType::Holding:
            return 1;
        case LedType::Error:
            return 2;
        case LedType::Idle:
            return withIdle ? 3 : 0;
    }
    return 0;
}

void blink(ByteBuffer* buffer, LedType type, int onTime, int offTime, int unit, bool withIdle,
           PresenterSettingsInformation* settings) {
    const std::uint8_t code = ledCode(type, withIdle);
    if (code == 0) return;
    const std::uint8_t a = units(onTime, unit);
    const std::uint8_t b = units(offTime, unit);
    // A zero on time sends nothing but switches the LED off for the next LED mode.
    if (settings != nullptr) settings->setOnTime(type, a * unit);
    if (a != 0) buffer->add({0x1B, 0x1D, 0x1A, 0x12, code, a, b});
}

bool isKestrinLedModel(PrinterModel model) {
    return model == PrinterModel::Pundo5_7GG || model == PrinterModel::Pundo5_6GG;
}

}  // namespace

void PresenterLed::kestrin(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                           PresenterSettingsInformation* settings) {
    if (buffer == nullptr || !isKestrinLedModel(model)) return;
    blink(buffer, type, onTime, offTime, 100, true, settings);
}

void PresenterLed::orvoLine(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                            PresenterSettingsInformation* settings) {
    if (buffer == nullptr || model != PrinterModel::Vorne199) return;
    blink(buffer, type, onTime, offTime, 50, false, settings);
}

}  // namespace PrinterCommandBuilder::Presenter
