#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "prelix10/compiler/TemplatePrintParser.hpp"
#include "prelix10/compiler/TemplatePrintUtil.hpp"

using TemplatePrint::OrderedJson;

namespace {

struct Expansion {
    std::string text;
    std::array<std::int32_t, 3> triple{-1, -1, -1};
};

Expansion expand(const std::string& templateText, const std::string& fieldData) {
    Expansion result;
    result.text = TemplatePrint::TemplatePrintParser().parse(templateText, fieldData, result.triple[0],
                                                             result.triple[1], result.triple[2]);
    return result;
}

using Triple = std::array<std::int32_t, 3>;
constexpr Triple kNoError{-1, -1, -1};

// A template whose only Document holds `items`.
std::string document(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)" +
           items + "]}]}";
}

std::string text(const std::string& content) {
    return R"({"method":"Action.Print.Text","parameter":{"content":")" + content + R"("}})";
}

// Expands and compares with the expected document, key order included.
void expectExpansion(const std::string& templateText, const std::string& fieldData,
                     const std::string& expected) {
    Expansion result = expand(templateText, fieldData);
    ASSERT_EQ(result.triple, kNoError) << result.text;
    EXPECT_EQ(OrderedJson::parse(result.text), OrderedJson::parse(expected)) << result.text;
}

class TempDir {
  public:
    TempDir() {
        char pattern[] = "/tmp/template_test_XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string write(const std::string& name, const std::string& content) const {
        std::string file = path_ + "/" + name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

  private:
    std::string path_;
};

// Runs a shell command and returns its standard output and exit status.
std::pair<std::string, int> run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {"", -1};
    char buffer[4096];
    std::size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    return {output, pclose(pipe)};
}

bool haveJq() {
    return std::system("command -v jq >/dev/null 2>&1") == 0;
}

}  // namespace

TEST(TemplateErrors, TriplesAndEmptyDocument) {
    struct Case {
        const char* name;
        std::string templateText;
        std::string fieldData;
        Triple triple;
    };
    const Case cases[] = {
        {"truncated field data", document(text("x")), "{", {1, 5000, 7000}},
        {"empty field data", document(text("x")), "", {1, 5000, 7000}},
        {"field data not JSON", document(text("x")), "price: 12", {1, 5000, 7000}},
        {"truncated template", "{", "{}", {0, 0, 0}},
        {"template without title", R"({"version":"1.0.0","contents":[]})", "{}", {0, 0, 0}},
        {"title not a text", R"({"title":1,"version":"1.0.0","contents":[]})", "{}", {0, 0, 0}},
        {"template not an object", "[]", "{}", {0, 0, 0}},
        {"contents missing", R"({"title":"VelmarCommand","version":"1.0.0"})", "{}", {0, 0, 0}},
        {"element without category",
         R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"contents":[]}]})",
         "{}",
         {0, 0, 0}},
        {"document without contents",
         R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document"}]})",
         "{}",
         {0, 0, 0}},
        {"text without content",
         document(R"({"method":"Action.Print.Text","parameter":{}})"),
         "{}",
         {0, 0, 0}},
        {"content not a text",
         document(R"({"method":"Action.Print.Text","parameter":{"content":1}})"),
         "{}",
         {0, 0, 0}},
        {"bad tilde in a key", document(text("${a~2}")), "{}", {0, 0, 0}},
        {"bad number format", document(text("${missing%q}")), "{}", {1, 7000, 7001}},
        {"two conversions", document(text("${price%d%d}")), R"({"price":1})", {1, 7000, 7001}},
        {"non-ASCII specifier", document(text("${caf\xC3\xA9}")), "{}", {1, 7000, 7003}},
        {"different arrays",
         document(
             R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
             text("${a.x} ${b.x}") + "]}"),
         R"({"a":[{"x":1}],"b":[{"x":2}]})",
         {1, 7000, 7002}},
    };
    for (const Case& c : cases) {
        Expansion result = expand(c.templateText, c.fieldData);
        EXPECT_EQ(result.triple, c.triple) << c.name;
        EXPECT_EQ(result.text, "{}") << c.name;
    }
}

TEST(TemplateExpansion, FieldDataThatIsADocumentPassesUnchanged) {
    const std::string fieldData = "{\"title\" : \"VelmarCommand\", \"version\":\"1.0.0\",\n \"contents\":[]}";
    for (const char* templateText : {"{", "", "not json"}) {
        Expansion result = expand(templateText, fieldData);
        EXPECT_EQ(result.triple, kNoError);
        EXPECT_EQ(result.text, fieldData);
    }
}

TEST(TemplateExpansion, OtherDocumentsComeBackReserialisedAndUntouched) {
    const std::string body =
        R"("contents":[{"category":"Document","contents":[{"method":"Action.Print.Text","parameter":{"content":"${x}"}},{"junk":1}]}]})";
    for (const std::string head :
         {R"({"title":"Other","version":"1.0.0",)", R"({"title":"VelmarCommand","version":"2.0",)"}) {
        Expansion result = expand(head + body, R"({"x":"filled"})");
        EXPECT_EQ(result.triple, kNoError);
        EXPECT_EQ(OrderedJson::parse(result.text), OrderedJson::parse(head + body));
        EXPECT_NE(result.text.find("\n\t\"contents\": [\n\t\t{\n\t\t\t\"category\": \"Document\""),
                  std::string::npos)
            << result.text;
    }
    // Contents that are no array leave the document as it is.
    expectExpansion(R"({"title":"VelmarCommand","version":"1.0.0","contents":{"a":"${x}"}})", "{}",
                    R"({"title":"VelmarCommand","version":"1.0.0","contents":{"a":"${x}"}})");
}

TEST(TemplateExpansion, KeepsWhatTheCompilerReadsAndDropsTheRest) {
    const std::string items = text("Total ${price%.2f} (${price}) ${a\\\\.b} ${a.b}") + "," +
                              R"({"method":"Action.Print.Text","parameter":[]},
           {"something":"else"},
           {"method":"Unknown.Method","parameter":{}},
           {"method":"Setting.BlackMark","parameter":{"enable":true,"position":"Front"}},
           {"method":"Raw.Send","parameter":{"content":"${price}"}},
           {"category":"Printer","parameters":[
               {"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":false}},
               {"method":"Style.Bold","parameter":{"enable":true}},
               {"method":"Setting.TemplateExtension","parameter":{"second":true}}],
            "contents":[{"method":"Style.Font","parameter":{"type":"B"}},
                        {"method":"Action.Print.Barcode","parameter":{"content":"${code}","symbology":"Code128"}},
                        {"category":"Display","parameters":[{"method":"x","parameter":{}}],"contents":[
                            {"method":"Action.Show.Text","parameter":{"content":"${price%05.1f}"}}]}]},
           {"category":"Unknown","contents":[]})";
    const std::string templateText =
        R"({"title":"VelmarCommand","version":"1.2","extra":"kept","contents":[
            {"category":"PreSetting","contents":[{"method":"Action.Print.Text","parameter":{"content":"${price}"}}]},
            {"category":"Document","contents":[)" +
        items + "]}]}";
    const std::string fieldData = R"({"price":12.5,"a.b":"dotted","a":{"b":"nested"},"code":"123"})";
    const std::string expected =
        R"({"title":"VelmarCommand","version":"1.2","extra":"kept","contents":[
            {"category":"PreSetting","contents":[{"method":"Action.Print.Text","parameter":{"content":"${price}"}}]},
            {"category":"Document","contents":[
               {"method":"Action.Print.Text","parameter":{"content":"Total 12.50 (12) dotted nested"}},
               {"method":"Setting.BlackMark","parameter":{"enable":true,"position":"Front"}},
               {"method":"Raw.Send","parameter":{"content":"${price}"}},
               {"category":"Printer","parameters":[
                   {"method":"Style.Bold","parameter":{"enable":true}},
                   {"method":"Setting.TemplateExtension","parameter":{"second":true}}],
                "contents":[{"method":"Style.Font","parameter":{"type":"B"}},
                            {"method":"Action.Print.Barcode","parameter":{"content":"123","symbology":"Code128"}},
                            {"category":"Display","contents":[
                                {"method":"Action.Show.Text","parameter":{"content":"012.5"}}]}]}]}]})";
    expectExpansion(templateText, fieldData, expected);
    EXPECT_EQ(expand(templateText, fieldData).text.find("object_id"), std::string::npos);
}

TEST(TemplateExpansion, MissingParametersOfNestedCategoriesAreEmpty) {
    expectExpansion(
        document(R"({"category":"Printer","contents":[{"category":"PageMode","contents":[)" + text("${v}") +
                 "]}]}"),
        R"({"v":"x"})",
        document(
            R"({"category":"Printer","parameters":[],"contents":[{"category":"PageMode","parameters":[],"contents":[)" +
            text("x") + "]}]}"));
}

TEST(TemplateArrayBlock, RepeatsTheBlockPerElement) {
    const std::string templateText = document(
        R"({"category":"Printer","parameters":[{"method":"Style.Bold","parameter":{"enable":true}}],"contents":[)" +
        text("Shop ${shop}") + "," +
        R"({"category":"Printer","parameters":[
              {"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}},
              {"method":"Style.Font","parameter":{"type":"A"}}],
            "contents":[)" +
        text("${items.name} x${items.qty} @${shop}") + "," +
        R"({"method":"Style.Bold","parameter":{"enable":false}},
            {"method":"Raw.Send","parameter":{"content":"dropped"}},
            {"method":"Setting.Label","parameter":{"enable":true}},
            {"method":"Action.Show.Text","parameter":{"content":"${shop}"}},
            {"category":"PageMode","parameters":[
                {"method":"Style.PageMode.Area","parameter":{"width":10,"height":10}}],
             "contents":[)" +
        text("${items.name}") + "," +
        R"({"method":"Action.Print.PageModeImage","parameter":{"source":"x"}},
           {"method":"Action.Print.PageModeRuledLine","parameter":{}},
           {"method":"Action.Print.PageModeRectangle","parameter":{}}]},
            {"category":"Display","contents":[]}]},)" +
        text("after ${shop}") + "]}");
    const std::string fieldData = R"({"shop":"S","items":[{"name":"a","qty":1},{"name":"b","qty":2}]})";
    auto inner = [](const std::string& row) {
        return R"({"category":"Printer","parameters":[{"method":"Style.Font","parameter":{"type":"A"}}],"contents":[)" +
               text(row + " x" + (row == "a" ? "1" : "2") + " @S") + "," +
               R"({"method":"Style.Bold","parameter":{"enable":false}},
                  {"method":"Action.Show.Text","parameter":{"content":"${shop}"}},
                  {"category":"PageMode","parameters":[{"method":"Style.PageMode.Area","parameter":{"width":10,"height":10}}],
                   "contents":[)" +
               text(row) + "]}]}";
    };
    const std::string expected = document(
        R"({"category":"Printer","parameters":[{"method":"Style.Bold","parameter":{"enable":true}}],"contents":[)" +
        text("Shop S") + "," +
        R"({"category":"Printer","parameters":[{"method":"Style.Font","parameter":{"type":"A"}}],"contents":[)" +
        inner("a") + "," + inner("b") + "]}," + text("after S") + "]}");
    expectExpansion(templateText, fieldData, expected);
}

TEST(TemplateArrayBlock, PageModeBlockCopiesLoseTheirArea) {
    const std::string area = R"({"method":"Style.PageMode.Area","parameter":{"width":10,"height":10}})";
    const std::string templateText = document(
        R"({"category":"Printer","contents":[{"category":"PageMode","parameters":[
            {"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}},)" +
        area + R"(],"contents":[)" + text("${rows}") + "]}]}");
    const std::string expected = document(
        R"({"category":"Printer","parameters":[],"contents":[{"category":"PageMode","parameters":[)" + area +
        R"(],"contents":[{"category":"PageMode","parameters":[],"contents":[)" + text("1") +
        R"(]},{"category":"PageMode","parameters":[],"contents":[)" + text("2") + "]}]}]}");
    expectExpansion(templateText, R"({"rows":[1,2]})", expected);
}

TEST(TemplateArrayBlock, WithoutAnArrayTheBlockIsEmittedOnce) {
    auto block = [](const std::string& content) {
        return document(
            R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
            text(content) + "]}");
    };
    auto once = [](const std::string& content) {
        return document(
            R"({"category":"Printer","parameters":[],"contents":[{"category":"Printer","parameters":[],"contents":[)" +
            text(content) + "]}]}");
    };
    expectExpansion(block("${shop}"), R"({"shop":"S"})", once("S"));
    expectExpansion(block("[${items.name}]"), R"({"items":[]})", once("[]"));
    // Two members of the same array are one block.
    expectExpansion(
        block("${items.a}${items.b}"), R"({"items":[{"a":1,"b":2},{"a":3,"b":4}]})",
        document(
            R"({"category":"Printer","parameters":[],"contents":[{"category":"Printer","parameters":[],"contents":[)" +
            text("12") + R"(]},{"category":"Printer","parameters":[],"contents":[)" + text("34") + "]}]}"));
}

TEST(TemplateArrayBlock, HundredRows) {
    std::string rows;
    for (int i = 0; i < 100; ++i)
        rows += std::string(i ? "," : "") + R"({"name":"item )" + std::to_string(i) + R"(","price":)" +
                std::to_string(i) + ".25}";
    const std::string templateText = document(
        R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
        text("${items.name} ${items.price%.2f}\\n") + "]}");
    Expansion result = expand(templateText, R"({"items":[)" + rows + "]}");
    ASSERT_EQ(result.triple, kNoError);
    OrderedJson block = OrderedJson::parse(result.text)["contents"][0]["contents"][0]["contents"];
    ASSERT_EQ(block.size(), 100u);
    EXPECT_EQ(block[0]["contents"][0]["parameter"]["content"], "item 0 0.25\n");
    EXPECT_EQ(block[99]["contents"][0]["parameter"]["content"], "item 99 99.25\n");
}

TEST(TemplateLimits, DeepNestingIsRefusedNotOverrun) {
    auto chain = [](int levels) {
        std::string open;
        std::string close;
        for (int i = 0; i < levels; ++i) {
            open += R"({"category":"Printer","contents":[)";
            close += "]}";
        }
        return document(open + text("${v}") + close);
    };
    Expansion deepest = expand(chain(999), R"({"v":"bottom"})");
    EXPECT_EQ(deepest.triple, kNoError);
    EXPECT_NE(deepest.text.find("\"bottom\""), std::string::npos);
    EXPECT_EQ(expand(chain(1000), R"({"v":"x"})").triple, (Triple{0, 0, 0}));
    EXPECT_EQ(expand(chain(5000), R"({"v":"x"})").triple, (Triple{0, 0, 0}));
    // Deep brackets anywhere in the template, and in the field data.
    const std::string brackets = std::string(200000, '[') + std::string(200000, ']');
    EXPECT_EQ(expand(R"({"title":"Other","version":"1","contents":)" + brackets + "}", "{}").triple,
              (Triple{0, 0, 0}));
    Expansion deepData = expand(document(text("${v}")), R"({"v":"ok","deep":)" + brackets + "}");
    EXPECT_EQ(deepData.triple, kNoError);
    EXPECT_NE(deepData.text.find("\"ok\""), std::string::npos);
}

TEST(TemplateOutput, MatchesJqAndPassesItsCheck) {
    if (!haveJq()) GTEST_SKIP() << "jq is not installed";
    TempDir dir;
    const std::string templateText = document(
        R"({"category":"Printer","parameters":[{"method":"Style.Alignment","parameter":{"position":"Center"}}],"contents":[)" +
        text("Caf\xC3\xA9 ${name} / ${count%03d} / ${quote}\\n") + "," +
        R"({"method":"Action.Feed.Line","parameter":{"line":2}},{"method":"Style.Empty","parameter":{}}]})");
    const std::string fieldData = R"({"name":"M\u00fcller","count":7,"quote":"say \"hi\" \\ \t"})";
    const std::string plain = document(
        R"({"category":"Printer","parameters":[{"method":"Style.Alignment","parameter":{"position":"Center"}}],"contents":[)" +
        text("Caf\xC3\xA9 M\xC3\xBCller / 007 / say \\\"hi\\\" \\\\ \\t\\n") + "," +
        R"({"method":"Action.Feed.Line","parameter":{"line":2}},{"method":"Style.Empty","parameter":{}}]})");
    Expansion result = expand(templateText, fieldData);
    ASSERT_EQ(result.triple, kNoError);
    auto [jqText, status] = run("jq --tab . " + dir.write("plain.json", plain));
    ASSERT_EQ(status, 0);
    EXPECT_EQ(result.text + "\n", jqText);

    // With floating-point numbers the text still passes jq's check.
    Expansion floats =
        expand(document(R"({"method":"Action.Feed.Unit","parameter":{"mm":0.1}},)" + text("${p%.3f}")),
               R"({"p":1e-7})");
    ASSERT_EQ(floats.triple, kNoError);
    EXPECT_EQ(run("jq empty " + dir.write("floats.json", floats.text)).second, 0);
}

TEST(TemplateArrayBlock, SiblingBlocksAreIndependentAndInnerSwitchesAreIgnored) {
    const std::string on =
        R"({"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}})";
    auto printer = [](const std::string& parameters, const std::string& contents) {
        return R"({"category":"Printer","parameters":[)" + parameters + R"(],"contents":[)" + contents + "]}";
    };
    const std::string templateText =
        document(printer(on, text("${a.x}") + "," + printer(on, text("in${a.x}"))) + "," +
                 printer(on, text("${b.x}")));
    const std::string expected = document(
        printer("", printer("", text("1") + "," + printer("", text("in1"))) + "," +
                        printer("", text("2") + "," + printer("", text("in2")))) +
        "," +
        printer("", printer("", text("p")) + "," + printer("", text("q")) + "," + printer("", text("r"))));
    expectExpansion(templateText, R"({"a":[{"x":1},{"x":2}],"b":[{"x":"p"},{"x":"q"},{"x":"r"}]})", expected);
}

// The work of an expansion, counted in items looked at by its category lookups and array-block
// repetitions, grows in step with the template and the field data: doubling both at most doubles it.
TEST(TemplateLimits, WorkGrowsLinearlyWithSiblingsAndArrayElements) {
    const std::string on =
        R"({"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}})";
    auto siblings = [](int count) {
        std::string items;
        for (int i = 0; i < count; ++i)
            items += R"({"category":"Printer","contents":[)" + text("line " + std::to_string(i)) + "]},";
        return items;
    };
    auto rows = [](int count) {
        std::string list;
        for (int i = 0; i < count; ++i)
            list += std::string(i ? "," : "") + R"({"v":)" + std::to_string(i) + "}";
        return R"({"rows":[)" + list + "]}";
    };
    struct Case {
        const char* name;
        std::function<std::pair<std::string, std::string>(int)> make;
        // Items the expanded Document holds, and repetitions of its last array block.
        std::function<std::pair<std::size_t, std::size_t>(int)> shape;
    };
    const Case cases[] = {
        {"sibling categories",
         [&](int n) { return std::make_pair(document(siblings(n) + text("end")), std::string("{}")); },
         [](int n) { return std::make_pair(std::size_t(n) + 1, std::size_t(0)); }},
        {"array block after siblings",
         [&](int n) {
             return std::make_pair(document(siblings(n) + R"({"category":"Printer","parameters":[)" + on +
                                            R"(],"contents":[)" + text("${rows.v}") + "]}"),
                                   rows(n));
         },
         [](int n) { return std::make_pair(std::size_t(n) + 1, std::size_t(n)); }},
        {"sibling array blocks",
         [&](int n) {
             std::string blocks;
             for (int i = 0; i < n; ++i)
                 blocks += std::string(i ? "," : "") + R"({"category":"Printer","parameters":[)" + on +
                           R"(],"contents":[)" + text("${rows.v}") + "]}";
             return std::make_pair(document(blocks), rows(2));
         },
         [](int n) { return std::make_pair(std::size_t(n), std::size_t(2)); }},
    };
    for (const Case& c : cases) {
        std::uint64_t steps[2] = {0, 0};
        for (int round = 0; round < 2; ++round) {
            const int n = 200 << round;
            const auto [templateText, fieldData] = c.make(n);
            const std::uint64_t before = TemplatePrint::TemplatePrintUtil::lookupSteps();
            Expansion result = expand(templateText, fieldData);
            steps[round] = TemplatePrint::TemplatePrintUtil::lookupSteps() - before;
            ASSERT_EQ(result.triple, kNoError) << c.name;
            const OrderedJson contents = OrderedJson::parse(result.text)["contents"][0]["contents"];
            const auto [items, repetitions] = c.shape(n);
            ASSERT_EQ(contents.size(), items) << c.name;
            if (repetitions == 0) continue;
            const OrderedJson& block = contents[items - 1]["contents"];
            ASSERT_EQ(block.size(), repetitions) << c.name;
            EXPECT_EQ(block.back()["contents"][0]["parameter"]["content"], std::to_string(repetitions - 1))
                << c.name;
        }
        EXPECT_GT(steps[0], 0u) << c.name;
        EXPECT_LE(steps[1], 2 * steps[0] + 16) << c.name << ": " << steps[0] << " then " << steps[1];
    }
}

// Repetitions fill their specifiers only where the block lies beneath Printer and PageMode categories;
// beneath a Display it is repeated as written.
TEST(TemplateArrayBlock, BlockBeneathADisplayIsRepeatedUnfilled) {
    const std::string block =
        R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
        text("${rows}") + "]}";
    const std::string copy = R"({"category":"Printer","parameters":[],"contents":[)" + text("${rows}") + "]}";
    expectExpansion(
        document(R"({"category":"Display","contents":[)" + block + "]}"), R"({"rows":[1,2]})",
        document(R"({"category":"Display","contents":[{"category":"Printer","parameters":[],"contents":[)" +
                 copy + "," + copy + "]}]}"));
}
