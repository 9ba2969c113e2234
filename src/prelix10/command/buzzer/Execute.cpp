#include "prelix10/command/buzzer/Execute.hpp"

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

void append(ByteBuffer* buffer, std::uint8_t m, int repeat) {
    buffer->add({0x1B, 0x1D, 0x19, 0x12, m, static_cast<std::uint8_t>(std::clamp(repeat, 1, 20)), 0x00});
}

}  // namespace

void Execute::orvoCommon(ByteBuffer* buffer, BuzzerChannel channel, int repeat, PrinterModel model) {
    if (buffer == nullptr) return;
    if (const std::uint8_t m = channelByte(channel, model)) append(buffer, m, repeat);
}

void Execute::escpos(ByteBuffer* buffer, BuzzerChannel channel, int repeat) {
    if (buffer == nullptr) return;
    if (const std::uint8_t m = channelByte(channel, PrinterModel::Unknown)) append(buffer, m, repeat);
}

void Execute::escposMobile(ByteBuffer*, BuzzerChannel, int) {}

void Execute::orvoYalme1(ByteBuffer*, BuzzerChannel, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
