#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DeviceRecorders.hpp"
#include "prelix10/command/BuilderFactory.hpp"
#include "command/TestHex.hpp"
#include "prelix10/compiler/Parser.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/compiler/VelmarCommandParserEntry.hpp"

using PrinterCommandBuilder::ByteBuffer;
using PrinterCommandBuilder::PrinterModel;
using TestHex::hex;
using Bytes = std::vector<std::uint8_t>;
using M = PrinterModel;

namespace {

const char* const emulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                  "OrvoYalme1", "EscPos",   "EscPosMobile"};

std::string document(const std::string& contents) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[)" + contents + "]}";
}

// The category path of a device: "Document" for the document settings, "Document/Display",
// "PreSetting/Presenter", ...; the items go into the innermost category.
std::string nest(const std::string& path, const std::string& items) {
    const auto slash = path.find('/');
    if (slash == std::string::npos) return R"({"category":")" + path + R"(","contents":[)" + items + "]}";
    return R"({"category":")" + path.substr(0, slash) + R"(","contents":[)" +
           nest(path.substr(slash + 1), items) + "]}";
}

std::string item(const std::string& method, const std::string& parameter) {
    return R"({"method":")" + method + R"(","parameter":)" + parameter + "}";
}

// The builder calls of a document, ranks left out unless asked for.
std::vector<std::string> calls(const std::string& doc, PrinterModel model, bool withRanks = false) {
    ByteBuffer buffer;
    DeviceRecording::Log log;
    DeviceRecording::RecordingRoot root(&buffer, model, &log);
    VelmarCommandParser::Parser(&root).parse(doc);
    std::vector<std::string> out;
    for (const auto& line : log)
        if (withRanks || line.find(".rank(") == std::string::npos) out.push_back(line);
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) out += (out.empty() ? "" : " | ") + line;
    return out;
}

// Compiles through the core entry, which takes every emulation name, the display's included.
Bytes compile(const std::string& doc, const char* emulation, const char* model) {
    std::int32_t length = 0;
    VelmarCommandParser::parse(doc.c_str(), emulation, model, nullptr, 0, &length);
    if (length <= 0) return {};
    Bytes out(static_cast<std::size_t>(length));
    VelmarCommandParser::parse(doc.c_str(), emulation, model, reinterpret_cast<char*>(out.data()), length,
                               &length);
    out.resize(static_cast<std::size_t>(std::max(length, 0)));
    return out;
}

// Whether out is the bytes of the same document without the items (its opening and closing
// commands, if any) with expected (hex) in between.
::testing::AssertionResult holds(const Bytes& out, const Bytes& empty, const std::string& expected) {
    for (std::size_t k = 0; k <= empty.size(); ++k) {
        std::string joinedHex = hex(Bytes(empty.begin(), empty.begin() + k));
        for (const std::string& part : {expected, hex(Bytes(empty.begin() + k, empty.end()))})
            if (!part.empty()) joinedHex += (joinedHex.empty() ? "" : " ") + part;
        if (joinedHex == hex(out)) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected " << expected << " inside " << hex(empty) << "\n  got " << hex(out);
}

// The document with the items in the category path, compiled, against the same document without them.
::testing::AssertionResult compilesTo(const std::string& path, const std::string& items,
                                      const char* emulation, const char* model, const std::string& expected) {
    return holds(compile(document(nest(path, items)), emulation, model),
                 compile(document(nest(path, "")), emulation, model), expected);
}

std::string base64(const Bytes& bytes) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += alphabet[(v >> s) & 63];
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = bytes[i] << 16;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], '='};
    }
    return out;
}

// A mono 12800 Hz 8-bit PCM wave file holding the samples.
std::string waveSource(const Bytes& samples) {
    Bytes b = {'R',
               'I',
               'F',
               'F',
               0,
               0,
               0,
               0,
               'W',
               'A',
               'V',
               'E',
               'f',
               'm',
               't',
               ' ',
               16,
               0,
               0,
               0,
               1,
               0,
               1,
               0,
               0x00,
               0x32,
               0,
               0,
               0x00,
               0x32,
               0,
               0,
               1,
               0,
               8,
               0,
               'd',
               'a',
               't',
               'a',
               static_cast<std::uint8_t>(samples.size()),
               0,
               0,
               0};
    b.insert(b.end(), samples.begin(), samples.end());
    return base64(b);
}

}  // namespace

TEST(DeviceElement, MethodsReachTheirBuilders) {
    struct Case {
        const char* path;
        std::string item;
        PrinterModel model;
        std::string calls;
    } cases[] = {
        {"Document/Display", item("Action.Clear.All", "{}"), M::Harlo599KKKH, "Display.appendClearAll()"},
        {"Document/Display", item("Action.Clear.Line", "{}"), M::Harlo599KKKH, "Display.appendClearLine()"},
        {"Document/Display", item("Action.Set.BackLightState", R"({"on":true})"), M::Ginor_6,
         "Display.appendBackLight(1)"},
        {"Document/Display", item("Action.Set.BackLightState", R"({"on":1})"), M::Ginor_6, ""},
        {"Document/Display", item("Action.Set.BackLightState", "{}"), M::Ginor_6, ""},
        {"Document/Display", item("Action.Set.Contrast", R"({"value":"Minus1"})"), M::Harlo599KKKH,
         "Display.appendContrast(4)"},
        {"Document/Display", item("Action.Set.Contrast", R"({"value":"minus1"})"), M::Harlo599KKKH, ""},
        {"Document/Display", item("Action.Set.CursorState", R"({"value":"Blink"})"), M::Harlo599KKKH,
         "Display.appendCursorState(2)"},
        {"Document/Display", item("Action.Set.CursorState", R"({"value":2})"), M::Harlo599KKKH, ""},
        {"Document/Display", item("Action.Show.Image", R"({"source":"AAAA","width":160,"height":40})"),
         M::Harlo599KKKH, "Display.appendImage(AAAA,160,40)"},
        {"Document/Display", item("Action.Show.Image", R"({"source":"AAAA","width":160})"), M::Harlo599KKKH,
         ""},
        {"Document/Display", item("Action.Show.Text", R"({"content":"abc"})"), M::Harlo599KKKH,
         "Display.appendText(abc)"},
        {"Document/Display", item("Action.Show.Text", R"({"content":7})"), M::Harlo599KKKH, ""},
        {"Document/Display", item("Style.CursorPositionTo", R"({"x":3.9,"y":-1.5})"), M::Harlo599KKKH,
         "Display.appendCursorPosition(3,-1)"},
        {"Document/Display", item("Style.CursorPositionTo", R"({"x":1e12,"y":-1e12})"), M::Harlo599KKKH,
         "Display.appendCursorPosition(2147483647,-2147483648)"},
        {"Document/Display", item("Style.CursorPositionTo", R"({"x":"1","y":0})"), M::Harlo599KKKH, ""},
        {"Document/Display", item("Style.CharacterEncoding", R"({"type":"Korean"})"), M::Harlo599KKKH,
         "Display.appendCharacterEncoding(3)"},
        {"Document/Display", item("Style.CharacterEncoding", R"({"type":"Utf8"})"), M::Harlo599KKKH, ""},
        {"Document/Display", item("Style.InternationalCharacter", R"({"type":"LatinAmerica"})"),
         M::Harlo599KKKH, "Display.appendInternationalCharacter(12)"},
        {"Document/Display", item("Action.Clear", "{}"), M::Harlo599KKKH, ""},
        {"Document/Display", R"({"method":"Action.Clear.All"})", M::Harlo599KKKH, ""},

        {"Document/Drawer", item("Action.Open", R"({"channel":"No.1"})"), M::Harlo599KZ,
         "Drawer.appendActionExecute(0,200,200)"},
        {"Document/Drawer", item("Action.Open", R"({"channel":"No.3","on_time":500})"), M::Harlo599KZ,
         "Drawer.appendActionExecute(2,500,500)"},
        {"Document/Drawer", item("Action.Open", R"({"channel":"No.5"})"), M::Harlo599KZ, ""},
        {"Document/Drawer", item("Action.Open", R"({"on_time":100})"), M::Harlo599KZ, ""},
        {"Document/Drawer", item("Action.Open", R"({"channel":"No.1","on_time":"100"})"), M::Harlo599KZ, ""},

        {"Document/Buzzer", item("Action.Drive", R"({"channel":"No.2"})"), M::Harlo599KZ,
         "Buzzer.appendSetingExecuteTime(1,200,200) | Buzzer.appendActionExecute(1,1)"},
        {"Document/Buzzer",
         item("Action.Drive", R"({"channel":"No.4","on_time":40,"off_time":60,"repeat":3})"), M::Fenur_Qel,
         "Buzzer.appendSetingExecuteTime(3,40,60) | Buzzer.appendActionExecute(3,3)"},
        {"Document/Buzzer", item("Action.Drive", R"({"channel":"No.9"})"), M::Harlo599KZ, ""},
        {"Document/Buzzer", item("Action.Drive", R"({"channel":"No.1","on_time":"100"})"), M::Harlo599KZ, ""},
        {"Document/Buzzer", item("Action.Drive", R"({"channel":"No.1","repeat":true})"), M::Harlo599KZ, ""},

        {"Document/MelodySpeaker", item("Action.Drive.RegisteredSound", R"({"area":"Area2","number":3})"),
         M::Harlo599KZ, "MelodySpeaker.appendActionDriveRegisteredSound(1,3,-1,1,0,0)"},
        {"Document/MelodySpeaker",
         item("Action.Drive.RegisteredSound", R"({"area":"Area1","number":1,"volume":5})"), M::Ginor_6,
         "MelodySpeaker.appendActionDriveRegisteredSound(0,1,5,1,0,0)"},
        {"Document/MelodySpeaker", item("Action.Drive.RegisteredSound", R"({"area":"Area3","number":1})"),
         M::Harlo599KZ, ""},
        {"Document/MelodySpeaker", item("Action.Drive.RegisteredSound", R"({"area":"Area1"})"), M::Harlo599KZ,
         ""},
        {"Document/MelodySpeaker", item("Action.Drive.OneTimeSound", R"({"source":"UklGRg=="})"),
         M::Harlo599KZ, "MelodySpeaker.appendActionDriveOneTimeSound(UklGRg==,8)"},
        {"Document/MelodySpeaker", item("Action.Drive.OneTimeSound", R"({"source":"x","volume":-1})"),
         M::Harlo599KZ, "MelodySpeaker.appendActionDriveOneTimeSound(x,-1)"},
        {"Document/MelodySpeaker", item("Action.Drive.OneTimeSound", R"({"volume":3})"), M::Harlo599KZ, ""},

        {"PreSetting/Presenter",
         item("Mode", R"({"hold_time":1000,"loop":false,"hold":true,"retract":true})"), M::Pundo5_7GG,
         "Presenter.appendMode(0,1,1,1000)"},
        {"PreSetting/Presenter", item("Mode", R"({"hold_time":1000,"hold":true,"retract":true})"),
         M::Pundo5_7GG, ""},
        {"PreSetting/Presenter",
         item("Led.AutomaticBlink", R"({"type":"Holding","on_time":150,"off_time":0})"), M::Pundo5_7GG,
         "Presenter.appendLedAutomaticBlink(1,150,0) | Presenter.appendLedMode()"},
        {"PreSetting/Presenter", item("Led.AutomaticBlink", R"({"type":"Idle","on_time":150,"off_time":0})"),
         M::Vorne199, "Presenter.appendLedAutomaticBlink(2,150,0) | Presenter.appendLedMode()"},
        {"PreSetting/Presenter", item("Led.AutomaticBlink", R"({"type":"Holding","on_time":150})"),
         M::Pundo5_7GG, ""},
        {"PreSetting/Bezel", item("AutomaticPageLength", R"({"enable":true})"), M::Pundo1_6G,
         "Bezel.appendAutomaticPageLength(1)"},
        {"PreSetting/Bezel", item("Led.AutomaticBlink", R"({"type":"Holding","on_time":150,"off_time":0})"),
         M::Pundo1_6G, "Bezel.appendLedAutomaticBlink(2,150,0) | Bezel.appendLedMode()"},
        {"PreSetting/Bezel", item("Led.AutomaticBlink", R"({"type":"Idle","on_time":1,"off_time":2})"),
         M::Pundo5_6GG, "Bezel.appendLedAutomaticBlink(1,1,2) | Bezel.appendLedMode()"},
        {"PreSetting/Bezel", item("Led.AutomaticBlink", R"({"type":"Busy","on_time":1,"off_time":2})"),
         M::Pundo5_6GG, ""},
        // The pre-setting category has no methods of its own.
        {"PreSetting", item("Mode", R"({"hold_time":1000,"loop":false,"hold":true,"retract":true})"),
         M::Pundo5_7GG, ""},

        {"Document", item("Setting.BlackMark", R"({"enable":true,"position":"Back"})"), M::Harlo599KZ,
         "Document.appendBlackMark(1,0,1)"},
        {"Document", item("Setting.BlackMark", R"({"enable":true})"), M::Harlo599KZ, ""},
        {"Document", item("Setting.BlackMark", R"({"enable":true,"position":"Side"})"), M::Harlo599KZ, ""},
        {"Document", item("Setting.Label", R"({"enable":false})"), M::Harlo599KZ,
         "Document.appendLabel(0,0)"},
        {"Document", item("Setting.HoldPrint", R"({"enable":true})"), M::Harlo599KZ,
         "Document.appendHoldPrint(1)"},
        {"Document", item("Setting.HoldPrint", R"({"enable":"yes"})"), M::Harlo599KZ, ""},
        {"Document", item("Setting.PrintableArea", R"({"width":72.5})"), M::Harlo599KZ,
         "Document.appendPrintableArea(72.5)"},
        {"Document", item("Setting.PrintableArea", "{}"), M::Harlo599KZ, ""},
        {"Document", item("Setting.TopMargin", R"({"height":12.7})"), M::Harlo599KZ,
         "Document.appendTopMargin(12)"},
        {"Document", item("Setting.TopMargin", R"({"height":"12"})"), M::Harlo599KZ, ""},
        // Document settings have no model gate.
        {"Document", item("Setting.HoldPrint", R"({"enable":false})"), M::Unknown,
         "Document.appendHoldPrint(0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(joined(calls(document(nest(c.path, c.item)), c.model)), c.calls) << c.path << " " << c.item;
}

TEST(DeviceElement, CategoriesNestWhereTheyBelong) {
    const std::string doc = document(
        nest("PreSetting", nest("Presenter", "") + "," + nest("Bezel", "") + "," + nest("Display", "")) +
        "," +
        nest("Document",
             nest("Buzzer", "") + "," + nest("Display", nest("Drawer", "")) + "," + nest("Drawer", "") + "," +
                 nest("MelodySpeaker", "") + "," +
                 nest("Presenter",
                      item("Mode", R"({"hold_time":1,"loop":true,"hold":true,"retract":true})"))) +
        "," + nest("Display", item("Action.Clear.All", "{}")) + "," + nest("Bezel", ""));
    EXPECT_EQ(
        joined(calls(doc, M::Pundo5_7GG, true)),
        "PreSetting.rank(0) | Presenter.rank(1) | Presenter.rank(0) | Bezel.rank(1) | Bezel.rank(0) | "
        "PreSetting.rank(all-ones) | Document.rank(0) | Buzzer.rank(1) | Buzzer.rank(0) | Display.rank(1) | "
        "Display.rank(0) | Drawer.rank(1) | Drawer.rank(0) | MelodySpeaker.rank(1) | MelodySpeaker.rank(0) | "
        "Document.rank(all-ones)");
}

TEST(DeviceElement, ModelsWithoutTheDeviceSkipEveryMethod) {
    struct Case {
        const char* path;
        std::string item;
        PrinterModel with;
        PrinterModel without;
    } cases[] = {
        {"Document/Display", item("Action.Clear.All", "{}"), M::Harlo599KKKH, M::Harlo599H},
        {"Document/Drawer", item("Action.Open", R"({"channel":"No.1"})"), M::Yalme1, M::Unknown},
        {"Document/Buzzer", item("Action.Drive", R"({"channel":"No.1"})"), M::Fenur_Qel, M::Yalme1},
        {"Document/MelodySpeaker", item("Action.Drive.RegisteredSound", R"({"area":"Area1","number":1})"),
         M::Telva_6, M::Harlo599KKKH},
        {"PreSetting/Presenter", item("Led.AutomaticBlink", R"({"type":"Error","on_time":1,"off_time":1})"),
         M::Pundo1_6G, M::Dalix399},
        {"PreSetting/Bezel", item("AutomaticPageLength", R"({"enable":true})"), M::Pundo5_6GG, M::Pundo5_8G},
    };
    for (const auto& c : cases) {
        const std::string doc = document(nest(c.path, c.item));
        EXPECT_FALSE(calls(doc, c.with).empty()) << c.path;
        EXPECT_TRUE(calls(doc, c.without).empty()) << c.path;
        // The category still opens and closes its rank.
        EXPECT_EQ(calls(doc, c.without, true).size(), 4u) << c.path;
    }
}

TEST(DeviceElement, DocumentBytesPerEmulation) {
    // For each category, what one method compiles to in every emulation (absent: nothing), with a
    // model that has the device.
    struct Case {
        const char* path;
        std::string items;
        const char* model;
        std::map<std::string, std::string> bytes;
    };
    const std::string clearAll = "1B 1D 42 40 04 00 1B 5B 32 4A";
    const std::string japanese = "1B 1D 42 40 05 00 1B 52 3A 82 A0";
    const std::string buzz = "1B 1D 19 11 02 0A 0A 1B 1D 19 12 02 01 00";
    const std::string registered =
        "1B 1D 19 11 02 01 06 1B 1D 19 12 02 02 00 1B 1D 19 11 02 08 02 1B 1D 19 12 02 01 00 "
        "1B 1D 19 11 02 08 02 1B 1D 19 12 02 01 00 1B 1D 19 11 02 09 01 1B 1D 19 12 02 01 00";
    const std::string mode = "1B 16 31 02 1B 16 32 02";
    const Case cases[] = {
        {"Document/Display",
         item("Action.Clear.All", "{}"),
         "Harlo599KKKH",
         {{"Kestrin", clearAll}, {"OrvoGraphic", clearAll}}},
        {"Document/Display",
         item("Style.CharacterEncoding", R"({"type":"Japanese"})") + "," +
             item("Action.Show.Text", R"({"content":"\u3042"})"),
         "Ginor_7",
         {{"Kestrin", japanese}, {"OrvoGraphic", japanese}}},
        // The code page sends no selection.
        {"Document/Display",
         item("Style.CharacterEncoding", R"({"type":"CodePage"})") + "," +
             item("Action.Show.Text", R"({"content":"ab"})"),
         "Ginor_7",
         {{"Kestrin", "1B 1D 42 40 02 00 61 62"}, {"OrvoGraphic", "1B 1D 42 40 02 00 61 62"}}},
        {"Document/Drawer",
         item("Action.Open", R"({"channel":"No.1","on_time":5})"),
         "Harlo599KZ",
         {{"Kestrin", "1B 07 01 01 07"},
          {"OrvoLine", "1B 07 01 01 07"},
          {"OrvoGraphic", "1B 07 01 01 07"},
          {"OrvoDot", "1B 07 01 01 07"},
          {"EscPos", "1B 70 30 02 02"},
          {"OrvoYalme1", "2B 00"}}},
        {"Document/Drawer",
         item("Action.Open", R"({"channel":"No.2","on_time":5000})"),
         "Harlo599KZ",
         {{"Kestrin", "1B 07 7F 7F 1A"},
          {"OrvoLine", "1B 07 7F 7F 1A"},
          {"OrvoGraphic", "1B 07 7F 7F 1A"},
          {"OrvoDot", "1B 07 7F 7F 1A"},
          {"EscPos", "1B 70 31 FF FF"},
          {"OrvoYalme1", "2B 00"}}},
        {"Document/Buzzer",
         item("Action.Drive", R"({"channel":"No.2"})"),
         "Harlo599KZ",
         {{"Kestrin", buzz}, {"OrvoLine", buzz}, {"OrvoGraphic", buzz}, {"OrvoDot", buzz}, {"EscPos", buzz}}},
        {"Document/MelodySpeaker",
         item("Action.Drive.RegisteredSound", R"({"area":"Area1","number":1})"),
         "Harlo599KZ",
         {{"Kestrin", registered}}},
        {"Document/MelodySpeaker",
         item("Action.Drive.OneTimeSound", R"({"source":")" + waveSource({0x00, 0x80, 0xFF}) + R"("})"),
         "Telva_6",
         {{"Kestrin", "1B 1D 73 52 01 08 03 00 00 80 00 7F"}}},
        {"PreSetting/Presenter",
         item("Mode", R"({"hold_time":1000,"loop":false,"hold":true,"retract":true})"),
         "Pundo5_7GG",
         {{"Kestrin", mode}, {"OrvoLine", mode}}},
        {"PreSetting/Presenter",
         item("Led.AutomaticBlink", R"({"type":"Holding","on_time":150,"off_time":0})"),
         "Pundo5_6GG",
         {{"Kestrin", "1B 1D 1A 12 01 02 00 1B 1D 1A 11 01 00 00"}}},
        {"PreSetting/Presenter",
         item("Led.AutomaticBlink", R"({"type":"Error","on_time":150,"off_time":0})"),
         "Vorne199",
         {{"OrvoLine", "1B 1D 1A 12 02 03 00 1B 1D 1A 11 02 00 00"}}},
        {"PreSetting/Bezel",
         item("AutomaticPageLength", R"({"enable":true})") + "," +
             item("Led.AutomaticBlink", R"({"type":"Idle","on_time":100,"off_time":100})"),
         "Pundo1_6G",
         {{"Kestrin", "1B 16 12 01 1B 1D 1A 12 03 01 01 1B 1D 1A 11 00 00 00"}}},
        {"Document",
         item("Raw.Send", R"({"content":"G0A="})"),
         "Harlo599KZ",
         {{"Kestrin", "1B 40"},
          {"OrvoLine", "1B 40"},
          {"OrvoGraphic", "1B 40"},
          {"OrvoDot", "1B 40"},
          {"EscPos", "1B 40"},
          {"EscPosMobile", "1B 40"},
          {"OrvoYalme1", "1B 40"}}},
    };
    for (const auto& c : cases) {
        for (const char* emulation : emulations) {
            const auto found = c.bytes.find(emulation);
            EXPECT_TRUE(
                compilesTo(c.path, c.items, emulation, c.model, found == c.bytes.end() ? "" : found->second))
                << c.path << " " << emulation << " " << c.items;
        }
    }
}

TEST(DeviceElement, PresenterHoldTimes) {
    struct Case {
        int holdTime;
        std::string t;
    } cases[] = {{499, "01"}, {501, "02"}, {-1, "00"}, {150000, "FF"}};
    for (const auto& c : cases) {
        const std::string mode = item("Mode", R"({"hold_time":)" + std::to_string(c.holdTime) +
                                                  R"(,"loop":false,"hold":true,"retract":true})");
        for (const char* emulation : {"Kestrin", "OrvoLine"})
            EXPECT_TRUE(compilesTo("PreSetting/Presenter", mode, emulation, "Pundo1_6G",
                                   "1B 16 31 " + c.t + " 1B 16 32 02"))
                << c.holdTime;
    }
}

TEST(DeviceElement, DocumentSettingsMatchTheirBuilders) {
    // Each settings method compiles to what its document builder operation makes on its own.
    using B = PrinterCommandBuilder::Document::Builder;
    struct Case {
        std::string item;
        std::function<void(B&)> action;
    } cases[] = {
        {item("Setting.BlackMark", R"({"enable":true,"position":"Back"})"),
         [](B& b) {
             b.appendBlackMark(true, false, PrinterCommandBuilder::Document::BlackMarkPosition::Back);
         }},
        {item("Setting.Label", R"({"enable":true})"), [](B& b) { b.appendLabel(true, false); }},
        {item("Setting.HoldPrint", R"({"enable":true})"), [](B& b) { b.appendHoldPrint(true); }},
        {item("Setting.PrintableArea", R"({"width":58})"), [](B& b) { b.appendPrintableArea(58); }},
        {item("Setting.TopMargin", R"({"height":13})"), [](B& b) { b.appendTopMargin(13); }},
    };
    for (const auto& c : cases) {
        for (const char* emulation : emulations) {
            for (const auto& [name, model] :
                 {std::pair{"Harlo599KZ", M::Harlo599KZ}, std::pair{"Ginor_7", M::Ginor_7}}) {
                ByteBuffer buffer;
                auto modelRoot = PrinterCommandBuilder::BuilderFactory(emulation, &buffer, model).create();
                ASSERT_NE(modelRoot, nullptr);
                c.action(*modelRoot->getDocumentBuilder());
                EXPECT_TRUE(compilesTo("Document", c.item, emulation, name, hex(buffer)))
                    << emulation << " " << name << " " << c.item;
            }
        }
    }
}

TEST(DeviceElement, ThroughThePublicCompileCall) {
    using Prelix10::OrvoPrinterEmulation;
    const std::string doc =
        document(nest("Document/Drawer", item("Action.Open", R"({"channel":"No.1"})")) + "," +
                 nest("Document/Buzzer", item("Action.Drive", R"({"channel":"No.1"})")));
    struct Case {
        OrvoPrinterEmulation emulation;
        std::string bytes;
    } cases[] = {
        {OrvoPrinterEmulation::kestrin, "1B 07 14 14 07 1B 1D 19 11 01 0A 0A 1B 1D 19 12 01 01 00"},
        {OrvoPrinterEmulation::orvoLine, "1B 07 14 14 07 1B 1D 19 11 01 0A 0A 1B 1D 19 12 01 01 00"},
        {OrvoPrinterEmulation::orvoDot, "1B 07 14 14 07 1B 1D 19 11 01 0A 0A 1B 1D 19 12 01 01 00"},
        {OrvoPrinterEmulation::escPos, "1B 70 30 64 64 1B 1D 19 11 01 0A 0A 1B 1D 19 12 01 01 00"},
        {OrvoPrinterEmulation::escPosMobile, ""},
        {OrvoPrinterEmulation::unknown, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hex(Prelix10::VelmarCommandParser().parse(
                      doc, std::nullopt, Prelix10::OrvoPrinterModel::harlo599KZ, c.emulation)),
                  c.bytes)
            << static_cast<int>(c.emulation);
}

TEST(DeviceElement, DisplayDocumentThroughTheTool) {
    const std::string doc = document(nest("Document/Display", item("Action.Clear.Line", "{}")));
    const auto input = std::filesystem::temp_directory_path() /
                       ("prelix10_device_element_" + std::to_string(::getpid()) + ".json");
    std::ofstream(input, std::ios::binary) << doc;
    const auto run = [&](const std::string& emulation) {
        const std::string command = std::string(PRELIX10_BINARY_DIR) + "/tools/prelix10-compile --emulation " +
                                    emulation + " --model Harlo599KKKH " + input.string();
        Bytes out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 256> block;
            std::size_t n;
            while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0)
                out.insert(out.end(), block.data(), block.data() + n);
            if (::pclose(pipe) != 0) out.push_back(0xEE);
        }
        return hex(out);
    };
    EXPECT_EQ(run("Kestrin"), "1B 1D 42 40 04 00 1B 5B 30 4B");
    EXPECT_EQ(run("OrvoYalme1"), "");
    std::filesystem::remove(input);
}
