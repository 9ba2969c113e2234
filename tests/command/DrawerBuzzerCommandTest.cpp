#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "prelix10/command/BuilderFactory.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/buzzer/Builder.hpp"
#include "prelix10/command/drawer/Builder.hpp"

using namespace PrinterCommandBuilder;
using Buzzer::BuzzerChannel;
using Drawer::DrawerChannel;
using TestHex::hex;

namespace {

std::string run(const char* emulation, PrinterModel model, const std::function<void(RootBuilder&)>& action) {
    ByteBuffer buffer;
    auto root = BuilderFactory(emulation, &buffer, model).create();
    EXPECT_NE(root, nullptr) << emulation;
    if (root == nullptr) return "?";
    action(*root);
    return hex(buffer);
}

std::function<void(RootBuilder&)> drawer(DrawerChannel channel, int onTime, int offTime) {
    return [=](RootBuilder& r) { r.getDrawerBuilder()->appendActionExecute(channel, onTime, offTime); };
}

std::function<void(RootBuilder&)> buzzer(BuzzerChannel channel, int repeat) {
    return [=](RootBuilder& r) { r.getBuzzerBuilder()->appendActionExecute(channel, repeat); };
}

std::function<void(RootBuilder&)> buzzerTime(BuzzerChannel channel, int onTime, int offTime) {
    return [=](RootBuilder& r) { r.getBuzzerBuilder()->appendSetingExecuteTime(channel, onTime, offTime); };
}

constexpr PrinterModel kPlain = PrinterModel::Harlo599KZ;
constexpr PrinterModel kFourChannels = PrinterModel::Fenur_Qel;

}  // namespace

TEST(DrawerCommand, BytesPerEmulationAndModel) {
    struct Case {
        const char* emulation;
        PrinterModel model;
        std::function<void(RootBuilder&)> action;
        std::string bytes;
    } cases[] = {
        {"Kestrin", kPlain, drawer(DrawerChannel::No1, 200, 200), "1B 07 14 14 07"},
        {"Kestrin", kPlain, drawer(DrawerChannel::No2, 200, 200), "1B 07 14 14 1A"},
        // Other channels still send the timing prefix on the line-printer command.
        {"Kestrin", kPlain, drawer(DrawerChannel::No3, 200, 200), "1B 07 14 14"},
        {"Kestrin", kFourChannels, drawer(DrawerChannel::No1, 200, 200),
         "1B 1D 19 13 01 14 14 1B 1D 19 14 01"},
        {"Kestrin", kFourChannels, drawer(DrawerChannel::No4, 200, 200),
         "1B 1D 19 13 04 14 14 1B 1D 19 14 04"},
        {"Kestrin", kFourChannels, drawer(static_cast<DrawerChannel>(4), 200, 200), ""},
        // On times below 10 ms send 1; long times stop at 127 (1.27 s).
        {"OrvoLine", kPlain, drawer(DrawerChannel::No1, 5, 5), "1B 07 01 01 07"},
        {"OrvoLine", kPlain, drawer(DrawerChannel::No1, 5000, 5000), "1B 07 7F 7F 07"},
        {"OrvoLine", kPlain, drawer(DrawerChannel::No1, -100, 2147483647), "1B 07 01 7F 07"},
        {"OrvoDot", kPlain, drawer(DrawerChannel::No2, 100, 30), "1B 07 0A 03 1A"},
        {"OrvoGraphic", kFourChannels, drawer(DrawerChannel::No1, 200, 200), "1B 07 14 14 07"},
        {"EscPos", kPlain, drawer(DrawerChannel::No2, 100, 100), "1B 70 31 32 32"},
        {"EscPos", kPlain, drawer(DrawerChannel::No1, 1, -1), "1B 70 30 01 00"},
        {"EscPos", kPlain, drawer(DrawerChannel::No1, 600, -5), "1B 70 30 FF 00"},
        {"EscPos", kFourChannels, drawer(DrawerChannel::No3, 100, 100), ""},
        {"EscPosMobile", kPlain, drawer(DrawerChannel::No1, 200, 200), ""},
        {"OrvoYalme1", PrinterModel::Yalme1, drawer(DrawerChannel::No4, 1, 99999), "2B 00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.emulation, c.model, c.action), c.bytes) << c.emulation << " " << c.bytes;
}

TEST(BuzzerCommand, BytesPerEmulationAndModel) {
    struct Case {
        const char* emulation;
        PrinterModel model;
        std::function<void(RootBuilder&)> action;
        std::string bytes;
    } cases[] = {
        {"Kestrin", kPlain, buzzer(BuzzerChannel::No1, 3), "1B 1D 19 12 01 03 00"},
        {"Kestrin", kPlain, buzzer(BuzzerChannel::No2, 0), "1B 1D 19 12 02 01 00"},
        {"OrvoLine", kPlain, buzzer(BuzzerChannel::No1, 50), "1B 1D 19 12 01 14 00"},
        {"OrvoDot", kPlain, buzzer(BuzzerChannel::No3, 1), ""},
        {"OrvoGraphic", kFourChannels, buzzer(BuzzerChannel::No3, 1), "1B 1D 19 12 03 01 00"},
        {"Kestrin", kFourChannels, buzzer(BuzzerChannel::No4, 1), "1B 1D 19 12 04 01 00"},
        {"Kestrin", kFourChannels, buzzer(static_cast<BuzzerChannel>(-1), 1), ""},
        {"EscPos", kPlain, buzzer(BuzzerChannel::No2, 2), "1B 1D 19 12 02 02 00"},
        {"EscPos", kFourChannels, buzzer(BuzzerChannel::No3, 2), ""},
        {"EscPosMobile", kPlain, buzzer(BuzzerChannel::No1, 2), ""},
        {"OrvoYalme1", kPlain, buzzer(BuzzerChannel::No1, 2), ""},

        {"Kestrin", kPlain, buzzerTime(BuzzerChannel::No1, 200, 200), "1B 1D 19 11 01 0A 0A"},
        // Off times below 20 ms send 0, on times send at least 1.
        {"Kestrin", kPlain, buzzerTime(BuzzerChannel::No1, 10, 10), "1B 1D 19 11 01 01 00"},
        {"OrvoLine", kPlain, buzzerTime(BuzzerChannel::No2, 2147483647, -2147483647 - 1),
         "1B 1D 19 11 02 FF 00"},
        {"OrvoDot", kFourChannels, buzzerTime(BuzzerChannel::No4, 40, 60), "1B 1D 19 11 04 02 03"},
        {"OrvoGraphic", kPlain, buzzerTime(BuzzerChannel::No3, 40, 60), ""},
        {"EscPos", kPlain, buzzerTime(BuzzerChannel::No2, 100, 5200), "1B 1D 19 11 02 05 FF"},
        {"EscPosMobile", kPlain, buzzerTime(BuzzerChannel::No1, 100, 100), ""},
        {"OrvoYalme1", kPlain, buzzerTime(BuzzerChannel::No1, 100, 100), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.emulation, c.model, c.action), c.bytes) << c.emulation << " " << c.bytes;
}
