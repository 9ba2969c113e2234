#include <gtest/gtest.h>

#include <memory>
#include <mutex>

#include "command/TestHex.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/compiler/VelmarCommandParserEntry.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Prelix10Error.hpp"

using Prelix10::OrvoPrinterEmulation;
using Prelix10::OrvoPrinterModel;
using Prelix10::Prelix10Error;
using TestHex::hex;

namespace {

const std::string kEscposPrefix =
    "1D 50 B4 B4 1C 2E 1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 "
    "C0 C8 "
    "D0 D8 E0 E8 F0 F8 00";
const std::string kKestrinPrefix =
    "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00";
const std::string kSuffix = "1B 44 00";

std::string shell(const std::string& items) {
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[)" +
           items + "]}]}]}";
}

std::vector<std::uint8_t> compile(const std::string& document, OrvoPrinterEmulation emulation,
                                  OrvoPrinterModel model = OrvoPrinterModel::harlo599KZ) {
    return Prelix10::VelmarCommandParser().parse(document, std::nullopt, model, emulation);
}

Prelix10Error compileError(const std::string& document, OrvoPrinterEmulation emulation,
                           OrvoPrinterModel model) {
    try {
        compile(document, emulation, model);
    } catch (const Prelix10Error& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return Prelix10Error(Prelix10::Prelix10ErrorKind::unknown, "none");
}

// A document of exactly size bytes on EscPos with the default model: the 43 bytes of the defaults,
// tab-stop methods of 4 and 5 bytes, and a last one (3 bytes) that clears the stops, so that closing
// the level sends nothing.
std::string documentOfSize(std::size_t size) {
    std::size_t fill = size - 43 - 3;
    std::size_t fives = 0;
    while ((fill - 5 * fives) % 4 != 0) ++fives;
    const std::size_t fours = (fill - 5 * fives) / 4;
    std::string items;
    auto add = [&](const char* positions) {
        if (!items.empty()) items += ",";
        items += std::string(R"({"method":"Style.HorizontalTabPositions","parameter":{"positions":)") +
                 positions + "}}";
    };
    for (std::size_t i = 0; i < fours; ++i) add("[1]");
    for (std::size_t i = 0; i < fives; ++i) add("[1,2]");
    add("[]");
    return shell(items);
}

class CapturingSink : public Prelix10::LogSink {
  public:
    void initialize(const std::string&) override {}
    void setHeader(const std::string&) override {}
    void log(const std::string& line) override {
        std::lock_guard<std::mutex> guard(mutex);
        lines.push_back(line);
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

}  // namespace

TEST(CompileCall, EmptyShellGivesDefaultsAndClosing) {
    EXPECT_EQ(hex(compile(shell(""), OrvoPrinterEmulation::escPos)), kEscposPrefix + " " + kSuffix);
    EXPECT_EQ(hex(compile(shell(""), OrvoPrinterEmulation::kestrin)), kKestrinPrefix + " " + kSuffix);
}

TEST(CompileCall, Bold) {
    const auto bold = shell(R"({"method":"Style.Bold","parameter":{"enable":true}})");
    EXPECT_EQ(hex(compile(bold, OrvoPrinterEmulation::escPos)),
              kEscposPrefix + " 1B 45 01 1B 45 00 " + kSuffix);
    EXPECT_EQ(hex(compile(bold, OrvoPrinterEmulation::kestrin)), kKestrinPrefix + " 1B 45 1B 46 " + kSuffix);
    const auto text = shell(R"({"method":"Style.Bold","parameter":{"enable":"true"}})");
    EXPECT_EQ(hex(compile(text, OrvoPrinterEmulation::escPos)), kEscposPrefix + " " + kSuffix);
}

TEST(CompileCall, RejectedDocumentsGiveNoBytesAndNoError) {
    const char* documents[] = {
        R"({"title":"VelmarCommand","version":"2.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[]}]}]})",
        R"({"title":"VelmarCommands","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[]}]}]})",
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Printer","contents":[{"method":"Style.Bold","parameter":{"enable":true}}]}]})",
    };
    for (const char* document : documents)
        EXPECT_TRUE(compile(document, OrvoPrinterEmulation::escPos).empty()) << document;
    EXPECT_TRUE(compile(shell(""), OrvoPrinterEmulation::unknown).empty());
}

TEST(CompileCall, WalkErrorDiscardsEverything) {
    // The first element compiles fully; the malformed item after it must not leave a half job.
    const std::string document =
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[{"method":"Style.Bold","parameter":{"enable":true}}]}]},
            {"category":"Document","contents":[{"category":"Printer","contents":[{"category":"Printer"}]}]}]})";
    EXPECT_TRUE(compile(document, OrvoPrinterEmulation::escPos).empty());
}

TEST(CompileCall, InvalidJsonIsAnArgumentError) {
    for (const char* document : {"", "{", "not json", R"({"title":"VelmarCommand",})"}) {
        const auto error = compileError(document, OrvoPrinterEmulation::escPos, OrvoPrinterModel::harlo599KZ);
        EXPECT_EQ(error.kind(), Prelix10::Prelix10ErrorKind::argument) << document;
        EXPECT_EQ(error.errorCode(), Prelix10::Prelix10ErrorCode::jsonFormatError);
        EXPECT_EQ(error.message(), "JSON format error.");
    }
    // Without a root builder nothing is read at all.
    EXPECT_TRUE(compile("{", OrvoPrinterEmulation::unknown).empty());
}

TEST(CompileCall, UnexpectedStates) {
    auto sink = std::make_shared<CapturingSink>();
    auto previous = Prelix10::OrvoLoggerWrapper::sink();
    const bool wasLogging = Prelix10::Prelix10Logger::shared().isLogging();
    Prelix10::OrvoLoggerWrapper::setSink(sink);
    Prelix10::Prelix10Logger::shared().start();

    const auto noModel = compileError(shell(""), OrvoPrinterEmulation::escPos, OrvoPrinterModel::unknown);
    EXPECT_EQ(noModel.kind(), Prelix10::Prelix10ErrorKind::unknown);
    EXPECT_EQ(noModel.message(), "Unexpected state at line 21 of VelmarCommandParser.");
    const auto noEmulation =
        compileError(shell(""), static_cast<OrvoPrinterEmulation>(9), OrvoPrinterModel::harlo599KZ);
    EXPECT_EQ(noEmulation.message(), "Unexpected state at line 27 of VelmarCommandParser.");

    Prelix10::Prelix10Logger::shared().setIsLogging(wasLogging);
    Prelix10::OrvoLoggerWrapper::setSink(previous);
    std::lock_guard<std::mutex> guard(sink->mutex);
    bool found = false;
    for (const auto& line : sink->lines)
        found = found ||
                line.find("VelmarCommandParser#parse(data:template:model:emulation:) Error - unknown(") !=
                    std::string::npos;
    EXPECT_TRUE(found);
}

TEST(CompileCall, ResultsLargerThanTheFirstBuffer) {
    for (std::size_t size : {8191u, 8192u, 8193u, 20000u}) {
        const auto bytes = compile(documentOfSize(size), OrvoPrinterEmulation::escPos);
        ASSERT_EQ(bytes.size(), size);
        EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4)), "1D 50 B4 B4");
        EXPECT_EQ(hex(std::vector<std::uint8_t>(bytes.end() - 3, bytes.end())),
                  "1B 44 00");  // the clearing method
    }
}

TEST(CompileCall, CoreEntryReportsTheSizeItNeeds) {
    const std::string document = shell("");
    char small[8] = {};
    std::int32_t length = -1;
    VelmarCommandParser::parse(document.c_str(), "EscPos", "Harlo599KZ", small, sizeof small, &length);
    EXPECT_EQ(length, 46);
    EXPECT_EQ(small[0], 0);
    VelmarCommandParser::parse(nullptr, nullptr, nullptr, nullptr, 0, &length);
    EXPECT_EQ(length, 0);
    VelmarCommandParser::ParseStatus status{};
    VelmarCommandParser::parse("[", "EscPos", "Harlo599KZ", small, sizeof small, &length, &status);
    EXPECT_EQ(status, VelmarCommandParser::ParseStatus::invalidJson);
    EXPECT_EQ(length, 0);
    // Asked for it, the entry hands over a result that does not fit, and only such a one.
    std::vector<std::uint8_t> whole;
    VelmarCommandParser::parse(document.c_str(), "EscPos", "Harlo599KZ", small, sizeof small, &length, &status,
                               &whole);
    EXPECT_EQ(length, 46);
    EXPECT_EQ(status, VelmarCommandParser::ParseStatus::completed);
    std::vector<char> exact(46);
    VelmarCommandParser::parse(document.c_str(), "EscPos", "Harlo599KZ", exact.data(), 46, &length);
    EXPECT_EQ(whole, std::vector<std::uint8_t>(exact.begin(), exact.end()));
    whole.clear();
    VelmarCommandParser::parse(document.c_str(), "EscPos", "Harlo599KZ", exact.data(), 46, &length, &status,
                               &whole);
    EXPECT_TRUE(whole.empty());
    // 2 GiB or more cannot be reported as a signed 32-bit length.
    EXPECT_EQ(VelmarCommandParser::reportableLength(0x7FFFFFFF), 0x7FFFFFFF);
    EXPECT_FALSE(VelmarCommandParser::reportableLength(0x80000000ULL));
}
