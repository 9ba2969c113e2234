#include <gtest/gtest.h>

#include "RecordingBuilders.hpp"
#include "prelix10/compiler/Parser.hpp"

using Recording::Log;
using VelmarCommandParser::Parser;

namespace {

std::string shell(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           items + "]}]}]}";
}

struct Walk {
    Log log;
    Parser::Result result;
};

Walk walk(const std::string& document,
          PrinterCommandBuilder::PrinterModel model = PrinterCommandBuilder::PrinterModel::Harlo599KZ) {
    PrinterCommandBuilder::ByteBuffer buffer;
    Walk w;
    Recording::RecordingRoot root(&buffer, model, &w.log);
    Parser parser(&root);
    w.result = parser.parse(document);
    return w;
}

// The calls made by the one method item, without the rank lines around it.
std::vector<std::string> calls(const std::string& item) {
    std::vector<std::string> out;
    for (const auto& line : walk(shell(item)).log)
        if (line.find(".rank(") == std::string::npos) out.push_back(line);
    return out;
}

}  // namespace

TEST(DocumentWalk, RankSequence) {
    const std::string document =
        R"({"title":"VelmarCommand","version":"1.5.0","contents":[{"category":"Document","contents":[
            {"category":"Printer","contents":[
                {"method":"Style.Bold","parameter":{"enable":true}},
                {"category":"Printer","contents":[{"method":"Action.Feed.Line","parameter":{"lines":2}}]},
                {"category":"PageMode","parameters":[{"method":"Style.PageMode.Area","parameter":{"x":0,"y":0,"width":72,"height":100}}],
                 "contents":[{"method":"Action.Cut","parameter":{"type":"Full"}},
                             {"category":"Printer","contents":[{"method":"Style.Bold","parameter":{"enable":false}}]}]}
            ]}]}]})";
    const Walk w = walk(document);
    EXPECT_EQ(w.result, Parser::Result::completed);
    const Log expected = {
        "Document.rank(0)",
        "Printer.rank(1)",
        "Printer.appendTextDecorationBold(1)",
        "Printer.rank(2)",
        "Printer.appendLineFeed(2)",
        "Printer.rank(1)",
        "PageMode.rank(2)",
        "PageMode.appendArea(0,0,72,100)",
        "PageMode.appendCut(2)",
        "PageMode.rank(1)",
        "Printer.rank(0)",
        "Document.rank(all-ones)",
    };
    EXPECT_EQ(w.log, expected);
}

TEST(DocumentWalk, DocumentsThatYieldNothing) {
    struct Case {
        const char* name;
        std::string document;
        Parser::Result result;
    } cases[] = {
        {"version 2.0.0",
         R"({"title":"VelmarCommand","version":"2.0.0","contents":[{"category":"Document","contents":[]}]})",
         Parser::Result::completed},
        {"version without point",
         R"({"title":"VelmarCommand","version":"1","contents":[{"category":"Document","contents":[]}]})",
         Parser::Result::completed},
        {"wrong title",
         R"({"title":"Velmar","version":"1.0.0","contents":[{"category":"Document","contents":[]}]})",
         Parser::Result::completed},
        {"top-level Printer",
         R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Printer","contents":[{"method":"Action.Feed.Separator","parameter":{}}]}]})",
         Parser::Result::completed},
        {"contents not an array", R"({"title":"VelmarCommand","version":"1.0.0","contents":{}})",
         Parser::Result::completed},
        {"not JSON", R"({"title":)", Parser::Result::invalidJson},
        {"comments", "/* x */ {}", Parser::Result::invalidJson},
        {"title missing", R"({"version":"1.0.0","contents":[]})", Parser::Result::walkFailed},
        {"item with neither key", R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"x":1}]})",
         Parser::Result::walkFailed},
        {"item not an object", R"({"title":"VelmarCommand","version":"1.0.0","contents":[3]})",
         Parser::Result::walkFailed},
    };
    for (const auto& c : cases) {
        const Walk w = walk(c.document);
        EXPECT_EQ(w.result, c.result) << c.name;
        EXPECT_TRUE(w.log.empty()) << c.name;
    }
    // An object with "contents" but no "category" is skipped, the walk goes on.
    const Walk skipped = walk(
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"contents":[]},{"category":"Document","contents":[]}]})");
    EXPECT_EQ(skipped.result, Parser::Result::completed);
    EXPECT_EQ(skipped.log, (Log{"Document.rank(0)", "Document.rank(all-ones)"}));
}

TEST(DocumentWalk, ParametersBeforeContentsAndBothKeys) {
    const Walk w = walk(shell(
        R"({"category":"PageMode","contents":[{"method":"Style.PrintDirection","parameter":{"direction":"TopToBottom"}}],
            "parameters":[{"method":"Style.PageMode.Area","parameter":{"x":1,"y":2,"width":3,"height":4}}]},
           {"category":"Printer","method":"Style.Bold","parameter":{"enable":true},"contents":[]},
           {"category":"PageMode","contents":[{"method":"Style.PageMode.Area","parameter":{"x":1,"y":2,"width":3,"height":4}},
                                               {"category":"Printer","contents":[]}]})"));
    const Log expected = {
        "Document.rank(0)",
        "Printer.rank(1)",
        "PageMode.rank(2)",
        "PageMode.appendArea(1,2,3,4)",
        "PageMode.stylePrintDirection(1)",
        "PageMode.rank(1)",
        "Printer.rank(2)",
        "Printer.rank(1)",
        "Printer.appendTextDecorationBold(1)",
        "PageMode.rank(2)",
        "PageMode.rank(1)",
        "Printer.rank(0)",
        "Document.rank(all-ones)",
    };
    EXPECT_EQ(w.log, expected);
}

TEST(DocumentWalk, UnsupportedPrinterOnlyRanks) {
    const Walk w = walk(shell(R"({"method":"Style.Bold","parameter":{"enable":true}},
        {"category":"PageMode","parameters":[{"method":"Style.PageMode.Area","parameter":{"x":0,"y":0,"width":9,"height":9}}],
         "contents":[{"method":"Action.Cut","parameter":{"type":"Full"}}]})"),
                        PrinterCommandBuilder::PrinterModel::Fenur_Qel);
    const Log expected = {
        "Document.rank(0)", "Printer.rank(1)", "PageMode.rank(2)",       "PageMode.appendArea(0,0,9,9)",
        "PageMode.rank(1)", "Printer.rank(0)", "Document.rank(all-ones)"};
    EXPECT_EQ(w.log, expected);
}

TEST(DocumentWalk, DeepNestingIsRefusedWithoutOverflow) {
    auto nested = [](int levels) {
        std::string open, close;
        for (int i = 0; i < levels; ++i) {
            open += R"({"category":"Printer","contents":[)";
            close += "]}";
        }
        return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)" +
               open + close + "]}]}";
    };
    EXPECT_EQ(walk(nested(1000)).result, Parser::Result::completed);
    EXPECT_EQ(walk(nested(1001)).result, Parser::Result::walkFailed);
    // Far deeper than any stack would take recursively: refused while reading.
    std::string deep(200000, '[');
    deep += std::string(200000, ']');
    EXPECT_EQ(walk(deep).result, Parser::Result::invalidJson);
}

TEST(DocumentWalk, NestingLimitIsExactForEveryKindOfValue) {
    // A value or key inside n open containers is at depth n; an empty container at depth n is read.
    constexpr int limit = Parser::kMaxJsonDepth;
    auto arrays = [](int n, const std::string& inner) {
        return std::string(std::size_t(n), '[') + inner + std::string(std::size_t(n), ']');
    };
    auto objects = [](int n, const std::string& inner) {
        std::string text;
        for (int i = 1; i < n; ++i) text += R"({"k":)";
        text += n > 0 ? "{" + inner + "}" : inner;
        return text + std::string(std::size_t(n > 0 ? n - 1 : 0), '}');
    };
    struct Case {
        std::string text;
        bool refused;
    } cases[] = {
        {arrays(limit, "1"), false},
        {arrays(limit + 1, "1"), true},
        {arrays(limit + 1, ""), false},
        {arrays(limit + 2, ""), true},
        {arrays(limit, R"("]]\"[[[{{")"), false},
        {arrays(limit, R"("\\")"), false},
        {arrays(limit + 1, R"("\\")"), true},
        {arrays(limit, R"("\\\"[[[","[\\\\\"")"), false},
        {arrays(limit + 1, R"("\\\"]]]")"), true},
        {objects(limit, R"("k":true)"), false},
        {objects(limit + 1, R"("k":true)"), true},
        {objects(limit + 1, ""), false},
        {objects(limit + 2, ""), true},
        {objects(limit, R"("k":[])"), false},
        {objects(limit, R"("k":[0])"), true},
        {"[" + arrays(limit - 1, "0") + "," + arrays(limit, "0") + "]", true},
    };
    for (const auto& c : cases) {
        const auto result = walk(c.text).result;
        EXPECT_EQ(result == Parser::Result::invalidJson, c.refused)
            << c.text.substr(0, 40) << " of " << c.text.size();
    }
}

TEST(DocumentWalk, KeywordMapsAndDefaults) {
    struct Case {
        const char* item;
        std::vector<std::string> expected;
    } cases[] = {
        {R"({"method":"Action.Print.Pdf417","parameter":{"content":"A","level":"Ecc5"}})",
         {"Printer.appendPdf417(A,0,3,5,2,2)"}},
        {R"({"method":"Action.Print.Pdf417","parameter":{"content":"A","level":"ecc2"}})",
         {"Printer.appendPdf417(A,0,3,1,2,2)"}},
        {R"({"method":"Action.Print.Pdf417","parameter":{"content":"A"}})",
         {"Printer.appendPdf417(A,0,3,2,2,2)"}},
        {R"({"method":"Action.Print.Pdf417","parameter":{"content":"A","level":2}})", {}},
        {R"({"method":"Action.Print.QRCode","parameter":{"content":"A","level":"Q"}})",
         {"Printer.appendQrCode(A,1,2,3)"}},
        {R"({"method":"Action.Print.QRCode","parameter":{"content":"A","level":"H","model":"Model1","cell_size":9}})",
         {"Printer.appendQrCode(A,0,3,9)"}},
        {R"({"method":"Action.Print.QRCode","parameter":{"content":"A","level":"X"}})", {}},
        {R"({"method":"Action.Print.Barcode","parameter":{"symbology":"Code39","content":"1"}})",
         {"Printer.appendBarcode(6,1,0,2,1,160)"}},
        {R"({"method":"Action.Print.Barcode","parameter":{"symbology":"Jan8","content":"1"}})",
         {"Printer.appendBarcode(0,1,0,2,1,160)"}},
        {R"({"method":"Action.Print.Barcode","parameter":{"symbology":"Ean8","content":"1","bar_ratio_level":"LevelPlus1"}})",
         {"Printer.appendBarcode(1,1,0,2,2,160)"}},
        {R"({"method":"Action.Print.Barcode","parameter":{"symbology":"Itf","content":"1","bar_ratio_level":"Level9"}})",
         {}},
        {R"({"method":"Action.Cut","parameter":{"type":"full"}})", {}},
        {R"({"method":"Action.Cut","parameter":{"type":"TearOff"}})", {"Printer.appendCut(4)"}},
        {R"({"method":"Action.Feed.Separator","parameter":{}})", {"Printer.appendSeparatorFeed()"}},
        {R"({"method":"Style.Bold","parameter":{"enable":"true"}})", {}},
        {R"({"method":"Style.Bold"})", {}},
        {R"({"method":"Style.Font","parameter":{"type":"C"}})", {"Printer.appendTextDecorationFont(2)"}},
        {R"({"method":"Style.InternationalCharacter","parameter":{"type":"Legal"}})",
         {"Printer.appendTextDecorationInternationalCharacter(21)"}},
        {R"({"method":"Style.SecondPriorityCharacterEncoding","parameter":{"type":"Japanese"}})",
         {"Printer.appendTextDecorationSecondPriorityCharacterEncoding(0)"}},
        {R"({"method":"Style.CjkCharacterPriority","parameter":{"types":["Korean","Japanese"]}})",
         {"Printer.appendTextDecorationCjkCharacterPriority(3 2)"}},
        {R"({"method":"Style.CjkCharacterPriority","parameter":{"types":["Korean","CodePage"]}})", {}},
        {R"({"method":"Style.AmbiguousCharacterWidthType","parameter":{"type":"Full"}})",
         {"Printer.appendTextDecorationAmbiguousCharacterWidthType(1)"}},
        {R"({"method":"Style.BaseMagnification","parameter":{"text":"X1_5"}})",
         {"Printer.appendDecorationBaseMagnification(1)"}},
        {R"({"method":"Style.Alignment","parameter":{"position":"Right"}})", {"Printer.appendAlignment(2)"}},
        {R"({"method":"Style.HorizontalTabPositions","parameter":{"positions":[8,16.9]}})",
         {"Printer.appendTextDecorationHorizontalTabPositions(8 16)"}},
        {R"({"method":"Style.HorizontalTabPositions","parameter":{"positions":[8,"16"]}})", {}},
        {R"({"method":"Style.Magnification","parameter":{"width":3e12,"height":-2.9}})",
         {"Printer.appendTextDecorationExpansionRate(2147483647,-2)"}},
        {R"({"method":"Action.Print.Text","parameter":{"content":"abc"}})", {"Printer.appendText(abc)"}},
        {R"({"method":"Action.Print.Text","parameter":{"content":"abc","width":10,"widthType":"Full","alignment":"Center","ellipsizeType":"Middle","printType":"Always"}})",
         {"Printer.appendText(abc,10,1,1,2,1)"}},
        {R"({"method":"Action.Print.Text","parameter":{"content":"abc","width":10,"widthType":"Full","alignment":"Center","ellipsizeType":"Middle"}})",
         {}},
        {R"({"method":"Action.Print.RuledLine","parameter":{"x":1,"width":2,"thickness":0.5,"lineStyle":"Double"}})",
         {"Printer.appendRuledLine(1,2,0.5,1)"}},
        {R"({"method":"Action.Print.Image","parameter":{"source":"AA=="}})",
         {"Printer.appendImage(AA==,0,0)"}},
        {R"({"method":"Action.Print.Logo","parameter":{"key_code":"AB"}})", {"Printer.appendLogo(AB,1,1)"}},
        {R"({"method":"Action.Feed.Unit","parameter":{"height":"3"}})", {}},
        {R"({"method":"No.Such.Method","parameter":{}})", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(calls(c.item), c.expected) << c.item;
}

TEST(DocumentWalk, PageModeMethods) {
    struct Case {
        const char* item;
        std::vector<std::string> expected;
    } cases[] = {
        {R"({"method":"Style.PrintDirection","parameter":{"direction":"RightToLeft"}})",
         {"PageMode.stylePrintDirection(2)"}},
        {R"({"method":"Action.Print.PageModeImage","parameter":{"source":"AA=="}})",
         {"PageMode.appendPageModeImage(AA==,0,0,0,0)"}},
        {R"({"method":"Action.Print.PageModeRuledLine","parameter":{"xStart":1,"yStart":2,"xEnd":3,"yEnd":2,"thickness":1,"lineStyle":"Single"}})",
         {"PageMode.appendPageModeRuledLine(1,2,3,2,1,0)"}},
        {R"({"method":"Action.Print.PageModeRectangle","parameter":{"x":1,"y":2,"width":3,"height":4,"thickness":0.5,"roundCorner":true,"cornerRadius":1,"lineStyle":"Double"}})",
         {"PageMode.appendRectangle(1,2,3,4,0.5,1,1,1)"}},
        {R"({"method":"Style.VerticalPositionBy","parameter":{"position":-0.875}})",
         {"PageMode.styleVerticalPositionBy(-0.875)"}},
        {R"({"method":"Style.PageMode.Area","parameter":{"x":1,"y":2,"width":3,"height":4}})", {}},
        {R"({"method":"Style.Bold","parameter":{"enable":true}})", {"PageMode.appendTextDecorationBold(1)"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        for (const auto& line :
             walk(shell(std::string(R"({"category":"PageMode","contents":[)") + c.item + "]}")).log)
            if (line.find(".rank(") == std::string::npos) got.push_back(line);
        EXPECT_EQ(got, c.expected) << c.item;
    }
}
