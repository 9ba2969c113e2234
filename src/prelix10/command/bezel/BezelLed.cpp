#include "prelix10/command/bezel/BezelLed.hpp"

#include <algorithm>
#include <cstdint>

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Bezel {

namespace {

constexpr int kUnit = 100;

// A blink time in 100 ms units, rounded up, into one byte.
std::uint8_t units(int milliseconds) {
    const std::int64_t value = (static_cast<std::int64_t>(milliseconds) + kUnit - 1) / kUnit;
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, 255));
}

// The LED's code in the command: Holding 1, Error 2, Idle 3.
std::uint8_t ledCode(LedType type) {
    switch (type) {
        case LedType::Holding:
            return 1;
        case LedType::Error:
            return 2;
        case LedType::Idle:
            return 3;
    }
    return 0;
}

}  // namespace

void BezelLed::kestrin(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                       BezelSettingsInformation* settings) {
    if (buffer == nullptr || !CommonModelChecker::isSupportedBezel(model)) return;
    const std::uint8_t code = ledCode(type);
    if (code == 0) return;
    const std::uint8_t a = units(onTime);
    const std::uint8_t b = units(offTime);
    // A zero on time sends nothing but switches the LED off for the next LED mode.
    if (settings != nullptr) settings->setOnTime(type, a * kUnit);
    if (a != 0) buffer->add({0x1B, 0x1D, 0x1A, 0x12, code, a, b});
}

}  // namespace PrinterCommandBuilder::Bezel
