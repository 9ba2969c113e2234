#include <gtest/gtest.h>

#include <string>

#include "command/TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/core/Prelix10Error.hpp"

using Prelix10::OrvoPrinterEmulation;
using Prelix10::OrvoPrinterModel;
using Prelix10::Prelix10Error;
using Prelix10::Prelix10ErrorCode;
using Prelix10::Prelix10ErrorKind;
using TestHex::hex;

namespace {

std::string document(const std::string& printerItems) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           printerItems + "]}]}]}";
}

std::string text(const std::string& content) {
    return R"({"method":"Action.Print.Text","parameter":{"content":")" + content + R"("}})";
}

std::vector<std::uint8_t> compile(const std::string& data, const std::optional<std::string>& templateText,
                                  OrvoPrinterEmulation emulation = OrvoPrinterEmulation::escPos) {
    return Prelix10::VelmarCommandParser().parse(data, templateText, OrvoPrinterModel::harlo599KZ, emulation);
}

Prelix10Error templateError(const std::string& fieldData, const std::string& templateText) {
    try {
        compile(fieldData, templateText);
    } catch (const Prelix10Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return Prelix10Error(Prelix10ErrorKind::unknown, "none");
}

}  // namespace

TEST(TemplateCompile, TemplateErrorsAreRaised) {
    struct Case {
        std::string fieldData;
        std::string templateText;
        Prelix10ErrorKind kind;
        Prelix10ErrorCode code;
        const char* message;
    };
    const Case cases[] = {
        {R"({"price":1})", document(text("${price%q}")), Prelix10ErrorKind::argument,
         Prelix10ErrorCode::invalidTemplate, "Number format specifier is out of specification."},
        {"{}", document(text("${missing%q}")), Prelix10ErrorKind::argument,
         Prelix10ErrorCode::invalidTemplate, "Number format specifier is out of specification."},
        {"{}", document(text("${caf\xC3\xA9}")), Prelix10ErrorKind::argument,
         Prelix10ErrorCode::invalidTemplate, "Replacing specifier contains Non-ASCII character."},
        {R"({"a":[{"x":1}],"b":[{"x":2}]})",
         document(
             R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
             text("${a.x}${b.x}") + "]}"),
         Prelix10ErrorKind::argument, Prelix10ErrorCode::invalidTemplate,
         "There are replacing specifiers that indicate different array field data."},
        {"{", document(text("x")), Prelix10ErrorKind::argument, Prelix10ErrorCode::jsonFormatError,
         "Field data is Invalid JSON format."},
        {"{}", "{", Prelix10ErrorKind::unknown, Prelix10ErrorCode::none, nullptr},
    };
    for (const Case& c : cases) {
        Prelix10Error error = templateError(c.fieldData, c.templateText);
        EXPECT_EQ(error.kind(), c.kind) << c.templateText;
        EXPECT_EQ(error.errorCode(), c.code) << c.templateText;
        if (c.message != nullptr) {
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

TEST(TemplateCompile, ArrayTemplatePrintsLikeThePlainDocument) {
    std::string rows;
    std::string plainRows;
    for (int i = 0; i < 100; ++i) {
        const std::string price = std::to_string(i) + ".5";
        rows += std::string(i ? "," : "") + R"({"name":"Item )" + std::to_string(i) + R"(","qty":)" +
                std::to_string(i % 7) + R"(,"price":)" + price + "}";
        plainRows +=
            "," + text("Item " + std::to_string(i) + " x" + std::to_string(i % 7) + "  " + price + "0\\n");
    }
    const std::string templateText = document(
        text("${shop}\\n") + "," + R"({"method":"Style.Bold","parameter":{"enable":true}},)" +
        R"({"category":"Printer","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}}],"contents":[)" +
        text("${items.name} x${items.qty}  ${items.price%.2f}\\n") + "]}," + text("Total ${total%.2f}\\n") +
        "," + R"({"method":"Action.Cut","parameter":{"type":"Partial"}})");
    const std::string fieldData = R"({"shop":"Corner Shop","total":1234567.89,"items":[)" + rows + "]}";
    const std::string plain =
        document(text("Corner Shop\\n") + "," + R"({"method":"Style.Bold","parameter":{"enable":true}})" +
                 plainRows + "," + text("Total 1234567.89\\n") + "," +
                 R"({"method":"Action.Cut","parameter":{"type":"Partial"}})");
    for (auto emulation : {OrvoPrinterEmulation::escPos, OrvoPrinterEmulation::kestrin,
                           OrvoPrinterEmulation::orvoGraphic, OrvoPrinterEmulation::orvoLine}) {
        const auto expected = compile(plain, std::nullopt, emulation);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(hex(compile(fieldData, templateText, emulation)), hex(expected));
    }
}

TEST(TemplateCompile, FieldDataThatIsADocumentIsCompiledAsIs) {
    const std::string plain = document(text("hello\\n"));
    EXPECT_EQ(hex(compile(plain, std::string("{"))), hex(compile(plain, std::nullopt)));
}
