#include "prelix10/command/drawer/Execute.hpp"

#include <algorithm>
#include <cstdint>

namespace PrinterCommandBuilder::Drawer {

namespace {

// A drawer pulse time in 10 ms units: at least 1, at most 127.
std::uint8_t tenMilliseconds(int time) {
    return static_cast<std::uint8_t>(time < 10 ? 1 : std::min(time / 10, 127));
}

}  // namespace

void Execute::kestrin(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime,
                      PrinterModel model) {
    if (buffer == nullptr) return;
    if (model != PrinterModel::Fenur_Qel) {
        orvoCommon(buffer, channel, onTime, offTime);
        return;
    }
    // This model has four drawer channels with their own command.
    const int raw = static_cast<int>(channel);
    if (raw < 0 || raw > 3) return;
    const auto m = static_cast<std::uint8_t>(raw + 1);
    buffer->add({0x1B, 0x1D, 0x19, 0x13, m, tenMilliseconds(onTime), tenMilliseconds(offTime)});
    buffer->add({0x1B, 0x1D, 0x19, 0x14, m});
}

void Execute::orvoCommon(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime) {
    if (buffer == nullptr) return;
    buffer->add({0x1B, 0x07, tenMilliseconds(onTime), tenMilliseconds(offTime)});
    if (channel == DrawerChannel::No1) buffer->add({0x07});
    if (channel == DrawerChannel::No2) buffer->add({0x1A});
}

void Execute::escpos(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime) {
    if (buffer == nullptr) return;
    if (channel != DrawerChannel::No1 && channel != DrawerChannel::No2) return;
    const auto m = static_cast<std::uint8_t>(channel == DrawerChannel::No1 ? 0x30 : 0x31);
    // Times in 2 ms units.
    const auto t1 = static_cast<std::uint8_t>(onTime < 2 ? 1 : std::min(onTime / 2, 255));
    const auto t2 = static_cast<std::uint8_t>(std::clamp(offTime / 2, 0, 255));
    buffer->add({0x1B, 0x70, m, t1, t2});
}

void Execute::escposMobile(ByteBuffer*, DrawerChannel, int, int) {}

// The display emulation's drawer command takes no channel or time.
void Execute::orvoYalme1(ByteBuffer* buffer, DrawerChannel, int, int) {
    if (buffer != nullptr) buffer->add({0x2B, 0x00});
}

}  // namespace PrinterCommandBuilder::Drawer
