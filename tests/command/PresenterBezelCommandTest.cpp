#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "prelix10/command/BuilderFactory.hpp"
#include "command/TestHex.hpp"
#include "prelix10/command/bezel/Builder.hpp"
#include "prelix10/command/presenter/Builder.hpp"
#include "prelix10/command/presenter/PresenterMode.hpp"
#include "prelix10/command/presetting/Builder.hpp"

using namespace PrinterCommandBuilder;
using TestHex::hex;
using M = PrinterModel;

namespace {

const char* const emulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                  "OrvoYalme1", "EscPos",   "EscPosMobile"};

std::string run(const char* emulation, PrinterModel model, const std::function<void(RootBuilder&)>& action) {
    ByteBuffer buffer;
    auto root = BuilderFactory(emulation, &buffer, model).create();
    EXPECT_NE(root, nullptr) << emulation;
    if (root == nullptr) return "?";
    action(*root);
    return hex(buffer);
}

std::string mode(int holdTime, bool loop = false, bool hold = true, bool retract = true) {
    ByteBuffer buffer;
    Presenter::PresenterMode::orvoCommon(&buffer, loop, hold, retract, holdTime, M::Pundo5_7GG);
    return hex(buffer);
}

}  // namespace

TEST(PresenterCommand, ModeHoldTimesAndFlags) {
    EXPECT_EQ(mode(1000), "1B 16 31 02 1B 16 32 02");
    struct Case {
        int holdTime;
        std::string t;
    } times[] = {{-1, "00"},
                 {-2, "01"},
                 {0, "01"},
                 {499, "01"},
                 {500, "01"},
                 {501, "02"},
                 {127000, "FE"},
                 {127500, "FF"},
                 {127999, "FF"},
                 {128000, "FF"},
                 {150000, "FF"},
                 {2147483647, "FF"},
                 {-2147483647 - 1, "01"}};
    for (const auto& c : times) EXPECT_EQ(mode(c.holdTime), "1B 16 31 " + c.t + " 1B 16 32 02") << c.holdTime;

    struct Flags {
        bool loop, hold, retract;
        std::string m;
    } flags[] = {{true, true, true, "00"},   {true, true, false, "01"}, {false, true, true, "02"},
                 {false, true, false, "03"}, {true, false, true, "04"}, {false, false, false, "04"}};
    for (const auto& f : flags)
        EXPECT_EQ(mode(1000, f.loop, f.hold, f.retract), "1B 16 31 02 1B 16 32 " + f.m) << f.m;

    // The mode reaches the presenter models on Kestrin and OrvoLine only.
    const auto appendMode = [](RootBuilder& r) {
        r.getPresenterBuilder()->appendMode(false, true, true, 1000);
    };
    for (const char* emulation : emulations) {
        const std::string e = emulation;
        for (M model : {M::Vorne199, M::Pundo5_7GG, M::Pundo5_6GG, M::Pundo5_8G, M::Pundo1_6G})
            EXPECT_EQ(run(emulation, model, appendMode),
                      e == "Kestrin" || e == "OrvoLine" ? "1B 16 31 02 1B 16 32 02" : "")
                << emulation << " " << rawValue(model);
        EXPECT_EQ(run(emulation, M::Dalix399, appendMode), "") << emulation;
        EXPECT_EQ(run(emulation, M::Fenur_Qel, appendMode), "") << emulation;
    }
}

TEST(PresenterCommand, LedBlinkAndMode) {
    const auto blink = [](Presenter::LedType type, int on, int off) {
        return [=](RootBuilder& r) { r.getPresenterBuilder()->appendLedAutomaticBlink(type, on, off); };
    };
    const auto ledMode = [](RootBuilder& r) { r.getPresenterBuilder()->appendLedMode(); };
    const auto both = [](std::function<void(RootBuilder&)> a, std::function<void(RootBuilder&)> b) {
        return [=](RootBuilder& r) {
            a(r);
            b(r);
        };
    };
    using L = Presenter::LedType;
    struct Case {
        const char* emulation;
        PrinterModel model;
        std::function<void(RootBuilder&)> action;
        std::string bytes;
    } cases[] = {
        // 100 ms units on Kestrin, rounded up; the stored 200 ms counts for the mode.
        {"Kestrin", M::Pundo5_6GG, both(blink(L::Holding, 150, 0), ledMode),
         "1B 1D 1A 12 01 02 00 1B 1D 1A 11 01 00 00"},
        {"Kestrin", M::Pundo5_7GG, both(blink(L::Error, 100, 2147483647), ledMode),
         "1B 1D 1A 12 02 01 FF 1B 1D 1A 11 02 00 00"},
        {"Kestrin", M::Pundo5_7GG, both(blink(L::Idle, 300, -198), ledMode),
         "1B 1D 1A 12 03 03 00 1B 1D 1A 11 00 00 00"},
        // A zero on time sends nothing and switches the LED off for the mode.
        {"Kestrin", M::Pundo5_7GG,
         both(both(blink(L::Holding, 500, 500), blink(L::Holding, 0, 500)), ledMode),
         "1B 1D 1A 12 01 05 05 1B 1D 1A 11 00 00 00"},
        {"Kestrin", M::Pundo5_7GG, both(blink(L::Holding, -2147483647 - 1, 0), ledMode),
         "1B 1D 1A 11 00 00 00"},
        {"Kestrin", M::Pundo5_7GG,
         both(both(blink(L::Holding, 100, 100), blink(L::Error, 100, 100)), ledMode),
         "1B 1D 1A 12 01 01 01 1B 1D 1A 12 02 01 01 1B 1D 1A 11 03 00 00"},
        {"Kestrin", M::Pundo5_7GG,
         both(both(both(blink(L::Holding, 100, 100), blink(L::Error, 100, 100)), blink(L::Idle, 100, 100)),
              ledMode),
         "1B 1D 1A 12 01 01 01 1B 1D 1A 12 02 01 01 1B 1D 1A 12 03 01 01 1B 1D 1A 11 04 00 00"},
        // Presenter LEDs on Vorne199 need OrvoLine (50 ms units, no Idle LED).
        {"Kestrin", M::Vorne199, both(blink(L::Holding, 150, 0), ledMode), ""},
        {"OrvoLine", M::Vorne199, both(blink(L::Holding, 150, 51), ledMode),
         "1B 1D 1A 12 01 03 02 1B 1D 1A 11 01 00 00"},
        {"OrvoLine", M::Vorne199, both(blink(L::Idle, 150, 0), ledMode), "1B 1D 1A 11 00 00 00"},
        {"OrvoLine", M::Vorne199,
         both(both(both(blink(L::Holding, 50, 0), blink(L::Error, 50, 0)), blink(L::Idle, 50, 0)), ledMode),
         "1B 1D 1A 12 01 01 00 1B 1D 1A 12 02 01 00 1B 1D 1A 11 03 00 00"},
        {"OrvoLine", M::Pundo5_7GG, both(blink(L::Holding, 150, 0), ledMode), ""},
        {"Kestrin", M::Pundo5_8G, both(blink(L::Holding, 150, 0), ledMode), ""},
        {"Kestrin", M::Pundo1_6G, both(blink(L::Holding, 150, 0), ledMode), ""},
        {"EscPos", M::Pundo5_7GG, both(blink(L::Holding, 150, 0), ledMode), ""},
        {"OrvoGraphic", M::Pundo5_7GG, both(blink(L::Holding, 150, 0), ledMode), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.emulation, c.model, c.action), c.bytes) << c.emulation << " " << c.bytes;
}

TEST(BezelCommand, LedsAndAutomaticPageLength) {
    using L = Bezel::LedType;
    const auto pageLength = [](bool on) {
        return [=](RootBuilder& r) { r.getBezelBuilder()->appendAutomaticPageLength(on); };
    };
    const auto blinks = [](std::initializer_list<L> types) {
        const std::vector<L> list(types);
        return [=](RootBuilder& r) {
            for (L type : list) r.getBezelBuilder()->appendLedAutomaticBlink(type, 250, 100);
            r.getBezelBuilder()->appendLedMode();
        };
    };
    struct Case {
        const char* emulation;
        PrinterModel model;
        std::function<void(RootBuilder&)> action;
        std::string bytes;
    } cases[] = {
        {"Kestrin", M::Pundo1_6G, pageLength(true), "1B 16 12 01"},
        {"Kestrin", M::Pundo5_7GG, pageLength(false), "1B 16 12 00"},
        {"Kestrin", M::Pundo5_8G, pageLength(true), ""},
        {"OrvoLine", M::Pundo1_6G, pageLength(true), ""},
        // The bezel's Holding is its code 1 even though its enumeration value is 2.
        {"Kestrin", M::Pundo5_6GG, blinks({L::Holding}), "1B 1D 1A 12 01 03 01 1B 1D 1A 11 01 00 00"},
        {"Kestrin", M::Pundo1_6G, blinks({L::Error}), "1B 1D 1A 12 02 03 01 1B 1D 1A 11 02 00 00"},
        {"Kestrin", M::Pundo1_6G, blinks({L::Idle}), "1B 1D 1A 12 03 03 01 1B 1D 1A 11 00 00 00"},
        {"Kestrin", M::Pundo1_6G, blinks({L::Idle, L::Error, L::Holding}),
         "1B 1D 1A 12 03 03 01 1B 1D 1A 12 02 03 01 1B 1D 1A 12 01 03 01 1B 1D 1A 11 04 00 00"},
        {"Kestrin", M::Pundo1_6G, blinks({}), "1B 1D 1A 11 00 00 00"},
        {"Kestrin", M::Vorne199, blinks({L::Holding}), ""},
        {"OrvoLine", M::Pundo5_7GG, blinks({L::Holding}), ""},
        {"EscPos", M::Pundo5_7GG, blinks({L::Holding}), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.emulation, c.model, c.action), c.bytes) << c.emulation << " " << c.bytes;
    for (const char* emulation : emulations) {
        if (std::string(emulation) == "Kestrin") continue;
        EXPECT_EQ(run(emulation, M::Pundo1_6G,
                      [&](RootBuilder& r) {
                          pageLength(true)(r);
                          blinks({L::Holding, L::Error})(r);
                      }),
                  "")
            << emulation;
    }
}

TEST(PreSettingBuilder, RanksSendNothing) {
    for (const char* emulation : emulations) {
        EXPECT_EQ(run(emulation, M::Pundo5_7GG,
                      [](RootBuilder& r) {
                          for (std::size_t rank : {std::size_t{0}, std::size_t{3}, std::size_t{1},
                                                   static_cast<std::size_t>(-1)}) {
                              r.getPreSettingBuilder()->notifyRank(rank);
                              r.getPresenterBuilder()->notifyRank(rank);
                              r.getBezelBuilder()->notifyRank(rank);
                          }
                      }),
                  "")
            << emulation;
    }
}
