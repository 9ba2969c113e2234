#include "prelix10/command/presenter/PresenterMode.hpp"

#include <cstdint>

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Presenter {

void PresenterMode::orvoCommon(ByteBuffer* buffer, bool loop, bool hold, bool retract, int holdTime,
                               PrinterModel model) {
    if (buffer == nullptr || !CommonModelChecker::isSupportedPresenter(model)) return;
    // The hold time in half seconds, rounded up: 0 holds for ever, 1 to 255 is the time. Times that
    // round up past one byte are sent as the longest time.
    std::uint8_t t;
    if (holdTime == -1)
        t = 0;
    else if (holdTime < 500)
        t = 1;
    else if (holdTime >= 127500)
        t = 255;
    else
        t = static_cast<std::uint8_t>((holdTime + 499) / 500);
    std::uint8_t m = 4;
    if (hold) m = loop ? (retract ? 0 : 1) : (retract ? 2 : 3);
    buffer->add({0x1B, 0x16, 0x31, t, 0x1B, 0x16, 0x32, m});
}

}  // namespace PrinterCommandBuilder::Presenter
