#include "prelix10/command/buzzer/ExecuteTime.hpp"

#include <algorithm>
#include <cstdint>

namespace PrinterCommandBuilder::Buzzer {

namespace {

// The channel byte, or 0 for a channel the model lacks: two channels, four on Fenur_Qel.
std::uint8_t channelByte(BuzzerChannel channel, PrinterModel model) {
    const int raw = static_cast<int>(channel);
    const int last = model == PrinterModel::Fenur_Qel ? 3 : 1;
    return raw >= 0 && raw <= last ? static_cast<std::uint8_t>(raw + 1) : 0;
}

// Times in 20 ms units; the on time is at least 1.
void append(ByteBuffer* buffer, std::uint8_t m, int onTime, int offTime) {
    const auto a = static_cast<std::uint8_t>(onTime < 20 ? 1 : std::min(onTime / 20, 255));
    const auto b = static_cast<std::uint8_t>(std::clamp(offTime / 20, 0, 255));
    buffer->add({0x1B, 0x1D, 0x19, 0x11, m, a, b});
}

}  // namespace

void ExecuteTime::orvoCommon(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime,
                             PrinterModel model) {
    if (buffer == nullptr) return;
    if (const std::uint8_t m = channelByte(channel, model)) append(buffer, m, onTime, offTime);
}

void ExecuteTime::escpos(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime) {
    if (buffer == nullptr) return;
    if (const std::uint8_t m = channelByte(channel, PrinterModel::Unknown))
        append(buffer, m, onTime, offTime);
}

void ExecuteTime::escposMobile(ByteBuffer*, BuzzerChannel, int, int) {}

void ExecuteTime::orvoYalme1(ByteBuffer*, BuzzerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
