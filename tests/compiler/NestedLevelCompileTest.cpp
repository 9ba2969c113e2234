// Whole documents whose result depends on how nested levels hand state back and forth.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <string>
#include <vector>

#include "command/TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"

using Prelix10::OrvoPrinterEmulation;
using Prelix10::OrvoPrinterModel;
using TestHex::hex;

namespace {

const std::string kEscposPrefix =
    "1D 50 B4 B4 1C 2E 1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 "
    "C0 C8 D0 D8 E0 E8 F0 F8 00";
// Kestrin on a code-page model.
const std::string kKestrinPrefix =
    "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00";

std::string document(const std::string& printerItems) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           printerItems + "]}]}]}";
}

std::string nested(const char* category, int levels, const std::string& innermost = "") {
    std::string open, close;
    for (int i = 0; i < levels; ++i) {
        open += std::string(R"({"category":")") + category + R"(","contents":[)";
        close += "]}";
    }
    return open + innermost + close;
}

std::string compile(const std::string& doc, OrvoPrinterEmulation emulation,
                    OrvoPrinterModel model = OrvoPrinterModel::harlo599KZ) {
    return hex(Prelix10::VelmarCommandParser().parse(doc, std::nullopt, model, emulation));
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A tab list of 200,000 stops, followed by as many nested levels as a document may hold.
std::string longTabListUnderNestedLevels(const char* category) {
    std::string stops;
    stops.reserve(400000);
    for (int i = 0; i < 200000; ++i) stops += i ? ",1" : "1";
    return document(R"({"method":"Style.HorizontalTabPositions","parameter":{"positions":[)" + stops +
                    "]}}," + nested(category, 999, R"({"method":"Action.Print.Text","parameter":{"content":"a"}})"));
}

// Compiles the document and returns its bytes; the peak resident size may grow by a generous
// 100 MB at most. A copy of the list per level would take several hundred.
std::string compileWithBoundedMemory(const std::string& doc, OrvoPrinterEmulation emulation) {
    const long before = peakResidentKiB();
    std::string bytes = compile(doc, emulation);
    const long grown = peakResidentKiB() - before;
    EXPECT_LT(grown, 100L * 1024) << "peak grew by " << grown << " KiB";
    return bytes;
}

}  // namespace

// Every nested level inherits the 200,000 stops. Memory stays proportional to the document (about
// 0.4 MB of text), not to the levels times the list.
TEST(NestedLevelCompile, LongListsAreNotCopiedPerPrinterLevel) {
    // The stops as sent (the list stops where it no longer ascends), the text, and the closing of
    // the outer level against a fresh record.
    EXPECT_EQ(compileWithBoundedMemory(longTabListUnderNestedLevels("Printer"), OrvoPrinterEmulation::escPos),
              kEscposPrefix + " 1B 44 01 00 61 1B 44 00");
}

TEST(NestedLevelCompile, LongListsAreNotCopiedPerPageModeLevel) {
    // Page mode begins with the style of the level, the stops among it, and ends when the outermost
    // page-mode level closes; the nested ones change nothing.
    EXPECT_EQ(compileWithBoundedMemory(longTabListUnderNestedLevels("PageMode"), OrvoPrinterEmulation::kestrin),
              kKestrinPrefix +
                  " 1B 44 01 00 1B 1D 50 30 1B 46 1B 20 00 1B 73 00 00 1B 74 00 00 1B 1D 29 55 05 00 41 00 00 00 00 "
                  "1B 1E 46 00 1B 44 01 00 1B 35 1B 7A 01 1B 2D 00 1B 52 00 1B 69 00 00 1B 1D 50 31 1B 44 00");
}

// A second-priority encoding chosen inside a nested level stays in force on the printer after the
// level closes, so the text after it is converted for that encoding.
TEST(NestedLevelCompile, SecondPriorityEncodingOutlivesItsLevel) {
    const std::string doc = document(
        nested("Printer", 1,
               R"({"method":"Style.SecondPriorityCharacterEncoding","parameter":{"type":"Japanese"}})") +
        R"(,{"method":"Action.Print.Text","parameter":{"content":"\u3042\u00e9"}})");
    // あ is 82 A0 in Shift_JIS; é has no Shift_JIS form and is dropped.
    EXPECT_EQ(compile(doc, OrvoPrinterEmulation::escPos), kEscposPrefix + " 1C 26 82 A0 1B 44 00");
    // The page printer sends nothing for the encoding itself; a code-page model converts with it.
    EXPECT_EQ(compile(doc, OrvoPrinterEmulation::kestrin, OrvoPrinterModel::harlo399KK),
              kKestrinPrefix + " 82 A0 1B 44 00");
}

// The line position after a text is that of the last byte sent: NUL characters are not sent.
TEST(NestedLevelCompile, NulAfterTheLastLineFeedKeepsTheLineHead) {
    for (const char* content : {R"(abc\n\\x00)", R"(abc\n\u0000)", R"(abc\n\\x00\u0000)"}) {
        SCOPED_TRACE(content);
        const std::string doc = document(std::string(R"({"method":"Action.Print.Text","parameter":{"content":")") +
                                         content +
                                         R"("}},{"method":"Style.Alignment","parameter":{"position":"Center"}})");
        EXPECT_EQ(compile(doc, OrvoPrinterEmulation::escPos),
                  kEscposPrefix + " 61 62 63 0A 1B 61 01 1B 61 00 1B 44 00");
        EXPECT_EQ(compile(doc, OrvoPrinterEmulation::kestrin, OrvoPrinterModel::harlo399KK),
                  kKestrinPrefix + " 61 62 63 0A 1B 1D 61 01 1B 1D 61 00 1B 44 00");
    }
}
