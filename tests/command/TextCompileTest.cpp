// Text, styles, positions, feeds and cuts through the compile call, as a document reaches them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

using Prelix10::OrvoPrinterEmulation;
using Prelix10::OrvoPrinterModel;
using TestHex::hex;

namespace {

const std::string kSuffix = "1B 44 00";

std::string shell(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           items + "]}]}]}";
}

std::string compile(const std::string& items, OrvoPrinterEmulation emulation, OrvoPrinterModel model) {
    return hex(Prelix10::VelmarCommandParser().parse(shell(items), std::nullopt, model, emulation));
}

// The default settings the first level sends, without the closing suffix.
std::string prefix(OrvoPrinterEmulation emulation, OrvoPrinterModel model) {
    const std::string empty = compile("", emulation, model);
    EXPECT_GE(empty.size(), kSuffix.size() + 1);
    EXPECT_EQ(empty.substr(empty.size() - kSuffix.size()), kSuffix);
    return empty.substr(0, empty.size() - kSuffix.size() - 1);
}

std::string text(const std::string& jsonContent) {
    return R"({"method":"Action.Print.Text","parameter":{"content":)" + jsonContent + "}}";
}

struct Case {
    const char* label;
    OrvoPrinterEmulation emulation;
    OrvoPrinterModel model;
    std::string items;
    std::string body;    // between the defaults and the closing commands
    std::string suffix;  // the closing commands
};

TEST(TextCompileTest, DocumentsToBytes) {
    const auto K = OrvoPrinterEmulation::kestrin;
    const auto E = OrvoPrinterEmulation::escPos;
    const auto M = OrvoPrinterEmulation::escPosMobile;
    const auto KZ = OrvoPrinterModel::harlo599KZ;
    const std::vector<Case> cases = {
        {"utf-8 page printer", K, KZ, text(R"("abc\n")"),
         "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00 61 62 63 0A", kSuffix},
        {"escpos", E, KZ, text(R"("abc\n")"), "61 62 63 0A", kSuffix},
        {"code page on a page printer", K, OrvoPrinterModel::harlo399KK, text(R"("\u00e9")"),
         "1B 1D 74 04 82", kSuffix},
        {"code page on a mobile printer", M, OrvoPrinterModel::wexal_X759k, text(R"("\u00e9")"),
         "1B 74 02 82", kSuffix},
        {"japanese second priority", E, KZ,
         R"({"method":"Style.SecondPriorityCharacterEncoding","parameter":{"type":"Japanese"}},)" +
             text(R"("\u3042")"),
         "1C 26 82 A0", kSuffix},
        {"emoji", E, KZ, text(R"("\ud83d\ude00")"), "", kSuffix},
        {"escaped NUL keeps the rest", E, KZ, text(R"("a\\x00b")"), "61 62", kSuffix},
        {"JSON NUL keeps the rest", E, KZ, text(R"("a\u0000b")"), "61 62", kSuffix},
        {"escaped invalid UTF-8 skipped byte by byte", E, KZ,
         text(R"("a\\xC3\\xE3\\x81B\\xC0\\x8A\\xED\\xA0\\x80")"), "61 42", kSuffix},
        {"width text with ellipsis", K, KZ,
         R"({"method":"Action.Print.Text","parameter":{"content":"ABCDEFGH","width":5,"widthType":"Half","alignment":"Center","ellipsizeType":"End","printType":"Always"}})",
         "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00 41 42 43 44 E2 80 A6", kSuffix},
        {"width text centred", K, KZ,
         R"({"method":"Action.Print.Text","parameter":{"content":"ABC","width":10,"widthType":"Half","alignment":"Center","ellipsizeType":"None","printType":"GoneWhenEmpty"}})",
         "1B 1D 74 80 1B 20 00 1B 73 00 00 1B 74 00 00 20 20 20 20 41 42 43 20 20 20", kSuffix},
        {"width text with a bad keyword is skipped", K, KZ,
         R"({"method":"Action.Print.Text","parameter":{"content":"ABC","width":10,"widthType":"half","alignment":"Center","ellipsizeType":"None","printType":"Always"}})",
         "", kSuffix},
        {"magnification escpos", E, KZ,
         R"({"method":"Style.Magnification","parameter":{"width":9,"height":9}})", "1D 21 77",
         kSuffix + " 1D 21 00"},
        {"magnification page", K, KZ,
         R"({"method":"Style.Magnification","parameter":{"width":2,"height":3}})", "1B 69 02 01",
         kSuffix + " 1B 69 00 00"},
        {"character space escpos", E, KZ, R"({"method":"Style.CharacterSpace","parameter":{"width":1}})",
         "1B 20 08 1C 53 00 08", "1B 20 00 1C 53 00 00 " + kSuffix},
        {"line space 4.7 keeps whole mm", E, KZ, R"({"method":"Style.LineSpace","parameter":{"height":4.7}})",
         "1B 33 25", kSuffix},
        {"line space page", K, KZ, R"({"method":"Style.LineSpace","parameter":{"height":3.5}})", "1B 7A 01",
         kSuffix + " 1B 7A 01"},
        {"line feeds over 255", E, KZ, R"({"method":"Action.Feed.Line","parameter":{"lines":300}})",
         "1B 64 FF", kSuffix},
        {"line feeds page", K, KZ, R"({"method":"Action.Feed.Line","parameter":{"lines":300}})", "1B 61 7F",
         kSuffix},
        {"unit feed 75 mm", K, KZ, R"({"method":"Action.Feed.Unit","parameter":{"height":75}})",
         "1B 49 FF 1B 49 FF 1B 49 5A", kSuffix},
        {"relative move series", E, KZ,
         R"({"method":"Style.HorizontalPositionBy","parameter":{"position":1.25}})",
         "1B 5C 05 00 1B 5C 02 00 1B 5C 01 00 1B 5C 01 00 1B 5C 01 00", kSuffix},
        {"alignment after text", E, KZ,
         text(R"("ab")") + R"(,{"method":"Style.Alignment","parameter":{"position":"Center"}})",
         "61 62 0A 1B 61 01", "1B 61 00 " + kSuffix},
        {"tear-off on a page printer", K, KZ, R"({"method":"Action.Cut","parameter":{"type":"TearOff"}})",
         "1B 64 74", kSuffix},
        {"full cut escpos", E, KZ, R"({"method":"Action.Cut","parameter":{"type":"Full"}})", "1D 56 41 00",
         kSuffix},
        {"cut mobile", M, OrvoPrinterModel::wexal_X759k,
         R"({"method":"Action.Cut","parameter":{"type":"FullDirect"}})", "0A 1B 7A 1B 79", kSuffix},
        {"logo", E, KZ, R"({"method":"Action.Print.Logo","parameter":{"key_code":"A1"}})",
         "1D 38 4C 06 00 00 00 30 45 41 31 01 01", kSuffix},
        {"cjk priority", K, KZ,
         R"({"method":"Style.CjkCharacterPriority","parameter":{"types":["Korean","Korean","Japanese"]}})",
         "1B 1D 29 55 05 00 41 04 01 00 00", "1B 1D 29 55 05 00 41 00 00 00 00 " + kSuffix},
    };
    for (const Case& c : cases) {
        const std::string p = prefix(c.emulation, c.model);
        const std::string expected = p + (c.body.empty() ? "" : " " + c.body) + " " + c.suffix;
        EXPECT_EQ(compile(c.items, c.emulation, c.model), expected) << c.label;
    }
}

}  // namespace
